#include "commands/palette_tool_commands_win.h"

#include "files/bitmap_file.h"
#include "files/image_state.h"
#include "shell/palette_tools_win.h"
#include "shell/shell_state_win.h"
#include "shell/window_host_win.h"

namespace {

// Only one tool is open at a time, and only over a 16-colour image. Asking
// for the open tool again does nothing.
LRESULT OpenTool(HWND window, int tool) {
  if (!g_image.imagePresent || OpenPaletteTool() == tool) return 0;
  if (OpenPaletteTool() != 0) ClosePaletteTool();
  WindowHost host(window);
  if (!RequireSixteenColours(g_image.dib, host)) return 0;
  CreatePaletteToolWindow(g_shell.instance, window, tool);
  return 0;
}

}  // namespace

LRESULT OpenScrollBarToolCommand(HWND window) { return OpenTool(window, IDM_SCROLLBAR_TOOL); }

LRESULT OpenKeyboardToolCommand(HWND window) { return OpenTool(window, IDM_KEYBOARD_TOOL); }

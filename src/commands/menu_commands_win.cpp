#include "commands/menu_commands_win.h"

#include "res/resource.h"
#include "shell/command_state.h"
#include "shell/shell_state_win.h"

namespace {

void CheckItem(HWND window, UINT item, bool checked) {
  CheckMenuItem(GetMenu(window), item, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void SelectCursorKind(HWND window, int32_t kind) {
  g_commands.cursorKind = kind;
  CheckItem(window, IDM_LINE_CURSOR, kind == kLineCursor);
  CheckItem(window, IDM_BLOCK_CURSOR, kind == kBlockCursor);
}

}  // namespace

void SwapMenu(HWND window) {
  SetMenu(window, g_commands.plotRunning ? g_shell.reducedMenu : g_shell.mainMenu);
}

LRESULT SelectLineCursor(HWND window) {
  SelectCursorKind(window, kLineCursor);
  return 0;
}

LRESULT SelectBlockCursor(HWND window) {
  SelectCursorKind(window, kBlockCursor);
  return 0;
}

LRESULT ToggleClearOnPress(HWND window) {
  g_commands.clearOnPress = !g_commands.clearOnPress;
  CheckItem(window, IDM_CLEAR_ON_PRESS, g_commands.clearOnPress);
  return 0;
}

LRESULT FocusMainWindow(HWND window) {
  SetFocus(window);
  return 0;
}

// The check marks of the three items are set when the menu opens.
LRESULT UseRealArithmetic(HWND) {
  g_commands.arithmetic = kArithmeticReal;
  return 0;
}

LRESULT UseIntegerArithmetic(HWND) {
  g_commands.arithmetic = kArithmeticInteger;
  return 0;
}

LRESULT UseDeepArithmetic(HWND) {
  g_commands.arithmetic = kArithmeticDeep;
  return 0;
}

LRESULT PostExit(HWND window) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  return 0;
}

LRESULT IgnoreStop(HWND) { return 0; }

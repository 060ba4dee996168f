#include "commands/dispatcher_win.h"

#include "commands/command_host_win.h"
#include "commands/dialog_commands.h"
#include "commands/file_commands.h"
#include "commands/file_commands_win.h"
#include "commands/image_inversion.h"
#include "commands/info_reports.h"
#include "commands/julia_commands_win.h"
#include "commands/menu_commands_win.h"
#include "commands/palette_tool_commands_win.h"
#include "commands/plot_control.h"
#include "res/resource.h"
#include "shell/program_win.h"
#include "shell/shell_state_win.h"

namespace {

// Runs a flow against the main window.
template <void (*Flow)(CommandHost&)>
LRESULT Run(HWND window) {
  WindowCommandHost host(window);
  Flow(host);
  return 0;
}

// An id that no command carries: "このコマンドは、実行できません。".
LRESULT AnswerUnknownCommand(HWND window) {
  WindowCommandHost host(window);
  ShowCommandUnavailable(host);
  return 0;
}

LRESULT ShowAboutBox(HWND window) {
  DialogBoxParamA(g_shell.instance, "AboutBox", window, AboutDlgProc, 0);
  return 0;
}

struct CommandRoute {
  WPARAM id;
  LRESULT (*run)(HWND window);
};

constexpr CommandRoute kCommandTable[] = {
    {IDM_OPEN_BMP, OpenBitmapCommand},
    {IDM_SAVE_BMP, SaveBitmapCommand},
    {IDM_START, Run<StartPlot>},
    {IDM_EXIT, PostExit},
    {IDM_MODE_INFO, Run<ShowModeInfo>},
    {IDM_TIMER_INFO, Run<ShowTimerInfo>},
    {IDM_REPLOT, Run<ReplotImage>},
    {IDM_JULIA_SET, JuliaSetCommand},
    {IDM_JULIA_START_VALUE, JuliaStartValueCommand},
    {IDM_MANDELBROT_SET, MandelbrotSetCommand},
    {IDM_INVERT_COLOURS, Run<InvertImageColours>},
    {IDM_FLIP, Run<FlipView>},
    {IDM_ABOUT, ShowAboutBox},
    {IDM_LINE_CURSOR, SelectLineCursor},
    {IDM_BLOCK_CURSOR, SelectBlockCursor},
    {IDM_CLEAR_ON_PRESS, ToggleClearOnPress},
    {IDM_FOCUS_MAIN_WINDOW, FocusMainWindow},
    {IDM_SAVE_PMF, SaveParametersCommand},
    {IDM_OPEN_PMF, OpenParametersCommand},
    {IDM_STOP, IgnoreStop},
    {IDM_REAL, UseRealArithmetic},
    {IDM_INTEGER, UseIntegerArithmetic},
    {IDM_DEEP, UseDeepArithmetic},
    {IDM_LOAD_DATA_FILE, LoadDataFileCommand},
    {IDM_OPEN_DROPPED_FILE, OpenDroppedFileCommand},
    {IDM_OPEN_COMMAND_LINE_FILE, OpenCommandLineFileCommand},
    {IDM_COPY_BITMAP, CopyBitmapCommand},
    {IDM_COPY_PARAMETERS, CopyParametersCommand},
    {IDM_FETCH_CLIPBOARD_TEXT, FetchClipboardTextCommand},
    {IDM_PASTE_PARAMETERS, PasteParametersCommand},
    {IDM_PASTE_PALETTE, PastePaletteCommand},
    {IDM_COMMAND_DIALOG, Run<RunCommandDialog>},
    {IDM_LOWER_LEFT_DIALOG, Run<RunLowerLeftDialog>},
    {IDM_SIZE_DIALOG, Run<RunSizeDialog>},
    {IDM_SCROLLBAR_TOOL, OpenScrollBarToolCommand},
    {IDM_KEYBOARD_TOOL, OpenKeyboardToolCommand},
    {IDM_CENTRE_DIALOG, Run<RunCentreDialog>},
    {IDM_INITIALISE, Run<InitialiseRecords>},
    {IDM_SELECTION_REPORT, SelectionReportCommand},
};

}  // namespace

LRESULT DispatchCommand(HWND window, WPARAM wParam, LPARAM) {
  if (!CommandMayRun(static_cast<int>(wParam))) return 0;
  for (const CommandRoute& route : kCommandTable) {
    if (route.id == wParam) return route.run(window);
  }
  return AnswerUnknownCommand(window);
}

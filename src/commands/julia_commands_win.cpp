#include "commands/julia_commands_win.h"

#include "commands/command_host_win.h"
#include "commands/julia_switching.h"
#include "shell/geometry_win.h"
#include "shell/shell_state_win.h"
#include "shell/window_host_win.h"

LRESULT JuliaSetCommand(HWND window) {
  WindowCommandHost host(window);
  ArmJuliaStart(host);
  return 0;
}

LRESULT JuliaStartValueCommand(HWND window) {
  WindowCommandHost host(window);
  ReturnAndArmJuliaStart(host);
  return 0;
}

LRESULT MandelbrotSetCommand(HWND window) {
  WindowCommandHost host(window);
  ReturnToMandelbrot(host);
  return 0;
}

LRESULT SelectionReportCommand(HWND window) {
  const RECT& r = g_shell.selection;
  WindowHost ui(window);
  ReportSelection(ui, SelectionRect{r.left, r.top, r.right, r.bottom}, WindowScrollOrigin(window));
  return 0;
}

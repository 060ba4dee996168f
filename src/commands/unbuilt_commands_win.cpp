#include "commands/unbuilt_commands_win.h"

#include "commands/command_host_win.h"
#include "commands/info_reports.h"

LRESULT CommandUnavailable(HWND window) {
  WindowCommandHost host(window);
  ShowCommandUnavailable(host);
  return 0;
}

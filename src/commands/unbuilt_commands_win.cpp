#include "commands/unbuilt_commands_win.h"

#include "commands/command_host_win.h"
#include "commands/info_reports.h"

LRESULT CommandUnavailable(HWND window) {
  WindowCommandHost host(window);
  ShowCommandUnavailable(host);
  return 0;
}

LRESULT OpenBitmapCommand(HWND window) { return CommandUnavailable(window); }
LRESULT SaveBitmapCommand(HWND window) { return CommandUnavailable(window); }
LRESULT SaveParametersCommand(HWND window) { return CommandUnavailable(window); }
LRESULT OpenParametersCommand(HWND window) { return CommandUnavailable(window); }
LRESULT LoadDataFileCommand(HWND window) { return CommandUnavailable(window); }
LRESULT OpenDroppedFileCommand(HWND window) { return CommandUnavailable(window); }
LRESULT OpenCommandLineFileCommand(HWND window) { return CommandUnavailable(window); }
LRESULT CopyBitmapCommand(HWND window) { return CommandUnavailable(window); }
LRESULT CopyParametersCommand(HWND window) { return CommandUnavailable(window); }
LRESULT FetchClipboardTextCommand(HWND window) { return CommandUnavailable(window); }
LRESULT PasteParametersCommand(HWND window) { return CommandUnavailable(window); }
LRESULT PastePaletteCommand(HWND window) { return CommandUnavailable(window); }

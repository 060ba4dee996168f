#pragma once
// The main window as the host of the file and clipboard flows.

#include <windows.h>

#include "commands/command_host_win.h"
#include "commands/file_command_host.h"

class WindowFileCommandHost : public FileCommandHost {
 public:
  explicit WindowFileCommandHost(HWND window) : window_(window), commands_(window) {}

  CommandHost& Commands() override { return commands_; }
  bool AskFileName(FileDialog dialog) override;
  void SendCommand(int command) override { SendMessageA(window_, WM_COMMAND, command, 0); }
  int OpenPaletteTool() override;
  void HidePaletteTool() override;
  void ShowPaletteTool(int tool) override;
  void ClosePaletteTool() override;
  bool LoadBitmapImage() override;
  void InvalidateAndErase() override { InvalidateRect(window_, nullptr, TRUE); }
  void BringToFront() override { SetForegroundWindow(window_); }
  void ShowNotParameterText() override;
  void ShowCannotSave() override;
  const char* FirstDroppedName() override;
  std::unique_ptr<char[]> FetchClipboardText() override;

 private:
  HWND window_;
  WindowCommandHost commands_;
};

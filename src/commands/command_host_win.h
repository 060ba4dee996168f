#pragma once
// The main window as the host of the plot-control flows.

#include <windows.h>

#include "commands/command_host.h"
#include "shell/window_host_win.h"

class WindowCommandHost : public CommandHost {
 public:
  explicit WindowCommandHost(HWND window) : window_(window), ui_(window) {}

  UiHost& Ui() override { return ui_; }
  uint32_t TickCount() override { return GetTickCount(); }
  void ShowProgress(bool on) override;
  void SwapMenu() override;
  bool MakeBitmapFromCounts(PlotRecord& record) override;
  void InvalidateImage() override { InvalidateRect(window_, nullptr, FALSE); }
  void ReleaseDisplayObjects() override;
  void EmptySelection() override;
  void ShowMemoryError() override;
  void PostQuit(int exitCode) override { PostQuitMessage(exitCode); }
  void PostClose() override { PostMessageA(window_, WM_CLOSE, 0, 0); }
  void PostCommand(int command) override { PostMessageA(window_, WM_COMMAND, command, 0); }
  void SetWaitCursor() override;
  void RestoreCursor() override { SetCursor(previousCursor_); }
  int RunDialog(ParameterDialog dialog) override;

 private:
  HWND window_;
  WindowHost ui_;
  HCURSOR previousCursor_ = nullptr;
};

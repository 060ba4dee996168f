#pragma once
// The main window as the host of long-running core work: the message step,
// live drawing, the title and message boxes owned by the main window.

#include <windows.h>

#include "engine/ui_host.h"

class WindowHost : public UiHost {
 public:
  explicit WindowHost(HWND window) : window_(window) {}

  int PumpOneMessage(int* stopCode) override;
  void DrawPixel(int32_t column, int32_t row, uint32_t colour) override;
  void DrawLine(int32_t row, const uint32_t* colours, int32_t count) override;
  uint32_t LiveColour(PlotRecord& record, int32_t count, int32_t limit) override;
  void SetTitle(const char* text) override;
  void ShowMessage(const char* text, const char* caption, MessageIcon icon) override;

 private:
  HWND window_;
};

// Starts (on) or stops the 300 ms timer that writes "rows done / rows total"
// into the window title while a plot runs.
void ShowProgress(HWND window, bool on);

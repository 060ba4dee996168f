#include "shell/window_host_win.h"

#include "colour/palette.h"
#include "engine/engine_state.h"
#include "res/resource.h"
#include "shell/command_layer_win.h"
#include "shell/command_state.h"

namespace {

constexpr UINT_PTR kProgressTimerId = 1;
constexpr UINT kProgressPeriodMs = 300;

void CALLBACK ProgressTimerProc(HWND window, UINT, UINT_PTR, DWORD) {
  char title[kProgressTitleSize];
  FormatProgressTitle(title, sizeof title, g_engine.progress.rowsDone.load(),
                      g_engine.progress.rowsTotal.load());
  SetWindowTextA(window, title);
}

}  // namespace

// One message per call, so that a plot stays responsive without giving up
// the thread. Stop and exit requests and a posted close are taken here and
// never dispatched: they end the work instead.
int WindowHost::PumpOneMessage(int* stopCode) {
  // A confirmed close question clears the running flag (a save keeps its own
  // flag and goes on): the plot ends before another waiting message, a start
  // among them, could run inside it.
  if (!g_commands.plotRunning && !g_commands.saveRunning) {
    *stopCode = kPlotExit;
    return 1;
  }
  MSG message;
  if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    // A save does not stop: it keeps an exit or close for its end.
    if (message.message == WM_CLOSE) {
      if (!g_commandLayer.closeMayProceed()) return 0;
      *stopCode = kPlotExit;
      return 1;
    }
    if (message.message == WM_COMMAND &&
        (message.wParam == IDM_EXIT || message.wParam == IDM_STOP)) {
      if (!g_commandLayer.commandMayRun(static_cast<int>(message.wParam))) return 0;
      *stopCode = static_cast<int>(message.wParam);
      return 1;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

void WindowHost::DrawPixel(int32_t column, int32_t row, uint32_t colour) {
  HDC dc = GetDC(window_);
  if (dc == nullptr) return;
  SetPixel(dc, column, row, colour);
  ReleaseDC(window_, dc);
}

// One device context for the whole line: taking one per pixel costs about
// 80 times as much, and a fast plot would wait for its own drawing.
void WindowHost::DrawLine(int32_t row, const uint32_t* colours, int32_t count) {
  HDC dc = GetDC(window_);
  if (dc == nullptr) return;
  for (int32_t column = 0; column < count; ++column) SetPixel(dc, column, row, colours[column]);
  ReleaseDC(window_, dc);
}

uint32_t WindowHost::LiveColour(PlotRecord& record, int32_t count, int32_t limit) {
  return CountColour(record, count, limit);
}

void WindowHost::SetTitle(const char* text) { SetWindowTextA(window_, text); }

void WindowHost::ShowMessage(const char* text, const char* caption, MessageIcon icon) {
  MessageBoxA(window_, text, caption,
              icon == MessageIcon::Error ? MB_ICONERROR : MB_ICONINFORMATION);
}

void ShowProgress(HWND window, bool on) {
  PlotProgress& progress = g_engine.progress;
  if (on) {
    progress.timerId = SetTimer(window, kProgressTimerId, kProgressPeriodMs, ProgressTimerProc);
  } else if (progress.timerId != 0) {
    KillTimer(window, kProgressTimerId);
    progress.timerId = 0;
  }
}

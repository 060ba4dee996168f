#include "commands/plot_control.h"

#include <cstdio>

#include "colour/palette.h"
#include "engine/plot_arithmetic.h"
#include "engine/run_plot.h"
#include "engine/ui_host.h"
#include "engine/deep/view_height.h"
#include "files/image_state.h"
#include "shell/command_state.h"
#include "shell/titles.h"

namespace {

constexpr uint32_t kIntegerFlags = kFlagInteger | kFlagIntegerShadow;
constexpr const char* kRegionRefused = "この領域は整数モードでは演算できません";
constexpr int kExitOutOfMemory = 3;
constexpr int kTitleSize = 64;
constexpr size_t kMessageSize = 128;

// The heights a plot takes, from the deepest the deep arithmetic serves.
void ShowHeightRefused(UiHost& ui) {
  char deepest[32] = "";
  FormatDeepestHeight(deepest, sizeof deepest);
  char text[kMessageSize];
  std::snprintf(text, sizeof text, "この高さでは演算できません (高さは %s 以上 1.8e+308 以下の数)",
                deepest);
  ui.ShowMessage(text, kProgramName, MessageIcon::Information);
}

// A stopped or refused plot leaves no trace: its counts go and the record as
// it was before the start comes back with its title.
void RestoreBeforeStart(CommandHost& host, const PlotRecord& backup) {
  CommandState& state = g_commands;
  state.tickStart = state.tickComputed = state.tickDrawn = 0;
  FreeCountBuffer(state.current);
  state.current = backup;
  SetRegionTitle(host.Ui());
  state.plotRunning = false;
  host.SwapMenu();
}

void ShowCompletedPlot(CommandHost& host) {
  g_commands.plotRunning = false;
  host.SwapMenu();
  ShowCurrentCounts(host);
}

void FinishPlot(CommandHost& host, int result, const PlotRecord& backup) {
  CommandState& state = g_commands;
  // Only a confirmed close clears the running flag during a plot. The plot
  // usually sees that at its next message step and ends as an exit; one that
  // finished its last lines while the question was open ends without another
  // step, and the window must close all the same.
  if (!state.plotRunning) result = kPlotExit;
  switch (result) {
    case kPlotExit:
      state.plotRunning = false;
      DiscardCountBuffer(state.current);
      host.PostClose();
      return;
    case kPlotRefused:
      host.Ui().ShowMessage(kRegionRefused, kProgramName, MessageIcon::Information);
      RestoreBeforeStart(host, backup);
      return;
    case kPlotBadHeight:
      ShowHeightRefused(host.Ui());
      RestoreBeforeStart(host, backup);
      return;
    case kPlotStop:
      RestoreBeforeStart(host, backup);
      return;
    default:
      ShowCompletedPlot(host);
      return;
  }
}

// Rebuilds the picture of the current record from its kept counts, with the
// count range in the title while it is built.
void RecolourCurrent(CommandHost& host) {
  CommandState& state = g_commands;
  host.SetWaitCursor();
  FindCountRange(state.current);
  char title[kTitleSize];
  FormatRangeTitle(state.current, title, sizeof title);
  host.Ui().SetTitle(title);
  if (host.MakeBitmapFromCounts(state.current)) host.InvalidateImage();
  host.RestoreCursor();
  SetRegionTitle(host.Ui());
}

bool PictureShowsCounts() { return g_commands.plotDone && g_image.imagePresent; }

}  // namespace

bool ShowCurrentCounts(CommandHost& host) {
  CommandState& state = g_commands;
  FindCountRange(state.current);
  const bool shown = host.MakeBitmapFromCounts(state.current);
  if (shown) {
    state.tickDrawn = host.TickCount();
    host.InvalidateImage();
    SetRegionTitle(host.Ui());
    state.plotDone = true;
    state.current.shownSizeY = state.current.sizeY;
  }
  PushHistory(state.current);
  host.EmptySelection();
  return shown;
}

int RunPlotter(UiHost& ui, PlotRecord& record) { return RunPlot(ui, record, PlotOptions{}); }

void ApplyStartRequests(PlotRecord& record, PlotRecord& zoom, ArithmeticSetting arithmetic) {
  if (record.flags & kFlagJuliaStart) {
    record.lower = record.upper = 0;
    record.flags = (record.flags & ~kFlagJuliaStart) | kFlagJulia;
    record.juliaR = zoom.x;
    record.juliaI = zoom.y;
    record.preciseJuliaR = zoom.preciseX;
    record.preciseJuliaI = zoom.preciseY;
    record.x = record.y = -2;
    record.preciseX = record.preciseY = PreciseFromLongDouble(-2);
    record.height = 4;
    record.preciseHeight = PreciseFromLongDouble(4);
    ShowHeight(record);
  } else if (zoom.pending == 1) {
    CopyRegion(record, zoom);
    zoom.pending = 0;
  }
  SetArithmeticFlags(record, arithmetic);
}

void SetArithmeticFlags(PlotRecord& record, ArithmeticSetting arithmetic) {
  record.flags &= ~(kIntegerFlags | kFlagDeep);
  if (arithmetic == kArithmeticInteger) record.flags |= kIntegerFlags;
  if (arithmetic == kArithmeticDeep) record.flags |= kFlagDeep;
}

bool PrepareCurrentCounts(CommandHost& host) {
  CommandState& state = g_commands;
  if (state.pending.pending == 1) {
    state.current = state.pending;
    state.pending.pending = 0;
  }
  PushHistory(state.current);
  PopHistory(state.current);
  state.current.rows = AllocateCountBuffer(state.current);
  if (state.current.rows != nullptr) return true;
  host.ShowMemoryError();
  host.PostQuit(kExitOutOfMemory);
  return false;
}

void StartPlot(CommandHost& host) {
  CommandState& state = g_commands;
  // A start reached from inside a running plot would free the buffer under
  // the plotter that is still filling it.
  if (state.plotRunning) return;
  const PlotRecord backup = state.current;
  if (!PrepareCurrentCounts(host)) return;
  ApplyStartRequests(state.current, state.zoom, state.arithmetic);
  host.ShowProgress(true);
  state.plotRunning = true;
  host.SwapMenu();
  state.tickStart = host.TickCount();
  const int result = RunPlotter(host.Ui(), state.current);
  host.ShowProgress(false);
  state.tickComputed = host.TickCount();
  FinishPlot(host, result, backup);
}

void ReplotImage(CommandHost& host) {
  if (!PictureShowsCounts()) return;
  CommandState& state = g_commands;
  PopHistory(state.current);
  if (state.pending.pending == 1) {
    state.current.colourMethod = state.pending.colourMethod;
    state.pending.pending = 0;
  }
  RecolourCurrent(host);
  PushHistory(state.current);
  host.EmptySelection();
}

void FlipView(CommandHost& host) {
  if (!PictureShowsCounts()) return;
  CommandState& state = g_commands;
  PopHistory(state.pending);
  state.pending.pending = 0;
  if (HistoryCount() < 1) {
    PushHistory(state.pending);
    return;
  }
  PopHistory(state.current);
  RecolourCurrent(host);
  PushHistory(state.pending);
  PushHistory(state.current);
  host.EmptySelection();
}

void InitialiseRecords(CommandHost&) {
  CommandState& state = g_commands;
  state.current.flags = 0;
  ResetView(state.current);
  state.current.sizeX = state.current.sizeY = state.current.shownSizeY = 400;
  state.current.rows = nullptr;
  state.pending = state.current;
  state.pending.pending = 0;
  state.tickStart = state.tickComputed = state.tickDrawn = 0;
}

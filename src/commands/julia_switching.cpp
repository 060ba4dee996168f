#include "commands/julia_switching.h"

#include "commands/plot_control.h"
#include "engine/deep/real.h"
#include "engine/deep/view_precision.h"
#include "engine/deep/view_height.h"
#include "res/resource.h"
#include "shell/command_state.h"
#include "shell/titles.h"

namespace {

constexpr uint32_t kJuliaFlags = kFlagJulia | kFlagJuliaStart;

// Sets the Julia start on the current record and on the newest history
// entry, which is its copy. With an empty history (the plot before was
// stopped) there is no entry to keep in step, and popping would bring back a
// stale record.
void ArmCurrentRecord(bool rememberHeight) {
  PlotRecord& current = g_commands.current;
  const bool inHistory = HistoryCount() > 0;
  if (inHistory) PopHistory(current);
  current.flags |= kFlagJuliaStart;
  if (rememberHeight) RememberReturnHeight(current);
  if (inHistory) PushHistory(current);
}

// The corner coordinate half the return height below the constant: the
// 80-bit difference while the view needs no more digits than it holds, the
// exact one for a deep view.
void CentreOn(long double& corner, PreciseCoordinate& preciseCorner, long double constant,
              const PreciseCoordinate& preciseConstant, const DeepReal& half, long double stepLog) {
  corner = constant - half.convert_to<long double>();
  if (DigitsNeeded(corner, stepLog) <= kExtendedDigits) {
    preciseCorner = PreciseFromLongDouble(corner);
  } else {
    SetExactCoordinate(corner, preciseCorner, ExactCoordinate(constant, preciseConstant) - half);
  }
}

}  // namespace

void PrepareMandelbrotReturn(PlotRecord& pending, const PlotRecord& current) {
  pending = current;
  // A return height that was never set (0), or is no height at all, gives way
  // to the height. Every positive height is kept: deep views go far below
  // the 1e-20 that was once the smallest. Written as a negated comparison so
  // that a NaN is replaced as well.
  if (!(ReturnHeightOf(pending) > 0)) RememberReturnHeight(pending);
  const DeepReal half = ReturnHeightOf(pending) / 2;
  const long double stepLog =
      ViewStepLog(pending.returnHeight, pending.preciseReturnHeight, pending.sizeY);
  CentreOn(pending.x, pending.preciseX, pending.juliaR, pending.preciseJuliaR, half, stepLog);
  CentreOn(pending.y, pending.preciseY, pending.juliaI, pending.preciseJuliaI, half, stepLog);
  pending.height = pending.returnHeight;
  pending.preciseHeight = pending.preciseReturnHeight;
  ShowHeight(pending);
  pending.juliaR = pending.juliaI = 0;
  pending.preciseJuliaR = pending.preciseJuliaI = PreciseFromLongDouble(0);
  pending.pending = 1;
  pending.flags &= ~kJuliaFlags;
}

void ArmJuliaStart(CommandHost& host) {
  CommandState& state = g_commands;
  if (state.current.flags & kFlagJulia) return;
  if (!state.plotDone) {
    state.pending = state.current;
    ResetView(state.pending);
    state.pending.pending = 1;
    state.pending.flags &= ~kJuliaFlags;
    StartPlot(host);
  }
  ArmCurrentRecord(true);
  host.EmptySelection();
  SetPlotTitle(host.Ui(), "");
}

void ReturnToMandelbrot(CommandHost& host) {
  CommandState& state = g_commands;
  if ((state.current.flags & kJuliaFlags) == 0) return;
  PrepareMandelbrotReturn(state.pending, state.current);
  host.PostCommand(IDM_START);
}

void ReturnAndArmJuliaStart(CommandHost& host) {
  CommandState& state = g_commands;
  if ((state.current.flags & kFlagJulia) == 0) return;
  PrepareMandelbrotReturn(state.pending, state.current);
  StartPlot(host);
  ArmCurrentRecord(false);
}

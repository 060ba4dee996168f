#include "commands/julia_switching.h"

#include "commands/command_state.h"
#include "commands/plot_control.h"
#include "commands/titles.h"
#include "res/resource.h"

namespace {

constexpr double kSmallestReturnHeight = 1e-20;
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
  if (rememberHeight) current.returnHeight = current.height;
  if (inHistory) PushHistory(current);
}

}  // namespace

void PrepareMandelbrotReturn(PlotRecord& pending, const PlotRecord& current) {
  pending = current;
  // Written as a negated comparison so that a NaN is replaced as well.
  if (!(pending.returnHeight >= kSmallestReturnHeight)) pending.returnHeight = pending.height;
  const long double half = static_cast<long double>(pending.returnHeight) * 0.5L;
  pending.x = pending.juliaR - half;
  pending.y = pending.juliaI - half;
  pending.height = pending.shownHeight = pending.returnHeight;
  pending.juliaR = pending.juliaI = 0;
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

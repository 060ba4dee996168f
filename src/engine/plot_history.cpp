#include "engine/engine_state.h"
#include "engine/plot_record.h"

// A buffer leaves the history only when no entry that stays references it:
// the same record pushed twice shares one buffer between both entries.
void PushHistory(const PlotRecord& record) {
  PlotHistory& history = g_engine.history;
  if (history.count >= kHistorySize) {
    PlotRecord dropped = history.entries[0];
    history.entries[0] = history.entries[1];
    history.count = 1;
    if (dropped.rows != history.entries[0].rows && dropped.rows != record.rows) {
      FreeCountBuffer(dropped);
    }
  }
  history.entries[history.count] = record;
  ++history.count;
}

void PopHistory(PlotRecord& destination) {
  PlotHistory& history = g_engine.history;
  if (history.count > 0) --history.count;
  destination = history.entries[history.count];
}

int HistoryCount() { return g_engine.history.count; }

void ReleaseHistory() {
  PlotHistory& history = g_engine.history;
  while (history.count > 0) {
    PlotRecord entry;
    PopHistory(entry);
    // An entry below may share this buffer; release each buffer once.
    for (int below = 0; below < history.count; ++below) {
      if (history.entries[below].rows == entry.rows) history.entries[below].rows = nullptr;
    }
    FreeCountBuffer(entry);
  }
  // No stale reference survives for a later PopHistory on the empty history.
  for (PlotRecord& entry : history.entries) entry.rows = nullptr;
}

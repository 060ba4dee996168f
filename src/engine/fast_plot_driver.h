#pragma once
// Runs the lines of a plot on worker threads while the calling thread keeps
// the window alive: it pumps messages, draws finished lines when the record
// asks for live drawing, and joins every worker before it returns.

#include <cstdint>

#include "engine/fast_row_queue.h"
#include "engine/plot_record.h"
#include "engine/ui_host.h"

// What each worker runs; it returns when the queue has no line left or a stop
// was asked for.
class LineWorker {
 public:
  virtual ~LineWorker() = default;
  virtual void Run(RowQueue& queue) const = 0;
};

// Worker count for a requested one: 0 or less means one per hardware thread;
// never more than the image has lines.
int WorkerCount(int requested, int32_t lines);

// Resets the progress counters, runs the workers and returns 0, or the stop
// code of the message step (105, 121), after which the lines not finished are
// set to 0. Returns 1 with nothing computed when bookkeeping memory is short.
int RunLinesInParallel(UiHost& host, PlotRecord& record, uint32_t limit, int threads,
                       const LineWorker& worker);

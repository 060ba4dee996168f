#pragma once
// Runs the lines of a plot on worker threads while the calling thread keeps
// the window alive: it pumps messages, draws finished lines when the record
// asks for live drawing, and joins every worker before it returns.

#include <cstdint>

#include "engine/fast/row_queue.h"
#include "engine/plot_record.h"
#include "engine/ui_host.h"
#include "engine/worker_threads.h"

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

// RunLinesInParallel computed nothing: its bookkeeping memory was short or no
// thread could be started. The caller runs the reference plotter instead,
// which needs neither.
constexpr int kLinesNotStarted = -1;

// Resets the progress counters, runs the workers and returns 0, or the stop
// code of the message step (105, 121), after which the lines not finished are
// set to 0, or kLinesNotStarted. Fewer threads than asked for are enough.
int RunLinesInParallel(UiHost& host, PlotRecord& record, uint32_t limit, int threads,
                       const LineWorker& worker, ThreadStarter starter = nullptr);

#include "engine/fast/plot_driver.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <thread>

#include "engine/engine_state.h"

namespace {

// Between waits the calling thread takes up to this many messages, one per
// step as the reference does every 32 pixels; a wait lasts at most this long.
constexpr int kPumpsPerWait = 4;
constexpr int kWaitMilliseconds = 2;

int Pump(UiHost& host, int* stopCode) {
  *stopCode = kPlotExit;
  return host.PumpOneMessage(stopCode);
}

// Draws a finished line with the reference's colours, through one DrawLine
// call; pixel by pixel when there was no memory for `colours` (sizeX entries).
void DrawLine(UiHost& host, PlotRecord& record, uint32_t limit, int32_t line, uint32_t* colours) {
  const Count* row = record.rows->rows[line];
  const auto colourAt = [&](int32_t column) {
    return host.LiveColour(record, row[column], static_cast<int32_t>(limit));
  };
  if (colours == nullptr) {
    for (int32_t column = 0; column < record.sizeX; ++column) {
      host.DrawPixel(column, line, colourAt(column));
    }
    return;
  }
  for (int32_t column = 0; column < record.sizeX; ++column) colours[column] = colourAt(column);
  host.DrawLine(line, colours, record.sizeX);
}

// The calling thread's part: returns 0 when every line is finished, or the
// stop code the message step gave.
int KeepWindowAlive(UiHost& host, PlotRecord& record, uint32_t limit, RowQueue& queue) {
  const bool live = (record.flags & kFlagLiveDrawing) != 0;
  std::unique_ptr<uint32_t[]> colours;
  if (live) colours.reset(new (std::nothrow) uint32_t[static_cast<size_t>(record.sizeX)]);
  int stopCode = 0;
  for (;;) {
    for (int pump = 0; pump < kPumpsPerWait; ++pump) {
      if (Pump(host, &stopCode) != 0) return stopCode;
    }
    for (int32_t line = queue.NextFinishedLine(); line >= 0; line = queue.NextFinishedLine()) {
      if (!live) continue;
      DrawLine(host, record, limit, line, colours.get());
      if (Pump(host, &stopCode) != 0) return stopCode;
    }
    if (queue.LinesSeen() == record.sizeY) return kPlotComplete;
    queue.WaitForProgress(kWaitMilliseconds);
  }
}

struct WorkerStart {
  const LineWorker* worker;
  RowQueue* queue;
};

void RunWorker(void* argument) {
  const WorkerStart& start = *static_cast<const WorkerStart*>(argument);
  start.worker->Run(*start.queue);
}

}  // namespace

int WorkerCount(int requested, int32_t lines) {
  int count = requested;
  if (count <= 0) count = static_cast<int>(std::thread::hardware_concurrency());
  count = std::clamp(count, 1, WorkerThreads::kMaximum);
  return static_cast<int>(std::min<int32_t>(count, std::max<int32_t>(lines, 1)));
}

int RunLinesInParallel(UiHost& host, PlotRecord& record, uint32_t limit, int threads,
                       const LineWorker& worker, ThreadStarter starter) {
  PlotProgress& progress = g_engine.progress;
  RowQueue queue(record.rows->rows, record.sizeX, record.sizeY, progress.rowsDone);
  if (!queue.Ready()) return kLinesNotStarted;
  progress.rowsTotal.store(record.sizeY, std::memory_order_relaxed);
  progress.rowsDone.store(0, std::memory_order_relaxed);

  WorkerStart start{&worker, &queue};
  WorkerThreads workers(starter);
  if (workers.Start(WorkerCount(threads, record.sizeY), RunWorker, &start) == 0) {
    return kLinesNotStarted;
  }
  const int result = KeepWindowAlive(host, record, limit, queue);
  if (result != kPlotComplete) queue.RequestStop();
  workers.JoinAll();

  if (result != kPlotComplete) {
    for (int32_t line = 0; line < record.sizeY; ++line) {
      if (!queue.LineFinished(line)) {
        std::memset(record.rows->rows[line], 0, sizeof(Count) * record.sizeX);
      }
    }
  }
  return result;
}

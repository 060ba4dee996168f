// The threaded side of the fast plotters: stop and exit requests, progress,
// live drawing from the calling thread, and no worker left behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <thread>
#include <tuple>
#include <vector>

#if defined(__linux__)
#include <dirent.h>
#endif

#include "../engine_test_fixture.h"
#include "colour/palette.h"
#include "engine/fpu_precision.h"
#include "engine/plain/real_plotters.h"
#include "engine/run_plot.h"
#include "fake_ui_host.h"

namespace {

// Threads of this process, or -1 where that cannot be counted.
int ThreadsRunning() {
#if defined(__linux__)
  DIR* tasks = opendir("/proc/self/task");
  if (tasks == nullptr) return -1;
  int count = 0;
  while (const dirent* entry = readdir(tasks)) count += entry->d_name[0] != '.';
  closedir(tasks);
  return count;
#else
  return -1;
#endif
}

// Wall-clock seconds; steady_clock comes with <thread> (the whole <chrono>
// header is not used in this code base).
double Seconds() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double>(now).count();
}

// The thread count once it is `expected` or after a second: a joined thread
// may stay listed for a moment on a busy machine.
int ThreadsSettlingTo(int expected) {
  const double end = Seconds() + 1.0;
  int count = ThreadsRunning();
  while (count != expected && Seconds() < end) {
    std::this_thread::yield();
    count = ThreadsRunning();
  }
  return count;
}

// Records, at every message step, the progress and the thread it runs on.
class WatchingHost : public FakeUiHost {
 public:
  std::vector<int32_t> rowsDoneSeen;
  bool foreignThread = false;

  int PumpOneMessage(int* code) override {
    foreignThread = foreignThread || std::this_thread::get_id() != owner_;
    rowsDoneSeen.push_back(g_engine.progress.rowsDone.load());
    return FakeUiHost::PumpOneMessage(code);
  }
  void DrawPixel(int32_t column, int32_t row, uint32_t colour) override {
    foreignThread = foreignThread || std::this_thread::get_id() != owner_;
    FakeUiHost::DrawPixel(column, row, colour);
  }

 private:
  std::thread::id owner_ = std::this_thread::get_id();
};

class FastThreadTest : public EngineTest {
 protected:
  // The seahorse valley: every count is at least 1 and boundary points make
  // the plot long at this size, so a stop arrives while workers compute.
  static PlotRecord LongPlot(uint32_t flags) {
    PlotRecord record = RecordWithBuffer(1200, 1000, -7);
    record.x = -0.7437L;
    record.y = 0.1317L;
    record.height = 2e-4;
    record.limit = 30000;
    record.flags = flags;
    return record;
  }
};

}  // namespace

TEST_F(FastThreadTest, StopAndExitEndThePlotPromptlyWithNoWorkerLeft) {
  constexpr int kPumpsBeforeFirstWait = 4;
  const int threadsBefore = ThreadsRunning();
  for (const uint32_t flags : {0u, static_cast<uint32_t>(kFlagInteger | kFlagIntegerShadow)}) {
    for (const auto& [stopCode, stopAt] :
         {std::tuple{kPlotStop, 1}, std::tuple{kPlotExit, 3}, std::tuple{kPlotStop, 40}}) {
      PlotRecord record = LongPlot(flags);
      FakeUiHost host;
      host.stopAtPump = stopAt;
      host.stopCode = stopCode;
      const double start = Seconds();
      EXPECT_EQ(RunPlot(host, record, PlotOptions{4}), stopCode) << flags << " " << stopAt;
      EXPECT_LT(Seconds() - start, 10.0);
      EXPECT_EQ(host.pumpCalls, stopAt);
      EXPECT_EQ(ThreadsSettlingTo(threadsBefore), threadsBefore);
      // Finished lines hold counts (all at least 1 here); the others hold 0.
      int32_t finished = 0;
      for (int32_t row = 0; row < record.sizeY; ++row) {
        const Count* counts = record.rows->rows[row];
        const bool done = counts[0] != 0;
        finished += done;
        for (int32_t column = 0; column < record.sizeX; ++column) {
          ASSERT_EQ(counts[column] != 0, done) << "line " << row << " is partly written";
        }
      }
      // The first pumps come before any wait, so a stop there leaves lines
      // unfinished; by the 40th the waits (long ones under Wine on a fast
      // machine) may have let every line finish, which is a stop all the same.
      if (stopAt < kPumpsBeforeFirstWait) EXPECT_LT(finished, record.sizeY);
      EXPECT_EQ(g_engine.progress.rowsDone.load(), finished);
      DiscardCountBuffer(record);
    }
  }
}

TEST_F(FastThreadTest, FinishedLinesOfAStoppedPlotHoldTheirFinalCounts) {
  PlotRecord record = LongPlot(0);
  record.limit = 2000;
  FakeUiHost host;
  host.stopAtPump = 60;
  ASSERT_EQ(RunPlot(host, record, PlotOptions{2}), kPlotStop);
  ExtendedPrecisionScope precision;
  const long double step = static_cast<long double>(record.height) / record.sizeY;
  long double cy = record.y;
  for (int32_t line = record.sizeY - 1; line >= 0; --line, cy += step) {
    if (CountAt(record, line, 0) == 0) continue;
    long double cx = record.x;
    for (int32_t column = 0; column < record.sizeX; ++column, cx += step) {
      if (column % 97 != 0) continue;
      ASSERT_EQ(CountAt(record, line, column), MandelbrotCount(cx, cy, 2000)) << line;
    }
  }
  DiscardCountBuffer(record);
}

TEST_F(FastThreadTest, ProgressCountsFinishedLinesAndOnlyGrows) {
  PlotRecord record = RecordWithBuffer(64, 200);
  record.limit = 3000;
  record.flags = kFlagInteger;
  WatchingHost host;
  ASSERT_EQ(RunPlot(host, record, PlotOptions{3}), kPlotComplete);
  EXPECT_FALSE(host.foreignThread);
  ASSERT_FALSE(host.rowsDoneSeen.empty());
  EXPECT_TRUE(std::is_sorted(host.rowsDoneSeen.begin(), host.rowsDoneSeen.end()));
  EXPECT_GE(host.rowsDoneSeen.front(), 0);
  EXPECT_LE(host.rowsDoneSeen.back(), 200);
  EXPECT_EQ(g_engine.progress.rowsDone.load(), 200);
  EXPECT_EQ(g_engine.progress.rowsTotal.load(), 200);
  DiscardCountBuffer(record);
}

TEST_F(FastThreadTest, LiveDrawingDrawsEveryPixelOnceWithTheReferenceColours) {
  SetDefaultPalette();
  BuildColourTables();
  for (const uint32_t flags : {0u, static_cast<uint32_t>(kFlagInteger | kFlagJulia)}) {
    std::vector<std::tuple<int32_t, int32_t, uint32_t>> drawn[2];
    for (const bool reference : {true, false}) {
      PlotRecord record = RecordWithBuffer(48, 40);
      record.flags = flags | kFlagLiveDrawing;
      record.juliaR = -0.5L;
      record.juliaI = 0.5L;
      WatchingHost host;
      host.recordPixels = true;
      ASSERT_EQ(RunPlot(host, record, PlotOptions{3, reference}), kPlotComplete);
      EXPECT_FALSE(host.foreignThread);
      for (const FakeUiHost::Pixel& pixel : host.pixels) {
        drawn[reference].emplace_back(pixel.row, pixel.column, pixel.colour);
      }
      std::sort(drawn[reference].begin(), drawn[reference].end());
      DiscardCountBuffer(record);
    }
    EXPECT_EQ(drawn[0].size(), 48u * 40u);
    EXPECT_EQ(drawn[0], drawn[1]);
  }
}

// Thread starters that fail: always, or after the first thread.
static int RefuseEveryThread(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*) {
  return EAGAIN;
}
static int StartOnlyOneThread(pthread_t* thread, const pthread_attr_t* attributes,
                              void* (*entry)(void*), void* argument) {
  static std::atomic<int> started{0};
  if (started.fetch_add(1) % 2 != 0) return EAGAIN;
  return pthread_create(thread, attributes, entry, argument);
}

TEST_F(FastThreadTest, ThreadsThatCannotStartLeaveTheSameCounts) {
  for (const uint32_t flags : {0u, static_cast<uint32_t>(kFlagInteger | kFlagJulia)}) {
    PlotRecord expected = RecordWithBuffer(37, 29);
    expected.flags = flags;
    expected.juliaR = -0.75L;
    expected.juliaI = 0.125L;
    expected.limit = 500;
    FakeUiHost host;
    ASSERT_EQ(RunPlot(host, expected, PlotOptions{1, true}), kPlotComplete);
    for (const ThreadStarter starter : {RefuseEveryThread, StartOnlyOneThread}) {
      PlotRecord record = RecordWithBuffer(37, 29);
      record.flags = flags;
      record.juliaR = expected.juliaR;
      record.juliaI = expected.juliaI;
      record.limit = expected.limit;
      PlotOptions options{2};
      options.startThread = starter;
      WatchingHost watching;
      ASSERT_EQ(RunPlot(watching, record, options), kPlotComplete) << flags;
      EXPECT_FALSE(watching.foreignThread);
      EXPECT_EQ(g_engine.progress.rowsDone.load(), 29);
      for (int32_t row = 0; row < record.sizeY; ++row) {
        for (int32_t column = 0; column < record.sizeX; ++column) {
          ASSERT_EQ(CountAt(record, row, column), CountAt(expected, row, column))
              << flags << " line " << row << " column " << column;
        }
      }
      DiscardCountBuffer(record);
    }
    DiscardCountBuffer(expected);
  }
}

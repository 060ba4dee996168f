// The deep plotter's threaded side: stop and exit while the reference orbit
// is computed and while the workers compute lines, and the fallback to the
// plain deep plotter when no worker thread starts.

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <thread>
#include <tuple>

#include "../engine_test_fixture.h"
#include "engine/run_plot.h"
#include "fake_ui_host.h"

namespace {

double Seconds() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double>(now).count();
}

// Near the seahorse valley's spiral at a height the 80-bit plotters no longer
// resolve: every count is at least 1 and the reference orbit is long.
PlotRecord DeepSpiral(int32_t sizeX, int32_t sizeY, int32_t limit) {
  PlotRecord record;
  record.sizeX = sizeX;
  record.sizeY = sizeY;
  record.rows = AllocateCountBuffer(record);
  record.x = -0.7436438870371587L;
  record.y = 0.1318259042053119L;
  record.height = 1e-20;
  record.limit = limit;
  return record;
}

int RefuseEveryThread(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*) { return EAGAIN; }

std::atomic<int> g_threadsStarted{0};
int CountEveryThread(pthread_t* thread, const pthread_attr_t* attributes, void* (*run)(void*),
                     void* argument) {
  ++g_threadsStarted;
  return pthread_create(thread, attributes, run, argument);
}

using DeepThreadTest = EngineTest;

}  // namespace

TEST_F(DeepThreadTest, StopAndExitEndTheReferenceAndTheLinesPromptly) {
  // The first message step comes during the reference orbit; by the 300th
  // the workers are computing lines.
  for (const auto& [stopCode, stopAt] :
       {std::tuple{kPlotStop, 1}, std::tuple{kPlotExit, 2}, std::tuple{kPlotStop, 300}}) {
    PlotRecord record = DeepSpiral(600, 400, 30000);
    FakeUiHost host;
    host.stopAtPump = stopAt;
    host.stopCode = stopCode;
    const double start = Seconds();
    EXPECT_EQ(RunPlot(host, record, PlotOptions{4}), stopCode) << stopAt;
    EXPECT_LT(Seconds() - start, 10.0);
    EXPECT_EQ(host.pumpCalls, stopAt);
    EXPECT_EQ(record.plottedArithmetic, kPlottedDeep);
    int32_t finished = 0;
    for (int32_t row = 0; row < record.sizeY; ++row) {
      const Count* counts = record.rows->rows[row];
      const bool done = counts[0] != 0;
      finished += done;
      for (int32_t column = 0; column < record.sizeX; ++column) {
        ASSERT_EQ(counts[column] != 0, done) << "line " << row << " is partly written";
      }
    }
    EXPECT_LT(finished, record.sizeY);
    if (stopAt < 300) {
      EXPECT_EQ(finished, 0);
    }
    DiscardCountBuffer(record);
  }
}

// Right of the cusp at 1/4 every pixel takes about 10^8 iterations, in the
// deep arithmetic past an orbit cut at 4096 points, or in the plain plotter:
// seconds each. A stop must end them within a fraction of a second.
TEST_F(DeepThreadTest, StopAndExitEndPixelsOfAHundredMillionIterationsPromptly) {
  for (const int stopCode : {kPlotStop, kPlotExit}) {
    PlotRecord record = DeepSpiral(8, 8, 100000000);
    record.x = 0.25L + 1e-15L;
    record.y = -5e-21L;
    record.flags = kFlagDeep;
    FakeUiHost host;
    host.stopAtPump = 16 + 40;  // the orbit's 16, then 40 while the workers run
    host.stopCode = stopCode;
    PlotOptions options{2};
    options.deepOrbitPoints = 4096;
    const double start = Seconds();
    EXPECT_EQ(RunPlot(host, record, options), stopCode);
    EXPECT_LT(Seconds() - start, 1.0);
    EXPECT_EQ(host.pumpCalls, host.stopAtPump);
    // The plain plotter on the calling thread, from its first pixel on.
    host.pumpCalls = 0;
    host.stopAtPump = 3;
    EXPECT_EQ(RunPlot(host, record, PlotOptions{1, true}), stopCode);
    EXPECT_LT(Seconds() - start, 2.0);
    DiscardCountBuffer(record);
  }
}

TEST_F(DeepThreadTest, WithoutThreadsThePlainDeepPlotterComputesThePlot) {
  PlotRecord expected = DeepSpiral(24, 20, 400);
  FakeUiHost host;
  ASSERT_EQ(RunPlot(host, expected, PlotOptions{1, true}), kPlotComplete);
  PlotRecord record = DeepSpiral(24, 20, 400);
  PlotOptions options{2};
  options.startThread = RefuseEveryThread;
  ASSERT_EQ(RunPlot(host, record, options), kPlotComplete);
  EXPECT_EQ(record.plottedArithmetic, kPlottedDeep);
  EXPECT_EQ(record.referenceBits, expected.referenceBits);
  EXPECT_EQ(g_engine.progress.rowsDone.load(), 20);
  for (int32_t row = 0; row < record.sizeY; ++row) {
    for (int32_t column = 0; column < record.sizeX; ++column) {
      ASSERT_EQ(CountAt(record, row, column), CountAt(expected, row, column))
          << row << " " << column;
    }
  }
  DiscardCountBuffer(record);
  DiscardCountBuffer(expected);
}

// Orbits and skip tables larger than 160 KB fail: the deep plotter plots with
// a shorter orbit (cut short, its pixels followed on past it) and shorter
// tables, on its worker threads, and gives the plain plotter's counts.
TEST_F(DeepThreadTest, WhenMemoryIsShortTheDeepPlotterUsesShorterTables) {
  PlotRecord expected = DeepSpiral(24, 20, 10000);
  FakeUiHost host;
  ASSERT_EQ(RunPlot(host, expected, PlotOptions{1, true}), kPlotComplete);
  g_engine.largestDeepBlock = 160 << 10;
  PlotRecord record = DeepSpiral(24, 20, 10000);
  PlotOptions options{2};
  options.startThread = CountEveryThread;
  g_threadsStarted = 0;
  ASSERT_EQ(RunPlot(host, record, options), kPlotComplete);
  EXPECT_GT(g_threadsStarted.load(), 0);
  for (int32_t row = 0; row < record.sizeY; ++row) {
    for (int32_t column = 0; column < record.sizeX; ++column) {
      ASSERT_EQ(CountAt(record, row, column), CountAt(expected, row, column))
          << row << " " << column;
    }
  }
  DiscardCountBuffer(record);
  DiscardCountBuffer(expected);
}

// Differential tests: the fast plotters against the reference plotters, whole
// count buffers, over views that exercise every arithmetic corner.

#include "engine/run_plot.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "../engine_test_fixture.h"
#include "fake_ui_host.h"
#include "test_levels.h"

namespace {

struct View {
  const char* name;
  long double x, y;
  double height;
  int32_t limit;
  int32_t sizeX, sizeY;
  uint32_t flags = 0;
  long double juliaR = 0, juliaI = 0;
};

constexpr uint32_t kJulia = kFlagJulia;
constexpr uint32_t kInteger = kFlagInteger | kFlagIntegerShadow;

class FastPlottersTest : public EngineTest {
 protected:
  PlotRecord Record(const View& view) {
    PlotRecord record = RecordWithBuffer(view.sizeX, view.sizeY, -7);
    record.x = view.x;
    record.y = view.y;
    record.height = view.height;
    record.shownHeight = 1;
    record.limit = view.limit;
    record.flags = view.flags;
    record.juliaR = view.juliaR;
    record.juliaI = view.juliaI;
    return record;
  }

  // Plots the view with the reference and with `options`; both buffers,
  // results and the state they leave must agree. Both in 80 bits, also where
  // the view is deep enough for the deep arithmetic.
  void ExpectSameAsReference(const View& view, PlotOptions options) {
    options.extendedOnly = true;
    PlotOptions referenceOptions{0, true};
    referenceOptions.extendedOnly = true;
    const bool integer = (view.flags & kFlagInteger) != 0;
    const std::string what = std::string(view.name) + " on " +
                             (integer ? SimdLevelName(options.simdLimit) : "x87") + ", threads " +
                             std::to_string(options.threads);
    PlotRecord reference = Record(view);
    PlotRecord fast = Record(view);
    FakeUiHost referenceHost, fastHost;
    g_engine.progress.rowsDone.store(-3);
    const int referenceResult = RunPlot(referenceHost, reference, referenceOptions);
    const int32_t referenceRowsDone = g_engine.progress.rowsDone.load();
    const uint32_t referenceLimit = g_engine.progress.effectiveLimit.load();
    g_engine.progress.rowsDone.store(-3);
    const int fastResult = RunPlot(fastHost, fast, options);
    EXPECT_EQ(fastResult, referenceResult) << what;
    EXPECT_EQ(g_engine.progress.rowsDone.load(), referenceRowsDone) << what;
    EXPECT_EQ(g_engine.progress.effectiveLimit.load(), referenceLimit) << what;
    EXPECT_EQ(fast.shownHeight, reference.shownHeight) << what;
    int mismatches = 0;
    for (int32_t row = 0; row < view.sizeY && mismatches < 5; ++row) {
      for (int32_t column = 0; column < view.sizeX && mismatches < 5; ++column) {
        if (CountAt(fast, row, column) != CountAt(reference, row, column)) {
          ++mismatches;
          ADD_FAILURE() << what << ": row " << row << " column " << column << ": "
                        << CountAt(fast, row, column) << " instead of "
                        << CountAt(reference, row, column);
        }
      }
    }
    DiscardCountBuffer(reference);
    DiscardCountBuffer(fast);
  }
};

const View kRealViews[] = {
    {"whole set", -2, -2, 4, 256, 64, 64},
    {"whole set, limit 0", -2, -2, 4, 0, 32, 32},
    {"whole set, limit 1", -2, -2, 4, 1, 32, 32},
    {"whole set, limit 2", -2, -2, 4, 2, 33, 31},
    {"whole set, limit 255", -2, -2, 4, 255, 34, 32},
    {"whole set, limit 30000", -2.1L, -1.6L, 3.2, 30000, 32, 32},
    {"whole set, limit 30001", -2, -2, 4, 30001, 32, 32},
    {"whole set, limit -5", -2, -2, 4, -5, 32, 32},
    {"seahorse valley", -0.743646387037151L, 0.131823404205330L, 5e-6, 5000, 38, 36},
    // About two units in the last place of the coordinates per pixel.
    {"deepest boundary zoom", -0.7436438870371587L, 0.1318259042053119L, 6e-18, 3000, 32, 32},
    {"interior", -0.6L, -0.3L, 0.6, 30000, 32, 32},
    {"Julia, constant inside", -1.6L, -1.2L, 2.4, 3000, 40, 32, kJulia, -0.123L, 0.745L},
    {"Julia, constant outside", -2, -2, 4, 1000, 36, 32, kJulia, 0.3L, 0.55L},
    {"Julia, constant far outside", -2.5L, -2.5L, 5, 100, 32, 32, kJulia, -3, 0.1L},
    {"Julia, limit 30000", -1.6L, -1.2L, 2.4, 30000, 32, 32, kJulia, -1, 0},
    // Line coordinates below the normal doubles take the 80-bit load of cy.
    {"coordinates below double range", -1e-4000L, -1e-310L, 1e-300, 200, 32, 32},
    {"not a number", std::numeric_limits<long double>::quiet_NaN(), 0, 1, 50, 32, 32},
    // Narrower than the lanes: every lane holds a pixel of another line.
    {"one column", -1.5L, -0.5L, 1, 300, 1, 40},
};

const View kIntegerViews[] = {
    {"integer whole set", -2, -2, 4, 256, 64, 64, kInteger},
    {"integer limit 0", -2, -2, 4, 0, 32, 32, kInteger},
    {"integer limit 1", -2, -2, 4, 1, 30, 33, kInteger},
    {"integer limit 2", -2, -2, 4, 2, 32, 32, kInteger},
    {"integer limit 256", -2, -2, 4, 256, 34, 32, kInteger},
    {"integer limit 30000", -2.1L, -1.6L, 3.2, 30000, 36, 32, kInteger},
    {"integer limit 30001", -2, -2, 4, 30001, 32, 32, kInteger},
    {"integer limit -5", -2, -2, 4, -5, 32, 32, kInteger},
    {"integer seahorse valley", -0.7437L, 0.1317L, 2e-4, 5000, 38, 32, kInteger},
    // One unit of 2^-28 per pixel: the deepest the format allows.
    {"integer deepest zoom", -0.74364L, 0.13182L, 32 * 0x1p-28, 3000, 32, 32, kInteger},
    {"integer interior", -0.6L, -0.3L, 0.6, 30000, 32, 32, kInteger},
    {"integer wrap-around", -7.99L, -7.99L, 15.9, 100, 46, 32, kInteger},
    {"integer Julia inside", -1.6L, -1.2L, 2.4, 3000, 42, 32, kInteger | kJulia, -0.123L, 0.745L},
    {"integer Julia outside", -2, -2, 4, 1000, 32, 32, kInteger | kJulia, 0.3L, 0.55L},
    {"integer Julia wrapping", -7.5L, -7.5L, 15, 200, 32, 32, kInteger | kJulia, -3.9L, 0.1L},
    {"integer step 0: refused", -0.7L, 0.1L, 1e-8, 100, 32, 32, kInteger},
    {"integer height wraps: refused", -2, -2, 10, 100, 32, 32, kInteger},
    {"integer outside the range: refused", 7.5L, 0, 1, 100, 32, 32, kInteger},
    {"integer Julia constant too large: refused", -2, -2, 4, 100, 32, 32, kInteger | kJulia, 4, 1},
    {"integer one column", -1.5L, -0.5L, 1, 300, 1, 40, kInteger},
};

}  // namespace

TEST_F(FastPlottersTest, RealViewsGiveTheReferenceCounts) {
  for (const View& view : kRealViews) ExpectSameAsReference(view, PlotOptions{2});
}

TEST_F(FastPlottersTest, IntegerViewsGiveTheReferenceCountsOnEveryLevel) {
  for (const SimdLevel level : LevelsOfThisProcessor()) {
    for (const View& view : kIntegerViews) {
      ExpectSameAsReference(view, PlotOptions{2, false, level});
    }
  }
}

TEST_F(FastPlottersTest, ThreadCountDoesNotChangeTheCounts) {
  const View real = kRealViews[8];
  const View integer = kIntegerViews[8];
  for (const int threads : {0, 1, 3, 40}) {
    ExpectSameAsReference(real, PlotOptions{threads});
    ExpectSameAsReference(integer, PlotOptions{threads});
  }
}

TEST_F(FastPlottersTest, RefusalLeavesBufferAndProgressAlone) {
  PlotRecord record = Record(kIntegerViews[15]);
  g_engine.progress.rowsDone.store(17);
  g_engine.progress.rowsTotal.store(18);
  FakeUiHost host;
  EXPECT_EQ(RunPlot(host, record, PlotOptions{}), kPlotRefused);
  EXPECT_EQ(g_engine.progress.rowsDone.load(), 17);
  EXPECT_EQ(g_engine.progress.rowsTotal.load(), 18);
  EXPECT_EQ(host.pumpCalls, 0);
  EXPECT_EQ(record.shownHeight, record.height);
  for (int32_t row = 0; row < record.sizeY; ++row) {
    for (int32_t column = 0; column < record.sizeX; ++column) {
      ASSERT_EQ(CountAt(record, row, column), -7);
    }
  }
  DiscardCountBuffer(record);
}

TEST_F(FastPlottersTest, RecordWithoutItsBufferIsReportedAndRefused) {
  PlotRecord record;
  FakeUiHost host;
  EXPECT_EQ(RunPlot(host, record, PlotOptions{}), kPlotRefused);
  record.flags = kInteger;
  EXPECT_EQ(RunPlot(host, record, PlotOptions{}), kPlotRefused);
  ExpectReports(2);
}

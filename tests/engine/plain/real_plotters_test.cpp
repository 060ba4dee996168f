#include "engine/plain/real_plotters.h"

#include <gtest/gtest.h>

#include "../engine_test_fixture.h"
#include "engine/fpu_precision.h"
#include "engine/plot_lines.h"
#include "fake_ui_host.h"

using RealPlottersTest = EngineTest;

TEST(RealCounts, EscapeTestIsStrictlyAboveFour) {
  ExtendedPrecisionScope precision;
  EXPECT_EQ(MandelbrotCount(2, 0, 100), 1);  // |c|^2 = 4 stays; the next iterate 6 escapes
  EXPECT_EQ(MandelbrotCount(-2, 0, 100), 100);  // -2 -> 2 -> 2 ...: never above 4
  EXPECT_EQ(MandelbrotCount(2.0001L, 0, 100), 0);
  EXPECT_EQ(MandelbrotCount(0, 0, 100), 100);
  EXPECT_EQ(MandelbrotCount(1, 0, 100), 2);  // 1, 2, 5
  EXPECT_EQ(JuliaCount(2, 0, 0, 0, 100), 1);  // z = 2: 4 is not above 4, then 16
  EXPECT_EQ(JuliaCount(0, 2.5L, 0, 0, 100), 0);
  EXPECT_EQ(JuliaCount(0.999L, 0, 0, 0, 100), 100);
  EXPECT_EQ(JuliaCount(0, 0, 1, 0, 100), 3);  // 0, 1, 2, 5
}

// Coordinates are accumulated by adding the step: the left column and the
// bottom line are exactly x and y, the top line one step short of y + height.
TEST_F(RealPlottersTest, LinesRunBottomUpWithAccumulatedCoordinates) {
  PlotRecord record = RecordWithBuffer(640, 480);
  record.x = -2.5L;
  record.y = -1.25L;
  FakeUiHost host;
  ExtendedPrecisionScope precision;
  const long double step = 4.0L / 480;
  int32_t calls = 0;
  long double topLine = 0;
  const auto countPixel = [&](long double cx, long double cy) {
    if (calls == 0) {
      EXPECT_EQ(cx, record.x);
      EXPECT_EQ(cy, record.y);
    }
    topLine = cy;
    return calls++ % 1000;
  };
  const auto addStep = [](long double value, long double by) { return value + by; };
  EXPECT_EQ(PlotLines(host, record, 100, record.x, record.y, step, countPixel, addStep),
            kPlotComplete);
  EXPECT_EQ(calls, 640 * 480);
  EXPECT_NEAR(static_cast<double>(topLine - (record.y + 479 * step)), 0, 1e-15);
  EXPECT_LT(topLine, record.y + 4);
  EXPECT_EQ(CountAt(record, 479, 0), 0);  // first pixel: bottom line, left column
  EXPECT_EQ(CountAt(record, 479, 639), 639);
  EXPECT_EQ(CountAt(record, 478, 0), 640 % 1000);
  EXPECT_EQ(host.pumpCalls, 480 * 20);  // columns 0, 32, ..., 608
  DiscardCountBuffer(record);
}

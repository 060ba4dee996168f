#include "engine/plain/integer_plotters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "../engine_test_fixture.h"
#include "engine/fpu_precision.h"
#include "engine/plain/fixed_point.h"
#include "engine/plain/real_plotters.h"
#include "fake_ui_host.h"

using IntegerPlottersTest = EngineTest;

namespace {

int32_t Fixed(long double v) {
  ExtendedPrecisionScope precision;
  return ToFixed(v);
}

void SetLimit(uint32_t limit) { g_engine.progress.effectiveLimit.store(limit); }

}  // namespace

TEST(FixedPoint, ConversionTruncatesTowardZeroAndWraps) {
  EXPECT_EQ(Fixed(1), 1 << 28);
  EXPECT_EQ(Fixed(-0.5L), -(1 << 27));
  EXPECT_EQ(Fixed(-1.5L / 268435456.0L), -1);
  EXPECT_EQ(Fixed(10), -1610612736);  // 10 - 16
  EXPECT_EQ(Fixed(17), 1 << 28);      // 17 - 16
  EXPECT_EQ(Fixed(-8), INT32_MIN);
  EXPECT_EQ(Fixed(std::numeric_limits<long double>::infinity()), 0);
  EXPECT_EQ(Fixed(std::numeric_limits<long double>::max()), 0);  // no out-of-range conversion
}

TEST(IntegerCounts, EdgePoints) {
  SetLimit(100);
  EXPECT_EQ(MandelbrotCountInteger(Fixed(2), 0), 0);  // hi(X^2) = 2^26 escapes at once
  EXPECT_EQ(MandelbrotCountInteger(0, 0), 100);
  EXPECT_EQ(MandelbrotCountInteger(Fixed(-2), 0), 0);
  EXPECT_EQ(MandelbrotCountInteger(Fixed(1), 0), 1);  // 1, 2: |z|^2 = 4 escapes (real: 2)
  EXPECT_EQ(JuliaCountInteger(Fixed(3), 0, 0, 0), 0);  // 9 wraps to -7, still escaped
  EXPECT_EQ(JuliaCountInteger(Fixed(0.5L), 0, 0, 0), 100);
  EXPECT_EQ(JuliaCountInteger(Fixed(2), 0, 0, 0), 0);  // one below the real count
  EXPECT_EQ(JuliaCountInteger(0, 0, Fixed(1), 0), 1);  // 0 untested, 1, 2 escapes (real: 3)
  SetLimit(1);
  EXPECT_EQ(MandelbrotCountInteger(0, 0), 1);
  EXPECT_EQ(JuliaCountInteger(0, 0, 0, 0), 1);
}

TEST(IntegerRegion, DefaultViewInFixedPoint) {
  PlotRecord record;
  ExtendedPrecisionScope precision;
  const FixedRegion region = ToFixedRegion(record);
  EXPECT_EQ(region.left, -536870912);
  EXPECT_EQ(region.bottom, -536870912);
  EXPECT_EQ(region.height, 1073741824);
  EXPECT_EQ(region.step, 2684354);
}

TEST(IntegerRegion, FitsOnlyTheFixedRange) {
  struct Case {
    long double x, y;
    double height;
    int32_t sizeX;
    bool fits;
  };
  const Case cases[] = {
      {-2, -2, 4, 32, true},
      {-8, -8, 4, 32, true},  // the lower end belongs to the range
      {-8.000001L, -2, 4, 32, false},
      {-2, 4, 4, 32, false},  // y + height = 8 is outside
      {-2, 4, 3.999, 32, true},
      {0, 0, 4, 64, false},  // x + width = 8
      {0, 0, 3.9, 64, true},
      {std::nanl(""), 0, 1, 32, false},
      {0, 0, std::nan(""), 32, false},
  };
  ExtendedPrecisionScope precision;
  for (const Case& c : cases) {
    PlotRecord record;
    record.x = c.x;
    record.y = c.y;
    record.height = c.height;
    record.sizeX = c.sizeX;
    record.sizeY = 32;
    EXPECT_EQ(FitsFixedRange(record, false), c.fits) << &c - cases;
  }
  PlotRecord julia;
  julia.juliaR = 4;
  EXPECT_FALSE(FitsFixedRange(julia, true));
  EXPECT_TRUE(FitsFixedRange(julia, false));  // the constant plays no part
  julia.juliaR = 0;
  julia.juliaI = -3.999L;
  EXPECT_TRUE(FitsFixedRange(julia, true));
  julia.juliaR = 2.83L;
  julia.juliaI = 2.83L;  // modulus 4.002
  EXPECT_FALSE(FitsFixedRange(julia, true));
}

// A refused region computes nothing: no pump, no count, progress untouched.
TEST_F(IntegerPlottersTest, RefusedRegionsComputeNothing) {
  struct Case {
    double height;
    int32_t sizeY;
    long double juliaR;
    int result;
  };
  const Case cases[] = {
      {1e-6, 400, 0, kPlotRefused},  // H = 268, step 0
      {1e-6, 200, 0, kPlotComplete},  // step 1
      {10, 32, 0, kPlotRefused},  // H wraps negative
      {-1, 32, 0, kPlotRefused},
      {0.5, 32, 4, kPlotRefused},  // Julia constant of modulus 4
  };
  for (const Case& c : cases) {
    for (const auto plot : {PlotMandelbrotInteger, PlotJuliaInteger}) {
      if (c.juliaR != 0 && plot == PlotMandelbrotInteger) continue;
      PlotRecord record = RecordWithBuffer(32, c.sizeY);
      record.x = -0.75L;
      record.y = 0.1L;
      record.height = c.height;
      record.juliaR = c.juliaR;
      g_engine.progress.rowsDone = 77;
      g_engine.progress.rowsTotal = 88;
      FakeUiHost host;
      EXPECT_EQ(plot(host, record), c.result) << c.height << " at " << c.sizeY;
      EXPECT_EQ(record.shownHeight, c.height);
      if (c.result == kPlotRefused) {
        EXPECT_EQ(host.pumpCalls, 0);
        EXPECT_EQ(g_engine.progress.rowsDone, 77);
        EXPECT_EQ(g_engine.progress.rowsTotal, 88);
        EXPECT_EQ(CountAt(record, c.sizeY - 1, 0), -1);
      } else {
        EXPECT_EQ(g_engine.progress.rowsDone, c.sizeY);
      }
      DiscardCountBuffer(record);
    }
  }
}

// Fixed point loses only rounding against the extended reals.
TEST_F(IntegerPlottersTest, MandelbrotAgreesWithExtendedReals) {
  PlotRecord real = RecordWithBuffer(64, 64);
  PlotRecord fixed = RecordWithBuffer(64, 64);
  FakeUiHost host;
  ASSERT_EQ(PlotMandelbrot(host, real), kPlotComplete);
  ASSERT_EQ(PlotMandelbrotInteger(host, fixed), kPlotComplete);
  int same = 0;
  for (int32_t row = 0; row < 64; ++row) {
    for (int32_t column = 0; column < 64; ++column) {
      same += CountAt(real, row, column) == CountAt(fixed, row, column);
    }
  }
  EXPECT_GT(same, 64 * 64 * 95 / 100);
  DiscardCountBuffer(real);
  DiscardCountBuffer(fixed);
}

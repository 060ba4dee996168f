// The kernels of the fast plotters against the reference count functions,
// point by point, including the points where rounding or wrap-around decides.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "engine/engine_state.h"
#include "engine/fast/integer_lanes.h"
#include "engine/fast/x87_kernel.h"
#include "engine/fpu_precision.h"
#include "engine/plain/fixed_point.h"
#include "engine/plain/integer_plotters.h"
#include "engine/plain/real_plotters.h"
#include "test_levels.h"

namespace {

struct RealPoint {
  long double zx, zy, cx, cy;
};

// Runs three points at a time through the x87 kernel the way the plotter does
// (blocks bounded by the limit, an escape ends the block) and returns counts.
std::vector<int32_t> X87Counts(const std::vector<RealPoint>& points, uint32_t limit,
                               bool cyFromPair) {
  std::vector<int32_t> counts;
  for (size_t first = 0; first < points.size(); first += kX87Lanes) {
    X87Lanes lanes;
    uint32_t count[kX87Lanes] = {};
    int32_t result[kX87Lanes];
    int running = 0;
    for (int lane = 0; lane < kX87Lanes; ++lane) {
      const size_t k = first + lane;
      const RealPoint p = k < points.size() ? points[k] : RealPoint{0, 0, 0, 0};
      lanes.zx[lane].value = p.zx;
      lanes.zy[lane].value = p.zy;
      lanes.cx[lane].value = p.cx;
      lanes.cy[lane].value = p.cy;
      EXPECT_TRUE(!cyFromPair || SplitIntoDoubles(p.cy, lanes.cyPair[lane]));
      result[lane] = k < points.size() ? -1 : 0;
      running += result[lane] < 0;
    }
    while (running > 0) {
      uint32_t steps = 100;
      for (int lane = 0; lane < kX87Lanes; ++lane) {
        if (result[lane] < 0) steps = std::min(steps, limit - count[lane]);
      }
      const X87BlockResult block = RunX87Block(lanes, steps, cyFromPair);
      for (int lane = 0; lane < kX87Lanes; ++lane) {
        if (result[lane] >= 0) continue;
        if ((block.escaped >> lane) & 1) {
          result[lane] = static_cast<int32_t>(count[lane] + block.iterations - 1);
        } else if ((count[lane] += block.iterations) >= limit) {
          result[lane] = static_cast<int32_t>(limit);
        }
        running -= result[lane] >= 0;
      }
    }
    for (int lane = 0; lane < kX87Lanes && first + lane < points.size(); ++lane) {
      counts.push_back(result[lane]);
    }
  }
  return counts;
}

}  // namespace

TEST(FastX87Kernel, MatchesJuliaCountPointByPoint) {
  ExtendedPrecisionScope precision;
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> coordinate(-2.1, 2.1);
  std::vector<RealPoint> points;
  for (int k = 0; k < 3000; ++k) {
    const long double x = coordinate(random) + coordinate(random) * 0x1p-40L;
    const long double y = coordinate(random) + coordinate(random) * 0x1p-40L;
    points.push_back(k % 2 ? RealPoint{x, y, x, y} : RealPoint{x, y, -0.123L, 0.745L});
  }
  // |z|^2 exactly 4 does not escape; 4 plus one unit in the last place does.
  points.push_back({2, 0, 2, 0});
  points.push_back({-2, 0, -2, 0});
  points.push_back({0, 2, 0, 0});
  points.push_back({std::nextafter(2.0L, 3.0L), 0, 0, 0});
  points.push_back({std::nextafter(2.0L, 1.0L), 0, 0, 0});
  points.push_back({1.2L, 1.6L, 0, 0});  // 1.44 + 2.56 rounds to 4 or just above
  points.push_back({0, 0, 0, 0});
  points.push_back({0.5L, 0, -3, 0.1L});  // constant far outside: escapes, comes back
  for (const bool paired : {true, false}) {
    const std::vector<int32_t> counts = X87Counts(points, 300, paired);
    for (size_t k = 0; k < points.size(); ++k) {
      const RealPoint& p = points[k];
      ASSERT_EQ(counts[k], JuliaCount(p.zx, p.zy, p.cx, p.cy, 300))
          << k << " (" << static_cast<double>(p.zx) << ", " << static_cast<double>(p.zy) << ")";
    }
  }
}

TEST(FastX87Kernel, NanAndInfinityBehaveAsInTheReference) {
  ExtendedPrecisionScope precision;
  const long double nan = std::numeric_limits<long double>::quiet_NaN();
  const long double infinity = std::numeric_limits<long double>::infinity();
  const std::vector<RealPoint> points = {
      {nan, 0, nan, 0}, {0, 0, nan, 0}, {infinity, 0, 0, 0}, {1e3000L, 0, 0, 0}, {0, 0, 0, 0}};
  const std::vector<int32_t> counts = X87Counts(points, 50, false);
  for (size_t k = 0; k < points.size(); ++k) {
    const RealPoint& p = points[k];
    EXPECT_EQ(counts[k], JuliaCount(p.zx, p.zy, p.cx, p.cy, 50)) << k;
  }
}

TEST(FastX87Kernel, SplitIntoDoublesIsExactOrRefuses) {
  ExtendedPrecisionScope precision;
  double pair[2];
  const long double third = 1.0L / 3;
  ASSERT_TRUE(SplitIntoDoubles(third, pair));
  EXPECT_EQ(static_cast<long double>(pair[0]) + pair[1], third);
  EXPECT_NE(static_cast<long double>(pair[0]), third);  // the low part carries bits
  ASSERT_TRUE(SplitIntoDoubles(-0.0L, pair));
  EXPECT_TRUE(std::signbit(static_cast<long double>(pair[0]) + pair[1]));
  EXPECT_FALSE(SplitIntoDoubles(1e-320L + 1e-330L, pair));  // below the normal doubles
  EXPECT_FALSE(SplitIntoDoubles(1e4000L, pair));
  EXPECT_FALSE(SplitIntoDoubles(std::numeric_limits<long double>::quiet_NaN(), pair));
  EXPECT_FALSE(SplitIntoDoubles(std::numeric_limits<long double>::infinity(), pair));
}

namespace {

// Runs points through an integer kernel the way the plotter does and returns
// the counts; lanes[k] starts at (x, y) with constant (cx, cy).
std::vector<int32_t> IntegerCounts(const IntegerKernel& kernel,
                                   const std::vector<std::array<int32_t, 4>>& points,
                                   uint32_t limit) {
  std::vector<int32_t> counts;
  for (size_t first = 0; first < points.size(); first += kernel.lanes) {
    IntegerLanes lanes{};
    for (int lane = 0; lane < kernel.lanes && first + lane < points.size(); ++lane) {
      const std::array<int32_t, 4>& p = points[first + lane];
      lanes.x[lane] = p[0];
      lanes.y[lane] = p[1];
      lanes.cx[lane] = p[2];
      lanes.cy[lane] = p[3];
      lanes.remaining[lane] = limit;
    }
    int32_t result[kMaxIntegerLanes];
    uint32_t running = 0;
    for (int lane = 0; lane < kernel.lanes; ++lane) {
      if (lanes.remaining[lane] > 0) running |= 1u << lane;
    }
    while (running != 0) {
      const IntegerBlockResult block = kernel.run(lanes, 64);
      for (int lane = 0; lane < kernel.lanes; ++lane) {
        if (((running >> lane) & 1) && !((block.active >> lane) & 1)) {
          result[lane] = static_cast<int32_t>(limit - lanes.remaining[lane]);
          lanes.remaining[lane] = 0;  // finished: idle from now on
          running &= ~(1u << lane);
        }
      }
    }
    for (int lane = 0; lane < kernel.lanes && first + lane < points.size(); ++lane) {
      counts.push_back(result[lane]);
    }
  }
  return counts;
}

}  // namespace

TEST(FastIntegerKernels, EveryLevelMatchesTheReferenceCounts) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
  std::uniform_int_distribution<int32_t> inside(-(1 << 29) - (1 << 28), (1 << 29) + (1 << 28));
  std::vector<std::array<int32_t, 4>> points;
  for (int k = 0; k < 2000; ++k) {
    const int32_t x = k % 5 == 0 ? any(random) : inside(random);
    const int32_t y = k % 7 == 0 ? any(random) : inside(random);
    points.push_back({x, y, x, y});
  }
  // Squares of -8 (hi = 2^30 each, sum 2^31), the escape bound itself, wrap-around.
  points.push_back({INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN});
  points.push_back({INT32_MIN, 0, INT32_MIN, 0});
  points.push_back({1 << 29, 0, 1 << 29, 0});
  points.push_back({INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX});
  points.push_back({0, 0, 0, 0});
  points.push_back({-(1 << 29), 0, -(1 << 29), 0});
  const uint32_t limit = 500;
  g_engine.progress.effectiveLimit.store(limit);
  for (const SimdLevel level : LevelsOfThisProcessor()) {
    const std::vector<int32_t> counts = IntegerCounts(IntegerKernelFor(level), points, limit);
    for (size_t k = 0; k < points.size(); ++k) {
      ASSERT_EQ(counts[k], MandelbrotCountInteger(points[k][0], points[k][1]))
          << SimdLevelName(level) << " point " << k;
    }
  }
}

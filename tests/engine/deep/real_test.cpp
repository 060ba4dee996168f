// The high-precision real against the runtime's own 80-bit conversions: on
// every 80-bit value the two must agree exactly, so that texts written and
// read through either give the same bytes and the same numbers.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "engine/deep/real.h"
#include "engine/deep/view_precision.h"
#include "engine/fpu_precision.h"
#include "engine/plot_record.h"

namespace {

long double RandomExtended(std::mt19937_64& random) {
  const uint64_t mantissa = random() | (uint64_t{1} << 63);
  const int exponent = static_cast<int>(random() % 240) - 120;
  const long double value = std::ldexp(static_cast<long double>(mantissa), exponent - 63);
  return (random() & 1) ? -value : value;
}

TEST(DeepRealTest, FormatParseAndRoundingAgreeWithTheRuntimeOnEveryExtendedValue) {
  ExtendedPrecisionScope precision;
  std::mt19937_64 random(12345);
  for (int trial = 0; trial < 20000; ++trial) {
    const long double value = RandomExtended(random);
    const int digits = 2 + static_cast<int>(random() % 20);
    char expected[64], formatted[64];
    std::snprintf(expected, sizeof expected, "%.*Lg", digits, value);
    ASSERT_GT(FormatDeepReal(DeepReal(value), digits, formatted, sizeof formatted), 0u);
    ASSERT_STREQ(formatted, expected);

    DeepReal parsed;
    ASSERT_TRUE(ParseDeepReal(expected, &parsed));
    ASSERT_EQ(parsed.convert_to<long double>(), std::strtold(expected, nullptr)) << expected;
    ASSERT_EQ(RoundToLongDouble(PreciseFromLongDouble(value)), value);
  }
}

TEST(DeepRealTest, DigitsBeyondExtendedSurviveTheRecordAndAStalePreciseFormIsIgnored) {
  const char* digits = "-0.743643887037158704752191506114774119993";
  DeepReal value;
  ASSERT_TRUE(ParseDeepReal(digits, &value));
  PlotRecord record;
  SetExactCoordinate(record.x, record.preciseX, value);
  PlotRecord copy = record;
  char text[64];
  FormatDeepReal(ExactCoordinate(copy.x, copy.preciseX), 42, text, sizeof text);
  EXPECT_STREQ(text, digits);
  EXPECT_EQ(copy.x, value.convert_to<long double>());

  copy.x = 0.25L;  // a plain 80-bit store makes the 80-bit value the coordinate
  EXPECT_EQ(ExactCoordinate(copy.x, copy.preciseX), DeepReal(0.25L));
}

TEST(DeepRealTest, OnlyDecimalNumbersWithSaneExponentsAreParsed) {
  DeepReal value;
  EXPECT_FALSE(ParseDeepReal("  .e5", &value));
  EXPECT_FALSE(ParseDeepReal("x1", &value));
  EXPECT_FALSE(ParseDeepReal("1e999999999", &value));
  ASSERT_TRUE(ParseDeepReal("\t+12.5e-3y", &value));
  EXPECT_EQ(value, DeepReal("0.0125"));
  ASSERT_TRUE(ParseDeepReal("7e", &value));  // an exponent without digits is not part of it
  EXPECT_EQ(value, DeepReal(7));
}

}  // namespace

namespace {

// Near -0.75 on 400 lines, 18 digits reach 1e-18: a thousandth of the step
// while the height is at least 4e-13.
TEST(ViewPrecisionTest, EighteenDigitViewsStayWithTheExtendedPlottersAndDeeperOnesDoNot) {
  PlotRecord record;
  record.x = -0.75L;
  record.y = 0.1L;
  record.sizeX = record.sizeY = 400;
  record.height = 4.1e-13;
  EXPECT_FALSE(NeedsDeepArithmetic(record));
  EXPECT_EQ(CoordinateDigits(record.x, record), kExtendedDigits);
  record.height = 3.9e-13;
  EXPECT_TRUE(NeedsDeepArithmetic(record));
  EXPECT_EQ(CoordinateDigits(record.x, record), 19);
  record.height = 1e-300;
  EXPECT_EQ(CoordinateDigits(record.x, record), 306);
  EXPECT_EQ(CoordinateDigits(0, record), kExtendedDigits);

  record.height = 4;  // a whole view with a Julia constant given too finely
  record.flags |= kFlagJulia;
  record.juliaR = 0.25L + 1e-19L;
  EXPECT_FALSE(NeedsDeepArithmetic(record));
}

}  // namespace

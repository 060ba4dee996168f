#include "engine/fpu_precision.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

TEST(FpuPrecision, ScopeSetsSixtyFourBitMantissaAndRestores) {
  const uint16_t before = FpuControlWord();
  RestoreFpuControl(static_cast<uint16_t>(before & ~0x0300));  // 24-bit precision
  {
    ExtendedPrecisionScope scope;
    EXPECT_EQ(FpuControlWord() & 0x0300, 0x0300);
    volatile long double third = 1.0L / 3.0L;
    EXPECT_NE(static_cast<double>(third) - third, 0.0L);
  }
  EXPECT_EQ(FpuControlWord() & 0x0300, 0);
  RestoreFpuControl(before);
}

// The C runtime must format and parse 80-bit values exactly, on Windows too.
TEST(FpuPrecision, RuntimeFormatsAndParsesLongDouble) {
  ExtendedPrecisionScope scope;
  const long double value = 1.0L / 3.0L;
  char text[64];
  std::snprintf(text, sizeof text, "%-20.18Lg", value);
  EXPECT_STREQ(text, "0.333333333333333333");
  const long double parsed = std::strtold("-1.23456789012345678", nullptr);
  std::snprintf(text, sizeof text, "%.18Lg", parsed);
  EXPECT_STREQ(text, "-1.23456789012345678");
  EXPECT_EQ(std::strtold("0.1", nullptr), 0.1L);
}

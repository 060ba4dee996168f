#include "colour/palette.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>

#include "count_grid.h"
#include "engine/plot_record.h"

namespace {

class ColourAssignment : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaultPalette();
    BuildColourTables();
    record.lower = 0;
    record.upper = 100;
    record.limit = 100;
  }
  int32_t Assign(int32_t method, int32_t count, int32_t limit = 100) {
    record.colourMethod = method;
    return AssignColour(record, count, limit);
  }
  PlotRecord record;
};

// floor(sqrt(n)) in integers.
int32_t IntegerSquareRoot(int32_t n) {
  int32_t r = 0;
  while ((r + 1) * (r + 1) <= n) ++r;
  return r;
}

}  // namespace

TEST(ColourTables, MatchClosedFormsAndListedValues) {
  BuildColourTables();
  const ColourTables& tables = GetColourTables();
  for (int t = 0; t < kColourTableSize; ++t) {
    // 1000 * sqrt(t / 1000) = sqrt(1000 * t)
    EXPECT_EQ(tables.squareRoot[t], IntegerSquareRoot(1000 * t)) << "t=" << t;
    const long double sine = 1000 * std::sin(t * 3.14159265358979323846264L / 2000);
    EXPECT_EQ(tables.sine[t], static_cast<int32_t>(std::floor(sine))) << "t=" << t;
  }
  const uint16_t rootHead[] = {0, 31, 44, 54, 63, 70};
  const uint16_t sineHead[] = {0, 1, 3, 4, 6, 7};
  EXPECT_EQ(0, std::memcmp(tables.squareRoot, rootHead, sizeof rootHead));
  EXPECT_EQ(0, std::memcmp(tables.sine, sineHead, sizeof sineHead));
  EXPECT_EQ(tables.squareRoot[997], 998);
  EXPECT_EQ(tables.squareRoot[998], 998);
  EXPECT_EQ(tables.squareRoot[999], 999);
  EXPECT_EQ(tables.sine[997], 999);
  EXPECT_EQ(tables.sine[999], 999);
}

TEST(ColourTables, IndexOccurrencesOverTablePositions) {
  BuildColourTables();
  const ColourTables& tables = GetColourTables();
  int rootCounts[16] = {};
  int sineFifteen = 0;
  for (int t = 0; t < kColourTableSize; ++t) {
    ++rootCounts[tables.squareRoot[t] * 15 / 1000 + 1];
    if (tables.sine[t] * 15 / 1000 + 1 == 15) ++sineFifteen;
  }
  const int expected[16] = {0, 5, 13, 22, 32, 40, 48, 59, 67, 74, 85, 94, 101, 112, 121, 127};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(rootCounts[i], expected[i]) << "index " << i;
  EXPECT_EQ(sineFifteen, 232);
}

TEST(Palette, DefaultTableAndStagedApply) {
  SetDefaultPalette();
  const int32_t expected[16][3] = {{0, 0, 0},  {0, 0, 7},   {7, 0, 0},   {7, 0, 7},
                                   {0, 7, 0},  {0, 7, 7},   {7, 7, 0},   {7, 7, 7},
                                   {4, 4, 4},  {0, 0, 15},  {15, 0, 0},  {15, 0, 15},
                                   {0, 15, 0}, {0, 15, 15}, {15, 15, 0}, {15, 15, 15}};
  for (int i = 0; i < kPaletteSize; ++i) {
    int32_t r, g, b;
    GetPaletteEntry(i, &r, &g, &b);
    EXPECT_EQ((std::array<int32_t, 3>{r, g, b}),
              (std::array<int32_t, 3>{expected[i][0], expected[i][1], expected[i][2]}))
        << "index " << i;
  }
  // Levels above 15 from parameter text are kept as they are.
  for (int i = 0; i < kPaletteSize; ++i) SetStagedEntry(i, i, 255, 16);
  ApplyStagedPalette();
  int32_t r, g, b;
  GetPaletteEntry(9, &r, &g, &b);
  EXPECT_EQ(r, 9);
  EXPECT_EQ(g, 255);
  EXPECT_EQ(b, 16);
  // Indices outside the palette are neither written nor read.
  SetPaletteEntry(16, 1, 1, 1);
  SetPaletteEntry(-1, 1, 1, 1);
  GetPaletteEntry(16, &r, &g, &b);
  EXPECT_EQ(r + g + b, 0);
  for (int i = 0; i < 100; ++i) {
    const int value = RandomModulo16();
    ASSERT_GE(value, 0);
    ASSERT_LT(value, 16);
  }
}

TEST(Palette, MethodNamesEndAfterFour) {
  EXPECT_STREQ(MethodName(0), "sqrt()");
  EXPECT_STREQ(MethodName(1), "sin(pai/2)");
  EXPECT_STREQ(MethodName(2), "linear");
  EXPECT_STREQ(MethodName(3), "mod15+1");
  EXPECT_EQ(MethodName(4), nullptr);
  EXPECT_EQ(MethodName(-1), nullptr);
}

TEST_F(ColourAssignment, SquareRootMethod) {
  EXPECT_EQ(Assign(kMethodSquareRoot, 0), 1);
  EXPECT_EQ(Assign(kMethodSquareRoot, 1), 2);    // t = 9, table 94
  EXPECT_EQ(Assign(kMethodSquareRoot, 4), 3);    // t = 39 (divisor span + 1), table 197
  EXPECT_EQ(Assign(kMethodSquareRoot, 88), 14);  // t = 871, table 933
  EXPECT_EQ(Assign(kMethodSquareRoot, 99), 15);
  EXPECT_EQ(Assign(kMethodSquareRoot, 100), 0);
  EXPECT_EQ(record.colourIndex, 0);
  Assign(kMethodSquareRoot, 99);
  EXPECT_EQ(record.colourIndex, 15);
}

TEST_F(ColourAssignment, LinearMethodWrapsTopBandToZero) {
  for (int32_t count = 0; count <= 6; ++count) EXPECT_EQ(Assign(kMethodLinear, count), 1) << count;
  EXPECT_EQ(Assign(kMethodLinear, 7), 2);
  EXPECT_EQ(Assign(kMethodLinear, 93), 15);
  for (int32_t count = 94; count <= 100; ++count)
    EXPECT_EQ(Assign(kMethodLinear, count), 0) << count;
}

TEST_F(ColourAssignment, UpperZeroTakesLimit) {
  record.upper = 0;
  EXPECT_EQ(Assign(kMethodSine, 49, 50), 15);  // t = 960, table 998
  EXPECT_EQ(Assign(kMethodSine, 11, 50), 5);   // t = 215, table 331
  EXPECT_EQ(Assign(kMethodSine, 50, 50), 0);
  EXPECT_EQ(Assign(kMethodSine, 0, 50), 1);
}

TEST_F(ColourAssignment, ModuloMethodUsesRawCount) {
  record.lower = 10;
  for (int32_t method : {4, 0, 7}) {
    EXPECT_EQ(Assign(method, 14), 15) << method;
    EXPECT_EQ(Assign(method, 15), 1) << method;
    EXPECT_EQ(Assign(method, 30), 1) << method;
    EXPECT_EQ(Assign(method, 100), 0) << method;
  }
}

TEST_F(ColourAssignment, CountsOutsideSixteenBitRangeGiveZero) {
  record.upper = 0;
  for (int32_t method : {1, 2, 3, 4}) {
    EXPECT_EQ(Assign(method, 30001, 30000 + 100), 0) << method;
    EXPECT_EQ(Assign(method, -1, 30000 + 100), 0) << method;
  }
}

// Live drawing can meet counts below a range left by an earlier plot,
// including ranges whose divisor would be zero.
TEST_F(ColourAssignment, CountsBelowLowerGiveOne) {
  record.lower = 50;
  for (int32_t method : {1, 2, 3}) EXPECT_EQ(Assign(method, 10), 1) << method;
  record.upper = 0;
  EXPECT_EQ(Assign(kMethodLinear, 10, 50), 1);      // span 0
  EXPECT_EQ(Assign(kMethodSquareRoot, 10, 49), 1);  // span -1
  EXPECT_EQ(Assign(kMethodSine, 10, 49), 1);
}

TEST_F(ColourAssignment, CountColourPacksEntryIntensities) {
  SetPaletteEntry(12, 15, 7, 1);
  record.colourMethod = kMethodModulo;
  EXPECT_EQ(CountColour(record, 11, 100), 0x1177FFu);  // 11 % 15 + 1 = 12
  SetPaletteEntry(12, 16, 0, 0);                       // 16 * 17 = 272, modulo 256
  EXPECT_EQ(CountColour(record, 11, 100), 0x10u);
  EXPECT_EQ(record.colourIndex, 12);
}

TEST(CountRange, AllZeroAndTypicalRanges) {
  PlotRecord record;
  CountGrid grid(record, 3, 2, 0);
  record.limit = 100;
  FindCountRange(record);
  EXPECT_EQ(record.lower, 0);
  EXPECT_EQ(record.upper, 1);

  int16_t value = 5;
  for (int32_t row = 0; row < 2; ++row)
    for (int32_t column = 0; column < 3; ++column) grid.At(row, column) = value++;
  grid.At(1, 2) = 100;
  FindCountRange(record);
  EXPECT_EQ(record.lower, 4);
  EXPECT_EQ(record.upper, 100);

  // The limit bounds lower even when every count lies above it.
  record.limit = 3;
  FindCountRange(record);
  EXPECT_EQ(record.lower, 2);
}

TEST(CountRange, RecordLargerThanBufferReadsOnlyTheBuffer) {
  PlotRecord record;
  CountGrid grid(record, 4, 4, 7);
  record.sizeX = 400;
  record.sizeY = 400;
  FindCountRange(record);
  EXPECT_EQ(record.lower, 6);
  EXPECT_EQ(record.upper, 7);
  record.rows = nullptr;
  FindCountRange(record);
  EXPECT_EQ(record.lower, record.limit - 1);
  EXPECT_EQ(record.upper, 1);
}

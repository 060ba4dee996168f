#include "colour/palette.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>

#include "count_grid.h"
#include "engine/plot_record.h"
#include "palette_levels.h"

namespace {

std::pair<int32_t, int32_t> Range(const PlotRecord& record) { return {record.lower, record.upper}; }

class ColourAssignment : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaultPalette();
    BuildColourTables();
    record.lower = 0;
    record.upper = 100;
  }
  int32_t Assign(int32_t method, int32_t count, int32_t limit = 100) {
    record.colourMethod = method;
    return AssignColour(record, count, limit);
  }
  PlotRecord record;
};

}  // namespace

// The tables are built by repeated addition; they must still equal
// floor(sqrt(1000 t)) and floor(1000 sin(t pi / 2000)).
TEST(ColourTables, MatchClosedFormsAndIndexOccurrences) {
  BuildColourTables();
  const ColourTables& tables = GetColourTables();
  int rootCounts[16] = {};
  int sineFifteen = 0;
  for (int t = 0; t < kColourTableSize; ++t) {
    const int32_t root = tables.squareRoot[t];
    EXPECT_TRUE(root * root <= 1000 * t && (root + 1) * (root + 1) > 1000 * t) << t;
    const long double sine = 1000 * std::sin(t * 3.14159265358979323846264L / 2000);
    EXPECT_EQ(tables.sine[t], static_cast<int32_t>(std::floor(sine))) << t;
    ++rootCounts[root * 15 / 1000 + 1];
    if (tables.sine[t] * 15 / 1000 + 1 == 15) ++sineFifteen;
  }
  EXPECT_EQ(tables.squareRoot[1], 31);
  EXPECT_EQ(tables.squareRoot[998], 998);
  EXPECT_EQ(tables.sine[2], 3);
  const int expected[16] = {0, 5, 13, 22, 32, 40, 48, 59, 67, 74, 85, 94, 101, 112, 121, 127};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(rootCounts[i], expected[i]) << "index " << i;
  EXPECT_EQ(sineFifteen, 232);
}

TEST(Palette, DefaultStagedAndOutOfRange) {
  SetDefaultPalette();
  EXPECT_EQ(EntryLevels(3), (Levels{7, 0, 7}));
  EXPECT_EQ(EntryLevels(6), (Levels{7, 7, 0}));
  EXPECT_EQ(EntryLevels(8), (Levels{4, 4, 4}));
  EXPECT_EQ(EntryLevels(12), (Levels{0, 15, 0}));
  EXPECT_EQ(EntryLevels(13), (Levels{0, 15, 15}));
  // Levels above 15 from parameter text are kept as they are.
  for (int i = 0; i < kPaletteSize; ++i) SetStagedEntry(i, i, 255, 16);
  ApplyStagedPalette();
  EXPECT_EQ(EntryLevels(9), (Levels{9, 255, 16}));
  SetPaletteEntry(16, 1, 1, 1);
  SetPaletteEntry(-1, 1, 1, 1);
  EXPECT_EQ(EntryLevels(16), (Levels{0, 0, 0}));
  EXPECT_STREQ(MethodName(3), "mod15+1");
  EXPECT_EQ(MethodName(4), nullptr);
}

TEST_F(ColourAssignment, SquareRootAndSineDivideBySpanPlusOne) {
  EXPECT_EQ(Assign(kMethodSquareRoot, 0), 1);
  EXPECT_EQ(Assign(kMethodSquareRoot, 1), 2);  // t = 9, table 94
  EXPECT_EQ(Assign(kMethodSquareRoot, 4), 3);  // t = 39, table 197 (t = 40 would give 4)
  EXPECT_EQ(Assign(kMethodSquareRoot, 99), 15);
  EXPECT_EQ(record.colourIndex, 15);
  EXPECT_EQ(Assign(kMethodSquareRoot, 100), 0);
  EXPECT_EQ(record.colourIndex, 0);
  // upper 0: the limit argument closes the range.
  record.upper = 0;
  EXPECT_EQ(Assign(kMethodSine, 49, 50), 15);  // t = 960, table 998
  EXPECT_EQ(Assign(kMethodSine, 11, 50), 5);   // t = 215, table 331
  EXPECT_EQ(Assign(kMethodSine, 50, 50), 0);
}

TEST_F(ColourAssignment, LinearWrapsTopBandAndModuloUsesRawCount) {
  EXPECT_EQ(Assign(kMethodLinear, 6), 1);
  EXPECT_EQ(Assign(kMethodLinear, 7), 2);
  EXPECT_EQ(Assign(kMethodLinear, 93), 15);
  EXPECT_EQ(Assign(kMethodLinear, 94), 0);
  EXPECT_EQ(Assign(kMethodLinear, 99), 0);
  record.lower = 10;
  for (int32_t method : {4, 0, 7}) {
    EXPECT_EQ(Assign(method, 14), 15) << method;
    EXPECT_EQ(Assign(method, 30), 1) << method;
    EXPECT_EQ(Assign(method, 100), 0) << method;
  }
}

// Counts outside 0..30000 (deep counts: 0..100,000,000) give 0; counts below a range left by an
// earlier plot give 1, including ranges whose divisor would be zero.
TEST_F(ColourAssignment, CountsOutsideTheRange) {
  record.upper = 0;
  for (int32_t method : {1, 2, 3, 4}) {
    EXPECT_EQ(Assign(method, 30001, 30100), 0) << method;
    EXPECT_EQ(Assign(method, -1, 30100), 0) << method;
  }
  record.lower = 50;
  for (int32_t method : {1, 2, 3}) EXPECT_EQ(Assign(method, 10), 1) << method;
  EXPECT_EQ(Assign(kMethodLinear, 10, 50), 1);      // span 0
  EXPECT_EQ(Assign(kMethodSquareRoot, 10, 49), 1);  // span -1

  // Deep counts reach 100,000,000: there the ceiling is that.
  record.plottedArithmetic = kPlottedDeep;
  record.lower = 0;
  EXPECT_EQ(Assign(kMethodLinear, 30001, 100000), 5);
  EXPECT_EQ(Assign(kMethodSquareRoot, 99999999, 100000000), 15);
  EXPECT_EQ(Assign(kMethodLinear, 100000001, 200000000), 0);
}

TEST_F(ColourAssignment, CountColourPacksEntryIntensities) {
  SetPaletteEntry(12, 15, 7, 1);
  record.colourMethod = kMethodModulo;
  EXPECT_EQ(CountColour(record, 11, 100), 0x1177FFu);  // 11 % 15 + 1 = 12
  SetPaletteEntry(12, 16, 0, 0);                       // 16 * 17 = 272, modulo 256
  EXPECT_EQ(CountColour(record, 11, 100), 0x10u);
}

TEST(CountRange, LowerAndUpperFromCounts) {
  PlotRecord record;
  record.limit = 100;
  CountGrid grid(record, 3, 2, 0);
  FindCountRange(record);
  EXPECT_EQ(Range(record), std::make_pair(0, 1));
  grid.At(0, 0) = 5;
  for (int32_t column = 0; column < 3; ++column) grid.At(1, column) = 100;
  grid.At(0, 1) = grid.At(0, 2) = 50;
  FindCountRange(record);
  EXPECT_EQ(Range(record), std::make_pair(4, 100));
  // A record larger than its buffer reads only the buffer; no buffer, no counts.
  record.sizeX = record.sizeY = 400;
  FindCountRange(record);
  EXPECT_EQ(Range(record), std::make_pair(4, 100));
  record.rows = nullptr;
  FindCountRange(record);
  EXPECT_EQ(Range(record), std::make_pair(99, 1));
}

#include "colour/palette_keys.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>

#include "colour/palette.h"
#include "palette_levels.h"

namespace {

std::array<Levels, kPaletteSize> WholePalette() {
  std::array<Levels, kPaletteSize> palette;
  for (int i = 0; i < kPaletteSize; ++i) palette[i] = EntryLevels(i);
  return palette;
}

class PaletteKeyTest : public ::testing::Test {
 protected:
  void SetUp() override { SetDefaultPalette(); }
  int Key(char c) { return PaletteKey(static_cast<unsigned char>(c), &entry); }
  int entry = 0;
};

TEST_F(PaletteKeyTest, ComponentKeysStepTheCurrentEntryAndStopAtTheEnds) {
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Key('j'), kPaletteChanged);
  EXPECT_EQ(EntryLevels(0), (Levels{3, 0, 0}));
  const int results[] = {1, 1, 1, 0, 0};
  for (int expected : results) EXPECT_EQ(Key('m'), expected);
  EXPECT_EQ(EntryLevels(0), (Levels{0, 0, 0}));

  // Each pair of keys moves one component; the digits act like the letters.
  const struct {
    char up, down, upDigit, downDigit;
    int component;
  } keys[] = {{'j', 'm', '4', '1', 0}, {'k', ',', '5', '2', 1}, {'l', '.', '6', '3', 2}};
  entry = 1;  // (0, 0, 7)
  for (const auto& k : keys) {
    const Levels before = EntryLevels(1);
    Key(k.up);
    Key(k.upDigit);
    Levels raised = before;
    raised[k.component] += 2;
    EXPECT_EQ(EntryLevels(1), raised) << k.up;
    Key(k.down);
    Key(k.downDigit);
    EXPECT_EQ(EntryLevels(1), before) << k.down;
  }
  entry = 9;  // (0, 0, 15)
  EXPECT_EQ(Key('l'), kPaletteUnchanged);
  EXPECT_EQ(entry, 9);
}

TEST_F(PaletteKeyTest, EntryKeysWrapAroundAndReportOnlyTheMove) {
  EXPECT_EQ(Key('v'), kPaletteEntryChanged);
  EXPECT_EQ(entry, 15);
  EXPECT_EQ(Key('f'), kPaletteEntryChanged);
  EXPECT_EQ(entry, 0);
  EXPECT_EQ(Key('F'), kPaletteEntryChanged);
  EXPECT_EQ(entry, 1);
}

TEST_F(PaletteKeyTest, UpperCaseLettersActAsLowerCase) {
  EXPECT_EQ(Key('J'), kPaletteChanged);
  EXPECT_EQ(EntryLevels(0), (Levels{1, 0, 0}));
  const auto before = WholePalette();
  EXPECT_EQ(Key('R'), kPaletteChanged);
  EXPECT_EQ(EntryLevels(15), (Levels{1, 0, 0}));
  EXPECT_EQ(Key('r'), kPaletteChanged);
  EXPECT_EQ(WholePalette(), before);
}

TEST_F(PaletteKeyTest, RampsHalvingAndNegative) {
  const struct {
    char key;
    Levels unit;
  } ramps[] = {{'!', {0, 0, 1}}, {'"', {1, 0, 0}}, {'#', {1, 0, 1}}, {'$', {0, 1, 0}},
               {'%', {0, 1, 1}}, {'&', {1, 1, 0}}, {'\'', {1, 1, 1}}};
  for (const auto& ramp : ramps) {
    Key(ramp.key);
    for (int i = 0; i < kPaletteSize; ++i) {
      EXPECT_EQ(EntryLevels(i), (Levels{ramp.unit[0] * i, ramp.unit[1] * i, ramp.unit[2] * i}))
          << ramp.key << " entry " << i;
    }
  }
  EXPECT_EQ(Key('n'), kPaletteChanged);
  for (int i = 0; i < kPaletteSize; ++i)
    EXPECT_EQ(EntryLevels(i), (Levels{15 - i, 15 - i, 15 - i}));

  SetPaletteEntry(3, 15, 7, 1);
  entry = 3;
  EXPECT_EQ(Key('h'), kPaletteChanged);
  EXPECT_EQ(EntryLevels(3), (Levels{7, 3, 0}));
}

TEST_F(PaletteKeyTest, ReversingASymmetricPaletteChangesNothing) {
  for (int i = 0; i < 8; ++i) {
    SetPaletteEntry(i, i, 2 * i, 1);
    SetPaletteEntry(15 - i, i, 2 * i, 1);
  }
  EXPECT_EQ(Key('r'), kPaletteUnchanged);
}

TEST_F(PaletteKeyTest, EveryHandledKeyClampsTheWholePalette) {
  SetPaletteEntry(5, 40, -3, 16);  // as a parameter text may leave it
  EXPECT_EQ(Key('f'), kPaletteChanged);
  EXPECT_EQ(EntryLevels(5), (Levels{15, 0, 15}));
  EXPECT_EQ(entry, 1);

  SetPaletteEntry(5, 40, -3, 16);
  EXPECT_EQ(Key('z'), kPaletteUnchanged);  // not a palette key: nothing is touched
  EXPECT_EQ(EntryLevels(5), (Levels{40, -3, 16}));
}

TEST_F(PaletteKeyTest, RandomKeysDrawGreenRedBlueFromTheGenerator) {
  std::srand(7);
  const int green = RandomModulo16(), red = RandomModulo16(), blue = RandomModulo16();
  std::srand(7);
  entry = 4;
  Key(' ');
  EXPECT_EQ(EntryLevels(4), (Levels{red, green, blue}));
  EXPECT_EQ(entry, 4);

  std::srand(11);
  const int chosen = RandomModulo16();
  const int g = RandomModulo16(), r = RandomModulo16(), b = RandomModulo16();
  std::srand(11);
  Key('a');
  EXPECT_EQ(entry, chosen);
  EXPECT_EQ(EntryLevels(chosen), (Levels{r, g, b}));
}

TEST_F(PaletteKeyTest, DefaultKeyRestoresTheDefaultPalette) {
  const auto defaults = WholePalette();
  Key('n');
  EXPECT_EQ(Key('I'), kPaletteChanged);
  EXPECT_EQ(WholePalette(), defaults);
  EXPECT_EQ(Key('i'), kPaletteUnchanged);
}

TEST(PaletteTextTest, DefaultPaletteWithTheLastEntryCurrent) {
  SetDefaultPalette();
  char text[kPaletteTextSize];
  FormatPaletteText(text, sizeof text, 15);
  const std::string s = text;
  ASSERT_EQ(s.size(), 255u);
  EXPECT_EQ(s.substr(0, 45), " Pal  R  G  B \n[15: 15 15 15]\n 14: 15 15  0 \n");
  EXPECT_EQ(s.substr(240), "  0:  0  0  0 \n");
  for (size_t line = 0; line < 17; ++line) EXPECT_EQ(s[line * 15 + 14], '\n') << line;
  EXPECT_EQ(s.find('['), 15u);
  EXPECT_EQ(s.find('[', 16), std::string::npos);

  FormatPaletteText(text, sizeof text, 0);
  EXPECT_EQ(std::string(text).substr(240), "[ 0:  0  0  0]\n");
}

TEST(PaletteTextTest, ShortBufferIsCutAndTerminated) {
  SetDefaultPalette();
  char text[20];
  FormatPaletteText(text, sizeof text, 15);
  EXPECT_EQ(std::string(text), " Pal  R  G  B \n[15:");
}

}  // namespace

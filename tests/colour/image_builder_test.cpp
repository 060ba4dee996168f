#include "colour/image_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "colour/dib_layout.h"
#include "colour/palette.h"
#include "count_grid.h"
#include "engine/plot_record.h"

namespace {

class ImageBuilder : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaultPalette();
    BuildColourTables();
    ASSERT_TRUE(dib.Resize(1064));  // the start-up block
    record.lower = 0;
    record.upper = 100;
    record.colourMethod = kMethodModulo;  // index = count % 15 + 1
  }
  uint8_t* Bits() { return dib.Data() + kCountImageBitsOffset; }
  std::vector<uint8_t> Bytes() const { return {dib.Data(), dib.Data() + dib.Size()}; }

  // A 24-bit picture with a few pixel bytes after its header.
  void MakeTrueColourImage() {
    ASSERT_TRUE(dib.Resize(kInfoHeaderSize + 12));
    std::fill(dib.Data(), dib.Data() + dib.Size(), 0x5A);
    WriteLe32(dib.Data() + kHeaderSizeField, kInfoHeaderSize);
    WriteLe16(dib.Data() + kBitCountField, 24);
    WriteLe32(dib.Data() + kColoursUsedField, 0);
  }

  PlotRecord record;
  DibBlock dib;
  uint16_t bitsOffset = 0;
};

std::array<uint32_t, 11> HeaderFields(const uint8_t* h) {
  return {ReadLe32(h),      ReadLe32(h + 4),  ReadLe32(h + 8),  ReadLe16(h + 12),
          ReadLe16(h + 14), ReadLe32(h + 16), ReadLe32(h + 20), ReadLe32(h + 24),
          ReadLe32(h + 28), ReadLe32(h + 32), ReadLe32(h + 36)};
}

}  // namespace

TEST_F(ImageBuilder, HeaderAndSizesOf400Square) {
  CountGrid grid(record, 400, 400);
  ASSERT_TRUE(BuildImageFromCounts(record, dib, &bitsOffset));
  EXPECT_EQ(bitsOffset, 104);
  EXPECT_EQ(dib.Size(), 80104u);
  EXPECT_EQ(HeaderFields(dib.Data()),
            (std::array<uint32_t, 11>{40, 400, 400, 1, 4, 0, 80000, 0, 0, 16, 0}));
  EXPECT_EQ(ReadLe32(dib.Data() + 40 + 9 * 4), 0x000000FFu);  // (0, 0, 15): blue first
  EXPECT_EQ(ReadLe32(dib.Data() + 40 + 8 * 4), 0x00444444u);
}

TEST_F(ImageBuilder, RowsBottomFirstHighNibbleFirstPaddingCleared) {
  CountGrid grid(record, 34, 32, 100);  // count == upper: nibble 0
  grid.At(31, 0) = 2;                   // bottom line: index 3
  grid.At(31, 1) = 11;                  // index 12
  grid.At(0, 33) = 14;                  // top line, last column: index 15
  ASSERT_TRUE(dib.Resize(2000));
  std::fill(dib.Data(), dib.Data() + dib.Size(), 0xAB);
  ASSERT_TRUE(BuildImageFromCounts(record, dib, &bitsOffset));
  EXPECT_EQ(ReadLe32(dib.Data() + kImageSizeField), 640u);
  EXPECT_EQ(dib.Size(), 104u + 640u);
  const size_t rowBytes = 20;
  EXPECT_EQ(Bits()[0], 0x3C);
  EXPECT_EQ(Bits()[1], 0x00);
  EXPECT_EQ(Bits()[31 * rowBytes + 16], 0x0F);
  for (size_t row = 0; row < 32; ++row)
    for (size_t pad = 17; pad < rowBytes; ++pad) EXPECT_EQ(Bits()[row * rowBytes + pad], 0) << row;
}

TEST_F(ImageBuilder, UsesRecordLimitWhenUpperIsZero) {
  CountGrid grid(record, 32, 32, 0);
  record.upper = 0;
  record.limit = 20;
  record.colourMethod = kMethodLinear;
  grid.At(31, 0) = 19;  // top band wraps to 0
  grid.At(31, 1) = 10;  // 10 * 16 / 20 + 1 = 9
  grid.At(31, 2) = 20;  // at the limit
  ASSERT_TRUE(BuildImageFromCounts(record, dib, &bitsOffset));
  EXPECT_EQ(Bits()[0], 0x09);
  EXPECT_EQ(Bits()[1], 0x01);
}

TEST_F(ImageBuilder, RefusesWithoutTouchingMemory) {
  CountGrid grid(record, 32, 32);
  DibBlock none;
  bitsOffset = 7;
  EXPECT_FALSE(BuildImageFromCounts(record, none, &bitsOffset));
  EXPECT_TRUE(none.Empty());
  // Counts that do not cover the record's size are refused before any resize.
  record.sizeX = 33;
  EXPECT_FALSE(BuildImageFromCounts(record, dib, &bitsOffset));
  record.sizeX = 32;
  record.rows = nullptr;
  EXPECT_FALSE(BuildImageFromCounts(record, dib, &bitsOffset));
  EXPECT_EQ(dib.Size(), 1064u);
  EXPECT_EQ(bitsOffset, 7);
}

TEST_F(ImageBuilder, PaletteRoundTripThroughImage) {
  CountGrid grid(record, 32, 32);
  ASSERT_TRUE(BuildImageFromCounts(record, dib, &bitsOffset));
  for (int i = 0; i < kPaletteSize; ++i) SetPaletteEntry(i, i, 15 - i, (i * 5) % 16);
  ASSERT_TRUE(WritePaletteToImage(dib));
  SetDefaultPalette();
  ASSERT_TRUE(TakePaletteFromImage(dib));
  int32_t r, g, b;
  for (int i = 0; i < kPaletteSize; ++i) {
    GetPaletteEntry(i, &r, &g, &b);
    EXPECT_EQ((std::array<int32_t, 3>{r, g, b}), (std::array<int32_t, 3>{i, 15 - i, (i * 5) % 16}));
  }
  uint8_t* quad = dib.Data() + 40 + 4 * 4;  // (red, green, blue) = (255, 128, 7), blue first
  quad[0] = 7;
  quad[1] = 128;
  quad[2] = 255;
  ASSERT_TRUE(TakePaletteFromImage(dib));
  GetPaletteEntry(4, &r, &g, &b);
  EXPECT_EQ((std::array<int32_t, 3>{r, g, b}), (std::array<int32_t, 3>{15, 8, 0}));
}

TEST_F(ImageBuilder, PaletteExchangeRefusesOtherImages) {
  MakeTrueColourImage();
  const std::vector<uint8_t> before = Bytes();
  SetPaletteEntry(0, 1, 2, 3);
  EXPECT_FALSE(WritePaletteToImage(dib));
  EXPECT_FALSE(TakePaletteFromImage(dib));
  EXPECT_EQ(Bytes(), before);
  int32_t r, g, b;
  GetPaletteEntry(0, &r, &g, &b);
  EXPECT_EQ(r * 100 + g * 10 + b, 123);
  // A 4-bit header whose table would pass the block's end, and no block at all.
  WriteLe16(dib.Data() + kBitCountField, 4);
  EXPECT_FALSE(WritePaletteToImage(dib));
  EXPECT_FALSE(TakePaletteFromImage(dib));
  DibBlock none;
  EXPECT_FALSE(WritePaletteToImage(none));
}

// Only a 4-bit image with a table of exactly 16 colours takes the palette.
TEST_F(ImageBuilder, PaletteExchangeNeedsSixteenTableEntries) {
  CountGrid grid(record, 32, 32);
  ASSERT_TRUE(BuildImageFromCounts(record, dib, &bitsOffset));
  SetPaletteEntry(0, 1, 2, 3);
  for (const uint32_t used : {3u, 17u}) {
    WriteLe32(dib.Data() + kColoursUsedField, used);
    const std::vector<uint8_t> before = Bytes();
    EXPECT_FALSE(WritePaletteToImage(dib)) << used;
    EXPECT_EQ(Bytes(), before);
    EXPECT_FALSE(TakePaletteFromImage(dib)) << used;
  }
  int32_t r, g, b;
  GetPaletteEntry(0, &r, &g, &b);
  EXPECT_EQ(r * 100 + g * 10 + b, 123);
  for (const uint32_t used : {0u, 16u}) {
    WriteLe32(dib.Data() + kColoursUsedField, used);
    EXPECT_TRUE(WritePaletteToImage(dib)) << used;
    EXPECT_TRUE(TakePaletteFromImage(dib)) << used;
  }
}

TEST_F(ImageBuilder, DisplayPaletteFromColourTable) {
  CountGrid grid(record, 32, 32);
  SetPaletteEntry(0, 15, 7, 1);
  ASSERT_TRUE(BuildImageFromCounts(record, dib, &bitsOffset));
  DisplayPaletteLayout layout;
  ASSERT_TRUE(DescribeDisplayPalette(dib.Data(), dib.Size(), &layout));
  EXPECT_FALSE(layout.useStockPalette);
  EXPECT_EQ(layout.version, 0x300);
  ASSERT_EQ(layout.entries.size(), 16u);
  const DisplayPaletteEntry& first = layout.entries[0];
  EXPECT_EQ((std::array<int, 4>{first.red, first.green, first.blue, first.flags}),
            (std::array<int, 4>{255, 119, 17, 0}));
  // Colours used beyond the block are refused; 0 asks for the stock palette.
  WriteLe32(dib.Data() + kColoursUsedField, 300);
  EXPECT_FALSE(DescribeDisplayPalette(dib.Data(), kCountImageBitsOffset, &layout));
  MakeTrueColourImage();
  ASSERT_TRUE(DescribeDisplayPalette(dib.Data(), dib.Size(), &layout));
  EXPECT_TRUE(layout.useStockPalette);
  EXPECT_TRUE(layout.entries.empty());
}

TEST(DibLayout, ColourCountRule) {
  uint8_t header[40] = {};
  WriteLe32(header, 40);
  const uint16_t bitCounts[] = {1, 4, 8, 24};
  const uint32_t colours[] = {2, 16, 256, 0};
  for (int i = 0; i < 4; ++i) {
    WriteLe16(header + kBitCountField, bitCounts[i]);
    EXPECT_EQ(DibColourCount(header, sizeof header), colours[i]) << bitCounts[i];
  }
  WriteLe32(header + kColoursUsedField, 16);  // a 24-bit image declaring 16 colours
  EXPECT_EQ(DibColourCount(header, sizeof header), 16u);
  EXPECT_EQ(DibColourCount(header, 20), 0u);  // too short to hold colours used
  uint8_t core[12] = {12};
  WriteLe16(core + kCoreBitCountField, 4);
  EXPECT_EQ(DibColourCount(core, sizeof core), 16u);
  EXPECT_EQ(DibRowBytes(4, 34), 20u);
  EXPECT_EQ(DibRowBytes(24, 1), 4u);
}

#include "colour/image_builder.h"

#include <gtest/gtest.h>

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
    record.limit = 100;
    record.lower = 0;
    record.upper = 100;
    record.colourMethod = kMethodModulo;  // count % 15 + 1: easy to aim at an index
  }
  uint8_t* Bits() { return dib.Data() + kCountImageBitsOffset; }

  PlotRecord record;
  DibBlock dib;
  uint16_t bitsOffset = 0;
};

// A 24-bit picture with a few pixel bytes after its header.
void MakeTrueColourImage(DibBlock& dib) {
  ASSERT_TRUE(dib.Resize(kInfoHeaderSize + 12));
  for (size_t i = 0; i < dib.Size(); ++i) dib.Data()[i] = static_cast<uint8_t>(i * 7);
  WriteLe32(dib.Data() + kHeaderSizeField, kInfoHeaderSize);
  WriteLe16(dib.Data() + kBitCountField, 24);
  WriteLe32(dib.Data() + kColoursUsedField, 0);
}

}  // namespace

TEST_F(ImageBuilder, HeaderAndSizesOf400Square) {
  CountGrid grid(record, 400, 400);
  ASSERT_TRUE(BuildImageFromCounts(record, dib, &bitsOffset));
  EXPECT_EQ(bitsOffset, 104);
  EXPECT_EQ(dib.Size(), 80104u);
  const uint8_t* h = dib.Data();
  EXPECT_EQ(ReadLe32(h + kHeaderSizeField), 40u);
  EXPECT_EQ(ReadLe32(h + kWidthField), 400u);
  EXPECT_EQ(ReadLe32(h + kHeightField), 400u);
  EXPECT_EQ(ReadLe16(h + kPlanesField), 1);
  EXPECT_EQ(ReadLe16(h + kBitCountField), 4);
  EXPECT_EQ(ReadLe32(h + kCompressionField), 0u);
  EXPECT_EQ(ReadLe32(h + kImageSizeField), 80000u);
  EXPECT_EQ(ReadLe32(h + kXResolutionField), 0u);
  EXPECT_EQ(ReadLe32(h + kYResolutionField), 0u);
  EXPECT_EQ(ReadLe32(h + kColoursUsedField), 16u);
  EXPECT_EQ(ReadLe32(h + kColoursImportantField), 0u);
  EXPECT_EQ(DibColourCount(h, dib.Size()), 16u);
  // Colour table: entry 9 of the default palette is (0, 0, 15) -> blue 255.
  EXPECT_EQ(ReadLe32(h + 40 + 9 * 4), 0x000000FFu);
  EXPECT_EQ(ReadLe32(h + 40 + 8 * 4), 0x00444444u);
}

TEST_F(ImageBuilder, OddWidthRowsAreBottomFirstAndPaddingCleared) {
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
  const uint8_t* top = Bits() + 31 * rowBytes;
  EXPECT_EQ(top[16], 0x0F);  // column 33 in the low nibble of byte 16
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
  EXPECT_EQ(bitsOffset, 7);

  // Counts that do not cover the record's size are refused before any resize.
  record.sizeX = 33;
  EXPECT_FALSE(BuildImageFromCounts(record, dib, &bitsOffset));
  EXPECT_EQ(dib.Size(), 1064u);
  record.sizeX = 32;
  record.rows = nullptr;
  EXPECT_FALSE(BuildImageFromCounts(record, dib, &bitsOffset));
  EXPECT_EQ(bitsOffset, 7);
}

TEST_F(ImageBuilder, PaletteRoundTripThroughImage) {
  CountGrid grid(record, 32, 32);
  ASSERT_TRUE(BuildImageFromCounts(record, dib, &bitsOffset));
  for (int i = 0; i < kPaletteSize; ++i) SetPaletteEntry(i, i, 15 - i, (i * 5) % 16);
  ASSERT_TRUE(WritePaletteToImage(dib));
  SetDefaultPalette();
  ASSERT_TRUE(TakePaletteFromImage(dib));
  for (int i = 0; i < kPaletteSize; ++i) {
    int32_t r, g, b;
    GetPaletteEntry(i, &r, &g, &b);
    EXPECT_EQ(r, i);
    EXPECT_EQ(g, 15 - i);
    EXPECT_EQ(b, (i * 5) % 16);
  }
  // (red, green, blue) = (255, 128, 7) in entry 4, stored blue first.
  uint8_t* quad = dib.Data() + 40 + 4 * 4;
  quad[0] = 7;
  quad[1] = 128;
  quad[2] = 255;
  ASSERT_TRUE(TakePaletteFromImage(dib));
  int32_t r, g, b;
  GetPaletteEntry(4, &r, &g, &b);
  EXPECT_EQ(r, 15);
  EXPECT_EQ(g, 8);
  EXPECT_EQ(b, 0);
}

TEST_F(ImageBuilder, PaletteExchangeRefusesOtherImages) {
  MakeTrueColourImage(dib);
  const std::vector<uint8_t> before(dib.Data(), dib.Data() + dib.Size());
  SetPaletteEntry(0, 1, 2, 3);
  EXPECT_FALSE(WritePaletteToImage(dib));
  EXPECT_FALSE(TakePaletteFromImage(dib));
  EXPECT_EQ(std::vector<uint8_t>(dib.Data(), dib.Data() + dib.Size()), before);
  int32_t r, g, b;
  GetPaletteEntry(0, &r, &g, &b);
  EXPECT_EQ(r * 100 + g * 10 + b, 123);

  // A 4-bit header whose table would pass the block's end, and no block at all.
  WriteLe16(dib.Data() + kBitCountField, 4);
  EXPECT_FALSE(WritePaletteToImage(dib));
  EXPECT_FALSE(TakePaletteFromImage(dib));
  DibBlock none;
  EXPECT_FALSE(WritePaletteToImage(none));
  EXPECT_FALSE(TakePaletteFromImage(none));
}

TEST_F(ImageBuilder, DisplayPaletteFromColourTable) {
  CountGrid grid(record, 32, 32);
  SetPaletteEntry(0, 15, 7, 1);
  ASSERT_TRUE(BuildImageFromCounts(record, dib, &bitsOffset));
  DisplayPaletteSpec spec;
  ASSERT_TRUE(DescribeDisplayPalette(dib.Data(), dib.Size(), &spec));
  EXPECT_FALSE(spec.useStockPalette);
  EXPECT_EQ(spec.version, 0x300);
  ASSERT_EQ(spec.entries.size(), 16u);
  EXPECT_EQ(spec.entries[0].red, 255);
  EXPECT_EQ(spec.entries[0].green, 119);
  EXPECT_EQ(spec.entries[0].blue, 17);
  EXPECT_EQ(spec.entries[0].flags, 0);
  EXPECT_EQ(spec.entries[15].red, 255);

  // Colours used beyond the block is refused; 0 asks for the stock palette.
  WriteLe32(dib.Data() + kColoursUsedField, 300);
  EXPECT_FALSE(DescribeDisplayPalette(dib.Data(), kCountImageBitsOffset, &spec));
  MakeTrueColourImage(dib);
  ASSERT_TRUE(DescribeDisplayPalette(dib.Data(), dib.Size(), &spec));
  EXPECT_TRUE(spec.useStockPalette);
  EXPECT_TRUE(spec.entries.empty());
}

TEST(DibLayout, ColourCountRule) {
  uint8_t header[40] = {};
  WriteLe32(header, 40);
  const uint16_t bitCounts[] = {1, 4, 8, 24, 16};
  const uint32_t colours[] = {2, 16, 256, 0, 0};
  for (int i = 0; i < 5; ++i) {
    WriteLe16(header + kBitCountField, bitCounts[i]);
    EXPECT_EQ(DibColourCount(header, sizeof header), colours[i]) << bitCounts[i];
  }
  WriteLe32(header + kColoursUsedField, 16);  // an 8-bit image declaring 16 colours
  WriteLe16(header + kBitCountField, 8);
  EXPECT_EQ(DibColourCount(header, sizeof header), 16u);
  EXPECT_EQ(DibColourCount(header, 20), 0u);  // too short to hold colours used

  uint8_t core[12] = {};
  WriteLe32(core, 12);
  WriteLe16(core + kCoreBitCountField, 4);
  EXPECT_EQ(DibColourCount(core, sizeof core), 16u);
  EXPECT_EQ(DibRowBytes(4, 34), 20u);
  EXPECT_EQ(DibRowBytes(24, 1), 4u);
  EXPECT_EQ(DibRowBytes(1, 33), 8u);
}

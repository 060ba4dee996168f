#include "commands/image_inversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "colour/dib_layout.h"
#include "command_test_fixture.h"

namespace {

// A packed DIB: header with the given bit count, colours used and image size,
// then `tableEntries` colour entries and `pixelBytes` bytes of pixels.
void MakeDib(DibBlock& dib, uint16_t bitCount, uint32_t coloursUsed, uint32_t imageSize,
             uint32_t tableEntries, uint32_t pixelBytes) {
  ASSERT_TRUE(dib.Resize(kInfoHeaderSize + 4 * tableEntries + pixelBytes));
  uint8_t* block = dib.Data();
  std::fill(block, block + dib.Size(), 0x0F);
  WriteLe32(block + kHeaderSizeField, 40);
  WriteLe16(block + kBitCountField, bitCount);
  WriteLe32(block + kColoursUsedField, coloursUsed);
  WriteLe32(block + kImageSizeField, imageSize);
}

TEST(InvertDibColoursTest, ColourTableIsComplementedButNotItsReservedByteNorThePixels) {
  DibBlock dib;
  MakeDib(dib, 4, 0, 8, 16, 8);
  EXPECT_EQ(InvertDibColours(dib), InversionResult::ColourTableChanged);
  const uint8_t* entry = dib.Data() + kInfoHeaderSize;
  for (int i = 0; i < 16; ++i, entry += 4) {
    EXPECT_EQ(entry[0], 0xF0);
    EXPECT_EQ(entry[2], 0xF0);
    EXPECT_EQ(entry[3], 0x0F);
  }
  EXPECT_EQ(dib.Data()[kInfoHeaderSize + 64], 0x0F);
  InvertDibColours(dib);
  EXPECT_EQ(dib.Data()[kInfoHeaderSize], 0x0F);  // twice restores
}

TEST(InvertDibColoursTest, ImageWithoutTableHasItsPixelsComplementedWithinTheBlock) {
  DibBlock dib;
  MakeDib(dib, 24, 0, 1000, 0, 12);  // the header claims more than the block holds
  EXPECT_EQ(InvertDibColours(dib), InversionResult::PixelsChanged);
  for (size_t i = kInfoHeaderSize; i < dib.Size(); ++i) EXPECT_EQ(dib.Data()[i], 0xF0);
  MakeDib(dib, 24, 0, 4, 0, 12);
  InvertDibColours(dib);
  EXPECT_EQ(dib.Data()[kInfoHeaderSize + 3], 0xF0);
  EXPECT_EQ(dib.Data()[kInfoHeaderSize + 4], 0x0F);
}

TEST(InvertDibColoursTest, MoreThan256ColoursOrNoBlockChangeNothing) {
  DibBlock dib;
  EXPECT_EQ(InvertDibColours(dib), InversionResult::Unchanged);
  MakeDib(dib, 8, 300, 0, 1, 0);
  EXPECT_EQ(InvertDibColours(dib), InversionResult::Unchanged);
  EXPECT_EQ(dib.Data()[kInfoHeaderSize], 0x0F);
}

using InvertImageColoursTest = CommandTest;

TEST_F(InvertImageColoursTest, ChangedTableIsRepaintedOnlyWhileAnImageIsPresent) {
  MakeDib(g_image.dib, 4, 16, 0, 16, 0);
  InvertImageColours(host);
  EXPECT_TRUE(host.calls.empty());
  g_image.imagePresent = true;
  InvertImageColours(host);
  const std::vector<std::string> calls = {"release display objects", "invalidate"};
  EXPECT_EQ(host.calls, calls);
  host.calls.clear();
  MakeDib(g_image.dib, 24, 0, 4, 0, 4);
  InvertImageColours(host);
  EXPECT_TRUE(host.calls.empty());
}

}  // namespace

// The picture's pixels as the PNG writer takes them, and blocks it refuses.
#include "files/png_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "colour/dib_layout.h"
#include "files/bitmap_file.h"
#include "test_files.h"

namespace {

TEST(PngFile, PixelsComeTopLineFirstThroughTheColourTableAndOddBlocksAreRefused) {
  const std::vector<uint8_t> file =
      ReadWholeFile(TestDataPath("fuzz/bitmap/ok-4bit-16colours.bmp"));
  DibBlock dib;
  uint16_t offset = 0;
  ASSERT_TRUE(ReadBitmapBytes(file.data(), file.size(), dib, &offset));
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb;
  ASSERT_TRUE(DibToRgb(dib, &width, &height, &rgb));
  EXPECT_EQ(width, 8);
  EXPECT_EQ(height, 4);
  ASSERT_EQ(rgb.size(), 8u * 4u * 3u);
  // The top line is the file's last row: indices 0, 12, 0, 13 ...
  EXPECT_EQ(std::vector<uint8_t>(rgb.begin(), rgb.begin() + 6),
            (std::vector<uint8_t>{0, 0, 0, 0x24, 0x54, 0xC0}));

  for (const auto& [field, value] : {std::pair{kBitCountField, 24u}, {kCompressionField, 2u}}) {
    DibBlock odd;
    ASSERT_TRUE(odd.Resize(dib.Size()));
    std::copy(dib.Data(), dib.Data() + dib.Size(), odd.Data());
    WriteLe16(odd.Data() + field, static_cast<uint16_t>(value));
    EXPECT_FALSE(DibToRgb(odd, &width, &height, &rgb)) << field;
  }
  ASSERT_TRUE(dib.Resize(dib.Size() - 1));  // one byte short of the last row
  EXPECT_FALSE(DibToRgb(dib, &width, &height, &rgb));
}

}  // namespace

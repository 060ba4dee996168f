#include "files/png_file.h"

#include "colour/dib_layout.h"
#include "files/safe_file.h"

// Debian's stb_image_write, compiled here only, without its own file
// functions: the bytes go through the safe writer.
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace {

constexpr uint32_t kUncompressed = 0;  // BI_RGB
// Far above the largest picture the program makes (4000 x 4000), far below
// what the RGB copy could not be given.
constexpr uint64_t kMaxPixels = uint64_t{1} << 26;
constexpr int kRgbBytes = 3;

// The colour-table index of a pixel in a row of bitCount-bit pixels, the
// leftmost pixel in the highest bits of its byte.
uint32_t PixelIndex(const uint8_t* row, uint32_t column, uint32_t bitCount) {
  const uint64_t bit = uint64_t{column} * bitCount;
  const uint32_t shift = 8 - bitCount - static_cast<uint32_t>(bit % 8);
  return (row[bit / 8] >> shift) & ((1u << bitCount) - 1);
}

void WriteToFile(void* context, void* bytes, int size) {
  // A failed write leaves the stream's error flag set; the commit sees it.
  if (size > 0) static_cast<SafeFileWriter*>(context)->Write(bytes, static_cast<size_t>(size));
}

}  // namespace

bool DibToRgb(const DibBlock& dib, int32_t* width, int32_t* height, std::vector<uint8_t>* rgb) {
  if (dib.Empty() || dib.Size() < kInfoHeaderSize) return false;
  const uint8_t* block = dib.Data();
  const int32_t w = static_cast<int32_t>(ReadLe32(block + kWidthField));
  const int32_t h = static_cast<int32_t>(ReadLe32(block + kHeightField));
  const uint32_t bitCount = ReadLe16(block + kBitCountField);
  if (ReadLe32(block + kHeaderSizeField) != kInfoHeaderSize ||
      ReadLe32(block + kCompressionField) != kUncompressed || w <= 0 || h <= 0 ||
      uint64_t{static_cast<uint32_t>(w)} * static_cast<uint32_t>(h) > kMaxPixels) {
    return false;
  }
  if (bitCount != 1 && bitCount != 4 && bitCount != 8) return false;
  const uint32_t colours = DibColourCount(block, dib.Size());
  const uint64_t rowsOffset = kInfoHeaderSize + uint64_t{colours} * kRgbQuadSize;
  const uint64_t stride = DibRowBytes(bitCount, static_cast<uint32_t>(w));
  if (rowsOffset + stride * static_cast<uint32_t>(h) > dib.Size()) return false;

  rgb->assign(static_cast<size_t>(w) * static_cast<size_t>(h) * kRgbBytes, 0);
  uint8_t* out = rgb->data();
  for (int32_t line = 0; line < h; ++line) {  // the DIB keeps the bottom line first
    const uint8_t* row = block + rowsOffset + stride * static_cast<uint32_t>(h - 1 - line);
    for (int32_t column = 0; column < w; ++column, out += kRgbBytes) {
      const uint32_t index = PixelIndex(row, static_cast<uint32_t>(column), bitCount);
      if (index >= colours) continue;  // black
      const uint8_t* quad = block + kInfoHeaderSize + size_t{index} * kRgbQuadSize;
      out[0] = quad[2];
      out[1] = quad[1];
      out[2] = quad[0];
    }
  }
  *width = w;
  *height = h;
  return true;
}

bool WritePngFile(const char* fileName, const DibBlock& dib) {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb;
  if (!DibToRgb(dib, &width, &height, &rgb)) return false;
  SafeFileWriter writer(fileName);
  if (!writer.IsOpen()) return false;
  if (stbi_write_png_to_func(WriteToFile, &writer, width, height, kRgbBytes, rgb.data(),
                             width * kRgbBytes) == 0) {
    return false;
  }
  return writer.Commit();
}

#include "colour/image_builder.h"

#include <cstring>

#include "colour/dib_layout.h"
#include "colour/palette.h"
#include "engine/plot_record.h"

namespace {

constexpr uint16_t kCountImageBitCount = 4;
constexpr uint32_t kCountImageColours = 1u << kCountImageBitCount;

bool CountsCoverImage(const PlotRecord& record) {
  const CountBuffer* buffer = record.rows;
  return record.sizeX > 0 && record.sizeY > 0 && buffer != nullptr && buffer->rows != nullptr &&
         buffer->sizeX >= record.sizeX && buffer->sizeY >= record.sizeY;
}

void WriteCountImageHeader(uint8_t* header, const PlotRecord& record, uint32_t imageSize) {
  std::memset(header, 0, kInfoHeaderSize);
  WriteLe32(header + kHeaderSizeField, kInfoHeaderSize);
  WriteLe32(header + kWidthField, static_cast<uint32_t>(record.sizeX));
  // Positive height: the rows are stored bottom line first.
  WriteLe32(header + kHeightField, static_cast<uint32_t>(record.sizeY));
  WriteLe16(header + kPlanesField, 1);
  WriteLe16(header + kBitCountField, kCountImageBitCount);
  WriteLe32(header + kImageSizeField, imageSize);
  WriteLe32(header + kColoursUsedField, kCountImageColours);
}

// One stored row from one count row: the even column in the high nibble.
// The whole row is written, padding included, so that a BMP file written from
// the block is the same for the same counts.
void WriteCountRow(uint8_t* out, size_t rowBytes, const Count* counts, PlotRecord& record) {
  std::memset(out, 0, rowBytes);
  const int32_t limit = record.limit;
  for (int32_t k = 0; k < record.sizeX; ++k) {
    const int32_t index = AssignColour(record, counts[k], limit);
    if ((k & 1) == 0) {
      out[k / 2] = static_cast<uint8_t>(index << 4);
    } else {
      out[k / 2] = static_cast<uint8_t>(out[k / 2] + index);
    }
  }
}

}  // namespace

void WriteProgramColourTable(uint8_t* table) {
  for (int i = 0; i < kPaletteSize; ++i) {
    int32_t red, green, blue;
    GetPaletteEntry(i, &red, &green, &blue);
    uint8_t* quad = table + i * kRgbQuadSize;
    quad[0] = LevelIntensity(blue);
    quad[1] = LevelIntensity(green);
    quad[2] = LevelIntensity(red);
    quad[3] = 0;
  }
}

bool BuildImageFromCounts(PlotRecord& record, DibBlock& dib, uint16_t* bitsOffset) {
  if (dib.Empty() || !CountsCoverImage(record)) return false;
  const uint64_t rowBytes = DibRowBytes(kCountImageBitCount, static_cast<uint32_t>(record.sizeX));
  const uint64_t imageSize = rowBytes * static_cast<uint64_t>(record.sizeY);
  if (imageSize > UINT32_MAX - kCountImageBitsOffset) return false;
  if (!dib.Resize(kCountImageBitsOffset + static_cast<size_t>(imageSize))) return false;

  uint8_t* block = dib.Data();
  WriteCountImageHeader(block, record, static_cast<uint32_t>(imageSize));
  WriteProgramColourTable(block + kInfoHeaderSize);
  uint8_t* out = block + kCountImageBitsOffset;
  for (int32_t row = record.sizeY - 1; row >= 0; --row, out += rowBytes) {
    WriteCountRow(out, static_cast<size_t>(rowBytes), record.rows->rows[row], record);
  }
  if (bitsOffset != nullptr) *bitsOffset = kCountImageBitsOffset;
  return true;
}

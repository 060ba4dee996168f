#include <cstring>

#include "colour/dib_layout.h"
#include "colour/image_builder.h"
#include "colour/palette.h"

namespace {

constexpr size_t kSixteenColourTableBytes = kPaletteSize * kRgbQuadSize;

// The colour table of a 16-colour picture, or nullptr when the block is
// empty, is not 4 bits per pixel, declares a table of other than 16 entries
// (16 would be written over a shorter table and into the pixels), or does not
// hold 16 entries at the header-size offset (only the low 16 bits of that
// field count).
uint8_t* SixteenColourTable(DibBlock& dib) {
  if (dib.Empty() || dib.Size() < kBitCountField + 2) return nullptr;
  uint8_t* block = dib.Data();
  if (ReadLe16(block + kBitCountField) != 4) return nullptr;
  if (DibColourCount(block, dib.Size()) != kPaletteSize) return nullptr;
  const size_t tableOffset = ReadLe16(block + kHeaderSizeField);
  if (tableOffset > dib.Size() || dib.Size() - tableOffset < kSixteenColourTableBytes) {
    return nullptr;
  }
  return block + tableOffset;
}

}  // namespace

bool WritePaletteToImage(DibBlock& dib) {
  uint8_t* table = SixteenColourTable(dib);
  if (table == nullptr) return false;
  WriteProgramColourTable(table);
  return true;
}

bool TakePaletteFromImage(DibBlock& dib) {
  const uint8_t* table = SixteenColourTable(dib);
  if (table == nullptr) return false;
  for (int i = 0; i < kPaletteSize; ++i) {
    const uint8_t* quad = table + i * kRgbQuadSize;
    SetPaletteEntry(i, quad[2] >> 4, quad[1] >> 4, quad[0] >> 4);
  }
  return true;
}

bool DescribeDisplayPalette(const uint8_t* block, size_t size, DisplayPaletteLayout* layout) {
  if (block == nullptr || size < kColoursUsedField + 4) return false;
  const uint32_t coloursUsed = ReadLe32(block + kColoursUsedField);
  layout->version = 0x300;
  layout->entries.clear();
  layout->useStockPalette = coloursUsed == 0;
  if (layout->useStockPalette) return true;
  if (coloursUsed > UINT16_MAX) return false;
  const size_t tableOffset = ReadLe16(block + kHeaderSizeField);
  const size_t tableBytes = static_cast<size_t>(coloursUsed) * kRgbQuadSize;
  if (tableOffset > size || size - tableOffset < tableBytes) return false;
  layout->entries.reserve(coloursUsed);
  for (const uint8_t* quad = block + tableOffset; quad != block + tableOffset + tableBytes;
       quad += kRgbQuadSize) {
    layout->entries.push_back(DisplayPaletteEntry{quad[2], quad[1], quad[0], 0});
  }
  return true;
}

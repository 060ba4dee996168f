#include "colour/dib_layout.h"

#include "colour/dib_block.h"

namespace {

uint32_t ColoursForBitCount(uint16_t bitCount) {
  switch (bitCount) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

}  // namespace

uint32_t DibColourCount(const uint8_t* header, size_t available) {
  if (header == nullptr || available < 4) return 0;
  if (ReadLe32(header + kHeaderSizeField) == kCoreHeaderSize) {
    if (available < kCoreBitCountField + 2) return 0;
    return ColoursForBitCount(ReadLe16(header + kCoreBitCountField));
  }
  if (available < kColoursUsedField + 4) return 0;
  const uint32_t used = ReadLe32(header + kColoursUsedField);
  if (used != 0) return used;
  return ColoursForBitCount(ReadLe16(header + kBitCountField));
}

#include "commands/image_inversion.h"

#include <cstddef>
#include <cstdint>

#include "colour/dib_layout.h"
#include "commands/command_host.h"
#include "files/image_state.h"

namespace {

constexpr uint32_t kMostColours = 256;

void Complement(uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(~bytes[i]);
}

}  // namespace

InversionResult InvertDibColours(DibBlock& dib) {
  if (dib.Empty() || dib.Size() < kInfoHeaderSize) return InversionResult::Unchanged;
  uint8_t* block = dib.Data();
  const uint32_t colours = DibColourCount(block, dib.Size());
  if (colours > kMostColours) return InversionResult::Unchanged;
  if (colours == 0) {
    // The header's image size is trusted only as far as the block reaches.
    const size_t room = dib.Size() - kInfoHeaderSize;
    const size_t declared = ReadLe32(block + kImageSizeField);
    Complement(block + kInfoHeaderSize, declared < room ? declared : room);
    return InversionResult::PixelsChanged;
  }
  for (uint32_t i = 0; i < colours; ++i) {
    const size_t entry = kInfoHeaderSize + kRgbQuadSize * i;
    if (entry + 3 > dib.Size()) break;  // a table declared longer than the block
    Complement(block + entry, 3);       // blue, green, red; the reserved byte stays
  }
  return InversionResult::ColourTableChanged;
}

void InvertImageColours(CommandHost& host) {
  if (!g_image.imagePresent) return;
  if (InvertDibColours(g_image.dib) == InversionResult::ColourTableChanged) {
    host.ReleaseDisplayObjects();
    host.InvalidateImage();
  }
}

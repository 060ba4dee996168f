// The BMP reader on arbitrary bytes, in memory. An accepted file must leave a
// block whose header, colour table and rows agree with each other.

#include <cstdint>
#include <cstdlib>

#include "engine/ui_host.h"
#include "files/bitmap_file.h"

namespace {

// Keeps each run fast; the reader's own limit is tested by the unit tests.
constexpr size_t kFuzzBlockLimit = size_t{16} << 20;

class SilentUiHost : public UiHost {
 public:
  int PumpOneMessage(int*) override { return 0; }
  void DrawPixel(int32_t, int32_t, uint32_t) override {}
  void SetTitle(const char*) override {}
  void ShowMessage(const char*, const char*, MessageIcon) override { ++messages; }
  int messages = 0;
};

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DibBlock dib;
  uint16_t bitsOffset = 0;
  if (!ReadBitmapBytes(data, size, dib, &bitsOffset, kFuzzBlockLimit)) return 0;

  Require(!dib.Empty() && dib.Size() >= kInfoHeaderSize);
  const uint8_t* block = dib.Data();
  Require(ReadLe32(block + kHeaderSizeField) == kInfoHeaderSize);
  const uint32_t colours = DibColourCount(block, dib.Size());
  Require(bitsOffset == kInfoHeaderSize + kRgbQuadSize * colours);
  Require(uint64_t{bitsOffset} + ReadLe32(block + kImageSizeField) == dib.Size());

  SilentUiHost host;
  const bool sixteen = RequireSixteenColours(dib, host);
  Require(sixteen == (colours == 16) && host.messages == (sixteen ? 0 : 1));
  return 0;
}

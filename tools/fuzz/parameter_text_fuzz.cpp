// The parameter-text readers on arbitrary bytes: first as the file and paste
// flows use them (a zero-filled buffer of kParameterTextSize bytes), then on
// heap buffers of exactly the text's size so that any read beyond the text is
// caught. Texts whose values are all finite must also survive write, read,
// write unchanged, deep views with their hundreds of digits among them.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "colour/palette.h"
#include "engine/plot_record.h"
#include "files/parameter_text.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckRecord(const PlotRecord& record, const ParameterReadResult& result) {
  Require(record.sizeX >= 32 && record.sizeX <= 4000 && record.sizeX % 2 == 0);
  Require(record.sizeY >= 32 && record.sizeY <= 4000);
  Require(result.endMode >= kEndOfText && result.endMode <= kEndRecolour);
  Require(std::memchr(result.dataFileName, '\0', sizeof result.dataFileName) != nullptr);
}

bool Finite(const PlotRecord& record) {
  return std::isfinite(record.x) && std::isfinite(record.y) && std::isfinite(record.juliaR) &&
         std::isfinite(record.juliaI) && std::isfinite(record.height);
}

// Writing what was read and reading it back gives the same text again. (A
// value next to the largest of its type may be written rounded up beyond it
// and read back as infinite; such texts are not compared.)
void CheckRoundTrip(const PlotRecord& record, const ParameterReadResult& result) {
  if (!Finite(record) || std::strchr(result.dataFileName, '"') != nullptr) return;
  ApplyStagedPalette();
  std::vector<char> firstText(kParameterTextSize);
  char* first = firstText.data();
  WriteParameterText(first, firstText.size(), record, result.dataFileName);
  Require(TestParameterHeader(first, firstText.size()) == 0);

  PlotRecord again;
  const ParameterReadResult reread = ReadParameterText(first, again);
  Require(std::strcmp(reread.dataFileName, result.dataFileName) == 0);
  if (!Finite(again)) return;
  ApplyStagedPalette();
  std::vector<char> secondText(kParameterTextSize);
  char* second = secondText.data();
  WriteParameterText(second, secondText.size(), again, reread.dataFileName);
  Require(TestParameterHeader(second, secondText.size()) == 0);
  Require(std::strcmp(first, second) == 0);
}

void AsTheCallersDo(const uint8_t* data, size_t size) {
  std::vector<char> bufferText(kParameterTextSize);
  char* buffer = bufferText.data();
  std::memcpy(buffer, data, std::min(size, kParameterFileReadSize - 1));
  std::vector<char> paste(bufferText);

  if (TestParameterHeader(buffer, bufferText.size()) == 0) {
    Require(AppendStartKey(buffer, bufferText.size()));
    PlotRecord record;
    const ParameterReadResult result = ReadParameterText(buffer, record);
    CheckRecord(record, result);
    CheckRoundTrip(record, result);
  }
  if (TestParameterHeader(paste.data(), paste.size()) == 0) {
    const ParameterReadResult result = ReadPaletteText(paste.data());
    Require(result.endMode == kEndOfText || result.endMode == kEndRecolour);
  }
}

void OnExactBuffers(const uint8_t* data, size_t size) {
  std::unique_ptr<char[]> text(new char[size + 1]);
  std::memcpy(text.get(), data, size);
  text[size] = '\0';
  PlotRecord record;
  CheckRecord(record, ReadParameterText(text.get(), record));
  ReadPaletteText(text.get());

  // Just the room the header test needs, and one byte less.
  const size_t length = std::strlen(text.get());
  for (size_t capacity : {length + kParameterTextReserve, length + kParameterTextReserve - 1}) {
    std::unique_ptr<char[]> buffer(new char[capacity]);
    std::memcpy(buffer.get(), text.get(), length + 1);
    TestParameterHeader(buffer.get(), capacity);
  }
  // No NUL at all within the buffer.
  if (size > 0) {
    std::unique_ptr<char[]> unterminated(new char[size]);
    std::memcpy(unterminated.get(), data, size);
    TestParameterHeader(unterminated.get(), size);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  AsTheCallersDo(data, size);
  OnExactBuffers(data, size);
  return 0;
}

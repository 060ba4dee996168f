// Loading a plot's counts from its data file.

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/plot_progress.h"
#include "files/data_file.h"
#include "files/decoder.h"
#include "files/safe_file.h"

namespace {

constexpr size_t kFoundNameSize = 4096;

// The save writes ".DTL" and the lookup asks for ".dtl": where the file
// system tells case apart, any case of the name is accepted.
std::FILE* OpenDataFile(const char* name) {
  std::FILE* file = std::fopen(name, "rb");
  if (file != nullptr) return file;
  std::string found(kFoundNameSize, '\0');
  if (!FindFileIgnoringCase(name, found.data(), found.size())) return nullptr;
  return std::fopen(found.c_str(), "rb");
}

// Puts the decoded bytes in place: the low bytes of all rows first, then each
// further byte plane ORed into the same counts. Two-byte counts of the 80-bit
// and integer arithmetic are signed 16-bit numbers, as they always were read;
// deep counts are unsigned.
class CountFiller {
 public:
  CountFiller(PlotRecord& record, int planes)
      : record_(record), signed16_(planes == 2 && record.plottedArithmetic != kPlottedDeep) {
    for (int32_t row = 0; row < record.sizeY; ++row) {
      std::memset(record.rows->rows[row], 0, sizeof(Count) * static_cast<size_t>(record.sizeX));
    }
  }
  void Take(uint8_t byte) {
    Count& count = record_.rows->rows[row_][column_];
    uint32_t bits = static_cast<uint32_t>(count) | (static_cast<uint32_t>(byte) << (8 * plane_));
    if (signed16_ && plane_ == 1) bits = static_cast<uint32_t>(static_cast<int16_t>(bits));
    count = static_cast<Count>(bits);
    if (++column_ < record_.sizeX) return;
    column_ = 0;
    if (++row_ < record_.sizeY) return;
    row_ = 0;
    ++plane_;
  }

 private:
  PlotRecord& record_;
  const bool signed16_;
  int plane_ = 0;
  int32_t row_ = 0;
  int32_t column_ = 0;
};

// Limits for which a 4-byte file may exist: the stream must then have the
// expected length exactly, since a file of another width would otherwise be
// read as plausible counts.
bool NeedsExactLength(const PlotRecord& record) {
  constexpr uint32_t kLargestTwoByteCount = 65535;
  return EffectiveDeepLimit(record.limit) > kLargestTwoByteCount;
}

}  // namespace

int LoadDataFile(UiHost& host, PlotRecord& record, const char* dataFileName, MemoryBudget budget) {
  DataProgress progress;
  progress.host = &host;
  progress.total = static_cast<unsigned long>(record.sizeX) *
                   static_cast<unsigned long>(record.sizeY) *
                   static_cast<unsigned long>(DataBytesPerCount(record));
  std::FILE* file = OpenDataFile(dataFileName);
  if (file == nullptr) return kDataCannotOpen;
  if (!HasCountsOfItsSize(record)) {
    std::fclose(file);
    return kDataNoDecompressorMemory;
  }
  BlockDecoder decoder(budget);
  const uint8_t* ring = decoder.DecoderStart(file);
  if (ring == nullptr) {
    std::fclose(file);
    return kDataNoDecompressorMemory;
  }
  bool formatError = false;
  const BlockDecoder::ErrorHook onFormatError = [&]() {
    formatError = true;
    host.ShowMessage("Unknown data file format ..", "Zirn", MessageIcon::Information);
  };
  CountFiller filler(record, DataBytesPerCount(record));
  // Bytes beyond the expected total are not needed: decoding stops there.
  bool longer = false;
  while (progress.passed < progress.total) {
    const uint32_t n = decoder.DecodeChunk(onFormatError);
    if (n == 0) break;
    uint32_t i = 0;
    for (; i < n && progress.passed < progress.total; ++i) {
      filler.Take(ring[i]);
      ++progress.passed;
    }
    longer = i < n;
    ShowDataProgress(progress);
  }
  if (!formatError && NeedsExactLength(record)) {
    if (!longer && progress.passed == progress.total)
      longer = decoder.DecodeChunk(onFormatError) > 0;
    if (!formatError && (longer || progress.passed != progress.total)) onFormatError();
  }
  decoder.DecoderEnd();  // closes the file
  return formatError ? kDataMalformed : kDataLoaded;
}

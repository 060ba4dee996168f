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
// further byte plane ORed into the same counts, all read as unsigned. Takes at
// most `planes` planes; a byte beyond them marks the stream as too long.
class CountFiller {
 public:
  CountFiller(PlotRecord& record, int planes) : record_(record), planes_(planes) {
    for (int32_t row = 0; row < record.sizeY; ++row) {
      std::memset(record.rows->rows[row], 0, sizeof(Count) * static_cast<size_t>(record.sizeX));
    }
  }
  bool Full() const { return plane_ == planes_; }
  // False when every plane is full already.
  bool Take(uint8_t byte) {
    if (Full()) return false;
    Count& count = record_.rows->rows[row_][column_];
    count = static_cast<Count>(static_cast<uint32_t>(count) |
                               (static_cast<uint32_t>(byte) << (8 * plane_)));
    if (++column_ < record_.sizeX) return true;
    column_ = 0;
    if (++row_ < record_.sizeY) return true;
    row_ = 0;
    ++plane_;
    return true;
  }

 private:
  PlotRecord& record_;
  const int planes_;
  int plane_ = 0;
  int32_t row_ = 0;
  int32_t column_ = 0;
};

bool HasCountAbove(const PlotRecord& record, uint32_t largest) {
  for (int32_t row = 0; row < record.sizeY; ++row) {
    for (int32_t column = 0; column < record.sizeX; ++column) {
      if (static_cast<uint32_t>(record.rows->rows[row][column]) > largest) return true;
    }
  }
  return false;
}

}  // namespace

int WidestBytesPerCount(int32_t limit) {
  constexpr uint32_t kLargestTwoByteCount = 65535;
  if (EffectiveDeepLimit(limit) > kLargestTwoByteCount) return 4;
  return EffectiveLimit(limit) >= 256 ? 2 : 1;
}

int StoredBytesPerCount(int32_t limit, unsigned long streamLength, unsigned long countsPerPlane) {
  const int widest = WidestBytesPerCount(limit);
  for (int bytes : {1, 2, 4}) {
    if (bytes <= widest && streamLength == countsPerPlane * static_cast<unsigned long>(bytes))
      return bytes;
  }
  return 0;
}

int LoadDataFile(UiHost& host, PlotRecord& record, const char* dataFileName, MemoryBudget budget) {
  const unsigned long counts =
      static_cast<unsigned long>(record.sizeX) * static_cast<unsigned long>(record.sizeY);
  const int widest = WidestBytesPerCount(record.limit);
  // The title shows the length a plot of the record would save, and the
  // widest length once the stream goes beyond it.
  const unsigned long usual = counts * static_cast<unsigned long>(DataBytesPerCount(record));
  DataProgress progress;
  progress.host = &host;
  progress.total = usual;
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
  CountFiller filler(record, widest);
  bool longer = false;
  for (;;) {
    const uint32_t n = decoder.DecodeChunk(onFormatError);
    if (n == 0) break;
    for (uint32_t i = 0; i < n && !longer; ++i) {
      longer = !filler.Take(ring[i]);
      if (!longer) ++progress.passed;
    }
    if (progress.passed > usual) progress.total = counts * static_cast<unsigned long>(widest);
    ShowDataProgress(progress);
    if (longer) break;
  }
  // Every data file the program writes holds each count whole: a stream
  // that ends early (a file cut short) or runs on is not taken for counts.
  const int stored = StoredBytesPerCount(record.limit, progress.passed, counts);
  if (!formatError && (longer || stored == 0)) onFormatError();
  decoder.DecoderEnd();  // closes the file
  if (formatError) return kDataMalformed;
  // Counts beyond two bytes, or beyond the 80-bit and integer plotters'
  // largest, can only be the deep arithmetic's: they are shown as such.
  if (stored == 4 || HasCountAbove(record, kMaximumLimit)) {
    record.plottedArithmetic = kPlottedDeep;
    record.referenceBits = 0;
  }
  return kDataLoaded;
}

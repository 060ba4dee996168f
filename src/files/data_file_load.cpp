// Loading a plot's counts from its data file.

#include <cstdio>
#include <cstring>
#include <string>

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

// Puts the decoded bytes in place: the low bytes of all rows first, then the
// high bytes ORed into the same counts.
class CountFiller {
 public:
  explicit CountFiller(PlotRecord& record) : record_(record) {
    for (int32_t row = 0; row < record.sizeY; ++row) {
      std::memset(record.rows->rows[row], 0, sizeof(int16_t) * static_cast<size_t>(record.sizeX));
    }
  }
  void Take(uint8_t byte) {
    if (lowRow_ < record_.sizeY) {
      record_.rows->rows[lowRow_][column_] = byte;
    } else if (highRow_ < record_.sizeY) {
      int16_t& count = record_.rows->rows[highRow_][column_];
      count = static_cast<int16_t>(static_cast<uint16_t>(count) | (byte << 8));
    }
    if (++column_ == record_.sizeX) {
      column_ = 0;
      if (lowRow_ < record_.sizeY) {
        ++lowRow_;
      } else {
        ++highRow_;
      }
    }
  }

 private:
  PlotRecord& record_;
  int32_t lowRow_ = 0;
  int32_t highRow_ = 0;
  int32_t column_ = 0;
};

}  // namespace

int LoadDataFile(UiHost& host, PlotRecord& record, const char* dataFileName, MemoryBudget budget) {
  DataProgress progress;
  progress.host = &host;
  progress.total = static_cast<unsigned long>(record.sizeX) * static_cast<unsigned long>(record.sizeY) *
                   static_cast<unsigned long>(DataBytesPerCount(record.limit));
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
  CountFiller filler(record);
  // Bytes beyond the expected total are not needed: decoding stops there.
  while (progress.passed < progress.total) {
    const uint32_t n = decoder.DecodeChunk(onFormatError);
    if (n == 0) break;
    for (uint32_t i = 0; i < n && progress.passed < progress.total; ++i) {
      filler.Take(ring[i]);
      ++progress.passed;
    }
    ShowDataProgress(progress);
  }
  decoder.DecoderEnd();  // closes the file
  return formatError ? kDataMalformed : kDataLoaded;
}

// Saving a plot: the parameter file and the data file beside it.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/plot_progress.h"
#include "files/data_file.h"
#include "files/encoder.h"
#include "files/file_messages.h"
#include "files/file_names.h"
#include "files/parameter_text.h"
#include "files/safe_file.h"

namespace {

constexpr size_t kFileBufferSize = 8192;
constexpr size_t kMessageSize = 512;
constexpr int kDictionaryBits[] = {13, 12, 11, 10};

// One pass over all counts: the byte at `shift` (0 low, 8, 16, 24) of each.
void CompressPass(UiHost& host, const PlotRecord& record, int shift, BlockEncoder& encoder,
                  DataProgress& progress) {
  for (int32_t row = 0; row < record.sizeY; ++row) {
    const Count* counts = record.rows->rows[row];
    for (int32_t column = 0; column < record.sizeX; ++column) {
      // Counted first: a progress shown from inside the encoder includes this byte.
      ++progress.passed;
      encoder.EncoderPutByte(static_cast<uint8_t>(static_cast<uint32_t>(counts[column]) >> shift));
    }
    // The save always runs to its end, whatever the message step returns; the
    // window keeps an exit or close for the end of the save.
    int ignoredStop = 0;
    host.PumpOneMessage(&ignoredStop);
  }
}

int CompressCounts(UiHost& host, const PlotRecord& record, SafeFileWriter& writer,
                   MemoryBudget budget, DataProgress& progress, unsigned long* compressedSize) {
  if (std::setvbuf(writer.File(), nullptr, _IOFBF, kFileBufferSize) != 0) return kDataNoFileBuffer;
  BlockEncoder encoder(budget);
  bool started = false;
  for (int dicbit : kDictionaryBits) {
    started = encoder.EncoderStart(writer.File(), dicbit, kProgressShown,
                                   [&progress]() { ShowDataProgress(progress); });
    if (started) break;
  }
  if (!started) return kDataNoCompressorMemory;
  for (int plane = 0; plane < DataBytesPerCount(record); ++plane) {
    CompressPass(host, record, 8 * plane, encoder, progress);
  }
  *compressedSize = encoder.EncoderFinish();
  ShowDataProgress(progress);
  return writer.Finish() ? kDataSaved : kDataWriteFailed;
}

// The files a commit could not put back or remove, one a line.
std::string CommitReportLines(const CommitReport& report) {
  std::string lines;
  if (!report.kept.empty()) lines += "\nThe previous files are kept as:";
  for (const std::string& name : report.kept) lines += "\n" + name;
  if (!report.leftovers.empty()) lines += "\nThese files could not be removed:";
  for (const std::string& name : report.leftovers) lines += "\n" + name;
  return lines;
}

void ShowSaveOutcome(UiHost& host, int code, unsigned long compressedSize, unsigned long total,
                     const char* dataFileName, const CommitReport& report) {
  char message[kMessageSize];
  if (code == kDataSaved) {
    std::snprintf(message, sizeof message, "保存終了\nCompression: %lu / %lu\nData File: %s",
                  compressedSize, total, dataFileName);
    host.ShowMessage((message + CommitReportLines(report)).c_str(), "File Saved",
                     MessageIcon::Information);
  } else {
    std::snprintf(message, sizeof message, "File write error.  code:%d\n%s", code, dataFileName);
    host.ShowMessage((message + CommitReportLines(report)).c_str(), "Error", MessageIcon::Error);
  }
}

}  // namespace

void ShowDataProgress(const DataProgress& progress) {
  if (progress.host == nullptr) return;
  char title[64];
  std::snprintf(title, sizeof title, "%lu / %lu", progress.passed, progress.total);
  progress.host->SetTitle(title);
}

int DataBytesPerCount(const PlotRecord& record) {
  constexpr uint32_t kLargestTwoByteCount = 65535;
  if (record.plottedArithmetic == kPlottedDeep &&
      EffectiveDeepLimit(record.limit) > kLargestTwoByteCount) {
    return 4;
  }
  return EffectiveLimit(record.limit) >= 256 ? 2 : 1;
}

bool HasCountsOfItsSize(const PlotRecord& record) {
  return record.rows != nullptr && record.rows->rows != nullptr &&
         record.rows->sizeX == record.sizeX && record.rows->sizeY == record.sizeY;
}

namespace {

// Compresses the counts into a temporary file beside dataFileName, has
// putInPlace put it where it belongs, and shows the outcome. Until then the
// previous data file stays intact. A save of the pair first says that the
// parameter file was not saved either when the data file failed.
template <typename PutInPlace>
int SaveCounts(UiHost& host, const PlotRecord& record, const char* dataFileName,
               MemoryBudget budget, bool pair, PutInPlace putInPlace) {
  DataProgress progress;
  progress.host = &host;
  progress.total = static_cast<unsigned long>(record.sizeX) *
                   static_cast<unsigned long>(record.sizeY) *
                   static_cast<unsigned long>(DataBytesPerCount(record));
  unsigned long compressedSize = 0;
  int code = kDataCannotCreate;
  CommitReport report;
  if (HasCountsOfItsSize(record)) {
    SafeFileWriter writer(dataFileName);
    if (writer.IsOpen())
      code = CompressCounts(host, record, writer, budget, progress, &compressedSize);
    if (code == kDataSaved && !putInPlace(writer, report)) code = kDataWriteFailed;
  }
  if (pair && code != kDataSaved) ShowCannotSave(host);
  ShowSaveOutcome(host, code, compressedSize, progress.total, dataFileName, report);
  return code;
}

}  // namespace

int SaveDataFile(UiHost& host, const PlotRecord& record, const char* dataFileName,
                 MemoryBudget budget) {
  return SaveCounts(
      host, record, dataFileName, budget, false,
      [](SafeFileWriter& data, CommitReport& report) { return data.Commit(&report); });
}

int SaveParameterFile(const char* fileName, const PlotRecord& record, UiHost& host) {
  const DataFileNames names = DataFileNamesFor(fileName);
  SafeFileWriter writer(fileName);
  if (!writer.IsOpen()) return kParameterFileNotSaved;
  std::vector<char> text(kParameterTextSize);
  WriteParameterText(text.data(), text.size(), record, names.bareName.c_str());
  if (!writer.Write(text.data(), std::strlen(text.data())) || !writer.Finish())
    return kParameterFileNotSaved;
  // A parameter file must never name a data file of another plot: the two
  // are put in place together once both were written, or neither is.
  const int code = SaveCounts(host, record, names.path.c_str(), MemoryBudget(), true,
                              [&writer](SafeFileWriter& data, CommitReport& report) {
                                return CommitTogether(data, writer, &report);
                              });
  return code == kDataSaved ? kParameterFileSaved : kPairNotSaved;
}

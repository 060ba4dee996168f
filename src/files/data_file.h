#pragma once
// The data file: a plot's counts as one compressed stream, without a header.
// The stream carries the low byte of every count, row 0 first, and then, for
// plots whose effective limit is 256 or more, the next bytes in the same
// order: the second byte, and for deep plots whose effective limit is above
// 65535 also the third and the fourth. The dimensions and the limit come from
// the parameter file that names the data file; the number of bytes per count
// from the stream's length, so that a file loads whatever arithmetic is chosen.

#include <cstdint>

#include "engine/plot_record.h"
#include "engine/ui_host.h"
#include "files/block_format.h"

enum DataSaveResult : int {
  kDataSaved = 0,
  kDataCannotCreate = 2,
  kDataNoCompressorMemory = 3,  // not even a 1 KB dictionary
  kDataWriteFailed = 4,
  kDataNoFileBuffer = 5,
};

enum DataLoadResult : int {
  kDataLoaded = 0,
  kDataMalformed = 1,
  kDataCannotOpen = 2,
  kDataNoDecompressorMemory = 3,  // also: no count buffer of the record's size to fill
};

// Progress of a save or load, shown in the window title.
struct DataProgress {
  UiHost* host = nullptr;
  unsigned long passed = 0;  // bytes given to the compressor or taken from the decompressor
  unsigned long total = 0;   // bytes expected
};

// Sets the title to "passed / total".
void ShowDataProgress(const DataProgress& progress);

// Bytes per count of the record's counts: 4 for the deep arithmetic with an
// effective limit above 65535, otherwise 2 when the effective limit (the
// limit as the plotters use it) is 256 or more, else 1.
int DataBytesPerCount(const PlotRecord& record);

// The most bytes per count a data file saved with this limit has, in any
// arithmetic: 4 when the deep arithmetic's limit goes beyond 65535, else 2
// from 256 on, else 1.
int WidestBytesPerCount(int32_t limit);
// The bytes per count of a stream of streamLength bytes for countsPerPlane
// counts: 1, 2 or 4, no wider than the limit allows; 0 when the length fits
// none (a stream cut short or running on).
int StoredBytesPerCount(int32_t limit, unsigned long streamLength, unsigned long countsPerPlane);

// True when the record owns a count buffer of exactly its own size.
bool HasCountsOfItsSize(const PlotRecord& record);

enum ParameterSaveResult : int {
  kParameterFileNotSaved = 0,  // nothing shown: the caller says the file cannot be saved
  kParameterFileSaved = 1,     // with its data file, whose message was shown
  // The data file failed, so neither file was put in place; shown: the
  // parameter file cannot be saved, then the data file's failure.
  kPairNotSaved = 2,
};

// Writes the parameter file and then, beside it, the data file. Both files
// are put in place only when both were written: a failed save leaves the
// previous pair of that name as it was, or reports where it is.
int SaveParameterFile(const char* fileName, const PlotRecord& record, UiHost& host);

// Compresses the record's counts into dataFileName, taking one message after
// each image row, and shows the outcome, naming any file that a failed
// replacement left aside or could not remove. The old file of that name
// stays unless the new one was written completely.
int SaveDataFile(UiHost& host, const PlotRecord& record, const char* dataFileName,
                 MemoryBudget budget = MemoryBudget());

// Fills the record's count buffer (allocated for its size) from the data
// file, with as many bytes per count as the stream's length tells
// (StoredBytesPerCount), read as unsigned. A malformed stream, or one whose
// length fits no width, is reported ("Unknown data file format ..") and its
// counts are not to be shown. Counts that only the deep arithmetic gives
// (above 30000, or a 4-byte file) label the record kPlottedDeep.
int LoadDataFile(UiHost& host, PlotRecord& record, const char* dataFileName,
                 MemoryBudget budget = MemoryBudget());

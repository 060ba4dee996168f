#pragma once
// The data file: a plot's counts as one compressed stream, without a header.
// The stream carries the low byte of every count, row 0 first, and then, for
// plots whose effective limit is 256 or more, the next bytes in the same
// order: the second byte, and for deep plots whose effective limit is above
// 65535 also the third and the fourth. The dimensions and the limit come from
// the parameter file that names the data file, the arithmetic from the view
// it describes and the arithmetic chosen (PlotRecord::plottedArithmetic).

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

// True when the record owns a count buffer of exactly its own size.
bool HasCountsOfItsSize(const PlotRecord& record);

// Writes the parameter file and then, beside it, the data file (which shows
// its own outcome). 1 when the parameter file was written, 0 when it could not
// be. Both files are put in place only when both were written: a failed save
// leaves the previous pair of that name as it was.
int SaveParameterFile(const char* fileName, const PlotRecord& record, UiHost& host);

// Compresses the record's counts into dataFileName, taking one message after
// each image row, and shows the outcome. The old file of that name stays
// unless the new one was written completely.
int SaveDataFile(UiHost& host, const PlotRecord& record, const char* dataFileName,
                 MemoryBudget budget = MemoryBudget());

// Fills the record's count buffer (allocated for its size) from the data
// file, with as many bytes per count as DataBytesPerCount gives for the
// record as it will be shown. Counts that a short stream does not cover
// become 0; bytes beyond the expected total are ignored. A record whose limit
// allows 4-byte files takes only a stream of exactly its expected length,
// so that a file of the other width is not misread. A malformed or
// mismatched stream is reported ("Unknown data file format ..").
int LoadDataFile(UiHost& host, PlotRecord& record, const char* dataFileName,
                 MemoryBudget budget = MemoryBudget());

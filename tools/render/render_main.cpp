// zirn-render: renders a parameter file to a BMP or PNG picture, or saves it
// with its data file, exactly as the window would, for scripts and benchmarks.

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "colour/image_builder.h"
#include "colour/palette.h"
#include "console_host.h"
#include "engine/engine_state.h"
#include "engine/plot_arithmetic.h"
#include "engine/plot_record.h"
#include "files/bitmap_file.h"
#include "files/data_file.h"
#include "colour/dib_block.h"
#include "files/file_names.h"
#include "files/parameter_text.h"
#include "files/png_file.h"
#include "movie.h"
#include "render_options.h"
#include "render_plot.h"

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitRefused = 1;
constexpr int kExitBadInput = 2;

void Report(const std::string& file, const char* what) {
  std::fprintf(stderr, "zirn-render: %s: %s\n", file.c_str(), what);
}

int Fail(const std::string& file, const char* problem) {
  std::fprintf(stderr, "zirn-render: %s: %s\n", file.c_str(), problem);
  return kExitBadInput;
}

// Reads the parameter file into record as opening it in the window does.
// Returns 0, or the exit code after a message.
int ReadParameters(const RenderOptions& options, ConsoleHost& host, PlotRecord& record,
                   ParameterReadResult* result) {
  std::vector<char> buffer(kParameterTextSize);
  char* text = buffer.data();
  host.SetFile(options.input);
  if (ReadTextFile(options.input.c_str(), text, kParameterFileReadSize, host) == 0) {
    // A file that cannot be opened has been reported already.
    if (!host.Messages().empty()) return kExitBadInput;
    return Fail(options.input, "cannot be read");
  }
  if (TestParameterHeader(text, buffer.size()) != 0 || !AppendStartKey(text, buffer.size())) {
    return Fail(options.input, "not a Zirn parameter file");
  }
  *result = ReadParameterText(text, record);
  ApplyStagedPalette();
  return 0;
}

// The counts from the data file beside the parameter file, when the text
// names one and it loads; false means they must be computed.
bool LoadSavedCounts(const RenderOptions& options, const ParameterReadResult& read,
                     ConsoleHost& host, PlotRecord& record) {
  if (read.hasDataFile == 0) return false;
  std::string dataFile;
  if (!FindDataFile(options.input.c_str(), &dataFile)) return false;
  host.SetFile(dataFile);
  host.BeginProgress("loading");
  const int code = LoadDataFile(host, record, dataFile.c_str());
  host.EndProgress();
  host.SetFile(options.input);
  return code == kDataLoaded;
}

int WritePictures(const RenderOptions& options, PlotRecord& record) {
  DibBlock dib;
  uint16_t bitsOffset = 0;
  if (!dib.Resize(kCountImageBitsOffset) || !BuildImageFromCounts(record, dib, &bitsOffset)) {
    return Fail(options.input, "not enough memory for the picture");
  }
  if (!options.bmpPath.empty() && !WriteBitmapFile(options.bmpPath.c_str(), dib)) {
    return Fail(options.bmpPath, "cannot be written");
  }
  if (!options.pngPath.empty() && !WritePngFile(options.pngPath.c_str(), dib)) {
    return Fail(options.pngPath, "cannot be written");
  }
  return kExitSuccess;
}

int SaveParameters(const RenderOptions& options, ConsoleHost& host, const PlotRecord& record) {
  host.SetFile(options.savePath);
  host.BeginProgress("saving");
  const int result = SaveParameterFile(options.savePath.c_str(), record, host);
  host.EndProgress();
  if (result == kParameterFileNotSaved) return Fail(options.savePath, "cannot be written");
  // The save has said that the parameter file was not saved, then why.
  if (result == kPairNotSaved) return kExitBadInput;
  return kExitSuccess;
}

int Render(const RenderOptions& options) {
  ConsoleHost host(!options.quiet && isatty(fileno(stderr)) != 0);
  SetDefaultPalette();
  BuildColourTables();

  PlotRecord record;  // the program-start values: whole view, 400 x 400, flags 0
  ParameterReadResult read;
  if (const int code = ReadParameters(options, host, record, &read); code != 0) return code;
  record.flags &= ~(kFlagInteger | kFlagIntegerShadow | kFlagDeep);
  if (options.integer) record.flags |= kFlagInteger | kFlagIntegerShadow;
  if (options.deep) record.flags |= kFlagDeep;
  // Neither saved counts nor a plot for a height that is no height.
  if (HeightRefused(record)) {
    char deepest[32] = "";
    FormatDeepestHeight(deepest, sizeof deepest);
    const std::string problem = std::string("its height is not a number from ") + deepest +
                                " to 1.8e+308; nothing computed";
    return Fail(options.input, problem.c_str());
  }
  // Saved counts are labelled as the window labels them.
  record.plottedArithmetic = ChoosePlotArithmetic(record);

  record.rows = AllocateCountBuffer(record);
  if (record.rows == nullptr) return Fail(options.input, "not enough memory for the counts");

  int exitCode = kExitSuccess;
  if (PlottableHeight(record) && LoadSavedCounts(options, read, host, record)) {
    if (!options.quiet) Report(options.input, "counts loaded from its data file");
  } else {
    host.BeginProgress("computing");
    const int result = RenderPlot(host, record, options);
    host.EndProgress();
    if (result == kPlotRefused) {
      std::fprintf(stderr, "zirn-render: %s: the integer arithmetic cannot compute this region\n",
                   options.input.c_str());
      exitCode = kExitRefused;
    } else if (!options.quiet) {
      Report(options.input, ArithmeticReport(record).c_str());
    }
  }
  // The count range is measured after every plot or load, as in the window.
  if (exitCode == kExitSuccess) FindCountRange(record);
  if (exitCode == kExitSuccess && (!options.bmpPath.empty() || !options.pngPath.empty())) {
    exitCode = WritePictures(options, record);
  }
  if (exitCode == kExitSuccess && !options.savePath.empty()) {
    exitCode = SaveParameters(options, host, record);
  }
  FreeCountBuffer(record);
  record.rows = nullptr;
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  if (IsMovieCommand(argc, argv)) return MovieMain(argc, argv);
  RenderOptions options;
  std::string error;
  switch (ParseRenderOptions(argc, argv, &options, &error)) {
    case ParseOutcome::Help:
      std::fputs(RenderUsage(), stdout);
      return kExitSuccess;
    case ParseOutcome::Error:
      std::fprintf(stderr, "zirn-render: %s\n%s", error.c_str(), RenderUsage());
      return kExitBadInput;
    case ParseOutcome::Run:
      break;
  }
  return Render(options);
}

#include "movie.h"

#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "colour/image_builder.h"
#include "colour/palette.h"
#include "console_host.h"
#include "engine/deep/real.h"
#include "engine/deep/shared_plan.h"
#include "engine/plot_progress.h"
#include "engine/run_plot.h"
#include "files/data_file.h"
#include "colour/dib_block.h"
#include "files/parameter_text.h"
#include "files/png_file.h"
#include "movie_video.h"

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailed = 2;

int Fail(const std::string& what, const char* problem) {
  std::fprintf(stderr, "zirn-render: %s: %s\n", what.c_str(), problem);
  return kExitFailed;
}

// <chrono> and <filesystem> do not compile with the program's execution
// character set; the C functions serve.
double Now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

bool IsFile(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool IsFolder(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

void MakeFolder(const std::string& path) {
#ifdef _WIN32
  mkdir(path.c_str());
#else
  mkdir(path.c_str(), 0777);
#endif
}

// The folder and any missing folders above it.
void MakeFolders(const std::string& folder) {
  for (size_t at = 1; at <= folder.size(); ++at) {
    if (at == folder.size() || folder[at] == '/' || folder[at] == '\\') {
      const std::string prefix = folder.substr(0, at);
      if (!IsFolder(prefix)) MakeFolder(prefix);
    }
  }
}

// The per-keyframe line says what the window's information boxes (a data
// file saved) would; errors still go to standard error.
class MovieHost : public ConsoleHost {
 public:
  using ConsoleHost::ConsoleHost;
  void ShowMessage(const char* text, const char* caption, MessageIcon icon) override {
    if (icon != MessageIcon::Information) ConsoleHost::ShowMessage(text, caption, icon);
  }
};

int ReadTarget(const std::string& input, ConsoleHost& host, PlotRecord* record) {
  std::vector<char> buffer(kParameterTextSize);
  char* text = buffer.data();
  host.SetFile(input);
  if (ReadTextFile(input.c_str(), text, kParameterFileReadSize, host) == 0) {
    if (!host.Messages().empty()) return kExitFailed;
    return Fail(input, "cannot be read");
  }
  if (TestParameterHeader(text, buffer.size()) != 0 || !AppendStartKey(text, buffer.size())) {
    return Fail(input, "not a Zirn parameter file");
  }
  ReadParameterText(text, *record);
  ApplyStagedPalette();
  return kExitSuccess;
}

// The folder exists and takes files, or one line says why not.
int PrepareFolder(const std::string& folder) {
  MakeFolders(folder);
  if (!IsFolder(folder)) return Fail(folder, "cannot be created");
  const std::string probe = folder + "/.zirn-probe-" + std::to_string(getpid());
  std::FILE* file = std::fopen(probe.c_str(), "wb");
  if (file == nullptr) return Fail(folder, "cannot be written");
  std::fclose(file);
  std::remove(probe.c_str());
  return kExitSuccess;
}

class KeyframeRenderer {
 public:
  KeyframeRenderer(const MovieOptions& options, const MoviePlan& plan, ConsoleHost& host)
      : options_(options), plan_(plan), host_(host) {}

  bool Complete(size_t k) const {
    const std::string stem = KeyframeStem(options_.folder, k);
    return IsFile(stem + ".png") &&
           (!options_.dataFiles || (IsFile(stem + ".pmf") && IsFile(stem + ".DTL")));
  }

  // Computes keyframe k and writes its files, the PNG last: a keyframe
  // whose PNG is in place is complete. Returns the exit code.
  int Render(size_t k) {
    PlotRecord record = KeyframeRecord(plan_, k);
    const bool deep = KeyframeIsDeep(record);
    if (deep) {
      if (const int code = PrepareReference(); code != kExitSuccess) return code;
    }
    const std::string stem = KeyframeStem(options_.folder, k);
    const double start = Now();
    record.rows = AllocateCountBuffer(record);
    if (record.rows == nullptr) return Fail(stem + ".png", "not enough memory for the counts");
    host_.SetFile(stem + ".png");
    host_.BeginProgress(("keyframe " + std::to_string(k)).c_str());
    const int result = deep ? PlotDeepAround(host_, record, shared_, options_.threads)
                            : RunPlot(host_, record, PlotOptions{options_.threads});
    host_.EndProgress();
    int code = kExitSuccess;
    if (result != kPlotComplete) {
      code = Fail(stem + ".png", "the keyframe cannot be computed (memory or threads are short)");
    }
    if (code == kExitSuccess) {
      FindCountRange(record);
      if (options_.dataFiles) code = SaveDataFiles(stem + ".pmf", record);
    }
    if (code == kExitSuccess) code = WritePng(stem + ".png", record);
    FreeCountBuffer(record);
    if (code == kExitSuccess && !options_.quiet) {
      char height[32] = "";
      FormatDeepReal(ToDeepReal(plan_.heights[k]), 3, height, sizeof height);
      std::fprintf(stderr, "zirn-render: %s.png: keyframe %zu of %zu, %s high, %s, %.2f s\n",
                   stem.c_str(), k, plan_.heights.size() - 1, height, deep ? "deep" : "80-bit",
                   Now() - start);
    }
    return code;
  }

 private:
  // The one reference orbit of the whole movie, at its centre (or, when
  // that escapes, the longest-lived point of the target's view), at the
  // precision of its deepest keyframe: computed on first need.
  int PrepareReference() {
    if (referenceReady_) return kExitSuccess;
    const double start = Now();
    const unsigned bits = MovieReferenceBits(plan_);
    const PlotRecord deepest = KeyframeRecord(plan_, plan_.heights.size() - 1);
    const int result = shared_.Compute(host_, deepest, bits, plan_.centreRe, plan_.centreIm,
                                       EffectiveDeepLimit(plan_.target.limit));
    if (result != kPlotComplete) {
      return Fail(options_.input, "not enough memory for the reference orbit");
    }
    referenceReady_ = true;
    if (!options_.quiet) {
      std::fprintf(stderr,
                   "zirn-render: %s: one reference orbit for the movie, %u bits, %u "
                   "iterations, %.2f s\n",
                   options_.input.c_str(), bits,
                   static_cast<unsigned>(shared_.Orbits().start.Last()), Now() - start);
    }
    return kExitSuccess;
  }

  int SaveDataFiles(const std::string& pmf, const PlotRecord& record) {
    host_.SetFile(pmf);
    if (SaveParameterFile(pmf.c_str(), record, host_) == 0) return Fail(pmf, "cannot be written");
    if (host_.HadError()) return Fail(pmf, "its data file cannot be written");
    return kExitSuccess;
  }

  static int WritePng(const std::string& png, PlotRecord& record) {
    DibBlock dib;
    uint16_t bitsOffset = 0;
    if (!dib.Resize(kCountImageBitsOffset) || !BuildImageFromCounts(record, dib, &bitsOffset)) {
      return Fail(png, "not enough memory for the picture");
    }
    if (!WritePngFile(png.c_str(), dib)) return Fail(png, "cannot be written");
    return kExitSuccess;
  }

  const MovieOptions& options_;
  const MoviePlan& plan_;
  ConsoleHost& host_;
  SharedDeepReference shared_;
  bool referenceReady_ = false;
};

}  // namespace

int RunMovie(const MovieOptions& options) {
  MovieHost host(!options.quiet && isatty(fileno(stderr)) != 0);
  SetDefaultPalette();
  BuildColourTables();
  PlotRecord target;
  if (const int code = ReadTarget(options.input, host, &target); code != kExitSuccess) return code;
  MoviePlan plan;
  std::string error;
  if (!PlanMovie(target, options.settings, &plan, &error))
    return Fail(options.input, error.c_str());

  const size_t count = plan.heights.size();
  if (options.list) {
    for (size_t k = options.first; k < count && k <= options.last; ++k) {
      if (k % options.shareCount == options.shareIndex) std::printf("%zu\n", k);
    }
    return kExitSuccess;
  }

  KeyframeRenderer renderer(options, plan, host);
  bool folderReady = false;
  for (size_t k = options.first; k < count && k <= options.last; ++k) {
    if (k % options.shareCount != options.shareIndex) continue;
    if (renderer.Complete(k)) {
      if (!options.quiet) {
        std::fprintf(stderr, "zirn-render: %s.png: keyframe %zu of %zu, present\n",
                     KeyframeStem(options.folder, k).c_str(), k, count - 1);
      }
      continue;
    }
    if (!folderReady) {
      if (const int code = PrepareFolder(options.folder); code != kExitSuccess) return code;
      folderReady = true;
    }
    if (const int code = renderer.Render(k); code != kExitSuccess) return code;
  }
  if (options.video.empty()) return kExitSuccess;
  return AssembleMovie(plan, options);
}

int MovieMain(int argc, const char* const* argv) {
  MovieOptions options;
  std::string error;
  switch (ParseMovieOptions(argc, argv, &options, &error)) {
    case MovieParse::Help:
      std::fputs(MovieUsage(), stdout);
      return kExitSuccess;
    case MovieParse::Error:
      std::fprintf(stderr, "zirn-render: %s\n", error.c_str());
      return kExitFailed;
    case MovieParse::Run:
      break;
  }
  return RunMovie(options);
}

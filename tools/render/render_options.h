#pragma once
// Command-line options of zirn-render.

#include <string>

struct RenderOptions {
  std::string input;       // the parameter file
  std::string bmpPath;     // --bmp OUT.bmp
  std::string pngPath;     // --png OUT.png
  std::string savePath;    // --save OUT.PMF, ".PMF" added unless it ends in ".pmf"
  bool integer = false;    // fixed-point plotters
  bool deep = false;       // the deep arithmetic at every depth
  bool quiet = false;      // no progress bar
  bool reference = false;  // the plain single-thread plotters
  int threads = 0;         // 0: all cores
};

enum class ParseOutcome { Run, Help, Error };

// Parses argv[1..argc-1]. On Error, *error holds a one-line reason.
ParseOutcome ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options,
                                std::string* error);

const char* RenderUsage();

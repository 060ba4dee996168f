#include "render_options.h"

#include <cstdlib>
#include <cstring>

#include "commands/file_command_names.h"
#include "files/file_names.h"

const char* RenderUsage() {
  return "usage: zirn-render [--integer | --deep] [--bmp OUT.bmp] [--png OUT.png]\n"
         "                   [--save OUT.PMF] [--quiet] [--threads N] [--reference] FILE.PMF\n"
         "       zirn-render --movie DIR [options] TARGET.PMF   (zoom movies: --movie --help)\n"
         "\n"
         "Renders a Zirn parameter file without the window. The counts come from\n"
         "FILE's data file (FILE.dtl) when the text names one and it exists;\n"
         "otherwise they are computed.\n"
         "\n"
         "  --integer      compute with the fixed-point plotters\n"
         "  --deep         compute with the deep arithmetic at every depth (without\n"
         "                 it, the deep arithmetic takes over where 80-bit reals no\n"
         "                 longer resolve the view)\n"
         "  --bmp OUT.bmp  write the 16-colour picture (default: FILE.bmp when\n"
         "                 none of --bmp, --png and --save is given)\n"
         "  --png OUT.png  write the same picture as PNG\n"
         "  --save OUT.PMF write the parameter file and its data file (OUT.DTL);\n"
         "                 \".PMF\" is added to a name that does not end in it\n"
         "  --quiet        no progress bar on standard error\n"
         "  --threads N    worker threads of the fast plotters (default: all cores)\n"
         "  --reference    the plain single-thread plotters\n"
         "\n"
         "Messages the window would show go to standard error, one line each, and\n"
         "so does the arithmetic that computed the counts (unless --quiet).\n"
         "Exit codes: 0 success; 1 the integer arithmetic cannot compute the\n"
         "region; 2 bad usage, bad input, or an output that cannot be written.\n";
}

namespace {

bool TakeValue(int argc, const char* const* argv, int* i, std::string* value, std::string* error) {
  if (*i + 1 >= argc) {
    *error = std::string(argv[*i]) + " needs a value";
    return false;
  }
  *value = argv[++*i];
  return true;
}

}  // namespace

ParseOutcome ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options,
                                std::string* error) {
  *options = RenderOptions{};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string value;
    if (arg == "--help" || arg == "-h") return ParseOutcome::Help;
    if (arg == "--integer") {
      options->integer = true;
    } else if (arg == "--deep") {
      options->deep = true;
    } else if (arg == "--quiet") {
      options->quiet = true;
    } else if (arg == "--reference") {
      options->reference = true;
    } else if (arg == "--bmp" || arg == "--png") {
      if (!TakeValue(argc, argv, &i, &value, error)) return ParseOutcome::Error;
      (arg == "--bmp" ? options->bmpPath : options->pngPath) = value;
    } else if (arg == "--save") {
      if (!TakeValue(argc, argv, &i, &value, error)) return ParseOutcome::Error;
      // As Save as PMF names it.
      options->savePath = HasExtensionAtLastDot(value.c_str(), ".pmf") ? value : value + ".PMF";
    } else if (arg == "--threads") {
      if (!TakeValue(argc, argv, &i, &value, error)) return ParseOutcome::Error;
      char* end = nullptr;
      const long threads = std::strtol(value.c_str(), &end, 10);
      if (end == value.c_str() || *end != '\0' || threads < 1 || threads > 256) {
        *error = "--threads needs a number from 1 to 256";
        return ParseOutcome::Error;
      }
      options->threads = static_cast<int>(threads);
    } else if (arg.size() > 1 && arg[0] == '-') {
      *error = "unknown option " + arg;
      return ParseOutcome::Error;
    } else if (options->input.empty()) {
      options->input = arg;
    } else {
      *error = "only one parameter file can be rendered";
      return ParseOutcome::Error;
    }
  }
  if (options->input.empty()) {
    *error = "no parameter file given";
    return ParseOutcome::Error;
  }
  if (options->integer && options->deep) {
    *error = "--integer and --deep exclude each other";
    return ParseOutcome::Error;
  }
  if (options->bmpPath.empty() && options->pngPath.empty() && options->savePath.empty()) {
    options->bmpPath = ReplaceExtension(options->input.c_str(), ".bmp");
  }
  return ParseOutcome::Run;
}

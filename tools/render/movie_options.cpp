#include "movie_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

const char* MovieUsage() {
  return "usage: zirn-render --movie DIR [--frames A-B] [--share I/N] [--factor F]\n"
         "                   [--start HEIGHT] [--size WxH] [--dtl] [--threads N] [--quiet]\n"
         "                   [--list] [--video OUT.mp4|OUT.webm [--seconds S]\n"
         "                   [--video-size WxH]] TARGET.PMF\n"
         "\n"
         "Renders the keyframes of a zoom movie into DIR: keyframe k is centred on\n"
         "the target's centre and START / F^k high, the last one the target itself,\n"
         "each as DIR/keyframe-NNNNN.png with the target's size, limit, colour\n"
         "method and palette. Keyframes already in DIR are kept, so a stopped run\n"
         "resumes; any split of the keyframes gives the same bytes.\n"
         "\n"
         "  --frames A-B   only keyframes A to B (or just A)\n"
         "  --share I/N    of those, only the keyframes k with k mod N = I\n"
         "  --factor F     height of a keyframe over the next (default 2)\n"
         "  --start H      height of keyframe 0 (default 4, the whole set)\n"
         "  --size WxH     keyframe size in pixels (default: the target's)\n"
         "  --dtl          also write keyframe-NNNNN.pmf and its data file\n"
         "  --threads N    worker threads (default: all cores)\n"
         "  --quiet        no progress on standard error\n"
         "  --list         print the keyframe numbers, one a line, and render nothing\n"
         "  --video OUT    render what is missing, then assemble OUT with ffmpeg:\n"
         "                 30 frames a second, H.264 (.mp4) or VP9 (.webm)\n"
         "  --seconds S    seconds of video per keyframe (default 1)\n"
         "  --video-size WxH  video size (default: the keyframe size over F,\n"
         "                 rounded down to even numbers)\n";
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

bool ParseCount(const char* text, char stop, size_t* value, const char** end) {
  char* after = nullptr;
  errno = 0;
  const unsigned long long parsed = std::strtoull(text, &after, 10);
  if (after == text || *text == '-' || *text == '+' || errno != 0 || *after != stop) return false;
  *value = static_cast<size_t>(parsed);
  *end = after;
  return true;
}

bool ParsePositive(const std::string& text, double* value) {
  char* end = nullptr;
  const double parsed = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || !(parsed > 0) || !std::isfinite(parsed)) return false;
  *value = parsed;
  return true;
}

// "640x480": both from 32 to 4000, the width even, as the parameter reader
// keeps sizes.
bool ParseSize(const std::string& text, int* width, int* height) {
  size_t w = 0, h = 0;
  const char* end = nullptr;
  if (!ParseCount(text.c_str(), 'x', &w, &end) || !ParseCount(end + 1, '\0', &h, &end)) {
    return false;
  }
  if (w < 2 || h < 2 || w > 4000 || h > 4000) return false;
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return true;
}

bool ParseFrames(const std::string& text, size_t* first, size_t* last) {
  const char* end = nullptr;
  if (ParseCount(text.c_str(), '\0', first, &end)) {
    *last = *first;
    return true;
  }
  return ParseCount(text.c_str(), '-', first, &end) && ParseCount(end + 1, '\0', last, &end) &&
         *first <= *last;
}

bool ParseShare(const std::string& text, size_t* index, size_t* count) {
  const char* end = nullptr;
  return ParseCount(text.c_str(), '/', index, &end) && ParseCount(end + 1, '\0', count, &end) &&
         *count > 0 && *index < *count;
}

}  // namespace

bool IsMovieCommand(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--movie") == 0) return true;
  }
  return false;
}

MovieParse ParseMovieOptions(int argc, const char* const* argv, MovieOptions* options,
                             std::string* error) {
  *options = MovieOptions{};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string value;
    const bool takesValue = arg == "--movie" || arg == "--frames" || arg == "--share" ||
                            arg == "--factor" || arg == "--start" || arg == "--size" ||
                            arg == "--threads" || arg == "--video" || arg == "--seconds" ||
                            arg == "--video-size";
    if (takesValue && !TakeValue(argc, argv, &i, &value, error)) return MovieParse::Error;
    bool good = true;
    if (arg == "--help" || arg == "-h") {
      return MovieParse::Help;
    } else if (arg == "--movie") {
      options->folder = value;
      good = !value.empty();
    } else if (arg == "--frames") {
      good = ParseFrames(value, &options->first, &options->last);
    } else if (arg == "--share") {
      good = ParseShare(value, &options->shareIndex, &options->shareCount);
    } else if (arg == "--factor") {
      good = ParsePositive(value, &options->settings.factor) && options->settings.factor > 1;
    } else if (arg == "--start") {
      good = ParsePositive(value, &options->settings.startHeight);
    } else if (arg == "--size") {
      good = ParseSize(value, &options->settings.sizeX, &options->settings.sizeY) &&
             options->settings.sizeX >= 32 && options->settings.sizeY >= 32 &&
             options->settings.sizeX % 2 == 0;
    } else if (arg == "--video-size") {
      good = ParseSize(value, &options->videoX, &options->videoY) && options->videoX % 2 == 0 &&
             options->videoY % 2 == 0;
    } else if (arg == "--threads") {
      size_t threads = 0;
      const char* end = nullptr;
      good = ParseCount(value.c_str(), '\0', &threads, &end) && threads >= 1 && threads <= 256;
      options->threads = static_cast<int>(threads);
    } else if (arg == "--seconds") {
      good =
          ParsePositive(value, &options->secondsPerKeyframe) && options->secondsPerKeyframe <= 3600;
    } else if (arg == "--video") {
      options->video = value;
    } else if (arg == "--dtl") {
      options->dataFiles = true;
    } else if (arg == "--list") {
      options->list = true;
    } else if (arg == "--quiet") {
      options->quiet = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      *error = "unknown option " + arg;
      return MovieParse::Error;
    } else if (options->input.empty()) {
      options->input = arg;
    } else {
      *error = "only one target parameter file can be given";
      return MovieParse::Error;
    }
    if (!good) {
      *error = "bad value for " + arg + ": " + value + " (see --movie --help)";
      return MovieParse::Error;
    }
  }
  if (options->input.empty()) {
    *error = "no target parameter file given";
    return MovieParse::Error;
  }
  if (!options->video.empty() && (options->first != 0 || options->last != static_cast<size_t>(-1) ||
                                  options->shareCount != 1)) {
    *error = "--video needs every keyframe: it excludes --frames and --share";
    return MovieParse::Error;
  }
  return MovieParse::Run;
}

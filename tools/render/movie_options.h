#pragma once
// Command-line options of zirn-render's movie mode (--movie DIR).

#include <cstddef>
#include <string>

#include "movie_plan.h"

struct MovieOptions {
  std::string folder;  // --movie DIR
  std::string input;   // the target's parameter file
  MovieSettings settings;
  size_t first = 0;  // --frames A-B: keyframes A to B
  size_t last = static_cast<size_t>(-1);
  size_t shareIndex = 0;  // --share I/N: of those, the ones with k mod N == I
  size_t shareCount = 1;
  bool dataFiles = false;  // --dtl: also KEYFRAME.pmf and KEYFRAME.DTL
  bool list = false;       // --list: print the keyframe numbers only
  bool quiet = false;      // no progress bar and no per-keyframe lines
  int threads = 0;
  std::string video;  // --video OUT.mp4 or OUT.webm
  double secondsPerKeyframe = 1;
  int videoX = 0;  // --video-size; 0: the keyframe size over the factor
  int videoY = 0;
};

// True when argv asks for the movie mode.
bool IsMovieCommand(int argc, const char* const* argv);

enum class MovieParse { Run, Help, Error };
MovieParse ParseMovieOptions(int argc, const char* const* argv, MovieOptions* options,
                             std::string* error);

const char* MovieUsage();

#pragma once
// The keyframes of a zoom movie: views that share the target's centre, the
// first `startHeight` high, each `factor` times less high than the one before,
// the last the target itself. Everything here depends only on the target and
// the movie's settings, so every process, on any machine, computes the same
// keyframes, reference and file names.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/plot_record.h"

struct MovieSettings {
  double factor = 2;       // height of one keyframe over the next
  double startHeight = 4;  // of keyframe 0
  int32_t sizeX = 0;       // keyframe size; 0: the target's
  int32_t sizeY = 0;
};

struct MoviePlan {
  PlotRecord target;  // as read; no count buffer
  int32_t sizeX = 0;  // of every keyframe
  int32_t sizeY = 0;
  PreciseCoordinate centreRe;  // shared by every keyframe
  PreciseCoordinate centreIm;
  // Keyframe k's height at any depth; the last the target's.
  std::vector<PreciseCoordinate> heights;
  std::vector<double> logHeights;  // the natural logarithm of each
};

// Keyframes beyond this many are refused as a mistake (a factor near 1).
constexpr size_t kMostKeyframes = 100000;

// Fills the plan; false with *error set when the settings make no movie.
bool PlanMovie(const PlotRecord& target, const MovieSettings& settings, MoviePlan* plan,
               std::string* error);

// Keyframe k's view (without count buffer). Keyframes that the 80-bit
// plotters resolve, at a limit they count to, are plotted with them, exactly
// as the window plots them; the others carry the deep flag and are plotted
// around the movie's shared reference.
PlotRecord KeyframeRecord(const MoviePlan& plan, size_t k);
bool KeyframeIsDeep(const PlotRecord& keyframe);

// The deep tier of the shared reference: the widest any keyframe needs.
unsigned MovieReferenceBits(const MoviePlan& plan);

// DIR/keyframe-00012 and the like, to which ".png" or ".pmf" is added.
std::string KeyframeStem(const std::string& folder, size_t k);

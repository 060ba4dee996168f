#pragma once
// The instruction-set levels the integer plotter can be forced to on this
// processor, weakest first.

#include <vector>

#include "engine/run_plot.h"

inline std::vector<SimdLevel> LevelsOfThisProcessor() {
  std::vector<SimdLevel> levels;
  for (int level = 0; level <= static_cast<int>(DetectSimdLevel()); ++level) {
    levels.push_back(static_cast<SimdLevel>(level));
  }
  return levels;
}

#pragma once
// A program palette entry's three levels as one comparable value.

#include <array>
#include <cstdint>

#include "colour/palette.h"

using Levels = std::array<int32_t, 3>;

inline Levels EntryLevels(int index) {
  Levels levels;
  GetPaletteEntry(index, &levels[0], &levels[1], &levels[2]);
  return levels;
}

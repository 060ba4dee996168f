#include "engine/deep_precision.h"

#include <cmath>

#include "engine/fpu_precision.h"

unsigned DeepTierAtLeast(unsigned bits) {
  for (const unsigned tier : kDeepTiers) {
    if (tier >= bits) return tier;
  }
  return kWidestDeepTier;
}

unsigned DeepBitsNeeded(const PlotRecord& record) {
  ExtendedPrecisionScope precision;
  const long double step = static_cast<long double>(record.height) / record.sizeY;
  long double size = 4;
  const long double coordinates[] = {record.x, record.y, record.x + step * record.sizeX,
                                     record.y + step * record.sizeY};
  for (const long double coordinate : coordinates) size = std::fmax(size, std::fabs(coordinate));
  if ((record.flags & kFlagJulia) != 0) {
    size = std::fmax(size, std::fmax(std::fabs(record.juliaR), std::fabs(record.juliaI)));
  }
  // A view without a finite positive step or with coordinates beyond every
  // number has nothing to resolve: the narrowest tier computes it.
  if (!(step > 0) || !std::isfinite(step) || !std::isfinite(size)) return kDeepTiers[0];
  // Beyond the precise coordinates' own width nothing more is known of the view.
  constexpr unsigned kMostBits = PreciseCoordinate::kWords * 32;
  const long double bits = std::ceil(std::log2(size / step)) + kDeepGuardBits;
  return bits < kMostBits ? static_cast<unsigned>(bits) : kMostBits;
}

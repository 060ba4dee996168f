#include "engine/view_precision.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/deep_precision.h"
#include "engine/fpu_precision.h"

long double ViewStep(double height, int32_t sizeY) {
  if (!(height > 0) || sizeY <= 0 || !std::isfinite(height)) return 0;
  char text[40];
  std::snprintf(text, sizeof text, "%.15g", height);
  return static_cast<long double>(std::strtod(text, nullptr)) / sizeY;
}

int DigitsNeeded(long double coordinate, long double step) {
  if (!(step > 0) || !std::isfinite(coordinate) || coordinate == 0) return 0;
  const long double leading = std::floor(std::log10(std::fabs(coordinate)));
  const long double finest = std::ceil(3 - std::log10(step));
  const long double digits = leading + 1 + finest;
  if (digits < 1) return 1;
  if (digits > kMostCoordinateDigits) return kMostCoordinateDigits;
  return static_cast<int>(digits);
}

int DigitsResolving(long double coordinate, long double resolution) {
  if (!(resolution > 0) || !std::isfinite(coordinate) || coordinate == 0) return 0;
  const long double leading = std::floor(std::log10(std::fabs(coordinate)));
  const long double digits = leading + 1 + std::ceil(-std::log10(resolution));
  if (digits < 1) return 1;
  if (digits > kMostCoordinateDigits) return kMostCoordinateDigits;
  return static_cast<int>(digits);
}

int CoordinateDigits(long double coordinate, const PlotRecord& record) {
  const int needed = DigitsNeeded(coordinate, ViewStep(record.height, record.sizeY));
  return needed > kExtendedDigits ? needed : kExtendedDigits;
}

bool NeedsDeepArithmetic(const PlotRecord& record) {
  ExtendedPrecisionScope precision;
  const long double step = ViewStep(record.height, record.sizeY);
  if (step == 0) return false;
  const long double right = record.x + step * record.sizeX;
  const long double top = record.y + step * record.sizeY;
  long double coordinates[6] = {record.x, record.y, right, top, 0, 0};
  int count = 4;
  if ((record.flags & kFlagJulia) != 0) {
    coordinates[count++] = record.juliaR;
    coordinates[count++] = record.juliaI;
  }
  for (int k = 0; k < count; ++k) {
    if (DigitsNeeded(coordinates[k], step) > kExtendedDigits) return true;
  }
  return (record.flags & kFlagJulia) != 0 && JuliaSpreadBits(record) > kExtendedResolvedBits;
}

long double JuliaConstantResolution(const PlotRecord& record) {
  if ((record.flags & kFlagJulia) == 0 || !NeedsDeepArithmetic(record)) return 0;
  ExtendedPrecisionScope precision;
  return std::ldexp(4.0L, -static_cast<int>(DeepBitsNeeded(record)));
}

int JuliaConstantDigits(long double constant, const PlotRecord& record, long double resolution) {
  const int digits = CoordinateDigits(constant, record);
  const int resolving = DigitsResolving(constant, resolution);
  return resolving > digits ? resolving : digits;
}

#include "engine/deep/view_precision.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/deep/precision.h"
#include "engine/fpu_precision.h"
#include "engine/deep/view_height.h"

namespace {

constexpr size_t kHeightTextSize = 64;

// The step of a view whose height is a normal double, through the height's
// 15-digit text; 0 for any other height.
long double DoubleStep(double height, int32_t sizeY) {
  if (!(height >= DBL_MIN) || sizeY <= 0 || !std::isfinite(height)) return 0;
  char text[kHeightTextSize];
  std::snprintf(text, sizeof text, "%.15g", height);
  return static_cast<long double>(std::strtod(text, nullptr)) / sizeY;
}

int ClampDigits(long double digits) {
  if (digits < 1) return 1;
  if (digits > kMostCoordinateDigits) return kMostCoordinateDigits;
  return static_cast<int>(digits);
}

}  // namespace

long double ViewStepLog(double height, const PreciseCoordinate& preciseHeight, int32_t sizeY) {
  ExtendedPrecisionScope precision;
  const long double step = DoubleStep(height, sizeY);
  if (step > 0) return std::log10(step);
  char text[kHeightTextSize];
  if (sizeY <= 0 || !std::isfinite(height) ||
      FormatHeight(height, preciseHeight, text, sizeof text) == 0) {
    return NAN;
  }
  // The deep height's text "d.ddde-N": the mantissa's logarithm and the exponent.
  char* exponent = std::strchr(text, 'e');
  if (exponent == nullptr) return NAN;
  *exponent = '\0';
  const long double mantissa = std::strtold(text, nullptr);
  if (!(mantissa > 0)) return NAN;
  const long power = std::strtol(exponent + 1, nullptr, 10);
  return std::log10(mantissa / sizeY) + power;
}

int DigitsNeeded(long double coordinate, long double stepLog) {
  if (!std::isfinite(stepLog) || !std::isfinite(coordinate) || coordinate == 0) return 0;
  const long double leading = std::floor(std::log10(std::fabs(coordinate)));
  const long double finest = std::ceil(3 - stepLog);
  return ClampDigits(leading + 1 + finest);
}

int DigitsResolving(long double coordinate, long double resolutionLog) {
  if (!std::isfinite(resolutionLog) || !std::isfinite(coordinate) || coordinate == 0) return 0;
  const long double leading = std::floor(std::log10(std::fabs(coordinate)));
  return ClampDigits(leading + 1 + std::ceil(-resolutionLog));
}

int CoordinateDigits(long double coordinate, const PlotRecord& record) {
  const int needed =
      DigitsNeeded(coordinate, ViewStepLog(record.height, record.preciseHeight, record.sizeY));
  return needed > kExtendedDigits ? needed : kExtendedDigits;
}

bool NeedsDeepArithmetic(const PlotRecord& record) {
  ExtendedPrecisionScope precision;
  const long double step = DoubleStep(record.height, record.sizeY);
  if (step == 0)
    return std::isfinite(ViewStepLog(record.height, record.preciseHeight, record.sizeY));
  const long double right = record.x + step * record.sizeX;
  const long double top = record.y + step * record.sizeY;
  long double coordinates[6] = {record.x, record.y, right, top, 0, 0};
  int count = 4;
  if ((record.flags & kFlagJulia) != 0) {
    coordinates[count++] = record.juliaR;
    coordinates[count++] = record.juliaI;
  }
  const long double stepLog = std::log10(step);
  for (int k = 0; k < count; ++k) {
    if (DigitsNeeded(coordinates[k], stepLog) > kExtendedDigits) return true;
  }
  return (record.flags & kFlagJulia) != 0 && JuliaSpreadBits(record) > kExtendedResolvedBits;
}

long double JuliaConstantResolution(const PlotRecord& record) {
  if ((record.flags & kFlagJulia) == 0 || !NeedsDeepArithmetic(record)) return NAN;
  ExtendedPrecisionScope precision;
  // 4 / 2^bits
  return (2.0L - static_cast<long double>(DeepBitsNeeded(record))) * std::log10(2.0L);
}

int JuliaConstantDigits(long double constant, const PlotRecord& record, long double resolutionLog) {
  const int digits = CoordinateDigits(constant, record);
  const int resolving = DigitsResolving(constant, resolutionLog);
  return resolving > digits ? resolving : digits;
}

#include "engine/deep/view_height.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/fpu_precision.h"

namespace {

constexpr int kHeightDigits = 15;
constexpr int kShortDigits = 6;
constexpr size_t kHeightTextSize = 64;

bool NormalDouble(double value) { return std::isfinite(value) && std::fabs(value) >= DBL_MIN; }

// printf's "%.<digits>g" of the double field, or the same form of the
// precise form where the field is 0 or a subnormal that holds its rounding.
size_t FormatHeightDigits(double field, const PreciseCoordinate& precise, int digits, char* out,
                          size_t size) {
  if (NormalDouble(field) || !std::isfinite(field) || field < 0 ||
      !PreciseMatchesDouble(field, precise)) {
    const int length = std::snprintf(out, size, "%.*g", digits, field);
    return length > 0 && static_cast<size_t>(length) < size ? static_cast<size_t>(length) : 0;
  }
  return FormatDeepReal(ToDeepReal(precise), digits, out, size);
}

}  // namespace

DeepReal HeightOf(const PlotRecord& record) {
  return ExactHeight(record.height, record.preciseHeight);
}
DeepReal ShownHeightOf(const PlotRecord& record) {
  return ExactHeight(record.shownHeight, record.preciseShownHeight);
}
DeepReal ReturnHeightOf(const PlotRecord& record) {
  return ExactHeight(record.returnHeight, record.preciseReturnHeight);
}

void SetHeight(PlotRecord& record, const DeepReal& height) {
  SetExactHeight(record.height, record.preciseHeight, height);
}

void ShowHeight(PlotRecord& record) {
  record.shownHeight = record.height;
  record.preciseShownHeight = record.preciseHeight;
}

void RememberReturnHeight(PlotRecord& record) {
  record.returnHeight = record.height;
  record.preciseReturnHeight = record.preciseHeight;
}

void SetHeightFromText(const char* text, double& field, PreciseCoordinate& precise) {
  ExtendedPrecisionScope precision;
  field = std::strtod(text, nullptr);
  DeepReal value;
  // Beyond the doubles a height is no height, however many digits it has.
  if (!std::isfinite(field) || !ParseDeepReal(text, &value)) {
    precise = PreciseFromLongDouble(field);
    return;
  }
  precise = ToPrecise(value);
  if (PreciseMatchesDouble(field, precise)) return;
  // The precise form's rounding goes through 80 bits and may differ from the
  // runtime's in the last bit: a normal double keeps the runtime's value.
  if (NormalDouble(field)) {
    precise = PreciseFromLongDouble(field);
  } else {
    field = RoundToDouble(precise);
  }
}

size_t FormatHeight(double field, const PreciseCoordinate& precise, char* out, size_t size) {
  return FormatHeightDigits(field, precise, kHeightDigits, out, size);
}

size_t FormatShortHeight(double field, const PreciseCoordinate& precise, char* out, size_t size) {
  return FormatHeightDigits(field, precise, kShortDigits, out, size);
}

void RoundHeightTo15Digits(const DeepReal& value, double& field, PreciseCoordinate& precise) {
  char text[kHeightTextSize];
  const PreciseCoordinate exact = ToPrecise(value);
  if (FormatHeight(RoundToDouble(exact), exact, text, sizeof text) == 0) {
    field = 0;
    precise = PreciseFromLongDouble(0);
    return;
  }
  SetHeightFromText(text, field, precise);
}

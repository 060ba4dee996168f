#include "engine/plot_arithmetic.h"

#include <cmath>
#include <cstdio>

#include "engine/deep/precision.h"
#include "engine/deep/view_precision.h"

PlottedArithmetic ChoosePlotArithmetic(const PlotRecord& record) {
  if ((record.flags & kFlagInteger) != 0) return kPlottedInteger;
  if ((record.flags & kFlagDeep) != 0 || NeedsDeepArithmetic(record)) return kPlottedDeep;
  return kPlottedReal;
}

bool PlottableHeight(const PlotRecord& record) {
  return std::isfinite(record.height) && DeepHeightServed(record);
}

size_t FormatDeepestHeight(char* out, size_t size) {
  const int length = std::snprintf(out, size, "1e%d", kDeepestHeightExponent);
  return length > 0 && static_cast<size_t>(length) < size ? static_cast<size_t>(length) : 0;
}

bool HeightRefused(const PlotRecord& record) {
  if (PlottableHeight(record)) return false;
  const bool positive = !std::isnan(HeightLog2(record.height, record.preciseHeight));
  return (record.flags & kFlagInteger) == 0 || !std::isfinite(record.height) || positive;
}

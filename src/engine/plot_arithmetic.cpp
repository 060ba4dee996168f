#include "engine/plot_arithmetic.h"

#include <cmath>

#include "engine/view_precision.h"

PlottedArithmetic ChoosePlotArithmetic(const PlotRecord& record) {
  if ((record.flags & kFlagInteger) != 0) return kPlottedInteger;
  if ((record.flags & kFlagDeep) != 0 || NeedsDeepArithmetic(record)) return kPlottedDeep;
  return kPlottedReal;
}

bool PlottableHeight(double height) { return std::isfinite(height) && height > 0; }

bool HeightRefused(const PlotRecord& record) {
  if (PlottableHeight(record.height)) return false;
  return (record.flags & kFlagInteger) == 0 || !std::isfinite(record.height);
}

#include "engine/plot_arithmetic.h"

#include <cmath>

#include "engine/view_height.h"
#include "engine/view_precision.h"

namespace {

// The deepest height the deep arithmetic serves.
const DeepReal& DeepestHeight() {
  static const DeepReal deepest("1e-4900");
  return deepest;
}

}  // namespace

PlottedArithmetic ChoosePlotArithmetic(const PlotRecord& record) {
  if ((record.flags & kFlagInteger) != 0) return kPlottedInteger;
  if ((record.flags & kFlagDeep) != 0 || NeedsDeepArithmetic(record)) return kPlottedDeep;
  return kPlottedReal;
}

bool PlottableHeight(const PlotRecord& record) {
  return PlottableHeight(record.height, record.preciseHeight);
}

bool PlottableHeight(double height, const PreciseCoordinate& preciseHeight) {
  if (!std::isfinite(height)) return false;
  return ExactHeight(height, preciseHeight) >= DeepestHeight();
}

size_t FormatDeepestHeight(char* out, size_t size) {
  return FormatDeepReal(DeepestHeight(), 2, out, size);
}

bool HeightRefused(const PlotRecord& record) {
  if (PlottableHeight(record)) return false;
  return (record.flags & kFlagInteger) == 0 || !std::isfinite(record.height) ||
         HeightOf(record) > 0;
}

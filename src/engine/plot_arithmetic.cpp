#include "engine/plot_arithmetic.h"

#include "engine/view_precision.h"

PlottedArithmetic ChoosePlotArithmetic(const PlotRecord& record) {
  if ((record.flags & kFlagInteger) != 0) return kPlottedInteger;
  if ((record.flags & kFlagDeep) != 0 || NeedsDeepArithmetic(record)) return kPlottedDeep;
  return kPlottedReal;
}

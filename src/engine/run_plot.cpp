#include "engine/run_plot.h"

#include <algorithm>
#include <cfloat>

#include "engine/deep/plotter.h"
#include "engine/deep/precise_plotter.h"
#include "engine/deep/precision.h"
#include "engine/fast/plot_driver.h"
#include "engine/plain/integer_plotters.h"
#include "engine/plain/real_plotters.h"
#include "engine/plot_arithmetic.h"

namespace {

SimdLevel ChosenLevel(const PlotOptions& options) {
  return std::min(options.simdLimit, DetectSimdLevel());
}

int ReferencePlot(UiHost& host, PlotRecord& record) {
  const bool julia = (record.flags & kFlagJulia) != 0;
  if ((record.flags & kFlagInteger) != 0) {
    return julia ? PlotJuliaInteger(host, record) : PlotMandelbrotInteger(host, record);
  }
  return julia ? PlotJulia(host, record) : PlotMandelbrot(host, record);
}

}  // namespace

int RunPlot(UiHost& host, PlotRecord& record, const PlotOptions& options) {
  // Nothing is computed from a height that is no number of the view: an
  // infinite one would keep every deep pixel and probe to the limit, and
  // none below the deepest height the deep plotters serve. A height below
  // the doubles' range lives in its precise form, and only the deep plotters
  // place its pixels.
  if (HeightRefused(record)) return kPlotBadHeight;
  const bool belowDoubles = PlottableHeight(record) && !(record.height >= DBL_MIN);
  PlottedArithmetic arithmetic = belowDoubles ? kPlottedDeep : ChoosePlotArithmetic(record);
  if (arithmetic == kPlottedDeep && options.extendedOnly && !belowDoubles) {
    arithmetic = kPlottedReal;
  }
  record.plottedArithmetic = arithmetic;
  record.referenceBits = 0;
  if (arithmetic == kPlottedDeep) {
    const unsigned bits = DeepTierAtLeast(DeepBitsNeeded(record));
    record.referenceBits = static_cast<int32_t>(bits);
    if (!options.useReference) {
      const int result = PlotDeep(host, record, bits, options.threads, options.startThread,
                                  ChosenLevel(options), options.deepOrbitPoints);
      if (result != kLinesNotStarted) return result;
    }
    // The deep plotter may have found that its reference needs more bits.
    return PlotPrecise(host, record, static_cast<unsigned>(record.referenceBits));
  }
  if (!options.useReference) {
    const int result = (record.flags & kFlagInteger) != 0 ? FastPlotInteger(host, record, options.threads,
                                                                            options.startThread,
                                                                            ChosenLevel(options))
                                                          : FastPlotReal(host, record, options.threads, options.startThread);
    if (result != kLinesNotStarted) return result;
  }
  return ReferencePlot(host, record);
}

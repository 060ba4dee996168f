#include "engine/fast_plotters.h"

#include <algorithm>
#include <cfloat>
#include <memory>
#include <new>

#include "engine/deep_plotter.h"
#include "engine/deep_precision.h"
#include "engine/fast_integer_rows.h"
#include "engine/fast_plot_driver.h"
#include "engine/fast_real_rows.h"
#include "engine/fixed_point.h"
#include "engine/fpu_precision.h"
#include "engine/integer_plotters.h"
#include "engine/plot_arithmetic.h"
#include "engine/plot_start.h"
#include "engine/plotters.h"
#include "engine/precise_plotters.h"

namespace {

class RealLineWorker : public LineWorker {
 public:
  explicit RealLineWorker(const RealPlotSetup& setup) : setup_(setup) {}
  void Run(RowQueue& queue) const override { ComputeRealLines(setup_, queue); }

 private:
  const RealPlotSetup& setup_;
};

class IntegerLineWorker : public LineWorker {
 public:
  explicit IntegerLineWorker(const IntegerPlotSetup& setup) : setup_(setup) {}
  void Run(RowQueue& queue) const override { ComputeIntegerLines(setup_, queue); }

 private:
  const IntegerPlotSetup& setup_;
};

// The coordinates the reference forms by adding the step again and again:
// the first entry is `start`, entry k the sum after k additions.
template <typename Coordinate, typename Add>
std::unique_ptr<Coordinate[]> Accumulate(Coordinate start, Coordinate step, int32_t count,
                                         Add add) {
  std::unique_ptr<Coordinate[]> values(new (std::nothrow) Coordinate[static_cast<size_t>(count)]);
  if (values == nullptr) return values;
  Coordinate value = start;
  for (int32_t k = 0; k < count; ++k) {
    values[k] = value;
    value = add(value, step);
  }
  return values;
}

// Line coordinates run from the bottom line (sizeY - 1) up; reversed so that
// they are indexed by image line.
template <typename Coordinate>
void ReverseLines(Coordinate* values, int32_t count) {
  std::reverse(values, values + count);
}

long double AddReal(long double value, long double step) { return value + step; }

SimdLevel ChosenLevel(const PlotOptions& options) {
  return std::min(options.simdLimit, DetectSimdLevel());
}

// The fast plotters return kLinesNotStarted, with nothing computed, when
// their tables or threads cannot be had; RunPlot then runs the reference.
int FastPlotReal(UiHost& host, PlotRecord& record, const PlotOptions& options) {
  if (!CountBufferFits(record)) return kPlotRefused;
  ExtendedPrecisionScope precision;
  const uint32_t limit = BeginPlot(record);
  const long double step = RealStep(record);
  auto columns = Accumulate(record.x, step, record.sizeX, AddReal);
  auto lines = Accumulate(record.y, step, record.sizeY, AddReal);
  if (columns == nullptr || lines == nullptr) return kLinesNotStarted;
  ReverseLines(lines.get(), record.sizeY);
  const RealPlotSetup setup{columns.get(), lines.get(),   (record.flags & kFlagJulia) != 0,
                            record.juliaR, record.juliaI, limit};
  return RunLinesInParallel(host, record, limit, options.threads, RealLineWorker(setup),
                            options.startThread);
}

int FastPlotInteger(UiHost& host, PlotRecord& record, const PlotOptions& options) {
  // The checks and their order are the reference's, so a refusal happens in
  // the same cases and leaves the same state behind.
  if (!CountBufferFits(record)) return kPlotRefused;
  ExtendedPrecisionScope precision;  // exact conversions of the 80-bit coordinates
  const uint32_t limit = BeginPlot(record);
  const bool julia = (record.flags & kFlagJulia) != 0;
  FixedRegion region{};
  if (!IntegerRegion(record, julia, &region)) return kPlotRefused;
  auto columns = Accumulate(region.left, region.step, record.sizeX, WrapAdd);
  auto lines = Accumulate(region.bottom, region.step, record.sizeY, WrapAdd);
  if (columns == nullptr || lines == nullptr) return kLinesNotStarted;
  ReverseLines(lines.get(), record.sizeY);
  const IntegerPlotSetup setup{columns.get(),
                               lines.get(),
                               julia,
                               julia ? ToFixed(record.juliaR) : 0,
                               julia ? ToFixed(record.juliaI) : 0,
                               limit,
                               IntegerKernelFor(ChosenLevel(options))};
  return RunLinesInParallel(host, record, limit, options.threads, IntegerLineWorker(setup),
                            options.startThread);
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
    const int result = (record.flags & kFlagInteger) != 0 ? FastPlotInteger(host, record, options)
                                                          : FastPlotReal(host, record, options);
    if (result != kLinesNotStarted) return result;
  }
  return ReferencePlot(host, record);
}

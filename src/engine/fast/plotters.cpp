#include "engine/fast/plotters.h"

#include <algorithm>
#include <memory>
#include <new>

#include "engine/fast/integer_rows.h"
#include "engine/fast/plot_driver.h"
#include "engine/fast/real_rows.h"
#include "engine/fpu_precision.h"
#include "engine/plain/fixed_point.h"
#include "engine/plain/integer_plotters.h"
#include "engine/plot_start.h"

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

}  // namespace

int FastPlotReal(UiHost& host, PlotRecord& record, int threads, ThreadStarter startThread) {
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
  return RunLinesInParallel(host, record, limit, threads, RealLineWorker(setup), startThread);
}

int FastPlotInteger(UiHost& host, PlotRecord& record, int threads, ThreadStarter startThread,
                    SimdLevel level) {
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
                               IntegerKernelFor(level)};
  return RunLinesInParallel(host, record, limit, threads, IntegerLineWorker(setup),
                            startThread);
}

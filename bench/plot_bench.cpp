// Iteration rate of the four plotters on three 800 x 800 views. The rate
// counts iterations (the sum of the counts), not pixels, so views of different
// depth compare directly.

#include <benchmark/benchmark.h>

#include "engine/plain/integer_plotters.h"
#include "engine/plain/real_plotters.h"
#include "engine/plot_record.h"
#include "engine/ui_host.h"
#include "silent_host.h"

namespace {

struct View {
  long double x;
  long double y;
  double height;
  int32_t limit;
};

constexpr int32_t kSize = 800;
constexpr View kWholeView = {-2, -2, 4, 1000};
constexpr View kSeahorseValley = {-0.743646387037151L, 0.131823404205330L, 5e-6, 5000};
constexpr View kInterior = {-0.6L, -0.3L, 0.6, 30000};

int64_t SumOfCounts(const PlotRecord& record) {
  int64_t sum = 0;
  for (int32_t row = 0; row < record.sizeY; ++row) {
    for (int32_t column = 0; column < record.sizeX; ++column) sum += CountAt(record, row, column);
  }
  return sum;
}

void PlotView(benchmark::State& state, int (*plot)(UiHost&, PlotRecord&), View view) {
  PlotRecord record;
  record.sizeX = record.sizeY = kSize;
  record.x = view.x;
  record.y = view.y;
  record.height = view.height;
  record.limit = view.limit;
  record.juliaR = -0.8L;  // used by the Julia plotters only
  record.juliaI = 0.156L;
  record.rows = AllocateCountBuffer(record);
  if (record.rows == nullptr) {
    state.SkipWithError("no memory for the count buffer");
    return;
  }
  SilentHost host;
  int64_t iterations = 0;
  for (auto _ : state) {
    if (plot(host, record) != kPlotComplete) {
      state.SkipWithError("plot refused");
      break;
    }
    iterations += SumOfCounts(record);
  }
  state.SetItemsProcessed(iterations);
  state.counters["iterations/plot"] =
      benchmark::Counter(static_cast<double>(iterations), benchmark::Counter::kAvgIterations);
  DiscardCountBuffer(record);
}

}  // namespace

#define ZIRN_PLOT_BENCHMARKS(plotter)                                                      \
  BENCHMARK_CAPTURE(PlotView, plotter##_whole, plotter, kWholeView)                        \
      ->Unit(benchmark::kMillisecond);                                                     \
  BENCHMARK_CAPTURE(PlotView, plotter##_seahorse, plotter, kSeahorseValley)                \
      ->Unit(benchmark::kMillisecond);                                                     \
  BENCHMARK_CAPTURE(PlotView, plotter##_interior, plotter, kInterior)                      \
      ->Unit(benchmark::kMillisecond)                                                      \
      ->Iterations(1)

ZIRN_PLOT_BENCHMARKS(PlotMandelbrot);
ZIRN_PLOT_BENCHMARKS(PlotMandelbrotInteger);
ZIRN_PLOT_BENCHMARKS(PlotJulia);
ZIRN_PLOT_BENCHMARKS(PlotJuliaInteger);

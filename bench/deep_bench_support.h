#pragma once
// What the deep benchmarks share: a silent host, deep views by centre and
// height, timed plots, and the preparation and skip share of a plot.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <memory>
#include <thread>

#include "engine/deep/pixel.h"
#include "engine/deep/plan.h"
#include "engine/deep/precision.h"
#include "engine/deep/real.h"
#include "engine/fpu_precision.h"
#include "engine/plot_progress.h"
#include "engine/plot_record.h"
#include "engine/run_plot.h"
#include "silent_host.h"

namespace deep_bench {

struct DeepBenchView {
  const char* name;
  const char* re;
  const char* im;
  double height;
  int32_t limit;
  const char* deepHeight = nullptr;  // a height below the doubles' range, as text
};

// The double-step kernels compared: today's interleaved SSE2 steps and the
// wide lanes.
struct DeepKernelChoice {
  const char* name;
  SimdLevel level;
};
inline constexpr DeepKernelChoice kDeepKernels[] = {
    {"interleaved", SimdLevel::kSse41},
    {"avx2", SimdLevel::kAvx2},
    {"avx512", SimdLevel::kAvx512},
};

inline double Clock(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

inline double Now() { return Clock(CLOCK_MONOTONIC); }

inline int EveryThread() {
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

// A view of `size` lines and columns centred on the point.
inline PlotRecord DeepRecord(const DeepBenchView& view, int32_t size) {
  PlotRecord record;
  record.sizeX = size;
  record.sizeY = size;
  DeepReal height(view.height);
  if (view.deepHeight != nullptr) ParseDeepReal(view.deepHeight, &height);
  SetExactHeight(record.height, record.preciseHeight, height);
  record.shownHeight = record.height;  // as a plot begins, for plans prepared without one
  record.preciseShownHeight = record.preciseHeight;
  record.limit = view.limit;
  record.flags = kFlagDeep;
  DeepReal re, im;
  ParseDeepReal(view.re, &re);
  ParseDeepReal(view.im, &im);
  const DeepReal half = height / 2;
  SetExactCoordinate(record.x, record.preciseX, re - half);
  SetExactCoordinate(record.y, record.preciseY, im - half);
  record.rows = AllocateCountBuffer(record);
  return record;
}

inline int64_t CountSum(const PlotRecord& record) {
  int64_t sum = 0;
  for (int32_t row = 0; row < record.sizeY; ++row) {
    for (int32_t column = 0; column < record.sizeX; ++column) sum += CountAt(record, row, column);
  }
  return sum;
}

// Runs the plot `state` asks for and returns the wall seconds per run, the
// sum of the counts and the process CPU seconds per run (which a busy
// machine distorts less than the wall time).
inline double TimePlots(benchmark::State& state, PlotRecord& record, const PlotOptions& options,
                        int64_t* counted, double* cpu) {
  SilentHost host;
  double wall = 0;
  *cpu = 0;
  for (auto _ : state) {
    const double start = Now();
    const double startCpu = Clock(CLOCK_PROCESS_CPUTIME_ID);
    if (RunPlot(host, record, options) != kPlotComplete) state.SkipWithError("plot failed");
    wall += Now() - start;
    *cpu += Clock(CLOCK_PROCESS_CPUTIME_ID) - startCpu;
  }
  *counted = CountSum(record);
  *cpu /= static_cast<double>(state.iterations());
  return wall / static_cast<double>(state.iterations());
}

// The deep plotter's preparation of the record's plot (the choice of the
// reference, its orbits and tables), timed into *seconds.
inline std::unique_ptr<DeepPlan> PreparePlan(const PlotRecord& record, double* seconds) {
  SilentHost host;
  const unsigned bits = DeepTierAtLeast(DeepBitsNeeded(record));
  const double start = Now();
  std::unique_ptr<DeepPlan> plan;
  if (PrepareDeepPlan(host, record, bits, EffectiveDeepLimit(record.limit), &plan) != 0) {
    plan.reset();
  }
  *seconds = Now() - start;
  return plan;
}

// The share of the counted iterations that the skip tables passed over, on
// every `stride`-th pixel each way, counted again one by one.
inline double SkippedShare(const PlotRecord& record, const DeepPlan& plan, int32_t stride) {
  ExtendedPrecisionScope precision;
  const DeepRowsSetup& setup = plan.setup;
  uint64_t skipped = 0, counted = 0;
  for (int32_t line = stride / 2; line < record.sizeY; line += stride) {
    for (int32_t column = stride / 2; column < record.sizeX; column += stride) {
      DeepPixel pixel(setup.pixel, {setup.columnOffsets[column], setup.lineOffsets[line]});
      while (!pixel.RunExtended()) {
        pixel.EnterDoubles();
        DeepPixel::Stepped stepped;
        while ((stepped = pixel.StepInDoubles()) == DeepPixel::kGoOn) {
        }
        if (stepped == DeepPixel::kFinal) break;
      }
      skipped += std::min(pixel.Skipped(), pixel.Count());
      counted += pixel.Count();
    }
  }
  return counted == 0 ? 0 : static_cast<double>(skipped) / static_cast<double>(counted);
}

// Wall and CPU seconds of today's kernel on the view last measured, for the
// ratios of the wide kernels run after it.
struct Today {
  double wall = 0;
  double cpu = 0;
};
inline Today& TodayOnLastView() {
  static Today today;
  return today;
}

// Records the ratios to today's kernel (run first on each view) or, for
// today's kernel itself, its times.
inline void CompareWithToday(benchmark::State& state, const DeepKernelChoice& kernel, double wall,
                             double cpu) {
  if (kernel.level == kDeepKernels[0].level) {
    TodayOnLastView() = {wall, cpu};
    return;
  }
  if (TodayOnLastView().wall > 0) {
    state.counters["vs_today"] = TodayOnLastView().wall / wall;
    state.counters["vs_today_cpu"] = TodayOnLastView().cpu / cpu;
  }
}

// Skips a kernel this processor lacks; true when it may run.
inline bool KernelRuns(benchmark::State& state, const DeepKernelChoice& kernel) {
  if (kernel.level <= DetectSimdLevel()) return true;
  state.SkipWithError("the processor lacks this instruction set");
  return false;
}

}  // namespace deep_bench

// The fast plotters against the reference plotters, side by side in one run:
// three 800 x 800 views, both arithmetics, the reference, the fast plotters
// on one thread and on every hardware thread. Each fast run reports its
// speed-up over the reference run of the same view before it, in wall time
// (vs_ref) and in process CPU time (vs_ref_cpu); run the reference rows in the
// same invocation (the default order does) for those counters to appear.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <string>
#include <thread>

#include "engine/plot_record.h"
#include "engine/run_plot.h"
#include "silent_host.h"

namespace {

struct BenchView {
  const char* name;
  long double x, y;
  double height;
  int32_t limit;
};

const BenchView kViews[] = {
    {"whole", -2, -2, 4, 1000},
    {"seahorse", -0.743646387037151L, 0.131823404205330L, 5e-6, 5000},
    {"interior", -0.6L, -0.3L, 0.6, 30000},
};

constexpr int32_t kSize = 800;

struct Seconds {
  double wall = 0;
  double cpu = 0;
};

double Clock(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

// Reference time per iteration of each view and arithmetic, by name.
std::map<std::string, Seconds>& ReferenceTimes() {
  static std::map<std::string, Seconds> times;
  return times;
}

void BM_Plot(benchmark::State& state, BenchView view, bool integer, int threads, bool reference) {
  PlotRecord record;
  record.sizeX = kSize;
  record.sizeY = kSize;
  record.x = view.x;
  record.y = view.y;
  record.height = view.height;
  record.limit = view.limit;
  record.flags = integer ? (kFlagInteger | kFlagIntegerShadow) : 0;
  record.rows = AllocateCountBuffer(record);
  if (record.rows == nullptr) {
    state.SkipWithError("no memory for the count buffer");
    return;
  }
  SilentHost host;
  const PlotOptions options{threads, reference};
  Seconds spent;
  int64_t counted = 0;
  for (auto _ : state) {
    const double wall = Clock(CLOCK_MONOTONIC);
    const double cpu = Clock(CLOCK_PROCESS_CPUTIME_ID);
    if (RunPlot(host, record, options) != kPlotComplete) state.SkipWithError("plot refused");
    spent.wall += Clock(CLOCK_MONOTONIC) - wall;
    spent.cpu += Clock(CLOCK_PROCESS_CPUTIME_ID) - cpu;
  }
  for (int32_t row = 0; row < kSize; ++row) {
    for (int32_t column = 0; column < kSize; ++column) counted += CountAt(record, row, column);
  }
  DiscardCountBuffer(record);
  const double runs = static_cast<double>(state.iterations());
  const Seconds perRun{spent.wall / runs, spent.cpu / runs};
  state.counters["Git/s"] = counted / perRun.wall * 1e-9;  // counted iterations per second
  const std::string key = std::string(view.name) + (integer ? "/integer" : "/real");
  if (reference) {
    ReferenceTimes()[key] = perRun;
    return;
  }
  const auto found = ReferenceTimes().find(key);
  if (found == ReferenceTimes().end()) return;
  state.counters["vs_ref"] = found->second.wall / perRun.wall;
  state.counters["vs_ref_cpu"] = found->second.cpu / perRun.cpu;
}

void RegisterPlots() {
  const int everyThread = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  for (const BenchView& view : kViews) {
    for (const bool integer : {false, true}) {
      const std::string base =
          std::string("Plot/") + (integer ? "integer/" : "real/") + view.name + "/";
      // The reference of the interior view takes minutes: one run.
      benchmark::RegisterBenchmark((base + "reference").c_str(), BM_Plot, view, integer, 1, true)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime()
          ->MeasureProcessCPUTime()
          ->Iterations(1);
      for (const int threads : {1, everyThread}) {
        benchmark::RegisterBenchmark((base + "fast/threads:" + std::to_string(threads)).c_str(),
                                     BM_Plot, view, integer, threads, false)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MeasureProcessCPUTime()
            ->MinTime(1.0);
      }
    }
  }
}

const int kRegistered = (RegisterPlots(), 0);

}  // namespace

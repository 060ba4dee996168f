// The deep plotter against the plain deep plotter and against the 80-bit
// fast plotter, side by side in one run: 800 x 800 deep views, at limit
// 30000 c = i at heights 1e-30 and 1e-100 and the seahorse point at 1e-25,
// and at limit 1,000,000 a view 1e-50 high beside a small copy of the set.
//
// Counters: Git/s, the sum of the final counts per wall second, and Git/cpu_s
// per second of process CPU time, which a busy machine distorts less;
// vs_fast and vs_fast_cpu, those rates over the fast plotter's on its
// seahorse view (run first); vs_plain and vs_plain_cpu, the plain plotter's
// time per pixel over the deep plotter's, the plain plotter timed on a
// 40 x 40 view of the same region (run before each deep view); reference_ms,
// the preparation's share of a deep plot's wall time; pixel_us, a worker's
// wall time per pixel, and pixel_cpu_us the CPU time.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <string>
#include <thread>

#include "engine/deep_plan.h"
#include "engine/deep_precision.h"
#include "engine/deep_real.h"
#include "engine/fast_plotters.h"
#include "engine/plot_progress.h"
#include "engine/plot_record.h"

namespace {

class SilentHost : public UiHost {
 public:
  int PumpOneMessage(int*) override { return 0; }
  void DrawPixel(int32_t, int32_t, uint32_t) override {}
  void SetTitle(const char*) override {}
  void ShowMessage(const char*, const char*, MessageIcon) override {}
};

struct DeepBenchView {
  const char* name;
  const char* re;
  const char* im;
  double height;
  int32_t limit;
};

const DeepBenchView kDeepViews[] = {
    {"i/1e-30", "0", "1", 1e-30, 30000},
    {"i/1e-100", "0", "1", 1e-100, 30000},
    {"seahorse/1e-25", "-0.743643887037158704752191506114774",
     "0.131825904205311970493132056385139", 1e-25, 30000},
    // 2e-51 right of the nucleus of a copy of period 54 and about 1.3e-51
    // across, which lies 3e-26 from the Misiurewicz point whose critical
    // orbit lands on a fixed point after three steps (near -0.228 + 1.115i).
    {"copy/1e-50/limit-1e6",
     "-0.22815549365396181921457198398709879285927437169147348794541326043860408",
     "1.1151425080399373597457646507660046203314728947623770178062243955663995", 1e-50, 1000000},
};

constexpr int32_t kSize = 800;
constexpr int32_t kPlainSize = 40;

double Clock(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

double Now() { return Clock(CLOCK_MONOTONIC); }

int EveryThread() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

// A view of `size` lines and columns centred on the point.
PlotRecord DeepRecord(const DeepBenchView& view, int32_t size) {
  PlotRecord record;
  record.sizeX = size;
  record.sizeY = size;
  record.height = view.height;
  record.limit = view.limit;
  record.flags = kFlagDeep;
  DeepReal re, im;
  ParseDeepReal(view.re, &re);
  ParseDeepReal(view.im, &im);
  const DeepReal half = DeepReal(view.height) / 2;
  SetExactCoordinate(record.x, record.preciseX, re - half);
  SetExactCoordinate(record.y, record.preciseY, im - half);
  record.rows = AllocateCountBuffer(record);
  return record;
}

int64_t CountSum(const PlotRecord& record) {
  int64_t sum = 0;
  for (int32_t row = 0; row < record.sizeY; ++row) {
    for (int32_t column = 0; column < record.sizeX; ++column) sum += CountAt(record, row, column);
  }
  return sum;
}

struct Measured {
  double fastRate = 0;           // Git/s of the fast plotter
  double fastCpuRate = 0;        // its counted iterations per second of process CPU time
  double plainPixelSeconds = 0;  // of the view measured last
  double plainPixelCpuSeconds = 0;
};

Measured& Results() {
  static Measured measured;
  return measured;
}

// Runs the plot `state` asks for and returns the wall seconds per run, the
// sum of the counts and the process CPU seconds per run (which a busy
// machine distorts less than the wall time).
double TimePlots(benchmark::State& state, PlotRecord& record, const PlotOptions& options,
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

void BM_FastSeahorse(benchmark::State& state) {
  PlotRecord record;
  record.sizeX = kSize;
  record.sizeY = kSize;
  record.x = -0.743646387037151L;
  record.y = 0.131823404205330L;
  record.height = 5e-6;
  record.limit = 5000;
  record.rows = AllocateCountBuffer(record);
  int64_t counted = 0;
  double cpu = 0;
  const double wall = TimePlots(state, record, PlotOptions{EveryThread()}, &counted, &cpu);
  DiscardCountBuffer(record);
  Results().fastRate = counted / wall * 1e-9;
  Results().fastCpuRate = counted / cpu * 1e-9;
  state.counters["Git/s"] = Results().fastRate;
  state.counters["Git/cpu_s"] = Results().fastCpuRate;
}

void BM_PlainDeep(benchmark::State& state, DeepBenchView view) {
  PlotRecord record = DeepRecord(view, kPlainSize);
  int64_t counted = 0;
  double cpu = 0;
  const double wall = TimePlots(state, record, PlotOptions{1, true}, &counted, &cpu);
  DiscardCountBuffer(record);
  Results().plainPixelSeconds = wall / (kPlainSize * kPlainSize);
  Results().plainPixelCpuSeconds = cpu / (kPlainSize * kPlainSize);
  state.counters["Git/s"] = counted / wall * 1e-9;
  state.counters["pixel_us"] = Results().plainPixelSeconds * 1e6;
}

// The deep plotter's preparation of the record's plot: the choice of the
// reference, its orbits and tables.
double ReferenceSeconds(PlotRecord& record) {
  SilentHost host;
  const unsigned bits = DeepTierAtLeast(DeepBitsNeeded(record));
  const double start = Now();
  std::unique_ptr<DeepPlan> plan;
  PrepareDeepPlan(host, record, bits, EffectiveDeepLimit(record.limit), &plan);
  return Now() - start;
}

void BM_Deep(benchmark::State& state, DeepBenchView view) {
  PlotRecord record = DeepRecord(view, kSize);
  int64_t counted = 0;
  double cpu = 0;
  const int threads = EveryThread();
  const double wall = TimePlots(state, record, PlotOptions{threads}, &counted, &cpu);
  const double reference = ReferenceSeconds(record);
  state.counters["bits"] = record.referenceBits;
  DiscardCountBuffer(record);
  const double pixelSeconds = (wall - reference) * threads / (kSize * kSize);
  state.counters["Git/s"] = counted / wall * 1e-9;
  state.counters["mean_count"] = static_cast<double>(counted) / (kSize * kSize);
  state.counters["reference_ms"] = reference * 1e3;
  state.counters["pixel_us"] = pixelSeconds * 1e6;
  state.counters["Git/cpu_s"] = counted / cpu * 1e-9;
  state.counters["pixel_cpu_us"] = (cpu - reference) / (kSize * kSize) * 1e6;
  if (Results().fastRate > 0) {
    state.counters["vs_fast"] = counted / wall * 1e-9 / Results().fastRate;
    state.counters["vs_fast_cpu"] = counted / cpu * 1e-9 / Results().fastCpuRate;
  }
  if (Results().plainPixelSeconds > 0) {
    state.counters["vs_plain"] = Results().plainPixelSeconds / (wall / (kSize * kSize));
    state.counters["vs_plain_cpu"] = Results().plainPixelCpuSeconds / (cpu / (kSize * kSize));
  }
}

void RegisterDeepPlots() {
  benchmark::RegisterBenchmark("Deep/fast80/seahorse/5e-6", BM_FastSeahorse)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->MinTime(1.0);
  for (const DeepBenchView& view : kDeepViews) {
    const std::string name = view.name;
    benchmark::RegisterBenchmark(("Deep/plain/" + name).c_str(), BM_PlainDeep, view)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    benchmark::RegisterBenchmark(("Deep/deep/" + name).c_str(), BM_Deep, view)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(1.0);
  }
}

const int kRegistered = (RegisterDeepPlots(), 0);

}  // namespace

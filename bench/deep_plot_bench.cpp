// The deep plotter against the plain deep plotter and against the 80-bit
// fast plotter, side by side in one run: 800 x 800 deep views, at limit
// 30000 c = i at heights 1e-30 and 1e-100 and the seahorse point at 1e-25,
// and at limit 1,000,000 a view 1e-50 high beside a small copy of the set;
// each deep view with today's interleaved double steps and with the AVX2 and
// AVX-512 lanes.
//
// Counters: Git/s, the sum of the final counts per wall second, and Git/cpu_s
// per second of process CPU time, which a busy machine distorts less;
// vs_fast and vs_fast_cpu, those rates over the fast plotter's on its
// seahorse view (run first); vs_plain and vs_plain_cpu, the plain plotter's
// time per pixel over the deep plotter's, the plain plotter timed on a
// 40 x 40 view of the same region (run before each deep view); vs_today and
// vs_today_cpu, today's kernel's time on the view over this kernel's;
// skipped, the share of the counted iterations that the skip tables passed
// over (on every 16th pixel each way);
// reference_ms, the preparation's share of a deep plot's wall time; pixel_us,
// a worker's wall time per pixel, and pixel_cpu_us the CPU time.

#include <benchmark/benchmark.h>

#include <string>

#include "deep_bench_support.h"

namespace {

using namespace deep_bench;

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
constexpr int32_t kSkipStride = 16;

struct Measured {
  double fastRate = 0;           // Git/s of the fast plotter
  double fastCpuRate = 0;        // its counted iterations per second of process CPU time
  double plainPixelSeconds = 0;  // of the view measured last
  double plainPixelCpuSeconds = 0;
  double skipped = 0;  // share of skipped iterations on the view measured last
};

Measured& Results() {
  static Measured measured;
  return measured;
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

void BM_Deep(benchmark::State& state, DeepBenchView view, DeepKernelChoice kernel) {
  if (!KernelRuns(state, kernel)) return;
  PlotRecord record = DeepRecord(view, kSize);
  int64_t counted = 0;
  double cpu = 0;
  const int threads = EveryThread();
  PlotOptions options{threads};
  options.simdLimit = kernel.level;
  const double wall = TimePlots(state, record, options, &counted, &cpu);
  double reference = 0;
  const std::unique_ptr<DeepPlan> plan = PreparePlan(record, &reference);
  if (kernel.level == kDeepKernels[0].level && plan != nullptr) {
    Results().skipped = SkippedShare(record, *plan, kSkipStride);
  }
  state.counters["skipped"] = Results().skipped;
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
  CompareWithToday(state, kernel, wall, cpu);
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
    for (const DeepKernelChoice& kernel : kDeepKernels) {
      benchmark::RegisterBenchmark(("Deep/deep-" + std::string(kernel.name) + "/" + name).c_str(),
                                   BM_Deep, view, kernel)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime()
          ->MinTime(1.0);
    }
  }
}

const int kRegistered = (RegisterDeepPlots(), 0);

}  // namespace

// A zoom movie to 1e-100: 800 x 800 keyframes, limit 30000, factor 2, into
// the seahorse point of the deep benchmark (given to 36 digits, so that below
// 1e-36 it lies inside the set and its reference orbit runs the whole limit).
//
// Movie/prepare times, for every keyframe that needs the deep arithmetic,
// its preparation with its own reference (as a single plot prepares it:
// reference pixel, orbit, offsets, tables) against one shared reference
// computed once and each keyframe's own offsets and tables around it:
// own_ms and shared_ms per keyframe, shared_once_ms, saved_s over the movie,
// all in CPU time of the preparing thread.
// Movie/keyframes plots every 16th keyframe both ways on every core: wall_s
// and cpu_s (process CPU time) per keyframe, own_wall_s and own_cpu_s the
// same keyframes with their own references.

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <string>

#include "engine/deep/plan.h"
#include "engine/deep/precision.h"
#include "engine/deep/real.h"
#include "engine/deep/shared_plan.h"
#include "engine/plot_progress.h"
#include "engine/run_plot.h"
#include "movie_plan.h"
#include "silent_host.h"

namespace {

constexpr int32_t kSize = 800;
constexpr size_t kEveryNth = 16;

double Clock(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

// The preparation runs on the calling thread alone: its CPU time, which a
// busy machine distorts less than the wall time.
double ThreadCpu() { return Clock(CLOCK_THREAD_CPUTIME_ID); }
double Now() { return Clock(CLOCK_MONOTONIC); }
double ProcessCpu() { return Clock(CLOCK_PROCESS_CPUTIME_ID); }

MoviePlan SeahorseMovie() {
  PlotRecord target;
  target.sizeX = target.sizeY = kSize;
  target.height = target.shownHeight = 1e-100;
  target.limit = 30000;
  DeepReal re, im;
  ParseDeepReal("-0.743643887037158704752191506114774", &re);
  ParseDeepReal("0.131825904205311970493132056385139", &im);
  SetExactCoordinate(target.x, target.preciseX, re - DeepReal(target.height) / 2);
  SetExactCoordinate(target.y, target.preciseY, im - DeepReal(target.height) / 2);
  MoviePlan plan;
  std::string error;
  PlanMovie(target, MovieSettings{}, &plan, &error);
  return plan;
}

int ComputeShared(const MoviePlan& plan, SharedDeepReference* shared) {
  SilentHost host;
  return shared->Compute(host, KeyframeRecord(plan, plan.heights.size() - 1),
                         MovieReferenceBits(plan), plan.centreRe, plan.centreIm,
                         EffectiveDeepLimit(plan.target.limit));
}

void BM_MoviePrepare(benchmark::State& state) {
  const MoviePlan plan = SeahorseMovie();
  SilentHost host;
  for (auto _ : state) {
    double start = ThreadCpu();
    SharedDeepReference shared;
    if (ComputeShared(plan, &shared) != kPlotComplete) state.SkipWithError("no reference");
    const double once = ThreadCpu() - start;
    double own = 0, around = 0;
    int deep = 0;
    for (size_t k = 0; k < plan.heights.size(); ++k) {
      const PlotRecord record = KeyframeRecord(plan, k);
      if (!KeyframeIsDeep(record)) continue;
      ++deep;
      std::unique_ptr<DeepPlan> mine;
      start = ThreadCpu();
      PrepareDeepPlan(host, record, DeepTierAtLeast(DeepBitsNeeded(record)),
                      EffectiveDeepLimit(record.limit), &mine);
      own += ThreadCpu() - start;
      mine.reset();
      start = ThreadCpu();
      PrepareSharedDeepPlan(record, shared, &mine);
      around += ThreadCpu() - start;
    }
    state.counters["keyframes"] = static_cast<double>(plan.heights.size());
    state.counters["deep_keyframes"] = deep;
    state.counters["own_ms"] = own / deep * 1e3;
    state.counters["shared_ms"] = around / deep * 1e3;
    state.counters["shared_once_ms"] = once * 1e3;
    state.counters["saved_s"] = own - around - once;
  }
}

void BM_MovieKeyframes(benchmark::State& state) {
  const MoviePlan plan = SeahorseMovie();
  SilentHost host;
  for (auto _ : state) {
    SharedDeepReference shared;
    double wall = 0, ownWall = 0, cpu = 0, ownCpu = 0;
    int plotted = 0;
    bool sharedReady = false;
    for (size_t k = 0; k < plan.heights.size(); k += kEveryNth) {
      PlotRecord record = KeyframeRecord(plan, k);
      record.rows = AllocateCountBuffer(record);
      double start = Now();
      double startCpu = ProcessCpu();
      if (KeyframeIsDeep(record) && !sharedReady) {
        sharedReady = ComputeShared(plan, &shared) == kPlotComplete;
      }
      const int result = KeyframeIsDeep(record) ? PlotDeepAround(host, record, shared, 0)
                                                : RunPlot(host, record, PlotOptions{});
      wall += Now() - start;
      cpu += ProcessCpu() - startCpu;
      start = Now();
      startCpu = ProcessCpu();
      const int own = RunPlot(host, record, PlotOptions{});
      ownWall += Now() - start;
      ownCpu += ProcessCpu() - startCpu;
      DiscardCountBuffer(record);
      if (result != kPlotComplete || own != kPlotComplete) state.SkipWithError("plot failed");
      ++plotted;
    }
    state.counters["wall_s"] = wall / plotted;
    state.counters["own_wall_s"] = ownWall / plotted;
    state.counters["cpu_s"] = cpu / plotted;
    state.counters["own_cpu_s"] = ownCpu / plotted;
    state.counters["plotted"] = plotted;
  }
}

BENCHMARK(BM_MoviePrepare)
    ->Name("Movie/prepare/seahorse-1e-100")
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_MovieKeyframes)
    ->Name("Movie/keyframes/seahorse-1e-100")
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

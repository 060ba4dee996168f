// The deep plotter on public deep-zoom benchmark locations, 512 x 512 on
// every core, each with today's interleaved double steps and with the wide
// lanes. The centres, zooms and limits are public benchmark data, from the
// benchmark files a perturbation renderer of this field publishes with its
// timings (a square view of height 4 / zoom around the centre). Their two
// deeper locations (zooms 4e533 and 1e1086) need heights below the range of
// a double and are left out.
//
// These plots take seconds to minutes, so they run only when a filter names
// them: --benchmark_filter=Public/ (or Public/1e50/ and so on).
//
// Counters: Git/s and Git/cpu_s, the sum of the final counts per wall and
// per process CPU second; skipped, the share of those iterations that the
// skip tables passed over (on every 16th pixel each way); reference_ms and
// bits, the preparation's time and the reference's precision; orbit_MB and
// tables_MB, the memory of the Mandelbrot orbit and of its skip tables;
// vs_today and vs_today_cpu, today's kernel's time over this kernel's.

#include <benchmark/benchmark.h>

#include <string>

#include "deep_bench_support.h"

namespace {

using namespace deep_bench;

const DeepBenchView kPublicViews[] = {
    {"1e14", "-1.759817130804847813610825010561798238243999999999999999999800",
     "-0.012593310799749865383746631843264858450340000000000000000000", 4 / 1e14, 4036},
    {"1e50",
     "-0.0494700290631040937516922267273536301187457124882248793181049402326"
     "421947726869034279915499747594190000000000000000000",
     "-0.6747875758446753640113920531305976563347707068224034806979997947909"
     "941983454845111514208499540310299999999999999999880",
     4 / 1e50, 263010},
    {"5e113",
     "-1.4798157761324732607229845259787785469224072577404536968987851013986"
     "4920741002293820250517329282011227363313053159203914640783415609608168"
     "660705123082446357179491909705403381200",
     "-0.0006391119326136172715213963225567157295730391894398473604739493647"
     "1220951961813321928573067036466151147195436388486168819318341208023229"
     "522609015461543581599807510715681229605",
     4 / 5e113, 35494},
    {"5e227",
     "-0.7496244973787616820786262042683613868452952781236402575448157142455"
     "8286479672801698750203976779135608148687747196595174858125388297577788"
     "5730827532104698067397213779012974511726247624509405298147130483778736"
     "1229722031301694703928746999999999999999899999999999999999999994999999"
     "99999999999980",
     "0.03427010874046016945172951545749474868051534672439111853174854738370"
     "5957729359301718429997787132227942154534366289982005919142082076326747"
     "8078097849678484380769051040182930130906954219841357439242588516636723"
     "1192087416338497065495509999999999999999000000000000000000000000000000"
     "0000000000000",
     4 / 5e227, 1200000},
};

constexpr int32_t kSize = 512;
constexpr int32_t kSkipStride = 16;

double& SkippedOnLastView() {
  static double skipped = 0;
  return skipped;
}

void BM_Public(benchmark::State& state, DeepBenchView view, DeepKernelChoice kernel) {
  if (!KernelRuns(state, kernel)) return;
  PlotRecord record = DeepRecord(view, kSize);
  int64_t counted = 0;
  double cpu = 0;
  PlotOptions options{EveryThread()};
  options.simdLimit = kernel.level;
  const double wall = TimePlots(state, record, options, &counted, &cpu);
  double reference = 0;
  const std::unique_ptr<DeepPlan> plan = PreparePlan(record, &reference);
  if (kernel.level == kDeepKernels[0].level && plan != nullptr) {
    SkippedOnLastView() = SkippedShare(record, *plan, kSkipStride);
  }
  if (plan != nullptr) {
    const ReferenceOrbit& orbit = plan->reference.start;
    const size_t orbitBytes =
        (size_t{orbit.Last()} + 1) * (sizeof(DeltaPoint) + sizeof(DoublePoint));
    state.counters["orbit_MB"] = orbitBytes / 1048576.0;
    state.counters["tables_MB"] = plan->startTable.Bytes() / 1048576.0;
  }
  state.counters["bits"] = record.referenceBits;
  state.counters["reference_ms"] = reference * 1e3;
  state.counters["mean_count"] = static_cast<double>(counted) / (kSize * kSize);
  state.counters["Git/s"] = counted / wall * 1e-9;
  state.counters["Git/cpu_s"] = counted / cpu * 1e-9;
  state.counters["skipped"] = SkippedOnLastView();
  DiscardCountBuffer(record);
  CompareWithToday(state, kernel, wall, cpu);
}

void RegisterPublicPlots() {
  for (const DeepBenchView& view : kPublicViews) {
    for (const DeepKernelChoice& kernel : kDeepKernels) {
      benchmark::RegisterBenchmark(("Public/" + std::string(view.name) + "/" + kernel.name).c_str(),
                                   BM_Public, view, kernel)
          ->Unit(benchmark::kSecond)
          ->UseRealTime()
          ->Iterations(1);
    }
  }
}

const int kRegistered = (RegisterPublicPlots(), 0);

}  // namespace

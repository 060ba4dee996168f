// The deep plotter on public deep-zoom benchmark locations, 512 x 512 on
// every core, each with today's interleaved double steps and with the wide
// lanes. The centres, zooms and limits are public benchmark data, from the
// benchmark files a perturbation renderer of this field publishes with its
// timings (a square view of height 4 / zoom around the centre). The two
// deepest (zooms 4e533 and 1e1086) have heights below the range of a double,
// given as text.
//
// These plots take seconds to minutes, so they run only when a filter names
// them: --benchmark_filter=Public/ (or Public/1e50/ and so on).
//
// PublicSample/<name> checks the deep plotter on a sample of a location's
// pixels at 1024 x 1024 (8 x 8 pixels spread evenly, 4 x 4 at limits past
// 200,000) against plain
// high-precision iteration of each pixel at the plot's precision: counter
// equal, the share of equal counts. Minutes for the deepest ones (run them by
// name, --benchmark_filter=PublicSample/1e1086).
//
// Counters: Git/s and Git/cpu_s, the sum of the final counts per wall and
// per process CPU second; skipped, the share of those iterations that the
// skip tables passed over (on every 16th pixel each way); reference_ms and
// bits, the preparation's time and the reference's precision; orbit_MB and
// tables_MB, the memory of the Mandelbrot orbit and of its skip tables;
// vs_today and vs_today_cpu, today's kernel's time over this kernel's.

#include <benchmark/benchmark.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "deep_bench_support.h"
#include "engine/deep/pixel.h"
#include "engine/deep/precise_plotter.h"

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
    {"4e533",
     "-1.769108330407477280892306243557778483560063911862340065077878834041"
     "892971598590808442346019908868202043757985397117440428151862078674609"
     "536134158424327579445927678293493358112333445291014142565932118624495"
     "970123204844421824353001868066369287727901987459220461426842090582178"
     "606291866663503534261191565880688006634728233063960400259650628721114"
     "525674474617782491596124839618269380451206162229194255407244353147355"
     "253412558206636728680544948343043687334876817161811548434128474621486"
     "997968757044320805797353787079320992599433404969124074043899999999999"
     "99999999998",
     "-0.009020688057072617600360935984947620112305584674123866889727919817"
     "129110000273070325734652748577260411641977284267953435586679185748062"
     "521452185618401720512375928279282840017325461435395900347333831678867"
     "372709608373937732035861376732233573306124188011779554347246727032292"
     "516900609906698962747844988602428404977018518490333180457529450252363"
     "392753154488987278181741626980443558895836087364851272299469096298326"
     "327508396224591600469344439018862266215051078424481599350178419410453"
     "543640423233428241935033928198320388056103242790716487136799999999999"
     "99999999998",
     0, 120000, "1e-533"},
    {"1e1086",
     "-1.768610493014677074503175653270226520239677907588665494837677257575"
     "304640978808475274635707362464044253014370289948538552508877464736415"
     "873052958422861932774670165994201643419934807500290056179906392909880"
     "374230601661671965436663874506006355684166693059189687544326482526337"
     "453326360163639772818993753021740632937840115380957766425092940720439"
     "911920812397880443241274616212526380871555846532502156439892026352831"
     "619587768336768186345867565251889103622267866223055366872757385322485"
     "553606302984011695749730200727740242949661790906981449438923948817795"
     "927101980894917081591610562406554244675206099799522186446427884314773"
     "626993347929810277790888202019035845973880637832335294368222957931354"
     "735878969938534303074032237618397187328436715391758039680667871461788"
     "151793412286894565873237610467572174105629653438005433391873958639508"
     "124883860426968801537270756998560434335574379853659221182422319763412"
     "022530545421664765603500398209444536908432136868648907188939238968853"
     "841659746686717617541828417173199448336773447645561102873230388632254"
     "317334566170379314718589610910079079436175134148945650553410999999999"
     "9",
     "0.0012666135038687177020664111922426015761939405604714098171850101717"
     "625247925889036166915013460285024525304175992693841168162370025864602"
     "612724621706153827902621107562153897808596829647792124552952426504887"
     "990247010233539845764348594963453934428675447843495097999669968273745"
     "257295838226275648322078602350004918560392789752032535401191956611825"
     "321064401940503525108252074281976751684794602521542087622040740410305"
     "027127727707724395672490089978861318090823199521122936680963639597003"
     "710355966859054292482211530898432018909856519761519899284969690240278"
     "108745744348572101749142273911252179327251882147964573279817710265446"
     "131940337369605423548619108797044895649999374734561910499379844619715"
     "081322043199615019585839677802823326827056567459328523545919552511963"
     "353743968831932219882018656295495752593950902384635225578336597587391"
     "380436961671122577846496007438079444573885126394754174661131119282740"
     "120560494343493586189533614381277589189995781209530453655963589974800"
     "910725489294269510831795997221321792811257080397052668793593033201655"
     "154583473430556712206730278176112208922135703740412256323459999999999"
     "99",
     0, 600100, "4e-1086"},
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

constexpr int32_t kSampleSize = 1024;
// Fewer where each plain pixel takes up to a minute.
int32_t SamplesEachWay(const DeepBenchView& view) { return view.limit > 200000 ? 4 : 8; }

// The plain deep plotter's count of one pixel: a view of one pixel whose
// corner is the pixel, at `bits`.
uint32_t PlainCount(const PlotRecord& view, int32_t column, int32_t line, unsigned bits) {
  PlotRecord pixel;
  pixel.sizeX = pixel.sizeY = 1;
  pixel.limit = view.limit;
  pixel.flags = kFlagDeep;
  const DeepReal step = ExactHeight(view.height, view.preciseHeight) / view.sizeY;
  SetExactHeight(pixel.height, pixel.preciseHeight, step);
  SetExactCoordinate(pixel.x, pixel.preciseX,
                     ExactCoordinate(view.x, view.preciseX) + step * column);
  SetExactCoordinate(pixel.y, pixel.preciseY,
                     ExactCoordinate(view.y, view.preciseY) + step * (view.sizeY - 1 - line));
  pixel.rows = AllocateCountBuffer(pixel);
  SilentHost host;
  const int result = PlotPrecise(host, pixel, bits);
  const uint32_t count = result == kPlotComplete ? static_cast<uint32_t>(CountAt(pixel, 0, 0)) : 0;
  DiscardCountBuffer(pixel);
  return count;
}

void BM_PublicSample(benchmark::State& state, DeepBenchView view) {
  PlotRecord record = DeepRecord(view, kSampleSize);
  const int32_t each = SamplesEachWay(view);
  for (auto _ : state) {
    double reference = 0;
    const std::unique_ptr<DeepPlan> plan = PreparePlan(record, &reference);
    if (plan == nullptr) {
      state.SkipWithError("no plan");
      break;
    }
    std::atomic<int32_t> next{0}, equal{0};
    auto work = [&] {
      ExtendedPrecisionScope precision;
      for (int32_t k; (k = next.fetch_add(1)) < each * each;) {
        const int32_t column = (2 * (k % each) + 1) * kSampleSize / (2 * each);
        const int32_t line = (2 * (k / each) + 1) * kSampleSize / (2 * each);
        const uint32_t deep = DeepPixelCount(
            plan->setup.pixel, {plan->setup.columnOffsets[column], plan->setup.lineOffsets[line]});
        if (deep == PlainCount(record, column, line, plan->bits)) ++equal;
      }
    };
    std::vector<std::thread> threads;
    for (int t = 1; t < EveryThread(); ++t) threads.emplace_back(work);
    work();
    for (std::thread& thread : threads) thread.join();
    state.counters["equal"] = static_cast<double>(equal) / (each * each);
    state.counters["bits"] = plan->bits;
    state.counters["reference_ms"] = reference * 1e3;
  }
  DiscardCountBuffer(record);
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
    benchmark::RegisterBenchmark(("PublicSample/" + std::string(view.name)).c_str(),
                                 BM_PublicSample, view)
        ->Unit(benchmark::kSecond)
        ->UseRealTime()
        ->Iterations(1);
  }
}

const int kRegistered = (RegisterPublicPlots(), 0);

}  // namespace

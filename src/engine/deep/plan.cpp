#include "engine/deep/plan.h"

#include <cmath>
#include <memory>
#include <new>

#include "engine/deep/precision.h"
#include "engine/deep/reference_check.h"
#include "engine/fpu_precision.h"

namespace {

// Memory for the orbits and their skip tables, about 110 bytes a point with
// 16-byte long doubles: a Mandelbrot orbit of about 5 million points (2.7
// million in a 32-bit build), half that for each of a Julia set's two.
constexpr size_t kOrbitMemory = sizeof(void*) >= 8 ? size_t{512} << 20 : size_t{256} << 20;

// Returns 0, a stop code, or kReferenceNoMemory.
int Prepare(UiHost& host, const PlotRecord& record, unsigned bits, ReferencePixel pixel,
            uint32_t limit, uint32_t mostPoints, DeepPlan* plan) {
  DeepReference& reference = plan->reference;
  // The pixel step decides the bits a view needs, but an orbit that passes
  // near a small copy of the set may need more: one whose end (escape or
  // cycle) changes at the next tier is computed again there.
  // A Mandelbrot reference is checked on a second thread while it is computed.
  // A Julia set's orbit of 0 moves the plot up one tier at most: near a
  // constant whose critical orbit lands on a repelling cycle (a Misiurewicz
  // point) that orbit leaves the cycle after a number of steps that grows
  // with the precision, so that its end differs at every tier, and the check
  // would climb to the widest at minutes a tier. The pixels that follow it
  // round each step at the plot's precision as the plain plotter does.
  const unsigned first = DeepTierAtLeast(bits);
  unsigned tier = first;
  for (;;) {
    const unsigned higher = NextDeepTier(tier);
    ConcurrentReferenceCheck concurrent;
    const bool overlapped = higher != tier && (record.flags & kFlagJulia) == 0 &&
                            concurrent.Start(record, higher, pixel, limit);
    const int computed =
        ComputeDeepReference(host, record, tier, pixel, limit, mostPoints, &reference);
    if (computed != kPlotComplete) return computed;
    if (higher == tier) break;
    bool holds = false;
    const int checked = overlapped ? concurrent.Finish(host, reference, limit, &holds)
                                   : CheckDeepReference(host, record, higher, pixel, limit,
                                                        reference, tier == first, &holds);
    if (checked != kPlotComplete) return checked;
    if (holds) break;
    tier = higher;
  }
  plan->bits = tier;
  SetUpDeepPlan(record, reference, limit, plan);
  return kPlotComplete;
}

// A grid of this many pixels each way is counted to find a better reference.
constexpr int32_t kProbesEachWay = 16;
constexpr int32_t kProbesPerMessageStep = 16;

// Takes a message before each group of probes and every 16 stop checks (a
// fraction of a millisecond) of a long probe.
class PumpingStop : public StopSignal {
 public:
  explicit PumpingStop(UiHost& host) : host_(host) {}
  bool Stopping() override {
    if (++checks_ % 16 == 0) Pump();
    return stopCode_ != kPlotComplete;
  }
  bool Pump() {
    if (stopCode_ == kPlotComplete && host_.PumpOneMessage(&stopCode_) == 0) {
      stopCode_ = kPlotComplete;
    }
    return stopCode_ != kPlotComplete;
  }
  int StopCode() const { return stopCode_; }

 private:
  UiHost& host_;
  int stopCode_ = kPlotComplete;
  uint32_t checks_ = 0;
};

// Counts the probe grid; *best receives the pixel with the highest count,
// nearest the centre among equals, *count its count. Returns 0 or a stop code.
int ProbeLongestLived(UiHost& host, const PlotRecord& record, const DeepPlan& plan,
                      ReferencePixel* best, uint32_t* count) {
  ExtendedPrecisionScope precision;
  PumpingStop stop(host);
  *count = 0;
  int64_t bestDistance = 0;
  for (int32_t k = 0; k < kProbesEachWay * kProbesEachWay; ++k) {
    if (k % kProbesPerMessageStep == 0 && stop.Pump()) return stop.StopCode();
    const ReferencePixel pixel{static_cast<int32_t>((2 * (k % kProbesEachWay) + 1) *
                                                    int64_t{record.sizeX} / (2 * kProbesEachWay)),
                               static_cast<int32_t>((2 * (k / kProbesEachWay) + 1) *
                                                    int64_t{record.sizeY} / (2 * kProbesEachWay))};
    bool stopped = false;
    const uint32_t probed =
        DeepPixelCount(plan.setup.pixel,
                       {plan.setup.columnOffsets[pixel.column], plan.setup.lineOffsets[pixel.line]},
                       &stop, &stopped);
    if (stopped) return stop.StopCode();
    const int64_t dx = pixel.column - record.sizeX / 2, dy = pixel.line - record.sizeY / 2;
    const int64_t distance = dx * dx + dy * dy;
    if (probed > *count || (probed == *count && distance < bestDistance)) {
      *best = pixel;
      *count = probed;
      bestDistance = distance;
    }
  }
  return kPlotComplete;
}

// A table that memory could not hold is none: the pixels then take every step.
DeepOrbitPath PathOf(const ReferenceOrbit& orbit, const BlaTable& table, bool tabled) {
  return {orbit.Points(),       orbit.Doubles(), orbit.Last(), tabled ? &table : nullptr,
          orbit.Continuation(), orbit.Wrap(),    orbit.Tiny()};
}

}  // namespace

void SetUpDeepPlan(const PlotRecord& record, const DeepReference& orbits, uint32_t limit,
                   DeepPlan* plan) {
  const DeepReference& offsets = plan->reference;
  const bool julia = (record.flags & kFlagJulia) != 0;
  // A scaled offset's own size is below the 80-bit range: there dc counts as 0.
  const long double largestDc = std::ldexp(offsets.largestOffset, -offsets.offsetScale);
  const bool startTabled =
      plan->startTable.Build(orbits.start, julia ? 0 : 1, julia ? 0 : largestDc);
  const bool criticalTabled = julia && plan->criticalTable.Build(orbits.critical, 1, 0);
  const DeepOrbitPath start = PathOf(orbits.start, plan->startTable, startTabled);
  plan->setup = {{start, julia ? 0u : 1u,
                  julia ? PathOf(orbits.critical, plan->criticalTable, criticalTabled) : start,
                  julia, limit, offsets.offsetScale},
                 offsets.columnOffsets.get(),
                 offsets.lineOffsets.get(),
                 {}};
}

uint32_t MostOrbitPoints(const PlotRecord& record) {
  const size_t perPoint = sizeof(DeltaPoint) + sizeof(DoublePoint) + BlaTable::kBytesPerPoint;
  const size_t orbits = (record.flags & kFlagJulia) != 0 ? 2 : 1;
  return static_cast<uint32_t>(kOrbitMemory / perPoint / orbits);
}

int PrepareDeepPlan(UiHost& host, const PlotRecord& record, unsigned bits, uint32_t limit,
                    std::unique_ptr<DeepPlan>* plan, uint32_t mostOrbitPoints) {
  const uint32_t mostPoints = mostOrbitPoints != 0 ? mostOrbitPoints : MostOrbitPoints(record);
  // The centre pixel first. When its orbit escapes, pixels that live longer
  // must rebase at its end and follow it again from its start; a pixel that
  // lives longer serves them better as the reference.
  plan->reset(new (std::nothrow) DeepPlan);
  if (*plan == nullptr) return kReferenceNoMemory;
  int result = Prepare(host, record, bits, {record.sizeX / 2, record.sizeY / 2}, limit, mostPoints,
                       plan->get());
  if (result != kPlotComplete || (record.flags & kFlagJulia) != 0 ||
      !(*plan)->reference.start.Escaped()) {
    return result;
  }
  ReferencePixel best{};
  uint32_t count = 0;
  result = ProbeLongestLived(host, record, **plan, &best, &count);
  if (result != kPlotComplete || count <= (*plan)->reference.start.Last()) return result;
  const unsigned centreBits = (*plan)->bits;
  plan->reset(new (std::nothrow) DeepPlan);
  if (*plan == nullptr) return kReferenceNoMemory;
  return Prepare(host, record, centreBits, best, limit, mostPoints, plan->get());
}

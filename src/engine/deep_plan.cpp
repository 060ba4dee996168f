#include "engine/deep_plan.h"

#include <memory>
#include <new>

#include "engine/fpu_precision.h"

namespace {

DeepOrbitPath PathOf(const ReferenceOrbit& orbit, const BlaTable& table) {
  return {orbit.Points(), orbit.Doubles(), orbit.Last(), &table};
}

// Returns 0, a stop code, or kReferenceNoMemory.
int Prepare(UiHost& host, const PlotRecord& record, unsigned bits, ReferencePixel pixel,
            uint32_t limit, DeepPlan* plan) {
  DeepReference& reference = plan->reference;
  const int computed = ComputeDeepReference(host, record, bits, pixel, limit, &reference);
  if (computed != kPlotComplete) return computed;
  const bool julia = (record.flags & kFlagJulia) != 0;
  if (!plan->startTable.Build(reference.start, julia ? 0 : 1,
                              julia ? 0 : reference.largestOffset)) {
    return kReferenceNoMemory;
  }
  if (julia && !plan->criticalTable.Build(reference.critical, 1, 0)) return kReferenceNoMemory;
  const DeepOrbitPath start = PathOf(reference.start, plan->startTable);
  plan->setup = {{start, julia ? 0u : 1u,
                  julia ? PathOf(reference.critical, plan->criticalTable) : start, julia, limit},
                 reference.columnOffsets.get(),
                 reference.lineOffsets.get(),
                 {}};
  return kPlotComplete;
}

// A grid of this many pixels each way is counted to find a better reference.
constexpr int32_t kProbesEachWay = 16;
constexpr int32_t kProbesPerMessageStep = 16;

// Counts the probe grid; *best receives the pixel with the highest count,
// nearest the centre among equals, *count its count. Returns 0 or a stop code.
int ProbeLongestLived(UiHost& host, const PlotRecord& record, const DeepPlan& plan,
                      ReferencePixel* best, uint32_t* count) {
  ExtendedPrecisionScope precision;
  *count = 0;
  int64_t bestDistance = 0;
  for (int32_t k = 0; k < kProbesEachWay * kProbesEachWay; ++k) {
    if (k % kProbesPerMessageStep == 0) {
      int stopCode = kPlotExit;
      if (host.PumpOneMessage(&stopCode) != 0) return stopCode;
    }
    const ReferencePixel pixel{static_cast<int32_t>((2 * (k % kProbesEachWay) + 1) *
                                                    int64_t{record.sizeX} / (2 * kProbesEachWay)),
                               static_cast<int32_t>((2 * (k / kProbesEachWay) + 1) *
                                                    int64_t{record.sizeY} / (2 * kProbesEachWay))};
    const uint32_t probed = DeepPixelCount(
        plan.setup.pixel,
        {plan.setup.columnOffsets[pixel.column], plan.setup.lineOffsets[pixel.line]});
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

}  // namespace

int PrepareDeepPlan(UiHost& host, const PlotRecord& record, unsigned bits, uint32_t limit,
                    std::unique_ptr<DeepPlan>* plan) {
  // The centre pixel first. When its orbit escapes, pixels that live longer
  // must rebase at its end and follow it again from its start; a pixel that
  // lives longer serves them better as the reference.
  plan->reset(new (std::nothrow) DeepPlan);
  if (*plan == nullptr) return kReferenceNoMemory;
  int result =
      Prepare(host, record, bits, {record.sizeX / 2, record.sizeY / 2}, limit, plan->get());
  if (result != kPlotComplete || (record.flags & kFlagJulia) != 0 ||
      !(*plan)->reference.start.Escaped()) {
    return result;
  }
  ReferencePixel best{};
  uint32_t count = 0;
  result = ProbeLongestLived(host, record, **plan, &best, &count);
  if (result != kPlotComplete || count <= (*plan)->reference.start.Last()) return result;
  plan->reset(new (std::nothrow) DeepPlan);
  if (*plan == nullptr) return kReferenceNoMemory;
  return Prepare(host, record, bits, best, limit, plan->get());
}

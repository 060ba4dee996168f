#include "engine/deep/shared_plan.h"

#include <cmath>
#include <memory>
#include <new>

#include "engine/deep/plan.h"
#include "engine/deep/plotter.h"
#include "engine/fast/plot_driver.h"
#include "engine/fpu_precision.h"
#include "engine/plot_start.h"

namespace {

// The shared orbits serve every plot as they are: the plan adds the pixels'
// offsets and the skip tables, which depend on the view.
bool Prepare(const PlotRecord& record, const SharedDeepReference& shared, uint32_t limit,
             DeepPlan* plan) {
  DeepReference& reference = plan->reference;
  if (!ComputeDeepOffsets(record, shared.Bits(), shared.Re(), shared.Im(), &reference)) {
    return false;
  }
  SetUpDeepPlan(record, shared.Orbits(), limit, plan);
  plan->bits = shared.Bits();
  return true;
}

// A grid of this many pixels each way is counted to find a better reference.
constexpr int32_t kProbesEachWay = 16;

// The grid pixel of the record's view with the highest count around the
// shared reference, nearest the centre among equals; false when memory is
// short.
bool ProbeLongestLived(const PlotRecord& record, const SharedDeepReference& shared, uint32_t limit,
                       int32_t* column, int32_t* line, uint32_t* count) {
  std::unique_ptr<DeepPlan> plan(new (std::nothrow) DeepPlan);
  if (plan == nullptr || !Prepare(record, shared, limit, plan.get())) return false;
  ExtendedPrecisionScope precision;
  *count = 0;
  int64_t bestDistance = 0;
  for (int32_t k = 0; k < kProbesEachWay * kProbesEachWay; ++k) {
    const int32_t x = static_cast<int32_t>((2 * (k % kProbesEachWay) + 1) * int64_t{record.sizeX} /
                                           (2 * kProbesEachWay));
    const int32_t y = static_cast<int32_t>((2 * (k / kProbesEachWay) + 1) * int64_t{record.sizeY} /
                                           (2 * kProbesEachWay));
    const uint32_t probed = DeepPixelCount(
        plan->setup.pixel, {plan->setup.columnOffsets[x], plan->setup.lineOffsets[y]});
    const int64_t dx = x - record.sizeX / 2, dy = y - record.sizeY / 2;
    const int64_t distance = dx * dx + dy * dy;
    if (probed > *count || (probed == *count && distance < bestDistance)) {
      *column = x;
      *line = y;
      *count = probed;
      bestDistance = distance;
    }
  }
  return true;
}

}  // namespace

int SharedDeepReference::Compute(UiHost& host, const PlotRecord& record, unsigned bits,
                                 const PreciseCoordinate& re, const PreciseCoordinate& im,
                                 uint32_t limit) {
  re_ = re;
  im_ = im;
  bits_ = bits;
  limit_ = limit;
  const uint32_t mostPoints = MostOrbitPoints(record);
  const int result = ComputeDeepOrbitsAt(host, record, bits, re, im, limit, mostPoints, &orbits_);
  if (result != kPlotComplete || (record.flags & kFlagJulia) != 0 || !orbits_.start.Escaped()) {
    return result;
  }
  // Pixels that outlive the reference rebase at its end and follow it again
  // from its start; one that lives longer serves them better.
  int32_t column = 0, line = 0;
  uint32_t count = 0;
  if (!ProbeLongestLived(record, *this, limit, &column, &line, &count)) return kReferenceNoMemory;
  if (count <= orbits_.start.Last()) return kPlotComplete;
  DeepPixelPoint(record, bits, {column, line}, &re_, &im_);
  return ComputeDeepOrbitsAt(host, record, bits, re_, im_, limit, mostPoints, &orbits_);
}

int PrepareSharedDeepPlan(const PlotRecord& record, const SharedDeepReference& shared,
                          std::unique_ptr<DeepPlan>* plan) {
  plan->reset(new (std::nothrow) DeepPlan);
  if (*plan == nullptr || !Prepare(record, shared, shared.Limit(), plan->get())) {
    return kReferenceNoMemory;
  }
  return kPlotComplete;
}

int PlotDeepAround(UiHost& host, PlotRecord& record, const SharedDeepReference& shared,
                   int threads) {
  if (!CountBufferFits(record) || EffectiveDeepLimit(record.limit) != shared.Limit()) {
    return kPlotRefused;
  }
  record.plottedArithmetic = kPlottedDeep;
  record.referenceBits = static_cast<int32_t>(shared.Bits());
  const uint32_t limit = BeginDeepPlot(record);
  PlotProgress& progress = g_engine.progress;
  progress.rowsTotal.store(record.sizeY, std::memory_order_relaxed);
  progress.rowsDone.store(0, std::memory_order_relaxed);
  std::unique_ptr<DeepPlan> plan;
  if (PrepareSharedDeepPlan(record, shared, &plan) != kPlotComplete) return kLinesNotStarted;
  return RunDeepPlan(host, record, *plan, limit, threads);
}

#include "engine/deep_shared_plan.h"

#include <cmath>
#include <memory>
#include <new>

#include "engine/deep_geometry.h"
#include "engine/deep_plan.h"
#include "engine/fast_plot_driver.h"
#include "engine/fpu_precision.h"
#include "engine/plot_start.h"

namespace {

class DeepLineWorker : public LineWorker {
 public:
  explicit DeepLineWorker(const DeepRowsSetup& setup) : setup_(setup) {}
  void Run(RowQueue& queue) const override { ComputeDeepLines(setup_, queue); }

 private:
  const DeepRowsSetup& setup_;
};

// Each plot gets its own copy: a plan owns its orbits, and the copy costs a
// small part of computing them.
bool CopyOrbit(const ReferenceOrbit& from, ReferenceOrbit* to) {
  if (from.Empty()) return true;
  if (!to->Reserve(from.Last())) return false;
  for (uint32_t n = 0; n <= from.Last(); ++n) to->Store(n, from.Points()[n]);
  if (from.Escaped()) to->MarkEscaped();
  return true;
}

// The pixels' offsets from the shared point, exact differences rounded once
// to 80 bits.
bool ComputeOffsets(const PlotRecord& record, const SharedDeepReference& shared,
                    DeepReference* reference) {
  ExtendedPrecisionScope precision;
  const DeepPixelGrid<DeepReal> grid(record);
  const DeepReal pointRe = ToDeepReal(shared.Re());
  const DeepReal pointIm = ToDeepReal(shared.Im());
  reference->columnOffsets.reset(new (std::nothrow) long double[static_cast<size_t>(record.sizeX)]);
  reference->lineOffsets.reset(new (std::nothrow) long double[static_cast<size_t>(record.sizeY)]);
  if (reference->columnOffsets == nullptr || reference->lineOffsets == nullptr) return false;
  long double widest = 0, highest = 0;
  for (int32_t column = 0; column < record.sizeX; ++column) {
    const long double offset = DeepReal(grid.Column(column) - pointRe).convert_to<long double>();
    reference->columnOffsets[column] = offset;
    widest = std::fmax(widest, std::fabs(offset));
  }
  for (int32_t line = 0; line < record.sizeY; ++line) {
    const long double offset = DeepReal(grid.Line(line) - pointIm).convert_to<long double>();
    reference->lineOffsets[line] = offset;
    highest = std::fmax(highest, std::fabs(offset));
  }
  reference->largestOffset = std::hypot(widest, highest);
  return true;
}

bool Prepare(const PlotRecord& record, const SharedDeepReference& shared, uint32_t limit,
             DeepPlan* plan) {
  DeepReference& reference = plan->reference;
  if (!CopyOrbit(shared.Orbits().start, &reference.start) ||
      !CopyOrbit(shared.Orbits().critical, &reference.critical) ||
      !ComputeOffsets(record, shared, &reference)) {
    return false;
  }
  const bool julia = (record.flags & kFlagJulia) != 0;
  if (!plan->startTable.Build(reference.start, julia ? 0 : 1,
                              julia ? 0 : reference.largestOffset)) {
    return false;
  }
  if (julia && !plan->criticalTable.Build(reference.critical, 1, 0)) return false;
  const auto path = [](const ReferenceOrbit& orbit, const BlaTable& table) {
    return DeepOrbitPath{orbit.Points(), orbit.Doubles(), orbit.Last(), &table};
  };
  const DeepOrbitPath start = path(reference.start, plan->startTable);
  plan->setup = {{start, julia ? 0u : 1u,
                  julia ? path(reference.critical, plan->criticalTable) : start, julia, limit},
                 reference.columnOffsets.get(),
                 reference.lineOffsets.get()};
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
  return ComputeDeepOrbitsAt(host, record, bits, re, im, limit, &orbits_);
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
  std::unique_ptr<DeepPlan> plan(new (std::nothrow) DeepPlan);
  if (plan == nullptr || !Prepare(record, shared, limit, plan.get())) return kLinesNotStarted;
  return RunLinesInParallel(host, record, limit, threads, DeepLineWorker(plan->setup));
}

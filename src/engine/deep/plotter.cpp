#include "engine/deep/plotter.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "engine/deep/plan.h"
#include "engine/fast/plot_driver.h"
#include "engine/plot_start.h"

namespace {

class DeepLineWorker : public LineWorker {
 public:
  explicit DeepLineWorker(const DeepRowsSetup& setup) : setup_(setup) {}
  void Run(RowQueue& queue) const override { ComputeDeepLines(setup_, queue); }

 private:
  const DeepRowsSetup& setup_;
};

void ClearLines(PlotRecord& record) {
  for (int32_t line = 0; line < record.sizeY; ++line) {
    std::memset(record.rows->rows[line], 0, sizeof(Count) * record.sizeX);
  }
}

}  // namespace

int PlotDeep(UiHost& host, PlotRecord& record, unsigned bits, int threads, ThreadStarter starter,
             SimdLevel level, uint32_t mostOrbitPoints) {
  if (!CountBufferFits(record)) return kPlotRefused;
  const uint32_t limit = BeginDeepPlot(record);
  PlotProgress& progress = g_engine.progress;
  progress.rowsTotal.store(record.sizeY, std::memory_order_relaxed);
  progress.rowsDone.store(0, std::memory_order_relaxed);

  std::unique_ptr<DeepPlan> plan;
  const int result = PrepareDeepPlan(host, record, bits, limit, &plan, mostOrbitPoints);
  if (result == kReferenceNoMemory) return kLinesNotStarted;
  if (result != kPlotComplete) {
    ClearLines(record);
    return result;
  }
  record.referenceBits = static_cast<int32_t>(plan->bits);
  return RunDeepPlan(host, record, *plan, limit, threads, starter, level);
}

int RunDeepPlan(UiHost& host, PlotRecord& record, DeepPlan& plan, uint32_t limit, int threads,
                ThreadStarter starter, SimdLevel level) {
  plan.setup.lanes = DeepLaneKernelFor(std::min(level, DetectSimdLevel()));
  return RunLinesInParallel(host, record, limit, threads, DeepLineWorker(plan.setup), starter);
}

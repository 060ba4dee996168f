#include "engine/deep_plotter.h"

#include <cstring>

#include "engine/deep_bla.h"
#include "engine/deep_reference.h"
#include "engine/deep_rows.h"
#include "engine/fast_plot_driver.h"
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

DeepOrbitPath PathOf(const ReferenceOrbit& orbit, const BlaTable& table) {
  return {orbit.Points(), orbit.Last(), &table};
}

}  // namespace

int PlotDeep(UiHost& host, PlotRecord& record, unsigned bits, int threads, ThreadStarter starter) {
  if (!CountBufferFits(record)) return kPlotRefused;
  const uint32_t limit = BeginPlot(record);
  PlotProgress& progress = g_engine.progress;
  progress.rowsTotal.store(record.sizeY, std::memory_order_relaxed);
  progress.rowsDone.store(0, std::memory_order_relaxed);

  DeepReference reference;
  const int computed = ComputeDeepReference(host, record, bits, limit, &reference);
  if (computed == kReferenceNoMemory) return kLinesNotStarted;
  if (computed != kPlotComplete) {
    ClearLines(record);
    return computed;
  }
  const bool julia = (record.flags & kFlagJulia) != 0;
  BlaTable startTable, criticalTable;
  if (!startTable.Build(reference.start, julia ? 0 : 1, julia ? 0 : reference.largestOffset)) {
    return kLinesNotStarted;
  }
  if (julia && !criticalTable.Build(reference.critical, 1, 0)) return kLinesNotStarted;

  const DeepOrbitPath start = PathOf(reference.start, startTable);
  const DeepRowsSetup setup{
      {start, julia ? 0u : 1u, julia ? PathOf(reference.critical, criticalTable) : start, julia,
       limit},
      reference.columnOffsets.get(),
      reference.lineOffsets.get()};
  return RunLinesInParallel(host, record, limit, threads, DeepLineWorker(setup), starter);
}

#pragma once
// How every plot begins, shared by the reference and the fast plotters so
// that both always compute the same region with the same limit. Call after
// the count-buffer check, under 64-bit x87 precision (ExtendedPrecisionScope).

#include <atomic>
#include <cstdint>

#include "engine/engine_state.h"
#include "engine/plot_record.h"

// The shown height becomes the height; the effective limit, which is
// returned, goes to the progress state. The 80-bit and integer plotters count
// to at most 30000 (EffectiveLimit), the deep plotters further
// (EffectiveDeepLimit).
inline uint32_t BeginPlotWithLimit(PlotRecord& record, uint32_t limit) {
  record.shownHeight = record.height;
  record.preciseShownHeight = record.preciseHeight;
  g_engine.progress.effectiveLimit.store(limit, std::memory_order_relaxed);
  return limit;
}
inline uint32_t BeginPlot(PlotRecord& record) {
  return BeginPlotWithLimit(record, EffectiveLimit(record.limit));
}
inline uint32_t BeginDeepPlot(PlotRecord& record) {
  return BeginPlotWithLimit(record, EffectiveDeepLimit(record.limit));
}

// The distance between neighbouring pixels in 80-bit arithmetic.
inline long double RealStep(const PlotRecord& record) {
  return static_cast<long double>(record.shownHeight) / record.sizeY;
}

#pragma once
// The deep plotter: perturbation around one reference orbit per plot with
// rebasing and bilinear approximation (reference.h, bla.h,
// pixel.h), its lines on worker threads through RunLinesInParallel.
// It gives the counts of the plain deep plotter (precise_plotter.h) on all
// but rare pixels that lie within rounding of a count boundary.

#include <cstdint>

#include "engine/fast/plotters.h"
#include "engine/plot_record.h"
#include "engine/ui_host.h"
#include "engine/worker_threads.h"

// Plots the record at the deep tier of at least `bits`, or higher when the
// reference orbit needs it (PrepareDeepPlan), recorded in the record's
// referenceBits. The reference orbits
// are computed first on the calling thread, which takes messages meanwhile.
// Returns 0, a stop code (105, 121; lines not finished are then 0), 1 for a
// record without its own count buffer, or kLinesNotStarted when memory or
// threads are short, with nothing computed. The double steps use SIMD lanes
// of at most `level`, lowered to what the processor supports;
// mostOrbitPoints: see PrepareDeepPlan.
int PlotDeep(UiHost& host, PlotRecord& record, unsigned bits, int threads,
             ThreadStarter starter = nullptr, SimdLevel level = SimdLevel::kAvx512,
             uint32_t mostOrbitPoints = 0);

struct DeepPlan;
// Counts the record's lines with the prepared plan on worker threads; the
// last steps of PlotDeep, for plots whose plan comes from elsewhere.
int RunDeepPlan(UiHost& host, PlotRecord& record, DeepPlan& plan, uint32_t limit, int threads,
                ThreadStarter starter = nullptr, SimdLevel level = SimdLevel::kAvx512);

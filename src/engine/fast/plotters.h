#pragma once
// The fast plotters: the counts of the reference plotters (plain/real_plotters.h,
// plain/integer_plotters.h) computed on several threads, the integer ones in SIMD
// lanes. RunPlot (run_plot.h) chooses them.

#include <cstdint>

#include "engine/plot_record.h"
#include "engine/ui_host.h"
#include "engine/worker_threads.h"

// Instruction sets the integer plotter can use, weakest first.
enum class SimdLevel : int {
  kScalar = 0,
  kSse2 = 1,
  kSse41 = 2,
  kAvx2 = 3,
  kAvx512 = 4,
};

// The strongest level this processor (and its operating system) supports.
SimdLevel DetectSimdLevel();
const char* SimdLevelName(SimdLevel level);

// Each returns a result code of the reference plotter, or kLinesNotStarted,
// with nothing computed, when its tables or threads cannot be had.
int FastPlotReal(UiHost& host, PlotRecord& record, int threads, ThreadStarter startThread);
// The integer lanes use at most `level`.
int FastPlotInteger(UiHost& host, PlotRecord& record, int threads, ThreadStarter startThread,
                    SimdLevel level);

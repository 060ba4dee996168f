#pragma once
// The one entry for running a plot: the fast plotters, which give exactly the
// counts of the reference plotters (plain/real_plotters.h, plain/integer_plotters.h) on several
// threads, or the reference plotters themselves.
//
// Contract for the caller (the window, zirn-render): call RunPlot on the
// user-interface thread, exactly where a reference plotter would be called.
// While worker threads compute, the calling thread keeps calling
// UiHost::PumpOneMessage (a few times every few milliseconds, and once after
// each line it draws), draws finished lines through UiHost::DrawPixel when the
// record asks for live drawing (flag 0x020), and returns only after every
// worker has been joined. A stop code from the message step (105, 121) ends
// the plot within a few milliseconds. UiHost is only ever called from the
// calling thread. The progress counters of the shared state are atomic and
// count finished lines; the effective limit is stored before the work starts.
//
// Result codes are those of the reference: 0 complete, 1 refused (integer
// arithmetic cannot hold the region, decided before anything is computed, or
// a record without its own count buffer), 105 exit, 121 stop; and 2 when the
// record's height is not a finite positive number (HeightRefused), decided
// before anything is touched. After 105 or
// 121 every finished line holds its final counts and every other line holds
// 0 (the reference leaves a partly written line instead; callers discard the
// buffer either way).

#include <cstdint>

#include "engine/fast/plotters.h"
#include "engine/plot_record.h"
#include "engine/ui_host.h"
#include "engine/worker_threads.h"

struct PlotOptions {
  int threads = 0;            // worker threads; 0 or less: one per hardware thread
  bool useReference = false;  // run the reference plotter on the calling thread
  // The strongest level the integer plotter may use; lowered to what the
  // processor supports.
  SimdLevel simdLimit = SimdLevel::kAvx512;
  // Starts the worker threads; null is pthread_create. When not one thread
  // starts (or memory for the fast plotter's tables is short), the reference
  // plotter runs on the calling thread.
  ThreadStarter startThread = nullptr;
  // The 80-bit plotters even for a view that needs the deep arithmetic; for
  // measuring where they stop resolving views.
  bool extendedOnly = false;
  // The longest reference orbit of a deep plot; 0: as long as the memory set
  // aside for it allows. Tests cut it short to follow pixels past its end.
  uint32_t deepOrbitPoints = 0;
};

// Chooses the arithmetic by ChoosePlotArithmetic (plot_arithmetic.h) and the
// plotter by the record's flags (0x002 Julia), and records the arithmetic in
// the record's plottedArithmetic and referenceBits. The deep arithmetic runs
// the deep plotter (deep/plotter.h), or the plain deep plotter
// (deep/precise_plotter.h) as its reference and fallback.
int RunPlot(UiHost& host, PlotRecord& record, const PlotOptions& options);

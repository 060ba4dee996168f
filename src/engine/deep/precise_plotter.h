#pragma once
// The plain deep plotter: every pixel iterated on its own in the deep
// arithmetic, with the count convention of the 80-bit reference plotters
// (plain/real_plotters.h). It defines the counts of deep views, as those plotters define
// the counts of the fast ones, and runs on the calling thread through the
// same message step, progress counters and stop codes.

#include <cstdint>

#include "engine/plot_record.h"
#include "engine/ui_host.h"

// Plots the record's Mandelbrot or Julia set (flag 0x002) at the narrowest
// deep tier of at least `bits` (precision.h). Returns 0, the stop code of
// the message step (105, 121), or 1 with nothing computed for a record
// without its own count buffer.
int PlotPrecise(UiHost& host, PlotRecord& record, unsigned bits);

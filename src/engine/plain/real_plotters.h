#pragma once
// The plotters in 80-bit extended real arithmetic, and their count functions.

#include <cstdint>

#include "engine/plot_record.h"
#include "engine/ui_host.h"

// Iterations of z <- z^2 + c from z = c until |z|^2 > 4, at most limit.
int32_t MandelbrotCount(long double cx, long double cy, uint32_t limit);
// Iterations of z <- z^2 + c from z = (zx, zy), testing the start first.
int32_t JuliaCount(long double zx, long double zy, long double cr, long double ci,
                   uint32_t limit);

// Fill the record's count buffer, bottom line first. Each returns 0 when every
// line was computed, or the stop code (105 exit, 121 stop) of the message step.
// A record without its own live buffer of its size is reported as misuse and
// returns 1 with nothing computed.
int PlotMandelbrot(UiHost& host, PlotRecord& record);
int PlotJulia(UiHost& host, PlotRecord& record);

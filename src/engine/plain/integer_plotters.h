#pragma once
// The plotters in 32-bit fixed-point arithmetic (see fixed_point.h), and their
// count functions. Line order, progress, live drawing, the message step and
// the result codes are those of the extended-real plotters.

#include <cstdint>

#include "engine/plot_record.h"
#include "engine/ui_host.h"

// The region of a record in fixed point: left column, bottom line, height and
// the pixel step (height / sizeY, truncated toward zero).
struct FixedRegion {
  int32_t left;
  int32_t bottom;
  int32_t height;
  int32_t step;
};
FixedRegion ToFixedRegion(const PlotRecord& record);

// True when x, y, x + width and y + height all lie in -8 <= v < 8 (width is
// sizeX times height / sizeY) and, for a Julia plot, the constant's modulus is
// below 4. Outside that, coordinates or iterates would wrap around.
bool FitsFixedRange(const PlotRecord& record, bool julia);
// The fixed-point region of an integer plot; false when the arithmetic cannot
// hold it (the plot is refused before anything is computed).
inline bool IntegerRegion(const PlotRecord& record, bool julia, FixedRegion* region) {
  if (!FitsFixedRange(record, julia)) return false;
  *region = ToFixedRegion(record);
  return region->step > 0;
}

// The effective limit comes from the shared progress state.
int32_t MandelbrotCountInteger(int32_t cx, int32_t cy);
// Takes one step before the first escape test: the start is not tested.
int32_t JuliaCountInteger(int32_t zx, int32_t zy, int32_t cr, int32_t ci);

// As PlotMandelbrot and PlotJulia, and return 1 (nothing computed, progress
// untouched) when the step is not positive or the region does not fit.
int PlotMandelbrotInteger(UiHost& host, PlotRecord& record);
int PlotJuliaInteger(UiHost& host, PlotRecord& record);

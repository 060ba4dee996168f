#pragma once
// The worker of a fast plot in 80-bit extended real arithmetic.

#include <cstdint>

#include "engine/fast/row_queue.h"

// Read-only during the plot; the coordinates are those the reference plotter
// forms by repeated addition of the step.
struct RealPlotSetup {
  const long double* columnX;  // sizeX entries
  const long double* lineY;    // sizeY entries, by image line (0 = top)
  bool julia;
  long double juliaR;
  long double juliaI;
  uint32_t limit;  // effective limit, 1..30000
};

// Computes lines from the queue until none is left or a stop is asked for.
// Sets the x87 unit of the calling thread to 64-bit precision meanwhile.
void ComputeRealLines(const RealPlotSetup& setup, RowQueue& queue);

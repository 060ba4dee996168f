#pragma once
// The worker of a fast plot in 32-bit fixed-point arithmetic.

#include <cstdint>

#include "engine/fast/integer_lanes.h"
#include "engine/fast/row_queue.h"

// Read-only during the plot; the coordinates are those the reference plotter
// forms by repeated wrap-around addition of the step.
struct IntegerPlotSetup {
  const int32_t* columnX;  // sizeX entries
  const int32_t* lineY;    // sizeY entries, by image line (0 = top)
  bool julia;
  int32_t juliaR;
  int32_t juliaI;
  uint32_t limit;  // effective limit, 1..30000
  IntegerKernel kernel;
};

// Computes lines from the queue until none is left or a stop is asked for.
void ComputeIntegerLines(const IntegerPlotSetup& setup, RowQueue& queue);

#pragma once
// The worker of a deep plot: takes lines from the queue and counts their
// pixels several at a time (DeepPixel), whose double steps run side by side.

#include <cstdint>

#include "engine/deep_pixel.h"
#include "engine/fast_row_queue.h"

struct DeepRowsSetup {
  DeepPixelSetup pixel;
  const long double* columnOffsets;  // sizeX entries
  const long double* lineOffsets;    // sizeY entries, by image line (0 = top)
};

// Computes lines until none is left or a stop is asked for (checked every
// few thousand iterations). Sets the x87 unit of the calling thread to 64-bit precision meanwhile.
void ComputeDeepLines(const DeepRowsSetup& setup, RowQueue& queue);

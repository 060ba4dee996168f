#pragma once
// The worker of a deep plot on a wide SIMD kernel (lanes.h): each lane
// holds one pixel, and a lane whose pixel is counted takes the next pixel,
// from the next line when its line has none left, so that one long-lived
// pixel does not keep the other lanes idle until its line ends. A line is
// finished once every pixel of it is counted; a worker may hold several.

#include "engine/deep/rows.h"

// Computes lines until none is left or a stop is asked for (checked every few
// thousand iterations); the calling thread's x87 unit must be at 64-bit precision.
// False, with nothing computed, when memory for the bookkeeping is short.
bool ComputeDeepLinesInLanes(const DeepRowsSetup& setup, RowQueue& queue);

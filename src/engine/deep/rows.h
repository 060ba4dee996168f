#pragma once
// The worker of a deep plot: takes lines from the queue and counts their
// pixels several at a time (DeepPixel), whose double steps run side by side.

#include <cstdint>

#include "engine/deep/lanes.h"
#include "engine/deep/pixel.h"
#include "engine/fast/row_queue.h"

struct DeepRowsSetup {
  DeepPixelSetup pixel;
  const long double* columnOffsets;  // sizeX entries
  const long double* lineOffsets;    // sizeY entries, by image line (0 = top)
  DeepLaneKernel lanes;              // null: pixels of one line interleaved
};

// Asks the queue whether a stop was asked for; long pixels ask it every few
// thousand iterations.
class QueueStop : public StopSignal {
 public:
  explicit QueueStop(const RowQueue& queue) : queue_(queue) {}
  bool Stopping() override { return queue_.Stopping(); }

 private:
  const RowQueue& queue_;
};

// Computes lines until none is left or a stop is asked for (checked every
// few thousand iterations). Sets the x87 unit of the calling thread to 64-bit precision meanwhile.
void ComputeDeepLines(const DeepRowsSetup& setup, RowQueue& queue);

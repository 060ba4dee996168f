#pragma once
// Hands one worker's lanes the pixels of the lines it takes from the queue,
// left to right, and takes their counts back. A lane that finishes early
// starts the next pixel at once, even one of the next line, so the lanes stay
// full; a line is published when its last pixel is stored.

#include <cstdint>

#include "engine/fast/row_queue.h"

struct FeedPixel {
  int32_t line = -1;  // -1: no pixel (idle lane)
  int32_t column = 0;
  int32_t slot = 0;  // the feed's record of the line
};

class PixelFeed {
 public:
  // Lines in flight: the one being handed out plus one per busy lane.
  static constexpr int kMaxLanes = 16;

  explicit PixelFeed(RowQueue& queue) : queue_(queue) {}

  // The next pixel to start; false when no line is left or a stop was asked.
  bool Next(FeedPixel* pixel);
  // The pixel's count is final.
  void Finish(const FeedPixel& pixel, int32_t count);

 private:
  struct LineInFlight {
    int32_t line = -1;  // -1: free
    int32_t outstanding = 0;
  };

  RowQueue& queue_;
  LineInFlight lines_[kMaxLanes + 1];
  int32_t issuingSlot_ = -1;
  int32_t nextColumn_ = 0;
};

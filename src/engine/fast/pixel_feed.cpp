#include "engine/fast/pixel_feed.h"

bool PixelFeed::Next(FeedPixel* pixel) {
  if (issuingSlot_ < 0 || nextColumn_ >= queue_.sizeX()) {
    // The line handed out so far stays in flight until its lanes finish; it
    // is published by Finish. At most kMaxLanes such lines exist, so a free
    // record is always found.
    issuingSlot_ = -1;
    const int32_t line = queue_.TakeLine();
    if (line < 0) return false;
    for (int32_t slot = 0; slot <= kMaxLanes; ++slot) {
      if (lines_[slot].line < 0) {
        issuingSlot_ = slot;
        break;
      }
    }
    lines_[issuingSlot_] = {line, 0};
    nextColumn_ = 0;
  }
  LineInFlight& record = lines_[issuingSlot_];
  ++record.outstanding;
  pixel->line = record.line;
  pixel->column = nextColumn_++;
  pixel->slot = issuingSlot_;
  return true;
}

void PixelFeed::Finish(const FeedPixel& pixel, int32_t count) {
  queue_.Row(pixel.line)[pixel.column] = static_cast<Count>(count);
  LineInFlight& record = lines_[pixel.slot];
  if (--record.outstanding > 0) return;
  const bool allHandedOut = pixel.slot != issuingSlot_ || nextColumn_ >= queue_.sizeX();
  if (!allHandedOut) return;
  queue_.FinishLine(record.line);
  record.line = -1;
  if (pixel.slot == issuingSlot_) issuingSlot_ = -1;
}

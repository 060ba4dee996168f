#include "engine/fast/integer_rows.h"

#include "engine/cycle_check.h"
#include "engine/fast/pixel_feed.h"
#include "engine/plain/fixed_point.h"

namespace {

// Lanes compare their point with a saved one every this many steps of the
// worker's clock.
constexpr uint32_t kCheckInterval = 32;

struct IntegerLane {
  FeedPixel pixel;  // line -1: idle
  CycleCheck<int32_t> cycle;
};

class IntegerLaneSet {
 public:
  IntegerLaneSet(const IntegerPlotSetup& setup, RowQueue& queue)
      : setup_(setup), feed_(queue), laneCount_(setup.kernel.lanes) {}

  void Run(RowQueue& queue) {
    for (int lane = 0; lane < laneCount_; ++lane) Refill(lane);
    while (busy_ > 0 && !queue.Stopping()) Step();
  }

 private:
  bool Busy(int lane) const { return lanes_[lane].pixel.line >= 0; }

  // The Julia count takes one step before its first test; from there on both
  // counts run the same loop: test, then step and count.
  void Refill(int lane) {
    IntegerLane& state = lanes_[lane];
    if (Busy(lane)) --busy_;
    state = IntegerLane{};
    int32_t x = 0, y = 0, cx = 0, cy = 0;
    uint32_t remaining = 0;
    if (feed_.Next(&state.pixel)) {
      ++busy_;
      remaining = setup_.limit;
      x = setup_.columnX[state.pixel.column];
      y = setup_.lineY[state.pixel.line];
      cx = x;
      cy = y;
      if (setup_.julia) {
        cx = setup_.juliaR;
        cy = setup_.juliaI;
        const int32_t nextY = WrapAdd(ProductToFixed(FixedProduct(x, y), 27), cy);
        x = WrapAdd(ProductToFixed(FixedProduct(x, x) - FixedProduct(y, y), kFixedFractionBits),
                    cx);
        y = nextY;
      }
    }
    block_.x[lane] = x;
    block_.y[lane] = y;
    block_.cx[lane] = cx;
    block_.cy[lane] = cy;
    block_.remaining[lane] = remaining;
    state.cycle.Start(x, y);
  }

  void Finish(int lane, int64_t remaining) {
    feed_.Finish(lanes_[lane].pixel, static_cast<int32_t>(setup_.limit - remaining));
    Refill(lane);
  }

  void Step() {
    const IntegerBlockResult result =
        setup_.kernel.run(block_, kCheckInterval - clock_ % kCheckInterval);
    clock_ += result.iterations;
    const bool check = clock_ % kCheckInterval == 0;
    for (int lane = 0; lane < laneCount_; ++lane) {
      if (!Busy(lane)) continue;
      if (((result.active >> lane) & 1) == 0) {
        Finish(lane, block_.remaining[lane]);
      } else if (check && lanes_[lane].cycle.Repeats(static_cast<int32_t>(block_.x[lane]),
                                                     static_cast<int32_t>(block_.y[lane]))) {
        Finish(lane, 0);
      }
    }
  }

  const IntegerPlotSetup& setup_;
  PixelFeed feed_;
  const int laneCount_;
  IntegerLanes block_{};
  IntegerLane lanes_[kMaxIntegerLanes];
  int busy_ = 0;
  uint32_t clock_ = 0;
};

}  // namespace

void ComputeIntegerLines(const IntegerPlotSetup& setup, RowQueue& queue) {
  IntegerLaneSet lanes(setup, queue);
  lanes.Run(queue);
}

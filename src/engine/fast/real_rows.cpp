#include "engine/fast/real_rows.h"

#include "engine/cycle_check.h"
#include "engine/fast/pixel_feed.h"
#include "engine/fast/x87_kernel.h"
#include "engine/fpu_precision.h"

namespace {

// Lanes compare their point with a saved one every this many steps of the
// worker's clock.
constexpr uint32_t kCheckInterval = 64;

struct RealLane {
  FeedPixel pixel;  // line -1: idle
  uint32_t count = 0;
  bool cyPaired = true;
  CycleCheck<long double> cycle;
};

class RealLanes {
 public:
  RealLanes(const RealPlotSetup& setup, RowQueue& queue) : setup_(setup), feed_(queue) {}

  void Run(RowQueue& queue) {
    for (int lane = 0; lane < kX87Lanes; ++lane) Refill(lane);
    while (busy_ > 0 && !queue.Stopping()) Step();
  }

 private:
  bool Busy(int lane) const { return lanes_[lane].pixel.line >= 0; }

  // Loads the next pixel into the lane, or parks the lane at 0, where it
  // stays and never escapes.
  void Refill(int lane) {
    RealLane& state = lanes_[lane];
    if (Busy(lane)) --busy_;
    state = RealLane{};
    long double x = 0, y = 0, cx = 0, cy = 0;
    if (feed_.Next(&state.pixel)) {
      ++busy_;
      x = setup_.columnX[state.pixel.column];
      y = setup_.lineY[state.pixel.line];
      cx = setup_.julia ? setup_.juliaR : x;
      cy = setup_.julia ? setup_.juliaI : y;
    }
    block_.zx[lane].value = x;
    block_.zy[lane].value = y;
    block_.cx[lane].value = cx;
    block_.cy[lane].value = cy;
    state.cyPaired = SplitIntoDoubles(cy, block_.cyPair[lane]);
    state.cycle.Start(x, y);
  }

  void Finish(int lane, uint32_t count) {
    feed_.Finish(lanes_[lane].pixel, static_cast<int32_t>(count));
    Refill(lane);
  }

  void Step() {
    uint32_t steps = kCheckInterval - clock_ % kCheckInterval;
    bool paired = true;
    for (int lane = 0; lane < kX87Lanes; ++lane) {
      if (!Busy(lane)) continue;
      const uint32_t left = setup_.limit - lanes_[lane].count;
      if (left < steps) steps = left;
      paired = paired && lanes_[lane].cyPaired;
    }
    const X87BlockResult result = RunX87Block(block_, steps, paired);
    clock_ += result.iterations;
    const bool check = clock_ % kCheckInterval == 0;
    for (int lane = 0; lane < kX87Lanes; ++lane) {
      if (!Busy(lane)) continue;
      RealLane& state = lanes_[lane];
      if ((result.escaped >> lane) & 1) {
        Finish(lane, state.count + result.iterations - 1);
        continue;
      }
      state.count += result.iterations;
      if (state.count >= setup_.limit) {
        Finish(lane, setup_.limit);
      } else if (check && state.cycle.Repeats(block_.zx[lane].value, block_.zy[lane].value)) {
        Finish(lane, setup_.limit);
      }
    }
  }

  const RealPlotSetup& setup_;
  PixelFeed feed_;
  X87Lanes block_;
  RealLane lanes_[kX87Lanes];
  int busy_ = 0;
  uint32_t clock_ = 0;
};

}  // namespace

void ComputeRealLines(const RealPlotSetup& setup, RowQueue& queue) {
  ExtendedPrecisionScope precision;  // each thread has its own x87 control word
  RealLanes lanes(setup, queue);
  lanes.Run(queue);
}

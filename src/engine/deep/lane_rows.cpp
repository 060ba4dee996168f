#include "engine/deep/lane_rows.h"

#include <algorithm>
#include <memory>
#include <new>
#include <type_traits>

namespace {

// A kernel call takes at most this many steps, so that a stop is seen soon
// even while every lane holds a long-lived pixel.
constexpr uint32_t kMostStepsPerCall = uint32_t{1} << 14;

class LaneRows {
 public:
  LaneRows(const DeepRowsSetup& setup, RowQueue& queue, int32_t* unfinished)
      : setup_(setup),
        queue_(queue),
        stop_(queue),
        unfinished_(unfinished),
        width_(setup.lanes.lanes) {}

  void Run() {
    for (int k = 0; k < width_; ++k) {
      if (!Start(k)) return;
    }
    while (busy_ != 0) {
      const int any = __builtin_ctz(busy_);
      uint32_t most = kMostStepsPerCall;
      for (int k = 0; k < width_; ++k) {
        if ((busy_ >> k & 1) != 0) {
          most = std::min(most, steps_[k]);
        } else {
          Repeat(k, any);  // an idle lane repeats a busy one, within its bounds
        }
      }
      uint32_t stopped = 0;
      const uint32_t taken = setup_.lanes.run(lanes_, most, &stopped);
      for (int k = 0; k < width_; ++k) {
        if ((busy_ >> k & 1) == 0) continue;
        steps_[k] -= taken;
        pending_[k] += taken;
        if (steps_[k] == 0) stopped |= uint32_t{1} << k;
      }
      stopped &= busy_;
      for (; stopped != 0; stopped &= stopped - 1) {
        if (!Settle(__builtin_ctz(stopped))) return;
      }
      if (queue_.Stopping()) return;
    }
  }

 private:
  static_assert(std::is_trivially_destructible_v<DeepPixel>);
  struct Slot {
    DeepPixel pixel;
    int32_t line = 0;
    int32_t column = 0;
  };

  // Starts lane k on the next pixel and runs it in 80 bits until it is ready
  // for doubles, storing every count that becomes final meanwhile; the lane
  // is idle when no pixel is left. False when a stop was asked for.
  bool Start(int k) {
    Slot& slot = slots_[k];
    for (;;) {
      if (queue_.Stopping()) return false;
      if (column_ >= queue_.sizeX()) {
        line_ = drained_ ? -1 : queue_.TakeLine();
        if (line_ < 0) {
          drained_ = true;
          busy_ &= ~(uint32_t{1} << k);
          return true;
        }
        column_ = 0;
        unfinished_[line_] = queue_.sizeX();
      }
      slot.line = line_;
      slot.column = column_++;
      // Built in place: copying a whole pixel over the lane is a large share
      // of a short pixel's time.
      std::construct_at(
          &slot.pixel, setup_.pixel,
          DeltaPoint{setup_.columnOffsets[slot.column], setup_.lineOffsets[slot.line]}, &stop_);
      if (!slot.pixel.RunExtended()) {
        slot.pixel.EnterDoubles();
        Enter(k);
        busy_ |= uint32_t{1} << k;
        return true;
      }
      if (slot.pixel.Stopped()) return false;
      Store(slot);
    }
  }

  // Lane k's pixel has stopped in the kernel: it takes the stopping step
  // itself, and goes on in 80 bits or in the lanes, or its count is final.
  bool Settle(int k) {
    Slot& slot = slots_[k];
    slot.pixel.TookDoubleSteps(pending_[k], {lanes_.dzx[k], lanes_.dzy[k]});
    pending_[k] = 0;
    const DeepPixel::Stepped stepped = slot.pixel.StepInDoubles();
    if (stepped == DeepPixel::kGoOn ||
        (stepped == DeepPixel::kBackToExtended && !slot.pixel.RunExtended())) {
      if (stepped != DeepPixel::kGoOn) slot.pixel.EnterDoubles();
      Enter(k);
      return true;
    }
    if (slot.pixel.Stopped()) return false;
    Store(slot);
    return Start(k);
  }

  void Enter(int k) {
    const DeepPixel::DoubleRun run = slots_[k].pixel.PlainDoubleSteps();
    lanes_.dzx[k] = run.dz.x;
    lanes_.dzy[k] = run.dz.y;
    lanes_.dcx[k] = run.dc.x;
    lanes_.dcy[k] = run.dc.y;
    lanes_.reference[k] = run.reference;
    steps_[k] = run.steps;
    pending_[k] = 0;
  }

  void Repeat(int k, int busy) {
    lanes_.dzx[k] = lanes_.dzx[busy];
    lanes_.dzy[k] = lanes_.dzy[busy];
    lanes_.dcx[k] = lanes_.dcx[busy];
    lanes_.dcy[k] = lanes_.dcy[busy];
    lanes_.reference[k] = lanes_.reference[busy];
  }

  void Store(const Slot& slot) {
    queue_.Row(slot.line)[slot.column] = static_cast<Count>(slot.pixel.Count());
    if (--unfinished_[slot.line] == 0) queue_.FinishLine(slot.line);
  }

  const DeepRowsSetup& setup_;
  RowQueue& queue_;
  QueueStop stop_;
  int32_t* unfinished_;  // per line: its pixels not yet counted
  const int width_;
  DeepLanes lanes_{};
  Slot slots_[kMaxDeepLanes];
  uint32_t steps_[kMaxDeepLanes] = {};    // plain steps lane k may still take
  uint32_t pending_[kMaxDeepLanes] = {};  // steps taken since its pixel last heard
  uint32_t busy_ = 0;
  int32_t line_ = -1;
  int32_t column_ = INT32_MAX;
  bool drained_ = false;
};

}  // namespace

bool ComputeDeepLinesInLanes(const DeepRowsSetup& setup, RowQueue& queue) {
  if (queue.sizeX() <= 0) return false;
  std::unique_ptr<int32_t[]> unfinished(new (std::nothrow) int32_t[queue.sizeY()]);
  std::unique_ptr<LaneRows> rows(unfinished == nullptr
                                     ? nullptr
                                     : new (std::nothrow) LaneRows(setup, queue, unfinished.get()));
  if (rows == nullptr) return false;
  rows->Run();
  return true;
}

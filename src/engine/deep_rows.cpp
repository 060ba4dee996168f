#include "engine/deep_rows.h"

#include "engine/fpu_precision.h"

namespace {

// A worker's two pixels, each of the line it works on.
class PixelPair {
 public:
  PixelPair(const DeepRowsSetup &setup, RowQueue &queue) : setup_(setup), queue_(queue) {}

  // Counts every pixel of the line; false when a stop was asked for.
  bool CountLine(int32_t line) {
    line_ = line;
    row_ = queue_.Row(line);
    nextColumn_ = 0;
    for (Lane &lane : lanes_) lane.column = -1;
    for (int k = 0; k < 2; ++k) {
      if (!Load(k)) return false;
    }
    for (;;) {
      const bool first = lanes_[0].column >= 0, second = lanes_[1].column >= 0;
      if (!first && !second) return true;
      if (first && second) {
        // Both step in doubles until one of them leaves.
        DeepPixel::Stepped a, b;
        do {
          a = lanes_[0].pixel.StepInDoubles();
          b = lanes_[1].pixel.StepInDoubles();
        } while (a == DeepPixel::kGoOn && b == DeepPixel::kGoOn);
        if (!Continue(0, a) || !Continue(1, b)) return false;
      } else {
        const int k = first ? 0 : 1;
        DeepPixel::Stepped stepped;
        while ((stepped = lanes_[k].pixel.StepInDoubles()) == DeepPixel::kGoOn) {
        }
        if (!Continue(k, stepped)) return false;
      }
    }
  }

 private:
  struct Lane {
    DeepPixel pixel;
    int32_t column = -1;  // -1: idle
  };

  // Starts lane k on the next pixel of the line and runs it in 80 bits until
  // it is ready for doubles, storing every count that becomes final
  // meanwhile; the lane is idle when the line has no pixel left.
  bool Load(int k) {
    Lane &lane = lanes_[k];
    while (nextColumn_ < queue_.sizeX()) {
      if (queue_.Stopping()) return false;
      lane.column = nextColumn_++;
      lane.pixel =
          DeepPixel(setup_.pixel, {setup_.columnOffsets[lane.column], setup_.lineOffsets[line_]});
      if (!lane.pixel.RunExtended()) {
        lane.pixel.EnterDoubles();
        return true;
      }
      row_[lane.column] = static_cast<Count>(lane.pixel.Count());
    }
    lane.column = -1;
    return true;
  }

  // After lane k's double steps ended as `stepped` (kGoOn: still stepping).
  bool Continue(int k, DeepPixel::Stepped stepped) {
    Lane &lane = lanes_[k];
    if (stepped == DeepPixel::kGoOn) return true;
    if (stepped == DeepPixel::kBackToExtended && !lane.pixel.RunExtended()) {
      lane.pixel.EnterDoubles();
      return true;
    }
    row_[lane.column] = static_cast<Count>(lane.pixel.Count());
    return Load(k);
  }

  const DeepRowsSetup &setup_;
  RowQueue &queue_;
  Lane lanes_[2];
  int32_t line_ = 0;
  Count *row_ = nullptr;
  int32_t nextColumn_ = 0;
};

}  // namespace

void ComputeDeepLines(const DeepRowsSetup &setup, RowQueue &queue) {
  ExtendedPrecisionScope precision;  // each thread has its own x87 control word
  PixelPair pair(setup, queue);
  for (int32_t line = queue.TakeLine(); line >= 0; line = queue.TakeLine()) {
    if (!pair.CountLine(line)) return;
    queue.FinishLine(line);
  }
}

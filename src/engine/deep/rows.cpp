#include "engine/deep/rows.h"

#include <cfloat>
#include <memory>
#include <type_traits>

#include "engine/deep/lane_rows.h"
#include "engine/fpu_precision.h"

namespace {

constexpr int kLanes = 4;

#if FLT_EVAL_METHOD == 0
// Doubles are computed in doubles, so SIMD lanes round every operation as the
// scalar step does: the plain double steps of all lanes run together, two
// pixels to a vector.
typedef double Doubles __attribute__((vector_size(16)));
typedef int64_t Flags __attribute__((vector_size(16)));
constexpr int kGroups = kLanes / 2;

// Takes up to `steps` plain steps of every run, the arithmetic of
// DeepPixel::StepInDoubles lane by lane, and stops before the step at which
// the size tests would stop any of them. Returns the steps taken and each
// run's delta after them in dz.
uint32_t TakePlainSteps(const DeepPixel::DoubleRun *runs, uint32_t steps, DoublePoint *dz) {
  Doubles dzx[kGroups], dzy[kGroups], dcx[kGroups], dcy[kGroups];
  for (int g = 0; g < kGroups; ++g) {
    const DeepPixel::DoubleRun &a = runs[2 * g], &b = runs[2 * g + 1];
    dzx[g] = Doubles{a.dz.x, b.dz.x};
    dzy[g] = Doubles{a.dz.y, b.dz.y};
    dcx[g] = Doubles{a.dc.x, b.dc.x};
    dcy[g] = Doubles{a.dc.y, b.dc.y};
  }
  const Doubles four = {4, 4}, least = {kDoubleDeltaSquared, kDoubleDeltaSquared};
  uint32_t taken = 0;
  for (; taken < steps; ++taken) {
    Doubles nextX[kGroups], nextY[kGroups];
    Flags stop = {0, 0};
    for (int g = 0; g < kGroups; ++g) {
      const DoublePoint &a = runs[2 * g].reference[taken], &b = runs[2 * g + 1].reference[taken];
      const Doubles rx = {a.x, b.x}, ry = {a.y, b.y};
      const Doubles zx = rx + dzx[g], zy = ry + dzy[g];
      const Doubles size2 = zx * zx + zy * zy;
      const Doubles delta2 = dzx[g] * dzx[g] + dzy[g] * dzy[g];
      stop |= (size2 > four) | (size2 < delta2) | (delta2 < least);
      const Doubles sx = 2 * rx + dzx[g], sy = 2 * ry + dzy[g];
      nextX[g] = sx * dzx[g] - sy * dzy[g] + dcx[g];
      nextY[g] = sx * dzy[g] + sy * dzx[g] + dcy[g];
    }
    if (stop[0] | stop[1]) break;
    for (int g = 0; g < kGroups; ++g) {
      dzx[g] = nextX[g];
      dzy[g] = nextY[g];
    }
  }
  for (int g = 0; g < kGroups; ++g) {
    dz[2 * g] = {dzx[g][0], dzy[g][0]};
    dz[2 * g + 1] = {dzx[g][1], dzy[g][1]};
  }
  return taken;
}
#endif

// A worker's pixels in flight, each of the line it works on: while all of
// them step in doubles they step together; a pixel that leaves the doubles
// goes on alone in 80 bits, and its lane takes the line's next pixel once it
// is done.
class PixelLanes {
 public:
  PixelLanes(const DeepRowsSetup &setup, RowQueue &queue)
      : setup_(setup), queue_(queue), stop_(queue) {}

  // Counts every pixel of the line; false when a stop was asked for.
  bool CountLine(int32_t line) {
    line_ = line;
    row_ = queue_.Row(line);
    nextColumn_ = 0;
    for (Lane &lane : lanes_) lane.column = -1;
    for (int k = 0; k < kLanes; ++k) {
      if (!Load(k)) return false;
    }
    for (;;) {
      if (queue_.Stopping()) return false;
#if FLT_EVAL_METHOD == 0
      if (!StepTogether()) return true;
#endif
      // One step each in DeepPixel itself, which also takes the steps that
      // StepTogether leaves: the one a size test stops, the one at the
      // orbit's end, the one that reaches the limit.
      bool any = false;
      for (int k = 0; k < kLanes; ++k) {
        if (lanes_[k].column < 0) continue;
        any = true;
        if (!Continue(k, lanes_[k].pixel.StepInDoubles())) return false;
      }
      if (!any) return true;
    }
  }

 private:
  static_assert(std::is_trivially_destructible_v<DeepPixel>);
  struct Lane {
    DeepPixel pixel;
    int32_t column = -1;  // -1: idle
  };

#if FLT_EVAL_METHOD == 0
  // Takes the plain steps that every busy lane can take together; an idle
  // lane repeats a busy one. False when every lane is idle.
  bool StepTogether() {
    int busy = -1;
    for (int k = 0; k < kLanes && busy < 0; ++k) {
      if (lanes_[k].column >= 0) busy = k;
    }
    if (busy < 0) return false;
    DeepPixel::DoubleRun runs[kLanes];
    uint32_t steps = UINT32_MAX;
    for (int k = 0; k < kLanes; ++k) {
      runs[k] = lanes_[lanes_[k].column >= 0 ? k : busy].pixel.PlainDoubleSteps();
      if (runs[k].steps < steps) steps = runs[k].steps;
    }
    DoublePoint dz[kLanes];
    const uint32_t taken = TakePlainSteps(runs, steps, dz);
    for (int k = 0; k < kLanes; ++k) {
      if (lanes_[k].column >= 0) lanes_[k].pixel.TookDoubleSteps(taken, dz[k]);
    }
    return true;
  }
#endif

  // Starts lane k on the next pixel of the line and runs it in 80 bits until
  // it is ready for doubles, storing every count that becomes final
  // meanwhile; the lane is idle when the line has no pixel left.
  bool Load(int k) {
    Lane &lane = lanes_[k];
    while (nextColumn_ < queue_.sizeX()) {
      if (queue_.Stopping()) return false;
      lane.column = nextColumn_++;
      // Built in place: copying a whole pixel over the lane is a large share
      // of a short pixel's time.
      std::construct_at(&lane.pixel, setup_.pixel,
                        DeltaPoint{setup_.columnOffsets[lane.column], setup_.lineOffsets[line_]},
                        &stop_);
      if (!lane.pixel.RunExtended()) {
        lane.pixel.EnterDoubles();
        return true;
      }
      if (lane.pixel.Stopped()) return false;
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
    if (lane.pixel.Stopped()) return false;
    row_[lane.column] = static_cast<Count>(lane.pixel.Count());
    return Load(k);
  }

  const DeepRowsSetup &setup_;
  RowQueue &queue_;
  QueueStop stop_;
  Lane lanes_[kLanes];
  int32_t line_ = 0;
  Count *row_ = nullptr;
  int32_t nextColumn_ = 0;
};

}  // namespace

void ComputeDeepLines(const DeepRowsSetup &setup, RowQueue &queue) {
  ExtendedPrecisionScope precision;  // each thread has its own x87 control word
  if (setup.lanes.run != nullptr && ComputeDeepLinesInLanes(setup, queue)) return;
  PixelLanes lanes(setup, queue);
  for (int32_t line = queue.TakeLine(); line >= 0; line = queue.TakeLine()) {
    if (!lanes.CountLine(line)) return;
    queue.FinishLine(line);
  }
}

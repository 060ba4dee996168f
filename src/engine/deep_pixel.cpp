#include "engine/deep_pixel.h"

#include <cmath>

namespace {

// Steps run in doubles while |dz|^2 is at least this, and only for a dc whose
// parts are 0 or at least kSmallestDoubleConstant (deep_pixel.h).
constexpr double kDoubleDeltaSquared = 0x1p-900;
constexpr long double kSmallestDoubleConstant = 0x1p-960L;
constexpr long double kLargestDoubleConstant = 0x1p+500L;

bool FitsDouble(long double value) {
  const long double size = std::fabs(value);
  return value == 0 || (size >= kSmallestDoubleConstant && size <= kLargestDoubleConstant);
}

struct PixelState {
  DeepOrbitPath path;
  uint32_t m;
  uint32_t count;
  DeltaPoint dz;
};

// Steps in doubles from the state until the pixel escapes or reaches the
// limit (true, *count final) or needs a rebase or its delta became small
// (false, state updated for the 80-bit loop to go on).
bool RunInDoubles(PixelState& state, DoublePoint dc, uint32_t limit) {
  const DeepOrbitPath& path = state.path;
  uint32_t m = state.m;
  uint32_t count = state.count;
  DoublePoint dz = {static_cast<double>(state.dz.x), static_cast<double>(state.dz.y)};
  bool final = false;
  for (;;) {
    const DoublePoint reference = path.doubles[m];
    const DoublePoint z = {reference.x + dz.x, reference.y + dz.y};
    const double size2 = SquaredSize(z);
    if (size2 > 4) {
      final = true;
      break;
    }
    const double delta2 = SquaredSize(dz);
    if (size2 < delta2 || m == path.last || delta2 < kDoubleDeltaSquared) break;
    dz = PerturbedStep(reference, dz, dc);
    ++m;
    if (++count >= limit) {
      final = true;
      break;
    }
  }
  state.m = m;
  state.count = count;
  state.dz = {dz.x, dz.y};
  return final;
}

}  // namespace

uint32_t DeepPixelCount(const DeepPixelSetup& setup, DeltaPoint delta) {
  const DeltaPoint dc = setup.julia ? DeltaPoint{0, 0} : delta;
  const bool doubles = FitsDouble(dc.x) && FitsDouble(dc.y);
  const DoublePoint dcDouble = {static_cast<double>(dc.x), static_cast<double>(dc.y)};
  const uint32_t limit = setup.limit;
  PixelState state{setup.start, setup.startIndex, 0, delta};
  for (;;) {
    if (state.path.table != nullptr) {
      uint32_t length = 0;
      const BlaStep* skip;
      while ((skip = state.path.table->Find(state.m, SquaredSize(state.dz), limit - state.count,
                                            &length)) != nullptr) {
        const DeltaPoint dz = state.dz;
        state.dz = {skip->a.x * dz.x - skip->a.y * dz.y + skip->b.x * dc.x - skip->b.y * dc.y,
                    skip->a.x * dz.y + skip->a.y * dz.x + skip->b.x * dc.y + skip->b.y * dc.x};
        state.m += length;
        state.count += length;
      }
      if (state.count >= limit) return limit;
    }
    if (doubles && SquaredSize(state.dz) >= kDoubleDeltaSquared &&
        RunInDoubles(state, dcDouble, limit)) {
      return state.count;
    }
    const DeltaPoint reference = state.path.points[state.m];
    const DeltaPoint z = {reference.x + state.dz.x, reference.y + state.dz.y};
    const long double size2 = SquaredSize(z);
    if (size2 > 4) return state.count;
    if (size2 < SquaredSize(state.dz) || state.m == state.path.last) {
      state.path = setup.critical;
      state.m = 0;
      state.dz = z;
    }
    state.dz = PerturbedStep(state.path.points[state.m], state.dz, dc);
    ++state.m;
    if (++state.count >= limit) return state.count;
  }
}

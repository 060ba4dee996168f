#include "engine/deep_bla.h"

#include <cmath>
#include <new>

#include "engine/fpu_precision.h"

namespace {

long double Size(DeltaPoint point) { return std::sqrt(SquaredSize(point)); }

DeltaPoint Multiply(DeltaPoint p, DeltaPoint q) {
  return {p.x * q.x - p.y * q.y, p.x * q.y + p.y * q.x};
}

constexpr BlaStep kNeverValid = {{0, 0}, {0, 0}, 0};

// The single step at Z; radius (not squared) in radius2 until the level is
// merged.
BlaStep SingleStep(DeltaPoint reference) {
  const long double size2 = SquaredSize(reference);
  if (!(size2 * (1 + 4 * kBlaTolerance) < 4)) return kNeverValid;
  const DeltaPoint a = LinearCoefficient(reference);
  return {a, {1, 0}, kBlaTolerance * Size(a)};
}

// x followed by y, radii not squared.
BlaStep Merge(const BlaStep& x, const BlaStep& y, long double dcMax) {
  if (!(x.radius2 > 0) || !(y.radius2 > 0)) return kNeverValid;
  const long double ax = Size(x.a);
  const long double radius = std::fmin(x.radius2, (y.radius2 - Size(x.b) * dcMax) / ax);
  const DeltaPoint a = Multiply(y.a, x.a);
  const DeltaPoint ab = Multiply(y.a, x.b);
  const DeltaPoint b = {ab.x + y.b.x, ab.y + y.b.y};
  if (!(radius > 0) || !std::isfinite(SquaredSize(a)) || !std::isfinite(SquaredSize(b))) {
    return kNeverValid;
  }
  return {a, b, radius};
}

}  // namespace

bool BlaTable::Build(const ReferenceOrbit& orbit, uint32_t first, long double dcMax) {
  ExtendedPrecisionScope precision;
  first_ = first;
  // When memory is short the table covers the orbit's first part only, down
  // to a few thousand steps; past it pixels step one iteration at a time.
  size_t total = 0;
  for (uint32_t singles = orbit.Last() > first ? orbit.Last() - first : 0;; singles /= 2) {
    levels_ = 0;
    total = 0;
    for (uint32_t count = singles; count > 0 && levels_ < kMaxLevels; count /= 2) {
      starts_[levels_] = total;
      counts_[levels_] = count;
      total += count;
      ++levels_;
    }
    if (total == 0) return true;
    steps_ = AllocateDeepArray<BlaStep>(total);
    if (steps_ != nullptr) break;
    if (singles < kFewestSkippedSteps) {
      levels_ = 0;
      return false;
    }
  }
  const uint32_t singles = counts_[0];
  const DeltaPoint* points = orbit.Points();
  for (uint32_t j = 0; j < singles; ++j) steps_[j] = SingleStep(points[first + j]);
  for (int level = 1; level < levels_; ++level) {
    const BlaStep* below = &steps_[starts_[level - 1]];
    BlaStep* here = &steps_[starts_[level]];
    for (uint32_t j = 0; j < counts_[level]; ++j)
      here[j] = Merge(below[2 * j], below[2 * j + 1], dcMax);
  }
  for (size_t k = 0; k < total; ++k) steps_[k].radius2 *= steps_[k].radius2;
  return true;
}

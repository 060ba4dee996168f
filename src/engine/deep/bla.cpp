#include "engine/deep/bla.h"

#include <cmath>
#include <new>

#include "engine/fpu_precision.h"

namespace {

long double Size(DeltaPoint point) { return std::sqrt(SquaredSize(point)); }

DeltaPoint Multiply(DeltaPoint p, DeltaPoint q) {
  return {p.x * q.x - p.y * q.y, p.x * q.y + p.y * q.x};
}

// A step while the tables are built, its radius not squared.
struct Step {
  DeltaPoint a;
  DeltaPoint b;
  long double radius;  // 0: never holds
};

constexpr Step kNeverValid = {{0, 0}, {0, 0}, 0};

Step SingleStep(DeltaPoint reference) {
  const long double size2 = SquaredSize(reference);
  if (!(size2 * (1 + 4 * kBlaTolerance) < 4)) return kNeverValid;
  const DeltaPoint a = LinearCoefficient(reference);
  return {a, {1, 0}, kBlaTolerance * Size(a)};
}

// x followed by y.
Step Merge(const Step& x, const Step& y, long double dcMax) {
  if (!(x.radius > 0) || !(y.radius > 0)) return kNeverValid;
  const long double ax = Size(x.a);
  const long double radius = std::fmin(x.radius, (y.radius - Size(x.b) * dcMax) / ax);
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
  points_ = orbit.Points();
  // When memory is short the table covers the orbit's first part only, down
  // to a few thousand steps; past it pixels step one iteration at a time.
  size_t merged = 0;
  for (uint32_t singles = orbit.Last() > first ? orbit.Last() - first : 0;; singles /= 2) {
    levels_ = 0;
    merged = 0;
    for (uint32_t count = singles; count > 0 && levels_ < kMaxLevels; count /= 2) {
      starts_[levels_] = levels_ == 0 ? 0 : merged;
      counts_[levels_] = count;
      if (levels_ > 0) merged += count;
      ++levels_;
    }
    if (levels_ == 0) return true;
    merged_.reset();
    // One more element each: a long double load may read the padding of
    // its 16 bytes past the last number.
    singleRadii2_ = AllocateDeepArray<PackedExtended>(size_t{singles} + 1);
    if (singleRadii2_ != nullptr && merged > 0) merged_ = AllocateDeepArray<MergedStep>(merged + 1);
    if (singleRadii2_ != nullptr && (merged == 0 || merged_ != nullptr)) break;
    singleRadii2_.reset();
    if (singles / 2 < kFewestSkippedSteps) {
      levels_ = 0;
      return false;
    }
  }
  const auto single = [&](uint32_t j) { return SingleStep(points_[first + j]); };
  const auto unpack = [](const MergedStep& step) {
    return Step{{step.ax.Get(), step.ay.Get()}, {step.bx.Get(), step.by.Get()}, step.radius2.Get()};
  };
  for (int level = 1; level < levels_; ++level) {
    MergedStep* here = &merged_[starts_[level]];
    for (uint32_t j = 0; j < counts_[level]; ++j) {
      const Step step = level == 1 ? Merge(single(2 * j), single(2 * j + 1), dcMax)
                                   : Merge(unpack(merged_[starts_[level - 1] + 2 * j]),
                                           unpack(merged_[starts_[level - 1] + 2 * j + 1]), dcMax);
      here[j].ax.Set(step.a.x);
      here[j].ay.Set(step.a.y);
      here[j].bx.Set(step.b.x);
      here[j].by.Set(step.b.y);
      here[j].radius2.Set(step.radius);  // squared below, once every level is merged
    }
  }
  for (uint32_t j = 0; j < counts_[0]; ++j) {
    const long double radius = single(j).radius;
    singleRadii2_[j].Set(radius * radius);
  }
  for (size_t k = 0; k < merged; ++k) {
    const long double radius = merged_[k].radius2.Get();
    merged_[k].radius2.Set(radius * radius);
  }
  return true;
}

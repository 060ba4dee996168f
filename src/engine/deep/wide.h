#pragma once
// Deltas too small for the exponent of 80-bit numbers (views below about
// 1e-4900): an 80-bit mantissa pair and a separate binary exponent, value =
// (x + iy) * 2^exponent. Every operation rounds its mantissas once, as the
// 80-bit step does, and rescales exactly (by powers of two), so a wide delta
// is as fine as an 80-bit one would be with an unbounded exponent.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/deep/formula.h"

struct WideDelta {
  DeltaPoint m;  // the larger part's size in [1, 2), or both 0
  int32_t exponent;
};

// The exponent of 0, far below any other so that sums ignore it.
constexpr int32_t kWideZeroExponent = INT32_MIN / 4;

inline long double LargerPart(DeltaPoint p) { return std::max(std::fabs(p.x), std::fabs(p.y)); }

// (x + iy) * 2^exponent with its mantissa rescaled into the canonical range:
// equal values have equal forms.
inline WideDelta Widened(long double x, long double y, int32_t exponent) {
  const long double larger = std::max(std::fabs(x), std::fabs(y));
  if (larger == 0) return {{0, 0}, kWideZeroExponent};
  const int shift = std::ilogb(larger);
  return {{std::ldexp(x, -shift), std::ldexp(y, -shift)}, exponent + shift};
}
inline WideDelta Widened(DeltaPoint p, int32_t exponent = 0) { return Widened(p.x, p.y, exponent); }

// The value in 80 bits: 0 (or subnormal) below their range.
inline DeltaPoint Narrowed(const WideDelta& a) {
  if (a.exponent < -20000) return {0, 0};
  return {std::ldexp(a.m.x, a.exponent), std::ldexp(a.m.y, a.exponent)};
}

// The mantissa of a at the scale 2^exponent (0 far below it).
inline DeltaPoint ScaledTo(const WideDelta& a, int32_t exponent) {
  const int64_t shift = int64_t{a.exponent} - exponent;
  if (shift < -20000) return {0, 0};
  return {std::ldexp(a.m.x, static_cast<int>(shift)), std::ldexp(a.m.y, static_cast<int>(shift))};
}

inline WideDelta Sum(const WideDelta& a, const WideDelta& b) {
  const WideDelta& high = a.exponent >= b.exponent ? a : b;
  const WideDelta& low = a.exponent >= b.exponent ? b : a;
  const DeltaPoint lowScaled = ScaledTo(low, high.exponent);
  return Widened(high.m.x + lowScaled.x, high.m.y + lowScaled.y, high.exponent);
}

inline WideDelta Product(const WideDelta& a, const WideDelta& b) {
  if (a.exponent == kWideZeroExponent || b.exponent == kWideZeroExponent) {
    return {{0, 0}, kWideZeroExponent};
  }
  return Widened(a.m.x * b.m.x - a.m.y * b.m.y, a.m.x * b.m.y + a.m.y * b.m.x,
                 a.exponent + b.exponent);
}

// |a|^2 < |b|^2.
inline bool SmallerThan(const WideDelta& a, const WideDelta& b) {
  if (a.exponent == kWideZeroExponent) return b.exponent != kWideZeroExponent;
  if (b.exponent == kWideZeroExponent) return false;
  const int64_t shift = int64_t{a.exponent} - b.exponent;
  if (shift < -4) return true;
  if (shift > 4) return false;
  return SquaredSize(a.m) * std::ldexp(1.0L, static_cast<int>(2 * shift)) < SquaredSize(b.m);
}

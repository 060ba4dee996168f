#include "engine/deep/pixel.h"

#include <cfloat>
#include <cmath>

namespace {

// Steps run in doubles only for a dc whose parts are 0 or at least
// kSmallestDoubleConstant (pixel.h).
constexpr long double kSmallestDoubleConstant = 0x1p-960L;
constexpr long double kLargestDoubleConstant = 0x1p+500L;

bool FitsDouble(long double value) {
  const long double size = std::fabs(value);
  return value == 0 || (size >= kSmallestDoubleConstant && size <= kLargestDoubleConstant);
}

// Rebasing at the end of an orbit rounds the point Z_last + dz to 80 bits.
// While |dz|^2 is at least this share of |z|^2 that moves the pixel by at
// most 2^-48 of its delta, less than a double step does; a pixel nearer the
// orbit than that must not rebase there.
constexpr long double kSafeRebaseAtEnd = 0x1p-32L;

// A wide delta goes on in 80 bits from this exponent up and comes back below
// the other. Between two rescalings a held delta grows to at most 2^60 times
// 2^-16000; the short form of the step (2Z dz + dc) takes reference points of
// at least 2^-15800, beside which such a delta's square is below 2^-140 of
// 2Z dz.
constexpr int32_t kScaledCeiling = -16000;
constexpr long double kScaledFloor = 0x1p-16100L;
constexpr long double kLargeReference = 0x1p-15800L;

// A mantissa in the fast wide step is rescaled once it leaves this range.
constexpr long double kLargestMantissa = 0x1p60L;
constexpr long double kSmallestMantissa = 0x1p-60L;

// The 80-bit dc of a view of wide deltas: below the normal range, 0.
long double NormalOrZero(long double value) { return std::fabs(value) < LDBL_MIN ? 0 : value; }

}  // namespace

DeepPixel::DeepPixel(const DeepPixelSetup &setup, const DeltaPoint &delta, StopSignal *stop)
    : setup_(&setup),
      dc_(setup.julia ? DeltaPoint{0, 0} : delta),
      dcDouble_{static_cast<double>(dc_.x), static_cast<double>(dc_.y)},
      doubles_(FitsDouble(dc_.x) && FitsDouble(dc_.y)),
      path_(setup.start),
      m_(setup.startIndex),
      dz_(delta),
      stop_(stop) {
  if (setup.offsetScale == 0) return;
  wide_ = true;
  const WideDelta offset = Widened(delta, -setup.offsetScale);
  if (!setup.julia) dcWide_ = offset;
  const DeltaPoint dc = Narrowed(dcWide_);
  dc_ = {NormalOrZero(dc.x), NormalOrZero(dc.y)};
  dcDouble_ = {static_cast<double>(dc_.x), static_cast<double>(dc_.y)};
  doubles_ = FitsDouble(dc_.x) && FitsDouble(dc_.y);
  if (offset.exponent < kScaledCeiling) {
    EnterScaled(offset);
  } else {
    dz_ = Narrowed(offset);
  }
}

void DeepPixel::EnterScaled(const WideDelta &dz) {
  scaled_ = true;
  dzWide_ = dz;
  Rescale();
}

void DeepPixel::Rescale() {
  dzWide_ = Widened(dzWide_.m, dzWide_.exponent);
  dcScaled_ = dzWide_.exponent == kWideZeroExponent ? DeltaPoint{0, 0}
                                                    : ScaledTo(dcWide_, dzWide_.exponent);
}

WideDelta DeepPixel::ReferenceWide(uint32_t m, int32_t exponentShift) const {
  const DeltaPoint point = path_.points[m];
  WideDelta wide;
  if (path_.tiny == nullptr || !(LargerPart(point) < TinyOrbitPoints::kBelow) ||
      !path_.tiny->Find(m, &wide)) {
    wide = Widened(point);
  }
  if (wide.exponent != kWideZeroExponent) wide.exponent += exponentShift;
  return wide;
}

WideDelta DeepPixel::CycleKey() const {
  return scaled_ ? Widened(dzWide_.m, dzWide_.exponent) : Widened(dz_);
}

bool DeepPixel::RunScaled() {
  const uint32_t limit = setup_->limit;
  for (;;) {
    if (count_ >= nextStopCheck_ && StopAsked()) return true;
    const DeltaPoint reference = path_.points[m_];
    if (dzWide_.exponent != kWideZeroExponent && LargerPart(reference) >= kLargeReference) {
      // z = Z + dz rounds to Z, as in the 80-bit step, and dz is too near
      // the reference to rebase at its end.
      if (SquaredSize(reference) > 4) return true;
      if (m_ == path_.last) {
        if (path_.continuation != nullptr) return ContinueInDeepArithmetic();
        if (path_.wrap == ReferenceOrbit::kNoWrap) {
          path_ = setup_->critical;
          m_ = 0;
          dz_ = reference;
          scaled_ = false;
          wrapped_ = false;
          if (Repeats()) {
            count_ = limit;
            return true;
          }
          return false;
        }
        m_ = path_.wrap;
        if (WrapRepeats()) {
          count_ = limit;
          return true;
        }
        continue;
      }
      const long double ax = 2 * reference.x, ay = 2 * reference.y;
      const DeltaPoint w = dzWide_.m;
      dzWide_.m = {ax * w.x - ay * w.y + dcScaled_.x, ax * w.y + ay * w.x + dcScaled_.y};
      ++m_;
      if (++count_ >= limit) return true;
      const long double larger = LargerPart(dzWide_.m);
      if (larger <= kLargestMantissa && larger >= kSmallestMantissa) continue;
      Rescale();
    } else {
      // The reference point is as small as the delta (or the delta is 0):
      // the whole step in wide arithmetic.
      const WideDelta z = Sum(ReferenceWide(m_, 0), dzWide_);
      if (z.exponent > -4 && SquaredSize(Narrowed(z)) > 4) return true;
      const bool nearer = SmallerThan(z, dzWide_);
      if (m_ == path_.last && !nearer && SmallerThan({dzWide_.m, dzWide_.exponent + 16}, z)) {
        if (path_.continuation != nullptr) return ContinueInDeepArithmetic();
        if (path_.wrap != ReferenceOrbit::kNoWrap) {
          m_ = path_.wrap;
          if (WrapRepeats()) {
            count_ = limit;
            return true;
          }
        }
      }
      if (nearer || m_ == path_.last) {
        path_ = setup_->critical;
        m_ = 0;
        dzWide_ = z;
        wrapped_ = false;
        if (Repeats()) {
          count_ = limit;
          return true;
        }
      }
      const WideDelta twice = ReferenceWide(m_, 1);
      dzWide_ = Sum(Product(Sum(twice, dzWide_), dzWide_), dcWide_);
      ++m_;
      if (++count_ >= limit) return true;
      Rescale();
    }
    if (dzWide_.exponent >= kScaledCeiling) {
      dz_ = Narrowed(dzWide_);
      scaled_ = false;
      return false;
    }
  }
}

bool DeepPixel::StopAsked() {
  nextStopCheck_ = count_ + kIterationsPerStopCheck;
  stopped_ = stop_ != nullptr && stop_->Stopping();
  return stopped_;
}

bool DeepPixel::ContinueInDeepArithmetic() {
  uint32_t count = 0;
  const WideDelta dz = scaled_ ? dzWide_ : Widened(dz_);
  const WideDelta dc = wide_ ? dcWide_ : Widened(dc_);
  if (path_.continuation->Count(dz, dc, count_, setup_->limit, stop_, &count)) {
    count_ = count;
  } else {
    stopped_ = true;
  }
  return true;
}

bool DeepPixel::RunExtended() {
  const uint32_t limit = setup_->limit;
  for (;;) {
    if (count_ >= nextStopCheck_ && StopAsked()) return true;
    if (wide_) {
      if (!scaled_ && LargerPart(dz_) < kScaledFloor) EnterScaled(Widened(dz_));
      if (scaled_ && RunScaled()) return true;
    }
    if (!leftDoubles_) {
      if (path_.table != nullptr) {
        uint32_t length = 0;
        BlaStep skip;
        while (count_ < limit && path_.table->Find(m_, SquaredSize(dz_), &skip, &length)) {
          const DeltaPoint dz = dz_;
          dz_ = {skip.a.x * dz.x - skip.a.y * dz.y + skip.b.x * dc_.x - skip.b.y * dc_.y,
                 skip.a.x * dz.y + skip.a.y * dz.x + skip.b.x * dc_.y + skip.b.y * dc_.x};
          // A skip that would take a delta below the 80-bit range is left to
          // the single steps, which hold it wide.
          if (wide_ && LargerPart(dz_) < kScaledFloor) {
            dz_ = dz;
            break;
          }
          m_ += length;
          count_ += length;
          skipped_ += length;
        }
        if (count_ >= limit) {
          count_ = limit;
          return true;
        }
      }
      if (doubles_ && SquaredSize(dz_) >= kDoubleDeltaSquared) return false;
    }
    leftDoubles_ = false;
    const DeltaPoint reference = path_.points[m_];
    const DeltaPoint z = {reference.x + dz_.x, reference.y + dz_.y};
    const long double size2 = SquaredSize(z);
    if (size2 > 4) return true;
    if (m_ == path_.last && !(size2 < SquaredSize(dz_)) &&
        !(SquaredSize(dz_) >= size2 * kSafeRebaseAtEnd)) {
      if (path_.continuation != nullptr) return ContinueInDeepArithmetic();
      if (path_.wrap != ReferenceOrbit::kNoWrap) {
        m_ = path_.wrap;
        if (WrapRepeats()) {
          count_ = limit;
          return true;
        }
      }
    }
    if (size2 < SquaredSize(dz_) || m_ == path_.last) {
      path_ = setup_->critical;
      m_ = 0;
      dz_ = z;
      wrapped_ = false;
      if (Repeats()) {
        count_ = limit;
        return true;
      }
    }
    const DeltaPoint point = path_.points[m_];
    if (wide_) {
      // A step whose products fall below the 80-bit range runs wide.
      const DeltaPoint sum = {2 * point.x + dz_.x, 2 * point.y + dz_.y};
      if (LargerPart(sum) * LargerPart(dz_) < kScaledFloor) {
        const WideDelta dz = Widened(dz_);
        dzWide_ = Sum(Product(Sum(ReferenceWide(m_, 1), dz), dz), dcWide_);
        ++m_;
        if (++count_ >= limit) return true;
        if (dzWide_.exponent < kScaledCeiling) {
          EnterScaled(dzWide_);
        } else {
          dz_ = Narrowed(dzWide_);
        }
        continue;
      }
    }
    dz_ = PerturbedStep(point, dz_, dc_);
    ++m_;
    if (++count_ >= limit) return true;
  }
}

// After a rebase the whole state that decides the pixel's future is its
// point: the orbit and index are always those of the critical point's start,
// dc is fixed, and no choice depends on the count. The points of successive
// rebases are compared exactly (Brent's method, cycle_check.h); one that
// comes back means the pixel never escapes.
bool DeepPixel::Repeats() { return Recurs(cycle_, cycleScales_, rebased_); }

// Between two rebases the pixel's state after a wrap is its delta alone (the
// orbit and the index are the same at every wrap): a delta that comes back
// exactly means the pixel never escapes.
bool DeepPixel::WrapRepeats() { return Recurs(wraps_, wrapScales_, wrapped_); }

// One cycle check's step: the first call starts it, later ones compare. In a
// view of wide deltas the state compared is the delta's canonical wide form
// and whether it is held wide; otherwise the 80-bit delta.
bool DeepPixel::Recurs(CycleCheck<long double> &points, CycleCheck<int32_t> &scales,
                       bool &started) {
  if (wide_) {
    const WideDelta key = CycleKey();
    if (started) return points.Repeats(key.m.x, key.m.y) & scales.Repeats(key.exponent, scaled_);
    points.Start(key.m.x, key.m.y);
    scales.Start(key.exponent, scaled_);
  } else {
    if (started) return points.Repeats(dz_.x, dz_.y);
    points.Start(dz_.x, dz_.y);
  }
  started = true;
  return false;
}

DeepPixel::Stepped DeepPixel::StepInDoubles() {
  const DoublePoint reference = path_.doubles[m_];
  const DoublePoint z = {reference.x + dzDouble_.x, reference.y + dzDouble_.y};
  const double size2 = SquaredSize(z);
  if (size2 > 4) return kFinal;
  const double delta2 = SquaredSize(dzDouble_);
  if (size2 < delta2 || m_ == path_.last || delta2 < kDoubleDeltaSquared) {
    dz_ = {dzDouble_.x, dzDouble_.y};
    leftDoubles_ = true;
    return kBackToExtended;
  }
  dzDouble_ = PerturbedStep(reference, dzDouble_, dcDouble_);
  ++m_;
  return ++count_ >= setup_->limit ? kFinal : kGoOn;
}

uint32_t DeepPixelCount(const DeepPixelSetup &setup, DeltaPoint delta, StopSignal *stop,
                        bool *stopped) {
  DeepPixel pixel(setup, delta, stop);
  while (!pixel.RunExtended()) {
    pixel.EnterDoubles();
    DeepPixel::Stepped stepped;
    while ((stepped = pixel.StepInDoubles()) == DeepPixel::kGoOn) {
    }
    if (stepped == DeepPixel::kFinal) break;
  }
  if (stopped != nullptr) *stopped = pixel.Stopped();
  return pixel.Count();
}

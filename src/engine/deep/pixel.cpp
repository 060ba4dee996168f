#include "engine/deep/pixel.h"

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

}  // namespace

DeepPixel::DeepPixel(const DeepPixelSetup &setup, const DeltaPoint &delta, StopSignal *stop)
    : setup_(&setup),
      dc_(setup.julia ? DeltaPoint{0, 0} : delta),
      dcDouble_{static_cast<double>(dc_.x), static_cast<double>(dc_.y)},
      doubles_(FitsDouble(dc_.x) && FitsDouble(dc_.y)),
      path_(setup.start),
      m_(setup.startIndex),
      dz_(delta),
      stop_(stop) {}

bool DeepPixel::StopAsked() {
  nextStopCheck_ = count_ + kIterationsPerStopCheck;
  stopped_ = stop_ != nullptr && stop_->Stopping();
  return stopped_;
}

bool DeepPixel::ContinueInDeepArithmetic() {
  uint32_t count = 0;
  if (path_.continuation->Count(dz_, dc_, count_, setup_->limit, stop_, &count)) {
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
    if (!leftDoubles_) {
      if (path_.table != nullptr) {
        uint32_t length = 0;
        BlaStep skip;
        while (count_ < limit && path_.table->Find(m_, SquaredSize(dz_), &skip, &length)) {
          const DeltaPoint dz = dz_;
          dz_ = {skip.a.x * dz.x - skip.a.y * dz.y + skip.b.x * dc_.x - skip.b.y * dc_.y,
                 skip.a.x * dz.y + skip.a.y * dz.x + skip.b.x * dc_.y + skip.b.y * dc_.x};
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
    dz_ = PerturbedStep(path_.points[m_], dz_, dc_);
    ++m_;
    if (++count_ >= limit) return true;
  }
}

// After a rebase the whole state that decides the pixel's future is its
// point: the orbit and index are always those of the critical point's start,
// dc is fixed, and no choice depends on the count. The points of successive
// rebases are compared exactly (Brent's method, cycle_check.h); one that
// comes back means the pixel never escapes.
bool DeepPixel::Repeats() {
  if (rebased_) return cycle_.Repeats(dz_.x, dz_.y);
  rebased_ = true;
  cycle_.Start(dz_.x, dz_.y);
  return false;
}

// Between two rebases the pixel's state after a wrap is its delta alone (the
// orbit and the index are the same at every wrap): a delta that comes back
// exactly means the pixel never escapes.
bool DeepPixel::WrapRepeats() {
  if (wrapped_) return wraps_.Repeats(dz_.x, dz_.y);
  wrapped_ = true;
  wraps_.Start(dz_.x, dz_.y);
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

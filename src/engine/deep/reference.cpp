#include "engine/deep/reference.h"

#include <cmath>
#include <limits>
#include <memory>
#include <new>
#include <utility>

#include "engine/cycle_check.h"
#include "engine/deep/fixed.h"
#include "engine/deep/geometry.h"
#include "engine/deep/precision.h"
#include "engine/deep/tiers.h"
#include "engine/fpu_precision.h"

namespace {

constexpr uint32_t kOrbitIterationsPerMessageStep = kReferenceIterationsPerMessageStep;

template <typename Real>
DeltaPoint Rounded(const Real& x, const Real& y) {
  return {x.template convert_to<long double>(), y.template convert_to<long double>()};
}

// The real m * 2^exponent at Real's precision; beyond the range of 80 bits
// through the widest deep real, whose exponent reaches any view's.
template <typename Real>
Real WideReal(long double m, int32_t exponent) {
  if (m == 0 || (exponent > -16000 && exponent < 16000)) return Real(std::ldexp(m, exponent));
  return Real(DeepReal(ldexp(DeepReal(m), exponent)));
}

// x times 2^scale rounded to 80 bits.
template <typename Real>
long double ScaledRounded(const Real& x, int scale) {
  if constexpr (requires { x.ScaledToLongDouble(scale); }) {
    return x.ScaledToLongDouble(scale);
  } else {
    return Real(ldexp(x, scale)).template convert_to<long double>();
  }
}

// A point below the 80-bit range in full: an orbit's points lie on a grid of
// at most the widest tier's fraction bits, which 2^24000 lifts into range.
template <typename Real>
WideDelta WideOf(const Real& x, const Real& y) {
  constexpr int kLift = 24000;
  return Widened(ScaledRounded(x, kLift), ScaledRounded(y, kLift), -kLift);
}

// Where a cut orbit ends: its last point and constant in the deep
// arithmetic, from which a pixel that outlives the orbit while still near it
// is iterated as the plain plotter iterates it.
template <typename Real>
class ExactContinuation : public OrbitContinuation {
 public:
  ExactContinuation(const Real& zx, const Real& zy, const Real& cr, const Real& ci)
      : zx_(zx), zy_(zy), cr_(cr), ci_(ci) {}

  bool Count(const WideDelta& dz, const WideDelta& dc, uint32_t count, uint32_t limit,
             StopSignal* stop, uint32_t* result) const override {
    Real zx = zx_ + WideReal<Real>(dz.m.x, dz.exponent);
    Real zy = zy_ + WideReal<Real>(dz.m.y, dz.exponent);
    const Real cr = cr_ + WideReal<Real>(dc.m.x, dc.exponent);
    const Real ci = ci_ + WideReal<Real>(dc.m.y, dc.exponent);
    const Real four = 4;
    Real xx = zx * zx;
    Real yy = zy * zy;
    Real xy = zx * zy;
    CycleCheck<Real> cycle;
    cycle.Start(zx, zy);
    for (uint32_t untilCheck = kIterationsPerStopCheck; !(xx + yy > four);) {
      if (--untilCheck == 0) {
        untilCheck = kIterationsPerStopCheck;
        if (stop != nullptr && stop->Stopping()) return false;
      }
      zx = xx - yy + cr;
      zy = xy + xy + ci;
      if (++count >= limit || cycle.Repeats(zx, zy)) {
        count = limit;
        break;
      }
      xx = zx * zx;
      yy = zy * zy;
      xy = zx * zy;
    }
    *result = count;
    return true;
  }

 private:
  Real zx_, zy_, cr_, ci_;
};

// Z_0 = (zx, zy), Z_{n+1} = Z_n^2 + c until |Z|^2 > 4, Z comes back exactly
// to an earlier point, or n reaches `length`; visit(n, Z_n) sees every point
// before it is tested. Leaves (zx, zy) at the last point and *outcome at how
// the orbit ended (for a cycle, `wrap` is the index of the earlier point).
template <typename Real, typename Visit>
int FollowOrbit(UiHost& host, Real& zx, Real& zy, const Real& cr, const Real& ci, uint32_t length,
                Visit&& visit, OrbitOutcome* outcome, uint32_t* wrap) {
  const Real four = 4;
  CycleCheck<Real> cycle;
  cycle.Start(zx, zy);
  uint32_t saved = 0;  // the index of the point the cycle check holds
  for (uint32_t n = 0;; ++n) {
    visit(n, zx, zy);
    const Real xx = zx * zx;
    const Real yy = zy * zy;
    if (xx + yy > four) {
      *outcome = {OrbitOutcome::kEscaped, n};
      return kPlotComplete;
    }
    if (n == length) {
      *outcome = {OrbitOutcome::kNeither, n};
      return kPlotComplete;
    }
    if (n > 0) {
      if (cycle.Repeats(zx, zy)) {
        *outcome = {OrbitOutcome::kCycle, n - saved};
        *wrap = saved;
        return kPlotComplete;
      }
      if ((n & (n - 1)) == 0) saved = n;
    }
    zy = zx * zy;
    zy += zy + ci;
    zx = xx - yy + cr;
    if (n % kOrbitIterationsPerMessageStep == kOrbitIterationsPerMessageStep - 1) {
      int stopCode = kPlotExit;
      if (host.PumpOneMessage(&stopCode) != 0) return stopCode;
    }
  }
}

// Runs run(zx, zy, cr, ci) in the fixed-point arithmetic as fine as Real
// when every value is within its range (fixed.h), else in Real.
template <typename Real, typename Run>
int InOrbitArithmetic(const Real& zx, const Real& zy, const Real& cr, const Real& ci, Run&& run) {
  using Fixed = FixedRealFor<std::numeric_limits<Real>::digits>;
  if (Fixed::Holds(zx) && Fixed::Holds(zy) && Fixed::Holds(cr) && Fixed::Holds(ci)) {
    return run(Fixed(zx), Fixed(zy), Fixed(cr), Fixed(ci));
  }
  return run(zx, zy, cr, ci);
}

// The orbit from (zx, zy), kept, to the limit or the most points memory
// allows (halved until they fit). An orbit inside the set ends in its cycle,
// often long before the limit, so that the pixels that follow it rebase soon
// and their own cycles show.
template <typename Real>
int ComputeOrbit(UiHost& host, Real zx, Real zy, const Real& cr, const Real& ci, uint32_t limit,
                 uint32_t mostPoints, ReferenceOrbit* orbit) {
  uint32_t length = limit < mostPoints ? limit : mostPoints;
  while (!orbit->Reserve(length)) {
    if (length < kFewestReferencePoints) return kReferenceNoMemory;
    length /= 2;
  }
  OrbitOutcome outcome{};
  uint32_t wrap = 0;
  const int result = FollowOrbit(
      host, zx, zy, cr, ci, length,
      [orbit](uint32_t n, const Real& x, const Real& y) {
        const DeltaPoint point = Rounded(x, y);
        orbit->Store(n, point);
        if (LargerPart(point) < TinyOrbitPoints::kBelow) {
          const WideDelta wide = WideOf(x, y);
          if (wide.exponent != kWideZeroExponent) orbit->StoreTiny(n, wide);
        }
      },
      &outcome, &wrap);
  if (result != kPlotComplete) return result;
  switch (outcome.kind) {
    case OrbitOutcome::kEscaped:
      orbit->MarkEscaped();
      return kPlotComplete;
    case OrbitOutcome::kCycle:
      orbit->EndInCycle(wrap);
      return kPlotComplete;
    case OrbitOutcome::kNeither:
      break;
  }
  if (length == limit) return kPlotComplete;
  std::unique_ptr<OrbitContinuation> continuation(new (std::nothrow)
                                                      ExactContinuation<Real>(zx, zy, cr, ci));
  if (continuation == nullptr) return kReferenceNoMemory;
  orbit->CutShort(std::move(continuation));
  return kPlotComplete;
}

// How an orbit ends within `length` iterations, the arithmetic of
// ComputeOrbit without keeping the points.
template <typename Real>
int OrbitEnd(UiHost& host, Real zx, Real zy, const Real& cr, const Real& ci, uint32_t length,
             OrbitOutcome* outcome) {
  uint32_t wrap = 0;
  return FollowOrbit(
      host, zx, zy, cr, ci, length, [](uint32_t, const Real&, const Real&) {}, outcome, &wrap);
}

// The outcome of a reference orbit, and the iterations within which a check
// of it must find the same: an escape at the same index, or a cycle of the
// same period, which at a higher precision may take longer to close exactly.
OrbitOutcome OutcomeOf(const ReferenceOrbit& orbit, uint32_t limit, uint32_t* checkLength) {
  if (orbit.Escaped()) {
    *checkLength = orbit.Last();
    return {OrbitOutcome::kEscaped, orbit.Last()};
  }
  if (orbit.Wrap() != ReferenceOrbit::kNoWrap) {
    const uint64_t longer = uint64_t{orbit.Last()} * 4 + 1000;
    *checkLength = longer < limit ? static_cast<uint32_t>(longer) : limit;
    return {OrbitOutcome::kCycle, orbit.Last() - orbit.Wrap()};
  }
  *checkLength = orbit.Last();
  return {OrbitOutcome::kNeither, orbit.Last()};
}

template <typename Real>
int CheckAtTier(UiHost& host, const PlotRecord& record, ReferencePixel pixel, uint32_t limit,
                const DeepReference& reference, bool checkCritical, bool* holds) {
  const DeepPixelGrid<Real> grid(record);
  const bool julia = (record.flags & kFlagJulia) != 0;
  const Real x = grid.Column(pixel.column);
  const Real y = grid.Line(pixel.line);
  const Real cr = julia ? DeepJuliaR<Real>(record) : x;
  const Real ci = julia ? DeepJuliaI<Real>(record) : y;
  *holds = true;
  for (int k = 0; k < (julia && checkCritical ? 2 : 1) && *holds; ++k) {
    const ReferenceOrbit& orbit = k == 0 ? reference.start : reference.critical;
    uint32_t length = 0;
    const OrbitOutcome expected = OutcomeOf(orbit, limit, &length);
    OrbitOutcome checked{};
    const bool fromZero = !julia || k == 1;
    const int result = InOrbitArithmetic(
        fromZero ? Real(0) : x, fromZero ? Real(0) : y, cr, ci,
        [&](const auto& zx, const auto& zy, const auto& orbitCr, const auto& orbitCi) {
          return OrbitEnd(host, zx, zy, orbitCr, orbitCi, length, &checked);
        });
    if (result != kPlotComplete) return result;
    *holds = checked.kind == expected.kind && checked.n == expected.n;
  }
  return kPlotComplete;
}

// The reference's orbits at the point (re, im): Mandelbrot, of 0 under it;
// Julia, of the point and of 0 under the record's constant.
template <typename Real>
int ComputeOrbits(UiHost& host, const PlotRecord& record, const Real& re, const Real& im,
                  uint32_t limit, uint32_t mostPoints, DeepReference* reference) {
  const auto compute = [&](ReferenceOrbit* orbit) {
    return [&host, limit, mostPoints, orbit](const auto& zx, const auto& zy, const auto& cr,
                                             const auto& ci) {
      return ComputeOrbit(host, zx, zy, cr, ci, limit, mostPoints, orbit);
    };
  };
  if ((record.flags & kFlagJulia) == 0) {
    return InOrbitArithmetic(Real(0), Real(0), re, im, compute(&reference->start));
  }
  const Real cr = DeepJuliaR<Real>(record);
  const Real ci = DeepJuliaI<Real>(record);
  const int result = InOrbitArithmetic(re, im, cr, ci, compute(&reference->start));
  if (result != kPlotComplete) return result;
  return InOrbitArithmetic(Real(0), Real(0), cr, ci, compute(&reference->critical));
}

// Every pixel's offset from the point (re, im), the difference at the plot's
// precision scaled by 2^offsetScale and rounded once to 80 bits.
template <typename Real>
bool ComputeOffsetsAtTier(const PlotRecord& record, const DeepPixelGrid<Real>& grid, const Real& re,
                          const Real& im, DeepReference* reference) {
  reference->columnOffsets.reset(new (std::nothrow) long double[static_cast<size_t>(record.sizeX)]);
  reference->lineOffsets.reset(new (std::nothrow) long double[static_cast<size_t>(record.sizeY)]);
  if (reference->columnOffsets == nullptr || reference->lineOffsets == nullptr) return false;
  const int32_t scale = DeepOffsetScale(record);
  reference->offsetScale = scale;
  const auto offset = [scale](const Real& difference) {
    return (scale == 0 ? difference : Real(ldexp(difference, scale)))
        .template convert_to<long double>();
  };
  long double widest = 0, highest = 0;
  for (int32_t column = 0; column < record.sizeX; ++column) {
    reference->columnOffsets[column] = offset(Real(grid.Column(column) - re));
    widest = std::fmax(widest, std::fabs(reference->columnOffsets[column]));
  }
  for (int32_t line = 0; line < record.sizeY; ++line) {
    reference->lineOffsets[line] = offset(Real(grid.Line(line) - im));
    highest = std::fmax(highest, std::fabs(reference->lineOffsets[line]));
  }
  reference->largestOffset = std::hypot(widest, highest);
  return true;
}

template <typename Real>
int ComputeAtTier(UiHost& host, const PlotRecord& record, ReferencePixel pixel, uint32_t limit,
                  uint32_t mostPoints, DeepReference* reference) {
  const DeepPixelGrid<Real> grid(record);
  const Real centreX = grid.Column(pixel.column);
  const Real centreY = grid.Line(pixel.line);
  if (!ComputeOffsetsAtTier(record, grid, centreX, centreY, reference)) return kReferenceNoMemory;

  return ComputeOrbits(host, record, centreX, centreY, limit, mostPoints, reference);
}

}  // namespace

int ComputeDeepReference(UiHost& host, const PlotRecord& record, unsigned bits,
                         ReferencePixel pixel, uint32_t limit, uint32_t mostPoints,
                         DeepReference* reference) {
  ExtendedPrecisionScope precision;  // the roundings to 80 bits
  return VisitDeepTier(bits, [&](auto tier) {
    return ComputeAtTier<typename decltype(tier)::type>(host, record, pixel, limit, mostPoints,
                                                        reference);
  });
}

int CheckDeepReference(UiHost& host, const PlotRecord& record, unsigned bits, ReferencePixel pixel,
                       uint32_t limit, const DeepReference& reference, bool checkCritical,
                       bool* holds) {
  return VisitDeepTier(bits, [&](auto tier) {
    return CheckAtTier<typename decltype(tier)::type>(host, record, pixel, limit, reference,
                                                      checkCritical, holds);
  });
}

int FollowDeepReferenceEnd(UiHost& host, const PlotRecord& record, unsigned bits,
                           ReferencePixel pixel, uint32_t limit, FollowedEnd* end) {
  return VisitDeepTier(bits, [&](auto tier) -> int {
    using Real = typename decltype(tier)::type;
    const DeepPixelGrid<Real> grid(record);
    const Real cr = grid.Column(pixel.column);
    const Real ci = grid.Line(pixel.line);
    Real zx = 0, zy = 0;
    OrbitOutcome outcome{};
    uint32_t wrap = 0;
    const int result = FollowOrbit(
        host, zx, zy, cr, ci, limit, [](uint32_t, const Real&, const Real&) {}, &outcome, &wrap);
    if (result != kPlotComplete) return result;
    *end = {outcome, outcome.kind == OrbitOutcome::kCycle ? wrap + outcome.n : outcome.n};
    return kPlotComplete;
  });
}

uint32_t DeepReferenceCheckLength(const DeepReference& reference, uint32_t limit) {
  uint32_t length = 0;
  OutcomeOf(reference.start, limit, &length);
  return length;
}

bool ReferenceEndHolds(const DeepReference& reference, uint32_t limit, const FollowedEnd& end) {
  uint32_t length = 0;
  const OrbitOutcome expected = OutcomeOf(reference.start, limit, &length);
  // A check that follows the orbit `length` iterations sees an escape up to
  // and at the last of them, a cycle only before it.
  OrbitOutcome seen = {OrbitOutcome::kNeither, length};
  if ((end.outcome.kind == OrbitOutcome::kEscaped && end.at <= length) ||
      (end.outcome.kind == OrbitOutcome::kCycle && end.at < length)) {
    seen = end.outcome;
  }
  return seen.kind == expected.kind && seen.n == expected.n;
}

int ComputeDeepOrbitsAt(UiHost& host, const PlotRecord& record, unsigned bits,
                        const PreciseCoordinate& re, const PreciseCoordinate& im, uint32_t limit,
                        uint32_t mostPoints, DeepReference* reference) {
  ExtendedPrecisionScope precision;
  const DeepReal pointRe = ToDeepReal(re);
  const DeepReal pointIm = ToDeepReal(im);
  return VisitDeepTier(bits, [&](auto tier) {
    using Real = typename decltype(tier)::type;
    return ComputeOrbits(host, record, Real(pointRe), Real(pointIm), limit, mostPoints, reference);
  });
}

bool ComputeDeepOffsets(const PlotRecord& record, unsigned bits, const PreciseCoordinate& re,
                        const PreciseCoordinate& im, DeepReference* reference) {
  ExtendedPrecisionScope precision;
  return VisitDeepTier(bits, [&](auto tier) {
    using Real = typename decltype(tier)::type;
    return ComputeOffsetsAtTier(record, DeepPixelGrid<Real>(record), Real(ToDeepReal(re)),
                                Real(ToDeepReal(im)), reference);
  });
}

void DeepPixelPoint(const PlotRecord& record, unsigned bits, ReferencePixel pixel,
                    PreciseCoordinate* re, PreciseCoordinate* im) {
  ExtendedPrecisionScope precision;
  VisitDeepTier(bits, [&](auto tier) {
    const DeepPixelGrid<typename decltype(tier)::type> grid(record);
    *re = ToPrecise(DeepReal(grid.Column(pixel.column)));
    *im = ToPrecise(DeepReal(grid.Line(pixel.line)));
  });
}

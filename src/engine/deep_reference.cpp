#include "engine/deep_reference.h"

#include <cmath>
#include <new>

#include "engine/cycle_check.h"
#include "engine/deep_geometry.h"
#include "engine/deep_tiers.h"
#include "engine/fpu_precision.h"

namespace {

// Reference iterations between two message steps: a few milliseconds at the
// widest tier.
constexpr uint32_t kIterationsPerMessageStep = 256;

template <typename Real>
DeltaPoint Rounded(const Real& x, const Real& y) {
  return {x.template convert_to<long double>(), y.template convert_to<long double>()};
}

// An orbit that came back at Z_n to a point saved at least n/2 steps before
// runs through its whole cycle in Z_n/2 ... Z_n. It ends at the point of the
// cycle nearest the critical point: the pixels that follow it are near it
// there too, and their points, which become the deltas of their rebase, keep
// their full relative precision.
void EndInCycle(ReferenceOrbit* orbit, uint32_t n) {
  const DeltaPoint* points = orbit->Points();
  uint32_t nearest = n;
  for (uint32_t m = n / 2; m < n; ++m) {
    if (SquaredSize(points[m]) < SquaredSize(points[nearest])) nearest = m;
  }
  orbit->EndAt(nearest);
}

// Z_0 = (zx, zy), Z_{n+1} = Z_n^2 + c until |Z|^2 > 4, Z comes back exactly
// to an earlier point, or n reaches the orbit's length for the limit. An
// orbit inside the set ends in its cycle, often long before the limit, so
// that the pixels that follow it rebase soon and their own cycles show.
template <typename Real>
int ComputeOrbit(UiHost& host, Real zx, Real zy, const Real& cr, const Real& ci, uint32_t limit,
                 ReferenceOrbit* orbit) {
  limit = ReferenceIterations(limit);
  if (!orbit->Reserve(limit)) return kReferenceNoMemory;
  const Real four = 4;
  CycleCheck<Real> cycle;
  cycle.Start(zx, zy);
  for (uint32_t n = 0;; ++n) {
    orbit->Store(n, Rounded(zx, zy));
    const Real xx = zx * zx;
    const Real yy = zy * zy;
    if (xx + yy > four) {
      orbit->MarkEscaped();
      return kPlotComplete;
    }
    if (n == limit) return kPlotComplete;
    if (n > 0 && cycle.Repeats(zx, zy)) {
      EndInCycle(orbit, n);
      return kPlotComplete;
    }
    zy = zx * zy;
    zy += zy + ci;
    zx = xx - yy + cr;
    if (n % kIterationsPerMessageStep == kIterationsPerMessageStep - 1) {
      int stopCode = kPlotExit;
      if (host.PumpOneMessage(&stopCode) != 0) return stopCode;
    }
  }
}

template <typename Real>
int ComputeAtTier(UiHost& host, const PlotRecord& record, ReferencePixel pixel, uint32_t limit,
                  DeepReference* reference) {
  const DeepPixelGrid<Real> grid(record);
  const Real centreX = grid.Column(pixel.column);
  const Real centreY = grid.Line(pixel.line);

  reference->columnOffsets.reset(new (std::nothrow) long double[static_cast<size_t>(record.sizeX)]);
  reference->lineOffsets.reset(new (std::nothrow) long double[static_cast<size_t>(record.sizeY)]);
  if (reference->columnOffsets == nullptr || reference->lineOffsets == nullptr) {
    return kReferenceNoMemory;
  }
  long double widest = 0, highest = 0;
  for (int32_t column = 0; column < record.sizeX; ++column) {
    const long double offset =
        Real(grid.Column(column) - centreX).template convert_to<long double>();
    reference->columnOffsets[column] = offset;
    widest = std::fmax(widest, std::fabs(offset));
  }
  for (int32_t line = 0; line < record.sizeY; ++line) {
    const long double offset = Real(grid.Line(line) - centreY).template convert_to<long double>();
    reference->lineOffsets[line] = offset;
    highest = std::fmax(highest, std::fabs(offset));
  }
  reference->largestOffset = std::hypot(widest, highest);

  if ((record.flags & kFlagJulia) == 0) {
    return ComputeOrbit(host, Real(0), Real(0), centreX, centreY, limit, &reference->start);
  }
  const Real cr = DeepJuliaR<Real>(record);
  const Real ci = DeepJuliaI<Real>(record);
  const int result = ComputeOrbit(host, centreX, centreY, cr, ci, limit, &reference->start);
  if (result != kPlotComplete) return result;
  return ComputeOrbit(host, Real(0), Real(0), cr, ci, limit, &reference->critical);
}

}  // namespace

int ComputeDeepReference(UiHost& host, const PlotRecord& record, unsigned bits,
                         ReferencePixel pixel, uint32_t limit, DeepReference* reference) {
  ExtendedPrecisionScope precision;  // the roundings to 80 bits
  return VisitDeepTier(bits, [&](auto tier) {
    return ComputeAtTier<typename decltype(tier)::type>(host, record, pixel, limit, reference);
  });
}

int ComputeDeepOrbitsAt(UiHost& host, const PlotRecord& record, unsigned bits,
                        const PreciseCoordinate& re, const PreciseCoordinate& im, uint32_t limit,
                        DeepReference* reference) {
  ExtendedPrecisionScope precision;
  const DeepReal pointRe = ToDeepReal(re);
  const DeepReal pointIm = ToDeepReal(im);
  return VisitDeepTier(bits, [&](auto tier) {
    using Real = typename decltype(tier)::type;
    if ((record.flags & kFlagJulia) == 0) {
      return ComputeOrbit(host, Real(0), Real(0), Real(pointRe), Real(pointIm), limit,
                          &reference->start);
    }
    const Real cr = DeepJuliaR<Real>(record);
    const Real ci = DeepJuliaI<Real>(record);
    const int result =
        ComputeOrbit(host, Real(pointRe), Real(pointIm), cr, ci, limit, &reference->start);
    if (result != kPlotComplete) return result;
    return ComputeOrbit(host, Real(0), Real(0), cr, ci, limit, &reference->critical);
  });
}

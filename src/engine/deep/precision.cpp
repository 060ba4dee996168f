#include "engine/deep/precision.h"

#include <cmath>
#include <limits>

#include "engine/deep/geometry.h"
#include "engine/deep/tiers.h"
#include "engine/fpu_precision.h"
#include "engine/plot_progress.h"

namespace {

constexpr unsigned kMostBits = PreciseCoordinate::kWords * 32;

// Once a pixel's image is this large (log2), later iterations ask for no
// more bits.
constexpr long double kLargeImageLog2 = -8;
// A pixel image squeezed below this (log2) is beyond every tier: the probe
// ends there as though the images never spread again.
constexpr long double kFinestImageLog2 = -2.0L * kWidestDeepTier;

// What the probe of a Julia view found, as log2 of the finest resolution
// asked for (0 or below; more negative is finer), up to the point where the
// pixel images spread apart again (they grow back to kLargeImageLog2 or the
// orbit escapes); 0 when they never do within the limit.
struct JuliaSqueeze {
  long double finestBeforeSpread = 0;
};

// log2 of the view's pixel step, at any depth; not finite for a height that
// is no finite positive number.
long double StepLog2(const PlotRecord& record) {
  return HeightLog2(record.height, record.preciseHeight) -
         std::log2(static_cast<long double>(record.sizeY));
}

// A Julia set near a preimage of the critical point 0: the pixels whose orbit
// passes near 0 are squared there, z^2 + c, so their images shrink to the
// square of their size and must still be told apart beside c. Follows the
// orbit of the centre pixel with the size of the smallest pixel image: it
// grows by 2 |z| at each step, with |z| the distance from 0 of the nearest
// point of the view's image (its image spans `across` pixel images), and at
// least by the image's own size. The size is kept as its log2, which does not
// underflow however deep the view.
template <typename Real>
JuliaSqueeze JuliaSqueezeAtTier(const PlotRecord& record) {
  PlotRecord view = record;
  view.shownHeight = view.height;
  view.preciseShownHeight = view.preciseHeight;
  const DeepPixelGrid<Real> grid(view);
  const long double across = static_cast<long double>(record.sizeX) + record.sizeY;
  const Real cr = DeepJuliaR<Real>(record);
  const Real ci = DeepJuliaI<Real>(record);
  const Real four = 4;
  Real zx = grid.Column(record.sizeX / 2);
  Real zy = grid.Line(record.sizeY / 2);
  long double image = StepLog2(record);
  long double finest = 0;
  JuliaSqueeze squeeze;
  bool spread = image >= kLargeImageLog2;
  // At most the 80-bit plotters' limit even for a deeper one: an image still
  // small after that many steps lies in a basin where the pixels draw
  // together, and the probe, which takes no messages, stays short.
  const uint32_t limit = EffectiveLimit(record.limit);
  for (uint32_t n = 0; n <= limit && image > kFinestImageLog2 && image < kLargeImageLog2; ++n) {
    const Real xx = zx * zx;
    const Real yy = zy * zy;
    const long double size = std::sqrt((xx + yy).template convert_to<long double>());
    const long double linear = std::exp2(image);  // 0 below the 80-bit range
    finest = std::fmin(finest, image - std::log2(std::fmax(4, size + across * linear)));
    if (xx + yy > four) {
      spread = true;
      break;
    }
    const long double rest = size - across * linear;
    image += 1 + (rest > linear ? std::log2(rest) : image);
    zy = zx * zy;
    zy += zy + ci;
    zx = xx - yy + cr;
    if (image >= kLargeImageLog2) spread = true;
  }
  if (spread) squeeze.finestBeforeSpread = finest;
  return squeeze;
}

JuliaSqueeze JuliaSqueezeAt(const PlotRecord& record, unsigned bits) {
  return VisitDeepTier(
      bits, [&](auto tier) { return JuliaSqueezeAtTier<typename decltype(tier)::type>(record); });
}

unsigned BitsResolving(long double finest, unsigned guard) {
  const long double bits = std::ceil(-finest) + guard;
  return bits < kMostBits ? static_cast<unsigned>(bits) : kMostBits;
}

// The bits of the view's pixel step at the size of its coordinates (at least
// 4), with the guard bits; for a view without a finite positive step, or with
// coordinates beyond every number, the narrowest tier.
unsigned StepBits(const PlotRecord& record) {
  const long double stepLog2 = StepLog2(record);
  const long double step = std::exp2(stepLog2);  // 0 below the 80-bit range
  long double size = 4;
  const long double coordinates[] = {record.x, record.y, record.x + step * record.sizeX,
                                     record.y + step * record.sizeY};
  for (const long double coordinate : coordinates) size = std::fmax(size, std::fabs(coordinate));
  if ((record.flags & kFlagJulia) != 0) {
    size = std::fmax(size, std::fmax(std::fabs(record.juliaR), std::fabs(record.juliaI)));
  }
  // A view without a finite positive step or with coordinates beyond every
  // number has nothing to resolve: the narrowest tier computes it.
  if (!std::isfinite(stepLog2) || !std::isfinite(step) || !std::isfinite(size)) {
    return kDeepTiers[0];
  }
  // Beyond the precise coordinates' own width nothing more is known of the view.
  const long double stepBits = std::ceil(std::log2(size) - stepLog2) + kDeepGuardBits;
  return stepBits < kMostBits ? static_cast<unsigned>(stepBits) : kMostBits;
}

// The probe is computed at the bits the step asks for, and once more at the
// bits it asks for itself when they were more. Pixel images that never spread
// again lie in a basin, where they keep the same count however coarsely they
// are resolved: only the squeeze before a spread asks for bits. Returns the
// bits it was computed at last, and what it found there.
unsigned ProbeRounds(const PlotRecord& record, JuliaSqueeze* found) {
  unsigned bits = StepBits(record);
  for (int round = 0; round < 2; ++round) {
    *found = JuliaSqueezeAt(record, bits);
    const unsigned asked = BitsResolving(found->finestBeforeSpread, kDeepGuardBits);
    if (DeepTierAtLeast(asked) <= DeepTierAtLeast(bits)) break;
    bits = asked;
  }
  return bits;
}

bool HasJuliaProbe(const PlotRecord& record) {
  return (record.flags & kFlagJulia) != 0 && std::isfinite(StepLog2(record));
}

}  // namespace

long double HeightLog2(double field, const PreciseCoordinate& precise) {
  if (field == field && PreciseMatchesDouble(field, precise)) {
    if (precise.kind != PreciseCoordinate::kFinite || precise.negative) {
      return std::numeric_limits<long double>::quiet_NaN();
    }
    // The mantissa is normalised: its top word holds the leading bit at 31.
    const uint64_t top = (uint64_t{precise.mantissa[PreciseCoordinate::kWords - 1]} << 32) |
                         precise.mantissa[PreciseCoordinate::kWords - 2];
    return precise.exponent + std::log2(std::ldexp(static_cast<long double>(top), -63));
  }
  if (!(field > 0) || !std::isfinite(field)) return std::numeric_limits<long double>::quiet_NaN();
  return std::log2(static_cast<long double>(field));
}

bool DeepHeightServed(const PlotRecord& record) {
  // A hair below, so that the deepest height itself, read from its text, is served.
  return HeightLog2(record.height, record.preciseHeight) >= kDeepestHeightLog2 - 0x1p-20L;
}

int32_t DeepOffsetScale(const PlotRecord& record) {
  const long double log2 = HeightLog2(record.shownHeight, record.preciseShownHeight);
  if (!std::isfinite(log2)) return 0;
  const int32_t scale = -static_cast<int32_t>(std::floor(log2));
  if (log2 < kDeepestX87HeightLog2 - 0x1p-20L) return scale;
  // A Julia view whose pixels pass near the critical point is squeezed
  // there: their images are about the square of their size, below the 80-bit
  // range for a view below 1e-2450. Its pixels start as 80-bit deltas and
  // are held wide only where a step would take them below that range.
  return (record.flags & kFlagJulia) != 0 && log2 < kDeepestX87HeightLog2 / 2 ? scale : 0;
}

unsigned DeepTierAtLeast(unsigned bits) {
  for (const unsigned tier : kDeepTiers) {
    if (tier >= bits) return tier;
  }
  return kWidestDeepTier;
}

unsigned NextDeepTier(unsigned bits) {
  for (const unsigned tier : kDeepTiers) {
    if (tier > bits) return tier;
  }
  return kWidestDeepTier;
}

unsigned DeepBitsNeeded(const PlotRecord& record) {
  ExtendedPrecisionScope precision;
  if (!HasJuliaProbe(record)) return StepBits(record);
  JuliaSqueeze found;
  return ProbeRounds(record, &found);
}

unsigned JuliaSpreadBits(const PlotRecord& record) {
  if (!HasJuliaProbe(record)) return 0;
  ExtendedPrecisionScope precision;
  JuliaSqueeze found;
  ProbeRounds(record, &found);
  return BitsResolving(found.finestBeforeSpread, 0);
}

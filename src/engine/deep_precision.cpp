#include "engine/deep_precision.h"

#include <cmath>

#include "engine/deep_geometry.h"
#include "engine/deep_tiers.h"
#include "engine/fpu_precision.h"
#include "engine/plot_progress.h"

namespace {

constexpr unsigned kMostBits = PreciseCoordinate::kWords * 32;

// Once a pixel's image is this large, later iterations ask for no more bits.
constexpr long double kLargeImage = 0x1p-8L;

// What the probe of a Julia view found, as log2 of the finest resolution
// asked for (0 or below; more negative is finer).
struct JuliaSqueeze {
  long double finest = 0;  // over the whole probe
  // Up to the point where the pixel images spread apart again (they grow back
  // to kLargeImage or the orbit escapes); 0 when they never do within the limit.
  long double finestBeforeSpread = 0;
};

// A Julia set near a preimage of the critical point 0: the pixels whose orbit
// passes near 0 are squared there, z^2 + c, so their images shrink to the
// square of their size and must still be told apart beside c. Follows the
// orbit of the centre pixel with the size of the smallest pixel image: it
// grows by 2 |z| at each step, with |z| the distance from 0 of the nearest
// point of the view's image (its image spans `across` pixel images), and at
// least by the image's own size.
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
  long double image = grid.Step().template convert_to<long double>();
  JuliaSqueeze squeeze;
  bool spread = image >= kLargeImage;
  // At most the 80-bit plotters' limit even for a deeper one: an image still
  // below kLargeImage after that many steps lies in a basin where the pixels
  // draw together, and the probe, which takes no messages, stays short.
  const uint32_t limit = EffectiveLimit(record.limit);
  for (uint32_t n = 0; n <= limit && image > 0 && image < kLargeImage; ++n) {
    const Real xx = zx * zx;
    const Real yy = zy * zy;
    const long double size = std::sqrt((xx + yy).template convert_to<long double>());
    squeeze.finest =
        std::fmin(squeeze.finest, std::log2(image / std::fmax(4, size + across * image)));
    if (xx + yy > four) {
      spread = true;
      break;
    }
    const long double nearest = std::fmax(size - across * image, image);
    image *= 2 * nearest;
    zy = zx * zy;
    zy += zy + ci;
    zx = xx - yy + cr;
    if (image >= kLargeImage) spread = true;
  }
  if (spread) squeeze.finestBeforeSpread = squeeze.finest;
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
  const long double step = static_cast<long double>(record.height) / record.sizeY;
  long double size = 4;
  const long double coordinates[] = {record.x, record.y, record.x + step * record.sizeX,
                                     record.y + step * record.sizeY};
  for (const long double coordinate : coordinates) size = std::fmax(size, std::fabs(coordinate));
  if ((record.flags & kFlagJulia) != 0) {
    size = std::fmax(size, std::fmax(std::fabs(record.juliaR), std::fabs(record.juliaI)));
  }
  // A view without a finite positive step or with coordinates beyond every
  // number has nothing to resolve: the narrowest tier computes it.
  if (!(step > 0) || !std::isfinite(step) || !std::isfinite(size)) return kDeepTiers[0];
  // Beyond the precise coordinates' own width nothing more is known of the view.
  const long double stepBits = std::ceil(std::log2(size / step)) + kDeepGuardBits;
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
  return (record.flags & kFlagJulia) != 0 && record.height > 0 && std::isfinite(record.height);
}

}  // namespace

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

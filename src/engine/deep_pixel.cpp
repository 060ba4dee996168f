#include "engine/deep_pixel.h"

uint32_t DeepPixelCount(const DeepPixelSetup& setup, DeltaPoint delta) {
  const DeltaPoint dc = setup.julia ? DeltaPoint{0, 0} : delta;
  const uint32_t limit = setup.limit;
  DeepOrbitPath path = setup.start;
  uint32_t m = setup.startIndex;
  DeltaPoint dz = delta;
  uint32_t count = 0;
  for (;;) {
    if (path.table != nullptr) {
      uint32_t length = 0;
      const BlaStep* skip;
      while ((skip = path.table->Find(m, SquaredSize(dz), limit - count, &length)) != nullptr) {
        dz = {skip->a.x * dz.x - skip->a.y * dz.y + skip->b.x * dc.x - skip->b.y * dc.y,
              skip->a.x * dz.y + skip->a.y * dz.x + skip->b.x * dc.y + skip->b.y * dc.x};
        m += length;
        count += length;
      }
      if (count >= limit) return limit;
    }
    const DeltaPoint reference = path.points[m];
    const DeltaPoint z = {reference.x + dz.x, reference.y + dz.y};
    const long double size2 = SquaredSize(z);
    if (size2 > 4) return count;
    if (size2 < SquaredSize(dz) || m == path.last) {
      path = setup.critical;
      m = 0;
      dz = z;
    }
    dz = PerturbedStep(path.points[m], dz, dc);
    ++m;
    if (++count >= limit) return count;
  }
}

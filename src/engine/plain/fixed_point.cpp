#include "engine/plain/fixed_point.h"

#include <cmath>

int32_t ToFixed(long double v) {
  // Scaling by a power of two is exact; so is fmodl, which reduces any
  // magnitude to the low 32 bits without an out-of-range conversion.
  const long double scaled = std::trunc(v * kFixedOne);
  if (!std::isfinite(scaled)) return 0;
  const long double low = std::fmod(scaled, 4294967296.0L);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(low)));
}

#include "engine/fast/integer_lanes.h"

#include "engine/plain/fixed_point.h"

namespace {

constexpr int kScalarLanes = 4;

}  // namespace

// The same block in plain code, for processors without SSE2 (and as the
// plainest statement of what the vector kernels do).
IntegerBlockResult RunIntegerBlockScalar(IntegerLanes& lanes, uint32_t iterations) {
  uint32_t entry = 0;
  for (int lane = 0; lane < kScalarLanes; ++lane) {
    if (lanes.remaining[lane] > 0) entry |= 1u << lane;
  }
  uint32_t now = entry;
  uint32_t done = 0;
  while (done < iterations) {
    for (int lane = 0; lane < kScalarLanes; ++lane) {
      if (((now >> lane) & 1) == 0) continue;
      const int32_t x = static_cast<int32_t>(lanes.x[lane]);
      const int32_t y = static_cast<int32_t>(lanes.y[lane]);
      const int64_t xx = FixedProduct(x, x);
      const int64_t yy = FixedProduct(y, y);
      if (FixedEscaped(xx, yy) || lanes.remaining[lane] <= 0) {
        now &= ~(1u << lane);
        continue;
      }
      --lanes.remaining[lane];
      const int32_t cx = static_cast<int32_t>(lanes.cx[lane]);
      const int32_t cy = static_cast<int32_t>(lanes.cy[lane]);
      lanes.y[lane] = WrapAdd(ProductToFixed(FixedProduct(x, y), 27), cy);
      lanes.x[lane] = WrapAdd(ProductToFixed(xx - yy, kFixedFractionBits), cx);
    }
    ++done;
    if (now != entry) break;
  }
  return {done, now};
}

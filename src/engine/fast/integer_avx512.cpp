#include <immintrin.h>

#include "engine/fast/integer_lanes.h"

#pragma GCC push_options
#pragma GCC target("avx512f")
// GCC 12 reports the undefined source operand inside its own AVX-512
// intrinsics as possibly uninitialised.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

namespace {

constexpr int kWidth = 8;
constexpr int kVectors = 2;

}  // namespace

// The loop of integer_vectors.h with AVX-512 mask registers in place of
// vector masks.
IntegerBlockResult RunIntegerBlockAvx512(IntegerLanes& lanes, uint32_t iterations) {
  __m512i x[kVectors], y[kVectors], cx[kVectors], cy[kVectors], remaining[kVectors];
  __mmask8 active[kVectors];
  const __m512i zero = _mm512_setzero_si512();
  const __m512i one = _mm512_set1_epi64(1);
  const __m512i bound = _mm512_set1_epi64((1 << 26) - 1);
  uint32_t entry = 0;
  for (int v = 0; v < kVectors; ++v) {
    x[v] = _mm512_loadu_si512(lanes.x + v * kWidth);
    y[v] = _mm512_loadu_si512(lanes.y + v * kWidth);
    cx[v] = _mm512_loadu_si512(lanes.cx + v * kWidth);
    cy[v] = _mm512_loadu_si512(lanes.cy + v * kWidth);
    remaining[v] = _mm512_loadu_si512(lanes.remaining + v * kWidth);
    active[v] = _mm512_cmpgt_epi64_mask(remaining[v], zero);
    entry |= static_cast<uint32_t>(active[v]) << (v * kWidth);
  }
  uint32_t now = entry;
  uint32_t done = 0;
  while (done < iterations) {
    now = 0;
    for (int v = 0; v < kVectors; ++v) {
      const __m512i xx = _mm512_mul_epi32(x[v], x[v]);
      const __m512i yy = _mm512_mul_epi32(y[v], y[v]);
      const __m512i xy = _mm512_mul_epi32(x[v], y[v]);
      const __m512i high = _mm512_add_epi64(_mm512_srli_epi64(xx, 32), _mm512_srli_epi64(yy, 32));
      active[v] = _mm512_mask_cmple_epi64_mask(active[v], high, bound);
      active[v] = _mm512_mask_cmpgt_epi64_mask(active[v], remaining[v], zero);
      remaining[v] = _mm512_mask_sub_epi64(remaining[v], active[v], remaining[v], one);
      x[v] = _mm512_add_epi32(_mm512_srli_epi64(_mm512_sub_epi64(xx, yy), 28), cx[v]);
      y[v] = _mm512_add_epi32(_mm512_srli_epi64(xy, 27), cy[v]);
      now |= static_cast<uint32_t>(active[v]) << (v * kWidth);
    }
    ++done;
    if (now != entry) break;
  }
  for (int v = 0; v < kVectors; ++v) {
    _mm512_storeu_si512(lanes.x + v * kWidth, x[v]);
    _mm512_storeu_si512(lanes.y + v * kWidth, y[v]);
    _mm512_storeu_si512(lanes.remaining + v * kWidth, remaining[v]);
  }
  return {done, now};
}

#pragma GCC diagnostic pop
#pragma GCC pop_options

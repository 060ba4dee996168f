#pragma once
// The 128-bit vector operations the SSE2 and SSE4.1 integer kernels share.
// Included after the including file's `#pragma GCC target`. SSE before 4.2
// has no 64-bit comparison; the values compared fit in the low 32 bits of
// each lane, so a 32-bit comparison of the low halves, copied to the high
// halves, serves.

#include <emmintrin.h>

#include <cstdint>

namespace {

struct Sse128Ops {
  using V = __m128i;
  static constexpr int kWidth = 2;
  static constexpr int kVectors = 4;

  static V Load(const int64_t* p) { return _mm_loadu_si128(reinterpret_cast<const V*>(p)); }
  static void Store(int64_t* p, V v) { _mm_storeu_si128(reinterpret_cast<V*>(p), v); }
  static V Add64(V a, V b) { return _mm_add_epi64(a, b); }
  static V Sub64(V a, V b) { return _mm_sub_epi64(a, b); }
  static V Add32(V a, V b) { return _mm_add_epi32(a, b); }
  template <int n>
  static V ShiftRight(V v) {
    return _mm_srli_epi64(v, n);
  }
  static V And(V a, V b) { return _mm_and_si128(a, b); }
  static V AndNot(V a, V b) { return _mm_andnot_si128(a, b); }
  static V LowToBoth(V m) { return _mm_shuffle_epi32(m, _MM_SHUFFLE(2, 2, 0, 0)); }
  // h may be 2^31 (both squares of -8), so the comparison is unsigned.
  static V EscapeMask(V h) {
    const V bias = _mm_set1_epi32(INT32_MIN);
    const V bound = _mm_set1_epi32(static_cast<int32_t>((1u << 26) - 1) ^ INT32_MIN);
    return LowToBoth(_mm_cmpgt_epi32(_mm_xor_si128(h, bias), bound));
  }
  static V Positive(V v) { return LowToBoth(_mm_cmpgt_epi32(v, _mm_setzero_si128())); }
  static uint32_t LaneBits(V m) {
    return static_cast<uint32_t>(_mm_movemask_pd(_mm_castsi128_pd(m)));
  }
};

}  // namespace

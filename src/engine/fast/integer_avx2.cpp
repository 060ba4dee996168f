#include <immintrin.h>

#include "engine/fast/integer_lanes.h"

#pragma GCC push_options
#pragma GCC target("avx2")

#include "engine/fast/integer_vectors.h"

namespace {

struct Avx2Ops {
  using V = __m256i;
  static constexpr int kWidth = 4;
  static constexpr int kVectors = 2;

  static V Load(const int64_t* p) { return _mm256_loadu_si256(reinterpret_cast<const V*>(p)); }
  static void Store(int64_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<V*>(p), v); }
  static V Add64(V a, V b) { return _mm256_add_epi64(a, b); }
  static V Sub64(V a, V b) { return _mm256_sub_epi64(a, b); }
  static V Add32(V a, V b) { return _mm256_add_epi32(a, b); }
  template <int n>
  static V ShiftRight(V v) {
    return _mm256_srli_epi64(v, n);
  }
  static V Multiply(V a, V b) { return _mm256_mul_epi32(a, b); }
  static V And(V a, V b) { return _mm256_and_si256(a, b); }
  static V AndNot(V a, V b) { return _mm256_andnot_si256(a, b); }
  static V EscapeMask(V h) { return _mm256_cmpgt_epi64(h, _mm256_set1_epi64x((1 << 26) - 1)); }
  static V Positive(V v) { return _mm256_cmpgt_epi64(v, _mm256_setzero_si256()); }
  static uint32_t LaneBits(V m) {
    return static_cast<uint32_t>(_mm256_movemask_pd(_mm256_castsi256_pd(m)));
  }
};

}  // namespace

IntegerBlockResult RunIntegerBlockAvx2(IntegerLanes& lanes, uint32_t iterations) {
  return RunVectorBlock<Avx2Ops>(lanes, iterations);
}

#pragma GCC pop_options

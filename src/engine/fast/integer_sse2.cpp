#include <emmintrin.h>

#include "engine/fast/integer_lanes.h"

#pragma GCC push_options
#pragma GCC target("sse2")

#include "engine/fast/integer_sse_ops.h"
#include "engine/fast/integer_vectors.h"

namespace {

struct Sse2Ops : Sse128Ops {
  // SSE2 multiplies unsigned halves only: a signed operand is its unsigned
  // value less 2^32, so the signed product is the unsigned one less 2^32
  // times the other operand for each negative operand (modulo 2^64).
  static V Multiply(V a, V b) {
    const V product = _mm_mul_epu32(a, b);
    const V aNegative = _mm_srai_epi32(LowToBoth(a), 31);
    const V bNegative = _mm_srai_epi32(LowToBoth(b), 31);
    const V excess = _mm_add_epi32(_mm_and_si128(aNegative, b), _mm_and_si128(bNegative, a));
    return _mm_sub_epi64(product, _mm_slli_epi64(excess, 32));
  }
};

}  // namespace

IntegerBlockResult RunIntegerBlockSse2(IntegerLanes& lanes, uint32_t iterations) {
  return RunVectorBlock<Sse2Ops>(lanes, iterations);
}

#pragma GCC pop_options

#include <smmintrin.h>

#include "engine/fast/integer_lanes.h"

#pragma GCC push_options
#pragma GCC target("sse4.1")

#include "engine/fast/integer_sse_ops.h"
#include "engine/fast/integer_vectors.h"

namespace {

struct Sse41Ops : Sse128Ops {
  static V Multiply(V a, V b) { return _mm_mul_epi32(a, b); }
};

}  // namespace

IntegerBlockResult RunIntegerBlockSse41(IntegerLanes& lanes, uint32_t iterations) {
  return RunVectorBlock<Sse41Ops>(lanes, iterations);
}

#pragma GCC pop_options

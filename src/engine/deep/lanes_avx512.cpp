#include <cfloat>

#include "engine/deep/lanes.h"
#include "engine/deep/pixel.h"

#if FLT_EVAL_METHOD == 0

// Every header this file shares with others comes before the target
// change, so that their inline functions are not compiled for it.
#include <immintrin.h>

#pragma GCC push_options
#pragma GCC target("avx512f")
// GCC 12 reports the undefined source operand inside its own AVX-512
// intrinsics as possibly uninitialised.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "engine/deep/lane_steps.h"

namespace {

struct Avx512Ops {
  using V = __m512d;
  using Mask = __mmask8;
  static constexpr int kWidth = 8;
  static constexpr int kVectors = 2;

  static V Load(const double* p) { return _mm512_loadu_pd(p); }
  static void Store(double* p, V v) { _mm512_storeu_pd(p, v); }
  static V Set(double value) { return _mm512_set1_pd(value); }
  // The points of the even lanes in one register, of the odd lanes in
  // another; unpacking their halves gives the x and the y of all eight in
  // lane order.
  static __m512d Four(const DoublePoint* const* points, uint32_t offset) {
    const __m256d low =
        _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(&points[0][offset].x)),
                             _mm_loadu_pd(&points[2][offset].x), 1);
    const __m256d high =
        _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(&points[4][offset].x)),
                             _mm_loadu_pd(&points[6][offset].x), 1);
    return _mm512_insertf64x4(_mm512_castpd256_pd512(low), high, 1);
  }
  static void Gather(const DoublePoint* const* points, uint32_t offset, V* x, V* y) {
    const __m512d even = Four(points, offset);
    const __m512d odd = Four(points + 1, offset);
    *x = _mm512_unpacklo_pd(even, odd);
    *y = _mm512_unpackhi_pd(even, odd);
  }
  static Mask Stops(V size2, V delta2, V four, V least) {
    // The lanes that go on pass all three tests, each compare masked by the
    // one before: one mask register, no moves of masks to be merged.
    const Mask on = _mm512_mask_cmp_pd_mask(
        _mm512_mask_cmp_pd_mask(_mm512_cmp_pd_mask(size2, four, _CMP_NGT_UQ), size2, delta2,
                                _CMP_NLT_UQ),
        delta2, least, _CMP_NLT_UQ);
    return static_cast<Mask>(~on);
  }
  static bool Any(const Mask* masks) {
    Mask any = masks[0];
    for (int v = 1; v < kVectors; ++v) any |= masks[v];
    return any != 0;
  }
  static uint32_t Bits(Mask mask) { return mask; }
};

}  // namespace

uint32_t TakeDeepStepsAvx512(DeepLanes& lanes, uint32_t most, uint32_t* stopped) {
  return TakeLaneSteps<Avx512Ops>(lanes, most, stopped);
}

#pragma GCC diagnostic pop
#pragma GCC pop_options

#else

uint32_t TakeDeepStepsAvx512(DeepLanes&, uint32_t, uint32_t* stopped) {
  *stopped = 0;
  return 0;
}

#endif

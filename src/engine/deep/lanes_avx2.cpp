#include <cfloat>

#include "engine/deep/lanes.h"
#include "engine/deep/pixel.h"

#if FLT_EVAL_METHOD == 0

// Every header this file shares with others comes before the target
// change, so that their inline functions are not compiled for it.
#include <immintrin.h>

#pragma GCC push_options
#pragma GCC target("avx2")

#include "engine/deep/lane_steps.h"

namespace {

struct Avx2Ops {
  using V = __m256d;
  using Mask = __m256d;
  static constexpr int kWidth = 4;
  // Three independent vectors fill the latency of each other's step.
  static constexpr int kVectors = 3;

  static V Load(const double* p) { return _mm256_loadu_pd(p); }
  static void Store(double* p, V v) { _mm256_storeu_pd(p, v); }
  static V Set(double value) { return _mm256_set1_pd(value); }
  // Lanes 0 and 2 share one register, 1 and 3 another; unpacking their
  // halves gives the x and the y of all four in lane order.
  static void Gather(const DoublePoint* const* points, uint32_t offset, V* x, V* y) {
    const __m256d even =
        _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(&points[0][offset].x)),
                             _mm_loadu_pd(&points[2][offset].x), 1);
    const __m256d odd =
        _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(&points[1][offset].x)),
                             _mm_loadu_pd(&points[3][offset].x), 1);
    *x = _mm256_unpacklo_pd(even, odd);
    *y = _mm256_unpackhi_pd(even, odd);
  }
  static Mask Stops(V size2, V delta2, V four, V least) {
    return _mm256_or_pd(_mm256_or_pd(_mm256_cmp_pd(size2, four, _CMP_GT_OQ),
                                     _mm256_cmp_pd(size2, delta2, _CMP_LT_OQ)),
                        _mm256_cmp_pd(delta2, least, _CMP_LT_OQ));
  }
  static bool Any(const Mask* masks) {
    Mask any = masks[0];
    for (int v = 1; v < kVectors; ++v) any = _mm256_or_pd(any, masks[v]);
    return _mm256_movemask_pd(any) != 0;
  }
  static uint32_t Bits(Mask mask) { return static_cast<uint32_t>(_mm256_movemask_pd(mask)); }
};

}  // namespace

uint32_t TakeDeepStepsAvx2(DeepLanes& lanes, uint32_t most, uint32_t* stopped) {
  return TakeLaneSteps<Avx2Ops>(lanes, most, stopped);
}

#pragma GCC pop_options

#else

uint32_t TakeDeepStepsAvx2(DeepLanes&, uint32_t, uint32_t* stopped) {
  *stopped = 0;
  return 0;
}

#endif

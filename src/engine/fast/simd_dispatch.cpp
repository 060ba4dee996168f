#include "engine/fast/integer_lanes.h"

SimdLevel DetectSimdLevel() {
  // The checks include the operating system's support for the wider
  // registers, not only the processor's.
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f")) return SimdLevel::kAvx512;
  if (__builtin_cpu_supports("avx2")) return SimdLevel::kAvx2;
  if (__builtin_cpu_supports("sse4.1")) return SimdLevel::kSse41;
  if (__builtin_cpu_supports("sse2")) return SimdLevel::kSse2;
  return SimdLevel::kScalar;
}

const char* SimdLevelName(SimdLevel level) {
  switch (level) {
    case SimdLevel::kAvx512:
      return "AVX-512";
    case SimdLevel::kAvx2:
      return "AVX2";
    case SimdLevel::kSse41:
      return "SSE4.1";
    case SimdLevel::kSse2:
      return "SSE2";
    case SimdLevel::kScalar:
      break;
  }
  return "scalar";
}

IntegerKernel IntegerKernelFor(SimdLevel level) {
  switch (level) {
    case SimdLevel::kAvx512:
      return {RunIntegerBlockAvx512, 16};
    case SimdLevel::kAvx2:
      return {RunIntegerBlockAvx2, 8};
    case SimdLevel::kSse41:
      return {RunIntegerBlockSse41, 8};
    case SimdLevel::kSse2:
      return {RunIntegerBlockSse2, 8};
    case SimdLevel::kScalar:
      break;
  }
  return {RunIntegerBlockScalar, 4};
}

#include <cfloat>

#include "engine/deep/lanes.h"

DeepLaneKernel DeepLaneKernelFor(SimdLevel level) {
#if FLT_EVAL_METHOD == 0
  switch (level) {
    case SimdLevel::kAvx512:
      return {TakeDeepStepsAvx512, 16};
    case SimdLevel::kAvx2:
      return {TakeDeepStepsAvx2, 12};
    default:
      break;
  }
#else
  (void)level;
#endif
  return {};
}

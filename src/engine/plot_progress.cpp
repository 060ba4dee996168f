#include "engine/plot_progress.h"

#include <cstdio>

namespace {

uint32_t ClampLimit(int32_t limit, uint32_t largest) {
  const uint32_t unsignedLimit = static_cast<uint32_t>(limit);
  if (unsignedLimit > largest) return largest;
  if (unsignedLimit == 0) return 1;
  return unsignedLimit;
}

}  // namespace

uint32_t EffectiveLimit(int32_t limit) { return ClampLimit(limit, kMaximumLimit); }

uint32_t EffectiveDeepLimit(int32_t limit) { return ClampLimit(limit, kMaximumDeepLimit); }

bool FormatProgressTitle(char* buffer, size_t size, int32_t rowsDone, int32_t rowsTotal) {
  if (size == 0) return false;
  const int length = std::snprintf(buffer, size, "%d / %d", rowsDone, rowsTotal);
  return length >= 0 && static_cast<size_t>(length) < size;
}

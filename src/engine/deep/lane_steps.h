#pragma once
// The loop of DeepLaneSteps (lanes.h) over an instruction set's
// operations; included after the file's target pragma. Ops provides:
//   V, Mask, kWidth (lanes per vector), kVectors (vectors per call),
//   Load/Store/Set, Gather (the reference points of kWidth lanes at an
//   offset), Stops (the size tests of a vector), Any and Bits of masks.

#include <cfloat>
#include <cstdint>

#include "engine/deep/lanes.h"
#include "engine/deep/pixel.h"

namespace {

template <class Ops>
uint32_t TakeLaneSteps(DeepLanes& lanes, uint32_t most, uint32_t* stopped) {
  using V = typename Ops::V;
  using Mask = typename Ops::Mask;
  constexpr int kWidth = Ops::kWidth;
  constexpr int kVectors = Ops::kVectors;
  V dzx[kVectors], dzy[kVectors], dcx[kVectors], dcy[kVectors];
  for (int v = 0; v < kVectors; ++v) {
    dzx[v] = Ops::Load(lanes.dzx + v * kWidth);
    dzy[v] = Ops::Load(lanes.dzy + v * kWidth);
    dcx[v] = Ops::Load(lanes.dcx + v * kWidth);
    dcy[v] = Ops::Load(lanes.dcy + v * kWidth);
  }
  const V four = Ops::Set(4), two = Ops::Set(2), least = Ops::Set(kDoubleDeltaSquared);
  uint32_t bits = 0;
  uint32_t taken = 0;
  for (; taken < most; ++taken) {
    V nextX[kVectors], nextY[kVectors];
    Mask stop[kVectors];
    for (int v = 0; v < kVectors; ++v) {
      V rx, ry;
      Ops::Gather(lanes.reference + v * kWidth, taken, &rx, &ry);
      // StepInDoubles' arithmetic, operation for operation.
      const V zx = rx + dzx[v], zy = ry + dzy[v];
      const V size2 = zx * zx + zy * zy;
      const V delta2 = dzx[v] * dzx[v] + dzy[v] * dzy[v];
      stop[v] = Ops::Stops(size2, delta2, four, least);
      const V sx = two * rx + dzx[v], sy = two * ry + dzy[v];
      nextX[v] = sx * dzx[v] - sy * dzy[v] + dcx[v];
      nextY[v] = sx * dzy[v] + sy * dzx[v] + dcy[v];
    }
    if (Ops::Any(stop)) {
      for (int v = 0; v < kVectors; ++v) bits |= Ops::Bits(stop[v]) << (v * kWidth);
      break;
    }
    for (int v = 0; v < kVectors; ++v) {
      dzx[v] = nextX[v];
      dzy[v] = nextY[v];
    }
  }
  for (int v = 0; v < kVectors; ++v) {
    Ops::Store(lanes.dzx + v * kWidth, dzx[v]);
    Ops::Store(lanes.dzy + v * kWidth, dzy[v]);
  }
  for (int k = 0; k < kWidth * kVectors; ++k) lanes.reference[k] += taken;
  *stopped = bits;
  return taken;
}

}  // namespace

#pragma once
// The plain double steps of a deep plot's pixels side by side in SIMD lanes,
// one pixel per lane, with the arithmetic of DeepPixel::StepInDoubles: the
// same operations in the same order, each rounded to double, so every lane
// gives the counts of the scalar step. Used where doubles are computed in
// doubles (x86_64); the x87 build keeps its interleaved scalar steps.

#include <cstdint>

#include "engine/deep/formula.h"
#include "engine/fast/plotters.h"

constexpr int kMaxDeepLanes = 16;

// Structure of arrays: lane k steps dz = (dzx[k], dzy[k]) with its constant
// (dcx[k], dcy[k]) along the reference points reference[k][0], [1], ...
struct DeepLanes {
  double dzx[kMaxDeepLanes];
  double dzy[kMaxDeepLanes];
  double dcx[kMaxDeepLanes];
  double dcy[kMaxDeepLanes];
  const DoublePoint* reference[kMaxDeepLanes];
};

// Takes up to `most` steps on every lane together and stops before the first
// step at which the size tests of StepInDoubles would stop some lane (|z|^2
// above 4, |z| below |dz|, |dz|^2 below kDoubleDeltaSquared). Stores each
// lane's dz after the steps taken and moves its reference pointer past them;
// *stopped receives bit k for each lane k whose tests stopped it (0 when the
// steps ran out). Returns the steps taken.
using DeepLaneSteps = uint32_t (*)(DeepLanes& lanes, uint32_t most, uint32_t* stopped);

struct DeepLaneKernel {
  DeepLaneSteps run = nullptr;  // null: the interleaved scalar steps
  int lanes = 0;                // lanes the function serves, at most kMaxDeepLanes
};

// The kernel of a level; null below AVX2 and where doubles are not computed
// in doubles. Levels the processor lacks must not be asked for.
DeepLaneKernel DeepLaneKernelFor(SimdLevel level);

// One implementation per instruction set, each compiled for its own target.
uint32_t TakeDeepStepsAvx2(DeepLanes& lanes, uint32_t most, uint32_t* stopped);
uint32_t TakeDeepStepsAvx512(DeepLanes& lanes, uint32_t most, uint32_t* stopped);

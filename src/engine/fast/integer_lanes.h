#pragma once
// Fixed-point pixels iterated side by side in SIMD registers, one pixel per
// 64-bit lane: the signed 32 x 32 -> 64-bit multiply of the low halves
// (pmuldq) gives the exact products the reference forms. Shifting a 64-bit
// product right and keeping the low 32 bits gives the same bits whether the
// shift is arithmetic or logical, so the instruction sets without a 64-bit
// arithmetic shift compute the same values.

#include <cstdint>

#include "engine/fast/plotters.h"

constexpr int kMaxIntegerLanes = 16;

// Structure of arrays; x, y, cx and cy hold their 32-bit value in the low
// half of each entry (the upper half is ignored). remaining is the number of
// steps the lane may still take (limit - count); a lane with 0 is idle.
struct alignas(64) IntegerLanes {
  int64_t x[kMaxIntegerLanes];
  int64_t y[kMaxIntegerLanes];
  int64_t cx[kMaxIntegerLanes];
  int64_t cy[kMaxIntegerLanes];
  int64_t remaining[kMaxIntegerLanes];
};

struct IntegerBlockResult {
  uint32_t iterations;  // steps taken by every lane
  uint32_t active;      // bit l: lane l is still running
};

// Runs steps on every lane with remaining > 0: a step tests the escape
// (hi(X^2) + hi(Y^2) >= 2^26) and the remaining count, and a lane that passes
// both takes the step and counts it. Stops after `iterations` steps, or after
// the first step at which some lane stopped running. A stopped lane's count
// is limit - remaining; its x and y are then meaningless.
using IntegerBlockFunction = IntegerBlockResult (*)(IntegerLanes& lanes, uint32_t iterations);

struct IntegerKernel {
  IntegerBlockFunction run;
  int lanes;  // lanes the function serves, at most kMaxIntegerLanes
};

// The kernel of a level; levels the processor lacks must not be asked for.
IntegerKernel IntegerKernelFor(SimdLevel level);

// One implementation per instruction set, each compiled for its own target.
IntegerBlockResult RunIntegerBlockScalar(IntegerLanes& lanes, uint32_t iterations);
IntegerBlockResult RunIntegerBlockSse2(IntegerLanes& lanes, uint32_t iterations);
IntegerBlockResult RunIntegerBlockSse41(IntegerLanes& lanes, uint32_t iterations);
IntegerBlockResult RunIntegerBlockAvx2(IntegerLanes& lanes, uint32_t iterations);
IntegerBlockResult RunIntegerBlockAvx512(IntegerLanes& lanes, uint32_t iterations);

#pragma once
// The block loop of the integer kernels whose comparisons give vector masks
// (SSE2, SSE4.1, AVX2). Included by one file per instruction set, after its
// `#pragma GCC target`, with Ops describing the vector type; everything here
// has internal linkage so that no instantiation compiled for one instruction
// set can stand in for another's.

#include <cstdint>

#include "engine/fast/integer_lanes.h"

namespace {

// Ops provides: V; kWidth (64-bit lanes per vector); kVectors; Load, Store,
// Zero, Set64, Add64, Sub64, Add32, ShiftRight<n> (logical, 64-bit), Multiply
// (signed low halves, exact 64-bit product), And, AndNot(a, b) = ~a & b,
// EscapeMask(h) (h > 2^26 - 1 for 0 <= h <= 2^31), Positive(v) (0 < v <
// 2^31) and LaneBits(mask) (one bit per 64-bit lane).
template <class Ops>
inline IntegerBlockResult RunVectorBlock(IntegerLanes& lanes, uint32_t iterations) {
  using V = typename Ops::V;
  constexpr int kWidth = Ops::kWidth;
  constexpr int kVectors = Ops::kVectors;
  V x[kVectors], y[kVectors], cx[kVectors], cy[kVectors], remaining[kVectors], active[kVectors];
  uint32_t entry = 0;
  for (int v = 0; v < kVectors; ++v) {
    x[v] = Ops::Load(lanes.x + v * kWidth);
    y[v] = Ops::Load(lanes.y + v * kWidth);
    cx[v] = Ops::Load(lanes.cx + v * kWidth);
    cy[v] = Ops::Load(lanes.cy + v * kWidth);
    remaining[v] = Ops::Load(lanes.remaining + v * kWidth);
    active[v] = Ops::Positive(remaining[v]);
    entry |= Ops::LaneBits(active[v]) << (v * kWidth);
  }
  uint32_t now = entry;
  uint32_t done = 0;
  while (done < iterations) {
    now = 0;
    for (int v = 0; v < kVectors; ++v) {
      const V xx = Ops::Multiply(x[v], x[v]);
      const V yy = Ops::Multiply(y[v], y[v]);
      const V xy = Ops::Multiply(x[v], y[v]);
      const V high = Ops::Add64(Ops::template ShiftRight<32>(xx), Ops::template ShiftRight<32>(yy));
      const V runs = Ops::AndNot(Ops::EscapeMask(high), Ops::Positive(remaining[v]));
      active[v] = Ops::And(active[v], runs);
      remaining[v] = Ops::Add64(remaining[v], active[v]);  // active lanes are all ones: -1
      x[v] = Ops::Add32(Ops::template ShiftRight<28>(Ops::Sub64(xx, yy)), cx[v]);
      y[v] = Ops::Add32(Ops::template ShiftRight<27>(xy), cy[v]);
      now |= Ops::LaneBits(active[v]) << (v * kWidth);
    }
    ++done;
    if (now != entry) break;
  }
  for (int v = 0; v < kVectors; ++v) {
    Ops::Store(lanes.x + v * kWidth, x[v]);
    Ops::Store(lanes.y + v * kWidth, y[v]);
    Ops::Store(lanes.remaining + v * kWidth, remaining[v]);
  }
  return {done, now};
}

}  // namespace

#pragma once
// Bilinear approximation of a reference orbit: tables of linear steps
// dz -> A dz + B dc that skip 2^k iterations at once, each with the radius
// within which it holds.
//
// A single step at Z_m is linear (A = 2 Z_m, B = 1) while the dropped term
// dz^2 stays below kBlaTolerance of the kept A dz, that is while
// |dz| < kBlaTolerance |A|. Two consecutive steps x then y merge into
// A = A_y A_x, B = A_y B_x + B_y, valid while |dz| is within the radius of x
// and x takes it within the radius of y even with the largest dc of the plot:
// R = min(R_x, (R_y - |B_x| dcMax) / |A_x|). Level k holds the merges of 2^k
// steps, entry j of it starting at first + j 2^k; a pixel at m uses the
// longest step that starts at m and holds for its dz.
//
// A step near the escape circle (|Z_m| within the tolerance of 2) is never
// skipped, so no skip can pass over the iteration at which a pixel escapes:
// a skip that reaches past the limit ends at the limit.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/deep_formula.h"
#include "engine/deep_orbit.h"

// The relative size of the dropped term. A skip's error is then a relative
// error of about this size per skipped step in dz, that is a shift of the
// pixel by a tiny fraction of the view; 2^-40 gave the plain plotter's counts
// on every pixel of the differential views, and needs about half the steps of
// 2^-48 in the seahorse valley.
constexpr long double kBlaTolerance = 0x1p-40L;

struct BlaStep {
  DeltaPoint a;
  DeltaPoint b;
  long double radius2;  // the step holds while |dz|^2 < radius2; 0: never
};

class BlaTable {
 public:
  static constexpr int kMaxLevels = 32;
  static constexpr uint32_t kFewestSkippedSteps = 4096;

  // Tables for the steps from Z_first on; dcMax bounds |dc| over the plot
  // (0 for a Julia set). When memory is short, for fewer steps; false, with
  // no table, when not even kFewestSkippedSteps fit.
  bool Build(const ReferenceOrbit& orbit, uint32_t first, long double dcMax);

  // The longest step that starts at m and holds for |dz|^2 = dz2; null when
  // none does. *length receives its iterations.
  const BlaStep* Find(uint32_t m, long double dz2, uint32_t* length) const {
    if (m < first_ || levels_ == 0) return nullptr;
    const uint32_t offset = m - first_;
    // A merged step holds within its first single step's radius at most, so
    // most pixels past the linear regime are turned away by one comparison.
    if (offset >= counts_[0] || !(dz2 < steps_[offset].radius2)) return nullptr;
    int level = offset == 0 ? levels_ - 1 : __builtin_ctz(offset);
    if (level > levels_ - 1) level = levels_ - 1;
    for (; level >= 0; --level) {
      const uint32_t index = offset >> level;
      if (index >= counts_[level]) continue;
      const BlaStep& step = steps_[starts_[level] + index];
      if (dz2 < step.radius2) {
        *length = uint32_t{1} << level;
        return &step;
      }
    }
    return nullptr;
  }

 private:
  std::unique_ptr<BlaStep[]> steps_;
  size_t starts_[kMaxLevels] = {};
  uint32_t counts_[kMaxLevels] = {};
  int levels_ = 0;
  uint32_t first_ = 0;
};

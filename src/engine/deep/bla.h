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
//
// Memory: a single step keeps only its radius, its coefficients follow from
// the orbit point; every number is kept in the 10 bytes of its 80 bits, so a
// point of the orbit costs 60 bytes of tables instead of 160.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

#include "engine/deep/formula.h"
#include "engine/deep/orbit.h"

// The relative size of the dropped term. A skip's error is then a relative
// error of about this size per skipped step in dz, that is a shift of the
// pixel by a tiny fraction of the view; 2^-40 gave the plain plotter's counts
// on every pixel of the differential views, and needs about half the steps of
// 2^-48 in the seahorse valley.
constexpr long double kBlaTolerance = 0x1p-40L;

// An 80-bit number in its own 10 bytes, without the padding of a long double.
class PackedExtended {
 public:
  static constexpr size_t kBytes = 10;
  void Set(long double value) { std::memcpy(bytes_, &value, kBytes); }
  // One x87 load of the 10 bytes: copying them into a long double first
  // stalls the load on the copy.
  long double Get() const { return *reinterpret_cast<const Unaligned*>(bytes_); }

 private:
  typedef long double Unaligned __attribute__((aligned(1), may_alias));
  static_assert(std::numeric_limits<long double>::digits == 64, "80-bit long double");
  unsigned char bytes_[kBytes];
};

// A skip: dz -> a dz + b dc.
struct BlaStep {
  DeltaPoint a;
  DeltaPoint b;
};

class BlaTable {
 public:
  static constexpr int kMaxLevels = 32;
  static constexpr uint32_t kFewestSkippedSteps = 4096;
  // Table bytes per orbit point: the single step's radius and, over all the
  // levels above, about one merged step.
  static constexpr size_t kBytesPerPoint = 6 * PackedExtended::kBytes;

  // Tables for the steps from Z_first on; dcMax bounds |dc| over the plot
  // (0 for a Julia set). When memory is short, for fewer steps; false, with
  // no table, when not even kFewestSkippedSteps fit. The orbit must outlive
  // the table.
  bool Build(const ReferenceOrbit& orbit, uint32_t first, long double dcMax);

  // The memory the tables take.
  size_t Bytes() const {
    size_t merged = 0;
    for (int level = 1; level < levels_; ++level) merged += counts_[level];
    return levels_ == 0
               ? 0
               : (counts_[0] + 1) * sizeof(PackedExtended) + (merged + 1) * sizeof(MergedStep);
  }

  // The longest step that starts at m and holds for |dz|^2 = dz2 into
  // *step, its iterations into *length; false when none does.
  bool Find(uint32_t m, long double dz2, BlaStep* step, uint32_t* length) const {
    if (m < first_ || levels_ == 0) return false;
    const uint32_t offset = m - first_;
    // A merged step holds within its first single step's radius at most, so
    // most pixels past the linear regime are turned away by one comparison.
    if (offset >= counts_[0] || !(dz2 < singleRadii2_[offset].Get())) return false;
    int level = offset == 0 ? levels_ - 1 : __builtin_ctz(offset);
    if (level > levels_ - 1) level = levels_ - 1;
    for (; level >= 1; --level) {
      const uint32_t index = offset >> level;
      if (index >= counts_[level]) continue;
      const MergedStep& merged = merged_[starts_[level] + index];
      if (dz2 < merged.radius2.Get()) {
        *step = {{merged.ax.Get(), merged.ay.Get()}, {merged.bx.Get(), merged.by.Get()}};
        *length = uint32_t{1} << level;
        return true;
      }
    }
    *step = {LinearCoefficient(points_[m]), {1, 0}};
    *length = 1;
    return true;
  }

 private:
  struct MergedStep {
    PackedExtended ax, ay, bx, by;
    PackedExtended radius2;  // the step holds while |dz|^2 < radius2; 0: never
  };
  static_assert(sizeof(MergedStep) == 5 * PackedExtended::kBytes);

  std::unique_ptr<PackedExtended[]> singleRadii2_;  // level 0, by offset
  std::unique_ptr<MergedStep[]> merged_;            // levels 1 and up
  const DeltaPoint* points_ = nullptr;
  size_t starts_[kMaxLevels] = {};  // into merged_, from level 1
  uint32_t counts_[kMaxLevels] = {};
  int levels_ = 0;
  uint32_t first_ = 0;
};

#pragma once
// A reference orbit of a deep plot, Z_0 ... Z_last, computed in the deep
// arithmetic and kept rounded to 80 bits: the orbit ends where it escaped
// (|Z_last|^2 > 4) or at the plot's limit.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

#include "engine/deep_formula.h"

class ReferenceOrbit {
 public:
  // Room for the points Z_0 ... Z_limit; false when memory is short.
  bool Reserve(uint32_t limit) {
    points_.reset(new (std::nothrow) DeltaPoint[static_cast<size_t>(limit) + 1]);
    capacity_ = points_ != nullptr ? limit + 1 : 0;
    last_ = 0;
    return points_ != nullptr;
  }
  // Stores Z_index; indices go up from 0 by one.
  void Store(uint32_t index, DeltaPoint point) {
    points_[index] = point;
    last_ = index;
  }

  const DeltaPoint* Points() const { return points_.get(); }
  uint32_t Last() const { return last_; }
  bool Empty() const { return capacity_ == 0; }

 private:
  std::unique_ptr<DeltaPoint[]> points_;
  uint32_t capacity_ = 0;
  uint32_t last_ = 0;
};

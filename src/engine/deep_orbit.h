#pragma once
// A reference orbit of a deep plot, Z_0 ... Z_last, computed in the deep
// arithmetic and kept rounded to 80 bits and to doubles: the orbit ends where
// it escaped (|Z_last|^2 > 4) or at the plot's limit.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

#include "engine/deep_formula.h"

class ReferenceOrbit {
 public:
  // Room for the points Z_0 ... Z_limit; false when memory is short.
  bool Reserve(uint32_t limit) {
    const size_t count = static_cast<size_t>(limit) + 1;
    points_.reset(new (std::nothrow) DeltaPoint[count]);
    doubles_.reset(new (std::nothrow) DoublePoint[count]);
    const bool ready = points_ != nullptr && doubles_ != nullptr;
    capacity_ = ready ? limit + 1 : 0;
    last_ = 0;
    return ready;
  }
  // Stores Z_index; indices go up from 0 by one.
  void Store(uint32_t index, DeltaPoint point) {
    points_[index] = point;
    doubles_[index] = {static_cast<double>(point.x), static_cast<double>(point.y)};
    last_ = index;
  }

  const DeltaPoint* Points() const { return points_.get(); }
  const DoublePoint* Doubles() const { return doubles_.get(); }
  uint32_t Last() const { return last_; }
  bool Empty() const { return capacity_ == 0; }

 private:
  std::unique_ptr<DeltaPoint[]> points_;
  std::unique_ptr<DoublePoint[]> doubles_;
  uint32_t capacity_ = 0;
  uint32_t last_ = 0;
};

#pragma once
// A reference orbit of a deep plot, Z_0 ... Z_last, computed in the deep
// arithmetic and kept rounded to 80 bits and to doubles: the orbit ends where
// it escaped (|Z_last|^2 > 4), in its cycle once it came back exactly to an
// earlier point (it never escapes), at the plot's limit, or after
// kMostReferenceIterations, whichever comes first.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

#include "engine/deep_formula.h"

// With its skip table an orbit point takes about 200 bytes, so limits of
// millions would take gigabytes. A pixel that reaches the end of an orbit
// rebases to the critical point's orbit, which is sound wherever the orbit
// ends: the cap costs a little speed and changes no count.
constexpr uint32_t kMostReferenceIterations = uint32_t{1} << 20;

// The iterations a reference orbit runs for a plot's effective limit.
inline uint32_t ReferenceIterations(uint32_t limit) {
  return limit < kMostReferenceIterations ? limit : kMostReferenceIterations;
}

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
    escaped_ = false;
    return ready;
  }
  void MarkEscaped() { escaped_ = true; }
  // Ends the orbit at Z_last, which must be stored.
  void EndAt(uint32_t last) { last_ = last; }
  // Stores Z_index; indices go up from 0 by one.
  void Store(uint32_t index, DeltaPoint point) {
    points_[index] = point;
    doubles_[index] = {static_cast<double>(point.x), static_cast<double>(point.y)};
    last_ = index;
  }

  const DeltaPoint* Points() const { return points_.get(); }
  const DoublePoint* Doubles() const { return doubles_.get(); }
  uint32_t Last() const { return last_; }
  bool Escaped() const { return escaped_; }
  bool Empty() const { return capacity_ == 0; }

 private:
  std::unique_ptr<DeltaPoint[]> points_;
  std::unique_ptr<DoublePoint[]> doubles_;
  uint32_t capacity_ = 0;
  uint32_t last_ = 0;
  bool escaped_ = false;
};

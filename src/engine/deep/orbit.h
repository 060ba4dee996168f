#pragma once
// A reference orbit of a deep plot, Z_0 ... Z_last, computed in the deep
// arithmetic and kept rounded to 80 bits and to doubles: the orbit ends where
// it escaped (|Z_last|^2 > 4), where it came back exactly to an earlier point
// Z_wrap (it never escapes, and Z_last + dz goes on as Z_wrap + dz), at the
// plot's limit, or, cut short, at the length that memory allows, whichever
// comes first. A cut orbit keeps its last point in the deep arithmetic for
// the pixels that outlive it while still near it (continuation.h).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "engine/deep/continuation.h"
#include "engine/deep/formula.h"
#include "engine/deep/wide.h"
#include "engine/engine_state.h"

// An array for an orbit or a skip table; null when memory is short.
template <typename T>
std::unique_ptr<T[]> AllocateDeepArray(size_t count) {
  if (count > g_engine.largestDeepBlock / sizeof(T)) return nullptr;
  return std::unique_ptr<T[]>(new (std::nothrow) T[count]);
}

// The points of an orbit below the 80-bit range (which rounding to 80 bits
// would lose: subnormal or 0), kept wide by index, for the wide steps of
// views too deep for 80-bit deltas. Few: such a point lies within 1e-4900 of
// the critical point 0.
class TinyOrbitPoints {
 public:
  // Points smaller than this (in their larger part) are kept here.
  static constexpr long double kBelow = 0x1p-16300L;

  void Clear() { points_.clear(); }
  // Indices go up.
  void Add(uint32_t index, const WideDelta& point) { points_.push_back({index, point}); }
  bool Empty() const { return points_.empty(); }
  // The point at index when kept, else false.
  bool Find(uint32_t index, WideDelta* point) const {
    const auto at = std::lower_bound(points_.begin(), points_.end(), index,
                                     [](const Entry& e, uint32_t i) { return e.index < i; });
    if (at == points_.end() || at->index != index) return false;
    *point = at->point;
    return true;
  }

 private:
  struct Entry {
    uint32_t index;
    WideDelta point;
  };
  std::vector<Entry> points_;
};

class ReferenceOrbit {
 public:
  // Room for the points Z_0 ... Z_limit; false when memory is short.
  bool Reserve(uint32_t limit) {
    const size_t count = static_cast<size_t>(limit) + 1;
    points_.reset();
    doubles_.reset();
    points_ = AllocateDeepArray<DeltaPoint>(count);
    if (points_ != nullptr) doubles_ = AllocateDeepArray<DoublePoint>(count);
    const bool ready = points_ != nullptr && doubles_ != nullptr;
    capacity_ = ready ? limit + 1 : 0;
    last_ = 0;
    escaped_ = false;
    wrap_ = kNoWrap;
    continuation_.reset();
    tiny_.Clear();
    return ready;
  }
  void MarkEscaped() { escaped_ = true; }
  // Cut short at Z_last, which the continuation follows on.
  void CutShort(std::unique_ptr<OrbitContinuation> continuation) {
    continuation_ = std::move(continuation);
  }
  // The last point stored equals Z_wrap exactly.
  void EndInCycle(uint32_t wrap) { wrap_ = wrap; }
  // Stores Z_index; indices go up from 0 by one.
  void Store(uint32_t index, DeltaPoint point) {
    points_[index] = point;
    doubles_[index] = {static_cast<double>(point.x), static_cast<double>(point.y)};
    last_ = index;
  }

  // Z_index in full when it lies below the 80-bit range.
  void StoreTiny(uint32_t index, const WideDelta& point) { tiny_.Add(index, point); }
  // Null when no point lies below the 80-bit range.
  const TinyOrbitPoints* Tiny() const { return tiny_.Empty() ? nullptr : &tiny_; }

  const DeltaPoint* Points() const { return points_.get(); }
  const DoublePoint* Doubles() const { return doubles_.get(); }
  uint32_t Last() const { return last_; }
  bool Escaped() const { return escaped_; }
  bool Empty() const { return capacity_ == 0; }
  // Null unless the orbit was cut short.
  const OrbitContinuation* Continuation() const { return continuation_.get(); }
  // kNoWrap unless the orbit ended in its cycle.
  uint32_t Wrap() const { return wrap_; }
  static constexpr uint32_t kNoWrap = UINT32_MAX;

 private:
  std::unique_ptr<DeltaPoint[]> points_;
  std::unique_ptr<DoublePoint[]> doubles_;
  std::unique_ptr<OrbitContinuation> continuation_;
  TinyOrbitPoints tiny_;
  uint32_t capacity_ = 0;
  uint32_t last_ = 0;
  uint32_t wrap_ = kNoWrap;
  bool escaped_ = false;
};

#pragma once
// Constants of the block-coded stream shared by the compressor and the
// decompressor, and the fallible arrays both build their storage from.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

constexpr int MAXMATCH = 256;  // longest match
constexpr int THRESHOLD = 3;   // shortest match coded as a match
constexpr int NC = 255 + MAXMATCH + 2 - THRESHOLD;  // literals and match lengths 3..256
static_assert(NC == 510, "symbols 0-255 are literals, 256-509 match lengths");
constexpr int NT = 19;   // alphabet of the code-length code
constexpr int TBIT = 5;  // count field of the code-length-code lengths
constexpr int CBIT = 9;  // count field of the literal/length code lengths
constexpr int PBIT = 4;  // count field of the position code lengths
constexpr int kMaxPositionAlphabet = 16;  // NP for the largest dictionary (DICBIT 15)
constexpr int NPT = kMaxPositionAlphabet > NT ? kMaxPositionAlphabet : NT;
constexpr int kMaxCodeLength = 16;

// Storage that may be refused. Every array of the codecs is taken through one
// budget so that tests can make any allocation fail and check the fallbacks;
// the default budget is unlimited, leaving the decision to the heap.
class MemoryBudget {
 public:
  MemoryBudget() = default;
  explicit MemoryBudget(size_t bytes) : remaining_(bytes) {}
  bool Take(size_t bytes) {
    if (bytes > remaining_) return false;
    remaining_ -= bytes;
    return true;
  }
  void Give(size_t bytes) { remaining_ += bytes; }

 private:
  size_t remaining_ = static_cast<size_t>(-1);
};

template <typename T>
class FallibleArray {
 public:
  // False, with nothing held, when the budget or the heap refuses.
  bool Allocate(size_t count, MemoryBudget& budget) {
    Release();
    if (!budget.Take(count * sizeof(T))) return false;
    data_.reset(new (std::nothrow) T[count]());
    if (!data_) {
      budget.Give(count * sizeof(T));
      return false;
    }
    budget_ = &budget;
    count_ = count;
    return true;
  }
  void Release() {
    if (data_ && budget_ != nullptr) budget_->Give(count_ * sizeof(T));
    data_.reset();
    budget_ = nullptr;
    count_ = 0;
  }
  T& operator[](size_t i) { return data_[i]; }
  const T& operator[](size_t i) const { return data_[i]; }
  T* Data() { return data_.get(); }
  size_t Count() const { return count_; }
  bool Empty() const { return !data_; }

 private:
  std::unique_ptr<T[]> data_;
  MemoryBudget* budget_ = nullptr;
  size_t count_ = 0;
};

#pragma once
// Exact cycle detection for one pixel (Brent's method): the point is compared
// with a saved one at every check and saved anew at checks 1, 2, 4, 8, ...
// The next step depends on the point alone (the carried squares derive from
// it), so a point that comes back exactly to a saved one repeats forever
// without escaping: its count is the limit. The comparison is one of values,
// so a NaN never repeats and runs to the limit, as in the reference.

#include <cstdint>

template <typename Value>
class CycleCheck {
 public:
  void Start(Value x, Value y) {
    savedX_ = x;
    savedY_ = y;
    checks_ = 0;
  }

  bool Repeats(Value x, Value y) {
    if (x == savedX_ && y == savedY_) return true;
    ++checks_;
    if ((checks_ & (checks_ - 1)) == 0) {
      savedX_ = x;
      savedY_ = y;
    }
    return false;
  }

 private:
  Value savedX_ = 0;
  Value savedY_ = 0;
  uint32_t checks_ = 0;
};

#pragma once
// A coordinate of the plane carried with every digit a deep view needs, as
// plain data so that PlotRecord stays a plain value that is copied whole.
// Arithmetic on it happens in DeepReal (deep/real.h); this header stays light
// so that every file that sees a PlotRecord need not compile the big-number
// library.
//
// A record keeps each 80-bit coordinate beside its precise form. The precise
// form counts only while the 80-bit field holds its rounding: code that stores
// a plain 80-bit value (ResetView, a test, a flow that never zooms deep) thus
// makes the 80-bit value the coordinate, and nothing stale survives it.

#include <cstdint>

struct PreciseCoordinate {
  // 33,408 bits of mantissa: a view 1e-10000 high on 4000 lines places its
  // pixels (coordinates up to 4, 2^-33,234 of a step each) with the guard
  // bits of deep/precision.h to spare.
  static constexpr int kWords = 1044;
  enum Kind : uint8_t { kZero = 0, kFinite = 1, kInfinite = 2, kNotANumber = 3 };

  uint32_t mantissa[kWords] = {};  // least significant word first
  int32_t exponent = 0;            // of the most significant mantissa bit
  Kind kind = kZero;
  bool negative = false;
};

// The width of the precise coordinates' mantissa.
constexpr unsigned kDeepBits = PreciseCoordinate::kWords * 32;

// The exact value of an 80-bit number.
PreciseCoordinate PreciseFromLongDouble(long double value);
// The nearest 80-bit number (ties to even).
long double RoundToLongDouble(const PreciseCoordinate& precise);
// True when the 80-bit field still holds the precise form's rounding.
bool PreciseMatches(long double field, const PreciseCoordinate& precise);

// The same for a height's double field: its rounding is taken through the
// 80-bit one, and is 0 or a subnormal below the doubles' range.
double RoundToDouble(const PreciseCoordinate& precise);
bool PreciseMatchesDouble(double field, const PreciseCoordinate& precise);

#pragma once
// Three pixels iterated side by side on the x87 register stack. The x87 unit
// completes about one arithmetic operation per cycle but each takes about six
// cycles, so one pixel alone waits on its own results; three pixels keep the
// unit busy. The arithmetic is exactly that of JuliaCount: every square, sum
// and difference is rounded to the 64-bit mantissa in the same order.

#include <cstddef>
#include <cstdint>

constexpr int kX87Lanes = 3;

// A long double in a 16-byte slot, so the offsets the assembly uses are the
// same on x86_64 (16-byte long double) and i686 (12-byte long double).
struct alignas(16) X87Slot {
  long double value;
};

// The state of the three lanes. The x87 unit completes an 80-bit load only
// every four cycles, so four per step (cx and cy of each lane) would slow it;
// lanes 1 and 2 therefore take cy as a pair of doubles whose sum is exactly
// cy (two cheap loads and one addition that is exact). cx, and cy of lane 0,
// come from their 80-bit slots.
struct X87Lanes {
  X87Slot zx[kX87Lanes];
  X87Slot zy[kX87Lanes];
  X87Slot cx[kX87Lanes];
  X87Slot cy[kX87Lanes];
  double cyPair[kX87Lanes][2];
  float four = 4.0f;
  float scratch = 0;
};

static_assert(offsetof(X87Lanes, zx) == 0 && offsetof(X87Lanes, zy) == 48);
static_assert(offsetof(X87Lanes, cx) == 96 && offsetof(X87Lanes, cy) == 144);
static_assert(offsetof(X87Lanes, cyPair) == 192 && offsetof(X87Lanes, four) == 240);
static_assert(offsetof(X87Lanes, scratch) == 244);

// Splits v into two doubles whose sum, formed in extended precision, is v
// bit for bit. False when no such pair exists (v beyond the range of double,
// too small for the low part, or not finite).
bool SplitIntoDoubles(long double v, double pair[2]);

struct X87BlockResult {
  uint32_t iterations;  // iterations every lane completed (the last may hold an escape)
  uint32_t escaped;     // bit l: lane l escaped in the last of those iterations
};

// Runs up to `iterations` (at least 1) steps of z <- z^2 + c on all three
// lanes, each step testing |z|^2 > 4 before it moves z. Stops after the first
// step in which some lane escaped. cyFromPair selects the pair form of cy for
// lanes 1 and 2; without it every constant comes from its 80-bit slot.
// Needs the x87 unit at 64-bit precision.
X87BlockResult RunX87Block(X87Lanes& lanes, uint32_t iterations, bool cyFromPair);

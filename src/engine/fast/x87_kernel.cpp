#include "engine/fast/x87_kernel.h"

#include <cmath>
#include <cstring>

bool SplitIntoDoubles(long double v, double pair[2]) {
  if (!std::isfinite(v)) return false;
  const double high = static_cast<double>(v);
  if (!std::isfinite(high)) return false;
  // The rounding residue of a 64-bit mantissa to 53 bits is exact in extended
  // precision and has at most 11 significant bits. A zero keeps its sign in
  // both halves, since -0 + +0 would be +0.
  const double low = v == 0 ? high : static_cast<double>(v - high);
  const long double sum = static_cast<long double>(high) + static_cast<long double>(low);
  if (std::memcmp(&sum, &v, 10) != 0) return false;  // the 80 bits that hold the value
  pair[0] = high;
  pair[1] = low;
  return true;
}

// clang-format off
// One lane of one step. The lane's x and y sit at st(P) and st(P1) (P1 = P + 1,
// P2 = P + 2) among the six registers of the three lanes, and are back there
// at the end; the other lanes' registers keep their places.
//
//   xy = x * y; xx = x * x; yy = y * y;  stack: yy ... xy@P1 xx@P2
//   s = xx + yy is stored as a float: its image lies above 4.0f exactly when
//   s > 4, below when s < 4, and equals 4.0f only when s is within 2^-22 of
//   4, where an exact comparison decides (label 6N). A NaN stays below.
//   x' = (xx - yy) + cx; y' = (xy + xy) + cy.
#define ZIRN_X87_LANE(P, P1, P2, BIT, CX, CY_LOAD, N) \
  "fld %%st(" #P ")\n\t"                              \
  "fmul %%st(" #P2 "), %%st\n\t"                      \
  "fxch %%st(" #P1 ")\n\t"                            \
  "fmul %%st, %%st\n\t"                               \
  "fxch %%st(" #P2 ")\n\t"                            \
  "fmul %%st, %%st\n\t"                               \
  "fld %%st(" #P2 ")\n\t"                             \
  "fadd %%st(1), %%st\n\t"                            \
  "fstps 244(%[lanes])\n\t"                           \
  "movl 244(%[lanes]), %[tmp]\n\t"                    \
  "subl $0x40800001, %[tmp]\n\t"                      \
  "cmpl $0x3effffff, %[tmp]\n\t"                      \
  "jbe 5" #N "f\n\t"                                  \
  "cmpl $-1, %[tmp]\n\t"                              \
  "je 6" #N "f\n\t"                                   \
  "7" #N ":\n\t"                                      \
  "fsubr %%st(" #P2 "), %%st\n\t"                     \
  "fldt " #CX "(%[lanes])\n\t"                        \
  "faddp %%st, %%st(1)\n\t"                           \
  "fstp %%st(" #P2 ")\n\t"                            \
  "fxch %%st(" #P ")\n\t"                             \
  "fadd %%st, %%st\n\t"                               \
  CY_LOAD                                             \
  "faddp %%st, %%st(1)\n\t"                           \
  "fxch %%st(" #P1 ")\n\t"                            \
  "fxch %%st(" #P ")\n\t"

// Out of line: record an escape, or settle s = 4 +- 2^-22 exactly.
#define ZIRN_X87_LANE_EXITS(P2, BIT, N)    \
  "5" #N ":\n\t"                           \
  "orl $" #BIT ", %[mask]\n\t"             \
  "jmp 7" #N "b\n\t"                       \
  "6" #N ":\n\t"                           \
  "fld %%st(" #P2 ")\n\t"                  \
  "fadd %%st(1), %%st\n\t"                 \
  "fcomps 240(%[lanes])\n\t"               \
  "fnstsw %%ax\n\t"                        \
  "testb $0x45, %%ah\n\t"                  \
  "jnz 7" #N "b\n\t"                       \
  "jmp 5" #N "b\n\t"

#define ZIRN_CY_PAIR(A, B) "fldl " #A "(%[lanes])\n\tfaddl " #B "(%[lanes])\n\t"
#define ZIRN_CY_SLOT(C) "fldt " #C "(%[lanes])\n\t"

// Loads lanes 2, 1, 0 so that lane l sits at st(2l), st(2l + 1); after the
// loop stores them back in the same order.
#define ZIRN_X87_BLOCK(CY0, CY1, CY2)                                   \
  "fldt 80(%[lanes])\n\tfldt 32(%[lanes])\n\t"                          \
  "fldt 64(%[lanes])\n\tfldt 16(%[lanes])\n\t"                          \
  "fldt 48(%[lanes])\n\tfldt 0(%[lanes])\n\t"                           \
  "xorl %[mask], %[mask]\n\t"                                           \
  "1:\n\t"                                                              \
  ZIRN_X87_LANE(0, 1, 2, 1, 96, CY0, 0)                                 \
  ZIRN_X87_LANE(2, 3, 4, 2, 112, CY1, 1)                                \
  ZIRN_X87_LANE(4, 5, 6, 4, 128, CY2, 2)                                \
  "testl %[mask], %[mask]\n\t"                                          \
  "jnz 2f\n\t"                                                          \
  "decl %[n]\n\t"                                                       \
  "jnz 1b\n\t"                                                          \
  "2:\n\t"                                                              \
  "fstpt 0(%[lanes])\n\tfstpt 48(%[lanes])\n\t"                         \
  "fstpt 16(%[lanes])\n\tfstpt 64(%[lanes])\n\t"                        \
  "fstpt 32(%[lanes])\n\tfstpt 80(%[lanes])\n\t"                        \
  "jmp 3f\n\t"                                                          \
  ZIRN_X87_LANE_EXITS(2, 1, 0)                                          \
  ZIRN_X87_LANE_EXITS(4, 2, 1)                                          \
  ZIRN_X87_LANE_EXITS(6, 4, 2)                                          \
  "3:\n\t"

#define ZIRN_X87_OPERANDS                                                            \
  : [mask] "=&r"(mask), [n] "+r"(remaining), [tmp] "=&r"(scratch)                    \
  : [lanes] "r"(&lanes)                                                              \
  : "eax", "memory", "cc", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", \
    "st(7)"

// clang-format on

X87BlockResult RunX87Block(X87Lanes& lanes, uint32_t iterations, bool cyFromPair) {
  uint32_t remaining = iterations;
  uint32_t mask;
  uint32_t scratch;
  if (cyFromPair) {
    __asm__ volatile(ZIRN_X87_BLOCK(ZIRN_CY_SLOT(144), ZIRN_CY_PAIR(208, 216),
                                    ZIRN_CY_PAIR(224, 232)) ZIRN_X87_OPERANDS);
  } else {
    __asm__ volatile(ZIRN_X87_BLOCK(ZIRN_CY_SLOT(144), ZIRN_CY_SLOT(160), ZIRN_CY_SLOT(176))
                         ZIRN_X87_OPERANDS);
  }
  // The counter is not decremented in the step that saw an escape.
  const uint32_t done = mask != 0 ? iterations - remaining + 1 : iterations;
  return {done, mask};
}

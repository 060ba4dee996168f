#pragma once
// 32-bit fixed point with 28 fraction bits (-8 <= v < 8) and the operations
// the integer plotters build on. Products are exact signed 64-bit values with
// 56 fraction bits; all 32-bit additions wrap around.

#include <cstdint>

constexpr int kFixedFractionBits = 28;
constexpr long double kFixedOne = 268435456.0L;  // 2^28
// |z|^2 >= 4 with the squares cut to 24 fraction bits by Hi.
constexpr uint32_t kFixedEscapeBound = 1u << 26;

// v * 2^28 truncated toward zero, keeping the low 32 bits: values outside the
// range wrap around. Needs the x87 unit at 64-bit precision. Values that are
// not finite give 0.
int32_t ToFixed(long double v);

inline int64_t FixedProduct(int32_t a, int32_t b) { return static_cast<int64_t>(a) * b; }

// Upper 32 bits of a product: P / 2^32 rounded down.
inline uint32_t Hi(int64_t product) { return static_cast<uint32_t>(product >> 32); }

// A product (or difference of products) back in fixed point, rounded down:
// shift 28 gives the product, shift 27 twice the product.
inline int32_t ProductToFixed(int64_t product, int shift) {
  return static_cast<int32_t>(product >> shift);
}

inline int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline bool FixedEscaped(int64_t xSquared, int64_t ySquared) {
  return Hi(xSquared) + Hi(ySquared) >= kFixedEscapeBound;
}

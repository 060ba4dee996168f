#pragma once
// A fixed-point real for reference orbits: sign and magnitude, N limbs of
// which the top one holds the integer part. An orbit's points stay below 8
// in size until it escapes, so every bit of the other limbs is a fraction bit
// where a floating-point number of the same width would spend bits on its
// exponent and on normalising; a product keeps only the columns that reach
// the result. Several times faster than the library's binary floating point
// at thousands of bits, and as fine everywhere as that is at a size of 4,
// the size at which precision.h counts the bits a view needs.
//
// It serves the orbit loops (reference.cpp) and nothing else: +, -, *,
// comparisons, and conversions from the deep reals and to 80 bits.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "engine/deep/real.h"

namespace deep_fixed_detail {
#if defined(__SIZEOF_INT128__)
using Limb = uint64_t;
using Wide = unsigned __int128;
#else
using Limb = uint32_t;
using Wide = uint64_t;
#endif
constexpr int kLimbBits = sizeof(Limb) * 8;
}  // namespace deep_fixed_detail

template <int N>
class FixedReal {
  using Limb = deep_fixed_detail::Limb;
  using Wide = deep_fixed_detail::Wide;
  static constexpr int kLimbBits = deep_fixed_detail::kLimbBits;
  static_assert(N >= 3, "a fraction of two limbs at least");

 public:
  // Bits below the point.
  static constexpr int kFractionBits = kLimbBits * (N - 1);

  FixedReal() = default;
  FixedReal(int value) : negative_(value < 0) {  // NOLINT: orbit loops write Real four = 4
    magnitude_[N - 1] = static_cast<Limb>(value < 0 ? -static_cast<int64_t>(value) : value);
  }
  // The nearest fixed-point number below in size (|value| below 2^31).
  explicit FixedReal(long double value) {
    negative_ = value < 0;
    long double size = std::fabs(value);
    for (int k = N - 1; k >= 0 && size > 0; --k) {
      const long double whole = std::floor(size);
      magnitude_[k] = static_cast<Limb>(whole);
      size = std::ldexp(size - whole, kLimbBits);
    }
    Normalise();
  }
  // The deep real truncated to the fraction bits (|value| below 2^kLimbBits),
  // from its mantissa's words: value = mantissa * 2^(exponent - Bits + 1).
  template <unsigned Bits>
  explicit FixedReal(const DeepRealOf<Bits>& value) {
    if (value == 0) return;
    const auto& backend = value.backend();
    negative_ = backend.sign();
    const auto& mantissa = backend.bits();
    const auto* words = mantissa.limbs();
    constexpr int kWordBits = sizeof(*words) * 8;
    const int shift =
        static_cast<int>(backend.exponent()) - static_cast<int>(Bits) + 1 + kFractionBits;
    for (unsigned k = 0; k < mantissa.size(); ++k) {
      for (int part = 0; part < kWordBits; part += 32) {
        Place32(static_cast<uint32_t>(words[k] >> part),
                static_cast<int>(k) * kWordBits + part + shift);
      }
    }
    Normalise();
  }

  // True when |value| <= 4: the orbit loops then stay in range.
  template <unsigned Bits>
  static bool Holds(const DeepRealOf<Bits>& value) {
    return abs(value) <= 4;
  }

  template <typename T>
  T convert_to() const {
    static_assert(std::is_same_v<T, long double>, "orbit points are kept in 80 bits");
    return ToLongDouble();
  }
  // The nearest 80-bit number to the value times 2^scale.
  long double ScaledToLongDouble(int scale) const { return ToLongDouble(scale); }

  friend bool operator==(const FixedReal& a, const FixedReal& b) {
    return a.negative_ == b.negative_ &&
           std::memcmp(a.magnitude_, b.magnitude_, sizeof a.magnitude_) == 0;
  }
  friend bool operator>(const FixedReal& a, const FixedReal& b) {
    if (a.negative_ != b.negative_) return b.negative_;
    const int order = CompareMagnitudes(a, b);
    return a.negative_ ? order < 0 : order > 0;
  }

  friend FixedReal operator+(const FixedReal& a, const FixedReal& b) { return Sum(a, b, false); }
  friend FixedReal operator-(const FixedReal& a, const FixedReal& b) { return Sum(a, b, true); }
  FixedReal& operator+=(const FixedReal& b) { return *this = Sum(*this, b, false); }

  // The product rounded down in size, from the columns at and above the
  // result's lowest limb less two: the carries the others would give change
  // it by less than N * 2^-kLimbBits of its last bit.
  friend FixedReal operator*(const FixedReal& a, const FixedReal& b) {
    if (&a == &b) return a.Square();
    Limb product[2 * N] = {};
    for (int i = 0; i < N; ++i) {
      const Limb ai = a.magnitude_[i];
      if (ai == 0) continue;
      Limb carry = 0;
      for (int j = i < N - 3 ? N - 3 - i : 0; j < N; ++j) {
        const Wide t = static_cast<Wide>(ai) * b.magnitude_[j] + product[i + j] + carry;
        product[i + j] = static_cast<Limb>(t);
        carry = static_cast<Limb>(t >> kLimbBits);
      }
      product[i + N] = carry;
    }
    FixedReal result;
    std::memcpy(result.magnitude_, product + N - 1, sizeof result.magnitude_);
    result.negative_ = a.negative_ != b.negative_;
    result.Normalise();
    return result;
  }

 private:
  static int CompareMagnitudes(const FixedReal& a, const FixedReal& b) {
    for (int k = N - 1; k >= 0; --k) {
      if (a.magnitude_[k] != b.magnitude_[k]) return a.magnitude_[k] > b.magnitude_[k] ? 1 : -1;
    }
    return 0;
  }

  static FixedReal Sum(const FixedReal& a, const FixedReal& b, bool subtract) {
    const bool bNegative = b.negative_ != subtract;
    FixedReal result;
    if (a.negative_ == bNegative) {
      Limb carry = 0;
      for (int k = 0; k < N; ++k) {
        const Wide t = static_cast<Wide>(a.magnitude_[k]) + b.magnitude_[k] + carry;
        result.magnitude_[k] = static_cast<Limb>(t);
        carry = static_cast<Limb>(t >> kLimbBits);
      }
      result.negative_ = a.negative_;
    } else {
      const bool aLarger = CompareMagnitudes(a, b) >= 0;
      const FixedReal& larger = aLarger ? a : b;
      const FixedReal& smaller = aLarger ? b : a;
      Limb borrow = 0;
      for (int k = 0; k < N; ++k) {
        const Limb x = larger.magnitude_[k], y = smaller.magnitude_[k];
        const Limb d = x - y - borrow;
        borrow = (x < y || (x == y && borrow != 0)) ? 1 : 0;
        result.magnitude_[k] = d;
      }
      result.negative_ = aLarger ? a.negative_ : bNegative;
    }
    result.Normalise();
    return result;
  }

  // Zero has no sign, so that == compares values.
  void Normalise() {
    for (int k = 0; k < N; ++k) {
      if (magnitude_[k] != 0) return;
    }
    negative_ = false;
  }

  // Bit `index` of the magnitude (0 = lowest), 0 outside it.
  bool Bit(int index) const {
    if (index < 0) return false;
    return ((magnitude_[index / kLimbBits] >> (index % kLimbBits)) & 1) != 0;
  }

  // The square in about half the steps of the product above: each product of
  // two different limbs is formed once and doubled. Its result may differ
  // from the product's in the last bit, by the other carries it leaves out.
  FixedReal Square() const {
    Limb product[2 * N] = {};
    for (int i = 0; i < N; ++i) {
      const Limb ai = magnitude_[i];
      if (ai == 0) continue;
      Limb carry = 0;
      const int first = i + 1 > N - 3 - i ? i + 1 : N - 3 - i;
      for (int j = first; j < N; ++j) {
        const Wide t = static_cast<Wide>(ai) * magnitude_[j] + product[i + j] + carry;
        product[i + j] = static_cast<Limb>(t);
        carry = static_cast<Limb>(t >> kLimbBits);
      }
      product[i + N] = carry;
    }
    Limb shifted = 0;
    for (int k = 0; k < 2 * N; ++k) {
      const Limb limb = product[k];
      product[k] = (limb << 1) | shifted;
      shifted = limb >> (kLimbBits - 1);
    }
    Limb carry = 0;
    for (int i = 0; i < N; ++i) {
      const Wide square = static_cast<Wide>(magnitude_[i]) * magnitude_[i];
      const Wide low = static_cast<Wide>(product[2 * i]) + static_cast<Limb>(square) + carry;
      product[2 * i] = static_cast<Limb>(low);
      const Wide high = static_cast<Wide>(product[2 * i + 1]) +
                        static_cast<Limb>(square >> kLimbBits) +
                        static_cast<Limb>(low >> kLimbBits);
      product[2 * i + 1] = static_cast<Limb>(high);
      carry = static_cast<Limb>(high >> kLimbBits);
    }
    FixedReal result;
    std::memcpy(result.magnitude_, product + N - 1, sizeof result.magnitude_);
    result.Normalise();
    return result;
  }

  // Adds the 32 bits `chunk` at bit `offset` of the magnitude (bits below 0
  // and above the top are dropped) into bits that are still clear.
  void Place32(uint32_t chunk, int offset) {
    if (chunk == 0 || offset <= -32 || offset >= N * kLimbBits) return;
    uint64_t bits = chunk;
    if (offset < 0) {
      bits >>= -offset;
      offset = 0;
    }
    const int limb = offset / kLimbBits, at = offset % kLimbBits;
    magnitude_[limb] |= static_cast<Limb>(bits << at);
    const uint64_t spill = at == 0 ? 0 : bits >> (kLimbBits - at);
    if (spill != 0 && limb + 1 < N) magnitude_[limb + 1] |= static_cast<Limb>(spill);
  }

  // True when a bit below bit `index` is set.
  bool AnyBitBelow(int index) const {
    if (index <= 0) return false;
    const int limb = index / kLimbBits, bit = index % kLimbBits;
    if (bit != 0 && (magnitude_[limb] & ((Limb{1} << bit) - 1)) != 0) return true;
    for (int k = 0; k < limb; ++k) {
      if (magnitude_[k] != 0) return true;
    }
    return false;
  }

  // The nearest 80-bit number, ties to even.
  long double ToLongDouble(int scale = 0) const {
    int top = N - 1;
    while (top >= 0 && magnitude_[top] == 0) --top;
    if (top < 0) return 0;
    int highest = top * kLimbBits + kLimbBits - 1;
    while (!Bit(highest)) --highest;
    // The 64 bits from the highest down, then the rounding bit and the rest.
    uint64_t mantissa = 0;
    for (int k = 0; k < 64; ++k) mantissa = (mantissa << 1) | (Bit(highest - k) ? 1 : 0);
    const int roundIndex = highest - 64;
    const bool sticky = AnyBitBelow(roundIndex);
    long double value = static_cast<long double>(mantissa);
    if (Bit(roundIndex) && (sticky || (mantissa & 1) != 0)) value += 1;
    value = std::ldexp(value, highest - 63 - kFractionBits + scale);
    return negative_ ? -value : value;
  }

  Limb magnitude_[N] = {};
  bool negative_ = false;
};

// The fixed-point real as fine as DeepRealOf<Bits> at a size of 4, with a
// limb to spare.
template <unsigned Bits>
using FixedRealFor = FixedReal<static_cast<int>((Bits + 2) / deep_fixed_detail::kLimbBits + 2)>;

#pragma once
// The high-precision real of deep views: Boost.Multiprecision's binary
// floating point with the mantissa of PreciseCoordinate. Every use of the
// big-number library goes through this header.

// GCC sees array bounds exceeded in Boost's wide-mantissa shifts that the
// library's own size checks rule out.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#include <boost/multiprecision/cpp_bin_float.hpp>
#pragma GCC diagnostic pop
#include <cstddef>

#include "engine/precise_coordinate.h"

// The same real with `Bits` bits of mantissa: deep plots compute at the
// narrowest precision their view needs (precision.h).
template <unsigned Bits>
using DeepRealOf = boost::multiprecision::number<
    boost::multiprecision::cpp_bin_float<Bits, boost::multiprecision::digit_base_2>,
    boost::multiprecision::et_off>;

using DeepReal = DeepRealOf<kDeepBits>;

DeepReal ToDeepReal(const PreciseCoordinate& precise);
PreciseCoordinate ToPrecise(const DeepReal& value);

// The coordinate that the pair stands for: the precise form while the 80-bit
// field holds its rounding, otherwise the 80-bit field.
DeepReal ExactCoordinate(long double field, const PreciseCoordinate& precise);
// Stores value as the precise form and its rounding as the 80-bit field.
void SetExactCoordinate(long double& field, PreciseCoordinate& precise, const DeepReal& value);

// The same for a height and its double field (RoundToDouble).
DeepReal ExactHeight(double field, const PreciseCoordinate& precise);
void SetExactHeight(double& field, PreciseCoordinate& precise, const DeepReal& value);

// Reads a decimal number at text the way the parameter reader's numbers are
// read (white space, sign, digits, point, exponent), keeping every digit up to
// the precision of DeepReal. False, with nothing stored, when the text does
// not start with such a number or its exponent is beyond any coordinate.
bool ParseDeepReal(const char* text, DeepReal* value);

// A coordinate given as text: the 80-bit field as the runtime converts it
// (strtold), the precise form from every digit. Text that is not a decimal
// number (ParseDeepReal) gives the precise form of the 80-bit field.
void SetCoordinateFromText(const char* text, long double& field, PreciseCoordinate& precise);

// Formats value like printf's "%.<digits>g" (from 2 significant digits to a
// few more than the precise form holds, trailing zeros removed, an exponent
// of at least two digits). Returns the length, or 0 when out cannot hold the
// text and its NUL.
size_t FormatDeepReal(const DeepReal& value, int digits, char* out, size_t size);

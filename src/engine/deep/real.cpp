#include "engine/deep/real.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/fpu_precision.h"

namespace {

using Backend = DeepReal::backend_type;
using Mantissa = boost::multiprecision::number<Backend::rep_type>;

// A coordinate's exponent never comes near these; beyond them a text is not a
// coordinate (and the runtime's conversion gives an infinity or zero anyway).
constexpr long kLargestDecimalExponent = 100000;
// Every digit of the widest coordinate (32 bits are 9.63 digits), and a few more.
constexpr int kLargestFormatDigits = PreciseCoordinate::kWords * 32 * 30103 / 100000 + 16;

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

DeepReal ToDeepReal(const PreciseCoordinate& precise) {
  DeepReal value;
  Backend& backend = value.backend();
  switch (precise.kind) {
    case PreciseCoordinate::kZero:
      value = 0;
      break;
    case PreciseCoordinate::kInfinite:
      value = std::numeric_limits<DeepReal>::infinity();
      break;
    case PreciseCoordinate::kNotANumber:
      value = std::numeric_limits<DeepReal>::quiet_NaN();
      break;
    case PreciseCoordinate::kFinite: {
      Mantissa mantissa;
      boost::multiprecision::import_bits(mantissa, precise.mantissa,
                                         precise.mantissa + PreciseCoordinate::kWords, 32, false);
      backend.bits() = mantissa.backend();
      backend.exponent() = precise.exponent;
      break;
    }
  }
  backend.sign() = precise.negative;
  return value;
}

PreciseCoordinate ToPrecise(const DeepReal& value) {
  PreciseCoordinate precise;
  const Backend& backend = value.backend();
  precise.negative = backend.sign();
  switch (backend.exponent()) {
    case Backend::exponent_zero:
      precise.kind = PreciseCoordinate::kZero;
      precise.negative = false;
      return precise;
    case Backend::exponent_infinity:
      precise.kind = PreciseCoordinate::kInfinite;
      return precise;
    case Backend::exponent_nan:
      precise.kind = PreciseCoordinate::kNotANumber;
      precise.negative = false;
      return precise;
    default:
      break;
  }
  precise.kind = PreciseCoordinate::kFinite;
  precise.exponent = backend.exponent();
  const Mantissa mantissa(backend.bits());
  uint32_t words[PreciseCoordinate::kWords + 1] = {};
  uint32_t* end = boost::multiprecision::export_bits(mantissa, words, 32, false);
  const size_t count = static_cast<size_t>(end - words);
  std::memcpy(
      precise.mantissa, words,
      sizeof(uint32_t) * (count < PreciseCoordinate::kWords ? count : PreciseCoordinate::kWords));
  return precise;
}

PreciseCoordinate PreciseFromLongDouble(long double value) {
  ExtendedPrecisionScope precision;
  return ToPrecise(DeepReal(value));
}

long double RoundToLongDouble(const PreciseCoordinate& precise) {
  ExtendedPrecisionScope precision;
  return ToDeepReal(precise).convert_to<long double>();
}

bool PreciseMatches(long double field, const PreciseCoordinate& precise) {
  const long double rounded = RoundToLongDouble(precise);
  return rounded == field || (rounded != rounded && field != field);
}

DeepReal ExactCoordinate(long double field, const PreciseCoordinate& precise) {
  if (field == field && PreciseMatches(field, precise)) return ToDeepReal(precise);
  ExtendedPrecisionScope precision;
  return DeepReal(field);
}

void SetExactCoordinate(long double& field, PreciseCoordinate& precise, const DeepReal& value) {
  precise = ToPrecise(value);
  field = RoundToLongDouble(precise);
}

double RoundToDouble(const PreciseCoordinate& precise) {
  return static_cast<double>(RoundToLongDouble(precise));
}

bool PreciseMatchesDouble(double field, const PreciseCoordinate& precise) {
  const double rounded = RoundToDouble(precise);
  return rounded == field || (rounded != rounded && field != field);
}

DeepReal ExactHeight(double field, const PreciseCoordinate& precise) {
  if (field == field && PreciseMatchesDouble(field, precise)) return ToDeepReal(precise);
  ExtendedPrecisionScope precision;
  return DeepReal(field);
}

void SetExactHeight(double& field, PreciseCoordinate& precise, const DeepReal& value) {
  precise = ToPrecise(value);
  field = RoundToDouble(precise);
}

bool ParseDeepReal(const char* text, DeepReal* value) {
  const char* p = text;
  while (IsWhiteSpace(*p)) ++p;
  const char* start = p;
  if (*p == '+' || *p == '-') ++p;
  bool digits = false;
  while (IsDigit(*p)) ++p, digits = true;
  if (*p == '.') {
    ++p;
    while (IsDigit(*p)) ++p, digits = true;
  }
  if (!digits) return false;
  const char* end = p;
  long exponent = 0;
  if (*p == 'e' || *p == 'E') {
    const char* q = p + 1;
    bool negative = false;
    if (*q == '+' || *q == '-') negative = *q++ == '-';
    if (IsDigit(*q)) {
      while (IsDigit(*q)) {
        if (exponent <= kLargestDecimalExponent) exponent = exponent * 10 + (*q - '0');
        ++q;
      }
      if (exponent > kLargestDecimalExponent) return false;
      if (negative) exponent = -exponent;
      end = q;
    }
  }
  *value = DeepReal(std::string(start, end));
  return true;
}

void SetCoordinateFromText(const char* text, long double& field, PreciseCoordinate& precise) {
  ExtendedPrecisionScope precision;
  field = std::strtold(text, nullptr);
  DeepReal value;
  precise = ParseDeepReal(text, &value) ? ToPrecise(value) : PreciseFromLongDouble(field);
}

size_t FormatDeepReal(const DeepReal& value, int digits, char* out, size_t size) {
  if (digits < 2) digits = 2;  // Boost reads 0 digits after the point as "all of them"
  if (digits > kLargestFormatDigits) digits = kLargestFormatDigits;
  std::string text;
  if (boost::multiprecision::isnan(value)) {
    text = boost::multiprecision::signbit(value) ? "-nan" : "nan";
  } else if (boost::multiprecision::isinf(value)) {
    text = value < 0 ? "-inf" : "inf";
  } else if (value == 0) {
    text = boost::multiprecision::signbit(value) ? "-0" : "0";
  } else {
    // d.ddd...e±X with digits significant digits, correctly rounded.
    const std::string scientific = value.str(digits - 1, std::ios_base::scientific);
    const size_t e = scientific.find('e');
    const long exponent = std::strtol(scientific.c_str() + e + 1, nullptr, 10);
    std::string mantissa;
    for (size_t i = 0; i < e; ++i) {
      if (IsDigit(scientific[i])) mantissa += scientific[i];
    }
    const bool negative = scientific[0] == '-';
    if (negative) text += '-';
    if (exponent < -4 || exponent >= digits) {
      text += mantissa[0];
      std::string fraction = mantissa.substr(1);
      while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
      if (!fraction.empty()) text += '.' + fraction;
      char exponentText[16];
      std::snprintf(exponentText, sizeof exponentText, "e%c%02d", exponent < 0 ? '-' : '+',
                    static_cast<int>(exponent < 0 ? -exponent : exponent));
      text += exponentText;
    } else {
      std::string whole, fraction;
      if (exponent < 0) {
        whole = "0";
        fraction = std::string(static_cast<size_t>(-exponent - 1), '0') + mantissa;
      } else {
        whole = mantissa.substr(0, static_cast<size_t>(exponent) + 1);
        fraction = mantissa.substr(static_cast<size_t>(exponent) + 1);
      }
      while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
      text += whole;
      if (!fraction.empty()) text += '.' + fraction;
    }
  }
  if (text.size() + 1 > size) return 0;
  std::memcpy(out, text.c_str(), text.size() + 1);
  return text.size();
}

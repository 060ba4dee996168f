// The fixed-point orbit arithmetic against the deep real it stands in for:
// on values of every sign and size an orbit meets, converted, added,
// subtracted and compared, both give the same 80-bit number and answer;
// products and squares agree as far as the fixed point's fraction goes
// (tiny products keep fewer than 64 significant bits of it).

#include <gtest/gtest.h>

#include <cmath>

#include "engine/deep/fixed.h"
#include "engine/fpu_precision.h"

namespace {

template <unsigned Bits>
void ExpectFixedAgrees() {
  using Real = DeepRealOf<Bits>;
  using Fixed = FixedRealFor<Bits>;
  const Real values[] = {Real(0),
                         Real(1) / 3,
                         -sqrt(Real(2)),
                         Real(4),
                         Real("-3.99999999"),
                         Real("1e-20") / 7,
                         -Real(1) / 1024,
                         Real("0.7071067811865475244008443621048490")};
  const auto rounded = [](const auto& value) { return value.template convert_to<long double>(); };
  const auto expectProduct = [&](const Fixed& fixed, const Real& real) {
    const long double exact = rounded(real);
    const long double tolerance =
        std::fmax(std::ldexp(std::fabs(exact), -63), std::ldexp(1.0L, -static_cast<int>(Bits)));
    EXPECT_LE(std::fabs(rounded(fixed) - exact), tolerance) << Bits;
  };
  for (const Real& a : values) {
    const Fixed fa(a);
    EXPECT_EQ(rounded(fa), rounded(a)) << Bits;
    expectProduct(fa * fa, Real(a * a));
    for (const Real& b : values) {
      const Fixed fb(b);
      EXPECT_EQ(rounded(fa + fb), rounded(Real(a + b))) << Bits;
      EXPECT_EQ(rounded(fa - fb), rounded(Real(a - b))) << Bits;
      expectProduct(fa * fb, Real(a * b));
      EXPECT_EQ(fa > fb, a > b) << Bits;
      EXPECT_EQ(fa == fb, a == b) << Bits;
    }
  }
}

TEST(DeepFixedTest, AgreesWithTheDeepRealAtEveryWidth) {
  ExtendedPrecisionScope precision;
  ExpectFixedAgrees<128>();
  ExpectFixedAgrees<1536>();
  ExpectFixedAgrees<kDeepBits>();
}

}  // namespace

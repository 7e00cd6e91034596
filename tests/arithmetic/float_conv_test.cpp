// toFloat64 against MPFR's correctly rounded conversion (53 bits, nearest
// even), bigFromFloat64 against GMP's truncation, and the listed edge values.
#include <mpfr.h>

#include <bit>
#include <cmath>
#include <limits>

#include "support/big.hpp"
#include "arithmetic/float_conv.hpp"
#include "arithmetic/signed_big.hpp"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

double mpfrNearest(mpz_srcptr z) {
  mpfr_t f;
  mpfr_init2(f, 53);
  mpfr_set_z(f, z, MPFR_RNDN);
  double d = mpfr_get_d(f, MPFR_RNDN);
  mpfr_clear(f);
  return d;
}

BigUInt pow2(std::int64_t k) { return shl(initBigUInt(std::uint64_t{1}), k); }

TEST(ToFloat64, AgreesWithMpfr) {
  KOVRIX_SEED_TRACE();
  Mpz z;
  for (int i = 0; i < 20000; ++i) {
    // Lengths up to 18 limbs reach past the overflow threshold (1024 bits).
    BigInt x = randomBigInt(below(19));
    if (below(3) == 0) x = shr(x, static_cast<std::int64_t>(below(64)));
    toMpz(z, x);
    double got = toFloat64(x);
    double expect = mpfrNearest(z);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(expect)) << hex(x);
  }
}

TEST(ToFloat64, HalfwayCasesRoundToEven) {
  KOVRIX_SEED_TRACE();
  Mpz z;
  for (int i = 0; i < 5000; ++i) {
    // mant (53 bits) followed by a rounding bit of 1 and a sticky tail that
    // is either empty or a single low bit: exact ties and near-ties.
    std::int64_t tail = static_cast<std::int64_t>(below(1000));
    BigUInt m = initBigUInt((randomLimb() >> 11) | (Limb{1} << 52));
    BigUInt x = add(shl(m, tail + 1), pow2(tail));
    if (below(2) && tail > 0) x = add(x, initBigUInt(std::uint64_t{1}));
    toMpz(z, x);
    ASSERT_EQ(toFloat64(x), mpfrNearest(z)) << hex(x);
  }
}

TEST(ToFloat64, ListedValues) {
  const double two53 = 9007199254740992.0;
  EXPECT_EQ(toFloat64(add(pow2(53), initBigUInt(std::uint64_t{1}))), two53);
  EXPECT_EQ(toFloat64(add(pow2(53), initBigUInt(std::uint64_t{3}))), two53 + 4);
  EXPECT_EQ(toFloat64(add(pow2(54), initBigUInt(std::uint64_t{2}))), 2 * two53);
  EXPECT_EQ(toFloat64(add(pow2(54), initBigUInt(std::uint64_t{6}))), 2 * two53 + 8);
  EXPECT_EQ(toFloat64(sub(pow2(1024), pow2(971))), std::numeric_limits<double>::max());
  EXPECT_EQ(toFloat64(sub(pow2(1024), pow2(970))), std::numeric_limits<double>::infinity());
  EXPECT_EQ(toFloat64(pow2(1076)), std::numeric_limits<double>::infinity());
  EXPECT_EQ(toFloat64(pow2(5000)), std::numeric_limits<double>::infinity());
  EXPECT_EQ(toFloat64(BigInt{true, pow2(5000)}), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(toFloat64(BigUInt{}), 0.0);
  EXPECT_FALSE(std::signbit(toFloat64(BigInt{})));
  EXPECT_EQ(toFloat64(initBigInt(std::int64_t{-3})), -3.0);
  EXPECT_EQ(toFloat64(initBigUInt(~Limb{0})), 18446744073709551616.0);
}

TEST(BigFromFloat64, AgreesWithGmpTruncation) {
  KOVRIX_SEED_TRACE();
  Mpz z;
  for (int i = 0; i < 20000; ++i) {
    double d = std::bit_cast<double>(randomLimb());
    if (!std::isfinite(d)) continue;
    if (i % 2) d = std::ldexp(std::fmod(d, 1.0) + static_cast<double>(below(1 << 20)), static_cast<int>(below(80)));
    mpz_set_d(z, d);
    ASSERT_TRUE(sameAs(bigFromFloat64(d), z)) << d;
  }
}

TEST(BigFromFloat64, ListedValues) {
  EXPECT_EQ(bigFromFloat64(2.5), initBigInt(std::int64_t{2}));
  EXPECT_EQ(bigFromFloat64(-2.5), initBigInt(std::int64_t{-2}));
  EXPECT_EQ(bigFromFloat64(0.999), BigInt{});
  BigInt negSmall = bigFromFloat64(-0.5);
  EXPECT_FALSE(negSmall.negative);
  EXPECT_TRUE(negSmall.magnitude.isZero());
  EXPECT_FALSE(bigFromFloat64(-0.0).negative);
  EXPECT_TRUE(bigFromFloat64(5e-324).magnitude.isZero());
  BigInt t63 = bigFromFloat64(9223372036854775808.0);
  EXPECT_TRUE(limbsEqual(t63.magnitude, {Limb{1} << 63}));
  EXPECT_FALSE(t63.negative);
  Mpz z;
  mpz_set_d(z, 1e300);
  EXPECT_TRUE(sameAs(bigFromFloat64(1e300), z));
  EXPECT_EQ(toFloat64(bigFromFloat64(1e300)), 1e300);
  EXPECT_EQ(toFloat64(bigFromFloat64(std::numeric_limits<double>::max())), std::numeric_limits<double>::max());
}

TEST(BigFromFloat64, NonFiniteRaises) {
  for (double d : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                   std::numeric_limits<double>::quiet_NaN()}) {
    try {
      bigFromFloat64(d);
      FAIL() << d;
    } catch (const OverflowDefect& e) {
      EXPECT_STREQ(e.what(), "toFixed: non-finite float (Inf/NaN) has no integer value");
    }
  }
}

}  // namespace
}  // namespace kovrix

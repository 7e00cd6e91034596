// Rational arithmetic, comparison and conversion to float64 against GMP's
// mpq: every result must be the canonical form that mpq_canonicalize makes
// of the unreduced formula (the plain full reduction), whatever shortcut the
// operation took.
#include "rational/arithmetic.hpp"

#include <mpfr.h>

#include <cmath>

#include "arithmetic/float_conv.hpp"
#include "arithmetic/signed_big.hpp"
#include "rational/comparison.hpp"
#include "support/doubles.hpp"
#include "support/rational.hpp"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

// The canonical form of n/d by one full reduction.
void fullyReduced(mpq_t out, const BigInt& n, const BigInt& d) {
  toMpz(mpq_numref(out), n);
  toMpz(mpq_denref(out), d);
  mpq_canonicalize(out);
}

TEST(RationalArithmetic, AgreesWithFullReduction) {
  KOVRIX_SEED_TRACE();
  Mpq q, qa, qb;
  for (int i = 0; i < 4000; ++i) {
    // Tiny to about 300 decimal digits (16 limbs).
    const std::size_t limbs = below(3) == 0 ? 1 : 16;
    Rational a = randomRational(limbs), b = below(8) == 0 ? a : randomRational(limbs);
    if (below(8) == 0) b = -a;
    SCOPED_TRACE(text(a) + " and " + text(b));
    fullyReduced(q, a.num * b.den + b.num * a.den, a.den * b.den);
    ASSERT_TRUE(sameAs(a + b, q)) << "sum";
    fullyReduced(q, a.num * b.den - b.num * a.den, a.den * b.den);
    ASSERT_TRUE(sameAs(a - b, q)) << "difference";
    fullyReduced(q, a.num * b.num, a.den * b.den);
    ASSERT_TRUE(sameAs(a * b, q)) << "product";
    if (!isZero(b)) {
      fullyReduced(q, a.num * b.den, a.den * b.num);
      ASSERT_TRUE(sameAs(a / b, q)) << "quotient";
    }
    toMpq(qa, a);
    toMpq(qb, b);
    const int c = mpq_cmp(qa, qb);
    ASSERT_EQ(cmp(a, b), (c > 0) - (c < 0));
    ASSERT_EQ(cmpCross(a.num, a.den, b.num, b.den), (c > 0) - (c < 0));
    mpq_neg(q, qa);
    ASSERT_TRUE(sameAs(-a, q));
    mpq_abs(q, qa);
    ASSERT_TRUE(sameAs(abs(a), q));
  }
}

// Values so close that the leading bits of the cross products agree:
// (a.num·m + e)/(a.den·m) for e = -1, 0, 1 and m up to 16 limbs.
TEST(RationalArithmetic, CompareCloseValues) {
  KOVRIX_SEED_TRACE();
  Mpq qa, qb;
  for (int i = 0; i < 2000; ++i) {
    const Rational a = randomRational(1 + below(16));
    const BigInt m = initBigInt(randomBig(1 + below(16)) + initBigUInt(1), false);
    const BigInt n = a.num * m + initBigInt(static_cast<std::int64_t>(below(3)) - 1), d = a.den * m;
    toMpq(qa, a);
    toMpq(qb, Rational{n, d});
    mpq_canonicalize(qb);
    const int c = mpq_cmp(qa, qb);
    ASSERT_EQ(cmpCross(a.num, a.den, n, d), (c > 0) - (c < 0)) << text(a) << " against " << hex(n) << "/" << hex(d);
    ASSERT_EQ(cmp(a, fromMpq(qb)), (c > 0) - (c < 0));
  }
}

TEST(RationalArithmetic, ConstructionAndStatedValues) {
  Mpq q;
  mpq_set_si(q, -3, 2);
  EXPECT_TRUE(sameAs(initRational(6, -4), q));
  mpq_set_si(q, 0, 1);
  EXPECT_TRUE(sameAs(initRational(0, -5), q));
  EXPECT_TRUE(sameAs(initRational(1, 3) - initRational(1, 3), q));
  EXPECT_TRUE(sameAs(initRational(0, 1) * initRational(5, 7), q));
  EXPECT_FALSE(initRational(0, 1).num.negative || (-initRational(0, 1)).num.negative);
  mpq_set_si(q, 5, 12);
  EXPECT_TRUE(sameAs(initRational(1, 6) + initRational(1, 4), q));
  mpq_set_si(q, 1, 2);
  EXPECT_TRUE(sameAs(initRational(2, 3) * initRational(3, 4), q));
  EXPECT_TRUE(sameAs(initRational(-2, 3) * initRational(-3, 4), q));
  mpq_set_si(q, -2, 3);
  EXPECT_TRUE(sameAs(initRational(1, 2) / initRational(-3, 4), q));
  EXPECT_TRUE(isOne(initRational(1, 2) + initRational(1, 2)));
  EXPECT_EQ(cmp(initRational(-1, 2), initRational(1, 3)), -1);
  EXPECT_EQ(cmp(initRational(2, 4), initRational(1, 2)), 0);
  Rational big = initRational(INT64_MIN, -1);
  EXPECT_TRUE(!big.num.negative && big.num.magnitude.size() == 1 && big.num.magnitude[0] == Limb{1} << 63);
  EXPECT_THROW(initRational(7, 0), DivByZeroDefect);
  EXPECT_THROW(initRational(1, 2) / initRational(0, 1), DivByZeroDefect);
}

// The float64 nearest to a canonical Rational (ties to even), by MPFR with
// the exponent range of double, so subnormal results are rounded once.
double nearest(const Rational& r) {
  Mpq q;
  toMpq(q, r);
  const mpfr_exp_t emin = mpfr_get_emin(), emax = mpfr_get_emax();
  mpfr_set_emin(-1073);
  mpfr_set_emax(1024);
  mpfr_t f;
  mpfr_init2(f, 53);
  mpfr_subnormalize(f, mpfr_set_q(f, q, MPFR_RNDN), MPFR_RNDN);
  const double d = mpfr_get_d(f, MPFR_RNDN);
  mpfr_clear(f);
  mpfr_set_emin(emin);
  mpfr_set_emax(emax);
  return d;
}

TEST(RationalArithmetic, ToFloat64InBothRegimes) {
  KOVRIX_SEED_TRACE();
  // Both parts finite: exactly the quotient of the two doubles.
  for (int i = 0; i < 2000; ++i) {
    Rational r = randomRational(1 + below(15));  // below 2^960
    const double expect = toFloat64(r.num) / toFloat64(r.den);
    ASSERT_EQ(toFloat64(r), expect) << text(r);
  }
  // A part beyond the double range: the correctly rounded double, bit for
  // bit, from parts of 17 to 200 limbs, values from beyond 2^1024 down to
  // subnormal and zero, and odd numerators over powers of two (exact values
  // and ties, normal and subnormal).
  for (int i = 0; i < 3000; ++i) {
    Rational r = randomRational(below(4) == 0 ? 200 : 17 + below(20));
    if (below(2)) r = initRational(shl(r.num, static_cast<std::int64_t>(below(1200))), r.den);
    if (below(2)) r = initRational(r.num, shl(r.den, static_cast<std::int64_t>(below(1200))));
    if (below(4) == 0)
      r = initRational(initBigInt(static_cast<std::int64_t>(bits64() >> below(64)) | 1),
                       shl(initBigInt(1), static_cast<std::int64_t>(1024 + below(100))));
    if (std::isfinite(toFloat64(r.num)) && std::isfinite(toFloat64(r.den))) continue;
    ASSERT_TRUE(sameBits(toFloat64(r), nearest(r))) << text(r) << " gave " << toFloat64(r) << ", nearest " << nearest(r);
  }
  BigInt two1100 = shl(initBigInt(1), 1100);
  EXPECT_EQ(toFloat64(initRational(two1100 + initBigInt(1), two1100)), 1.0);
  EXPECT_EQ(toFloat64(initRational(-(two1100 + initBigInt(1)), two1100 * initBigInt(3))), -1.0 / 3.0);
  EXPECT_EQ(toFloat64(initRational(shl(initBigInt(3), 3000), initBigInt(1))), INFINITY);
  EXPECT_EQ(toFloat64(initRational(initBigInt(-1), shl(initBigInt(3), 3000))), -0.0);
  EXPECT_TRUE(std::signbit(toFloat64(initRational(initBigInt(-1), shl(initBigInt(3), 3000)))));
  EXPECT_EQ(toFloat64(initRational(1, 3)), 1.0 / 3.0);
  // Ties to even: (2^53 + 1)/2^1024, (2^53 + 3)/2^1024 and 3/2^1075
  // (subnormal); 1/2^1075 to +0.
  const BigInt two53 = shl(initBigInt(1), 53), two1024 = shl(initBigInt(1), 1024);
  EXPECT_EQ(toFloat64(initRational(two53 + initBigInt(1), two1024)), 0x1p-971);
  EXPECT_EQ(toFloat64(initRational(two53 + initBigInt(3), two1024)), std::ldexp(0x1p53 + 4, -1024));
  EXPECT_EQ(toFloat64(initRational(initBigInt(3), shl(initBigInt(1), 1075))), 0x1p-1073);
  EXPECT_TRUE(sameBits(toFloat64(initRational(initBigInt(1), shl(initBigInt(1), 1075))), 0.0));
}

}  // namespace
}  // namespace kovrix

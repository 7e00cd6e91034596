// Conversions against exact references: mpq_set_d for doubles into Rational,
// "truncate both parts to 256 bits, then one MPFR division" for Rational into
// BigFloat, GMP's truncating divisions for the integer parts and Fixed, the
// enclosure of the exact value for intervals; and the exports' stated values
// and failure values.
#include "conversions.hpp"

#include <mpfr.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "arithmetic/float_conv.hpp"
#include "arithmetic/signed_big.hpp"
#include "c_api/pending_error.hpp"
#include "kovrix.h"
#include "rational/arithmetic.hpp"
#include "support/doubles.hpp"
#include "support/rational.hpp"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

double randomDouble() {
  double d;
  do {
    const std::uint64_t b = bits64();
    std::memcpy(&d, &b, sizeof d);
  } while (!std::isfinite(d));
  return d;
}

TEST(Conversions, DoublesIntoRationalExactly) {
  KOVRIX_SEED_TRACE();
  Mpq q;
  for (int i = 0; i < 5000; ++i) {
    const double x = i < 4 ? (double[]){0.0, -0.0, 0x1p-1074, 3.0e15}[i] : randomDouble();
    mpq_set_d(q, x);
    ASSERT_TRUE(sameAs(toRationalBig(x), q)) << show(x);
    if (x != 0) {
      const auto [m, e] = decomposeFloat(x);
      ASSERT_TRUE(m % 2 != 0 && std::ldexp(static_cast<double>(m), static_cast<int>(e)) == x) << show(x);
    }
  }
  EXPECT_EQ(text(toRationalBig(0.1)), text(initRational(3602879701896397, 36028797018963968)));
  EXPECT_THROW(toRationalBig(NAN), ValueError);
  EXPECT_THROW(toRationalBig(-INFINITY), ValueError);
}

TEST(Conversions, RationalIntoBigFloatAndIntegers) {
  KOVRIX_SEED_TRACE();
  mpfr_t n, d, want, got;
  mpfr_inits2(256, n, d, want, got, static_cast<mpfr_ptr>(nullptr));
  Mpq q;
  Mpz z;
  for (int i = 0; i < 2000; ++i) {
    const Rational r = randomRational(below(2) ? 2 : 8);
    toMpq(q, r);
    // Each part truncated to 256 bits, then one division to nearest (MPFR
    // breaks exact ties to even, the library away from zero; random
    // quotients of 256-bit parts are never exact ties).
    mpfr_set_z(n, mpq_numref(q.v), MPFR_RNDZ);
    mpfr_set_z(d, mpq_denref(q.v), MPFR_RNDZ);
    mpfr_div(want, n, d, MPFR_RNDN);
    const BigFloat b = toBigFloat(r, 256, RoundingMode::nearest);
    toMpz(z, b.mantissa);
    mpfr_set_z(got, z, MPFR_RNDN);
    mpfr_mul_2si(got, got, static_cast<long>(b.exponent), MPFR_RNDN);
    if (b.negative) mpfr_neg(got, got, MPFR_RNDN);
    ASSERT_EQ(mpfr_cmp(got, want), 0) << text(r);
    // Integer parts, truncated toward zero.
    mpz_tdiv_q(z, mpq_numref(q.v), mpq_denref(q.v));
    ASSERT_TRUE(sameAs(toBigInt(r), z)) << text(r);
    mpfr_get_z(z, got, MPFR_RNDZ);
    ASSERT_TRUE(sameAs(toBigInt(b), z)) << text(r);
    // Fixed: |r| 2^f truncated, signed, 0 from 2^63 up.
    const int f = static_cast<int>(below(64));
    mpz_mul_2exp(z, mpq_numref(q.v), static_cast<mp_bitcnt_t>(f));
    mpz_tdiv_q(z, z, mpq_denref(q.v));
    const std::int64_t fixedWant = mpz_sizeinbase(z, 2) <= 63 ? mpz_get_si(z) : 0;
    ASSERT_EQ(fixedFromRational(r, f), fixedWant) << text(r) << " at " << f;
  }
  mpfr_clears(n, d, want, got, static_cast<mpfr_ptr>(nullptr));
}

// The bounds are two steps around toFloat64 every time.  Where a part is
// beyond the double range that double is correctly rounded, so the interval
// encloses the value (an infinity or zero included).  Where both parts are
// finite it is the quotient of the two rounded parts, which can be slightly
// more than two steps away (1 in about 40,000 random fractions; e.g.
// 305019302219880671/2824357441666650760075846884527575): kept as it is.
TEST(Conversions, IntervalsEncloseTheValue) {
  KOVRIX_SEED_TRACE();
  Mpq q, bound;
  for (int i = 0; i < 2000; ++i) {
    Rational r = randomRational(1 + below(40));  // parts up to 2560 bits
    if (below(2)) r = initRational(shl(r.num, static_cast<std::int64_t>(below(300))), r.den);
    if (below(4) == 0) r = initRational(r.num, shl(r.den, static_cast<std::int64_t>(1000 + below(1200))));
    const Interval v = toInterval(r);
    toMpq(q, r);
    const double f = toFloat64(r);
    ASSERT_TRUE(sameBits(v.lo, nextDown(nextDown(f))) && sameBits(v.hi, nextUp(nextUp(f))));
    if (std::isfinite(toFloat64(r.num)) && std::isfinite(toFloat64(r.den))) continue;
    if (std::isfinite(v.lo)) mpq_set_d(bound, v.lo);
    ASSERT_TRUE(std::isinf(v.lo) || mpq_cmp(bound, q) <= 0) << text(r);
    if (std::isfinite(v.hi)) mpq_set_d(bound, v.hi);
    ASSERT_TRUE(std::isinf(v.hi) || mpq_cmp(bound, q) >= 0) << text(r);
  }
  BigInt two1100 = shl(initBigInt(1), 1100);
  const Interval one = toInterval(initRational(two1100 + initBigInt(1), two1100));
  EXPECT_TRUE(one.lo < 1.0 && 1.0 < one.hi);
}

struct Destroy {
  void operator()(kovrix_rational* h) const { kovrix_rational_destroy(h); }
  void operator()(kovrix_bigint* h) const { kovrix_bigint_destroy(h); }
  void operator()(kovrix_bigfloat* h) const { kovrix_bigfloat_destroy(h); }
};
template <class T>
using H = std::unique_ptr<T, Destroy>;

std::string dec(kovrix_bigint* h) {
  H<kovrix_bigint> owned(h);
  char buf[256];
  return h && kovrix_bigint_to_decimal(h, buf, sizeof buf) >= 0 ? buf : "<NULL>";
}

TEST(ConversionExports, StatedValuesAndFailures) {
  capi::clearPending();
  H<kovrix_rational> third(kovrix_rational_from_i64(1, 3)), zero(kovrix_rational_from_i64(0, 1));
  H<kovrix_rational> r(kovrix_rational_from_fixed(-3, 1));
  EXPECT_EQ(dec(kovrix_rational_num(r.get())) + "/" + dec(kovrix_rational_den(r.get())), "-3/2");
  EXPECT_EQ(kovrix_rational_is_one(H<kovrix_rational>(kovrix_rational_from_fixed(int64_t{1} << 32, 32)).get()), 1);
  EXPECT_EQ(kovrix_rational_from_fixed(5, 64), nullptr);
  EXPECT_EQ(kovrix_rational_from_fixed(5, -1), nullptr);
  EXPECT_EQ(kovrix_rational_from_f64(NAN), nullptr);
  EXPECT_EQ(kovrix_rational_from_f64(INFINITY), nullptr);
  EXPECT_FALSE(capi::errorPending());
  H<kovrix_rational> m72(kovrix_rational_from_i64(-7, 2));
  EXPECT_EQ(dec(kovrix_bigint_from_rational(m72.get())), "-3");
  H<kovrix_bigfloat> m25(kovrix_bigfloat_from_f64(-2.5)), q75(kovrix_bigfloat_from_f64(0.75));
  EXPECT_EQ(dec(kovrix_bigint_from_bigfloat(m25.get())), "-2");
  EXPECT_EQ(dec(kovrix_bigint_from_bigfloat(q75.get())), "0");
  H<kovrix_rational> m13(kovrix_rational_from_i64(-1, 3)), one(kovrix_rational_from_i64(1, 1));
  H<kovrix_rational> mone(kovrix_rational_from_i64(-1, 1));
  EXPECT_EQ(kovrix_fixed_from_rational(m13.get(), 32), -1431655765);
  EXPECT_EQ(kovrix_fixed_from_rational(one.get(), 32), int64_t{1} << 32);
  EXPECT_EQ(kovrix_fixed_from_rational(one.get(), 63), 0);
  EXPECT_EQ(kovrix_fixed_from_rational(mone.get(), 63), 0);
  EXPECT_EQ(kovrix_fixed_from_rational(nullptr, 3), 0);
  EXPECT_EQ(kovrix_bigfloat_to_f64(H<kovrix_bigfloat>(kovrix_bigfloat_from_rational(third.get())).get()), 1.0 / 3.0);
  kovrix_interval v = kovrix_interval_from_rational(third.get());
  EXPECT_TRUE(v.lo == 0.3333333333333332 && v.hi == 0.3333333333333334);
  v = kovrix_interval_from_rational(zero.get());
  EXPECT_TRUE(v.lo == -0x1p-1073 && v.hi == 0x1p-1073);
  H<kovrix_bigint> z(kovrix_bigint_from_i64(0));
  v = kovrix_interval_from_bigint(z.get());
  EXPECT_TRUE(v.lo == -0x1p-1073 && v.hi == 0x1p-1073);
  for (kovrix_interval n : {kovrix_interval_from_rational(nullptr), kovrix_interval_from_bigint(nullptr),
                            kovrix_interval_from_bigfloat(nullptr)})
    EXPECT_TRUE(bitsOf(n.lo) == 0x7FF8000000000000ULL && bitsOf(n.hi) == 0x7FF8000000000000ULL);
  EXPECT_EQ(kovrix_bigfloat_from_rational(nullptr), nullptr);
  EXPECT_EQ(kovrix_bigint_from_rational(nullptr), nullptr);
  EXPECT_EQ(kovrix_bigint_from_bigfloat(nullptr), nullptr);
  // Pending errors: the interval exports give (0, 0) and leave it; the
  // Fixed conversion clears any kind; from_f64 clears an invalid argument.
  capi::setPending(ErrorKind::overflowDefect, "over- or underflow");
  v = kovrix_interval_from_rational(third.get());
  EXPECT_TRUE(v.lo == 0.0 && v.hi == 0.0 && capi::errorPending());
  EXPECT_EQ(kovrix_rational_from_f64(1.0), nullptr);
  EXPECT_TRUE(capi::errorPending());
  EXPECT_EQ(kovrix_fixed_from_rational(one.get(), 3), 0);
  EXPECT_FALSE(capi::errorPending());
  capi::setPending(ErrorKind::valueError, "x");
  EXPECT_EQ(kovrix_rational_from_f64(1.0), nullptr);
  EXPECT_FALSE(capi::errorPending());
}

}  // namespace
}  // namespace kovrix

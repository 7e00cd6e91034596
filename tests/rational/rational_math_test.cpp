// The Rational series and functions against the truncated series written as
// sums with GMP's mpq (powers and factorials straight from their formulas),
// and the stated values.
#include "rational/rational_math.hpp"

#include "rational/arithmetic.hpp"
#include "rational/comparison.hpp"
#include "support/rational.hpp"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

// x^e / d for an mpq x (canonical), a natural e and a positive integer d.
void powerOver(mpq_t out, mpq_srcptr x, unsigned long e, mpz_srcptr d) {
  mpz_pow_ui(mpq_numref(out), mpq_numref(x), e);
  mpz_pow_ui(mpq_denref(out), mpq_denref(x), e);
  mpz_mul(mpq_denref(out), mpq_denref(out), d);
  mpq_canonicalize(out);
}

// sum over k < n of sign(k) x^(a k + b) / divisor(k).
template <class Sign, class Divisor>
void seriesSum(mpq_t out, mpq_srcptr x, long n, unsigned long a, unsigned long b, Sign sign, Divisor divisor) {
  Mpq term;
  Mpz d;
  mpq_set_ui(out, 0, 1);
  for (long k = 0; k < std::max(n, 1L); ++k) {
    divisor(d.v, static_cast<unsigned long>(k));
    powerOver(term, x, a * static_cast<unsigned long>(k) + b, d);
    if (sign(k) < 0) mpq_sub(out, out, term); else mpq_add(out, out, term);
  }
}

auto alternate = [](long k) { return k % 2 ? -1 : 1; };
auto positive = [](long) { return 1; };
auto factorial = [](mpz_ptr d, unsigned long m) { mpz_fac_ui(d, m); };

void sinSum(mpq_t out, mpq_srcptr x, long n) {
  seriesSum(out, x, n, 2, 1, alternate, [](mpz_ptr d, unsigned long k) { factorial(d, 2 * k + 1); });
}
void cosSum(mpq_t out, mpq_srcptr x, long n) {
  seriesSum(out, x, n, 2, 0, alternate, [](mpz_ptr d, unsigned long k) { factorial(d, 2 * k); });
}
void atanSum(mpq_t out, mpq_srcptr x, long n) {
  seriesSum(out, x, n, 2, 1, alternate, [](mpz_ptr d, unsigned long k) { mpz_set_ui(d, 2 * k + 1); });
}
void expSum(mpq_t out, mpq_srcptr x, long n) { seriesSum(out, x, n, 1, 0, positive, factorial); }
// 2 atanh-series of y = (x - 1)/(x + 1).
void lnSum(mpq_t out, mpq_srcptr x, long n) {
  Mpq y, one, den;
  mpq_set_ui(one, 1, 1);
  mpq_sub(y, x, one);
  mpq_add(den, x, one);
  mpq_div(y, y, den);
  seriesSum(out, y, n, 2, 1, positive, [](mpz_ptr d, unsigned long k) { mpz_set_ui(d, 2 * k + 1); });
  mpq_add(out, out, out);
}

TEST(RationalMath, SeriesAgreeWithTheirSums) {
  KOVRIX_SEED_TRACE();
  Mpq qx, want;
  for (int i = 0; i < 300; ++i) {
    Rational x = randomRational(below(4) == 0 ? 2 : 1);
    const long n = static_cast<long>(below(9));
    toMpq(qx, x);
    SCOPED_TRACE(text(x) + " with " + std::to_string(n) + " terms");
    sinSum(want, qx, n);
    ASSERT_TRUE(sameAs(sinTaylor(x, n), want)) << "sin";
    cosSum(want, qx, n);
    ASSERT_TRUE(sameAs(cosTaylor(x, n), want)) << "cos";
    atanSum(want, qx, n);
    ASSERT_TRUE(sameAs(atanTaylor(x, n), want)) << "atan";
    expSum(want, qx, n);
    ASSERT_TRUE(sameAs(expTaylor(x, n), want)) << "exp";
    if (mpq_sgn(qx.v) > 0) {
      lnSum(want, qx, n);
      ASSERT_TRUE(sameAs(lnGeneric(x, n), want)) << "ln";
      // pow(x, y) = exp-series of y times the ln-series, both with n terms.
      Rational y = randomRational(1);
      Mpq prod;
      toMpq(prod, y);
      mpq_mul(prod, prod, want);
      expSum(want, prod, n);
      ASSERT_TRUE(sameAs(pow(x, y, n), want)) << "pow";
    } else {
      EXPECT_THROW(lnGeneric(x, n), ValueError);
    }
  }
}

TEST(RationalMath, RoutersAndStatedValues) {
  auto r = [](std::int64_t a, std::int64_t b) { return initRational(a, b); };
  auto same = [](const Rational& got, const Rational& want) { return cmp(got, want) == 0; };
  EXPECT_TRUE(same(sin(r(1, 1), 5), r(305353, 362880)));
  EXPECT_TRUE(same(cos(r(1, 1), 5), r(4357, 8064)));
  EXPECT_TRUE(same(tan(r(1, 1), 5), r(305353, 196065)));
  EXPECT_TRUE(same(exp(r(1, 1), 10), r(98641, 36288)));
  EXPECT_TRUE(same(ln(r(2, 1), 10), r(1302374561632216, 1878929321474205)));
  EXPECT_TRUE(same(sqrt(r(2, 1), 4), r(665857, 470832)));
  EXPECT_TRUE(same(sqrt(r(9, 4), 4), r(3, 2)));
  EXPECT_TRUE(same(sqrt(r(1, 4), 4), r(1, 2)));
  EXPECT_TRUE(same(sqrt(r(2, 1), 0), r(1, 1)));
  EXPECT_TRUE(same(atan(r(1, 1), 5), r(263, 315)));
  EXPECT_TRUE(same(atan(r(2, 1), 5), r(20176721, 18224640)));
  EXPECT_TRUE(same(atan(r(-1, 2), 5), r(-74783, 161280)));
  EXPECT_TRUE(same(atan2(r(0, 1), r(-1, 1), 5), r(355, 113)));
  EXPECT_TRUE(same(atan2(r(-1, 1), r(-1, 1), 5), atan(r(1, 1), 5) - r(355, 113)));
  EXPECT_TRUE(same(atan2(r(1, 1), r(0, 1), 5), r(355, 226)));
  EXPECT_TRUE(same(atan2(r(-1, 1), r(0, 1), 5), r(-355, 226)));
  EXPECT_TRUE(same(atan2(r(0, 1), r(0, 1), 5), r(0, 1)));
  EXPECT_TRUE(same(pow(r(1, 1), r(-7, 3), 10), r(1, 1)));
  EXPECT_THROW(sqrt(r(-1, 1), 4), ValueError);
  EXPECT_THROW(pow(r(0, 1), r(1, 1), 10), ValueError);
}

}  // namespace
}  // namespace kovrix

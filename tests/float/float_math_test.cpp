// The BigFloat functions: their accuracy against MPFR over random arguments
// (the measured floor of correct bits is asserted, so a change in any step
// shows), the float64 logarithm against MPFR's, and the stated values.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "exponential/logarithm_generic.hpp"
#include "exponential/taylor.hpp"
#include "float/arithmetic.hpp"
#include "float/comparison.hpp"
#include "float/constants.hpp"
#include "float/float_math.hpp"
#include "float/formatting.hpp"
#include "float/reduction.hpp"
#include "trigonometry/taylor.hpp"
#include "support/big_float_mpfr.hpp"

namespace kovrix::testsupport {
namespace {

class BigFloatMath : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fillReductionCaches();
    fillFloatMathCaches();
  }
};

BigFloat at(double v) { return initBigFloat(256, v); }

using MpfrFn = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

struct Accuracy {
  const char* name;
  std::function<BigFloat(const BigFloat&)> ours;
  MpfrFn theirs;
  double lo, hi;
  double floorBits;  // the least number of correct bits measured over these arguments
};

TEST_F(BigFloatMath, AccuracyFloorsAgainstMpfr) {
  const Accuracy rows[] = {
      {"sin", [](const BigFloat& x) { return sin(x, 20); }, mpfr_sin, -4, 4, 172},
      {"sin large", [](const BigFloat& x) { return sin(x, 20); }, mpfr_sin, -1e6, 1e6, 172},
      {"cos", [](const BigFloat& x) { return cos(x, 20); }, mpfr_cos, -4, 4, 172},
      {"tan", [](const BigFloat& x) { return tan(x, 20); }, mpfr_tan, -1.5, 1.5, 171},
      {"exp", [](const BigFloat& x) { return exp(x, 30); }, mpfr_exp, -4, 4, 134},
      {"ln", [](const BigFloat& x) { return ln(x, 30); }, mpfr_log, 0, 8, 159},
      {"arctan", [](const BigFloat& x) { return arctan(x, 30); }, mpfr_atan, -4, 4, 83},
      {"sqrt", [](const BigFloat& x) { return sqrt(x, 15); }, mpfr_sqrt, 0, 8, 254},
      {"Heron sqrt", [](const BigFloat& x) { return sqrtNewtonGeneric(x, 20); }, mpfr_sqrt, 0, 8, 254},
      {"exp series", [](const BigFloat& x) { return expTaylor(x, 15); }, mpfr_exp, -0.01, 0.01, 138},
  };
  KOVRIX_SEED_TRACE();
  for (const Accuracy& row : rows) {
    double least = 1e9;
    for (int trial = 0; trial < 400; ++trial) {
      const BigFloat x = uniformBigFloat(row.lo, row.hi);
      if (x.isZero()) continue;
      Mpfr mx, want(4096);
      toMpfr(mx, x);
      row.theirs(want, mx, MPFR_RNDN);
      least = std::min(least, correctBits(row.ours(x), want));
    }
    EXPECT_GE(least, row.floorBits) << row.name;
    std::printf("%-12s least correct bits %.2f\n", row.name, least);
  }
}

// The series and exp on values held in place give the BigFloat steps'
// results (zero, random and short arguments, every count below 40), and the
// in-place sum and product with a zero operand give the general operations'.
TEST_F(BigFloatMath, SeriesInPlaceMatchTheBigFloatSteps) {
  KOVRIX_SEED_TRACE();
  using A = BigFloatArithmetic;
  using mantissa256::toBigFloat, mantissa256::toValue;
  const BigFloat y = randomBigFloat(256, -300, 300), zero;
  for (const bool negate : {false, true}) {
    EXPECT_EQ(toBigFloat(mantissa256::add(toValue(zero), toValue(y), negate)), negate ? zero - y : zero + y);
    EXPECT_EQ(toBigFloat(mantissa256::add(toValue(y), toValue(zero), negate)), negate ? y - zero : y + zero);
    EXPECT_EQ(toBigFloat(mantissa256::add(toValue(zero), toValue(zero), negate)), zero);
    EXPECT_EQ(toBigFloat(mantissa256::add(toValue(y), toValue(y), !negate)), negate ? y + y : y - y);
  }
  EXPECT_EQ(toBigFloat(mantissa256::mul(toValue(y), toValue(zero))), y * zero);
  for (int trial = 0; trial < 400; ++trial) {
    const BigFloat x = trial == 0 ? BigFloat{} : trial == 1 ? initBigFloat(64, 0.375) : randomBigFloat(256, -262, -254);
    const std::int64_t n = trial % 40;
    ASSERT_EQ(expTaylor(x, n), generic::expTaylor<A>(x, n)) << describe(x) << " " << n;
    ASSERT_EQ(sinTaylor(x, n), generic::sinSeries<A>(x, n)) << describe(x) << " " << n;
    ASSERT_EQ(cosTaylor(x, n), generic::cosSeries<A>(x, n)) << describe(x) << " " << n;
    ASSERT_EQ(atanTaylor(x, n), generic::atanSeries<A>(x, n)) << describe(x) << " " << n;
    if (!x.isZero()) ASSERT_EQ(lnGeneric(abs(x), n), generic::lnAtanhSeries<A>(abs(x), n)) << describe(x);
    if (x.isZero()) continue;
    const std::int64_t s = std::max<std::int64_t>(bitLength(x.mantissa) + x.exponent + 1, 0);
    BigFloat r = generic::expTaylor<A>(BigFloat{x.negative, x.exponent - s, x.mantissa}, n);
    for (std::int64_t i = 0; i < s; ++i) r = r * r;
    ASSERT_EQ(exp(x, n), r) << describe(x) << " " << n;
  }
}

TEST_F(BigFloatMath, PowersAgainstMpfr) {
  KOVRIX_SEED_TRACE();
  for (int trial = 0; trial < 300; ++trial) {
    const BigFloat x = uniformBigFloat(0.01, 8), y = uniformBigFloat(-10, 10);
    const std::int64_t k = static_cast<std::int64_t>(below(200)) - 100;
    Mpfr mx, my, want(4096), wantInt(4096);
    toMpfr(mx, x);
    toMpfr(my, y);
    mpfr_pow(want, mx, my, MPFR_RNDN);
    mpfr_pow_si(wantInt, mx, k, MPFR_RNDN);
    EXPECT_GE(correctBits(pow(x, y, 30), want), 120) << describe(x) << " ^ " << describe(y);
    EXPECT_GE(correctBits(pow(x, k), wantInt), 248) << describe(x) << " ^ " << k;
  }
}

TEST_F(BigFloatMath, Arctan2AgainstMpfr) {
  KOVRIX_SEED_TRACE();
  for (int trial = 0; trial < 300; ++trial) {
    const BigFloat y = uniformBigFloat(-4, 4), x = uniformBigFloat(-4, 4);
    Mpfr my, mx, want(4096);
    toMpfr(my, y);
    toMpfr(mx, x);
    mpfr_atan2(want, my, mx, MPFR_RNDN);
    EXPECT_GE(correctBits(arctan2(y, x, 30), want), 83) << describe(y) << ", " << describe(x);
  }
}

// The reduced logarithm carries about 160 correct bits, so rounding it to a
// double gives MPFR's correctly rounded logarithm.
TEST_F(BigFloatMath, LogarithmOfDoublesRoundsLikeMpfr) {
  KOVRIX_SEED_TRACE();
  for (int trial = 0; trial < 3000; ++trial) {
    const double x = std::ldexp(1.0 + static_cast<double>(below(1ull << 52)) * 0x1p-52,
                                static_cast<int>(below(2100)) - 1074);
    if (x == 0.0 || std::isinf(x)) continue;
    Mpfr mx(53), want(53);
    mpfr_set_d(mx, x, MPFR_RNDN);
    mpfr_log(want, mx, MPFR_RNDN);
    ASSERT_EQ(toFloat64(ln(at(x), 30)), mpfr_get_d(want, MPFR_RNDN)) << x;
  }
}

TEST_F(BigFloatMath, StatedValues) {
  const BigFloat one = at(1.0);
  EXPECT_EQ(exp(BigFloat{}, 30), one);
  EXPECT_EQ(ln(one, 30), BigFloat{});
  EXPECT_EQ(ln(at(2.0), 30), ln2Cache);
  EXPECT_EQ(ln(at(3.0), 30), lnGeneric(at(0.75), 30) + at(2.0) * ln2Cache);
  EXPECT_THROW(ln(BigFloat{}, 30), ValueError);
  EXPECT_THROW(ln(at(-1.0), 30), ValueError);
  EXPECT_THROW(lnGeneric(BigFloat{}, 30), ValueError);
  EXPECT_EQ(sin(BigFloat{}, 20), BigFloat{});
  EXPECT_EQ(cos(BigFloat{}, 20), one);
  for (double v : {0.3, 1.0, 2.0, 3.0}) {
    EXPECT_EQ(sin(at(-v), 20), -sin(at(v), 20)) << v;
    EXPECT_EQ(cos(at(-v), 20), cos(at(v), 20)) << v;
  }
  EXPECT_EQ(sin(halfPiCache, 20), one);
  EXPECT_THROW(tan(halfPiCache, 20), DivByZeroDefect);
  EXPECT_EQ(sin(at(7.0), 20), sin(reduceModTwoPi(at(7.0)), 20));
  EXPECT_EQ(arctan(one, 30), piBigFloat(256, 96) / at(4.0));
  EXPECT_EQ(arctan(at(-2.0), 30), -(piCache / at(2.0) - arctan(at(0.5), 30)));
  EXPECT_EQ(arctan2(BigFloat{}, BigFloat{}, 30), BigFloat{});
  EXPECT_EQ(arctan2(one, BigFloat{}, 30), halfPiCache);
  EXPECT_EQ(arctan2(-one, BigFloat{}, 30), -halfPiCache);
  EXPECT_EQ(arctan2(BigFloat{}, -one, 30), piCache);
  EXPECT_EQ(pow(BigFloat{}, 0), one);
  EXPECT_EQ(pow(at(2.0), 10), at(1024.0));
  EXPECT_EQ(pow(at(2.0), -1), at(0.5));
  EXPECT_THROW(pow(BigFloat{}, -1), DivByZeroDefect);
  EXPECT_THROW(pow(at(2.0), INT64_MIN), OverflowDefect);
  // The square after the last bit: 2^(2^62) itself fits, its square does not.
  const BigFloat huge{false, std::int64_t{1} << 62, initBigUInt(1)};
  EXPECT_THROW(pow(huge, 1), OverflowDefect);
  EXPECT_THROW(pow(at(-1.0), one, 30), ValueError);
  EXPECT_EQ(sqrt(at(4.0), 15), at(2.0));
  EXPECT_EQ(sqrt(BigFloat{}, 15), BigFloat{});
  EXPECT_THROW(sqrt(at(-1.0), 15), ValueError);
  EXPECT_EQ(sqrtNewtonGeneric(one, 20), one);
  EXPECT_THROW(sqrtNewtonGeneric(at(-1.0), 20), ValueError);
  EXPECT_EQ(expTaylor(one, 1), one);
  // Heron from x = 1e30 has not converged after 20 steps.
  EXPECT_GT(toFloat64(sqrtNewtonGeneric(at(1e30), 20)), 1e16);
}

}  // namespace
}  // namespace kovrix::testsupport

// Lanczos gamma and the factorials: the steps re-derived with the same C
// library calls, MPFR's gamma, the reflection and recurrence identities, and
// the stated values.
#include "special/gamma.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "c_api/pending_error.hpp"
#include "errors.hpp"
#include "kovrix.h"
#include "support/series.hpp"

namespace kovrix {
namespace {

using namespace kovrix::testsupport;

double referenceGamma(double x) {
  const double pi = 3.141592653589793;
  const double c[9] = {0.9999999999998099,   676.5203681218851,    -1259.1392167224028,
                       771.3234287776531,    -176.6150291621406,   12.507343278686905,
                       -0.13857109526572012, 9.984369578019572e-6, 1.5056327351493116e-7};
  if (x <= 0) return pi / (std::sin(pi * x) * referenceGamma(1 - x));
  if (x > 0 && x < 1) return referenceGamma(1 + x) / x;
  double z = x - 1;
  double t = 7 + z + 0.5;
  double a = 676.5203681218851 / (1 + z) + 0.9999999999998099;
  for (int k = 2; k <= 8; ++k) a = a + c[k] / (k + z);
  return a * (std::pow(t, z + 0.5) * 2.5066282746310002 * std::exp(-t));
}

TEST(GammaFloat64, StatedValues) {
  const std::uint64_t qnan = 0x7FF8000000000000ULL;
  EXPECT_EQ(bitsOf(kovrix_gamma(0.0)), qnan);
  EXPECT_EQ(bitsOf(kovrix_gamma(-0.0)), qnan);
  EXPECT_EQ(bitsOf(kovrix_gamma(-2.0)), qnan);
  EXPECT_EQ(bitsOf(kovrix_gamma(-std::numeric_limits<double>::infinity())), qnan);
  EXPECT_TRUE(std::isnan(kovrix_gamma(std::numeric_limits<double>::quiet_NaN())));
  // The last digits follow the C library's pow, exp and sin; these are the
  // values with glibc.
  EXPECT_EQ(kovrix_gamma(-0.5), -3.5449077018110295);
  EXPECT_EQ(kovrix_gamma(1.0), 0.9999999999999998);
  EXPECT_EQ(kovrix_gamma(0.5), 1.7724538509055172);
  EXPECT_EQ(kovrix_gamma(5.0), 23.999999999999996);
}

TEST(GammaFloat64, MatchesTheStepsBitForBit) {
  for (int trial = 0; trial < 20000; ++trial) {
    double x = (trial % 2) ? uniform(-30.0, 171.0) : anyDouble();
    if (x <= 0 && x == std::round(x)) {
      ASSERT_EQ(bitsOf(kovrix_gamma(x)), 0x7FF8000000000000ULL) << show(x);
      ASSERT_THROW(gammaLanczosFloat(x), ValueError) << show(x);
      continue;
    }
    ASSERT_TRUE(sameBits(gammaLanczosFloat(x), referenceGamma(x))) << show(x);
    ASSERT_TRUE(sameBits(kovrix_gamma(x), referenceGamma(x))) << show(x);
  }
}

TEST(GammaFloat64, AgreesWithMpfr) {
  Mp m(200);
  for (int trial = 0; trial < 3000; ++trial) {
    const double x = uniform(-20.0, 60.0);
    if (x == std::round(x) && x <= 0) continue;
    mpfr_set_d(m.get(), x, MPFR_RNDN);
    mpfr_gamma(m.get(), m.get(), MPFR_RNDN);
    // The g = 7, n = 9 approximation is good to about 1e-13 relative; the
    // reflection and pow amplify rounding with |x|.
    const double want = m.toDouble(), got = kovrix_gamma(x);
    ASSERT_LE(std::fabs(got - want), 1e-11 * std::fabs(want)) << show(x);
  }
}

TEST(GammaFloat64, PoleMessageNamesTheArgument) {
  try {
    gammaLanczosFloat(-3.0);
    FAIL() << "no pole reported";
  } catch (const ValueError& e) {
    EXPECT_STREQ(e.what(), "gammaLanczosFloat: pole at non-positive integer -3");
  }
  try {
    gammaLanczosFloat(-1e20);
    FAIL() << "no pole reported";
  } catch (const ValueError& e) {
    EXPECT_STREQ(e.what(), "gammaLanczosFloat: pole at non-positive integer -1e+20");
  }
}

TEST(FactorialFloat64, StatedValuesAndProducts) {
  EXPECT_EQ(bitsOf(kovrix_factorial(-1)), bitsOf(0.0));
  EXPECT_EQ(kovrix_factorial(INT32_MIN), 0.0);
  EXPECT_EQ(kovrix_factorial(0), 1.0);
  EXPECT_EQ(kovrix_factorial(1), 1.0);
  EXPECT_EQ(kovrix_factorial(20), 2432902008176640000.0);
  EXPECT_EQ(kovrix_factorial(171), std::numeric_limits<double>::infinity());
  EXPECT_EQ(kovrix_factorial(INT32_MAX), std::numeric_limits<double>::infinity());
  double product = 1.0;
  for (int n = 2; n <= 200; ++n) {
    product = product * n;  // ascending float64 product
    ASSERT_EQ(bitsOf(kovrix_factorial(n)), bitsOf(product)) << n;
  }
  EXPECT_TRUE(std::isfinite(kovrix_factorial(170)));
}

TEST(FactorialFixed, StatedValuesAndProducts) {
  const std::int64_t one = std::int64_t{1} << 32;
  EXPECT_EQ(factorialFixed(-1).raw, 0);
  EXPECT_EQ(factorialFixed(0).raw, one);
  EXPECT_EQ(factorialFixed(1).raw, one);
  EXPECT_EQ(factorialFixed(12).raw, 2057296206731673600);
  EXPECT_THROW(factorialFixed(13), OverflowDefect);
  EXPECT_THROW(factorialFixed(INT64_MAX), OverflowDefect);
  std::int64_t f = 1;
  for (int n = 2; n <= 12; ++n) {
    f *= n;
    ASSERT_EQ(factorialFixed(n).raw, f * one) << n;
  }
}

TEST(GammaFloat64, ExportsLeaveNothingPendingAndIgnoreAPendingError) {
  kovrix_gamma(-4.0);
  EXPECT_FALSE(capi::errorPending());
  capi::setPending(ErrorKind::divByZeroDefect, "earlier failure");
  EXPECT_EQ(kovrix_gamma(0.5), 1.7724538509055172);
  EXPECT_EQ(kovrix_factorial(3), 6.0);
  EXPECT_TRUE(capi::errorPending());
  capi::clearPending();
}

}  // namespace
}  // namespace kovrix

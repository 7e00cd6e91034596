// The exponential and ln(1 + x) series on float64: the step lists re-derived
// independently, the truncated series evaluated in MPFR, the stated values
// and the export guards.
#include "exponential/taylor.hpp"

#include <gtest/gtest.h>

#include "c_api/pending_error.hpp"
#include "errors.hpp"
#include "kovrix.h"
#include "support/series.hpp"

namespace kovrix {
namespace {

using namespace kovrix::testsupport;

double referenceExp(double x, std::int64_t count) {
  double sum = 1, t = 1;
  for (std::int64_t i = 1; i <= count - 1; ++i) {
    t = (t * x) / static_cast<double>(i);
    sum = sum + t;
  }
  return sum;
}

double referenceLn1p(double x, std::int64_t count) {
  double sum = x, p = x;
  for (std::int64_t i = 2; i <= count - 1; ++i) {
    p = p * x;
    if (i % 2 == 0)
      sum = sum - p / static_cast<double>(i);
    else
      sum = sum + p / static_cast<double>(i);
  }
  return sum;
}

// sum_{i < count} x^i / i! at 300 bits, rounded once.
double mpfrExpSeries(double x, int count) {
  Mp sum(1.0, 300), term(1.0, 300), xm(x, 300);
  for (int i = 1; i < count; ++i) {
    mpfr_mul(term.get(), term.get(), xm.get(), MPFR_RNDN);
    mpfr_div_ui(term.get(), term.get(), static_cast<unsigned long>(i), MPFR_RNDN);
    mpfr_add(sum.get(), sum.get(), term.get(), MPFR_RNDN);
  }
  return sum.toDouble();
}

TEST(ExpTaylorFloat64, StatedValues) {
  EXPECT_EQ(kovrix_exp_taylor_f64(1.0), 2.71828182845823);
  EXPECT_EQ(kovrix_exp_taylor_f64(10.0), 20188.170595424563);
  EXPECT_EQ(kovrix_exp_taylor_f64(0.0), 1.0);
  EXPECT_EQ(expTaylor(5.0, 1), 1.0);
  EXPECT_EQ(expTaylor(5.0, 0), 1.0);
  EXPECT_EQ(expTaylor(5.0, -3), 1.0);
  EXPECT_EQ(expTaylor(5.0, 2), 6.0);
  EXPECT_TRUE(std::isnan(kovrix_exp_taylor_f64(std::numeric_limits<double>::quiet_NaN())));
}

TEST(ExpTaylorFloat64, MatchesTheStepsBitForBit) {
  for (int trial = 0; trial < 20000; ++trial) {
    const double x = anyDouble();
    const std::int64_t count = between(-2, 40);
    ASSERT_TRUE(sameBits(expTaylor(x, count), referenceExp(x, count))) << "expTaylor(" << show(x) << ", " << count << ")";
    ASSERT_TRUE(sameBits(kovrix_exp_taylor_f64(x), referenceExp(x, 15))) << "kovrix_exp_taylor_f64(" << show(x) << ")";
  }
}

TEST(ExpTaylorFloat64, AgreesWithTheTruncatedSeriesAndWithExp) {
  Mp e(200);
  for (int trial = 0; trial < 3000; ++trial) {
    const double x = uniform(-1.0, 1.0);
    const double got = kovrix_exp_taylor_f64(x);
    // 15 terms of a series with positive-dominated terms: a few roundings.
    ASSERT_TRUE(closeTo(got, mpfrExpSeries(x, 15), 1e-15)) << "series at " << show(x);
    mpfr_set_d(e.get(), x, MPFR_RNDN);
    mpfr_exp(e.get(), e.get(), MPFR_RNDN);
    // The omitted tail is below 1/15! < 8e-13.
    ASSERT_TRUE(closeTo(got, e.toDouble(), 1e-12)) << "exp at " << show(x);
  }
}

TEST(LnTaylorFloat64, StatedValues) {
  EXPECT_EQ(bitsOf(kovrix_ln_taylor_f64(-1.0)), 0x7FF8000000000000ULL);
  EXPECT_EQ(bitsOf(kovrix_ln_taylor_f64(-2.0)), 0x7FF8000000000000ULL);
  EXPECT_EQ(bitsOf(kovrix_ln_taylor_f64(0.0)), bitsOf(0.0));
  EXPECT_EQ(kovrix_ln_taylor_f64(1.0), 0.6587051837051838);
  EXPECT_EQ(kovrix_ln_taylor_f64(0.5), 0.40546372233994304);
  EXPECT_THROW(lnTaylor(-1.0, 15), ValueError);
  EXPECT_THROW(lnTaylor(-std::numeric_limits<double>::infinity(), 15), ValueError);
  EXPECT_EQ(lnTaylor(0.25, 2), 0.25);  // count - 1 terms: x alone
  EXPECT_EQ(lnTaylor(0.25, 3), 0.25 - 0.0625 / 2);
  EXPECT_TRUE(std::isnan(kovrix_ln_taylor_f64(std::numeric_limits<double>::quiet_NaN())));
}

TEST(LnTaylorFloat64, MatchesTheStepsBitForBit) {
  for (int trial = 0; trial < 20000; ++trial) {
    const double x = anyDouble();
    const std::int64_t count = between(-2, 40);
    if (1.0 + x <= 0.0) {
      ASSERT_THROW(lnTaylor(x, count), ValueError) << show(x);
      ASSERT_EQ(bitsOf(kovrix_ln_taylor_f64(x)), 0x7FF8000000000000ULL) << show(x);
      continue;
    }
    ASSERT_TRUE(sameBits(lnTaylor(x, count), referenceLn1p(x, count))) << "lnTaylor(" << show(x) << ", " << count << ")";
    ASSERT_TRUE(sameBits(kovrix_ln_taylor_f64(x), referenceLn1p(x, 15))) << show(x);
  }
}

TEST(LnTaylorFloat64, AgreesWithLog1pNearZero) {
  Mp m(200);
  for (int trial = 0; trial < 3000; ++trial) {
    const double x = uniform(-0.1, 0.1);
    mpfr_set_d(m.get(), x, MPFR_RNDN);
    mpfr_log1p(m.get(), m.get(), MPFR_RNDN);
    // The first omitted term is |x|^15 / 15 < 1e-16; the roundings of the
    // 14 terms add a few ulps of |x| <= 0.1 (1.4e-17 each).
    ASSERT_LE(std::fabs(kovrix_ln_taylor_f64(x) - m.toDouble()), 2e-16) << show(x);
  }
}

TEST(ExpTaylorFloat64, ExportsLeaveNothingPending) {
  kovrix_ln_taylor_f64(-5.0);
  kovrix_exp_taylor_f64(1e308);
  EXPECT_FALSE(capi::errorPending());
}

}  // namespace
}  // namespace kovrix

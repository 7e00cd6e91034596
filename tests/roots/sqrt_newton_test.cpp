// Heron's square root: the float64 and Q32.32 instances against a step list
// re-derived independently, against MPFR where the iteration has converged,
// the stated values, and the export's NaN guard.
#include "roots/sqrt_newton.hpp"

#include <gtest/gtest.h>

#include <optional>

#include "c_api/pending_error.hpp"
#include "errors.hpp"
#include "kovrix.h"
#include "support/series.hpp"

namespace kovrix {
namespace {

using namespace kovrix::testsupport;

// The float64 steps as stated: guess a = x; b = (x / a + a) * 0.5; from the
// second step a repeat of the guess returns it.
double referenceSqrt(double x, std::int64_t count) {
  if (x == 0.0) return 0.0;
  double a = x;
  for (std::int64_t i = 1; i <= count; ++i) {
    double b = (x / a + a) * 0.5;
    if (i > 1 && b == a) return b;
    a = b;
  }
  return a;
}

// The Q32.32 steps in 128-bit integers: g = trunc(x 2^32 / r), h = r + g,
// n = floor(half h / 2^32) with half = one / (2 one); nullopt where a step
// leaves int64 or divides by zero.
std::optional<std::int64_t> referenceSqrtQ32(std::int64_t x, std::int64_t count) {
  using I = __int128;
  if (x < 0) return std::nullopt;
  if (x == 0) return 0;
  const I one = I{1} << 32;
  const I half = (one << 32) / (2 * one);
  auto fits = [](I v) { return v >= INT64_MIN && v <= INT64_MAX; };
  I r = x;
  for (std::int64_t i = 1; i <= count; ++i) {
    if (r == 0) return std::nullopt;
    I g = (I{x} << 32) / r;  // C++ division truncates toward zero
    if (!fits(g)) return std::nullopt;
    I h = r + g;
    if (!fits(h)) return std::nullopt;
    I p = half * h;
    I n = p >= 0 ? p >> 32 : -((-p + ((I{1} << 32) - 1)) >> 32);
    if (i > 1 && n == r) return static_cast<std::int64_t>(n);
    r = n;
  }
  return static_cast<std::int64_t>(r);
}

std::optional<std::int64_t> runQ32(std::int64_t x, std::int64_t count) {
  try {
    return sqrtNewtonGeneric(Fixed{x}, count).raw;
  } catch (const Error&) {
    return std::nullopt;
  }
}

TEST(SqrtNewtonFloat64, StatedValues) {
  EXPECT_EQ(bitsOf(kovrix_sqrt_newton_f64(-0.0)), bitsOf(0.0));
  EXPECT_TRUE(std::isnan(kovrix_sqrt_newton_f64(-1.0)));
  EXPECT_EQ(bitsOf(kovrix_sqrt_newton_f64(-1.0)), 0x7FF8000000000000ULL);
  EXPECT_EQ(kovrix_sqrt_newton_f64(4.0), 2.0);
  EXPECT_EQ(kovrix_sqrt_newton_f64(0.25), 0.5);
  EXPECT_EQ(kovrix_sqrt_newton_f64(1e-10), 1.0000000015603234e-5);
  EXPECT_EQ(kovrix_sqrt_newton_f64(2.0), 1.414213562373095);
  EXPECT_EQ(kovrix_sqrt_newton_f64(1e10), 100000.00015603233);
  EXPECT_EQ(kovrix_sqrt_newton_f64(1e20), 95367431990150.33);
  EXPECT_TRUE(std::isnan(kovrix_sqrt_newton_f64(std::numeric_limits<double>::infinity())));
  EXPECT_TRUE(std::isnan(kovrix_sqrt_newton_f64(std::numeric_limits<double>::quiet_NaN())));
  EXPECT_EQ(bitsOf(kovrix_sqrt_newton_f64(-std::numeric_limits<double>::infinity())), 0x7FF8000000000000ULL);
  EXPECT_EQ(sqrtNewtonGeneric(1.0, 20), 1.0);
}

TEST(SqrtNewtonFloat64, MatchesTheStepsBitForBit) {
  for (int trial = 0; trial < 20000; ++trial) {
    const double x = std::fabs(anyDouble());
    const std::int64_t count = between(0, 40);
    const double got = sqrtNewtonGeneric(x, count), want = referenceSqrt(x, count);
    ASSERT_TRUE(sameBits(got, want)) << "sqrtNewtonGeneric(" << show(x) << ", " << count << ") = " << show(got)
                                       << ", steps give " << show(want);
  }
  for (int trial = 0; trial < 2000; ++trial) {
    const double x = std::fabs(anyDouble());
    const double got = kovrix_sqrt_newton_f64(x), want = referenceSqrt(x, 20);
    ASSERT_TRUE(sameBits(got, want)) << "kovrix_sqrt_newton_f64(" << show(x) << ")";
  }
}

TEST(SqrtNewtonFloat64, AgreesWithMpfrWhereConverged) {
  // From x in [1e-3, 1e3] the halving phase is short enough for 20 steps to
  // reach the fixed point, which lies within one ulp of the root.
  Mp m(53);
  for (int trial = 0; trial < 5000; ++trial) {
    const double x = std::exp(uniform(std::log(1e-3), std::log(1e3)));
    mpfr_set_d(m.get(), x, MPFR_RNDN);
    mpfr_sqrt(m.get(), m.get(), MPFR_RNDN);
    const double want = m.toDouble(), got = kovrix_sqrt_newton_f64(x);
    ASSERT_LE(std::fabs(got - want), std::ldexp(std::fabs(want), -52)) << "sqrt(" << show(x) << ")";
  }
}

TEST(SqrtNewtonFloat64, DomainAndCounts) {
  EXPECT_THROW(sqrtNewtonGeneric(-1e-300, 20), ValueError);
  EXPECT_EQ(bitsOf(sqrtNewtonGeneric(-0.0, 20)), bitsOf(0.0));
  EXPECT_EQ(sqrtNewtonGeneric(9.0, 0), 9.0);
  EXPECT_EQ(sqrtNewtonGeneric(9.0, -5), 9.0);
  EXPECT_EQ(sqrtNewtonGeneric(9.0, 1), 5.0);
  // A huge count stops at the fixed point.
  EXPECT_EQ(sqrtNewtonGeneric(9.0, INT64_MAX), 3.0);
}

TEST(SqrtNewtonFloat64, ExportIgnoresAndKeepsAPendingError) {
  capi::setPending(ErrorKind::overflowDefect, "earlier failure");
  EXPECT_EQ(kovrix_sqrt_newton_f64(4.0), 2.0);
  EXPECT_TRUE(std::isnan(kovrix_sqrt_newton_f64(-4.0)));
  ASSERT_TRUE(capi::errorPending());
  EXPECT_EQ(capi::pendingError().kind, ErrorKind::overflowDefect);
  capi::clearPending();
  kovrix_sqrt_newton_f64(-4.0);
  EXPECT_FALSE(capi::errorPending());
}

TEST(SqrtNewtonFixed, StatedValues) {
  const std::int64_t one = std::int64_t{1} << 32;
  EXPECT_EQ(sqrtNewtonGeneric(Fixed{2 * one}, 15).raw, 6074000999);
  EXPECT_EQ(sqrtNewtonGeneric(Fixed{one / 4}, 15).raw, one / 2);
  EXPECT_EQ(sqrtNewtonGeneric(Fixed{one << 20}, 15).raw, one << 10);
  EXPECT_EQ(sqrtNewtonGeneric(Fixed{one << 30}, 15).raw, 184793288171462);
  EXPECT_EQ(sqrtNewtonGeneric(Fixed{0}, 15).raw, 0);
  EXPECT_THROW(sqrtNewtonGeneric(Fixed{-1}, 15), ValueError);
}

TEST(SqrtNewtonFixed, MatchesTheStepsExactly) {
  for (int trial = 0; trial < 20000; ++trial) {
    const std::int64_t x = anyRaw();
    const std::int64_t count = between(0, 25);
    const auto got = runQ32(x, count), want = referenceSqrtQ32(x, count);
    ASSERT_EQ(got, want) << "sqrtNewtonGeneric(Fixed " << x << ", " << count << ")";
  }
  // Every value near zero and one, where the quotient is largest.
  for (std::int64_t x = 1; x < 3000; ++x) ASSERT_EQ(runQ32(x, 15), referenceSqrtQ32(x, 15)) << x;
  for (std::int64_t x = (std::int64_t{1} << 32) - 1000; x < (std::int64_t{1} << 32) + 1000; ++x)
    ASSERT_EQ(runQ32(x, 15), referenceSqrtQ32(x, 15)) << x;
}

}  // namespace
}  // namespace kovrix

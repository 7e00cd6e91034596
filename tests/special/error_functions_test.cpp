// erf by its Maclaurin series: float64 and Q32.32 instances against their
// steps re-derived, MPFR's erf near zero, and the stated values.
#include "special/error_functions.hpp"

#include <gtest/gtest.h>

#include <optional>

#include "errors.hpp"
#include "kovrix.h"
#include "roots/sqrt_newton.hpp"
#include "support/series.hpp"

namespace kovrix {
namespace {

using namespace kovrix::testsupport;
using I = __int128;

// s = sqrt(pi); sum = x, u = x, r = 1, o = 3, minus; for n = 1..count-1:
// u = (((x x) u) r) / o; sum -/+= u; r = 2n + 1, o = (n + 1)(2n + 3); flip.
double referenceErf(double x, std::int64_t count) {
  const double s = std::sqrt(3.141592653589793);
  if (count < 2) return (2 / s) * x;
  double sum = x, u = x, r = 1, o = 3;
  int sign = -1;
  for (std::int64_t n = 1; n <= count - 1; ++n) {
    u = (((x * x) * u) * r) / o;
    sum = sign < 0 ? sum - u : sum + u;
    r = static_cast<double>(2 * n + 1);
    o = static_cast<double>((n + 1) * (2 * n + 3));
    sign = -sign;
  }
  return (2 / s) * sum;
}

bool fits(I v) { return v >= INT64_MIN && v <= INT64_MAX; }
I floorShift32(I p) { return p >= 0 ? p >> 32 : -((-p + ((I{1} << 32) - 1)) >> 32); }

// The Q32.32 steps with every product and quotient spelled out in 128 bits.
std::optional<std::int64_t> referenceErfQ32(std::int64_t x, std::int64_t count) {
  const I one = I{1} << 32;
  const I s = sqrtNewtonGeneric(Fixed{13493037704}, 10).raw;
  const I g = ((2 * one) << 32) / s;
  I x2 = floorShift32(I{x} * x);
  if (!fits(x2)) return std::nullopt;
  I m = x, sum = x;
  for (std::int64_t i = 1; i <= count - 1; ++i) {
    m = floorShift32(m * x2);
    if (!fits(m)) return std::nullopt;
    m = floorShift32(m * ((2 * I{i} - 1) * one));
    if (!fits(m)) return std::nullopt;
    m = (m << 32) / (I{i} * (2 * I{i} + 1) * one);
    sum = (i % 2 == 1) ? sum - m : sum + m;
    if (!fits(sum)) return std::nullopt;
  }
  I r = floorShift32(g * sum);
  if (!fits(r)) return std::nullopt;
  return static_cast<std::int64_t>(r);
}

std::optional<std::int64_t> runQ32(std::int64_t x, std::int64_t count) {
  try {
    return erfTaylor(Fixed{x}, count).raw;
  } catch (const Error&) {
    return std::nullopt;
  }
}

TEST(ErfFloat64, StatedValues) {
  EXPECT_EQ(bitsOf(kovrix_erf(0.0)), bitsOf(0.0));
  EXPECT_EQ(kovrix_erf(1.0), 0.8427007929497411);
  EXPECT_EQ(kovrix_erf(-1.0), -0.8427007929497411);
  EXPECT_TRUE(std::isnan(kovrix_erf(std::numeric_limits<double>::quiet_NaN())));
}

TEST(ErfFloat64, MatchesTheStepsBitForBit) {
  for (int trial = 0; trial < 20000; ++trial) {
    const double x = anyDouble();
    const std::int64_t count = between(-1, 30);
    ASSERT_TRUE(sameBits(erfTaylor(x, count), referenceErf(x, count))) << show(x) << " " << count;
    ASSERT_TRUE(sameBits(kovrix_erf(x), referenceErf(x, 15))) << show(x);
  }
}

TEST(ErfFloat64, AgreesWithMpfrNearZero) {
  Mp m(200);
  for (int trial = 0; trial < 3000; ++trial) {
    const double x = uniform(-1.0, 1.0);
    mpfr_set_d(m.get(), x, MPFR_RNDN);
    mpfr_erf(m.get(), m.get(), MPFR_RNDN);
    // The first omitted term is below 1 / (15! 31) < 3e-14.
    ASSERT_TRUE(closeTo(kovrix_erf(x), m.toDouble(), 1e-13)) << show(x);
  }
}

TEST(ErfFloat64, CounterOverflowIsTested) {
  EXPECT_THROW(erfTaylor(0.5, INT64_MAX), OverflowDefect);
}

TEST(ErfFixed, StatedValues) {
  const std::int64_t one = std::int64_t{1} << 32;
  EXPECT_EQ(erfTaylor(Fixed{0}, 15).raw, 0);
  EXPECT_EQ(erfTaylor(Fixed{one}, 15).raw, 3619372346);
  EXPECT_EQ(twoOverSqrtPiFixed().raw, ((I{2} << 64) / sqrtNewtonGeneric(Fixed{13493037704}, 10).raw));
  EXPECT_THROW(erfTaylor(Fixed{INT64_MAX}, 15), OverflowDefect);  // x*x leaves int64
}

TEST(ErfFixed, MatchesTheStepsExactly) {
  for (int trial = 0; trial < 20000; ++trial) {
    std::int64_t x = anyRaw();
    if (trial % 2) x >>= 28;  // mostly |x| below 2^35 (8.0), where the terms fit
    const std::int64_t count = between(-1, 20);
    ASSERT_EQ(runQ32(x, count), referenceErfQ32(x, count)) << "erfTaylor(Fixed " << x << ", " << count << ")";
  }
}

}  // namespace
}  // namespace kovrix

namespace kovrix {
namespace {

using namespace kovrix::testsupport;

// The compile-time count (divisors folded) against the run-time count.
TEST(ErfFixed, FixedCountEqualsRunTimeCount) {
  for (int trial = 0; trial < 20000; ++trial) {
    std::int64_t x = anyRaw();
    if (trial % 2) x >>= 28;
    std::optional<std::int64_t> a, b;
    try { a = erfTaylor(Fixed{x}, 15).raw; } catch (const Error&) {}
    try { b = erfTaylor(Fixed{x}, Terms<15>{}).raw; } catch (const Error&) {}
    ASSERT_EQ(a, b) << x;
  }
  for (int trial = 0; trial < 2000; ++trial) {
    const double x = anyDouble();
    ASSERT_TRUE(sameBits(generic::erfTaylor<Float64Arithmetic>(x, Terms<15>{}, 1.25),
                           generic::erfTaylor<Float64Arithmetic>(x, 15, 1.25))) << show(x);
  }
}

}  // namespace
}  // namespace kovrix

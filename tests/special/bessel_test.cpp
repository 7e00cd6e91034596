// J0 by its power series: float64 and Q32.32 instances against their steps
// re-derived, MPFR's j0 for moderate x, and the stated values.
#include "special/bessel.hpp"

#include <gtest/gtest.h>

#include <optional>

#include "errors.hpp"
#include "kovrix.h"
#include "support/series.hpp"

namespace kovrix {
namespace {

using namespace kovrix::testsupport;
using I = __int128;

// q = (x 0.5)(x 0.5); s = 1, e = q, d = 1, minus; for i = 2..count: s -/+= e/d;
// stop at count; e = (e/d) q, d = i^2; flip.
double referenceJ0(double x, std::int64_t count) {
  double q = (x * 0.5) * (x * 0.5);
  if (count < 2) return 1;
  double s = 1, e = q, d = 1;
  int sign = -1;
  for (std::int64_t i = 2; i <= count; ++i) {
    s = sign < 0 ? s - e / d : s + e / d;
    if (i == count) break;
    e = (e / d) * q;
    d = static_cast<double>(i * i);
    sign = -sign;
  }
  return s;
}

bool fits(I v) { return v >= INT64_MIN && v <= INT64_MAX; }
I floorShift32(I p) { return p >= 0 ? p >> 32 : -((-p + ((I{1} << 32) - 1)) >> 32); }

std::optional<std::int64_t> referenceJ0Q32(std::int64_t x, std::int64_t count) {
  const I one = I{1} << 32;
  I h = (I{x} << 32) / (2 * one);
  I q = floorShift32(h * h);
  if (!fits(q)) return std::nullopt;
  I sum = one, t = one;
  for (std::int64_t i = 1; i <= count - 1; ++i) {
    t = floorShift32(t * q);
    if (!fits(t)) return std::nullopt;
    t = (t << 32) / (I{i} * i * one);
    sum = (i % 2 == 1) ? sum - t : sum + t;
    if (!fits(sum)) return std::nullopt;
  }
  return static_cast<std::int64_t>(sum);
}

std::optional<std::int64_t> runQ32(std::int64_t x, std::int64_t count) {
  try {
    return besselJ0(Fixed{x}, count).raw;
  } catch (const Error&) {
    return std::nullopt;
  }
}

TEST(BesselJ0Float64, StatedValues) {
  EXPECT_EQ(kovrix_bessel_j0(0.0), 1.0);
  EXPECT_EQ(kovrix_bessel_j0(1.0), 0.7651976865579666);
  EXPECT_EQ(kovrix_bessel_j0(2.0), 0.22389077914123562);
  EXPECT_EQ(kovrix_bessel_j0(-2.0), 0.22389077914123562);
  EXPECT_EQ(besselJ0(7.0, 1), 1.0);
  EXPECT_TRUE(std::isnan(kovrix_bessel_j0(std::numeric_limits<double>::quiet_NaN())));
}

TEST(BesselJ0Float64, MatchesTheStepsBitForBit) {
  for (int trial = 0; trial < 20000; ++trial) {
    const double x = anyDouble();
    const std::int64_t count = between(-1, 30);
    ASSERT_TRUE(sameBits(besselJ0(x, count), referenceJ0(x, count))) << show(x) << " " << count;
    ASSERT_TRUE(sameBits(kovrix_bessel_j0(x), referenceJ0(x, 15))) << show(x);
  }
}

TEST(BesselJ0Float64, AgreesWithMpfr) {
  Mp m(200);
  for (int trial = 0; trial < 3000; ++trial) {
    const double x = uniform(-4.0, 4.0);
    mpfr_set_d(m.get(), x, MPFR_RNDN);
    mpfr_j0(m.get(), m.get(), MPFR_RNDN);
    // The first omitted term is 4^15 / (15!)^2 < 7e-16.
    ASSERT_LE(std::fabs(kovrix_bessel_j0(x) - m.toDouble()), 1e-14) << show(x);
  }
}

TEST(BesselJ0Fixed, StatedValues) {
  const std::int64_t one = std::int64_t{1} << 32;
  EXPECT_EQ(besselJ0(Fixed{0}, 15).raw, one);
  EXPECT_EQ(besselJ0(Fixed{one}, 15).raw, 3286499039);
  EXPECT_EQ(besselJ0(Fixed{-one}, 15).raw, 3286499039);
}

TEST(BesselJ0Fixed, MatchesTheStepsExactly) {
  for (int trial = 0; trial < 20000; ++trial) {
    std::int64_t x = anyRaw();
    if (trial % 2) x >>= 26;
    const std::int64_t count = between(-1, 20);
    ASSERT_EQ(runQ32(x, count), referenceJ0Q32(x, count)) << "besselJ0(Fixed " << x << ", " << count << ")";
  }
  for (std::int64_t x = -2000; x < 2000; ++x) ASSERT_EQ(runQ32(x, 15), referenceJ0Q32(x, 15)) << x;
}

}  // namespace
}  // namespace kovrix

namespace kovrix {
namespace {

using namespace kovrix::testsupport;

TEST(BesselJ0Fixed, FixedCountEqualsRunTimeCount) {
  for (int trial = 0; trial < 20000; ++trial) {
    std::int64_t x = anyRaw();
    if (trial % 2) x >>= 26;
    std::optional<std::int64_t> a, b;
    try { a = besselJ0(Fixed{x}, 15).raw; } catch (const Error&) {}
    try { b = besselJ0(Fixed{x}, Terms<15>{}).raw; } catch (const Error&) {}
    ASSERT_EQ(a, b) << x;
  }
}

}  // namespace
}  // namespace kovrix

// The atanh-series logarithm: the Q32.32 instance against its steps in
// 128-bit integers and the stated values; the template on float64 against
// MPFR's log (it is a sound ln wherever the series converges fast).
#include "exponential/logarithm_generic.hpp"

#include <gtest/gtest.h>

#include <optional>

#include "errors.hpp"
#include "support/series.hpp"

namespace kovrix {
namespace {

using namespace kovrix::testsupport;
using I = __int128;

bool fits(I v) { return v >= INT64_MIN && v <= INT64_MAX; }
I floorShift32(I p) { return p >= 0 ? p >> 32 : -((-p + ((I{1} << 32) - 1)) >> 32); }

// y = (x - one) / (x + one); y2 = y*y; s = y; p = y; p = p*y2, s = s + p / (2i+1)one
// for i = 1 .. count-1; result (2 one) * s.  nullopt on any failing step.
std::optional<std::int64_t> referenceLn(std::int64_t x, std::int64_t count) {
  const I one = I{1} << 32;
  if (x <= 0) return std::nullopt;
  I num = I{x} - one, den = I{x} + one;
  if (!fits(num) || !fits(den)) return std::nullopt;
  I y = (num << 32) / den;
  if (!fits(y)) return std::nullopt;
  I y2 = floorShift32(y * y);
  if (!fits(y2)) return std::nullopt;
  I s = y, p = y;
  for (std::int64_t i = 1; i <= count - 1; ++i) {
    p = floorShift32(p * y2);
    if (!fits(p)) return std::nullopt;
    I k = (2 * I{i} + 1) * one;
    I t = (p << 32) / k;
    s = s + t;
    if (!fits(s)) return std::nullopt;
  }
  I r = floorShift32(2 * one * s);
  if (!fits(r)) return std::nullopt;
  return static_cast<std::int64_t>(r);
}

std::optional<std::int64_t> runLn(std::int64_t x, std::int64_t count) {
  try {
    return lnGeneric(Fixed{x}, count).raw;
  } catch (const Error&) {
    return std::nullopt;
  }
}

TEST(LnGenericFixed, StatedValues) {
  const std::int64_t one = std::int64_t{1} << 32;
  EXPECT_EQ(lnGeneric(Fixed{one}, 15).raw, 0);
  EXPECT_EQ(lnGeneric(Fixed{2 * one}, 15).raw, 2977044462);
  EXPECT_EQ(lnGeneric(Fixed{100 * one}, 15).raw, 17828286560);
  EXPECT_THROW(lnGeneric(Fixed{0}, 15), ValueError);
  EXPECT_THROW(lnGeneric(Fixed{-one}, 15), ValueError);
  EXPECT_THROW(lnGeneric(Fixed{INT64_MAX}, 15), OverflowDefect);  // x + one leaves int64
}

TEST(LnGenericFixed, MatchesTheStepsExactly) {
  for (int trial = 0; trial < 20000; ++trial) {
    const std::int64_t x = anyRaw();
    const std::int64_t count = between(-1, 30);
    ASSERT_EQ(runLn(x, count), referenceLn(x, count)) << "lnGeneric(Fixed " << x << ", " << count << ")";
  }
  for (std::int64_t x = 1; x < 2000; ++x) ASSERT_EQ(runLn(x, 15), referenceLn(x, 15)) << x;
}

TEST(LnGenericTemplate, Float64InstanceIsALogarithm) {
  Mp m(200);
  for (int trial = 0; trial < 3000; ++trial) {
    const double x = uniform(0.5, 2.0);  // |y| <= 1/3: 30 terms leave < 1e-29
    mpfr_set_d(m.get(), x, MPFR_RNDN);
    mpfr_log(m.get(), m.get(), MPFR_RNDN);
    const double got = generic::lnAtanhSeries<Float64Arithmetic>(x, 30);
    ASSERT_LE(std::fabs(got - m.toDouble()), 1e-15) << show(x);
  }
  EXPECT_THROW(generic::lnAtanhSeries<Float64Arithmetic>(0.0, 30), ValueError);
  EXPECT_THROW(generic::lnAtanhSeries<Float64Arithmetic>(-1.0, 30), ValueError);
}

}  // namespace
}  // namespace kovrix

namespace kovrix {
namespace {

using namespace kovrix::testsupport;

TEST(LnGenericFixed, FixedCountEqualsRunTimeCount) {
  for (int trial = 0; trial < 20000; ++trial) {
    const std::int64_t x = anyRaw();
    std::optional<std::int64_t> a, b;
    try { a = lnGeneric(Fixed{x}, 15).raw; } catch (const Error&) {}
    try { b = lnGeneric(Fixed{x}, Terms<15>{}).raw; } catch (const Error&) {}
    ASSERT_EQ(a, b) << x;
  }
}

}  // namespace
}  // namespace kovrix

// Hyperbolic CORDIC: schedule, angles and budget against libm, start value
// against MPFR, a reference rotation written from the definition, the budget
// failure and its text, the scaled exponential, the listed values and the
// failure convention of the exports.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "c_api/pending_error.hpp"
#include "fixed/arithmetic.hpp"
#include "support/mpz.hpp"
#include "support/accuracy.hpp"
#include "support/fixed.hpp"
#include "hyperbolic/cordic.hpp"
#include "kovrix.h"

namespace {

using kovrix::Fixed;
using I128 = kovrix::Int128;

constexpr std::int64_t one = std::int64_t{1} << 32;
constexpr std::int64_t B = 4802516527;

// ---- reference from the definition ---------------------------------------------

std::vector<int> refSchedule() {
  std::vector<int> s;
  int repeat = 4;
  for (int i = 1; i <= 32; ++i) {
    s.push_back(i);
    if (i == repeat) s.push_back(i), repeat = 3 * repeat + 1;
  }
  return s;
}

std::int64_t refAngle(int i) {
  const double v = i == 1 ? 0.5493061443340549 : std::atanh(std::pow(2.0, -i));
  return static_cast<std::int64_t>(std::trunc(v * 4294967296.0));
}

struct RefFailure {
  std::string message;
};

std::int64_t fit(I128 v, const char* message) {
  if (v < INT64_MIN || v > INT64_MAX) throw RefFailure{message};
  return static_cast<std::int64_t>(v);
}

std::int64_t refBudget() {
  std::int64_t b = 0;
  for (int i : refSchedule()) b = fit(I128{b} + refAngle(i), "over- or underflow");
  return b;
}

std::pair<std::int64_t, std::int64_t> refSinhCosh(std::int64_t a) {
  if (a < -B || a > B) throw RefFailure{"budget"};
  std::int64_t X = 5186160416, Y = 0, Z = a;
  for (int i : refSchedule()) {
    const std::int64_t A = refAngle(i);
    std::int64_t nx, ny, nz;
    if (Z < 0) {
      nx = fit(I128{X} - (Y >> i), "over- or underflow");
      ny = fit(I128{Y} - (X >> i), "over- or underflow");
      nz = fit(I128{Z} + A, "over- or underflow");
    } else {
      nx = fit(I128{X} + (Y >> i), "over- or underflow");
      ny = fit(I128{Y} + (X >> i), "over- or underflow");
      nz = fit(I128{Z} - A, "over- or underflow");
    }
    X = nx, Y = ny, Z = nz;
  }
  return {Y, X};
}

std::int64_t refFloorMul(std::int64_t a, std::int64_t b) {
  const kovrix::testsupport::Mpz p = kovrix::testsupport::fdiv2exp(kovrix::testsupport::Mpz(a) * kovrix::testsupport::Mpz(b), 32);
  if (!kovrix::testsupport::fitsInt64(p)) throw RefFailure{"BigInt exceeds int64 range"};
  return kovrix::testsupport::toInt64(p);
}

std::int64_t refExp(std::int64_t a) {
  try {
    const auto [s, c] = refSinhCosh(a);
    return fit(I128{s} + c, "Fixed addition overflow");
  } catch (const RefFailure& f) {
    if (f.message != "budget") throw;
  }
  for (int i = 1;; ++i) {
    const std::int64_t f = a >> i;
    if (f < -B || f > B) continue;
    const auto [s, c] = refSinhCosh(f);
    std::int64_t r = fit(I128{s} + c, "Fixed addition overflow");
    for (int k = 0; k < i; ++k) r = refFloorMul(r, r);
    return r;
  }
}

std::int64_t clampH(std::int64_t x) {
  constexpr std::int64_t h = 4724464025;
  return x < -h ? -h : (x > h ? h : x);
}

template <class F>
std::optional<std::string> failureOf(F&& f) {
  try {
    f();
  } catch (const kovrix::Error& e) {
    return std::string(e.what());
  }
  return std::nullopt;
}

std::string shortest(double v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

// ---- tables and constants --------------------------------------------------------

TEST(HyperbolicTables, ScheduleAnglesAndBudget) {
  const std::vector<int> s = refSchedule();
  ASSERT_EQ(static_cast<int>(s.size()), kovrix::hyperbolicSteps);
  for (int k = 0; k < kovrix::hyperbolicSteps; ++k) EXPECT_EQ(kovrix::hyperbolicStepIndex(k), s[static_cast<std::size_t>(k)]) << k;
  for (int i = 1; i <= 32; ++i) {
    EXPECT_EQ(kovrix::getCordicHyperbolicAngle(i), refAngle(i)) << "angle " << i;
    EXPECT_EQ(kovrix::computeCordicHyperbolicAngle(i), refAngle(i)) << "computed angle " << i;
  }
  const std::int64_t first[] = {2359251925, 1096989674, 539693625, 268785802, 134261444};
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(kovrix::getCordicHyperbolicAngle(i), first[i - 1]);
  EXPECT_EQ(kovrix::getCordicHyperbolicAngle(32), 1);
  EXPECT_EQ(refBudget(), B);
  EXPECT_EQ(kovrix::hyperbolicConvergenceBudget(), B);
}

TEST(HyperbolicTables, StartValueIsTheTruncatedInverseGain) {
  mpfr_t k, t;
  mpfr_inits2(200, k, t, static_cast<mpfr_ptr>(nullptr));
  mpfr_set_ui(k, 1, MPFR_RNDN);
  for (int i : refSchedule()) {  // K_h = prod sqrt(1 - 2^-2i)
    mpfr_set_ui_2exp(t, 1, -2 * i, MPFR_RNDN);
    mpfr_ui_sub(t, 1, t, MPFR_RNDN);
    mpfr_sqrt(t, t, MPFR_RNDN);
    mpfr_mul(k, k, t, MPFR_RNDN);
  }
  mpfr_ui_div(k, 1, k, MPFR_RNDN);
  mpfr_mul_2ui(k, k, 32, MPFR_RNDN);
  EXPECT_EQ(mpfr_get_si(k, MPFR_RNDZ), kovrix::getCordicHyperbolicGain());
  EXPECT_EQ(kovrix::getCordicHyperbolicGain(), 5186160416);
  mpfr_clears(k, t, static_cast<mpfr_ptr>(nullptr));
}

// ---- rotations --------------------------------------------------------------------

TEST(HyperbolicRotation, ExhaustiveWindowsAndRandomAgainstReference) {
  std::vector<std::int64_t> xs;
  for (std::int64_t c : {std::int64_t{0}, one, -one, B, -B, std::int64_t{4724464025}, -std::int64_t{4724464025}})
    for (std::int64_t d = -3000; d <= 3000; ++d) xs.push_back(c + d);
  for (int n = 0; n < 100000; ++n) xs.push_back(kovrix::testsupport::between(-B - 1000, B + 1000));
  for (std::int64_t a : xs) {
    if (a < -B || a > B) {
      ASSERT_TRUE(failureOf([&] { kovrix::sinhCoshCordic(Fixed{a}); }).has_value()) << "sinhCoshCordic(" << a << ")";
      continue;
    }
    const auto want = refSinhCosh(a);
    const auto [s, c] = kovrix::sinhCoshCordic(Fixed{a});
    ASSERT_EQ(s.raw, want.first) << "sinh of sinhCoshCordic(" << a << ")";
    ASSERT_EQ(c.raw, want.second) << "cosh of sinhCoshCordic(" << a << ")";
  }
}

TEST(HyperbolicRotation, BudgetFailureAndItsText) {
  EXPECT_FALSE(failureOf([] { kovrix::sinhCoshCordic(Fixed{B}); }).has_value());
  EXPECT_FALSE(failureOf([] { kovrix::sinhCoshCordic(Fixed{-B}); }).has_value());
  for (std::int64_t a : {B + 1, -B - 1, 5 * one, INT64_MIN, INT64_MAX}) {
    try {
      kovrix::sinhCoshCordic(Fixed{a});
      ADD_FAILURE() << "sinhCoshCordic(" << a << ") should fail";
    } catch (const kovrix::ValueError& e) {
      const std::string expected =
          "sinhCoshCordic: |angle| " + shortest(std::fabs(static_cast<double>(a)) / 4294967296.0) +
          " exceeds the CORDIC hyperbolic convergence budget " + shortest(static_cast<double>(B) / 4294967296.0) +
          " (<= sum atanh(2^-i) ~ 1.1182); use the BigFloat exp/sinh/cosh (scaling-and-squaring) for larger "
          "arguments";
      EXPECT_EQ(std::string(e.what()), expected) << a;
    }
  }
  try {
    kovrix::sinhCoshCordic(Fixed{-5 * one});
  } catch (const kovrix::ValueError& e) {
    EXPECT_EQ(std::string(e.what()).substr(0, 60),
              "sinhCoshCordic: |angle| 5 exceeds the CORDIC hyperbolic conv");
  }
}

TEST(HyperbolicRotation, AccuracyAgainstMpfr) {
  const double worst = kovrix::testsupport::worstPairError(
      -B, B, 20000,
      [](Fixed x) { return kovrix::sinhCoshCordic(x); }, mpfr_sinh_cosh);
  EXPECT_LT(worst, std::ldexp(1.0, -26)) << "largest error of sinhCoshCordic";
}

// ---- the scaled exponential ---------------------------------------------------------

TEST(HyperbolicExp, ListedValues) {
  EXPECT_EQ(kovrix::expCordicScaled(Fixed{2 * one}).raw, 31735754382);
  EXPECT_EQ(kovrix::expCordicScaled(Fixed{-5 * one}).raw, 28939261);
  EXPECT_EQ(kovrix::expCordicScaled(Fixed{10 * one}).raw, 94602951132282);
  EXPECT_EQ(kovrix::expCordicScaled(Fixed{one}).raw, 11674931571);
  EXPECT_EQ(failureOf([] { kovrix::expCordicScaled(Fixed{43 * (one / 2)}); }), "BigInt exceeds int64 range");
}

TEST(HyperbolicExp, AgreesWithReferenceOverTheWholeRange) {
  std::vector<std::int64_t> xs = {INT64_MIN, INT64_MAX, 0, B, B + 1, -B, -B - 1, 2 * B, 2 * B + 1, 2 * B + 2};
  for (int n = 0; n < 20000; ++n) xs.push_back(kovrix::testsupport::anyInt64());
  for (int n = 0; n < 20000; ++n) xs.push_back(kovrix::testsupport::between(-40 * one, 25 * one));
  for (std::int64_t a : xs) {
    std::optional<std::int64_t> want;
    std::string message;
    try {
      want = refExp(a);
    } catch (const RefFailure& f) {
      message = f.message;
    }
    const auto failure = failureOf([&] { kovrix::expCordicScaled(Fixed{a}); });
    if (want) {
      ASSERT_FALSE(failure.has_value()) << "expCordicScaled(" << a << ") failed with " << *failure;
      ASSERT_EQ(kovrix::expCordicScaled(Fixed{a}).raw, *want) << "expCordicScaled(" << a << ")";
    } else {
      ASSERT_EQ(failure, message) << "expCordicScaled(" << a << ")";
    }
  }
}

// ---- exports ----------------------------------------------------------------------

TEST(HyperbolicExports, ListedValues) {
  EXPECT_EQ(kovrix_cordic_sinh(0), 1);
  EXPECT_EQ(kovrix_cordic_cosh(0), 4294967287);
  EXPECT_EQ(kovrix_cordic_sinh(one), 5047450700);
  EXPECT_EQ(kovrix_cordic_cosh(one), 6627480871);
  EXPECT_EQ(kovrix_cordic_tanh(one), 3271021992);
  EXPECT_EQ(kovrix_cordic_exp(one), 11674931571);
  EXPECT_EQ(kovrix_cordic_exp(2 * one), 12902794828);
  EXPECT_EQ(kovrix_cordic_exp(4724464025), 12902794828);
  EXPECT_EQ(clampHyperbolicQ32(INT64_MAX), 4724464025);
  EXPECT_EQ(clampHyperbolicQ32(INT64_MIN), -4724464025);
  EXPECT_EQ(clampHyperbolicQ32(-one), -one);
}

TEST(HyperbolicExports, AgreeWithReferenceAndNeverFail) {
  kovrix::capi::clearPending();
  for (int n = 0; n < 50000; ++n) {
    const std::int64_t x = n % 2 ? kovrix::testsupport::anyInt64() : kovrix::testsupport::between(-6 * one, 6 * one);
    const auto [s, c] = refSinhCosh(clampH(x));
    ASSERT_EQ(clampHyperbolicQ32(x), clampH(x));
    ASSERT_EQ(kovrix::clampHyperbolicQ32(Fixed{x}).raw, clampH(x));
    ASSERT_EQ(kovrix_cordic_sinh(x), s) << "kovrix_cordic_sinh(" << x << ")";
    ASSERT_EQ(kovrix_cordic_cosh(x), c) << "kovrix_cordic_cosh(" << x << ")";
    ASSERT_EQ(kovrix_cordic_exp(x), s + c) << "kovrix_cordic_exp(" << x << ")";
    const I128 q = (I128{s} * one) / c;  // truncating quotient
    ASSERT_EQ(kovrix_cordic_tanh(x), static_cast<std::int64_t>(q)) << "kovrix_cordic_tanh(" << x << ")";
  }
  EXPECT_FALSE(kovrix::capi::errorPending());
}

TEST(HyperbolicExports, ReturnZeroWhileAnErrorIsPending) {
  kovrix::capi::clearPending();
  EXPECT_EQ(kovrix_cordic_atan2(std::int64_t{1} << 62, std::int64_t{1} << 62), 0);  // leaves an overflow
  ASSERT_TRUE(kovrix::capi::errorPending());
  EXPECT_EQ(kovrix_cordic_sinh(one), 0);
  EXPECT_EQ(kovrix_cordic_cosh(one), 0);
  EXPECT_EQ(kovrix_cordic_tanh(one), 0);
  EXPECT_EQ(kovrix_cordic_exp(one), 0);
  EXPECT_EQ(clampHyperbolicQ32(INT64_MAX), 4724464025);  // no failing step: computes
  EXPECT_TRUE(kovrix::capi::errorPending());
  EXPECT_EQ(kovrix::capi::pendingError().kind, kovrix::ErrorKind::overflowDefect);
  kovrix::capi::clearPending();
  EXPECT_EQ(kovrix_cordic_exp(one), 11674931571);
}

}  // namespace

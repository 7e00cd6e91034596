// Polynomial tangent: agreement with the exact GMP evaluation of the same
// floor products and sums, the listed values, the overflow boundary, and the
// failure convention of the export.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "c_api/pending_error.hpp"
#include "support/mpz.hpp"
#include "support/fixed.hpp"
#include "kovrix.h"
#include "trigonometry/chebyshev.hpp"

namespace {

using kovrix::Fixed;
using kovrix::testsupport::Mpz;

constexpr std::int64_t one = std::int64_t{1} << 32;
constexpr std::int64_t C3 = 1431647477, C5 = 572915993, C7 = 229239843;

// Each step exactly in GMP; nullopt + message when a step leaves int64.
struct RefResult {
  std::optional<std::int64_t> value;
  std::string message;
};

RefResult refTan(std::int64_t x) {
  auto floorMul = [](const Mpz& a, const Mpz& b) { return kovrix::testsupport::fdiv2exp(a * b, 32); };
  const Mpz X(x);
  const Mpz x2 = floorMul(X, X);
  if (!kovrix::testsupport::fitsInt64(x2)) return {std::nullopt, "BigInt exceeds int64 range"};
  const Mpz x3 = floorMul(x2, X);
  if (!kovrix::testsupport::fitsInt64(x3)) return {std::nullopt, "BigInt exceeds int64 range"};
  const Mpz x5 = floorMul(x3, x2);
  if (!kovrix::testsupport::fitsInt64(x5)) return {std::nullopt, "BigInt exceeds int64 range"};
  const Mpz x7 = floorMul(x5, x2);
  if (!kovrix::testsupport::fitsInt64(x7)) return {std::nullopt, "BigInt exceeds int64 range"};
  Mpz s = X + floorMul(Mpz(C3), x3);
  if (!kovrix::testsupport::fitsInt64(s)) return {std::nullopt, "Fixed addition overflow"};
  s = s + floorMul(Mpz(C5), x5);
  if (!kovrix::testsupport::fitsInt64(s)) return {std::nullopt, "Fixed addition overflow"};
  s = s + floorMul(Mpz(C7), x7);
  if (!kovrix::testsupport::fitsInt64(s)) return {std::nullopt, "Fixed addition overflow"};
  return {kovrix::testsupport::toInt64(s), ""};
}

void check(std::int64_t x) {
  const RefResult want = refTan(x);
  try {
    const Fixed got = kovrix::tanChebyshev(Fixed{x});
    ASSERT_TRUE(want.value.has_value()) << "tanChebyshev(" << x << ") should fail with " << want.message;
    ASSERT_EQ(got.raw, *want.value) << "tanChebyshev(" << x << ")";
  } catch (const kovrix::Error& e) {
    ASSERT_FALSE(want.value.has_value()) << "tanChebyshev(" << x << ") failed with " << e.what();
    ASSERT_EQ(e.kind(), kovrix::ErrorKind::overflowDefect);
    ASSERT_EQ(std::string(e.what()), want.message) << "tanChebyshev(" << x << ")";
  }
}

// The smallest x > 0 at which the polynomial fails (x^7 leaves int64 first).
std::int64_t firstFailure() {
  std::int64_t lo = 0, hi = std::int64_t{1} << 48;  // lo works, hi fails
  while (hi - lo > 1) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    (refTan(mid).value ? lo : hi) = mid;
  }
  return hi;
}

TEST(ChebyshevTan, Coefficients) {
  EXPECT_EQ(kovrix::tanC3Q32, C3);
  EXPECT_EQ(kovrix::tanC5Q32, C5);
  EXPECT_EQ(kovrix::tanC7Q32, C7);
}

TEST(ChebyshevTan, ListedValues) {
  EXPECT_EQ(kovrix_chebyshev_tan(0), 0);
  EXPECT_EQ(kovrix_chebyshev_tan(one), one + C3 + C5 + C7);
  EXPECT_EQ(kovrix_chebyshev_tan(one), 6528770609);
  EXPECT_EQ(kovrix_chebyshev_tan(-one), -6528770609);
}

TEST(ChebyshevTan, ExhaustiveWindows) {
  const std::int64_t edge = firstFailure();
  for (std::int64_t c : {std::int64_t{0}, one, -one, std::int64_t{3373259426}, -std::int64_t{3373259426},
                         std::int64_t{6746518852}, edge, -edge}) {
    for (std::int64_t x = c - 2000; x <= c + 2000; ++x) check(x);
  }
}

TEST(ChebyshevTan, RandomSweep) {
  for (int n = 0; n < 200000; ++n) {
    std::int64_t x = kovrix::testsupport::anyInt64();
    if (n % 2) x >>= 20 + kovrix::testsupport::below(30);
    check(x);
  }
}

TEST(ChebyshevTan, AccuracyNearZero) {
  // The polynomial is meant for |x| <= pi/4; within it, it stays within
  // 3.5e-3 of tan (3.41e-3 at the worst point of this grid, near the ends).
  for (std::int64_t x = -3373259426; x <= 3373259426; x += 3373259426 / 1000) {
    const double got = static_cast<double>(kovrix::tanChebyshev(Fixed{x}).raw) / one;
    EXPECT_NEAR(got, std::tan(static_cast<double>(x) / one), 3.5e-3) << x;
  }
}

TEST(ChebyshevTan, ExportFailureConvention) {
  kovrix::capi::clearPending();
  const std::int64_t edge = firstFailure();
  EXPECT_EQ(kovrix_chebyshev_tan(edge), 0);
  ASSERT_TRUE(kovrix::capi::errorPending());
  EXPECT_EQ(kovrix::capi::pendingError().kind, kovrix::ErrorKind::overflowDefect);
  // With the error pending the export returns 0 without computing.
  EXPECT_EQ(kovrix_chebyshev_tan(one), 0);
  EXPECT_EQ(kovrix_cordic_sin(one), 0);
  kovrix::capi::clearPending();
  EXPECT_EQ(kovrix_chebyshev_tan(edge - 1), *refTan(edge - 1).value);
  EXPECT_FALSE(kovrix::capi::errorPending());
  // The export clamps to +-2^62 first; the polynomial fails there all the same.
  EXPECT_EQ(kovrix_chebyshev_tan(INT64_MAX), 0);
  EXPECT_TRUE(kovrix::capi::errorPending());
  kovrix::capi::clearPending();
}

}  // namespace

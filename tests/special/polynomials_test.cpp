// Chebyshev, Legendre and Hermite recurrences on float64: the recurrences
// re-derived, the exact polynomial values in MPFR, identities and the stated
// values.
#include "special/polynomials.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "c_api/pending_error.hpp"
#include "kovrix.h"
#include "support/series.hpp"

namespace kovrix {
namespace {

using namespace kovrix::testsupport;

enum class Family { T, U, P, H };

double reference(Family f, std::int64_t n, double x) {
  const double p1 = (f == Family::T || f == Family::P) ? x : x + x;
  if (n == 0) return 1;
  if (n < 0 || n == 1) return p1;
  std::vector<double> p(static_cast<std::size_t>(n) + 1);
  p[0] = 1;
  p[1] = p1;
  for (std::int64_t i = 2; i <= n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    switch (f) {
      case Family::T:
      case Family::U: p[k] = p[k - 1] * (x + x) - p[k - 2]; break;
      case Family::P:
        p[k] = ((static_cast<double>(2 * i - 1) * x) * p[k - 1] - static_cast<double>(i - 1) * p[k - 2]) /
               static_cast<double>(i);
        break;
      case Family::H: p[k] = p[k - 1] * (x + x) - static_cast<double>(2 * i - 2) * p[k - 2]; break;
    }
  }
  return p[static_cast<std::size_t>(n)];
}

double kernel(Family f, std::int64_t n, double x) {
  switch (f) {
    case Family::T: return chebyshevT(n, x);
    case Family::U: return chebyshevU(n, x);
    case Family::P: return legendreP(n, x);
    case Family::H: return hermiteH(n, x);
  }
  return 0;
}

double exported(Family f, std::int32_t n, double x) {
  switch (f) {
    case Family::T: return kovrix_chebyshev_t(n, x);
    case Family::U: return kovrix_chebyshev_u(n, x);
    case Family::P: return kovrix_legendre(n, x);
    case Family::H: return kovrix_hermite(n, x);
  }
  return 0;
}

TEST(Polynomials, StatedValues) {
  for (double x : {0.0, 0.3, -2.5, 1e300}) {
    EXPECT_EQ(kovrix_chebyshev_t(0, x), 1.0);
    EXPECT_EQ(kovrix_chebyshev_t(1, x), x);
    EXPECT_EQ(kovrix_chebyshev_t(-3, x), x);
    EXPECT_EQ(kovrix_chebyshev_u(-3, x), x + x);
    EXPECT_EQ(kovrix_legendre(-1, x), x);
    EXPECT_EQ(kovrix_hermite(-1, x), x + x);
  }
  EXPECT_EQ(kovrix_hermite(2, 1.0), 2.0);
  EXPECT_EQ(kovrix_legendre(2, 0.5), -0.125);
  EXPECT_EQ(kovrix_chebyshev_t(3, 0.5), -1.0);  // cos(3 pi/3)
  EXPECT_EQ(kovrix_chebyshev_u(2, 0.5), 0.0);
  EXPECT_EQ(kovrix_hermite(3, 2.0), 40.0);      // 8x^3 - 12x
}

TEST(Polynomials, MatchTheRecurrencesBitForBit) {
  for (int trial = 0; trial < 4000; ++trial) {
    const auto f = static_cast<Family>(below(4));
    const std::int64_t n = between(-3, 300);
    const double x = (trial % 3 == 0) ? anyDouble() : uniform(-1.2, 1.2);
    ASSERT_TRUE(sameBits(kernel(f, n, x), reference(f, n, x)))
        << "family " << static_cast<int>(f) << " n " << n << " x " << show(x);
    ASSERT_TRUE(sameBits(exported(f, static_cast<std::int32_t>(n), x), reference(f, n, x)));
  }
}

TEST(Polynomials, NaNStopsEarlyWithTheSameResult) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(std::isnan(kovrix_chebyshev_t(INT32_MAX, nan)));
  EXPECT_TRUE(std::isnan(kovrix_hermite(INT32_MAX, 1e10)));  // overflows to inf, then inf - inf
  EXPECT_TRUE(sameBits(hermiteH(5000, 30.0), reference(Family::H, 5000, 30.0)));
}

TEST(Polynomials, AgreeWithMpfrAndIdentities) {
  Mp a(300), b(300), c(300), xm(300);
  for (int trial = 0; trial < 2000; ++trial) {
    const double x = uniform(-1.0, 1.0);
    const int n = static_cast<int>(between(0, 20));
    // T_n(cos t) = cos(n t).
    const double t = std::acos(x);
    mpfr_set_d(xm.get(), t, MPFR_RNDN);
    mpfr_mul_si(xm.get(), xm.get(), n, MPFR_RNDN);
    mpfr_cos(xm.get(), xm.get(), MPFR_RNDN);
    ASSERT_TRUE(closeTo(kovrix_chebyshev_t(n, std::cos(t)), xm.toDouble(), 1e-12)) << n << " " << show(x);
    // Legendre and Hermite through their recurrences at 300 bits.
    mpfr_set_d(xm.get(), x, MPFR_RNDN);
    mpfr_set_ui(a.get(), 1, MPFR_RNDN);
    mpfr_set(b.get(), xm.get(), MPFR_RNDN);
    for (int i = 2; i <= n; ++i) {
      mpfr_mul(c.get(), b.get(), xm.get(), MPFR_RNDN);
      mpfr_mul_si(c.get(), c.get(), 2 * i - 1, MPFR_RNDN);
      mpfr_mul_si(a.get(), a.get(), i - 1, MPFR_RNDN);
      mpfr_sub(c.get(), c.get(), a.get(), MPFR_RNDN);
      mpfr_div_si(c.get(), c.get(), i, MPFR_RNDN);
      mpfr_swap(a.get(), b.get());
      mpfr_swap(b.get(), c.get());
    }
    const double legendre = n == 0 ? 1.0 : b.toDouble();
    ASSERT_TRUE(closeTo(kovrix_legendre(n, x), legendre, 1e-13)) << n << " " << show(x);
    // U_n(x) = (T_n(x) x - T_{n+1}(x)) / (1 - x^2)... checked instead as
    // U_n - U_{n-2} = 2 T_n for n >= 2.
    if (n >= 2)
      ASSERT_TRUE(closeTo(kovrix_chebyshev_u(n, x) - kovrix_chebyshev_u(n - 2, x), 2 * kovrix_chebyshev_t(n, x), 1e-12));
    // H_n'(x) = 2n H_{n-1}(x), checked by symmetric difference.
    if (n >= 1 && n <= 10) {
      const double h = 1e-5;
      const double d = (kovrix_hermite(n, x + h) - kovrix_hermite(n, x - h)) / (2 * h);
      ASSERT_TRUE(closeTo(d, 2.0 * n * kovrix_hermite(n - 1, x), 1e-3)) << n << " " << show(x);
    }
  }
  EXPECT_FALSE(capi::errorPending());
}

}  // namespace
}  // namespace kovrix

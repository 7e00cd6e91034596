// The float64 kernel exports against references written step by step from
// the kernels' definitions (independently of the library's own templates):
// every operation in the stated order, the stated counts, guards and
// negative degrees, compared bit for bit on random and special arguments.
// Also the stated values, the canonical quiet NaN of the guards, and that the
// exports compute while an error is pending and leave it as it was.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "c_api/pending_error.hpp"
#include "kovrix.h"
#include "support/doubles.hpp"
#include "support/seed.hpp"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::uint64_t kQuietNaNBits = 0x7FF8000000000000ULL;

using namespace kovrix::testsupport;

// ---- references, one per kernel, in the words of their definitions ----------
namespace ref {

double sqrtNewton(double x) {  // export: NaN if x < 0; 20 iterations
  if (x < 0) return kNaN;
  if (x == 0) return 0.0;
  double a = x;
  for (int i = 1; i <= 20; ++i) {
    const double b = (x / a + a) * 0.5;
    if (i > 1 && b == a) return b;
    a = b;
  }
  return a;
}

double expTaylor(double x) {  // 15 terms
  double sum = 1, t = 1;
  for (int i = 1; i <= 14; ++i) {
    t = (t * x) / i;
    sum = sum + t;
  }
  return sum;
}

double lnTaylor(double x) {  // count 15
  if (1 + x <= 0) return kNaN;
  double sum = x, p = x;
  for (int i = 2; i <= 14; ++i) {
    p = p * x;
    sum = (i % 2 == 0) ? sum - p / i : sum + p / i;
  }
  return sum;
}

double sinTaylor(double x) {  // 5 terms
  double s = x, t = x * (x * x), m = 6;
  bool minus = true;
  for (int i = 2;; ++i) {
    s = minus ? s - t / m : s + t / m;
    if (i == 5) return s;
    t = (x * x) * (t / m);
    m = (2.0 * i) * (2.0 * i + 1);
    minus = !minus;
  }
}

double cosTaylor(double x) {  // 5 terms
  const double q = x * x;
  double s = 1, t = q, m = 2;
  bool minus = true;
  for (int i = 2;; ++i) {
    s = minus ? s - t / m : s + t / m;
    if (i == 5) return s;
    t = (t / m) * q;
    m = (2.0 * i - 1) * (2.0 * i);
    minus = !minus;
  }
}

double atanTaylor(double x) {  // 10 terms
  double s = x, t = x * (x * x), d = 3;
  bool minus = true;
  for (int terms = 2;; ++terms) {
    s = minus ? s - t / d : s + t / d;
    if (terms == 10) return s;
    d = d + 2;
    t = (x * x) * t;
    minus = !minus;
  }
}

// The recurrences stop at a NaN (a NaN value stays NaN through every later
// step), so that degrees near 2^31 stay fast where the values blow up.
double chebyshevT(std::int64_t n, double x) {
  if (n == 0) return 1;
  if (n == 1 || n < 0) return x;
  double a = 1, b = x;
  for (std::int64_t i = 2; i <= n && b == b; ++i) {
    const double c = b * (x + x) - a;
    a = b;
    b = c;
  }
  return b;
}

double chebyshevU(std::int64_t n, double x) {
  if (n == 0) return 1;
  if (n == 1 || n < 0) return 2 * x;
  double a = 1, b = x + x;
  for (std::int64_t i = 2; i <= n && b == b; ++i) {
    const double c = b * (x + x) - a;
    a = b;
    b = c;
  }
  return b;
}

double legendreP(std::int64_t n, double x) {
  if (n == 0) return 1;
  if (n == 1 || n < 0) return x;
  double a = 1, b = x;
  for (std::int64_t i = 2; i <= n && b == b; ++i) {
    const double c = ((static_cast<double>(2 * i - 1) * x) * b - static_cast<double>(i - 1) * a) /
                     static_cast<double>(i);
    a = b;
    b = c;
  }
  return b;
}

double hermiteH(std::int64_t n, double x) {
  if (n == 0) return 1;
  if (n == 1 || n < 0) return 2 * x;
  double a = 1, b = x + x;
  for (std::int64_t i = 2; i <= n && b == b; ++i) {
    const double c = b * (x + x) - static_cast<double>(2 * i - 2) * a;
    a = b;
    b = c;
  }
  return b;
}

double erfTaylor(double x) {  // 15 terms
  const double s = std::sqrt(3.141592653589793);
  double sum = x, u = x, r = 1, o = 3;
  bool minus = true;
  for (int n = 1; n <= 14; ++n) {
    u = (((x * x) * u) * r) / o;
    sum = minus ? sum - u : sum + u;
    r = 2.0 * n + 1;
    o = (n + 1.0) * (2.0 * n + 3);
    minus = !minus;
  }
  return (2 / s) * sum;
}

double gammaLanczos(double x) {
  static const double c[9] = {0.9999999999998099,   676.5203681218851,    -1259.1392167224028,
                              771.3234287776531,    -176.6150291621406,   12.507343278686905,
                              -0.13857109526572012, 9.984369578019572e-6, 1.5056327351493116e-7};
  const double pi = 3.141592653589793;
  if (x <= 0) {
    if (x == std::round(x)) return kNaN;
    return pi / (std::sin(pi * x) * gammaLanczos(1 - x));
  }
  if (x < 1) return gammaLanczos(1 + x) / x;
  const double z = x - 1;
  const double t = 7 + z + 0.5;
  double A = 676.5203681218851 / (1 + z) + 0.9999999999998099;
  for (int k = 2; k <= 8; ++k) A = A + c[k] / (k + z);
  return A * (std::pow(t, z + 0.5) * 2.5066282746310002 * std::exp(-t));
}

double factorial(std::int32_t n) {
  if (n < 0) return 0.0;
  double p = 1;
  for (std::int32_t i = 2; i <= n; ++i) p = p * i;
  return p;
}

double besselJ0(double x) {  // 15 terms
  const double q = (x * 0.5) * (x * 0.5);
  double s = 1, e = q, d = 1;
  bool minus = true;
  for (int i = 2;; ++i) {
    s = minus ? s - e / d : s + e / d;
    if (i == 15) return s;
    e = (e / d) * q;
    d = static_cast<double>(i) * i;
    minus = !minus;
  }
}

}  // namespace ref

// Arguments from every regime: specials, subnormals, the series' home ground
// |x| <= 2, moderate and huge magnitudes, anything finite.
double randomArgument() {
  auto& g = kovrix::testsupport::rng();
  static const double special[] = {0.0,  -0.0, 1.0,   -1.0,  0.5,  -0.5,     2.0,      -2.0,   kInf,
                                   -kInf, kNaN, 1e-10, 1e10, 1e20, 1e300, -1e300, 5e-324, -5e-324, 170.5,
                                   -170.5, 171.0, -0.9999999999999999, -1.0000000000000002};
  const double unit = static_cast<double>(g() >> 11) * 0x1p-53;
  switch (below(6)) {
    case 0: return special[below(sizeof special / sizeof special[0])];
    case 1: return std::bit_cast<double>(g() & 0x800FFFFFFFFFFFFFULL);
    case 2: return (unit * 4 - 2);
    case 3: return (unit * 2 - 1) * std::ldexp(1.0, static_cast<int>(below(80)) - 40);
    default: {
      const double v = std::bit_cast<double>(g());
      return std::isfinite(v) ? v : unit;
    }
  }
}

TEST(Float64Exports, AgreeWithDefinitionsBitForBit) {
  auto& g = kovrix::testsupport::rng();
  for (int i = 0; i < 60000; ++i) {
    const double x = randomArgument();
    const std::string at = show(x) + (" [" + seedNote() + "]");
    ASSERT_TRUE(sameBits(kovrix_sqrt_newton_f64(x), ref::sqrtNewton(x))) << "sqrt_newton " << at;
    ASSERT_TRUE(sameBits(kovrix_exp_taylor_f64(x), ref::expTaylor(x))) << "exp_taylor " << at;
    ASSERT_TRUE(sameBits(kovrix_ln_taylor_f64(x), ref::lnTaylor(x))) << "ln_taylor " << at;
    ASSERT_TRUE(sameBits(kovrix_taylor_sin_f64(x), ref::sinTaylor(x))) << "taylor_sin " << at;
    ASSERT_TRUE(sameBits(kovrix_taylor_cos_f64(x), ref::cosTaylor(x))) << "taylor_cos " << at;
    ASSERT_TRUE(sameBits(kovrix_taylor_atan_f64(x), ref::atanTaylor(x))) << "taylor_atan " << at;
    ASSERT_TRUE(sameBits(kovrix_erf(x), ref::erfTaylor(x))) << "erf " << at;
    ASSERT_TRUE(sameBits(kovrix_gamma(x), ref::gammaLanczos(x))) << "gamma " << at;
    ASSERT_TRUE(sameBits(kovrix_bessel_j0(x), ref::besselJ0(x))) << "bessel_j0 " << at;
    // Degrees: mostly small (and negative), now and then up to 2^31 - 1.
    const std::int32_t n = (below(16) == 0) ? static_cast<std::int32_t>(g())
                                           : static_cast<std::int32_t>(below(80)) - 10;
    // A large degree only where the values overflow within a few thousand
    // steps and the recurrence ends at NaN; elsewhere it takes up to 2^31 steps.
    const bool slow = (n > 5000) && !(std::fabs(x) >= 2 || x != x);
    const std::string atn = "n=" + std::to_string(n) + " x=" + at;
    if (!slow) {
      ASSERT_TRUE(sameBits(kovrix_chebyshev_t(n, x), ref::chebyshevT(n, x))) << "chebyshev_t " << atn;
      ASSERT_TRUE(sameBits(kovrix_chebyshev_u(n, x), ref::chebyshevU(n, x))) << "chebyshev_u " << atn;
      ASSERT_TRUE(sameBits(kovrix_legendre(n, x), ref::legendreP(n, x))) << "legendre " << atn;
      ASSERT_TRUE(sameBits(kovrix_hermite(n, x), ref::hermiteH(n, x))) << "hermite " << atn;
    }
    const std::int32_t f = static_cast<std::int32_t>(below(400)) - 100;
    ASSERT_TRUE(sameBits(kovrix_factorial(f), ref::factorial(f))) << "factorial " << f << (" [" + seedNote() + "]");
  }
  EXPECT_FALSE(kovrix::capi::errorPending());
}

// The values and cases the definitions list, spelled out.
TEST(Float64Exports, ListedValues) {
  EXPECT_TRUE(sameBits(kovrix_sqrt_newton_f64(-0.0), 0.0)) << show(kovrix_sqrt_newton_f64(-0.0));
  EXPECT_EQ(bitsOf(kovrix_sqrt_newton_f64(-0.0)), 0u);  // +0
  EXPECT_EQ(kovrix_sqrt_newton_f64(4), 2.0);
  EXPECT_EQ(kovrix_sqrt_newton_f64(0.25), 0.5);
  EXPECT_EQ(kovrix_sqrt_newton_f64(2), 1.414213562373095);
  EXPECT_EQ(kovrix_sqrt_newton_f64(1e-10), 1.0000000015603234e-5);
  EXPECT_EQ(kovrix_sqrt_newton_f64(1e10), 100000.00015603233);
  EXPECT_EQ(kovrix_sqrt_newton_f64(1e20), 95367431990150.33);
  EXPECT_TRUE(std::isnan(kovrix_sqrt_newton_f64(kInf)));
  EXPECT_EQ(kovrix_exp_taylor_f64(1), 2.71828182845823);
  EXPECT_EQ(kovrix_exp_taylor_f64(10), 20188.170595424563);
  EXPECT_EQ(kovrix_ln_taylor_f64(0), 0.0);
  EXPECT_EQ(kovrix_ln_taylor_f64(1), 0.6587051837051838);
  EXPECT_EQ(kovrix_ln_taylor_f64(0.5), 0.40546372233994304);
  EXPECT_EQ(kovrix_taylor_sin_f64(0), 0.0);
  EXPECT_EQ(kovrix_taylor_cos_f64(0), 1.0);
  EXPECT_EQ(kovrix_taylor_sin_f64(1), 0.8414710097001764);
  EXPECT_EQ(kovrix_taylor_cos_f64(1), 0.5403025793650793);
  EXPECT_EQ(kovrix_taylor_atan_f64(1), 0.7604599047323508);
  // No reduction: a large argument gives the polynomial's value.
  EXPECT_EQ(kovrix_taylor_sin_f64(100), ref::sinTaylor(100));
  EXPECT_GT(kovrix_taylor_sin_f64(100), 1e10);
  for (double x : {0.3, -2.5}) {
    EXPECT_EQ(kovrix_chebyshev_t(0, x), 1.0);
    EXPECT_EQ(kovrix_chebyshev_t(1, x), x);
    EXPECT_EQ(kovrix_chebyshev_t(-3, x), x);
    EXPECT_EQ(kovrix_chebyshev_u(-3, x), 2 * x);
    EXPECT_EQ(kovrix_legendre(-3, x), x);
    EXPECT_EQ(kovrix_hermite(-3, x), 2 * x);
  }
  EXPECT_EQ(kovrix_hermite(2, 1), 2.0);
  EXPECT_EQ(kovrix_legendre(2, 0.5), -0.125);
  EXPECT_EQ(kovrix_gamma(-0.5), -3.5449077018110295);
  EXPECT_EQ(kovrix_gamma(1), 0.9999999999999998);
  EXPECT_EQ(kovrix_gamma(0.5), 1.7724538509055172);
  EXPECT_EQ(kovrix_gamma(5), 23.999999999999996);
  EXPECT_TRUE(std::isnan(kovrix_gamma(kNaN)));
  EXPECT_EQ(kovrix_factorial(-1), 0.0);
  EXPECT_EQ(kovrix_factorial(INT32_MIN), 0.0);
  EXPECT_EQ(kovrix_factorial(0), 1.0);
  EXPECT_EQ(kovrix_factorial(1), 1.0);
  EXPECT_EQ(kovrix_factorial(20), 2432902008176640000.0);
  EXPECT_EQ(kovrix_factorial(170), ref::factorial(170));
  EXPECT_EQ(kovrix_factorial(171), kInf);
  EXPECT_EQ(kovrix_factorial(INT32_MAX), kInf);
  EXPECT_EQ(kovrix_erf(0), 0.0);
  EXPECT_EQ(kovrix_erf(1), 0.8427007929497411);
  EXPECT_EQ(kovrix_bessel_j0(0), 1.0);
  EXPECT_EQ(kovrix_bessel_j0(1), 0.7651976865579666);
  EXPECT_EQ(kovrix_bessel_j0(2), 0.22389077914123562);
}

// The guarded cases answer with exactly 0x7FF8000000000000.
TEST(Float64Exports, GuardsAnswerTheQuietNaN) {
  EXPECT_EQ(bitsOf(kovrix_sqrt_newton_f64(-1)), kQuietNaNBits);
  EXPECT_EQ(bitsOf(kovrix_sqrt_newton_f64(-kInf)), kQuietNaNBits);
  EXPECT_EQ(bitsOf(kovrix_sqrt_newton_f64(-5e-324)), kQuietNaNBits);
  EXPECT_EQ(bitsOf(kovrix_ln_taylor_f64(-1)), kQuietNaNBits);
  EXPECT_EQ(bitsOf(kovrix_ln_taylor_f64(-2)), kQuietNaNBits);
  EXPECT_EQ(bitsOf(kovrix_ln_taylor_f64(-kInf)), kQuietNaNBits);
  // 1 + x rounds to 0 here although x > -1: the guard is on 1 + x.
  EXPECT_EQ(bitsOf(kovrix_ln_taylor_f64(-0.99999999999999995)), kQuietNaNBits);
  for (double pole : {0.0, -0.0, -1.0, -2.0, -171.0, -1e300, -kInf})
    EXPECT_EQ(bitsOf(kovrix_gamma(pole)), kQuietNaNBits) << show(pole);
  EXPECT_FALSE(kovrix::capi::errorPending());
}

// No failing step: with an error pending they compute normally (no 0.0
// failure value) and leave the error as it was.
TEST(Float64Exports, ComputeWhileAnErrorIsPendingAndLeaveIt) {
  using kovrix::ErrorKind;
  for (ErrorKind kind : {ErrorKind::valueError, ErrorKind::divByZeroDefect, ErrorKind::overflowDefect}) {
    kovrix::capi::setPending(kind, "earlier failure");
    EXPECT_EQ(kovrix_sqrt_newton_f64(4), 2.0);
    EXPECT_EQ(bitsOf(kovrix_sqrt_newton_f64(-1)), kQuietNaNBits);
    EXPECT_EQ(kovrix_exp_taylor_f64(1), 2.71828182845823);
    EXPECT_EQ(kovrix_ln_taylor_f64(1), 0.6587051837051838);
    EXPECT_EQ(kovrix_taylor_sin_f64(1), 0.8414710097001764);
    EXPECT_EQ(kovrix_taylor_cos_f64(1), 0.5403025793650793);
    EXPECT_EQ(kovrix_taylor_atan_f64(1), 0.7604599047323508);
    EXPECT_EQ(kovrix_chebyshev_t(2, 0.5), -0.5);
    EXPECT_EQ(kovrix_chebyshev_u(2, 0.5), 0.0);
    EXPECT_EQ(kovrix_legendre(2, 0.5), -0.125);
    EXPECT_EQ(kovrix_hermite(2, 1), 2.0);
    EXPECT_EQ(kovrix_erf(1), 0.8427007929497411);
    EXPECT_EQ(kovrix_gamma(0.5), 1.7724538509055172);
    EXPECT_EQ(bitsOf(kovrix_gamma(-2)), kQuietNaNBits);
    EXPECT_EQ(kovrix_factorial(3), 6.0);
    EXPECT_EQ(kovrix_bessel_j0(1), 0.7651976865579666);
    ASSERT_TRUE(kovrix::capi::errorPending());
    EXPECT_EQ(kovrix::capi::pendingError().kind, kind);
    kovrix::capi::clearPending();
  }
}

}  // namespace

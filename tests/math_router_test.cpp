// The Q32.32 function router: the stated values, every function against its
// composition re-derived in 128-bit integers on top of the CORDIC and
// polynomial kernels, loose agreement with MPFR where the kernels converge,
// and the failure convention (0 returned, nothing pending, an error pending
// on entry discarded).
#include "math_router.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "c_api/pending_error.hpp"
#include "errors.hpp"
#include "hyperbolic/cordic.hpp"
#include "kovrix.h"
#include "support/series.hpp"
#include "trigonometry/chebyshev.hpp"
#include "trigonometry/cordic.hpp"

namespace kovrix {
namespace {

using namespace kovrix::testsupport;
using I = __int128;
using R = std::optional<std::int64_t>;  // nullopt: the composition fails

constexpr std::int64_t one = std::int64_t{1} << 32;

bool fits(I v) { return v >= INT64_MIN && v <= INT64_MAX; }
I floorShift32(I p) { return p >= 0 ? p >> 32 : -((-p + ((I{1} << 32) - 1)) >> 32); }

// ---- Q32.32 steps in 128-bit integers -------------------------------------

R mul(R a, R b) {
  if (!a || !b) return std::nullopt;
  I p = floorShift32(I{*a} * *b);
  return fits(p) ? R(static_cast<std::int64_t>(p)) : std::nullopt;
}
R div(R a, R b) {
  if (!a || !b || *b == 0) return std::nullopt;
  I q = (I{*a} << 32) / *b;
  return fits(q) ? R(static_cast<std::int64_t>(q)) : std::nullopt;
}
R add(R a, R b) {
  if (!a || !b) return std::nullopt;
  I s = I{*a} + *b;
  return fits(s) ? R(static_cast<std::int64_t>(s)) : std::nullopt;
}
R sub(R a, R b) {
  if (!a || !b) return std::nullopt;
  I s = I{*a} - *b;
  return fits(s) ? R(static_cast<std::int64_t>(s)) : std::nullopt;
}

// The kernels of the circular and hyperbolic CORDIC and the polynomial
// tangent, with a failure read as nullopt.
template <class F>
R attempt(F&& f) {
  try {
    return f();
  } catch (const Error&) {
    return std::nullopt;
  }
}

R refSqrt(R x, std::int64_t count) {
  if (!x || *x < 0) return std::nullopt;
  if (*x == 0) return 0;
  const R half = div(R(one), R(2 * one));
  R r = x;
  for (std::int64_t i = 1; i <= count; ++i) {
    R g = div(x, r);
    R h = add(r, g);
    R n = mul(half, h);
    if (!n) return std::nullopt;
    if (i > 1 && *n == *r) return n;
    r = n;
  }
  return r;
}

R refLn(R x) {
  if (!x || *x <= 0) return std::nullopt;
  R y = div(sub(x, R(one)), add(x, R(one)));
  R y2 = mul(y, y);
  R s = y, p = y;
  for (std::int64_t i = 1; i <= 14; ++i) {
    p = mul(p, y2);
    s = add(s, div(p, R((2 * i + 1) * one)));
  }
  return mul(R(2 * one), s);
}

R refTan(std::int64_t x) {
  const std::int64_t pi = 13493037704, h = pi >> 1;
  std::int64_t r = x % pi;
  std::int64_t f = r > h ? r - pi : (r < -h ? r + pi : r);
  std::int64_t a = f < 0 ? -f : f;
  // The polynomial, step by step.
  auto poly = [](R v) -> R {
    R x2 = mul(v, v), x3 = mul(x2, v), x5 = mul(x3, x2), x7 = mul(x5, x2);
    return add(add(add(v, mul(R(1431647477), x3)), mul(R(572915993), x5)), mul(R(229239843), x7));
  };
  R t = a > (pi >> 2) ? div(R(one), poly(R(h - a))) : poly(R(a));
  if (!t) return std::nullopt;
  return f < 0 ? sub(R(0), t) : t;
}

R refAtan2(R y, R x) {
  if (!y || !x) return std::nullopt;
  return attempt([&] { return R(atan2Cordic(Fixed{*y}, Fixed{*x}).raw); });
}
R refExp(R x) {
  if (!x) return std::nullopt;
  return attempt([&] { return R(expCordicScaled(Fixed{*x}).raw); });
}
std::optional<std::pair<std::int64_t, std::int64_t>> refSinhCosh(std::int64_t x) {
  try {
    auto [s, c] = sinhCoshCordic(Fixed{x});
    return std::make_pair(s.raw, c.raw);
  } catch (const Error&) {
    return std::nullopt;
  }
}

R refErf(std::int64_t x) {
  R s = refSqrt(R(13493037704), 10);
  R g = div(R(2 * one), s);
  R x2 = mul(R(x), R(x));
  R m = x, sum = x;
  for (std::int64_t i = 1; i <= 14; ++i) {
    m = div(mul(mul(m, x2), R((2 * i - 1) * one)), R(i * (2 * i + 1) * one));
    sum = (i % 2 == 1) ? sub(sum, m) : add(sum, m);
  }
  return mul(g, sum);
}

R refJ0(std::int64_t x) {
  R h = div(R(x), R(2 * one));
  R q = mul(h, h);
  R sum = one, t = one;
  for (std::int64_t i = 1; i <= 14; ++i) {
    t = div(mul(t, q), R(i * i * one));
    sum = (i % 2 == 1) ? sub(sum, t) : add(sum, t);
  }
  return sum;
}

bool unit(std::int64_t x) { return x >= -one && x <= one; }

// Every export with its composition; the export must return the
// composition's value, or 0 where it fails.
struct Case {
  const char* name;
  std::function<std::int64_t(std::int64_t, std::int64_t)> exported;
  std::function<R(std::int64_t, std::int64_t)> reference;
};

std::vector<Case> cases() {
  return {
      {"sin", [](auto x, auto) { return kovrix_fixed_sin(x); },
       [](auto x, auto) { return attempt([&] { return R(sinCosCordic(Fixed{x}).first.raw); }); }},
      {"cos", [](auto x, auto) { return kovrix_fixed_cos(x); },
       [](auto x, auto) { return attempt([&] { return R(sinCosCordic(Fixed{x}).second.raw); }); }},
      {"tan", [](auto x, auto) { return kovrix_fixed_tan(x); }, [](auto x, auto) { return refTan(x); }},
      {"exp", [](auto x, auto) { return kovrix_fixed_exp(x); }, [](auto x, auto) { return refExp(R(x)); }},
      {"ln", [](auto x, auto) { return kovrix_fixed_ln(x); }, [](auto x, auto) { return refLn(R(x)); }},
      {"sqrt", [](auto x, auto) { return kovrix_fixed_sqrt(x); }, [](auto x, auto) { return refSqrt(R(x), 15); }},
      {"atan", [](auto x, auto) { return kovrix_fixed_atan(x); }, [](auto x, auto) { return refAtan2(R(x), R(one)); }},
      {"atan2", [](auto y, auto x) { return kovrix_fixed_atan2(y, x); },
       [](auto y, auto x) { return refAtan2(R(y), R(x)); }},
      {"sinh", [](auto x, auto) { return kovrix_fixed_sinh(x); },
       [](auto x, auto) { auto p = refSinhCosh(x); return p ? R(p->first) : std::nullopt; }},
      {"cosh", [](auto x, auto) { return kovrix_fixed_cosh(x); },
       [](auto x, auto) { auto p = refSinhCosh(x); return p ? R(p->second) : std::nullopt; }},
      {"tanh", [](auto x, auto) { return kovrix_fixed_tanh(x); },
       [](auto x, auto) { auto p = refSinhCosh(x); return p ? div(R(p->first), R(p->second)) : std::nullopt; }},
      {"pow", [](auto a, auto b) { return kovrix_fixed_pow(a, b); },
       [](auto a, auto b) { return refExp(mul(R(b), refLn(R(a)))); }},
      {"asin", [](auto x, auto) { return kovrix_fixed_asin(x); },
       [](auto x, auto) { return unit(x) ? refAtan2(R(x), refSqrt(sub(R(one), mul(R(x), R(x))), 10)) : std::nullopt; }},
      {"acos", [](auto x, auto) { return kovrix_fixed_acos(x); },
       [](auto x, auto) { return unit(x) ? refAtan2(refSqrt(sub(R(one), mul(R(x), R(x))), 10), R(x)) : std::nullopt; }},
      {"asinh", [](auto x, auto) { return kovrix_fixed_asinh(x); },
       [](auto x, auto) { return refLn(add(R(x), refSqrt(add(mul(R(x), R(x)), R(one)), 10))); }},
      {"acosh", [](auto x, auto) { return kovrix_fixed_acosh(x); },
       [](auto x, auto) {
         return x < one ? std::nullopt : refLn(add(R(x), refSqrt(sub(mul(R(x), R(x)), R(one)), 10)));
       }},
      {"atanh", [](auto x, auto) { return kovrix_fixed_atanh(x); },
       [](auto x, auto) { return mul(R(one / 2), refLn(div(add(R(one), R(x)), sub(R(one), R(x))))); }},
      {"erf", [](auto x, auto) { return kovrix_fixed_erf(x); }, [](auto x, auto) { return refErf(x); }},
      {"bessel_j0", [](auto x, auto) { return kovrix_fixed_bessel_j0(x); }, [](auto x, auto) { return refJ0(x); }},
      {"factorial", [](auto n, auto) { return kovrix_fixed_factorial(static_cast<std::int32_t>(n)); },
       [](auto n, auto) {
         if (n < 0) return R(0);
         R r = one;
         for (std::int64_t i = 2; i <= n && r; ++i) r = mul(r, i < (std::int64_t{1} << 31) ? R(i * one) : std::nullopt);
         return r;
       }},
  };
}

// ---- stated values --------------------------------------------------------

TEST(MathRouter, StatedValues) {
  EXPECT_EQ(kovrix_fixed_sqrt(2 * one), 6074000999);
  EXPECT_EQ(kovrix_fixed_sqrt(one / 4), one / 2);
  EXPECT_EQ(kovrix_fixed_sqrt(-one), 0);
  EXPECT_EQ(kovrix_fixed_sqrt(0), 0);
  EXPECT_EQ(kovrix_fixed_sqrt(one << 20), one << 10);
  EXPECT_EQ(kovrix_fixed_sqrt(one << 30), 184793288171462);
  EXPECT_EQ(kovrix_fixed_ln(one), 0);
  EXPECT_EQ(kovrix_fixed_ln(2 * one), 2977044462);
  EXPECT_EQ(kovrix_fixed_ln(100 * one), 17828286560);
  EXPECT_EQ(kovrix_fixed_ln(0), 0);
  EXPECT_EQ(kovrix_fixed_ln(-one), 0);
  EXPECT_EQ(kovrix_fixed_tan(one), 6690792620);
  EXPECT_EQ(kovrix_fixed_tan(-one), -6690792620);
  EXPECT_EQ(kovrix_fixed_tan(3373259426), 4280327508);
  EXPECT_EQ(kovrix_fixed_tan(6746518852), 0);
  EXPECT_EQ(kovrix_fixed_tan(-6746518852), 0);
  EXPECT_EQ(kovrix_fixed_exp(one), 11674931571);
  EXPECT_EQ(kovrix_fixed_pow(2 * one, one / 2), 6074000992);
  EXPECT_EQ(kovrix_fixed_pow(0, one), 0);
  EXPECT_EQ(kovrix_fixed_pow(-one, one), 0);
  EXPECT_EQ(kovrix_fixed_atan(one), 3373259423);
  EXPECT_EQ(kovrix_fixed_asin(one / 2), 2248839619);
  EXPECT_EQ(kovrix_fixed_asin(one), 6746518852);
  EXPECT_EQ(kovrix_fixed_acos(one / 2), 4497679233);
  EXPECT_EQ(kovrix_fixed_acos(one), -1);
  EXPECT_EQ(kovrix_fixed_asin(one + 1), 0);
  EXPECT_EQ(kovrix_fixed_asin(-one - 1), 0);
  EXPECT_EQ(kovrix_fixed_acos(one + 1), 0);
  EXPECT_EQ(kovrix_fixed_erf(0), 0);
  EXPECT_EQ(kovrix_fixed_erf(one), 3619372346);
  EXPECT_EQ(kovrix_fixed_bessel_j0(0), one);
  EXPECT_EQ(kovrix_fixed_bessel_j0(one), 3286499039);
  EXPECT_EQ(kovrix_fixed_factorial(0), one);
  EXPECT_EQ(kovrix_fixed_factorial(12), 2057296206731673600);
  EXPECT_EQ(kovrix_fixed_factorial(13), 0);
  EXPECT_EQ(kovrix_fixed_factorial(-1), 0);
  EXPECT_EQ(kovrix_fixed_sinh(5 * one), 0);
  EXPECT_EQ(kovrix_fixed_cosh(5 * one), 0);
  EXPECT_EQ(kovrix_fixed_tanh(5 * one), 0);
  EXPECT_NE(kovrix_fixed_exp(5 * one), 0);
  EXPECT_EQ(kovrix_fixed_sinh(4802516527), sinhCoshCordic(Fixed{4802516527}).first.raw);
  EXPECT_EQ(kovrix_fixed_sinh(4802516528), 0);
  EXPECT_EQ(kovrix_fixed_exp(21 * one + one / 2), 0);
  EXPECT_EQ(kovrix_fixed_atanh(one), 0);
  EXPECT_EQ(kovrix_fixed_atanh(-one), 0);
  EXPECT_EQ(kovrix_fixed_atanh(0), 0);
  EXPECT_EQ(kovrix_fixed_acosh(one), 0);  // ln of exactly one
  EXPECT_EQ(kovrix_fixed_acosh(one - 1), 0);
  EXPECT_EQ(kovrix_fixed_acosh(-200 * one), 0);  // below -1: outside the domain
  // sin and cos from one CORDIC run, with its residues.
  EXPECT_EQ(kovrix_fixed_sin(0), -3);
  EXPECT_EQ(kovrix_fixed_cos(0), 4294967303);
  EXPECT_FALSE(capi::errorPending());
}

TEST(MathRouter, TanReductionBoundaries) {
  const std::int64_t pi = 13493037704, h = pi / 2, q = pi / 4;
  for (std::int64_t k = -5; k <= 5; ++k)
    for (std::int64_t d = -3; d <= 3; ++d) {
      const std::int64_t x = k * pi + q + d;
      ASSERT_EQ(kovrix_fixed_tan(x), refTan(x).value_or(0)) << x;
      const std::int64_t y = k * pi + h + d;
      ASSERT_EQ(kovrix_fixed_tan(y), refTan(y).value_or(0)) << y;
    }
  // Odd multiples of pi/2 (as the reduction sees them) divide by zero.
  EXPECT_EQ(kovrix_fixed_tan(pi + h), 0);
  EXPECT_EQ(kovrix_fixed_tan(-pi - h), 0);
  // tan is odd.
  for (int trial = 0; trial < 2000; ++trial) {
    const std::int64_t x = between(-(std::int64_t{1} << 40), std::int64_t{1} << 40);
    ASSERT_EQ(kovrix_fixed_tan(-x), -kovrix_fixed_tan(x)) << x;
  }
}

// ---- compositions re-derived ----------------------------------------------

TEST(MathRouter, EveryFunctionFollowsItsComposition) {
  const auto all = cases();
  for (const auto& c : all) {
    for (int trial = 0; trial < 1500; ++trial) {
      std::int64_t a = anyRaw(), b = anyRaw();
      switch (trial % 4) {
        case 0: a >>= 28; b >>= 28; break;                 // |a| up to 8
        case 1: a = between(-2 * one, 2 * one); b = between(-4 * one, 4 * one); break;
        case 2: a = between(-30, 30); b = between(-30, 30); break;
        default: break;
      }
      if (std::string(c.name) == "factorial") a = (trial % 3 == 0) ? static_cast<std::int32_t>(a) : between(-3, 20);
      const std::int64_t want = c.reference(a, b).value_or(0);
      ASSERT_EQ(c.exported(a, b), want) << c.name << "(" << a << ", " << b << ")";
      ASSERT_FALSE(capi::errorPending()) << c.name;
    }
  }
}

TEST(MathRouter, AgreesWithMpfrWhereTheKernelsConverge) {
  Mp m(100);
  auto check = [&](const char* name, std::int64_t got, double x, int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t),
                   double tol) {
    mpfr_set_d(m.get(), x, MPFR_RNDN);
    f(m.get(), m.get(), MPFR_RNDN);
    const double want = m.toDouble();
    ASSERT_LE(std::fabs(static_cast<double>(got) / one - want), tol * std::fmax(1.0, std::fabs(want))) << name << " " << x;
  };
  for (int trial = 0; trial < 2000; ++trial) {
    const std::int64_t raw = between(-4 * one, 4 * one);
    const double x = static_cast<double>(raw) / one;
    check("sin", kovrix_fixed_sin(raw), x, mpfr_sin, 1e-8);
    check("cos", kovrix_fixed_cos(raw), x, mpfr_cos, 1e-8);
    check("exp", kovrix_fixed_exp(raw), x, mpfr_exp, 1e-7);
    check("atan", kovrix_fixed_atan(raw), x, mpfr_atan, 1e-8);
    const std::int64_t pos = between(one / 2, 2 * one);
    check("sqrt", kovrix_fixed_sqrt(pos), static_cast<double>(pos) / one, mpfr_sqrt, 1e-9);
    check("ln", kovrix_fixed_ln(pos), static_cast<double>(pos) / one, mpfr_log, 1e-7);
    const std::int64_t small = between(-one, one);
    check("sinh", kovrix_fixed_sinh(small), static_cast<double>(small) / one, mpfr_sinh, 1e-8);
    check("erf", kovrix_fixed_erf(small), static_cast<double>(small) / one, mpfr_erf, 1e-8);
    check("j0", kovrix_fixed_bessel_j0(small), static_cast<double>(small) / one, mpfr_j0, 1e-8);
  }
}

// ---- the failure convention -----------------------------------------------

TEST(MathRouter, FailuresReturnZeroAndLeaveNothingPending) {
  EXPECT_EQ(kovrix_fixed_ln(-5), 0);
  EXPECT_FALSE(capi::errorPending());
  EXPECT_EQ(kovrix_fixed_tan(6746518852), 0);  // division by zero inside
  EXPECT_FALSE(capi::errorPending());
  EXPECT_EQ(kovrix_fixed_factorial(13), 0);    // overflow inside
  EXPECT_FALSE(capi::errorPending());
  EXPECT_EQ(kovrix_fixed_atan2(std::int64_t{1} << 62, std::int64_t{1} << 62), 0);
  EXPECT_FALSE(capi::errorPending());
  // The router functions themselves raise.
  EXPECT_THROW(router::ln(Fixed{0}), ValueError);
  EXPECT_THROW(router::tanReduced(Fixed{6746518852}), DivByZeroDefect);
  EXPECT_THROW(router::factorial(13), OverflowDefect);
  EXPECT_THROW(router::sinh(Fixed{5 * one}), ValueError);
  EXPECT_THROW(router::asin(Fixed{one + 1}), ValueError);
}

TEST(MathRouter, AnErrorPendingOnEntryIsDiscarded) {
  const ErrorKind kinds[] = {ErrorKind::valueError,      ErrorKind::overflowDefect, ErrorKind::divByZeroDefect,
                             ErrorKind::underflowDefect, ErrorKind::assertionDefect, ErrorKind::rangeDefect,
                             ErrorKind::indexDefect};
  for (const auto& c : cases()) {
    for (ErrorKind kind : kinds) {
      capi::setPending(kind, "earlier failure");
      // Arguments that succeed on their own: 0 is still the answer.
      EXPECT_EQ(c.exported(std::string(c.name) == "factorial" ? 3 : one / 2, one), 0) << c.name;
      EXPECT_FALSE(capi::errorPending()) << c.name << " left kind " << static_cast<int>(kind);
    }
  }
  // A failure left pending by an export that does not catch it.
  EXPECT_EQ(kovrix_cordic_atan2(std::int64_t{1} << 62, std::int64_t{1} << 62), 0);
  ASSERT_TRUE(capi::errorPending());
  EXPECT_EQ(kovrix_fixed_sin(one), 0);
  EXPECT_FALSE(capi::errorPending());
  EXPECT_NE(kovrix_fixed_sin(one), 0);
}

}  // namespace
}  // namespace kovrix

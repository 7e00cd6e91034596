// Every Q32.32 kernel export against a second, deliberately plain
// implementation that follows the stated steps one by one: each sum and
// difference tested for overflow where it is formed, the floor product built
// from the magnitude (shift, then one more when a dropped bit is set, then
// the sign), the truncating quotient by a 128-bit division, the angle tables
// recomputed from libm on every use, the hyperbolic budget summed on every
// call, and the scaled exponential driven by the budget failure itself.  It
// shares no code with the library beyond the C interface and the pending
// error, so a misreading in the fast kernels shows as a disagreement.
//
// Besides the values, each export's effect on the pending error is checked:
// the direct kernels leave an overflow pending (and return 0 without
// computing while one is pending), the table exports and the helpers always
// compute, and the twenty function exports leave nothing behind.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "c_api/pending_error.hpp"
#include "kovrix.h"
#include "support/seed.hpp"

namespace {

using I128 = __int128;
using kovrix::capi::clearPending;
using kovrix::capi::errorPending;
using kovrix::capi::pendingError;
using kovrix::capi::setPending;
using kovrix::ErrorKind;
using namespace kovrix::testsupport;

constexpr std::int64_t one = std::int64_t{1} << 32;
constexpr std::int64_t kPi = 13493037704;        // pi * 2^32 truncated
constexpr std::int64_t kHalfPi = 6746518852;
constexpr std::int64_t kThreeHalfPi = 20239556556;
constexpr std::int64_t kKernelPeriod = 26986075408;  // 2 * kPi
constexpr std::int64_t kTwoPiQ32 = 26986075409;      // 2 pi rounded
constexpr std::int64_t kGain = 2608131496;
constexpr std::int64_t kHypStart = 5186160416;
constexpr std::int64_t kHypClamp = 4724464025;

// A failure of the reference: the kind only (messages are not observable
// through the exports checked here).
struct Fail {
  ErrorKind kind;
};
struct BudgetFail {};  // the ValueError of the hyperbolic budget test

[[noreturn]] void fail(ErrorKind k) { throw Fail{k}; }

std::int64_t narrow(I128 v) {
  if (v < INT64_MIN || v > INT64_MAX) fail(ErrorKind::overflowDefect);
  return static_cast<std::int64_t>(v);
}
std::int64_t add(std::int64_t a, std::int64_t b) {
  std::int64_t r;
  if (__builtin_add_overflow(a, b, &r)) fail(ErrorKind::overflowDefect);
  return r;
}
std::int64_t sub(std::int64_t a, std::int64_t b) {
  std::int64_t r;
  if (__builtin_sub_overflow(a, b, &r)) fail(ErrorKind::overflowDefect);
  return r;
}
std::int64_t neg(std::int64_t a) { return sub(0, a); }
// The floor product as described: magnitude shifted right by 32, plus one
// when a dropped bit is set, sign restored.
std::int64_t mulQ(std::int64_t a, std::int64_t b) {
  const I128 p = static_cast<I128>(a) * b;
  if (p >= 0) return narrow(p >> 32);
  const I128 m = -p;
  I128 q = m >> 32;
  if ((m & 0xFFFFFFFF) != 0) q += 1;
  return narrow(-q);
}
// (a * 2^32) / b, truncated toward zero.
std::int64_t divQ(std::int64_t a, std::int64_t b) {
  if (b == 0) fail(ErrorKind::divByZeroDefect);
  return narrow((static_cast<I128>(a) * one) / b);
}
std::int64_t fromInt(std::int64_t n) {
  if (n < -(std::int64_t{1} << 31) || n > (std::int64_t{1} << 31) - 1) fail(ErrorKind::overflowDefect);
  return n * one;
}
std::int64_t toFixedF(double x) { return static_cast<std::int64_t>(std::trunc(x * 4294967296.0)); }

// ---- circular -------------------------------------------------------------------

std::int64_t circAngle(int i) {
  if (i == 0) return toFixedF(0.7853981633974483);
  return toFixedF(std::atan(std::pow(2.0, -i)));
}

std::int64_t refReduceQ32(std::int64_t x) {
  std::int64_t r = x % kTwoPiQ32;
  return r < 0 ? r + kTwoPiQ32 : r;
}
std::int64_t refClampQ32(std::int64_t x) {
  const std::int64_t m = std::int64_t{1} << 62;
  return x < -m ? -m : (x > m ? m : x);
}

struct Quad {
  std::int64_t angle;
  int s, c;
};
Quad refReduceAngle(std::int64_t x) {
  const std::int64_t P = kKernelPeriod;
  if (x < 0 || x >= P) {
    const std::int64_t r = x % P;
    x = (x < 0 && r != 0) ? r + P : r;
  }
  if (x < 6746518853) return {x, 1, 1};
  if (x <= kPi) return {kPi - x, 1, -1};
  if (x > kThreeHalfPi) return {P - x, -1, 1};
  return {x - kPi, -1, -1};
}

std::pair<std::int64_t, std::int64_t> refSinCos(std::int64_t x) {
  const Quad q = refReduceAngle(x);
  std::int64_t X = kGain, Y = 0, Z = q.angle;
  for (int i = 0; i < 32; ++i) {
    const std::int64_t A = circAngle(i);
    std::int64_t nX, nY, nZ;
    if (Z < 0) {
      nX = add(X, Y >> i);
      nY = sub(Y, X >> i);
      nZ = add(Z, A);
    } else {
      nX = sub(X, Y >> i);
      nY = add(Y, X >> i);
      nZ = sub(Z, A);
    }
    X = nX, Y = nY, Z = nZ;
  }
  if (q.c == -1) X = neg(X);
  if (q.s == -1) Y = neg(Y);
  return {Y, X};
}

std::int64_t refVectoringAngle(std::int64_t x, std::int64_t y) {
  std::int64_t Z = 0;
  for (int i = 0; i < 32; ++i) {
    const std::int64_t A = circAngle(i);
    std::int64_t nx, ny, nz;
    if (y < 0) {
      nx = sub(x, y >> i);
      ny = add(y, x >> i);
      nz = sub(Z, A);
    } else {
      nx = add(x, y >> i);
      ny = sub(y, x >> i);
      nz = add(Z, A);
    }
    x = nx, y = ny, Z = nz;
  }
  (void)mulQ(x, kGain);  // the magnitude; its product cannot fail
  return Z;
}

std::int64_t refAtan2(std::int64_t y, std::int64_t x) {
  if (x == 0) return y > 0 ? kHalfPi : (y < 0 ? -kHalfPi : 0);
  if (x > 0) return refVectoringAngle(x, y);
  if (y < 0) {
    const std::int64_t nx = neg(x), ny = neg(y);
    return sub(refVectoringAngle(nx, ny), kPi);
  }
  return sub(kPi, refVectoringAngle(neg(x), y));
}

std::int64_t sineEntry(int k) { return toFixedF(std::sin(2.0 * 3.141592653589793 * k / 256.0)); }

std::int64_t refSinLut(std::int64_t x) {
  const std::int64_t P = kKernelPeriod;
  std::int64_t r = x % P;
  if (x < 0) {
    if (r == 0) return sineEntry(0);
    r += P;
  }
  const std::uint64_t idx = (static_cast<std::uint64_t>(r) * 256 + static_cast<std::uint64_t>(kPi)) /
                            static_cast<std::uint64_t>(P);
  return sineEntry(static_cast<int>(idx & 255));
}
std::int64_t refCosLut(std::int64_t x) {
  std::int64_t r = x % kKernelPeriod;
  if (r < 0) r += kKernelPeriod;
  return refSinLut(r + kHalfPi);
}

std::int64_t refTanPoly(std::int64_t x) {
  const std::int64_t x2 = mulQ(x, x), x3 = mulQ(x2, x), x5 = mulQ(x3, x2), x7 = mulQ(x5, x2);
  const std::int64_t t3 = mulQ(1431647477, x3), t5 = mulQ(572915993, x5), t7 = mulQ(229239843, x7);
  return add(add(add(x, t3), t5), t7);
}

// ---- hyperbolic -----------------------------------------------------------------

std::vector<int> schedule() {
  std::vector<int> s;
  for (int i = 1; i <= 32; ++i) {
    s.push_back(i);
    if (i == 4 || i == 13) s.push_back(i);
  }
  return s;
}
std::int64_t hypAngle(int i) {
  if (i == 1) return toFixedF(0.5493061443340549);
  return toFixedF(std::atanh(std::pow(2.0, -i)));
}
std::int64_t budget() {
  std::int64_t b = 0;
  for (int i : schedule()) b = add(b, hypAngle(i));
  return b;
}
std::pair<std::int64_t, std::int64_t> refSinhCosh(std::int64_t a) {
  const std::int64_t B = budget();
  if (a < -B || a > B) throw BudgetFail{};
  std::int64_t X = kHypStart, Y = 0, Z = a;
  for (int i : schedule()) {
    const std::int64_t A = hypAngle(i);
    std::int64_t nX, nY, nZ;
    if (Z < 0) {
      nX = sub(X, Y >> i);
      nY = sub(Y, X >> i);
      nZ = add(Z, A);
    } else {
      nX = add(X, Y >> i);
      nY = add(Y, X >> i);
      nZ = sub(Z, A);
    }
    X = nX, Y = nY, Z = nZ;
  }
  return {Y, X};
}
std::int64_t refExpScaled(std::int64_t a) {
  try {
    const auto [s, c] = refSinhCosh(a);
    return add(s, c);
  } catch (const BudgetFail&) {
  }
  const std::int64_t B = budget();
  for (int i = 1;; ++i) {
    const std::int64_t f = a >> i;
    if (f >= -B && f <= B) {
      const auto [s, c] = refSinhCosh(f);
      std::int64_t r = add(s, c);
      for (int k = 0; k < i; ++k) r = mulQ(r, r);
      return r;
    }
  }
}
std::int64_t refClampHyp(std::int64_t x) { return x < -kHypClamp ? -kHypClamp : (x > kHypClamp ? kHypClamp : x); }

// ---- router ----------------------------------------------------------------------

std::int64_t refLnGeneric(std::int64_t x, int count) {
  if (x <= 0) fail(ErrorKind::valueError);
  const std::int64_t y = divQ(sub(x, one), add(x, one));
  const std::int64_t y2 = mulQ(y, y);
  std::int64_t s = y, p = y;
  for (int i = 1; i <= count - 1; ++i) {
    p = mulQ(p, y2);
    s = add(s, divQ(p, fromInt(2 * i + 1)));
  }
  return mulQ(fromInt(2), s);
}
std::int64_t refLn(std::int64_t x) {
  if (x <= 0) fail(ErrorKind::valueError);
  return refLnGeneric(x, 15);
}
std::int64_t refSqrt(std::int64_t x, int count) {
  if (x < 0) fail(ErrorKind::valueError);
  if (x == 0) return 0;
  const std::int64_t half = divQ(one, fromInt(2));
  std::int64_t r = x;
  for (int i = 1; i <= count; ++i) {
    const std::int64_t g = divQ(x, r);
    const std::int64_t h = add(r, g);
    const std::int64_t n = mulQ(half, h);
    if (i > 1 && n == r) break;
    r = n;
  }
  return r;
}
std::int64_t refTanReduced(std::int64_t x) {
  const std::int64_t pi = kPi, h = pi >> 1;
  const std::int64_t r = x % pi;
  std::int64_t f = r;
  if (r > h) f = r - pi;
  else if (r < -h) f = r + pi;
  const bool negative = f < 0;
  const std::int64_t m = negative ? -f : f;
  std::int64_t t;
  if (m > (pi >> 2)) t = divQ(one, refTanPoly(h - m));
  else t = refTanPoly(m);
  return negative ? neg(t) : t;
}
std::int64_t refErf(std::int64_t x) {
  const std::int64_t s = refSqrt(kPi, 10);
  const std::int64_t g = divQ(fromInt(2), s);
  const std::int64_t x2 = mulQ(x, x);
  std::int64_t m = x, sum = x;
  for (int i = 1; i <= 14; ++i) {
    m = divQ(mulQ(mulQ(m, x2), fromInt(2 * i - 1)), fromInt(i * (2 * i + 1)));
    sum = (i % 2 == 1) ? sub(sum, m) : add(sum, m);
  }
  return mulQ(g, sum);
}
std::int64_t refJ0(std::int64_t x) {
  const std::int64_t hx = divQ(x, fromInt(2));
  const std::int64_t q = mulQ(hx, hx);
  std::int64_t sum = one, t = one;
  for (int i = 1; i <= 14; ++i) {
    t = divQ(mulQ(t, q), fromInt(i * i));
    sum = (i % 2 == 1) ? sub(sum, t) : add(sum, t);
  }
  return sum;
}
std::int64_t refFactorial(std::int32_t n) {
  if (n < 0) return 0;
  std::int64_t p = one;
  for (std::int64_t i = 2; i <= n; ++i) p = mulQ(p, fromInt(i));
  return p;
}

// Runs a router reference: any failure is the result 0.
std::int64_t routed(const std::function<std::int64_t()>& f) {
  try {
    return f();
  } catch (const Fail&) {
    return 0;
  } catch (const BudgetFail&) {
    return 0;
  }
}
// Runs a direct-kernel reference: the value, or 0 with `failed` set.
std::int64_t direct(const std::function<std::int64_t()>& f, bool& failed) {
  failed = false;
  try {
    return f();
  } catch (const Fail&) {
    failed = true;
    return 0;
  }
}

// ---- operands ----------------------------------------------------------------------

std::vector<std::int64_t> operands() {
  std::vector<std::int64_t> v;
  const std::int64_t centres[] = {0,
                                  one,
                                  2 * one,
                                  kHalfPi,
                                  kPi,
                                  kThreeHalfPi,
                                  kKernelPeriod,
                                  kTwoPiQ32,
                                  kPi >> 2,
                                  4802516527,
                                  kHypClamp,
                                  std::int64_t{1} << 31,
                                  std::int64_t{1} << 47,
                                  std::int64_t{1} << 62,
                                  std::int64_t{1} << 61,
                                  21 * one + (one >> 1),
                                  100 * one,
                                  174 * one + (one * 86 / 100),
                                  INT64_MAX - 3};
  for (std::int64_t c : centres)
    for (std::int64_t d = -3; d <= 3; ++d) {
      v.push_back(c + d);
      if (c + d != INT64_MIN) v.push_back(-(c + d));
    }
  v.push_back(INT64_MIN);
  v.push_back(INT64_MIN + 1);
  v.push_back(INT64_MAX);
  auto& g = kovrix::testsupport::rng();
  for (int k = 0; k < 3000; ++k) {
    const int bits = static_cast<int>(below(64));
    std::int64_t x = static_cast<std::int64_t>(g() >> (63 - bits));  // up to `bits` + 1 bits
    if (g() & 1) x = -x;
    v.push_back(x);
  }
  return v;
}

const std::vector<std::int64_t>& ops() {
  static const std::vector<std::int64_t> v = operands();
  return v;
}

// A direct kernel export: value equal to the reference; afterwards an
// overflow pending exactly when the reference failed.
void expectDirect(const char* name, std::int64_t got, std::int64_t want, bool failed, std::int64_t x,
                  std::int64_t y = 0) {
  ASSERT_EQ(got, want) << name << "(" << x << ", " << y << ") " << kovrix::testsupport::seedNote();
  ASSERT_EQ(errorPending(), failed) << name << "(" << x << ", " << y << ") pending";
  if (failed) ASSERT_EQ(pendingError().kind, ErrorKind::overflowDefect) << name << "(" << x << ")";
  clearPending();
}

TEST(StepReference, CircularKernelExports) {
  for (std::int64_t x : ops()) {
    bool f;
    std::int64_t w = direct([&] { return refSinCos(refReduceQ32(x)).first; }, f);
    expectDirect("kovrix_cordic_sin", kovrix_cordic_sin(x), w, f, x);
    w = direct([&] { return refSinCos(refReduceQ32(x)).second; }, f);
    expectDirect("kovrix_cordic_cos", kovrix_cordic_cos(x), w, f, x);
    w = direct([&] { return refTanPoly(refClampQ32(x)); }, f);
    expectDirect("kovrix_chebyshev_tan", kovrix_chebyshev_tan(x), w, f, x);
    ASSERT_EQ(kovrix_lut_sin(x), refSinLut(refReduceQ32(x))) << "kovrix_lut_sin " << x;
    ASSERT_EQ(kovrix_lut_cos(x), refCosLut(refReduceQ32(x))) << "kovrix_lut_cos " << x;
    ASSERT_EQ(reduceQ32(x), refReduceQ32(x)) << x;
    ASSERT_EQ(clampQ32(x), refClampQ32(x)) << x;
    ASSERT_FALSE(errorPending());
  }
}

TEST(StepReference, CordicAtan2Export) {
  const auto& v = ops();
  auto& g = kovrix::testsupport::rng();
  for (std::size_t k = 0; k < 4000; ++k) {
    const std::int64_t y = v[below(v.size())], x = v[below(v.size())];
    bool f;
    const std::int64_t w = direct([&] { return refAtan2(refClampQ32(y), refClampQ32(x)); }, f);
    expectDirect("kovrix_cordic_atan2", kovrix_cordic_atan2(y, x), w, f, y, x);
  }
  // The coordinates whose first step passes 2^63 fail.
  bool f;
  (void)direct([&] { return refAtan2(std::int64_t{1} << 62, std::int64_t{1} << 62); }, f);
  EXPECT_TRUE(f);
}

TEST(StepReference, HyperbolicKernelExports) {
  for (std::int64_t x : ops()) {
    const std::int64_t c = refClampHyp(x);
    bool f;
    std::int64_t w = direct([&] { return refSinhCosh(c).first; }, f);
    expectDirect("kovrix_cordic_sinh", kovrix_cordic_sinh(x), w, f, x);
    w = direct([&] { return refSinhCosh(c).second; }, f);
    expectDirect("kovrix_cordic_cosh", kovrix_cordic_cosh(x), w, f, x);
    w = direct([&] { return divQ(refSinhCosh(c).first, refSinhCosh(c).second); }, f);
    expectDirect("kovrix_cordic_tanh", kovrix_cordic_tanh(x), w, f, x);
    w = direct([&] { return add(refSinhCosh(c).first, refSinhCosh(c).second); }, f);
    expectDirect("kovrix_cordic_exp", kovrix_cordic_exp(x), w, f, x);
    ASSERT_EQ(clampHyperbolicQ32(x), c);
  }
}

// The twenty function exports: value from the reference (0 for any failure)
// and nothing pending afterwards.
void expectRouted(const char* name, std::int64_t got, std::int64_t want, std::int64_t x, std::int64_t y = 0) {
  ASSERT_EQ(got, want) << name << "(" << x << ", " << y << ") " << kovrix::testsupport::seedNote();
  ASSERT_FALSE(errorPending()) << name << "(" << x << ")";
}

TEST(StepReference, OneArgumentFunctionExports) {
  for (std::int64_t x : ops()) {
    expectRouted("sin", kovrix_fixed_sin(x), routed([&] { return refSinCos(x).first; }), x);
    expectRouted("cos", kovrix_fixed_cos(x), routed([&] { return refSinCos(x).second; }), x);
    expectRouted("tan", kovrix_fixed_tan(x), routed([&] { return refTanReduced(x); }), x);
    expectRouted("exp", kovrix_fixed_exp(x), routed([&] { return refExpScaled(x); }), x);
    expectRouted("ln", kovrix_fixed_ln(x), routed([&] { return refLn(x); }), x);
    expectRouted("sqrt", kovrix_fixed_sqrt(x), routed([&] { return refSqrt(x, 15); }), x);
    expectRouted("atan", kovrix_fixed_atan(x), routed([&] { return refAtan2(x, one); }), x);
    expectRouted("sinh", kovrix_fixed_sinh(x), routed([&] { return refSinhCosh(x).first; }), x);
    expectRouted("cosh", kovrix_fixed_cosh(x), routed([&] { return refSinhCosh(x).second; }), x);
    expectRouted("tanh", kovrix_fixed_tanh(x),
                 routed([&] { return divQ(refSinhCosh(x).first, refSinhCosh(x).second); }), x);
    expectRouted("asin", kovrix_fixed_asin(x), routed([&] {
                   if (x > one || x < -one) return std::int64_t{0};
                   return refAtan2(x, refSqrt(sub(one, mulQ(x, x)), 10));
                 }),
                 x);
    expectRouted("acos", kovrix_fixed_acos(x), routed([&] {
                   if (x > one || x < -one) return std::int64_t{0};
                   return refAtan2(refSqrt(sub(one, mulQ(x, x)), 10), x);
                 }),
                 x);
    expectRouted("asinh", kovrix_fixed_asinh(x),
                 routed([&] { return refLn(add(x, refSqrt(add(mulQ(x, x), one), 10))); }), x);
    expectRouted("acosh", kovrix_fixed_acosh(x), routed([&] {
                   if (x < one) return std::int64_t{0};
                   return refLn(add(x, refSqrt(sub(mulQ(x, x), one), 10)));
                 }),
                 x);
    expectRouted("atanh", kovrix_fixed_atanh(x),
                 routed([&] { return mulQ(one / 2, refLn(divQ(add(one, x), sub(one, x)))); }), x);
    expectRouted("erf", kovrix_fixed_erf(x), routed([&] { return refErf(x); }), x);
    expectRouted("bessel_j0", kovrix_fixed_bessel_j0(x), routed([&] { return refJ0(x); }), x);
  }
}

TEST(StepReference, TwoArgumentFunctionExports) {
  const auto& v = ops();
  auto& g = kovrix::testsupport::rng();
  for (std::size_t k = 0; k < 4000; ++k) {
    const std::int64_t a = v[below(v.size())], b = v[below(v.size())];
    expectRouted("atan2", kovrix_fixed_atan2(a, b), routed([&] { return refAtan2(a, b); }), a, b);
    expectRouted("pow", kovrix_fixed_pow(a, b), routed([&] { return refExpScaled(mulQ(b, refLn(a))); }), a, b);
  }
  // Powers with moderate operands, where most results exist.
  for (int k = 0; k < 2000; ++k) {
    const std::int64_t a = static_cast<std::int64_t>(below(16 * static_cast<std::uint64_t>(one))) + 1;
    const std::int64_t b = static_cast<std::int64_t>(below(16 * static_cast<std::uint64_t>(one))) - 8 * one;
    expectRouted("pow", kovrix_fixed_pow(a, b), routed([&] { return refExpScaled(mulQ(b, refLn(a))); }), a, b);
  }
}

TEST(StepReference, Factorial) {
  for (std::int32_t n : {INT32_MIN, -100, -1, 0, 1, 2, 5, 11, 12, 13, 14, 20, 1000, INT32_MAX})
    expectRouted("factorial", kovrix_fixed_factorial(n), routed([&] { return refFactorial(n); }), n);
}

// The documented boundaries of two function exports: the square root fails
// once its first sum x + x/x = x + one leaves int64, and atan2 of a point
// with x = INT64_MIN fails in the negation (the kernel export clamps first).
TEST(StepReference, DocumentedFailureBoundaries) {
  const std::int64_t edge = INT64_MAX - one;
  EXPECT_NE(kovrix_fixed_sqrt(edge), 0);
  EXPECT_EQ(kovrix_fixed_sqrt(edge + 1), 0);
  EXPECT_EQ(kovrix_fixed_sqrt(INT64_MAX), 0);
  for (std::int64_t y : {INT64_MIN, std::int64_t{-1}, std::int64_t{0}, one, INT64_MAX})
    EXPECT_EQ(kovrix_fixed_atan2(y, INT64_MIN), 0) << y;
  EXPECT_FALSE(errorPending());
  EXPECT_NE(kovrix_cordic_atan2(one, INT64_MIN), 0);
  EXPECT_FALSE(errorPending());
}

// Hand-followed values: the steps above reproduce the listed results, so the
// reference itself reads the steps as the library's documentation does.
TEST(StepReference, ReferenceReproducesListedValues) {
  EXPECT_EQ(refSinCos(0).first, -3);
  EXPECT_EQ(refSinCos(0).second, 4294967303);
  EXPECT_EQ(refSinCos(kPi).first, -3);
  EXPECT_EQ(refSinCos(kPi).second, -4294967303);
  EXPECT_EQ(refAtan2(0, -one), 13493037705);
  EXPECT_EQ(refAtan2(-one, -one), -10119778281);
  EXPECT_EQ(refSinhCosh(one).first, 5047450700);
  EXPECT_EQ(refSinhCosh(one).second, 6627480871);
  EXPECT_EQ(refExpScaled(2 * one), 31735754382);
  EXPECT_EQ(refExpScaled(-5 * one), 28939261);
  EXPECT_EQ(refExpScaled(10 * one), 94602951132282);
  EXPECT_EQ(budget(), 4802516527);
  EXPECT_EQ(refSqrt(2 * one, 15), 6074000999);
  EXPECT_EQ(refSqrt(std::int64_t{1} << 62, 15), 184793288171462);
  EXPECT_EQ(refLn(2 * one), 2977044462);
  EXPECT_EQ(refLn(100 * one), 17828286560);
  EXPECT_EQ(refTanReduced(one), 6690792620);
  EXPECT_EQ(refTanReduced(kPi >> 2), 4280327508);
  EXPECT_EQ(refErf(one), 3619372346);
  EXPECT_EQ(refJ0(one), 3286499039);
  EXPECT_EQ(refExpScaled(mulQ(one / 2, refLn(2 * one))), 6074000992);
  EXPECT_EQ(refTanPoly(one), 6528770609);
}

// With an error pending on entry: the direct kernels return 0 and keep it,
// the table exports and helpers compute and keep it, the function exports
// return 0 and clear it; the saturating arithmetic on the exact big-integer
// value returns 0 and keeps it, the plain int64 operations compute.
TEST(StepReference, PendingErrorOnEntry) {
  const char* msg = "over- or underflow";
  auto pend = [&] { setPending(ErrorKind::overflowDefect, msg); };
  const std::int64_t x = one;
  struct Direct {
    const char* name;
    std::int64_t (*f)(std::int64_t);
  };
  for (const Direct& d : {Direct{"cordic_sin", kovrix_cordic_sin}, Direct{"cordic_cos", kovrix_cordic_cos},
                          Direct{"chebyshev_tan", kovrix_chebyshev_tan}, Direct{"cordic_sinh", kovrix_cordic_sinh},
                          Direct{"cordic_cosh", kovrix_cordic_cosh}, Direct{"cordic_tanh", kovrix_cordic_tanh},
                          Direct{"cordic_exp", kovrix_cordic_exp}}) {
    pend();
    EXPECT_EQ(d.f(x), 0) << d.name;
    EXPECT_TRUE(errorPending()) << d.name;
  }
  pend();
  EXPECT_EQ(kovrix_cordic_atan2(one, one), 0);
  EXPECT_TRUE(errorPending());
  for (const Direct& d : {Direct{"lut_sin", kovrix_lut_sin}, Direct{"lut_cos", kovrix_lut_cos},
                          Direct{"reduceQ32", reduceQ32}, Direct{"clampQ32", clampQ32},
                          Direct{"clampHyperbolicQ32", clampHyperbolicQ32}}) {
    pend();
    EXPECT_EQ(d.f(-x), d.name == std::string("lut_sin")   ? refSinLut(refReduceQ32(-x))
                       : d.name == std::string("lut_cos") ? refCosLut(refReduceQ32(-x))
                       : d.name == std::string("reduceQ32") ? refReduceQ32(-x)
                                                            : -x)
        << d.name;
    EXPECT_TRUE(errorPending()) << d.name;
  }
  pend();
  EXPECT_EQ(kovrix_fixed_add(one, one), 0);
  EXPECT_EQ(kovrix_fixed_mul(one, 3 * one, 32), 0);
  EXPECT_EQ(kovrix_fixed_div(one, 2 * one, 32), 0);
  EXPECT_EQ(kovrix_fixed_lerp(0, one, one / 2), 0);
  EXPECT_EQ(kovrix_pi_fixed(), 0);
  EXPECT_EQ(kovrix_fixed_floor_mod(-one, 3 * one), 2 * one);
  EXPECT_EQ(kovrix_fixed_clamp(5, 10, 0), 10);
  EXPECT_TRUE(errorPending());
  for (ErrorKind k : {ErrorKind::valueError, ErrorKind::overflowDefect, ErrorKind::divByZeroDefect,
                      ErrorKind::underflowDefect, ErrorKind::assertionDefect, ErrorKind::rangeDefect,
                      ErrorKind::indexDefect}) {
    setPending(k, msg);
    EXPECT_EQ(kovrix_fixed_sqrt(4 * one), 0);
    EXPECT_FALSE(errorPending());
    setPending(k, msg);
    EXPECT_EQ(kovrix_fixed_factorial(3), 0);
    EXPECT_FALSE(errorPending());
    setPending(k, msg);
    EXPECT_EQ(kovrix_fixed_atan2(one, one), 0);
    EXPECT_FALSE(errorPending());
  }
  clearPending();
}

}  // namespace

#include "rational/rational_math.hpp"

#include "exponential/logarithm_generic.hpp"
#include "exponential/taylor.hpp"
#include "rational/arithmetic.hpp"
#include "rational/comparison.hpp"
#include "roots/isqrt.hpp"
#include "trigonometry/taylor.hpp"

namespace kovrix {

namespace {

// The series arithmetic of Rational: every operation exact and reduced.
struct RationalArithmetic {
  using Value = Rational;
  static Rational zero() { return integerRational(BigInt{}); }
  static Rational one() { return integerRational(initBigInt(1)); }
  static Rational add(const Rational& a, const Rational& b) { return a + b; }
  static Rational sub(const Rational& a, const Rational& b) { return a - b; }
  static Rational mul(const Rational& a, const Rational& b) { return a * b; }
  static Rational div(const Rational& a, const Rational& b) { return a / b; }
  static Rational mulInt(const Rational& a, std::int64_t k) { return a * integerRational(initBigInt(k)); }
  static Rational divInt(const Rational& a, std::int64_t k) { return a / integerRational(initBigInt(k)); }
  static Rational half(const Rational& a) { return initRational(1, 2) * a; }
  static Rational twice(const Rational& a) { return integerRational(initBigInt(2)) * a; }
  static bool isNegative(const Rational& a) { return kovrix::isNegative(a); }
  static bool isZero(const Rational& a) { return kovrix::isZero(a); }
  static bool equal(const Rational& a, const Rational& b) { return cmp(a, b) == 0; }
};
static_assert(SeriesArithmetic<RationalArithmetic>);

// pi as 355/113 and pi/2 as 355/226.
Rational piFraction() { return initRational(355, 113); }
Rational halfPiFraction() { return initRational(355, 226); }

}  // namespace

Rational sinTaylor(const Rational& x, std::int64_t n) { return generic::sinSeries<RationalArithmetic>(x, n); }
Rational cosTaylor(const Rational& x, std::int64_t n) { return generic::cosSeries<RationalArithmetic>(x, n); }
Rational atanTaylor(const Rational& x, std::int64_t n) { return generic::atanSeries<RationalArithmetic>(x, n); }
Rational expTaylor(const Rational& x, std::int64_t n) { return generic::expTaylor<RationalArithmetic>(x, n); }
Rational lnGeneric(const Rational& x, std::int64_t n) { return generic::lnAtanhSeries<RationalArithmetic>(x, n); }

Rational sin(const Rational& x, std::int64_t n) { return sinTaylor(x, n); }
Rational cos(const Rational& x, std::int64_t n) { return cosTaylor(x, n); }
Rational tan(const Rational& x, std::int64_t n) { return sinTaylor(x, n) / cosTaylor(x, n); }
Rational exp(const Rational& x, std::int64_t n) { return expTaylor(x, n); }
Rational ln(const Rational& x, std::int64_t n) { return lnGeneric(x, n); }

Rational sqrt(const Rational& x, std::int64_t n) {
  if (isZero(x)) return x;
  if (isNegative(x)) raiseValueError("sqrt: negative Rational has no real square root");
  // The integer roots put the first guess near the root whatever the size of
  // x; a perfect square of rationals is found at once and stays fixed.
  Rational g = initRational(isqrt(x.num), isqrt(x.den));
  const Rational half = initRational(1, 2);
  for (std::int64_t i = 0; i < n; ++i) g = half * (g + x / g);
  return g;
}

Rational atan(const Rational& x, std::int64_t n) {
  const Rational a = abs(x);
  const Rational r = cmp(a, RationalArithmetic::one()) > 0 ? halfPiFraction() - atanTaylor(RationalArithmetic::one() / a, n)
                                                          : atanTaylor(a, n);
  return isNegative(x) ? -r : r;
}

Rational atan2(const Rational& y, const Rational& x, std::int64_t n) {
  if (isZero(x)) {
    if (isZero(y)) return RationalArithmetic::zero();
    return isNegative(y) ? -halfPiFraction() : halfPiFraction();
  }
  const Rational t = atan(y / x, n);
  if (!isNegative(x)) return t;
  return isNegative(y) ? t - piFraction() : t + piFraction();
}

Rational pow(const Rational& x, const Rational& y, std::int64_t n) { return expTaylor(y * lnGeneric(x, n), n); }

}  // namespace kovrix

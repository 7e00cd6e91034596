#include "float/float_math.hpp"

#include <cmath>

#include "exponential/logarithm_generic.hpp"
#include "exponential/taylor.hpp"
#include "float/arithmetic.hpp"
#include "float/comparison.hpp"
#include "float/constants.hpp"
#include "float/formatting.hpp"
#include "float/reduction.hpp"
#include "float64_constants.hpp"
#include "roots/sqrt_newton.hpp"
#include "trigonometry/taylor.hpp"

namespace kovrix {

using A = BigFloatArithmetic;

BigFloat halfPiCache;
BigFloat quarterPiCache;
BigFloat threeQuarterPiCache;
BigFloat ln2Cache;

namespace {
// Set once the six caches hold their values (written by the initialisation
// only, before any other call).
bool gCachesFilled = false;

// x * 2^shift, exact.
BigFloat scaled(BigFloat x, std::int64_t shift) {
  if (!x.isZero()) x.exponent = checkedAdd(x.exponent, shift);
  return x;
}

int sign(const BigFloat& x) { return cmp(x, BigFloat{}); }

using V = Value256Arithmetic;
}  // namespace

void fillFloatMathCaches() {
  halfPiCache = scaled(piCache, -1);
  quarterPiCache = scaled(piCache, -2);
  threeQuarterPiCache = halfPiCache + quarterPiCache;
  ln2Cache = lnGeneric(A::integer(2), 200);
  gCachesFilled = true;
}

BigFloat getPiBigFloat() { return gCachesFilled ? piCache : piBigFloat(defaultPrecision, 96); }

// The series kernels, on values held in place where they can be (runSeries).
BigFloat expTaylor(const BigFloat& x, std::int64_t n) {
  return runSeries(x, n, [n]<class S>(S, const typename S::Value& v) { return generic::expTaylor<S>(v, n); });
}
BigFloat lnGeneric(const BigFloat& x, std::int64_t n) {
  return runSeries(x, n, [n]<class S>(S, const typename S::Value& v) { return generic::lnAtanhSeries<S>(v, n); });
}
BigFloat sinTaylor(const BigFloat& x, std::int64_t n) {
  return runSeries(x, n, [n]<class S>(S, const typename S::Value& v) { return generic::sinSeries<S>(v, n); });
}
BigFloat cosTaylor(const BigFloat& x, std::int64_t n) {
  return runSeries(x, n, [n]<class S>(S, const typename S::Value& v) { return generic::cosSeries<S>(v, n); });
}

BigFloat ln(const BigFloat& x, std::int64_t n) {
  if (x.isZero()) raiseValueError("ln: input is zero (real log undefined)");
  if (x.negative) raiseValueError("ln: input is negative (real log undefined)");
  // x = m 2^(t-1) with m = mantissa 2^(1-L) in [1, 2).
  const std::int64_t length = bitLength(x.mantissa);
  const std::int64_t t = checkedAdd(length, x.exponent);
  BigFloat m{false, checkedSub(1, length), x.mantissa};
  std::int64_t k;
  if (toFloat64(m) > 1.4142135623730951) {
    m.exponent = checkedSub(m.exponent, 1);
    k = t;
  } else {
    k = checkedSub(t, 1);
  }
  return lnGeneric(m, n) + A::integer(k) * ln2Cache;
}

BigFloat exp(const BigFloat& x, std::int64_t n) {
  if (x.isZero()) return A::one();
  // |x| < 2^(s-1), so |x 2^-s| < 1/2.
  const std::int64_t s = std::max<std::int64_t>(checkedAdd(checkedAdd(bitLength(x.mantissa), x.exponent), 1), 0);
  const BigFloat y = scaled(x, checkedSub(0, s));
  if (V::coversSeries(y, n)) {
    // The squarings in place too while the exponent stays inside the
    // kernels' bound (the same products as r * r); the rest, if any, on
    // BigFloat, where an exponent overflow raises as it would have.
    mantissa256::Value256 v = generic::expTaylor<V>(mantissa256::toValue(y), n);
    std::int64_t i = 0;
    for (; i < s && v.exponent < mantissa256::ExponentBound / 2 && v.exponent > -mantissa256::ExponentBound / 2; ++i)
      v = mantissa256::mul(v, v);
    BigFloat r = mantissa256::toBigFloat(v);
    for (; i < s; ++i) r = r * r;
    return r;
  }
  BigFloat r = expTaylor(y, n);
  for (std::int64_t i = 0; i < s; ++i) r = r * r;
  return r;
}

namespace {

// x itself when -pi <= x <= pi, else x reduced modulo 2 pi.
BigFloat withinHalfTurn(const BigFloat& x) {
  if (cmp(x, piCache) <= 0 && cmp(x, -piCache) >= 0) return x;
  return reduceModTwoPi(x);
}

}  // namespace

BigFloat sin(const BigFloat& x, std::int64_t n) {
  const BigFloat r = withinHalfTurn(x);
  const BigFloat a = abs(r);
  BigFloat v;
  if (cmp(a, quarterPiCache) <= 0)
    v = sinTaylor(a, n);
  else if (cmp(a, halfPiCache) <= 0)
    v = cosTaylor(halfPiCache - a, n);
  else if (cmp(a, threeQuarterPiCache) <= 0)
    v = cosTaylor(a - halfPiCache, n);
  else if (cmp(a, piCache) <= 0)
    v = sinTaylor(piCache - a, n);
  else  // a rounding overshoot past pi
    v = -sinTaylor(a - piCache, n);
  return r.negative ? -v : v;
}

BigFloat cos(const BigFloat& x, std::int64_t n) {
  const BigFloat a = abs(withinHalfTurn(x));
  if (cmp(a, quarterPiCache) <= 0) return cosTaylor(a, n);
  if (cmp(a, halfPiCache) <= 0) return sinTaylor(halfPiCache - a, n);
  if (cmp(a, threeQuarterPiCache) <= 0) return -sinTaylor(a - halfPiCache, n);
  return -cosTaylor(cmp(a, piCache) > 0 ? a - piCache : piCache - a, n);
}

BigFloat tan(const BigFloat& x, std::int64_t n) {
  const BigFloat c = cos(x, n);
  if (c.isZero()) raiseDivByZero("tan: cos(x) is zero (singularity)");
  return sin(x, n) / c;
}

BigFloat arctan(const BigFloat& x, std::int64_t n) {
  const BigFloat a = abs(x);
  const BigFloat one = A::one();
  if (cmp(a, one) > 0) {
    const BigFloat v = getPiBigFloat() / A::integer(2) - arctan(one / a, n);
    return x.negative ? -v : v;
  }
  if (toFloat64(a) > 0.4142135623730951) {  // sqrt2 - 1
    const BigFloat q = getPiBigFloat() / A::integer(4);
    const BigFloat u = (a - one) / (a + one);
    const BigFloat v = q + atanTaylor(u, n);
    return x.negative ? -v : v;
  }
  return atanTaylor(x, n);
}

BigFloat arctan2(const BigFloat& y, const BigFloat& x, std::int64_t n) {
  const int sx = sign(x);
  const int sy = sign(y);
  if (sx > 0) return arctan(y / x, n);
  if (sx < 0) return sy < 0 ? arctan(y / x, n) - getPiBigFloat() : arctan(y / x, n) + getPiBigFloat();
  if (sy == 0) return BigFloat{};
  const BigFloat halfPi = getPiBigFloat() / A::integer(2);
  return sy > 0 ? halfPi : -halfPi;
}

BigFloat pow(const BigFloat& x, std::int64_t k) {
  if (k == 0) return A::one();
  if (k < 0) return A::one() / pow(x, checkedSub(0, k));
  BigFloat result = A::one();
  BigFloat base = x;
  for (;;) {
    if (k & 1) result = result * base;
    base = base * base;  // also after the last bit: an overflow here fails the call
    if (k < 2) return result;
    k >>= 1;
  }
}

BigFloat pow(const BigFloat& x, const BigFloat& y, std::int64_t n) {
  if (sign(x) <= 0) raiseValueError("pow: base <= 0 (non-integer exponent)");
  return exp(y * ln(x, n), n);
}

BigFloat sqrt(const BigFloat& x, std::int64_t n) {
  if (x.isZero()) return x;
  if (x.negative) raiseValueError("sqrt: input is negative (sqrt undefined)");
  // x = m 2^(E+u) with m in [1, 4) and E + u even.
  const std::int64_t e = x.exponent;
  const std::int64_t b = e & 1;
  const std::int64_t bigE = e - b;
  const std::int64_t t = checkedAdd(bitLength(x.mantissa), b);
  const std::int64_t u = ((t - 1) % 2 == 0) ? t - 1 : t - 2;
  BigFloat m{false, checkedSub(b, u), x.mantissa};
  normalize(m, defaultPrecision);
  // y -> 1/sqrt(m) by y (3/2 - m y^2 / 2), each step at twice the precision
  // of the last (from the double's 53 bits) up to 256 bits.
  BigFloat y = initBigFloat(64, 1.0 / std::sqrt(toFloat64(m)));
  static const BigFloat c = initBigFloat(defaultPrecision, 1.5);  // the same value every call
  auto step = [&](std::int64_t h) {
    const BigFloat y2 = mulRounded(y, y, h, RoundingMode::nearest);
    const BigFloat w = mulRounded(m, y2, h, RoundingMode::nearest);
    const BigFloat s = subRounded(c, scaled(w, -1), h, RoundingMode::nearest);
    y = mulRounded(y, s, h, RoundingMode::nearest);
  };
  if (n >= 1) {
    std::int64_t h = 53;
    for (std::int64_t steps = 0;;) {
      const std::int64_t doubled = 2 * h;
      h = std::min<std::int64_t>(doubled, defaultPrecision);
      step(h);
      ++steps;
      if (doubled >= defaultPrecision) {
        if (steps < n) step(defaultPrecision);
        break;
      }
      if (steps >= n) break;
    }
  }
  BigFloat result = m * y;
  result = scaled(result, checkedAdd(u / 2, bigE / 2));
  normalize(result, defaultPrecision);
  return result;
}

BigFloat sqrtNewtonGeneric(const BigFloat& x, std::int64_t n) { return generic::sqrtNewton<A>(x, n); }

double lnOrNaN(double x, std::int64_t n) {
  if (!(x > 0.0 && x < f64::infinity)) return f64::quietNaN;
  return toFloat64(ln(initBigFloat(defaultPrecision, x), n));
}

}  // namespace kovrix

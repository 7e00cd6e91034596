#include "rational/arithmetic.hpp"

#include <cmath>
#include <utility>

#include "arithmetic/bitwise_big.hpp"
#include "arithmetic/division_big.hpp"
#include "arithmetic/float_conv.hpp"
#include "arithmetic/signed_big.hpp"
#include "rational/gcd.hpp"

namespace kovrix {

namespace {

bool isOne(const BigUInt& x) noexcept { return x.size() == 1 && x[0] == 1; }

// x / g for a divisor g of x; g = 1 copies.
BigUInt exactQuotient(const BigUInt& x, const BigUInt& g) { return isOne(g) ? x : divMod(x, g).quotient; }
BigInt exactQuotient(const BigInt& x, const BigUInt& g) {
  return initBigInt(exactQuotient(x.magnitude, g), x.negative);
}

// The product of two factors already in lowest terms against each other's
// denominators: a.num and b.den share g1, b.num and a.den share g2
// (a.num/g1 · b.num/g2) / (a.den/g2 · b.den/g1) is reduced.
Rational crossCancelledProduct(const BigInt& an, const BigInt& ad, const BigInt& bn, const BigInt& bd) {
  if (an.magnitude.isZero() || bn.magnitude.isZero()) return integerRational(BigInt{});
  const BigUInt g1 = gcd(an.magnitude, bd.magnitude);
  const BigUInt g2 = gcd(bn.magnitude, ad.magnitude);
  return Rational{exactQuotient(an, g1) * exactQuotient(bn, g2), exactQuotient(ad, g2) * exactQuotient(bd, g1)};
}

// The float64 nearest to p·2^-s, for a p whose scaled value is a normal
// double: the top 64 bits of p with the dropped bits folded into the lowest
// (round to odd), which the conversion to double then rounds correctly.
double scaledPart(const BigUInt& p, std::int64_t s) {
  const std::int64_t drop = std::max<std::int64_t>(0, bitLength(p) - 64);
  Limb top = p.isZero() ? 0 : shr(p, drop)[0];
  if (anyLowBitSet(p, drop)) top |= 1;
  return std::ldexp(static_cast<double>(top), static_cast<int>(drop - s));
}

}  // namespace

Rational operator+(const Rational& a, const Rational& b) {
  if (isZero(a)) return b;
  if (isZero(b)) return a;
  const BigUInt g = gcd(a.den.magnitude, b.den.magnitude);
  if (isOne(g)) return Rational{a.num * b.den + b.num * a.den, a.den * b.den};
  const BigUInt ad = exactQuotient(a.den.magnitude, g);
  const BigUInt bd = exactQuotient(b.den.magnitude, g);
  BigInt t = a.num * BigInt{false, bd} + b.num * BigInt{false, ad};
  if (t.magnitude.isZero()) return integerRational(BigInt{});
  const BigUInt g2 = gcd(t.magnitude, g);
  return Rational{exactQuotient(t, g2), BigInt{false, ad * exactQuotient(b.den.magnitude, g2)}};
}

Rational operator-(const Rational& a, const Rational& b) { return a + (-b); }

Rational operator*(const Rational& a, const Rational& b) { return crossCancelledProduct(a.num, a.den, b.num, b.den); }

Rational operator/(const Rational& a, const Rational& b) {
  if (isZero(b)) raiseDivByZero("Rational division by zero");
  // The reciprocal of b is |b.den| / |b.num| with b's sign: still reduced.
  return crossCancelledProduct(a.num, a.den, BigInt{b.num.negative, b.den.magnitude}, BigInt{false, b.num.magnitude});
}

Rational operator-(const Rational& a) { return Rational{-a.num, a.den}; }

Rational abs(const Rational& a) { return Rational{abs(a.num), a.den}; }

double toFloat64(const Rational& r) {
  const double n = toFloat64(r.num), d = toFloat64(r.den);
  if (std::isfinite(n) && std::isfinite(d)) return n / d;
  // A part reached 2^1024.  Beyond a difference of 1100 bits the value is
  // above 2^1099 or below 2^-1099: it rounds to an infinity or to zero.
  const std::int64_t nb = bitLength(r.num.magnitude), db = bitLength(r.den.magnitude);
  const double sign = r.num.negative ? -1.0 : 1.0;
  if (nb - db > 1100) return sign * HUGE_VAL;
  if (db - nb > 1100) return sign * 0.0;
  // Scaled by 2^-s, the longer part lies below 2^1000 and the shorter one at
  // or above 2^-101: both normal, each rounded once (half a unit), and the
  // division rounds once more.
  const std::int64_t s = std::max(nb, db) - 1000;
  return sign * (scaledPart(r.num.magnitude, s) / scaledPart(r.den.magnitude, s));
}

}  // namespace kovrix

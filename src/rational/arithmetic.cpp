#include "rational/arithmetic.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "arithmetic/bitwise_big.hpp"
#include "arithmetic/comparison_big.hpp"
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
  // A part reached 2^1024: the correctly rounded double of |num|/den from the
  // integers.  With k the difference of the bit lengths, 2^(k-1) < |num|/den
  // < 2^(k+1); beyond a difference of 1100 the value is above 2^1099 or below
  // 2^-1100, so it rounds to an infinity or to zero.
  const BigUInt& num = r.num.magnitude;
  const BigUInt& den = r.den.magnitude;
  const std::int64_t k = bitLength(num) - bitLength(den);
  const double sign = r.num.negative ? -1.0 : 1.0;
  if (k > 1100) return sign * HUGE_VAL;
  if (k < -1100) return sign * 0.0;
  // 2^e <= |num|/den < 2^(e+1), e being k or k - 1.
  const std::int64_t e = cmp(shl(num, std::max<std::int64_t>(0, -k)), shl(den, std::max<std::int64_t>(0, k))) >= 0 ? k : k - 1;
  // q = floor(|num|·2^-u / den) at the unit in the last place 2^u of a double
  // of that binade (a subnormal one below 2^-1022): at most 53 bits.
  const std::int64_t u = std::max<std::int64_t>(e - 52, -1074);
  const BigUInt scaledDen = shl(den, std::max<std::int64_t>(0, u));
  BigUIntDivMod qr = divMod(shl(num, std::max<std::int64_t>(0, -u)), scaledDen);
  // Nearest, ties to even; q + 1 may reach 2^53, still exact as a double, and
  // ldexp gives the infinity when the rounded value reaches 2^1024.
  std::uint64_t q = qr.quotient.isZero() ? 0 : qr.quotient[0];
  const std::int64_t half = cmp(shl(qr.remainder, 1), scaledDen);
  if (half > 0 || (half == 0 && (q & 1) != 0)) ++q;
  return sign * std::ldexp(static_cast<double>(q), static_cast<int>(u));
}

}  // namespace kovrix

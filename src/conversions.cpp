#include "conversions.hpp"

#include <cmath>
#include <cstdlib>

#include "arithmetic/bitwise_big.hpp"
#include "arithmetic/division_big.hpp"
#include "arithmetic/float_conv.hpp"
#include "arithmetic/signed_big.hpp"
#include "float/arithmetic.hpp"
#include "float/formatting.hpp"
#include "rational/arithmetic.hpp"

namespace kovrix {

FloatParts decomposeFloat(double x) {
  int p = 0;
  const double f = std::frexp(x, &p);
  // |f| lies in [0.5, 1) for x != 0, so 2^53 |f| is an integer in
  // [2^52, 2^53): exact in a double and in an int64.
  std::int64_t m = static_cast<std::int64_t>(std::ldexp(std::fabs(f), 53));
  std::int64_t e = checkedSub(p, 53);
  if (m == 0) return {0, e};
  while ((m & 1) == 0) {
    m >>= 1;
    e = checkedAdd(e, 1);
  }
  return {x < 0 ? -m : m, e};
}

Rational toRationalBig(double x) {
  if (!std::isfinite(x)) raiseValueError("toRationalBig: NaN or infinity");
  if (x == 0.0) return integerRational(BigInt{});
  const auto [m, e] = decomposeFloat(x);
  const BigUInt magnitude = initBigUInt(static_cast<std::uint64_t>(std::llabs(m)));
  // m is odd and the denominator a power of two: already in lowest terms.
  if (e < 0) return initRational(initBigInt(magnitude, m < 0), BigInt{false, shl(initBigUInt(1), -e)});
  return initRational(initBigInt(shl(magnitude, e), m < 0), initBigInt(1));
}

BigFloat toBigFloat(const Rational& r, std::int64_t precision, RoundingMode mode) {
  return divRounded(fromBigInt(precision, r.num), fromBigInt(precision, r.den), precision, mode);
}

BigInt toBigInt(const BigFloat& b) {
  if (b.mantissa.isZero()) return BigInt{};
  // Dropping the bits below the point truncates the magnitude toward zero;
  // initBigInt drops the sign of a zero.
  if (b.exponent < 0) return initBigInt(shr(b.mantissa, checkedSub(0, b.exponent)), b.negative);
  return initBigInt(shl(b.mantissa, b.exponent), b.negative);
}

BigInt toBigInt(const Rational& r) { return divMod(r.num, r.den).quotient; }

namespace {
Interval widened(double f) { return Interval{nextDown2(f), nextUp2(f)}; }
}  // namespace

Interval toInterval(const BigFloat& v) { return widened(toFloat64(v)); }
Interval toInterval(const Rational& v) { return widened(toFloat64(v)); }
Interval toInterval(const BigInt& v) { return widened(toFloat64(v)); }

Rational rationalFromFixed(std::int64_t raw, std::int32_t fracBits) {
  return initRational(initBigInt(raw), BigInt{false, shl(initBigUInt(1), fracBits)});
}

std::int64_t fixedFromRational(const Rational& r, std::int32_t fracBits) {
  const BigUInt q = divMod(shl(r.num.magnitude, fracBits), r.den.magnitude).quotient;
  if (q.isZero()) return 0;
  if (bitLength(q) >= 64) return 0;
  const std::int64_t v = toInt64(q);  // OverflowDefect from 2^63 up
  return r.num.negative ? -v : v;
}

}  // namespace kovrix

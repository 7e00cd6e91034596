#include "float/arithmetic.hpp"

#include "arithmetic/addition_big.hpp"
#include "arithmetic/bitwise_big.hpp"
#include "arithmetic/division_big.hpp"
#include "arithmetic/multiplication_big.hpp"
#include "arithmetic/subtraction_big.hpp"
#include "float/comparison.hpp"
#include "float/mantissa256.hpp"

namespace kovrix {

namespace {

// Whether the fixed-size kernels give this operation's result: 256 bits,
// nearest, both operands of 256 bits within the kernels' exponent bound.
bool kernelCase(const BigFloat& a, const BigFloat& b, std::int64_t p, RoundingMode mode) noexcept {
  return p == mantissa256::Bits && mode == RoundingMode::nearest && mantissa256::fitsKernel(a) &&
         mantissa256::fitsKernel(b);
}

// Whether the short kernels give it: nearest, 1 <= p <= 256, both operands
// nonzero with at most four limbs within the exponent bound.
bool shortCase(const BigFloat& a, const BigFloat& b, std::int64_t p, RoundingMode mode) noexcept {
  return p >= 1 && p <= mantissa256::Bits && mode == RoundingMode::nearest && mantissa256::fitsShort(a) &&
         mantissa256::fitsShort(b);
}

// As shortCase, for a sum whose far-operand shortcut does not apply.
bool shortSumCase(const BigFloat& a, const BigFloat& b, std::int64_t p, RoundingMode mode) noexcept {
  if (!shortCase(a, b, p, mode)) return false;
  const std::int64_t d = a.exponent > b.exponent ? a.exponent - b.exponent : b.exponent - a.exponent;
  return d <= p + 64;
}

BigFloat roundedCopy(const BigFloat& x, std::int64_t p, RoundingMode mode) {
  BigFloat r = x;
  normalizeRounded(r, p, mode, false);
  return r;
}

}  // namespace

BigFloat addRounded(const BigFloat& a, const BigFloat& b, std::int64_t p, RoundingMode mode) {
  if (kernelCase(a, b, p, mode)) return mantissa256::add(a, b, false);
  if (shortSumCase(a, b, p, mode)) return mantissa256::addShort(a, b, false, p);
  if (a.isZero()) return roundedCopy(b, p, mode);
  if (b.isZero()) return roundedCopy(a, p, mode);
  if (a.exponent < b.exponent) return addRounded(b, a, p, mode);
  const std::int64_t d = checkedSub(a.exponent, b.exponent);
  if (d > checkedAdd(p, 64)) {
    // b lies wholly below a's rounding point (for an `a` of at most p bits):
    // a itself is the nearest value, and a directed mode moves it one unit
    // when the exact sum lies beyond it in that direction.
    BigFloat r = roundedCopy(a, p, mode);
    const bool opposite = a.negative != b.negative;
    switch (mode) {
      case RoundingMode::nearest:
        break;
      case RoundingMode::towardZero:
        // The exact sum is a little smaller in magnitude than a.
        if (opposite) dropMagnitude(r, p);
        break;
      case RoundingMode::towardPositive:
        if (!b.negative) r.negative ? dropMagnitude(r, p) : bumpMagnitude(r, p);
        break;
      case RoundingMode::towardNegative:
        if (b.negative) r.negative ? bumpMagnitude(r, p) : dropMagnitude(r, p);
        break;
    }
    return r;
  }
  // Exact alignment: t * 2^b.exponent is a's magnitude.
  const BigUInt t = shl(a.mantissa, d);
  BigFloat r;
  r.exponent = b.exponent;
  if (a.negative == b.negative) {
    r.mantissa = add(t, b.mantissa);
    r.negative = a.negative;
  } else if (cmp(b.mantissa, t) > 0) {
    r.mantissa = subOrdered(b.mantissa, t);
    r.negative = b.negative;
  } else {
    r.mantissa = subOrdered(t, b.mantissa);
    r.negative = a.negative;
  }
  if (r.isZero()) return BigFloat{};
  normalizeRounded(r, p, mode, false);
  return r;
}

BigFloat subRounded(const BigFloat& a, const BigFloat& b, std::int64_t p, RoundingMode mode) {
  if (kernelCase(a, b, p, mode)) return mantissa256::add(a, b, true);
  if (shortSumCase(a, b, p, mode)) return mantissa256::addShort(a, b, true, p);
  BigFloat negated = -b;
  return addRounded(a, negated, p, mode);
}

BigFloat mulRounded(const BigFloat& a, const BigFloat& b, std::int64_t p, RoundingMode mode) {
  if (kernelCase(a, b, p, mode)) return mantissa256::mul(a, b);
  if (shortCase(a, b, p, mode)) return mantissa256::mulShort(a, b, p);
  if (a.isZero() || b.isZero()) return BigFloat{};
  BigFloat r{a.negative != b.negative, checkedAdd(a.exponent, b.exponent), mul(a.mantissa, b.mantissa)};
  normalizeRounded(r, p, mode, false);
  return r;
}

BigFloat divRounded(const BigFloat& a, const BigFloat& b, std::int64_t p, RoundingMode mode) {
  if (kernelCase(a, b, p, mode)) return mantissa256::div(a, b);
  if (b.isZero()) raiseDivByZero("BigFloat division by zero");
  if (a.isZero()) return a;
  // g = p + 2 guard bits: with operands of p bits the quotient has p + 2 or
  // p + 3 bits, so the round bit lies inside it and the remainder completes
  // the sticky information.
  const std::int64_t g = checkedAdd(p, 2);
  const BigUInt dividend = shl(a.mantissa, g);
  std::int64_t exponent = checkedSub(checkedSub(a.exponent, b.exponent), g);
  BigFloat r;
  r.negative = a.negative != b.negative;
  bool inexact;
  const std::size_t zeroLimbs = b.mantissa.size() - 1;
  if (zeroLimbs > 0 && normalizedLength(b.mantissa.limbs().first(zeroLimbs)) == 0) {
    // A divisor that is one limb times 2^(64 z): divide by the limb alone and
    // account for the z zero limbs in the exponent.
    BigUIntLimbDivMod qr = divModLimb(dividend, b.mantissa.topLimb());
    r.mantissa = std::move(qr.quotient);
    inexact = qr.remainder != 0;
    exponent = checkedSub(exponent, checkedMul(64, static_cast<std::int64_t>(zeroLimbs)));
  } else {
    BigUIntDivMod qr = divMod(dividend, b.mantissa);
    r.mantissa = std::move(qr.quotient);
    inexact = !qr.remainder.isZero();
  }
  r.exponent = exponent;
  normalizeRounded(r, p, mode, inexact);
  return r;
}

bool BigFloatArithmetic::equal(const BigFloat& a, const BigFloat& b) { return cmp(a, b) == 0; }

BigFloat BigFloatArithmetic::one() {
  static const BigFloat value = integer(1);
  return value;
}

BigFloat BigFloatArithmetic::divInt(const BigFloat& a, std::int64_t k) {
  // k up to 2^53 is exact as a double, so integer(k) is k itself and the
  // kernel's a / k is the same correctly rounded quotient.
  if (k > 0 && k <= (std::int64_t{1} << 53) && mantissa256::fitsKernel(a))
    return mantissa256::divSmall(a, static_cast<std::uint64_t>(k));
  return a / integer(k);
}

BigFloat BigFloatArithmetic::half(const BigFloat& a) {
  // The product with 1/2 made at 256 bits is exact: a's mantissa, exponent - 1.
  if (mantissa256::fitsKernel(a)) return mantissa256::scaled(a, -1);
  return a * initBigFloat(defaultPrecision, 0.5);
}

BigFloat BigFloatArithmetic::twice(const BigFloat& a) {
  if (mantissa256::fitsKernel(a)) return mantissa256::scaled(a, 1);
  return integer(2) * a;
}

}  // namespace kovrix

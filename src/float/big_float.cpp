#include "float/big_float.hpp"

#include <bit>
#include <cmath>

#include "arithmetic/addition_big.hpp"
#include "arithmetic/bitwise_big.hpp"
#include "arithmetic/subtraction_big.hpp"

namespace kovrix {

void normalize(BigFloat& x, std::int64_t p) {
  if (x.isZero()) {
    x.exponent = 0;
    return;
  }
  const std::int64_t length = bitLength(x.mantissa);
  if (length > p) {
    const std::int64_t drop = checkedSub(length, p);
    x.mantissa = shr(x.mantissa, drop);
    x.exponent = checkedAdd(x.exponent, drop);
  } else if (length < p) {
    const std::int64_t widen = checkedSub(p, length);
    x.mantissa = shl(x.mantissa, widen);
    x.exponent = checkedSub(x.exponent, widen);
  }
}

namespace {
// Bit i of x (0 past the top).
bool bitAt(const BigUInt& x, std::int64_t i) noexcept {
  const auto limb = static_cast<std::size_t>(i / 64);
  return limb < x.size() && ((x[limb] >> (i % 64)) & 1) != 0;
}

// Whether a value of this sign that lost nonzero bits moves one unit away
// from zero in a directed mode.
bool directedBump(RoundingMode mode, bool negative) noexcept {
  return (mode == RoundingMode::towardPositive && !negative) || (mode == RoundingMode::towardNegative && negative);
}
}  // namespace

void normalizeRounded(BigFloat& x, std::int64_t p, RoundingMode mode, bool sticky) {
  if (x.isZero()) {
    x.exponent = 0;
    return;
  }
  const std::int64_t d = checkedSub(bitLength(x.mantissa), p);
  bool bump;
  if (d > 0) {
    const bool roundBit = bitAt(x.mantissa, d - 1);
    sticky = sticky || anyLowBitSet(x.mantissa, d);
    x.mantissa = shr(x.mantissa, d);
    x.exponent = checkedAdd(x.exponent, d);
    bump = mode == RoundingMode::nearest ? roundBit : sticky && directedBump(mode, x.negative);
  } else {
    if (d < 0) {
      x.mantissa = shl(x.mantissa, -d);
      x.exponent = checkedSub(x.exponent, -d);
    }
    bump = sticky && directedBump(mode, x.negative);
  }
  if (bump) bumpMagnitude(x, p);
}

void bumpMagnitude(BigFloat& x, std::int64_t p) {
  x.mantissa = add(x.mantissa, initBigUInt(1));
  if (bitLength(x.mantissa) > p) {
    x.mantissa = shr(x.mantissa, 1);
    x.exponent = checkedAdd(x.exponent, 1);
  }
}

void dropMagnitude(BigFloat& x, std::int64_t p) {
  if (x.isZero()) return;
  x.mantissa = sub(x.mantissa, initBigUInt(1));
  if (bitLength(x.mantissa) < p) {
    x.mantissa = bitOr(shl(x.mantissa, 1), initBigUInt(1));
    x.exponent = checkedSub(x.exponent, 1);
  }
}

BigFloat initBigFloat(std::int64_t p, double f) {
  BigFloat r;
  if (f == 0.0) return r;
  if (std::isnan(f) || std::isinf(f)) raiseValueError("initBigFloat: Inf/NaN are not representable");
  r.negative = f < 0.0;
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(f);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  if (biased != 0 && p >= 53 && p <= 64) {
    // A normal double at one limb: its 53-bit significand (the implicit bit
    // on top) widened to p bits, the value unchanged, as below.
    r.mantissa = initBigUInt(((bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52)) << (p - 53));
    r.exponent = std::int64_t{biased} - 1075 - (p - 53);
    return r;
  }
  // |f| = s * 2^n with s in [1, 2); frexp gives the same s and n as halving
  // or doubling |f| until it lands there (each such step is exact, subnormals
  // included).
  int n = 0;
  const double s = 2.0 * std::frexp(std::fabs(f), &n);
  n -= 1;
  // c = min(p, 53) significant bits, taken by truncation: 2^k * s < 2^(k+1)
  // fits an unsigned 64-bit integer, exactly when k <= 52.
  const std::int64_t k = std::min<std::int64_t>(p, 53) - 1;
  const std::uint64_t m = k < 0 ? 0 : static_cast<std::uint64_t>(std::ldexp(s, static_cast<int>(k)));
  if (m == 0) return BigFloat{};
  r.mantissa = initBigUInt(m);
  r.exponent = checkedSub(n, k);
  normalize(r, p);
  return r;
}

BigFloat fromBigInt(std::int64_t p, const BigInt& n) {
  BigFloat r{n.negative, 0, n.magnitude};
  if (!r.isZero()) normalize(r, p);
  return r;
}

}  // namespace kovrix

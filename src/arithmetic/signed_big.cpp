#include "arithmetic/signed_big.hpp"

namespace kovrix {

namespace {
// Signed sum of (an, am) and (bn, bm): magnitudes with their signs.
BigInt addSigned(bool an, const BigUInt& am, bool bn, const BigUInt& bm) {
  if (an == bn) return initBigInt(add(am, bm), an);
  std::int64_t c = cmp(am, bm);
  if (c > 0) return initBigInt(subOrdered(am, bm), an);
  if (c < 0) return initBigInt(subOrdered(bm, am), bn);
  return BigInt{};
}
}  // namespace

BigInt add(const BigInt& a, const BigInt& b) { return addSigned(a.negative, a.magnitude, b.negative, b.magnitude); }

BigInt sub(const BigInt& a, const BigInt& b) {
  // -b without copying its magnitude; -0 stays 0 because a zero magnitude
  // never carries a sign into the result.
  return addSigned(a.negative, a.magnitude, !b.negative && !b.magnitude.isZero(), b.magnitude);
}

BigInt mul(const BigInt& a, const BigInt& b, MulStrategy strategy) {
  if (a.magnitude.isZero() || b.magnitude.isZero()) return BigInt{};
  return BigInt{a.negative != b.negative, mul(a.magnitude, b.magnitude, strategy)};
}

BigIntDivMod divMod(const BigInt& a, const BigInt& b) {
  auto [q, r] = divMod(a.magnitude, b.magnitude);
  bool qNeg = a.negative != b.negative;
  return {initBigInt(std::move(q), qNeg), initBigInt(std::move(r), a.negative)};
}

BigInt shl(const BigInt& x, std::int64_t n) { return initBigInt(shl(x.magnitude, n), x.negative); }

BigInt shr(const BigInt& x, std::int64_t n) {
  if (!x.negative) return BigInt{false, shr(x.magnitude, n)};
  BigUInt q = shr(x.magnitude, n);
  // floor for negatives: one more in magnitude when a set bit was dropped
  // (the bits of x.magnitude below 2^n, i.e. its AND with 2^n - 1).
  if (anyLowBitSet(x.magnitude, n)) q = add(q, initBigUInt(1));
  return initBigInt(std::move(q), true);
}

}  // namespace kovrix

#include "rational/comparison.hpp"

#include <algorithm>

#include "arithmetic/comparison_big.hpp"
#include "arithmetic/multiplication_big.hpp"

namespace kovrix {

namespace {
int signOf(const BigInt& x) noexcept { return x.magnitude.isZero() ? 0 : (x.negative ? -1 : 1); }

// The 64 bits of x from its top bit down (x > 0 of `bits` bits): x lies in
// [t, t + 1)·2^(bits - 64), exactly t·2^(bits - 64) when bits <= 64.
Limb leadingBits(const BigUInt& x, std::int64_t bits) noexcept {
  if (bits <= 64) return x[0] << (64 - bits);
  const std::size_t limb = static_cast<std::size_t>((bits - 64) / 64);
  const int off = static_cast<int>((bits - 64) % 64);
  return off == 0 ? x[limb] : (x[limb] >> off) | (x[limb + 1] << (64 - off));
}

// The order of x·y against z·w (magnitudes, none zero) from their leading
// bits when that settles it, else 2 (undecided).  Contract: the bit lengths
// of the two products' factors sum to lBits and rBits, at most one apart.
// With leading parts t, u the product lies in [tu, tu + t + u + 1)·2^e with
// tu in [2^126, 2^128), so within 2^65 units of 2^e; halving the side of the
// lower exponent keeps it within 2^65 units of the other's.
int leadingOrder(const BigUInt& x, const BigUInt& y, const BigUInt& z, const BigUInt& w, std::int64_t lBits,
                 std::int64_t rBits) noexcept {
  UInt128 l = UInt128(leadingBits(x, bitLength(x))) * leadingBits(y, bitLength(y));
  UInt128 r = UInt128(leadingBits(z, bitLength(z))) * leadingBits(w, bitLength(w));
  if (lBits > rBits) r >>= 1;
  if (rBits > lBits) l >>= 1;
  constexpr UInt128 margin = UInt128(1) << 65;
  if (l > r && l - r >= margin) return 1;
  if (r > l && r - l >= margin) return -1;
  return 2;
}

// The order of x·y against z·w, both products formed in one scratch area.
int productOrder(const BigUInt& x, const BigUInt& y, const BigUInt& z, const BigUInt& w) {
  const std::size_t nl = x.size() + y.size(), nr = z.size() + w.size();
  const std::size_t extra = std::max(mulScratchSize(x.size(), y.size()), mulScratchSize(z.size(), w.size()));
  ScratchLimbs<128> work(nl + nr + extra);
  const std::span<Limb> l = work.span().first(nl), r = work.span().subspan(nl, nr), rest = work.span().subspan(nl + nr);
  mulN(l, x.limbs(), y.limbs(), rest);
  mulN(r, z.limbs(), w.limbs(), rest);
  const std::size_t ll = normalizedLength(l), lr = normalizedLength(r);
  if (ll != lr) return ll < lr ? -1 : 1;
  return cmpN(l.first(ll), r.first(lr));
}
}  // namespace

std::int64_t cmpCross(const BigInt& an, const BigInt& ad, const BigInt& bn, const BigInt& bd) {
  const int sl = signOf(an) * signOf(bd), sr = signOf(bn) * signOf(ad);
  if (sl != sr) return sl < sr ? -1 : 1;
  if (sl == 0) return 0;
  // Same sign: order the magnitudes |an||bd| and |bn||ad|.  A product of
  // factors of i and j bits has i + j - 1 or i + j bits, so lengths that
  // differ by two or more decide.
  const std::int64_t lBits = bitLength(an.magnitude) + bitLength(bd.magnitude);
  const std::int64_t rBits = bitLength(bn.magnitude) + bitLength(ad.magnitude);
  std::int64_t order;
  if (lBits + 1 < rBits) {
    order = -1;
  } else if (rBits + 1 < lBits) {
    order = 1;
  } else if (an.magnitude.size() == 1 && bd.magnitude.size() == 1 && bn.magnitude.size() == 1 &&
             ad.magnitude.size() == 1) {
    // One limb each: the products fit 128 bits.
    const UInt128 l = UInt128(an.magnitude[0]) * bd.magnitude[0], r = UInt128(bn.magnitude[0]) * ad.magnitude[0];
    order = l < r ? -1 : (r < l ? 1 : 0);
  } else {
    order = leadingOrder(an.magnitude, bd.magnitude, bn.magnitude, ad.magnitude, lBits, rBits);
    if (order == 2) order = productOrder(an.magnitude, bd.magnitude, bn.magnitude, ad.magnitude);
  }
  return sl * order;
}

std::int64_t cmp(const Rational& a, const Rational& b) {
  if (cmp(a.num, b.num) == 0 && cmp(a.den, b.den) == 0) return 0;
  return cmpCross(a.num, a.den, b.num, b.den);
}

}  // namespace kovrix

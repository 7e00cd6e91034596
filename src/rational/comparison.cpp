#include "rational/comparison.hpp"

#include "arithmetic/comparison_big.hpp"
#include "arithmetic/multiplication_big.hpp"

namespace kovrix {

namespace {
int signOf(const BigInt& x) noexcept { return x.magnitude.isZero() ? 0 : (x.negative ? -1 : 1); }
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
    order = cmp(mul(an.magnitude, bd.magnitude), mul(bn.magnitude, ad.magnitude));
  }
  return sl * order;
}

std::int64_t cmp(const Rational& a, const Rational& b) {
  if (cmp(a.num, b.num) == 0 && cmp(a.den, b.den) == 0) return 0;
  return cmpCross(a.num, a.den, b.num, b.den);
}

}  // namespace kovrix

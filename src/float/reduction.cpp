#include "float/reduction.hpp"

#include "arithmetic/bitwise_big.hpp"
#include "float/arithmetic.hpp"
#include "float/constants.hpp"

namespace kovrix {

BigFloat piCache;
BigFloat twoPiCache;

void fillReductionCaches() {
  piCache = piBigFloat(defaultPrecision, 96);
  twoPiCache = piCache + piCache;
}

BigFloat floorBigFloat(const BigFloat& x, std::int64_t p) {
  if (x.isZero()) return x;
  BigFloat r = x;
  if (x.exponent >= 0) {  // already an integer
    normalize(r, p);
    return r;
  }
  // Integer part: the mantissa without its -exponent fraction bits.
  const std::int64_t fractionBits = checkedSub(0, x.exponent);
  r.mantissa = shr(x.mantissa, fractionBits);
  r.exponent = 0;
  if (x.negative && anyLowBitSet(x.mantissa, fractionBits)) return r - initBigFloat(p, 1.0);
  normalize(r, p);
  return r;
}

BigFloat roundBigFloat(const BigFloat& x, std::int64_t p) { return floorBigFloat(x + initBigFloat(p, 0.5), p); }

BigFloat reduceModTwoPi(const BigFloat& x) {
  const BigFloat k = roundBigFloat(x / twoPiCache, defaultPrecision);
  return x - k * twoPiCache;
}

}  // namespace kovrix

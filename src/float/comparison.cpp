#include "float/comparison.hpp"

#include "arithmetic/bitwise_big.hpp"
#include "float/mantissa256.hpp"

namespace kovrix {

int cmp(const BigFloat& a, const BigFloat& b) {
  if (a.isZero()) return b.isZero() ? 0 : (b.negative ? 1 : -1);
  if (b.isZero() || a.negative != b.negative) return a.negative ? -1 : 1;
  // Same signs: the top bit positions decide unless they coincide; then the
  // mantissa with the larger exponent is aligned onto the other exactly.
  if (mantissa256::fitsKernel(a) && mantissa256::fitsKernel(b)) {
    // Equal lengths: the exponents decide, then the limbs.
    const std::int64_t m = a.exponent != b.exponent ? (a.exponent > b.exponent ? 1 : -1)
                                                    : cmpN(a.mantissa.limbs(), b.mantissa.limbs());
    return static_cast<int>(a.negative ? -m : m);
  }
  const std::int64_t ta = checkedAdd(bitLength(a.mantissa), a.exponent);
  const std::int64_t tb = checkedAdd(bitLength(b.mantissa), b.exponent);
  std::int64_t magnitude;
  if (ta != tb) {
    magnitude = ta > tb ? 1 : -1;
  } else if (a.exponent >= b.exponent) {
    magnitude = cmp(shl(a.mantissa, a.exponent - b.exponent), b.mantissa);
  } else {
    magnitude = cmp(a.mantissa, shl(b.mantissa, b.exponent - a.exponent));
  }
  return static_cast<int>(a.negative ? -magnitude : magnitude);
}

}  // namespace kovrix

#include "arithmetic/subtraction_big.hpp"

#include "arithmetic/comparison_big.hpp"

namespace kovrix {

BigUInt sub(const BigUInt& a, const BigUInt& b) {
  if (cmp(a, b) < 0) [[unlikely]] raiseUnderflow("Subtraction underflow: a < b in BigUInt");
  return subOrdered(a, b);
}

BigUInt subOrdered(const BigUInt& a, const BigUInt& b) {
  assert(cmp(a, b) >= 0);
  BigUInt r = BigUInt::uninitialized(a.size());
  Limb borrow = subN(r.mutableLimbs(), a.limbs(), b.limbs());
  // a >= b holds (tested by sub, known to the other callers), so no borrow
  // leaves the top limb.
  if (borrow != ZeroLimb) [[unlikely]]
    raiseAssertion("subtraction_big(26, 5) `borrow == ZeroLimb` Unexpected final borrow in BigUInt subtraction");
  r.trim();
  return r;
}

}  // namespace kovrix

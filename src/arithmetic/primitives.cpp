#include "arithmetic/primitives.hpp"

namespace kovrix {

LimbDivMod udiv128(Limb hi, Limb lo, Limb d) {
  if (d == 0) [[unlikely]] raiseDivByZero("udiv128: divisor is zero");
  if (hi >= d) [[unlikely]] raiseValueError("udiv128: high limb must be < divisor (quotient must fit a Limb)");
  return udiv128Unchecked(hi, lo, d);
}

}  // namespace kovrix

#include "trigonometry/chebyshev.hpp"

#include "fixed/arithmetic.hpp"

namespace kovrix {

Fixed tanChebyshev(Fixed x) {
  // Powers by the failing floor multiply: x^2 leaves int64 once |x| passes
  // about 2^47 raw units, and that is where the polynomial fails.
  const Fixed x2 = x * x;
  const Fixed x3 = x2 * x;
  const Fixed x5 = x3 * x2;
  const Fixed x7 = x5 * x2;
  // The coefficients are below 1.0, so their floor products cannot overflow.
  const Fixed t3 = mulByFraction(Fixed{tanC3Q32}, x3);
  const Fixed t5 = mulByFraction(Fixed{tanC5Q32}, x5);
  const Fixed t7 = mulByFraction(Fixed{tanC7Q32}, x7);
  return addChk(addChk(addChk(x, t3), t5), t7);
}

}  // namespace kovrix

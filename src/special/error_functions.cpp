#include "special/error_functions.hpp"

#include <cmath>

#include "exponential/fixed_series_arithmetic.hpp"
#include "float64_constants.hpp"
#include "roots/sqrt_newton.hpp"

namespace kovrix {

double erfTaylor(double x, std::int64_t count) {
  // The float64 steps form the integers of step n + 1 at the end of step n,
  // so their last one is count (2 count + 1); testing it first raises in
  // exactly the cases the step-by-step products would (the products grow
  // with n), and then no later product can overflow.
  if (count >= 2) checkedMul(count, checkedAdd(checkedMul(2, count), 1));
  const double twoOverSqrtPi = 2.0 / std::sqrt(f64::pi);
  return generic::erfTaylor<Float64Arithmetic>(x, count, twoOverSqrtPi);
}

Fixed twoOverSqrtPiFixed() {
  // A constant of the algorithm: the same steps give the same value on every
  // call, so they run once (neither step can fail: sqrt of pi converges to
  // about 1.77 and 2 / 1.77 fits).
  static const Fixed value = toFixed(std::int64_t{2}) / sqrtNewtonGeneric(piFixed(), 10);
  return value;
}

Fixed erfTaylor(Fixed x, std::int64_t count) {
  return generic::erfTaylor<FixedArithmetic>(x, count, twoOverSqrtPiFixed());
}

Fixed erfTaylor(Fixed x, Terms<15> count) {
  return generic::erfTaylor<FixedArithmetic>(x, count, twoOverSqrtPiFixed());
}

}  // namespace kovrix

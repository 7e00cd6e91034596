#include "special/error_functions.hpp"

#include <cmath>

namespace kovrix {

double erfTaylor(double x, std::int64_t count) {
  // The float64 steps form the integers of step n + 1 at the end of step n,
  // so their last one is count (2 count + 1); testing it first raises in
  // exactly the cases the step-by-step products would (the products grow
  // with n), and then no later product can overflow.
  if (count >= 2) checkedMul(count, checkedAdd(checkedMul(2, count), 1));
  const double twoOverSqrtPi = 2.0 / std::sqrt(3.141592653589793);
  return generic::erfTaylor<Float64Arithmetic>(x, count, twoOverSqrtPi);
}

}  // namespace kovrix

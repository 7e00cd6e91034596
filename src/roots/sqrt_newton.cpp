#include "roots/sqrt_newton.hpp"

#include "exponential/fixed_series_arithmetic.hpp"
#include "float64_constants.hpp"

namespace kovrix {

double sqrtNewtonGeneric(double x, std::int64_t count) { return generic::sqrtNewton<Float64Arithmetic>(x, count); }

double sqrtNewtonOrNaN(double x, std::int64_t count) {
  if (x < 0.0) return f64::quietNaN;
  return sqrtNewtonGeneric(x, count);
}

Fixed sqrtNewtonGeneric(Fixed x, std::int64_t count) { return generic::sqrtNewton<FixedArithmetic>(x, count); }

}  // namespace kovrix

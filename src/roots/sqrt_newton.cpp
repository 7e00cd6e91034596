#include "roots/sqrt_newton.hpp"

#include "exponential/fixed_series_arithmetic.hpp"

namespace kovrix {

double sqrtNewtonGeneric(double x, std::int64_t count) { return generic::sqrtNewton<Float64Arithmetic>(x, count); }

Fixed sqrtNewtonGeneric(Fixed x, std::int64_t count) { return generic::sqrtNewton<FixedArithmetic>(x, count); }

}  // namespace kovrix

#include "roots/sqrt_newton.hpp"

namespace kovrix {

double sqrtNewtonGeneric(double x, std::int64_t count) { return generic::sqrtNewton<Float64Arithmetic>(x, count); }

}  // namespace kovrix

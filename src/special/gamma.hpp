// The gamma function by the Lanczos approximation (g = 7, nine
// coefficients), and the factorial as a float64 product.
#pragma once

#include <array>
#include <cstdint>

#include "fixed/fixed_point.hpp"

namespace kovrix {

// Lanczos coefficients c_0 .. c_8 for g = 7; with them
//   Gamma(z + 1) ~ sqrt(2 pi) t^(z + 1/2) e^(-t) (c_0 + sum_{k=1}^{8} c_k / (z + k)),
// t = z + g + 1/2.  These are the published float64 values for g = 7, n = 9.
inline constexpr std::array<double, 9> lanczosCoefficients = {
    0.9999999999998099,    676.5203681218851,      -1259.1392167224028,
    771.3234287776531,     -176.6150291621406,     12.507343278686905,
    -0.13857109526572012,  9.984369578019572e-6,   1.5056327351493116e-7,
};
// sqrt(2 pi) as the float64 the approximation was tuned with.
inline constexpr double lanczosSqrtTwoPi = 2.5066282746310002;

// Gamma(x).  x >= 1 (and NaN): the Lanczos sum; 0 < x < 1: Gamma(1 + x) / x;
// x <= 0 off the integers: the reflection pi / (sin(pi x) Gamma(1 - x)).  A
// non-positive integer x (a pole; -inf counts as one) raises ValueError.
double gammaLanczosFloat(double x);
// The same, answering a pole (a non-positive integer, -0.0 and -inf included)
// with the quiet NaN instead of raising.
double gammaOrNaN(double x);

// n! as the float64 product 1 * 2 * ... * n in ascending order; 0.0 for
// n < 0, 1.0 for n = 0 and 1, +inf from n = 171 on.
double factorial(std::int64_t n);

// n! in Q32.32 (the argument is an integer either way, so the
// representation is in the name): one multiplied by i·one for i = 2 .. n; 0 for n < 0.
// 12! = 479001600·one is the largest that fits; from 13 on the product
// raises OverflowDefect.
Fixed factorialFixed(std::int64_t n);

}  // namespace kovrix

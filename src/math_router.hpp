// The Q32.32 elementary and special functions behind the kovrix_fixed_*
// function exports: one function per export, each choosing its kernel.
//
//   sin, cos            one circular CORDIC rotation (it reduces by itself)
//   tan                 the polynomial tangent after reduction modulo pi and
//                       the complement identity tan f = 1 / tan(pi/2 - f)
//   exp                 hyperbolic CORDIC with halving and squaring
//   sinh, cosh, tanh    hyperbolic CORDIC, within its convergence budget
//   atan, atan2         circular CORDIC in vectoring mode
//   ln                  the atanh series (15 terms, no reduction)
//   sqrt                Heron's iteration from x (15 steps)
//   erf, J0             their power series (15 terms)
//   pow, inverse functions   composed from the above
//
// Every function raises on any failure (domain error, overflow, zero
// divisor); the exports turn a failure into 0.  None of them reduces more
// than stated: accuracy falls with the distance from the series' centre,
// and those values are the defined results.
#pragma once

#include <cstdint>

#include "exponential/series_arithmetic.hpp"
#include "fixed/fixed_point.hpp"

namespace kovrix::router {

// Counts fixed for the router.
// ln, erf and J0 take their counts as compile-time constants, so that their
// integer divisors fold into multiplications.
using LnTerms = Terms<15>;
inline constexpr std::int64_t sqrtIterations = 15;
// The square roots inside asin, acos, asinh and acosh.
inline constexpr std::int64_t innerSqrtIterations = 10;
using ErfTerms = Terms<15>;
using BesselTerms = Terms<15>;

Fixed sin(Fixed x);
Fixed cos(Fixed x);
// tan by reduction to [-pi/2, pi/2] and, beyond pi/4, the reciprocal of the
// polynomial at the complement; an odd multiple of pi/2 divides by zero.
Fixed tanReduced(Fixed x);
Fixed exp(Fixed x);
// x <= 0 raises ValueError "ln: argument must be positive, got <raw>".
Fixed ln(Fixed x);
Fixed sqrt(Fixed x);
Fixed atan(Fixed x);
Fixed atan2(Fixed y, Fixed x);
Fixed sinh(Fixed x);
Fixed cosh(Fixed x);
Fixed tanh(Fixed x);
// exp(b * ln a).
Fixed pow(Fixed a, Fixed b);
// |x| > one raises ValueError (which the exports answer with 0, like every
// failure here).
Fixed asin(Fixed x);
Fixed acos(Fixed x);
Fixed asinh(Fixed x);
// x < one raises ValueError.
Fixed acosh(Fixed x);
Fixed atanh(Fixed x);
Fixed factorial(std::int64_t n);
Fixed erf(Fixed x);
Fixed besselJ0(Fixed x);

}  // namespace kovrix::router

// The Bessel function J0 by its power series,
//   J0(x) = sum_{k >= 0} (-q)^k / (k!)^2,   q = (x/2)^2,
// with a fixed number of terms and no asymptotic branch: for |x| beyond
// about 10 the truncated series is far from J0.
#pragma once

#include <cstdint>

#include "exponential/series_arithmetic.hpp"
#include "fixed/fixed_point.hpp"

namespace kovrix {

// float64: q = (x*0.5)*(x*0.5); the term carried is q^k / ((k-1)!)^2 and is
// divided by k^2 when used, then multiplied by q for the next step.
// count < 2 gives 1.
double besselJ0(double x, std::int64_t count);

// Q32.32: q = (x / 2·one) * (x / 2·one); the term is multiplied by q and
// then divided by k^2·one, both in one step k (the opposite order to the
// float64 steps, hence a separate instance).  count < 2 gives one.
// J0(1) with 15 terms gives 3286499039.
Fixed besselJ0(Fixed x, std::int64_t count);
// The same with the 15 terms of the router fixed at compile time.
Fixed besselJ0(Fixed x, Terms<15>);

}  // namespace kovrix

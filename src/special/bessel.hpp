// The Bessel function J0 by its power series,
//   J0(x) = sum_{k >= 0} (-q)^k / (k!)^2,   q = (x/2)^2,
// with a fixed number of terms and no asymptotic branch: for |x| beyond
// about 10 the truncated series is far from J0.
#pragma once

#include <cstdint>

namespace kovrix {

// float64: q = (x*0.5)*(x*0.5); the term carried is q^k / ((k-1)!)^2 and is
// divided by k^2 when used, then multiplied by q for the next step.
// count < 2 gives 1.
double besselJ0(double x, std::int64_t count);

}  // namespace kovrix

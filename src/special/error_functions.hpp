// The error function by its Maclaurin series,
//   erf x = (2 / sqrt(pi)) * sum_{n >= 0} (-1)^n x^(2n+1) / (n! (2n + 1)).
//
// The running term u_n = x^(2n+1) / (n! (2n + 1)) comes from the previous one
// as u_n = ((x^2 u_{n-1}) (2n - 1)) / (n (2n + 1)); the terms are subtracted
// and added alternately from n = 1.  No reduction: the count of terms fixes
// the accuracy, which falls quickly for |x| above 2.
#pragma once

#include <cstdint>

#include "errors.hpp"
#include "exponential/series_arithmetic.hpp"
#include "fixed/fixed_point.hpp"

namespace kovrix {

namespace generic {

// `count` terms of the series (count < 2: the first term alone), scaled by
// the representation's value of 2/sqrt(pi), which the instance supplies.
// The multiplier 2n - 1 and divisor n(2n + 1) of step n are formed with
// overflow-tested integer products.
template <SeriesArithmetic A, TermCount Count>
typename A::Value erfTaylor(typename A::Value x, Count count, typename A::Value twoOverSqrtPi) {
  using V = typename A::Value;
  const V square = A::mul(x, x);
  V sum = x;
  V term = x;
  forEachStep(count, [&](auto n) {
    const std::int64_t multiplier = stepInteger(n, [](std::int64_t k) { return checkedSub(checkedMul(2, k), 1); });
    const std::int64_t divisor = stepInteger(n, [](std::int64_t k) { return checkedMul(k, checkedAdd(checkedMul(2, k), 1)); });
    term = A::divInt(A::mulInt(A::mul(square, term), multiplier), divisor);
    sum = (static_cast<std::int64_t>(n) % 2 == 1) ? A::sub(sum, term) : A::add(sum, term);
  });
  return A::mul(twoOverSqrtPi, sum);
}

}  // namespace generic

// float64 instance; 2/sqrt(pi) is 2 / sqrt(3.141592653589793) with the
// float64 square root.
double erfTaylor(double x, std::int64_t count);

// Q32.32 instance; 2/sqrt(pi) is (2·one) / sqrtNewtonGeneric(piFixed, 10
// iterations).  erf 1 with 15 terms gives 3619372346.
Fixed erfTaylor(Fixed x, std::int64_t count);
// The same with the 15 terms of the router fixed at compile time.
Fixed erfTaylor(Fixed x, Terms<15>);

// The Q32.32 2/sqrt(pi) of the Fixed instance (the steps above, run once).
Fixed twoOverSqrtPiFixed();

}  // namespace kovrix

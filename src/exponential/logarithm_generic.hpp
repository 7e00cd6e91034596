// The natural logarithm by the inverse hyperbolic tangent series,
//   ln x = 2 atanh(y) = 2 * sum_{k >= 0} y^(2k+1) / (2k + 1),  y = (x - 1) / (x + 1).
//
// y lies in (-1, 1) for every x > 0, so the series always converges, but
// only fast near x = 1 (|y| small); the kernel makes no range reduction, and
// its count of terms alone fixes the accuracy.  Callers that need accuracy
// far from 1 reduce first (x = m·2^k) and add k·ln 2.
#pragma once

#include <cstdint>

#include "errors.hpp"
#include "exponential/series_arithmetic.hpp"
#include "fixed/fixed_point.hpp"

namespace kovrix {

namespace generic {

// `count` terms (count <= 1: the first term y alone), doubled at the end.
// x <= 0 raises ValueError.  The odd powers are carried undivided and each
// term divides its power afresh by 2k + 1.
template <SeriesArithmetic A, TermCount Count>
typename A::Value lnAtanhSeries(typename A::Value x, Count count) {
  using V = typename A::Value;
  if (A::isNegative(x) || A::isZero(x)) raiseValueError("lnGeneric: input <= 0 (real log undefined)");
  const V numerator = A::sub(x, A::one());
  const V denominator = A::add(x, A::one());
  const V y = A::div(numerator, denominator);
  const V y2 = A::mul(y, y);
  V sum = y;
  V power = y;
  forEachStep(count, [&](auto k) {
    power = A::mul(power, y2);
    sum = A::add(sum, A::divInt(power, stepInteger(k, [](std::int64_t i) { return checkedAdd(checkedMul(2, i), 1); })));
  });
  return A::twice(sum);
}

}  // namespace generic

// Q32.32 instance: ln 2 with 15 terms gives 2977044462 (0.6931471783); far
// from 1 the truncation shows (ln 100 gives 4.1510).
Fixed lnGeneric(Fixed x, std::int64_t count);
// The same with the 15 terms of the router fixed at compile time.
Fixed lnGeneric(Fixed x, Terms<15>);

}  // namespace kovrix

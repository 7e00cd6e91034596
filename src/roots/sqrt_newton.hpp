// Square root by Heron's (Newton's) iteration, started from the argument.
//
// One template for every representation whose step is "average the guess
// and the quotient": g' = (x / g + g) * 1/2.  The first guess is x itself, so
// an argument far from 1 spends about one step per halving of its distance
// before the quadratic phase; the caller's iteration count is the whole
// budget, and the result is whatever guess the count reaches.
#pragma once

#include <cstdint>

#include "errors.hpp"
#include "exponential/series_arithmetic.hpp"
#include "fixed/fixed_point.hpp"

namespace kovrix {

namespace generic {

// sqrt(x) after at most `count` Heron steps.  From the second step on, a
// step that reproduces its guess exactly ends the iteration (a fixed point
// stays fixed).  x < 0 raises ValueError; x = 0 gives zero; count <= 0 gives
// x unchanged.
template <SeriesArithmetic A>
typename A::Value sqrtNewton(typename A::Value x, std::int64_t count) {
  using V = typename A::Value;
  if (A::isNegative(x)) raiseValueError("sqrtNewton: input is negative (sqrt undefined)");
  if (A::isZero(x)) return A::zero();
  V guess = x;
  if (count <= 0) return guess;
  for (std::int64_t i = 1;; ++i) {
    // (x / g + g) and (g + x / g) are the same sum in every arithmetic used
    // here (IEEE-754 addition and exact integer addition commute).
    const V next = A::half(A::add(A::div(x, guess), guess));
    if (i > 1 && A::equal(next, guess)) return next;
    guess = next;
    if (i == count) return guess;  // i never passes count, so it cannot overflow
  }
}

}  // namespace generic

// float64 instance.  NaN and +inf run through the steps and give NaN.
double sqrtNewtonGeneric(double x, std::int64_t count);
// The same, answering x < 0 with the quiet NaN instead of raising.
double sqrtNewtonOrNaN(double x, std::int64_t count);

// Q32.32 instance: quotient truncated, sum overflow-tested, the halving a
// floor.  sqrt 2 with 15 iterations gives 6074000999; sqrt 2^30 is still
// 43025.54 after 15 (the guess has only halved its way down from 2^30).
Fixed sqrtNewtonGeneric(Fixed x, std::int64_t count);

}  // namespace kovrix

// Truncated Taylor series of the exponential and of ln(1 + x).
//
// The kernels sum a fixed number of terms of the series on the argument as
// given: no range reduction, no stopping rule.  The count is the accuracy.
#pragma once

#include <cstdint>

#include "exponential/series_arithmetic.hpp"

namespace kovrix {

namespace generic {

// exp(x) = sum of x^i / i! for i = 0 .. count - 1.  Each term comes from the
// previous one by one multiplication by x and one division by i, in that
// order; count <= 1 gives 1.
template <SeriesArithmetic A>
typename A::Value expTaylor(typename A::Value x, std::int64_t count) {
  using V = typename A::Value;
  V sum = A::one();
  V term = A::one();
  for (std::int64_t i = 1; i < count; ++i) {
    term = A::divInt(A::mul(term, x), i);
    sum = A::add(sum, term);
  }
  return sum;
}

}  // namespace generic

// float64 instance of the exponential series.
double expTaylor(double x, std::int64_t count);

// ln(1 + x) = x - x^2/2 + x^3/3 - ... with count - 1 terms (the last is
// -/+ x^(count-1) / (count-1)).  The power is carried undivided and each
// term divides it afresh.  1 + x <= 0 raises ValueError.  The series
// converges only for -1 < x <= 1.
double lnTaylor(double x, std::int64_t count);
// The same, answering 1 + x <= 0 with the quiet NaN instead of raising.
double lnTaylorOrNaN(double x, std::int64_t count);

}  // namespace kovrix

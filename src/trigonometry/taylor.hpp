// Truncated Taylor series of sine, cosine and arctangent on float64.
//
// Each kernel sums exactly `count` terms on the argument as given (no
// reduction: a large argument gives the polynomial's value).  Two shapes of
// the same series exist: the float64 kernels below carry the term already
// divided and multiply it by the square afterwards, while the templates in
// `generic` multiply by the square first and divide second, as the exact and
// multi-precision representations do.  In float64 the two orders round
// differently, so the float64 kernels are written out on their own.
#pragma once

#include <cstdint>

#include "errors.hpp"
#include "exponential/series_arithmetic.hpp"

namespace kovrix {

namespace generic {

// The shape for exact and multi-precision representations: the term is
// multiplied by x^2 and then divided by the integer (2i)(2i + 1) (sine) or
// (2i - 1)(2i) (cosine), formed with overflow-tested products; terms are
// subtracted and added alternately from the second.  count < 2 gives the
// first term alone (x, or one).
// first - t1 + t2 - ... with t_i = t_(i-1) * square / divisorOf(2i), t_0 =
// first: `count` terms in all.
template <SeriesArithmetic A, class DivisorOf>
typename A::Value alternatingSeries(typename A::Value first, typename A::Value square, std::int64_t count,
                                    DivisorOf divisorOf) {
  using V = typename A::Value;
  V sum = first;
  V term = first;
  for (std::int64_t i = 1; i < count; ++i) {
    term = A::divInt(A::mul(term, square), divisorOf(checkedMul(2, i)));
    sum = (i % 2 == 1) ? A::sub(sum, term) : A::add(sum, term);
  }
  return sum;
}

template <SeriesArithmetic A>
typename A::Value sinSeries(typename A::Value x, std::int64_t count) {
  return alternatingSeries<A>(x, A::mul(x, x), count,
                              [](std::int64_t twoI) { return checkedMul(twoI, checkedAdd(twoI, 1)); });
}

template <SeriesArithmetic A>
typename A::Value cosSeries(typename A::Value x, std::int64_t count) {
  return alternatingSeries<A>(A::one(), A::mul(x, x), count,
                              [](std::int64_t twoI) { return checkedMul(twoI, checkedSub(twoI, 1)); });
}

// x - x^3/3 + x^5/5 - ...: the odd power is carried undivided and each term
// divides it afresh by 2i + 1.
template <SeriesArithmetic A>
typename A::Value atanSeries(typename A::Value x, std::int64_t count) {
  using V = typename A::Value;
  const V square = A::mul(x, x);
  V sum = x;
  V power = x;
  for (std::int64_t i = 1; i < count; ++i) {
    power = A::mul(power, square);
    const V term = A::divInt(power, checkedAdd(checkedMul(2, i), 1));
    sum = (i % 2 == 1) ? A::sub(sum, term) : A::add(sum, term);
  }
  return sum;
}

}  // namespace generic

// The float64 alternating series first - q1 + q2 - ... of `count` terms in
// all, where each quotient q = term / divisor is added or subtracted as it is
// formed, the next term is q * factor and the next divisor divisorOf(i) (i
// the index of the term just added, from 2).  The sine, the cosine and J0
// share exactly this order of operations; the divisor is formed only when
// another term follows.
template <class DivisorOf>
double alternatingQuotientSeries(double first, double term, double divisor, double factor, std::int64_t count,
                                 DivisorOf divisorOf) {
  if (count < 2) return first;
  double sum = first;
  bool subtract = true;
  for (std::int64_t i = 2;; ++i) {
    const double quotient = term / divisor;
    sum = subtract ? sum - quotient : sum + quotient;
    if (i == count) return sum;
    term = quotient * factor;
    divisor = static_cast<double>(divisorOf(i));
    subtract = !subtract;
  }
}

// x - x^3/3! + x^5/5! - ... with count terms; count < 2 gives x.
double sinTaylor(double x, std::int64_t count);

// 1 - x^2/2! + x^4/4! - ... with count terms; count < 2 gives 1.
double cosTaylor(double x, std::int64_t count);

// x - x^3/3 + x^5/5 - ... with count terms; count < 2 gives x.  Converges
// only for |x| <= 1, and slowly near 1.
double atanTaylor(double x, std::int64_t count);

}  // namespace kovrix

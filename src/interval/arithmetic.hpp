// Outward interval arithmetic: + - * / on Interval, negation, the square root,
// the magnitude and the integer power.
//
// Each bound is the round-to-nearest float64 result moved one step outward
// (nextDown for a lower bound, nextUp for an upper one).  Round-to-nearest is
// off by at most half a unit, so one step encloses the exact bound; an
// infinite bound stays infinite, and a NaN bound (0 * inf, inf - inf, a NaN
// operand) stays NaN, except inside min and max, which skip it.
#pragma once

#include <cstdint>

#include "interval/interval_type.hpp"

namespace kovrix {

inline Interval operator+(Interval a, Interval b) noexcept {
  return {nextDown(a.lo + b.lo), nextUp(a.hi + b.hi)};
}

inline Interval operator-(Interval a, Interval b) noexcept {
  return {nextDown(a.lo - b.hi), nextUp(a.hi - b.lo)};
}

// Negation is exact in float64 but widens like every other operation.
inline Interval operator-(Interval x) noexcept { return {nextDown(-x.hi), nextUp(-x.lo)}; }

// The four corner products; a NaN product (0 * inf) is skipped by min and max,
// so [0, 1] * [1, +inf] is [nextDown(0), +inf].
inline Interval operator*(Interval a, Interval b) noexcept {
  const double p1 = a.lo * b.lo, p2 = a.lo * b.hi, p3 = a.hi * b.lo, p4 = a.hi * b.hi;
  return {nextDown(minBound(minBound(minBound(p1, p2), p3), p4)),
          nextUp(maxBound(maxBound(maxBound(p1, p2), p3), p4))};
}

[[noreturn]] void raiseIntervalDivByZero();

// Division by an interval that contains zero fails with DivByZeroDefect
// "interval division by an interval containing zero".  Otherwise the divisor
// has one strict sign and the extremes are among the four corner quotients.
inline Interval operator/(Interval a, Interval b) {
  if (b.lo <= 0 && b.hi >= 0) [[unlikely]] raiseIntervalDivByZero();
  const double q1 = a.lo / b.hi, q2 = a.lo / b.lo, q3 = a.hi / b.hi, q4 = a.hi / b.lo;
  return {nextDown(minBound(minBound(minBound(q1, q2), q3), q4)),
          nextUp(maxBound(maxBound(maxBound(q1, q2), q3), q4))};
}

// Square root; x.lo < 0 fails with ValueError "sqrt of an interval with a
// negative lower bound".  A zero lower bound gives exactly 0.
Interval sqrt(Interval x);

// The set {|v| : v in x}, each bound stepped outward.
Interval abs(Interval x) noexcept;

// Integer power with the C library pow and two outward steps per bound.
// n < 0 with 0 in x fails with DivByZeroDefect "pow with negative exponent of
// an interval containing zero".
Interval pow(Interval x, std::int64_t n);

}  // namespace kovrix

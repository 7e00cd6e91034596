// Outward interval arithmetic: + - * / on Interval, negation, the square root,
// the magnitude and the integer power.
//
// Each bound is the round-to-nearest float64 result moved one step outward
// (nextDown for a lower bound, nextUp for an upper one).  Round-to-nearest is
// off by at most half a unit, so one step encloses the exact bound; an
// infinite bound stays infinite, and a NaN bound (0 * inf, inf - inf, a NaN
// operand) stays NaN, except inside min and max, which skip it.
#pragma once

#include <emmintrin.h>

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

namespace detail {
// The least and the greatest of four candidates (x0, x1, y0, y1) skipping
// NaN, each moved one step outward: [nextDown(min), nextUp(max)].  A NaN is
// replaced by +inf for the minimum and by -inf for the maximum, which leaves
// the extremes of the other candidates unchanged; only when all four are NaN
// does the result stay NaN (the first candidate, as a chain of min/max would
// give).  Which zero wins a tie is immaterial: nextDown and nextUp map +0 and
// -0 alike.  The candidates are compared in SSE2 lanes without branches,
// because the signs of interval bounds are unpredictable.
inline Interval outwardExtremes(__m128d x, __m128d y) noexcept {
  const __m128d inf = _mm_set1_pd(__builtin_inf());
  const __m128d nanX = _mm_cmpunord_pd(x, x), nanY = _mm_cmpunord_pd(y, y);
  if ((_mm_movemask_pd(nanX) & _mm_movemask_pd(nanY)) == 3) [[unlikely]] {
    const double first = _mm_cvtsd_f64(x);
    return {first, first};
  }
  const __m128d negInf = _mm_xor_pd(inf, _mm_set1_pd(-0.0));
  const __m128d xLo = _mm_or_pd(_mm_andnot_pd(nanX, x), _mm_and_pd(nanX, inf));
  const __m128d yLo = _mm_or_pd(_mm_andnot_pd(nanY, y), _mm_and_pd(nanY, inf));
  const __m128d xHi = _mm_or_pd(_mm_andnot_pd(nanX, x), _mm_and_pd(nanX, negInf));
  const __m128d yHi = _mm_or_pd(_mm_andnot_pd(nanY, y), _mm_and_pd(nanY, negInf));
  const __m128d mn = _mm_min_pd(xLo, yLo), mx = _mm_max_pd(xHi, yHi);
  const double lo = _mm_cvtsd_f64(_mm_min_sd(mn, _mm_unpackhi_pd(mn, mn)));
  const double hi = _mm_cvtsd_f64(_mm_max_sd(mx, _mm_unpackhi_pd(mx, mx)));
  return {nextDown(lo), nextUp(hi)};
}
}  // namespace detail

// The four corner products a.lo b.lo, a.lo b.hi, a.hi b.lo, a.hi b.hi; a NaN
// product (0 * inf) is skipped by min and max, so [0, 1] * [1, +inf] is
// [nextDown(0), +inf].  Lane products are the same IEEE products as scalar
// ones.
inline Interval operator*(Interval a, Interval b) noexcept {
  // The empty asm pins both bounds in registers first: the exports spill
  // b.lo and b.hi separately around the pending-error test, and reloading the
  // pair with one 16-byte load would stall on store forwarding.
  double bLo = b.lo, bHi = b.hi;
  __asm__("" : "+x"(bLo), "+x"(bHi));
  const __m128d bb = _mm_set_pd(bHi, bLo);  // lanes (b.lo, b.hi)
  return detail::outwardExtremes(_mm_mul_pd(_mm_set1_pd(a.lo), bb), _mm_mul_pd(_mm_set1_pd(a.hi), bb));
}

[[noreturn]] void raiseIntervalDivByZero();

// Division by an interval that contains zero fails with DivByZeroDefect
// "interval division by an interval containing zero".  Otherwise the divisor
// has one strict sign and the extremes are among the four corner quotients
// a.lo / b.hi, a.lo / b.lo, a.hi / b.hi, a.hi / b.lo.
inline Interval operator/(Interval a, Interval b) {
  if (b.lo <= 0 && b.hi >= 0) [[unlikely]] raiseIntervalDivByZero();
  const __m128d bb = _mm_set_pd(b.lo, b.hi);  // lanes (b.hi, b.lo)
  return detail::outwardExtremes(_mm_div_pd(_mm_set1_pd(a.lo), bb), _mm_div_pd(_mm_set1_pd(a.hi), bb));
}

// A divisor containing zero gives (-inf, +inf), every real being a quotient
// of some members; otherwise a / b.  Never fails.
inline Interval divExtended(Interval a, Interval b) noexcept {
  if (b.lo <= 0 && 0 <= b.hi) return {-__builtin_inf(), __builtin_inf()};
  return a / b;
}

// Square root; x.lo < 0 fails with ValueError "sqrt of an interval with a
// negative lower bound".  A zero lower bound gives exactly 0.
Interval sqrt(Interval x);
// The square root of the part of x at or above zero, never failing: (NaN,
// NaN) when x.hi < 0; a lower bound below zero (or NaN) is cut to 0.
Interval sqrtClipped(Interval x);

// The set {|v| : v in x}, each bound stepped outward.
Interval abs(Interval x) noexcept;

// Integer power with the C library pow and two outward steps per bound.
// n < 0 with 0 in x fails with DivByZeroDefect "pow with negative exponent of
// an interval containing zero".
Interval pow(Interval x, std::int64_t n);

}  // namespace kovrix

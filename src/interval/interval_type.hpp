// Interval: a closed range of reals between two float64 bounds.
//
// The value is plain (two doubles, lo then hi) and is neither checked nor
// reordered on construction: lo > hi or a NaN bound makes it invalid, and an
// invalid interval is carried through every operation as its bounds dictate.
// Outward rounding is done in plain sight: every computed bound is formed in
// round-to-nearest float64 and then moved one representable step away from the
// interior with nextDown / nextUp.
#pragma once

#include <bit>
#include <cstdint>

namespace kovrix {

struct Interval {
  double lo;
  double hi;
};

namespace detail {
// The rare inputs of a step: +-0, +-inf and NaN.  (b << 1) drops the sign;
// minus one maps 0 to the top and keeps every finite nonzero magnitude below
// 0xFFDFFFFFFFFFFFFF, the value for the largest finite one.
inline bool stepIsSpecial(std::uint64_t b) noexcept { return (b << 1) - 1 >= 0xFFDFFFFFFFFFFFFFULL; }
double nextDownSpecial(double v) noexcept;
double nextUpSpecial(double v) noexcept;
}  // namespace detail

// The next float64 below v.  -inf stays -inf, NaN stays NaN, +inf gives the
// largest finite value, and both zeros give -2^-1074 (the negative smallest
// subnormal).  For a finite nonzero v the encoding is sign-magnitude, so the
// step is one integer unit on the bits: down for a positive v, up (away from
// zero) for a negative one; this crosses binade and subnormal boundaries
// correctly and is written without a data-dependent branch.
inline double nextDown(double v) noexcept {
  const std::uint64_t b = std::bit_cast<std::uint64_t>(v);
  if (detail::stepIsSpecial(b)) [[unlikely]] return detail::nextDownSpecial(v);
  const std::uint64_t negative = b >> 63;  // 1 or 0
  return std::bit_cast<double>(b + 2 * negative - 1);
}

// The mirror image of nextDown: +inf stays, NaN stays, -inf gives the most
// negative finite value, both zeros give +2^-1074.
inline double nextUp(double v) noexcept {
  const std::uint64_t b = std::bit_cast<std::uint64_t>(v);
  if (detail::stepIsSpecial(b)) [[unlikely]] return detail::nextUpSpecial(v);
  const std::uint64_t negative = b >> 63;
  return std::bit_cast<double>(b + 1 - 2 * negative);
}

// Two outward steps, used by the elementary functions (one more than the
// arithmetic takes, to cover the C library's error of under one unit).
inline double nextDown2(double v) noexcept { return nextDown(nextDown(v)); }
inline double nextUp2(double v) noexcept { return nextUp(nextUp(v)); }

// min and max of two bounds skipping a NaN operand: min(x, y) is x when
// x <= y or y is NaN, else y.  Only two NaNs give NaN.  Of two zeros the
// first operand is kept (-0 <= +0 holds both ways).
inline double minBound(double x, double y) noexcept { return (x <= y || y != y) ? x : y; }
inline double maxBound(double x, double y) noexcept { return (x >= y || y != y) ? x : y; }

// ---- set operations and predicates (exact: nothing is moved) ------------------

inline bool isValid(Interval x) noexcept { return x.lo <= x.hi; }
// Plain round-to-nearest, no outward step.
inline double width(Interval x) noexcept { return x.hi - x.lo; }
inline double midpoint(Interval x) noexcept { return x.lo + (x.hi - x.lo) * 0.5; }
inline bool contains(Interval x, double v) noexcept { return x.lo <= v && x.hi >= v; }
inline bool contains(Interval a, Interval b) noexcept { return a.lo <= b.lo && a.hi >= b.hi; }
inline bool overlaps(Interval a, Interval b) noexcept { return a.lo <= b.hi && a.hi >= b.lo; }
inline Interval hull(Interval a, Interval b) noexcept {
  return {minBound(a.lo, b.lo), maxBound(a.hi, b.hi)};
}
// Disjoint operands give lo > hi: the empty set has no representation.
inline Interval intersect(Interval a, Interval b) noexcept {
  return {maxBound(a.lo, b.lo), minBound(a.hi, b.hi)};
}

}  // namespace kovrix

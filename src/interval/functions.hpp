// Elementary functions of an Interval: exp, ln, arctan, arctan2, sin, cos.
//
// Each bound is the C library's float64 function value moved outward by two
// steps (nextDown twice below, nextUp twice above): glibc's exp, log, atan,
// atan2, sin and cos are within one unit of the exact value, so two steps
// enclose it.  Where a function is not monotone over the interval the result
// is widened to the function's whole range.
#pragma once

#include <cstdint>

#include "interval/interval_type.hpp"

namespace kovrix {

// Lower bound never negative: a lower bound that steps to <= 0 (or is NaN)
// becomes +0.
Interval exp(Interval x) noexcept;
// x.lo <= 0 fails with ValueError "ln of an interval with a non-positive lower
// bound".
Interval ln(Interval x);
// ln of the part of x above zero, never failing: (NaN, NaN) when x.hi <= 0,
// [-inf, ln(x.hi) stepped up] when only x.lo <= 0, else ln(x).
Interval lnClipped(Interval x);
Interval arctan(Interval x) noexcept;
// The angles of the points of the box y x x.
Interval arctan2(Interval y, Interval x) noexcept;
Interval sin(Interval x) noexcept;
Interval cos(Interval x) noexcept;

namespace detail {
// Largest magnitude up to which the float64 critical-point test of sin and cos
// never loses a peak or trough from the enclosure (functions.cpp gives the
// argument); beyond it a "monotone" answer is checked exactly.
inline constexpr double kCriticalTestReliableBound = 0x1p26;

// floor(|x| * 2/pi) mod 256 for a finite |x| >= 1, by an exact multiplication
// with the bits of 2/pi.  `nearInteger` is set when |x| * 2/pi lies so close
// below an integer that the truncated product cannot decide the floor (never
// observed for a double; a caller treats it as "maybe an integer").
struct TwoOverPiFloor {
  unsigned low8;
  bool nearInteger;
};
TwoOverPiFloor floorTwoOverPi(double ax) noexcept;

// Word i (0 <= i < kTwoOverPiWords) of the bits of 2/pi after the binary
// point, most significant first: 2/pi = sum_i word(i) 2^(-64 (i + 1)).
inline constexpr int kTwoOverPiWords = 24;
std::uint64_t twoOverPiWord(int i) noexcept;

// Exact test: does [lo, hi] contain an x with x * 2/pi an integer of the given
// parity (odd: the peaks and troughs of sin, at (j + 1/2) pi; even: those of
// cos, at j pi)?  Requires finite lo <= hi of one sign, |lo|, |hi| >= 1, and
// hi - lo < 4 pi.  Answers true when the reduction cannot decide.
bool containsCriticalPoint(double lo, double hi, unsigned parity) noexcept;
}  // namespace detail

}  // namespace kovrix

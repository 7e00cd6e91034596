// The Fixed representation: a signed 64-bit raw value standing for raw / 2^f.
//
// Every function kernel works in Q32.32 (f = 32): the upper 32 bits are the
// signed integer part (-2^31 .. 2^31 - 1), the lower 32 bits the fraction
// (resolution 2^-32).  The exported arithmetic (fixed/saturating.hpp) lets the
// caller choose f per call and saturates; the internal operations declared
// here and in fixed/arithmetic.hpp raise OverflowDefect instead, so that an
// overflow inside a kernel aborts the whole kernel.
#pragma once

#include <compare>
#include <cstdint>
#include <limits>

#include "arithmetic/primitives.hpp"
#include "errors.hpp"
#include "float64_constants.hpp"

namespace kovrix {

struct Fixed {
  std::int64_t raw;

  friend constexpr bool operator==(Fixed, Fixed) = default;
  friend constexpr auto operator<=>(Fixed, Fixed) = default;
};

// ---- named constants (Q32.32 where they are values) ---------------------------

inline constexpr std::int64_t Q32One = std::int64_t{1} << 32;  // 1.0
inline constexpr std::int64_t Q32Frac = 32;                     // fraction bits of the kernels
inline constexpr std::int64_t Q32Mask = static_cast<std::int64_t>(0xFFFFFFFF00000000ULL);  // integer bits
// Largest fraction-bit count accepted by kovrix_fixed_from_int / kovrix_fixed_mul.
inline constexpr std::int64_t MaxFracBits = 63;
// 2*pi*2^32 = 26986075409.04..., rounded to nearest: the period of the exported
// angle reduction reduceQ32.  One more than the kernels' own period below.
inline constexpr std::int64_t twoPiQ32 = 26986075409;  // 0x6487ED511
// Bound of the coordinates accepted by the CORDIC exports.
inline constexpr std::int64_t cordicMaxQ = std::int64_t{1} << 62;
// 1.1 truncated (1.1 * 2^32 = 4724464025.6): argument bound of the hyperbolic
// CORDIC exports, safely inside the convergence budget 1.1181730141.
inline constexpr std::int64_t hyperbolicBudgetQ32 = 4724464025;  // 0x119999999

// The kernels' pi: pi * 2^32 = 13493037704.52... truncated (what piFixed()
// yields from the float64 pi).  Their half pi, three half pi and period are
// derived from it exactly, so the quadrant boundaries agree with each other.
inline constexpr std::int64_t piQ32 = 13493037704;           // 0x3243F6A88
inline constexpr std::int64_t halfPiQ32 = piQ32 / 2;         // 6746518852
inline constexpr std::int64_t threeHalfPiQ32 = 3 * halfPiQ32;  // 20239556556
inline constexpr std::int64_t kernelTwoPiQ32 = 2 * piQ32;    // 26986075408 = twoPiQ32 - 1
// e * 2^32 = 11674931554.54... truncated.
inline constexpr std::int64_t eQ32 = 11674931554;            // 0x2B7E15162

inline constexpr const char* kNonFiniteMessage =
    "toFixed: non-finite float (Inf/NaN) has no integer value";
inline constexpr const char* kInt64RangeMessage = "BigInt exceeds int64 range";

// ---- conversions --------------------------------------------------------------

// trunc(x * 2^32).  Scaling a binary64 by 2^32 is exact unless it overflows
// (a subnormal only gains exponent), so the one truncating step is the cast.
// NaN and infinities raise OverflowDefect kNonFiniteMessage; a value whose
// integer part lies outside int64 raises OverflowDefect kInt64RangeMessage.
constexpr Fixed toFixed(double x) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  if (x != x || x == inf || x == -inf) [[unlikely]] raiseOverflow(kNonFiniteMessage);
  const double y = x * f64::q32Scale;  // may become +-inf: then out of range below
  // trunc(y) lies in int64 iff -2^63 <= y < 2^63: between -2^63 - 1 and -2^63
  // there is no double (their spacing there is 2048).
  if (!(y >= -9223372036854775808.0 && y < 9223372036854775808.0)) [[unlikely]]
    raiseOverflow(kInt64RangeMessage);
  return Fixed{static_cast<std::int64_t>(y)};
}

// n * 2^32 exactly; n outside [-2^31, 2^31 - 1] raises OverflowDefect
// kInt64RangeMessage.
constexpr Fixed toFixed(std::int64_t n) {
  if (n < -(std::int64_t{1} << 31) || n > (std::int64_t{1} << 31) - 1) [[unlikely]]
    raiseOverflow(kInt64RangeMessage);
  return Fixed{n * Q32One};
}
// Plain int arguments convert exactly like int64.
constexpr Fixed toFixed(int n) { return toFixed(static_cast<std::int64_t>(n)); }

// toFixed of the float64 pi (3.141592653589793): 13493037704.
Fixed piFixed();
// toFixed of the float64 e (2.718281828459045): 11674931554.
Fixed eFixed();
// The same pi, returned directly.
constexpr Fixed getPiFixed() { return Fixed{piQ32}; }

}  // namespace kovrix

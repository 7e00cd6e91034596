// Degree-7 odd polynomial for the tangent on Q32.32, meant for |x| <= pi/4.
#pragma once

#include <cstdint>

#include "fixed/fixed_point.hpp"

namespace kovrix {

// Coefficients of x^3, x^5, x^7 as Q32.32 raw values.
inline constexpr std::int64_t tanC3Q32 = 1431647477;  // 0.3333314...
inline constexpr std::int64_t tanC5Q32 = 572915993;   // 0.1333924...
inline constexpr std::int64_t tanC7Q32 = 229239843;   // 0.0533741...

// ((x + c3 x^3) + c5 x^5) + c7 x^7 with floor products.  No reduction and no
// pole test: a larger argument gives the polynomial's value.  The powers fail
// in the multiply once x^2 leaves int64 (OverflowDefect "BigInt exceeds int64
// range"); the sums fail with "Fixed addition overflow".
Fixed tanChebyshev(Fixed x);

}  // namespace kovrix

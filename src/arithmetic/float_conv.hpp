// Conversions between BigInt and IEEE 754 binary64.
#pragma once

#include "arithmetic/big_int.hpp"

namespace kovrix {

// The float64 nearest to x, ties to even; +infinity when x is 2^1024 or more
// after rounding.
double toFloat64(const BigUInt& x) noexcept;
// As for the magnitude, negated when negative.
double toFloat64(const BigInt& x) noexcept;

// The integer part of x, truncated toward zero (-0.0 and -1 < x < 0 give zero,
// not negative).  Infinity and NaN raise
// OverflowDefect "toFixed: non-finite float (Inf/NaN) has no integer value".
BigInt bigFromFloat64(double x);

}  // namespace kovrix

// Conversion of a BigFloat to float64.
#pragma once

#include "float/big_float.hpp"

namespace kovrix {

// x rounded to the nearest double, ties to even, with gradual underflow:
// values from 2^1024 up give an infinity, values below 2^-1076 a zero, both
// with the sign of x (zero itself gives +0.0).
double toFloat64(const BigFloat& x);

}  // namespace kovrix

// Truncated Taylor series of sine, cosine and arctangent on float64.
//
// Each kernel sums exactly `count` terms on the argument as given (no
// reduction: a large argument gives the polynomial's value).  The float64
// steps carry the term already divided by its factorial and multiply it by
// the square afterwards; that order is part of the result, which is why
// these are float64 instances of their own rather than the term-times-square
// -then-divide shape the exact and multi-precision representations use.
#pragma once

#include <cstdint>

namespace kovrix {

// x - x^3/3! + x^5/5! - ... with count terms; count < 2 gives x.
double sinTaylor(double x, std::int64_t count);

// 1 - x^2/2! + x^4/4! - ... with count terms; count < 2 gives 1.
double cosTaylor(double x, std::int64_t count);

// x - x^3/3 + x^5/5 - ... with count terms; count < 2 gives x.  Converges
// only for |x| <= 1, and slowly near 1.
double atanTaylor(double x, std::int64_t count);

}  // namespace kovrix

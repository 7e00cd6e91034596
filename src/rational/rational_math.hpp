// Elementary functions on Rational: truncated series and Newton steps
// evaluated exactly, so each result is the exact value of the truncated
// formula (its numerator and denominator grow with the count and with the
// argument).  No argument reduction, except that the arc tangent folds its
// argument into [-1, 1]; pi enters as the fraction 355/113.
#pragma once

#include <cstdint>

#include "rational/rational_type.hpp"

namespace kovrix {

// ---- series kernels (count n; n < 2 gives the first term alone) ----------------

// sum of (-1)^k x^(2k+1) / (2k+1)! for k = 0 .. n - 1.
Rational sinTaylor(const Rational& x, std::int64_t n);
// sum of (-1)^k x^(2k) / (2k)! for k = 0 .. n - 1.
Rational cosTaylor(const Rational& x, std::int64_t n);
// sum of (-1)^k x^(2k+1) / (2k+1) for k = 0 .. n - 1.
Rational atanTaylor(const Rational& x, std::int64_t n);
// sum of x^k / k! for k = 0 .. n - 1.
Rational expTaylor(const Rational& x, std::int64_t n);
// 2 sum of y^(2k+1) / (2k+1), y = (x - 1)/(x + 1), for k = 0 .. n - 1.
// ValueError "lnGeneric: input <= 0 (real log undefined)" for x <= 0.
Rational lnGeneric(const Rational& x, std::int64_t n);

// The integer divisors of the terms are formed with overflow-tested int64
// arithmetic (OverflowDefect only for counts far beyond the exports').

// ---- functions ---------------------------------------------------------------

Rational sin(const Rational& x, std::int64_t n);
Rational cos(const Rational& x, std::int64_t n);
// sinTaylor / cosTaylor; a cosine polynomial that is exactly zero raises
// DivByZeroDefect "Rational division by zero".
Rational tan(const Rational& x, std::int64_t n);
Rational exp(const Rational& x, std::int64_t n);
Rational ln(const Rational& x, std::int64_t n);
// n Newton steps g <- (g + x/g) / 2 from g = isqrt(num) / isqrt(den) (n <= 0:
// that guess).  0 gives 0; x < 0 raises ValueError
// "sqrt: negative Rational has no real square root".
Rational sqrt(const Rational& x, std::int64_t n);
// atanTaylor of |x|, or 355/226 - atanTaylor(1/|x|) for |x| > 1, with x's sign.
Rational atan(const Rational& x, std::int64_t n);
// atan(y/x) moved by +-355/113 into the quadrant of (x, y); on the axis x = 0:
// +-355/226, or 0 at the origin.
Rational atan2(const Rational& y, const Rational& x, std::int64_t n);
// expTaylor(y lnGeneric(x, n), n); x <= 0 raises lnGeneric's ValueError.
Rational pow(const Rational& x, const Rational& y, std::int64_t n);

}  // namespace kovrix

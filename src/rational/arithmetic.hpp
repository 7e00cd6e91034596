// Exact arithmetic on Rationals: the four operations, negation, absolute
// value, and the conversion to float64 (the one inexact operation).
//
// Every result is the canonical form of the exact value.  The operations
// take only the gcds that can be non-trivial, so no product larger than the
// reduced result is reduced afterwards:
//  - a/b + c/d with g = gcd(b, d), b = g b', d = g d': t = a d' + c b' is
//    prime to b' and to d' (a is prime to b, c to d, b' to d'), so the sum
//    t / (g b' d') loses exactly the factor gcd(t, g);
//  - (a/b)(c/d): a is prime to b and c to d, so only gcd(a, d) and gcd(c, b)
//    can cancel, and cancelling them first leaves a reduced product.
#pragma once

#include "rational/rational_type.hpp"

namespace kovrix {

Rational operator+(const Rational& a, const Rational& b);
Rational operator-(const Rational& a, const Rational& b);
Rational operator*(const Rational& a, const Rational& b);
// DivByZeroDefect "Rational division by zero" for b = 0.
Rational operator/(const Rational& a, const Rational& b);
Rational operator-(const Rational& a);
Rational abs(const Rational& a);

// The float64 quotient of the float64 values of num and den (each rounded to
// nearest) wherever both are finite.  A part beyond the float64 range would
// make that quotient NaN, an infinity or a zero although the value may be an
// ordinary double; then the result is the value correctly rounded (nearest,
// ties to even, subnormal results included), computed from the integers, and
// a value beyond the range of double gives the infinity or zero it rounds to.
double toFloat64(const Rational& r);

}  // namespace kovrix

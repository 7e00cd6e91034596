// Rational: an exact fraction of two BigInts in lowest terms.
//
// Invariants, kept by every operation: den > 0, gcd(|num|, den) = 1, and zero
// is 0/1.  The form is canonical, so two values are equal exactly when their
// numerators and denominators are.
#pragma once

#include <cstdint>

#include "arithmetic/big_int.hpp"

namespace kovrix {

struct Rational {
  BigInt num;  // carries the sign of the value
  BigInt den;  // positive
};

// num/den reduced to lowest terms with a positive denominator; the only
// constructor.  DivByZeroDefect "initRational: denominator cannot be zero"
// for den = 0.
Rational initRational(BigInt num, BigInt den);
Rational initRational(std::int64_t num, std::int64_t den);

// Restores the invariants of a value whose denominator is not zero: zero
// becomes 0/1, a negative denominator moves its sign to the numerator, and
// both parts are divided by their gcd.
void simplify(Rational& r);

// n/1, already canonical.
Rational integerRational(BigInt n);

inline bool isZero(const Rational& r) noexcept { return r.num.magnitude.isZero(); }
inline bool isNegative(const Rational& r) noexcept { return r.num.negative; }
// True when num equals den, i.e. the value is 1.
bool isOne(const Rational& r) noexcept;

}  // namespace kovrix

// Signed BigInt arithmetic on top of the unsigned operations: addition,
// subtraction, multiplication, truncated division and the shifts.
#pragma once

#include "arithmetic/addition_big.hpp"
#include "arithmetic/bitwise_big.hpp"
#include "arithmetic/comparison_big.hpp"
#include "arithmetic/division_big.hpp"
#include "arithmetic/multiplication_big.hpp"
#include "arithmetic/subtraction_big.hpp"

namespace kovrix {

struct BigIntDivMod {
  BigInt quotient;
  BigInt remainder;
};

BigInt add(const BigInt& a, const BigInt& b);
// a + (-b).
BigInt sub(const BigInt& a, const BigInt& b);
// Zero if either factor is zero (never negative), else the magnitudes'
// product with the sign a.negative xor b.negative.
BigInt mul(const BigInt& a, const BigInt& b, MulStrategy strategy = MulStrategy::Auto);
// Truncated division: the quotient rounds toward zero and a non-zero
// remainder has the sign of a (7 / -2 = -3 rem 1, -7 / 2 = -3 rem -1).
// DivByZeroDefect "Division by zero in BigUInt." for b = 0.
BigIntDivMod divMod(const BigInt& a, const BigInt& b);
// x * 2^n, the sign kept; n >= 0.
BigInt shl(const BigInt& x, std::int64_t n);
// floor(x / 2^n), rounding toward minus infinity for negative x; n >= 0.
BigInt shr(const BigInt& x, std::int64_t n);

// -x and |x| (no negative zero).
inline BigInt operator-(const BigInt& x) { return initBigInt(x.magnitude, !x.negative); }
inline BigInt abs(const BigInt& x) { return initBigInt(x.magnitude, false); }

inline BigInt operator+(const BigInt& a, const BigInt& b) { return add(a, b); }
inline BigInt operator-(const BigInt& a, const BigInt& b) { return sub(a, b); }
inline BigInt operator*(const BigInt& a, const BigInt& b) { return mul(a, b); }
inline BigInt operator/(const BigInt& a, const BigInt& b) { return divMod(a, b).quotient; }
inline BigInt operator%(const BigInt& a, const BigInt& b) { return divMod(a, b).remainder; }

}  // namespace kovrix

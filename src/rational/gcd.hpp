// Greatest common divisors: Euclid's algorithm as the definition, and the
// fast equivalents the fraction arithmetic runs on (a binary gcd of one-limb
// values, Lehmer's algorithm on the limb kernels above that).
//
// The gcd of two integers is unique, so every variant returns the same value;
// the tests hold the fast ones against euclidGcd and against GMP.
#pragma once

#include "arithmetic/big_int.hpp"

namespace kovrix {

// gcd(a, b) of two limbs by the binary algorithm; gcd(x, 0) = x.
Limb gcdLimb(Limb a, Limb b) noexcept;

// gcd(a, b) of two magnitudes: Lehmer's algorithm while the smaller operand
// has two limbs or more (each outer step takes the quotients that the top 128
// bits determine and applies them to the whole numbers at once), then a
// remainder by one limb and gcdLimb.  gcd(x, 0) = x.
BigUInt gcd(const BigUInt& a, const BigUInt& b);

// gcd(|a|, |b|), never negative; gcd(0, 0) = 0.
BigInt gcd(const BigInt& a, const BigInt& b);

// The same value by the plain Euclidean algorithm on the signed truncated
// division: while b != 0, (a, b) <- (b, a rem b); then |a|.  One full
// division per quotient: the reference the fast variants are tested against.
BigInt euclidGcd(const BigInt& a, const BigInt& b);

}  // namespace kovrix

// Ordering of Rationals.
#pragma once

#include <cstdint>

#include "rational/rational_type.hpp"

namespace kovrix {

// The order of an·bd against bn·ad: 1 if bn·ad < an·bd, -1 if an·bd < bn·ad,
// else 0.  With positive denominators it orders an/ad against bn/bd.  The
// products are formed only when the signs, the bit lengths and the leading
// 64 bits of the factors leave the order open.
std::int64_t cmpCross(const BigInt& an, const BigInt& ad, const BigInt& bn, const BigInt& bd);

// -1, 0 or 1 as a < b, a = b, a > b; equal values (equal parts, the form being
// canonical) are recognised without a product.
std::int64_t cmp(const Rational& a, const Rational& b);

inline bool operator==(const Rational& a, const Rational& b) { return cmp(a, b) == 0; }

}  // namespace kovrix

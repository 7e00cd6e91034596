// Rounded arithmetic on BigFloat.
//
// Each operation forms the exact result (for division: enough quotient bits
// and whether the remainder is zero) and rounds it once with
// normalizeRounded, so the result is correctly rounded to p bits in the given
// mode whenever the operands have p bits.  Operands may have any length.
// A zero result is the canonical zero.
#pragma once

#include "float/big_float.hpp"

namespace kovrix {

BigFloat addRounded(const BigFloat& a, const BigFloat& b, std::int64_t p, RoundingMode mode);
BigFloat subRounded(const BigFloat& a, const BigFloat& b, std::int64_t p, RoundingMode mode);
BigFloat mulRounded(const BigFloat& a, const BigFloat& b, std::int64_t p, RoundingMode mode);
// b zero: DivByZeroDefect "BigFloat division by zero".
BigFloat divRounded(const BigFloat& a, const BigFloat& b, std::int64_t p, RoundingMode mode);

// The operators: the rounded operations at defaultPrecision, mode nearest.
inline BigFloat operator+(const BigFloat& a, const BigFloat& b) {
  return addRounded(a, b, defaultPrecision, RoundingMode::nearest);
}
inline BigFloat operator-(const BigFloat& a, const BigFloat& b) {
  return subRounded(a, b, defaultPrecision, RoundingMode::nearest);
}
inline BigFloat operator*(const BigFloat& a, const BigFloat& b) {
  return mulRounded(a, b, defaultPrecision, RoundingMode::nearest);
}
inline BigFloat operator/(const BigFloat& a, const BigFloat& b) {
  return divRounded(a, b, defaultPrecision, RoundingMode::nearest);
}

// Exact negation (a zero stays the canonical zero) and absolute value.
inline BigFloat operator-(BigFloat a) {
  if (!a.isZero()) a.negative = !a.negative;
  return a;
}
inline BigFloat abs(BigFloat a) {
  a.negative = false;
  return a;
}

}  // namespace kovrix

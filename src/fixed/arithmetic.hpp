// Overflow-testing Q32.32 arithmetic used inside the function kernels.
//
// None of these saturate: an overflow raises OverflowDefect and aborts the
// kernel that ran it, so a kernel's result is either exact to its algorithm
// or absent.  Products and quotients are formed in 128 bits, which holds
// every exact intermediate (a product of two int64 has at most 127 bits, a
// dividend a * 2^32 at most 96).
#pragma once

#include <cstdint>

#include "arithmetic/primitives.hpp"
#include "errors.hpp"
#include "fixed/fixed_point.hpp"

namespace kovrix {

inline constexpr const char* kFixedAddMessage = "Fixed addition overflow";
inline constexpr const char* kFixedSubMessage = "Fixed subtraction overflow";
inline constexpr const char* kFixedNegMessage = "Fixed negation overflow";
inline constexpr const char* kDivByZeroMessage = "Division by zero in BigUInt.";

// a + b; overflow raises OverflowDefect "Fixed addition overflow".
inline Fixed addChk(Fixed a, Fixed b) {
  std::int64_t r;
  if (__builtin_add_overflow(a.raw, b.raw, &r)) [[unlikely]] raiseOverflow(kFixedAddMessage);
  return Fixed{r};
}

// a - b; overflow raises OverflowDefect "Fixed subtraction overflow".
inline Fixed subChk(Fixed a, Fixed b) {
  std::int64_t r;
  if (__builtin_sub_overflow(a.raw, b.raw, &r)) [[unlikely]] raiseOverflow(kFixedSubMessage);
  return Fixed{r};
}

// -a; only -2^63 overflows, raising OverflowDefect "Fixed negation overflow".
inline Fixed negChk(Fixed a) {
  std::int64_t r;
  if (__builtin_sub_overflow(std::int64_t{0}, a.raw, &r)) [[unlikely]] raiseOverflow(kFixedNegMessage);
  return Fixed{r};
}

inline Fixed operator+(Fixed a, Fixed b) { return addChk(a, b); }
inline Fixed operator-(Fixed a, Fixed b) { return subChk(a, b); }
inline Fixed operator-(Fixed a) { return negChk(a); }

// floor(a * b / 2^32), exact.  The arithmetic right shift of the 128-bit
// product rounds toward -inf, which is the floor also for negative products
// (-1 * 1 gives -1, not 0).  A result outside int64 raises OverflowDefect
// "BigInt exceeds int64 range".
inline Fixed operator*(Fixed a, Fixed b) {
  const Int128 q = (static_cast<Int128>(a.raw) * b.raw) >> 32;
  if (q < INT64_MIN || q > INT64_MAX) [[unlikely]] raiseOverflow(kInt64RangeMessage);
  return Fixed{static_cast<std::int64_t>(q)};
}

// |trunc(a * 2^f / b)| and the sign of the exact quotient, for b != 0 and
// f >= 0: the one scaled quotient of both Fixed arithmetics (the raising Q32.32
// operator/ below and the saturating exports of fixed/saturating.hpp).
//
// With la, lb the bit lengths of |a| and |b|: if la + f > 127 then
// |a| * 2^f / |b| >= 2^(la-1+f) / |b| > 2^127 / 2^64 = 2^63 (lb <= 64), so the
// quotient is huge.  Otherwise the dividend |a| * 2^f fits 128 bits as
// hi * 2^64 + lo; hi >= |b| means a quotient of at least 2^64 (huge), and
// hi < |b| lets one 128-by-64 hardware division form the quotient without
// faulting.  Truncation toward zero is the floor of the magnitudes with the
// sign applied.
struct ScaledQuotient {
  std::uint64_t magnitude;  // meaningful only when !huge
  bool negative;            // a and b of opposite signs
  bool huge;                // the magnitude exceeds 2^63: outside int64 whatever the sign
};
inline ScaledQuotient scaledQuotient(std::int64_t a, std::int64_t b, std::int64_t f) noexcept {
  const bool negative = (a < 0) != (b < 0);
  if (a == 0) return {0, negative, false};
  const std::uint64_t ma = a < 0 ? 0 - static_cast<std::uint64_t>(a) : static_cast<std::uint64_t>(a);
  const std::uint64_t mb = b < 0 ? 0 - static_cast<std::uint64_t>(b) : static_cast<std::uint64_t>(b);
  const int la = 64 - clz64(ma);
  if (la + f > 127) return {0, negative, true};
  const UInt128 n = static_cast<UInt128>(ma) << f;
  const std::uint64_t hi = static_cast<std::uint64_t>(n >> 64), lo = static_cast<std::uint64_t>(n);
  if (hi >= mb) return {0, negative, true};
  return {udiv128Unchecked(hi, lo, mb).quotient, negative, false};
}

// trunc(a * 2^32 / b), the quotient rounded toward zero.  b = 0 raises
// DivByZeroDefect "Division by zero in BigUInt."; a quotient outside int64
// raises OverflowDefect "BigInt exceeds int64 range".  The dividend has at
// most 96 bits.
inline Fixed operator/(Fixed a, Fixed b) {
  if (b.raw == 0) [[unlikely]] raiseDivByZero(kDivByZeroMessage);
  const ScaledQuotient q = scaledQuotient(a.raw, b.raw, Q32Frac);
  constexpr std::uint64_t limit = std::uint64_t{1} << 63;  // |INT64_MIN|
  if (q.huge) [[unlikely]] raiseOverflow(kInt64RangeMessage);
  if (q.negative) {
    if (q.magnitude > limit) [[unlikely]] raiseOverflow(kInt64RangeMessage);
    return Fixed{static_cast<std::int64_t>(0 - q.magnitude)};  // 2^63 gives INT64_MIN
  }
  if (q.magnitude >= limit) [[unlikely]] raiseOverflow(kInt64RangeMessage);
  return Fixed{static_cast<std::int64_t>(q.magnitude)};
}

// Three-way comparison of the raw values: -1, 0 or 1.
constexpr int cmp(Fixed a, Fixed b) { return (a.raw > b.raw) - (a.raw < b.raw); }
// The sign of the value: -1, 0 or 1.
constexpr int sign(Fixed a) { return (a.raw > 0) - (a.raw < 0); }

// floor(c * v / 2^32) for a constant 0 <= c < 2^32 (below 1.0): the floor
// product of operator*, which can never overflow here because |result| <= |v|.
inline Fixed mulByFraction(Fixed c, Fixed v) {
  return Fixed{static_cast<std::int64_t>((static_cast<Int128>(c.raw) * v.raw) >> 32)};
}

}  // namespace kovrix

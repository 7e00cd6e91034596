// The exported Fixed arithmetic: the caller picks the number of fraction bits
// per call, and every result is the exact mathematical value saturated to
// int64.  Nothing here raises: values are formed exactly in 128 bits (a
// product of two int64 has at most 127 bits) or, for the quotient, decided
// from bit lengths (fixed/arithmetic.hpp scaledQuotient).  The raising Q32.32
// arithmetic of the function kernels is fixed/arithmetic.hpp.
#pragma once

#include <cstdint>

#include "fixed/arithmetic.hpp"
#include "fixed/fixed_point.hpp"

namespace kovrix::saturating {

// The exact value v clamped to [-2^63, 2^63 - 1].
constexpr std::int64_t saturate(Int128 v) noexcept {
  if (v > INT64_MAX) return INT64_MAX;
  if (v < INT64_MIN) return INT64_MIN;
  return static_cast<std::int64_t>(v);
}

// value * 2^f for 0 <= f <= MaxFracBits: |value| * 2^63 <= 2^126 is exact.
constexpr std::int64_t fromInt(std::int64_t value, std::int32_t f) noexcept {
  return saturate(static_cast<Int128>(value) * (Int128{1} << f));
}

// floor(x / 2^f) for 0 <= f <= MaxFracBits (the arithmetic shift).
constexpr std::int64_t toInt(std::int64_t x, std::int32_t f) noexcept { return x >> f; }

constexpr std::int64_t add(std::int64_t a, std::int64_t b) noexcept {
  return saturate(static_cast<Int128>(a) + b);
}
constexpr std::int64_t sub(std::int64_t a, std::int64_t b) noexcept {
  return saturate(static_cast<Int128>(a) - b);
}

// floor(a * b / 2^f) for 0 <= f <= MaxFracBits: the arithmetic shift of the
// exact product is its floor.
constexpr std::int64_t mul(std::int64_t a, std::int64_t b, std::int32_t f) noexcept {
  return saturate((static_cast<Int128>(a) * b) >> f);
}

// trunc(a * 2^f / b) for b != 0 and any f >= 0.  A magnitude of exactly 2^63
// is INT64_MIN for a negative quotient and saturates for a positive one.
inline std::int64_t div(std::int64_t a, std::int64_t b, std::int32_t f) noexcept {
  const ScaledQuotient q = scaledQuotient(a, b, f);
  if (q.huge) return q.negative ? INT64_MIN : INT64_MAX;
  constexpr std::uint64_t limit = std::uint64_t{1} << 63;  // |INT64_MIN|
  if (q.negative) return q.magnitude >= limit ? INT64_MIN : -static_cast<std::int64_t>(q.magnitude);
  return q.magnitude >= limit ? INT64_MAX : static_cast<std::int64_t>(q.magnitude);
}

// |a|; |-2^63| saturates.
constexpr std::int64_t abs(std::int64_t a) noexcept { return saturate(a < 0 ? -static_cast<Int128>(a) : a); }

// Upper bound first, then the lower: with lo > hi a value below lo gives lo
// and any other value gives hi.
constexpr std::int64_t clamp(std::int64_t x, std::int64_t lo, std::int64_t hi) noexcept {
  const std::int64_t r = x <= hi ? x : hi;
  return x >= lo ? r : lo;
}

// a mod m with the sign of m, for m != 0.  Every integer is a multiple of
// +-1; answering those first also keeps -2^63 % -1 (a trapping division) from
// ever being evaluated.  r and m of opposite signs: |r| < |m|, so r + m
// cannot overflow.
constexpr std::int64_t floorMod(std::int64_t a, std::int64_t m) noexcept {
  if (m == 1 || m == -1) return 0;
  const std::int64_t r = a % m;
  if (r != 0 && ((r < 0) != (m < 0))) return r + m;
  return r;
}

// The Q32.32 integer part (toward -inf).
constexpr std::int64_t floor(std::int64_t x) noexcept { return x & Q32Mask; }
// True for a Q32.32 integer (no fraction bits).
constexpr bool isInteger(std::int64_t x) noexcept { return (x & ~Q32Mask) == 0; }
// The smallest Q32.32 integer at or above x, saturated; an integer x is kept.
constexpr std::int64_t ceil(std::int64_t x) noexcept {
  if (isInteger(x)) return x;
  return saturate(static_cast<Int128>(x & Q32Mask) + Q32One);
}
// The nearest Q32.32 integer, ties toward +inf; a saturated sum keeps its
// integer bits 0x7FFFFFFF.
constexpr std::int64_t round(std::int64_t x) noexcept {
  return saturate(static_cast<Int128>(x) + (std::int64_t{1} << 31)) & Q32Mask;
}

// a + floor((b - a) * t / 2^32), saturated.  |b - a| < 2^64 and |t| <= 2^63,
// so |(b - a) * t| < 2^127: exact in 128 bits; the arithmetic shift is the
// floor.
constexpr std::int64_t lerp(std::int64_t a, std::int64_t b, std::int64_t t) noexcept {
  const Int128 d = static_cast<Int128>(b) - a;
  return saturate(static_cast<Int128>(a) + ((d * t) >> 32));
}

}  // namespace kovrix::saturating

// Fixed-point exports: the saturating arithmetic (the caller picks the number
// of fraction bits per call), and the Q32.32 circular and hyperbolic kernels.
//
// The arithmetic is exact: every result is the saturation of the exact
// mathematical value to int64, formed in 128 bits (a product of two int64 has
// at most 127 bits) or, for the two exports whose shift count can be large, by
// a saturation test that decides from bit lengths alone.  No argument makes
// them fail: each is accepted or answered with a fixed value, and they never
// raise.  The operations defined on the exact big-integer value (from_int,
// add, sub, mul, div, abs, ceil of a value with a fraction, round, lerp) and
// the two constants (a float64 conversion) run steps of the integer layer,
// which stop while an error is pending: with one pending they return 0 and
// leave it pending, after their argument checks.  The plain int64 operations
// (to_int, cmp, sign, clamp, floor_mod, floor, ceil of an integer value)
// have no such step and compute whether or not an error is pending.
//
// The kernel exports run overflow-tested integer steps: a failure there
// leaves an OverflowDefect pending and the export returns 0; with an error
// already pending they return 0 without computing.  The table functions and
// the three clamp/reduce helpers cannot fail and always compute.
#include <cstdint>

#include "c_api/pending_error.hpp"
#include "fixed/arithmetic.hpp"
#include "fixed/fixed_point.hpp"
#include "hyperbolic/cordic.hpp"
#include "kovrix.h"
#include "trigonometry/chebyshev.hpp"
#include "trigonometry/cordic.hpp"
#include "trigonometry/lut.hpp"

namespace kovrix::capi {
namespace {

// Saturation of an exact 128-bit value to the int64 range.
inline std::int64_t saturate(Int128 v) {
  if (v > INT64_MAX) return INT64_MAX;
  if (v < INT64_MIN) return INT64_MIN;
  return static_cast<std::int64_t>(v);
}

// A fraction-bit count outside 0..MaxFracBits, tested as one unsigned
// comparison (negative counts become huge).
inline bool fracBitsRejected(std::int32_t fracBits) {
  return static_cast<std::uint32_t>(fracBits) > static_cast<std::uint32_t>(MaxFracBits);
}

inline int bitLength(std::uint64_t v) { return v == 0 ? 0 : 64 - __builtin_clzll(v); }

// floor((hi * 2^64 + lo) / d) for hi < d, so that the quotient fits 64 bits.
inline std::uint64_t udiv128by64(std::uint64_t hi, std::uint64_t lo, std::uint64_t d) {
#if defined(__x86_64__)
  std::uint64_t q, r;
  __asm__("divq %4" : "=a"(q), "=d"(r) : "a"(lo), "d"(hi), "rm"(d));
  return q;
#else
  return static_cast<std::uint64_t>(((static_cast<UInt128>(hi) << 64) | lo) / d);
#endif
}

// trunc(a * 2^f / b) saturated, for b != 0 and any f >= 0.
//
// With la, lb the bit lengths of |a| and |b|: if la + f <= 127 the dividend
// |a| * 2^f fits an unsigned 128-bit integer and the quotient is exact.
// Otherwise |a| * 2^f / |b| > 2^(la-1+f) / 2^lb >= 2^(127-lb) >= 2^63 (lb <= 64),
// so the magnitude passes 2^63 and the result saturates whatever the sign.
std::int64_t divSaturating(std::int64_t a, std::int64_t b, std::int32_t f) {
  if (a == 0) return 0;
  const std::uint64_t ma = a < 0 ? 0 - static_cast<std::uint64_t>(a) : static_cast<std::uint64_t>(a);
  const std::uint64_t mb = b < 0 ? 0 - static_cast<std::uint64_t>(b) : static_cast<std::uint64_t>(b);
  const bool negative = (a < 0) != (b < 0);
  const int la = bitLength(ma);
  if (static_cast<std::int64_t>(la) + f > 127) return negative ? INT64_MIN : INT64_MAX;
  const UInt128 n = static_cast<UInt128>(ma) << f;
  const std::uint64_t hi = static_cast<std::uint64_t>(n >> 64), lo = static_cast<std::uint64_t>(n);
  // hi >= |b| means a quotient of at least 2^64: saturated whatever the sign.
  if (hi >= mb) return negative ? INT64_MIN : INT64_MAX;
  // Otherwise the quotient fits 64 bits: one 128-by-64 hardware division.
  const std::uint64_t q = udiv128by64(hi, lo, mb);
  constexpr std::uint64_t limit = std::uint64_t{1} << 63;  // |INT64_MIN|
  // A negative quotient of magnitude exactly 2^63 is INT64_MIN itself.
  if (negative) return q >= limit ? INT64_MIN : -static_cast<std::int64_t>(q);
  return q >= limit ? INT64_MAX : static_cast<std::int64_t>(q);
}

}  // namespace
}  // namespace kovrix::capi

using kovrix::Fixed;
using kovrix::Int128;
using kovrix::capi::guarded;
using kovrix::capi::saturate;

extern "C" {

// ---- saturating arithmetic ----------------------------------------------------

int64_t kovrix_fixed_from_int(int64_t value, int32_t fracBits) {
  if (kovrix::capi::fracBitsRejected(fracBits)) return 0;
  // |value| * 2^63 <= 2^126: exact in 128 bits.
  return guarded(int64_t{0}, [&] { return saturate(static_cast<Int128>(value) * (Int128{1} << fracBits)); });
}

int64_t kovrix_fixed_to_int(int64_t x, int32_t fracBits) {
  if (kovrix::capi::fracBitsRejected(fracBits)) return 0;
  return x >> fracBits;  // arithmetic: rounds toward -inf
}

int64_t kovrix_fixed_add(int64_t a, int64_t b) {
  return guarded(int64_t{0}, [&] {
    int64_t r;
    if (__builtin_add_overflow(a, b, &r)) return a < 0 ? INT64_MIN : INT64_MAX;
    return r;
  });
}

int64_t kovrix_fixed_sub(int64_t a, int64_t b) {
  return guarded(int64_t{0}, [&] {
    int64_t r;
    if (__builtin_sub_overflow(a, b, &r)) return a < 0 ? INT64_MIN : INT64_MAX;
    return r;
  });
}

int64_t kovrix_fixed_mul(int64_t a, int64_t b, int32_t fracBits) {
  if (kovrix::capi::fracBitsRejected(fracBits)) return 0;
  // The arithmetic shift of the exact product is its floor.
  return guarded(int64_t{0}, [&] { return saturate((static_cast<Int128>(a) * b) >> fracBits); });
}

int64_t kovrix_fixed_div(int64_t a, int64_t b, int32_t fracBits) {
  if (b == 0 || fracBits < 0) return 0;
  return guarded(int64_t{0}, [&] { return kovrix::capi::divSaturating(a, b, fracBits); });
}

int32_t kovrix_fixed_cmp(int64_t a, int64_t b) { return (a > b) - (a < b); }

int64_t kovrix_fixed_abs(int64_t a) {
  return guarded(int64_t{0}, [&] {
    if (a == INT64_MIN) return INT64_MAX;  // |-2^63| saturates
    return a < 0 ? -a : a;
  });
}

int32_t kovrix_fixed_sign(int64_t a) { return (a > 0) - (a < 0); }

int64_t kovrix_fixed_clamp(int64_t x, int64_t lo, int64_t hi) {
  // Upper bound first, then the lower: with lo > hi a value below lo gives lo
  // and any other value gives hi.
  const int64_t r = x <= hi ? x : hi;
  return x >= lo ? r : lo;
}

int64_t kovrix_fixed_floor_mod(int64_t a, int64_t m) {
  if (m == 0) return 0;
  // Every integer is a multiple of +-1; testing it here also keeps
  // -2^63 % -1 (a trapping division) from ever being evaluated.
  if (m == 1 || m == -1) return 0;
  const int64_t r = a % m;
  // r and m of opposite signs: |r| < |m|, so r + m cannot overflow.
  if (r != 0 && ((r < 0) != (m < 0))) return r + m;
  return r;
}

int64_t kovrix_fixed_floor(int64_t x) { return x & kovrix::Q32Mask; }

int64_t kovrix_fixed_ceil(int64_t x) {
  // An integer value is returned as it is, before any big-integer step.
  if ((x & ~kovrix::Q32Mask) == 0) return x;
  return guarded(int64_t{0},
                 [&] { return saturate(static_cast<Int128>(x & kovrix::Q32Mask) + kovrix::Q32One); });
}

int64_t kovrix_fixed_round(int64_t x) {
  // Ties toward +inf; a saturated sum keeps its integer bits 0x7FFFFFFF.
  return guarded(int64_t{0},
                 [&] { return saturate(static_cast<Int128>(x) + (int64_t{1} << 31)) & kovrix::Q32Mask; });
}

int64_t kovrix_fixed_lerp(int64_t a, int64_t b, int64_t t) {
  // |b - a| < 2^64 and |t| <= 2^63, so |(b - a) * t| < 2^127: exact in 128
  // bits; the arithmetic shift is the floor.
  return guarded(int64_t{0}, [&] {
    const Int128 d = static_cast<Int128>(b) - a;
    const Int128 q = (d * t) >> 32;
    return saturate(static_cast<Int128>(a) + q);
  });
}

int64_t kovrix_pi_fixed(void) {
  return guarded(int64_t{0}, [] { return kovrix::piFixed().raw; });
}
int64_t kovrix_e_fixed(void) {
  return guarded(int64_t{0}, [] { return kovrix::eFixed().raw; });
}

// ---- circular kernels ---------------------------------------------------------

int64_t reduceQ32(int64_t x) { return kovrix::reduceQ32(Fixed{x}).raw; }
int64_t clampQ32(int64_t x) { return kovrix::clampQ32(Fixed{x}).raw; }

int64_t kovrix_cordic_sin(int64_t x) {
  return guarded(int64_t{0}, [&] { return kovrix::sinCosCordic(kovrix::reduceQ32(Fixed{x})).first.raw; });
}

int64_t kovrix_cordic_cos(int64_t x) {
  return guarded(int64_t{0}, [&] { return kovrix::sinCosCordic(kovrix::reduceQ32(Fixed{x})).second.raw; });
}

int64_t kovrix_cordic_atan2(int64_t y, int64_t x) {
  return guarded(int64_t{0}, [&] {
    return kovrix::atan2Cordic(kovrix::clampQ32(Fixed{y}), kovrix::clampQ32(Fixed{x})).raw;
  });
}

int64_t kovrix_lut_sin(int64_t x) { return kovrix::sin_lut(kovrix::reduceQ32(Fixed{x})).raw; }
int64_t kovrix_lut_cos(int64_t x) { return kovrix::cos_lut(kovrix::reduceQ32(Fixed{x})).raw; }

int64_t kovrix_chebyshev_tan(int64_t x) {
  return guarded(int64_t{0}, [&] { return kovrix::tanChebyshev(kovrix::clampQ32(Fixed{x})).raw; });
}

// ---- hyperbolic kernels -------------------------------------------------------

int64_t clampHyperbolicQ32(int64_t x) { return kovrix::clampHyperbolicQ32(Fixed{x}).raw; }

int64_t kovrix_cordic_sinh(int64_t x) {
  return guarded(int64_t{0},
                 [&] { return kovrix::sinhCoshCordic(kovrix::clampHyperbolicQ32(Fixed{x})).first.raw; });
}

int64_t kovrix_cordic_cosh(int64_t x) {
  return guarded(int64_t{0},
                 [&] { return kovrix::sinhCoshCordic(kovrix::clampHyperbolicQ32(Fixed{x})).second.raw; });
}

int64_t kovrix_cordic_tanh(int64_t x) {
  return guarded(int64_t{0}, [&] {
    const auto [s, c] = kovrix::sinhCoshCordic(kovrix::clampHyperbolicQ32(Fixed{x}));
    return (s / c).raw;
  });
}

int64_t kovrix_cordic_exp(int64_t x) {
  return guarded(int64_t{0}, [&] {
    const auto [s, c] = kovrix::sinhCoshCordic(kovrix::clampHyperbolicQ32(Fixed{x}));
    return kovrix::addChk(s, c).raw;
  });
}

}  // extern "C"

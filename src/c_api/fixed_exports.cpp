// Fixed-point exports: the saturating arithmetic (the caller picks the number
// of fraction bits per call), and the Q32.32 circular and hyperbolic kernels.
//
// The arithmetic is exact (fixed/saturating.hpp): every result is the
// saturation of the exact mathematical value to int64.  No argument makes
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
#include "fixed/fixed_point.hpp"
#include "fixed/saturating.hpp"
#include "hyperbolic/cordic.hpp"
#include "kovrix.h"
#include "trigonometry/chebyshev.hpp"
#include "trigonometry/cordic.hpp"
#include "trigonometry/lut.hpp"

namespace {

// A fraction-bit count outside 0..MaxFracBits, tested as one unsigned
// comparison (negative counts become huge).
inline bool fracBitsRejected(std::int32_t fracBits) {
  return static_cast<std::uint32_t>(fracBits) > static_cast<std::uint32_t>(kovrix::MaxFracBits);
}

}  // namespace

using kovrix::Fixed;
using kovrix::capi::guarded;
namespace saturating = kovrix::saturating;

extern "C" {

// ---- saturating arithmetic ----------------------------------------------------

int64_t kovrix_fixed_from_int(int64_t value, int32_t fracBits) {
  if (fracBitsRejected(fracBits)) return 0;
  return guarded(int64_t{0}, [&] { return saturating::fromInt(value, fracBits); });
}

int64_t kovrix_fixed_to_int(int64_t x, int32_t fracBits) {
  if (fracBitsRejected(fracBits)) return 0;
  return saturating::toInt(x, fracBits);
}

int64_t kovrix_fixed_add(int64_t a, int64_t b) {
  return guarded(int64_t{0}, [&] { return saturating::add(a, b); });
}

int64_t kovrix_fixed_sub(int64_t a, int64_t b) {
  return guarded(int64_t{0}, [&] { return saturating::sub(a, b); });
}

int64_t kovrix_fixed_mul(int64_t a, int64_t b, int32_t fracBits) {
  if (fracBitsRejected(fracBits)) return 0;
  return guarded(int64_t{0}, [&] { return saturating::mul(a, b, fracBits); });
}

int64_t kovrix_fixed_div(int64_t a, int64_t b, int32_t fracBits) {
  if (b == 0 || fracBits < 0) return 0;
  return guarded(int64_t{0}, [&] { return saturating::div(a, b, fracBits); });
}

int32_t kovrix_fixed_cmp(int64_t a, int64_t b) { return kovrix::cmp(Fixed{a}, Fixed{b}); }

int64_t kovrix_fixed_abs(int64_t a) {
  return guarded(int64_t{0}, [&] { return saturating::abs(a); });
}

int32_t kovrix_fixed_sign(int64_t a) { return kovrix::sign(Fixed{a}); }

int64_t kovrix_fixed_clamp(int64_t x, int64_t lo, int64_t hi) { return saturating::clamp(x, lo, hi); }

int64_t kovrix_fixed_floor_mod(int64_t a, int64_t m) {
  if (m == 0) return 0;
  return saturating::floorMod(a, m);
}

int64_t kovrix_fixed_floor(int64_t x) { return saturating::floor(x); }

int64_t kovrix_fixed_ceil(int64_t x) {
  // An integer value is returned as it is, before any big-integer step.
  if (saturating::isInteger(x)) return x;
  return guarded(int64_t{0}, [&] { return saturating::ceil(x); });
}

int64_t kovrix_fixed_round(int64_t x) {
  return guarded(int64_t{0}, [&] { return saturating::round(x); });
}

int64_t kovrix_fixed_lerp(int64_t a, int64_t b, int64_t t) {
  return guarded(int64_t{0}, [&] { return saturating::lerp(a, b, t); });
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
  return guarded(int64_t{0}, [&] { return kovrix::tanhCordic(kovrix::clampHyperbolicQ32(Fixed{x})).raw; });
}

// Inside the budget the scaled exponential is one rotation run: sinh + cosh.
int64_t kovrix_cordic_exp(int64_t x) {
  return guarded(int64_t{0}, [&] { return kovrix::expCordicScaled(kovrix::clampHyperbolicQ32(Fixed{x})).raw; });
}

}  // extern "C"

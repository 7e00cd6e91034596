// Shared pieces of the interval tests: random bounds with the special values
// mixed in, a reference of the outward steps written
// independently of the library (on std::nextafter), and MPFR enclosures of
// exact values.
#pragma once

#include <gtest/gtest.h>
#include <mpfr.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "interval/interval_type.hpp"
#include "support/doubles.hpp"
#include "support/seed.hpp"
#include "kovrix.h"

namespace kovrix::testsupport {

using kovrix::Interval;

inline constexpr double kInf = std::numeric_limits<double>::infinity();
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kMinSub = std::numeric_limits<double>::denorm_min();
inline constexpr double kMax = std::numeric_limits<double>::max();

// A uniform double in [0, 1) on 53 bits, and true once in `oneIn` draws.
inline double unit() { return static_cast<double>(bits64() >> 11) * 0x1p-53; }
inline bool coin(unsigned oneIn) { return below(oneIn) == 0; }

inline std::string show(Interval x) { return "[" + show(x.lo) + ", " + show(x.hi) + "]"; }
inline bool sameBits(Interval a, Interval b) { return sameBits(a.lo, b.lo) && sameBits(a.hi, b.hi); }

// A finite double with random sign, exponent and mantissa; long runs of 0 and
// 1 bits in the mantissa now and then.
inline double anyFinite() {
  for (;;) {
    std::uint64_t b = bits64();
    if (coin(4)) b = (b & 0xFFF0000000000000ULL) | ((bits64() & 1) ? 0x000FFFFFFFFFFF00ULL : 0x100ULL);
    const double v = std::bit_cast<double>(b);
    if (std::isfinite(v)) return v;
  }
}

// A bound drawn from a mix that covers every regime: special values,
// subnormals, small integers, moderate and huge magnitudes, anything finite.
inline double randomBound(bool allowNaN = false) {
  static const double special[] = {0.0, -0.0, 1.0, -1.0, 2.0, 0.5, kInf, -kInf, kMinSub, -kMinSub,
                                   kMax, -kMax, 0x1p-1022, -0x1p-1022, 3.0, -3.0, 1e-300, 1e300};
  switch (below(8)) {
    case 0: return special[below(sizeof special / sizeof special[0])];
    case 1: return std::bit_cast<double>((bits64() & 0x800FFFFFFFFFFFFFULL));  // subnormal or 0
    case 2: return static_cast<double>(static_cast<std::int64_t>(below(41)) - 20);
    case 3: return (unit() * 2 - 1) * std::ldexp(1.0, static_cast<int>(below(60)) - 30);
    case 4: return (coin(2) ? 1 : -1) * std::ldexp(1.0 + unit(), 900 + static_cast<int>(below(123)));
    case 5: return allowNaN && coin(3) ? kNaN : anyFinite();
    default: return anyFinite();
  }
}

inline Interval randomInterval(bool allowInvalid = false) {
  double a = randomBound(allowInvalid), b = randomBound(allowInvalid);
  if (!allowInvalid || !coin(4)) {
    if (a > b) std::swap(a, b);
  }
  if (coin(8)) b = a;                        // point interval
  if (coin(8) && std::isfinite(a)) b = a + unit() * std::fabs(a) * 1e-6;  // narrow
  if (!allowInvalid && a > b) std::swap(a, b);
  return {a, b};
}

// A valid interval with a real member ([+inf, +inf] and [-inf, -inf] have none).
inline bool hasMembers(Interval x) { return x.lo <= x.hi && !(std::isinf(x.lo) && x.lo == x.hi); }

// A random valid interval with members.
inline Interval randomMemberedInterval() {
  for (;;) {
    const Interval x = randomInterval();
    if (hasMembers(x)) return x;
  }
}

// A finite member of a valid interval (its bounds when finite, else a large
// finite stand-in, or a random double between).
inline double pointIn(Interval x) {
  const double lo = std::isfinite(x.lo) ? x.lo : (x.lo < 0 ? -kMax : kMax);
  const double hi = std::isfinite(x.hi) ? x.hi : (x.hi > 0 ? kMax : -kMax);
  // Members are reals: a zero member is +0.
  switch (below(4)) {
    case 0: return lo == 0 ? 0.0 : lo;
    case 1: return hi == 0 ? 0.0 : hi;
    default: {
      // Uniform in the bit patterns between lo and hi, read as an ordered key.
      auto key = [](double v) {
        const std::uint64_t b = std::bit_cast<std::uint64_t>(v);
        return (b >> 63) ? ~b : b | 0x8000000000000000ULL;
      };
      auto unkey = [](std::uint64_t k) {
        return std::bit_cast<double>((k >> 63) ? k & 0x7FFFFFFFFFFFFFFFULL : ~k);
      };
      const std::uint64_t a = key(lo), b = key(hi);
      if (b <= a) return lo == 0 ? 0.0 : lo;
      const double v = unkey(a + below(b - a + 1));
      return v == 0 ? 0.0 : v;
    }
  }
}

// ---- the outward steps, independently --------------------------------------
inline double refDown(double v) { return std::nextafter(v, -kInf); }
inline double refUp(double v) { return std::nextafter(v, kInf); }
inline double refMin(double x, double y) { return (x <= y || std::isnan(y)) ? x : y; }
inline double refMax(double x, double y) { return (x >= y || std::isnan(y)) ? x : y; }

// ---- MPFR enclosures -----------------------------------------------------------
// An exact value held at 256 bits rounded both ways: lo <= value <= hi.
struct MpEnclosure {
  mpfr_t lo, hi;
  MpEnclosure() {
    mpfr_init2(lo, 256);
    mpfr_init2(hi, 256);
  }
  ~MpEnclosure() {
    mpfr_clear(lo);
    mpfr_clear(hi);
  }
  MpEnclosure(const MpEnclosure&) = delete;
  MpEnclosure& operator=(const MpEnclosure&) = delete;
  // value = f(args) evaluated with both roundings
  template <class F>
  void eval(F f) {
    f(lo, MPFR_RNDD);
    f(hi, MPFR_RNDU);
  }
};

// Does the returned interval r contain the exact value enclosed by m?
inline bool encloses(Interval r, const MpEnclosure& m) {
  if (std::isnan(r.lo) || std::isnan(r.hi)) return false;
  return mpfr_cmp_d(m.lo, r.lo) >= 0 && mpfr_cmp_d(m.hi, r.hi) <= 0;
}
inline std::string showMp(const MpEnclosure& m) {
  char buf[128];
  mpfr_snprintf(buf, sizeof buf, "%.25Rg", m.lo);
  return buf;
}

inline kovrix_interval C(Interval x) { return {x.lo, x.hi}; }
inline Interval I(kovrix_interval x) { return {x.lo, x.hi}; }

}  // namespace kovrix::testsupport

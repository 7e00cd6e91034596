// Shared by the tests of the series, Newton and special-function kernels and
// of the Fixed function router: adversarial operands and MPFR helpers.
#pragma once

#include <gtest/gtest.h>
#include <mpfr.h>

#include "support/doubles.hpp"
#include "support/seed.hpp"

#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace kovrix::testsupport {

inline double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng()); }

// Any double: random bit patterns (all exponents, NaNs and infinities
// included), special values and ordinary magnitudes, mixed.
inline double anyDouble() {
  static constexpr double specials[] = {0.0, -0.0, 1.0, -1.0, 0.5, 2.0,
                                        std::numeric_limits<double>::infinity(),
                                        -std::numeric_limits<double>::infinity(),
                                        std::numeric_limits<double>::quiet_NaN(),
                                        std::numeric_limits<double>::denorm_min(),
                                        std::numeric_limits<double>::max(),
                                        std::numeric_limits<double>::min()};
  switch (below(4)) {
    case 0: return specials[below(std::size(specials))];
    case 1: return std::bit_cast<double>(rng()());
    case 2: return uniform(-1.0, 1.0);
    default: return std::ldexp(uniform(-1.0, 1.0), static_cast<int>(between(-60, 60)));
  }
}

// Signed 64-bit values with long runs of equal bits, small magnitudes and
// uniform values mixed.
inline std::int64_t anyRaw() {
  std::uint64_t v = rng()();
  switch (below(5)) {
    case 0: {  // runs of ones and zeros
      const unsigned a = below(64), b = below(64);
      const std::uint64_t run = (a == 63 ? ~0ULL : ((1ULL << (a + 1)) - 1)) & ~((1ULL << (b % 64)) - 1);
      v = (rng()() & 1) ? run : ~run;
      break;
    }
    case 1: v = static_cast<std::uint64_t>(between(-(std::int64_t{1} << 40), std::int64_t{1} << 40)); break;
    case 2: v >>= below(64); if (rng()() & 1) v = ~v + 1; break;
    default: break;
  }
  return static_cast<std::int64_t>(v);
}

// Holder of one MPFR value at a given precision.
class Mp {
 public:
  explicit Mp(mpfr_prec_t prec = 256) { mpfr_init2(v_, prec); }
  Mp(double d, mpfr_prec_t prec) : Mp(prec) { mpfr_set_d(v_, d, MPFR_RNDN); }
  ~Mp() { mpfr_clear(v_); }
  Mp(const Mp&) = delete;
  Mp& operator=(const Mp&) = delete;
  mpfr_ptr get() { return v_; }
  double toDouble() const { return mpfr_get_d(v_, MPFR_RNDN); }

 private:
  mpfr_t v_;
};

// |got - want| <= tol * max(1, |want|).
inline bool closeTo(double got, double want, double tol) {
  return std::fabs(got - want) <= tol * std::fmax(1.0, std::fabs(want));
}

}  // namespace kovrix::testsupport

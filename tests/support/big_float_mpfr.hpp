// BigFloat beside MPFR, the oracle of the floating-point tests: exact
// conversions both ways, random p-bit operands, and a readable rendering.
#pragma once

#include <gmp.h>
#include <mpfr.h>

#include <cstdint>
#include <string>

#include "arithmetic/signed_big.hpp"
#include "float/big_float.hpp"
#include "support/big.hpp"

namespace kovrix::testsupport {

// An mpfr_t with its own precision, released on scope exit.
struct Mpfr {
  mpfr_t v;
  explicit Mpfr(mpfr_prec_t prec = 256) { mpfr_init2(v, prec); }
  Mpfr(const Mpfr&) = delete;
  Mpfr& operator=(const Mpfr&) = delete;
  ~Mpfr() { mpfr_clear(v); }
  operator mpfr_ptr() { return v; }
  operator mpfr_srcptr() const { return v; }
};

// x exactly into `out`, whose precision is raised to hold every bit.
inline void toMpfr(mpfr_ptr out, const BigFloat& x) {
  mpfr_set_prec(out, std::max<mpfr_prec_t>(2, bitLength(x.mantissa)));
  Mpz m;
  toMpz(m, x.mantissa);
  if (x.negative) mpz_neg(m, m);
  const int inexact = mpfr_set_z_2exp(out, m, x.exponent, MPFR_RNDN);
  EXPECT_EQ(inexact, 0) << "MPFR exponent range too small";
}

// A regular (or zero) MPFR value as a BigFloat whose mantissa has the
// precision of `in` (zero: the canonical zero).
inline BigFloat fromMpfr(mpfr_srcptr in) {
  if (mpfr_zero_p(in)) return BigFloat{};
  Mpz m;
  const mpfr_exp_t e = mpfr_get_z_2exp(m, in);
  BigFloat r;
  r.negative = mpz_sgn(m.v) < 0;
  mpz_abs(m, m);
  r.mantissa = fromMpzMagnitude(m);
  r.exponent = e;
  return r;
}

inline std::string describe(const BigFloat& x) {
  if (x.isZero()) return std::string(x.negative ? "-" : "") + "0 (exponent " + std::to_string(x.exponent) + ")";
  return std::string(x.negative ? "-" : "") + hex(x.mantissa) + " * 2^" + std::to_string(x.exponent);
}

// A random value of exactly `bits` bits (adversarial limb shapes, top bit
// set), a random sign, and an exponent in [lo, hi].
inline BigFloat randomBigFloat(std::int64_t bits, std::int64_t lo, std::int64_t hi) {
  BigFloat r;
  r.mantissa = randomBig(static_cast<std::size_t>((bits + 63) / 64));
  normalize(r, bits);  // the mantissa's own bits, shifted to exactly `bits`
  r.negative = below(2) == 1;
  r.exponent = lo + static_cast<std::int64_t>(below(static_cast<std::uint64_t>(hi - lo + 1)));
  return r;
}

// A random 256-bit value uniform in [lo, hi] (rounded to 256 bits).
inline BigFloat uniformBigFloat(double lo, double hi) {
  BigFloat u{false, -256, randomBig(4, 0)};  // [0, 1)
  Mpfr x(256), scaledU(256);
  toMpfr(scaledU, u);
  mpfr_mul_d(scaledU, scaledU, hi - lo, MPFR_RNDN);
  mpfr_add_d(x, scaledU, lo, MPFR_RNDN);
  return fromMpfr(x);
}

// Units in the last place by which x exceeds the exact value: (x - exact) / 2^exponent(x).
inline double ulpsAbove(const BigFloat& x, mpfr_srcptr exact) {
  Mpfr a, d(4096);
  toMpfr(a, x);
  mpfr_sub(d, a, exact, MPFR_RNDN);
  mpfr_mul_2si(d, d, -x.exponent, MPFR_RNDN);
  return mpfr_get_d(d, MPFR_RNDN);
}

// Correct bits of x against the exact value f: -log2(|x - f| / max(|f|, 1)).
inline double correctBits(const BigFloat& x, mpfr_srcptr f) {
  Mpfr a, d(4096), scale(4096);
  toMpfr(a, x);
  mpfr_sub(d, a, f, MPFR_RNDN);
  if (mpfr_zero_p(d)) return 4096;
  mpfr_abs(scale, f, MPFR_RNDN);
  if (mpfr_cmp_ui(scale, 1) < 0) mpfr_set_ui(scale, 1, MPFR_RNDN);
  mpfr_div(d, d, scale, MPFR_RNDN);
  mpfr_abs(d, d, MPFR_RNDN);
  mpfr_log2(d, d, MPFR_RNDN);
  return -mpfr_get_d(d, MPFR_RNDN);
}

}  // namespace kovrix::testsupport

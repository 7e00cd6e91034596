// Shared helpers of the Rational tests: GMP's mpq as the oracle, random
// fractions, and exact equality with an mpq.
#pragma once

#include <gmp.h>

#include "support/big.hpp"
#include "rational/rational_type.hpp"

namespace kovrix::testsupport {

struct Mpq {
  mpq_t v;
  Mpq() { mpq_init(v); }
  Mpq(const Mpq&) = delete;
  Mpq& operator=(const Mpq&) = delete;
  ~Mpq() { mpq_clear(v); }
  operator mpq_ptr() { return v; }
  operator mpq_srcptr() const { return v; }
};

// The parts copied as they are (no canonicalisation).
inline void toMpq(mpq_t out, const Rational& r) {
  toMpz(mpq_numref(out), r.num);
  toMpz(mpq_denref(out), r.den);
}

inline Rational fromMpq(mpq_srcptr q) { return Rational{fromMpz(mpq_numref(q)), fromMpz(mpq_denref(q))}; }

inline std::string text(const Rational& r) { return hex(r.num) + "/" + hex(r.den); }

// Parts equal to the canonical mpq q (so also reduced, with a positive
// denominator, and normalised).
inline ::testing::AssertionResult sameAs(const Rational& r, mpq_srcptr q) {
  if (!sameAs(r.num, mpq_numref(q)) || !sameAs(r.den, mpq_denref(q)))
    return ::testing::AssertionFailure() << "got " << text(r) << ", GMP says " << text(fromMpq(q));
  return ::testing::AssertionSuccess();
}

// A random canonical fraction with parts of up to maxLimbs limbs: zero
// sometimes, integers sometimes, and denominators that share factors with
// other draws (a product of a few small and one random factor), so that the
// cancellations of the arithmetic have something to cancel.
inline Rational randomRational(std::size_t maxLimbs) {
  if (below(16) == 0) return Rational{BigInt{}, initBigInt(1)};
  Mpq q;
  toMpz(mpq_numref(q.v), randomBigInt(1 + below(maxLimbs)));
  if (mpz_sgn(mpq_numref(q.v)) == 0) mpz_set_ui(mpq_numref(q.v), 1);
  if (below(8) == 0) {
    mpz_set_ui(mpq_denref(q.v), 1);
  } else {
    toMpz(mpq_denref(q.v), randomBig(1 + below(maxLimbs)));
    static const unsigned long small[] = {2, 3, 6, 10, 12, 30, 64, 210, 1000003};
    for (int k = static_cast<int>(below(4)); k > 0; --k) mpz_mul_ui(mpq_denref(q.v), mpq_denref(q.v), small[below(9)]);
  }
  mpq_canonicalize(q);
  return fromMpq(q);
}

}  // namespace kovrix::testsupport

// BigInt values crossing the C interface without decimal text, so that
// operands of any length reach kovrix and GMP alike: a handle is built from
// the limbs of an mpz (32-bit pieces through kovrix_bigint_from_i64, joined
// by shifts and additions in a balanced tree, O(n log n) limb work), and a
// result is checked against GMP's by comparing with the handle of GMP's value.
#pragma once

#include <gmp.h>

#include <cstddef>
#include <cstdint>

#include "kovrix.h"

namespace kovrix_bench {

// The GMP random state the rows draw their operands from, seeded once.
inline gmp_randstate_t& randState() {
  static gmp_randstate_t state;
  static bool ready = [] {
    gmp_randinit_mt(state);
    gmp_randseed_ui(state, 20261208);
    return true;
  }();
  (void)ready;
  return state;
}

// The value sum p[i] 2^(64 i), i < n (n >= 1).
inline kovrix_bigint* handleFromLimbs(const mp_limb_t* p, std::size_t n) {
  if (n == 1) {
    kovrix_bigint* hi = kovrix_bigint_from_i64(static_cast<int64_t>(p[0] >> 32));
    kovrix_bigint* lo = kovrix_bigint_from_i64(static_cast<int64_t>(p[0] & 0xFFFFFFFFu));
    kovrix_bigint* shifted = kovrix_bigint_shl(hi, 32);
    kovrix_bigint* r = kovrix_bigint_add(shifted, lo);
    kovrix_bigint_destroy(hi);
    kovrix_bigint_destroy(lo);
    kovrix_bigint_destroy(shifted);
    return r;
  }
  std::size_t half = n / 2;
  kovrix_bigint* lo = handleFromLimbs(p, half);
  kovrix_bigint* hi = handleFromLimbs(p + half, n - half);
  kovrix_bigint* shifted = kovrix_bigint_shl(hi, static_cast<int>(64 * half));
  kovrix_bigint* r = kovrix_bigint_add(shifted, lo);
  kovrix_bigint_destroy(lo);
  kovrix_bigint_destroy(hi);
  kovrix_bigint_destroy(shifted);
  return r;
}

// A new handle of the value of z.
inline kovrix_bigint* handleOf(mpz_srcptr z) {
  std::size_t n = mpz_size(z);
  if (n == 0) return kovrix_bigint_from_i64(0);
  kovrix_bigint* m = handleFromLimbs(mpz_limbs_read(z), n);
  if (mpz_sgn(z) >= 0) return m;
  kovrix_bigint* r = kovrix_bigint_neg(m);
  kovrix_bigint_destroy(m);
  return r;
}

// True when h holds the value of z.
inline bool sameValue(const kovrix_bigint* h, mpz_srcptr z) {
  if (h == nullptr) return false;
  kovrix_bigint* expect = handleOf(z);
  bool same = kovrix_bigint_cmp(h, expect) == 0;
  kovrix_bigint_destroy(expect);
  return same;
}

}  // namespace kovrix_bench

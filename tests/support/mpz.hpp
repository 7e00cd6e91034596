// The one GMP integer of the tests: an RAII mpz_t that converts to mpz_ptr /
// mpz_srcptr (so it goes straight into GMP calls; macros such as mpz_sgn take
// `.v`), with the exact operations the reference formulas use and the int64
// saturation of an exact value.
#pragma once

#include <gmp.h>

#include <cstdint>

namespace kovrix::testsupport {

struct Mpz {
  mpz_t v;
  Mpz() { mpz_init(v); }
  explicit Mpz(std::int64_t x) { mpz_init_set_si(v, static_cast<long>(x)); }
  explicit Mpz(int x) : Mpz(static_cast<std::int64_t>(x)) {}  // Mpz(0) is a number, not a null text
  explicit Mpz(const char* decimal) { mpz_init_set_str(v, decimal, 10); }
  Mpz(const Mpz& o) { mpz_init_set(v, o.v); }
  Mpz& operator=(const Mpz& o) {
    mpz_set(v, o.v);
    return *this;
  }
  ~Mpz() { mpz_clear(v); }
  mpz_ptr get() { return v; }
  mpz_srcptr get() const { return v; }
  operator mpz_ptr() { return v; }
  operator mpz_srcptr() const { return v; }
};

inline Mpz operator+(const Mpz& a, const Mpz& b) {
  Mpz r;
  mpz_add(r.v, a.v, b.v);
  return r;
}
inline Mpz operator-(const Mpz& a, const Mpz& b) {
  Mpz r;
  mpz_sub(r.v, a.v, b.v);
  return r;
}
inline Mpz operator*(const Mpz& a, const Mpz& b) {
  Mpz r;
  mpz_mul(r.v, a.v, b.v);
  return r;
}
// a * 2^e
inline Mpz mul2exp(const Mpz& a, unsigned long e) {
  Mpz r;
  mpz_mul_2exp(r.v, a.v, e);
  return r;
}
// floor(a / 2^e)
inline Mpz fdiv2exp(const Mpz& a, unsigned long e) {
  Mpz r;
  mpz_fdiv_q_2exp(r.v, a.v, e);
  return r;
}
// ceil(a / 2^e)
inline Mpz cdiv2exp(const Mpz& a, unsigned long e) {
  Mpz r;
  mpz_cdiv_q_2exp(r.v, a.v, e);
  return r;
}
// trunc(a / b)
inline Mpz tdiv(const Mpz& a, const Mpz& b) {
  Mpz r;
  mpz_tdiv_q(r.v, a.v, b.v);
  return r;
}
// a mod b with the sign of b
inline Mpz fmod(const Mpz& a, const Mpz& b) {
  Mpz r;
  mpz_fdiv_r(r.v, a.v, b.v);
  return r;
}
inline int cmp(const Mpz& a, const Mpz& b) { return mpz_cmp(a.v, b.v); }

inline bool fitsInt64(const Mpz& a) { return mpz_fits_slong_p(a.v) != 0; }
inline std::int64_t toInt64(const Mpz& a) { return static_cast<std::int64_t>(mpz_get_si(a.v)); }

// The int64 saturation of an exact value.
inline std::int64_t saturate(const Mpz& a) {
  if (fitsInt64(a)) return toInt64(a);
  return mpz_sgn(a.v) < 0 ? INT64_MIN : INT64_MAX;
}

}  // namespace kovrix::testsupport

// A minimal RAII wrapper over GMP's mpz_t for the exact reference formulas of
// the fixed-point tests, and the saturation of an mpz to int64.
#pragma once

#include <gmp.h>

#include <cstdint>

namespace kovrix::testing {

class Mpz {
 public:
  Mpz() { mpz_init(v_); }
  explicit Mpz(std::int64_t x) { mpz_init_set_si(v_, static_cast<long>(x)); }
  Mpz(const Mpz& o) { mpz_init_set(v_, o.v_); }
  Mpz& operator=(const Mpz& o) {
    mpz_set(v_, o.v_);
    return *this;
  }
  ~Mpz() { mpz_clear(v_); }
  mpz_ptr get() { return v_; }
  mpz_srcptr get() const { return v_; }

 private:
  mpz_t v_;
};

inline Mpz operator+(const Mpz& a, const Mpz& b) {
  Mpz r;
  mpz_add(r.get(), a.get(), b.get());
  return r;
}
inline Mpz operator-(const Mpz& a, const Mpz& b) {
  Mpz r;
  mpz_sub(r.get(), a.get(), b.get());
  return r;
}
inline Mpz operator*(const Mpz& a, const Mpz& b) {
  Mpz r;
  mpz_mul(r.get(), a.get(), b.get());
  return r;
}
inline Mpz mul2exp(const Mpz& a, unsigned long e) {
  Mpz r;
  mpz_mul_2exp(r.get(), a.get(), e);
  return r;
}
// floor(a / 2^e)
inline Mpz fdiv2exp(const Mpz& a, unsigned long e) {
  Mpz r;
  mpz_fdiv_q_2exp(r.get(), a.get(), e);
  return r;
}
// ceil(a / 2^e)
inline Mpz cdiv2exp(const Mpz& a, unsigned long e) {
  Mpz r;
  mpz_cdiv_q_2exp(r.get(), a.get(), e);
  return r;
}
// trunc(a / b)
inline Mpz tdiv(const Mpz& a, const Mpz& b) {
  Mpz r;
  mpz_tdiv_q(r.get(), a.get(), b.get());
  return r;
}
// a mod b with the sign of b
inline Mpz fmod(const Mpz& a, const Mpz& b) {
  Mpz r;
  mpz_fdiv_r(r.get(), a.get(), b.get());
  return r;
}
inline int cmp(const Mpz& a, const Mpz& b) { return mpz_cmp(a.get(), b.get()); }

inline bool fitsInt64(const Mpz& a) { return mpz_fits_slong_p(a.get()) != 0; }
inline std::int64_t toInt64(const Mpz& a) { return static_cast<std::int64_t>(mpz_get_si(a.get())); }

// The int64 saturation of an exact value.
inline std::int64_t saturate(const Mpz& a) {
  if (fitsInt64(a)) return toInt64(a);
  return mpz_sgn(a.get()) < 0 ? INT64_MIN : INT64_MAX;
}

}  // namespace kovrix::testing

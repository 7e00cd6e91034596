// BigFloat exports beside MPFR at 256 bits, in the same run: the four rounded
// operations and the elementary functions over 4,096 random operands per row
// (each call makes and releases its result on both sides: a new handle and
// its destroy, mpfr_init2 and mpfr_clear), and the float64 logarithm over
// 65,536 random doubles.  Before timing, each row checks that both sides
// agree on the first operands (to the last bit for the arithmetic, to the
// double for the functions).
#include <benchmark/benchmark.h>
#include <gmp.h>
#include <mpfr.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "bigint_peer.hpp"
#include "kovrix.h"

namespace {

constexpr int kOperands = 4096;
constexpr int kDoubles = 65536;
constexpr mpfr_prec_t kPrec = 256;

using kovrix_bench::randState;

// An MPFR value of 256 bits as a kovrix handle, exactly: the integer
// mantissa, then scaled by a power of two.
kovrix_bigfloat* handleOf(mpfr_srcptr x) {
  if (mpfr_zero_p(x)) return kovrix_bigfloat_from_i64(0);
  mpz_t m;
  mpz_init(m);
  const mpfr_exp_t e = mpfr_get_z_2exp(m, x);
  kovrix_bigint* bi = kovrix_bench::handleOf(m);
  mpz_clear(m);
  kovrix_bigfloat* mant = kovrix_bigfloat_from_bigint(bi);
  kovrix_bigint_destroy(bi);
  kovrix_bigfloat* scale = kovrix_bigfloat_from_f64(std::ldexp(1.0, static_cast<int>(e)));
  kovrix_bigfloat* r = kovrix_bigfloat_mul(mant, scale);
  kovrix_bigfloat_destroy(mant);
  kovrix_bigfloat_destroy(scale);
  return r;
}

// kOperands random 256-bit values in [lo, hi] (lo > 0 excludes zero), in
// both forms.
struct Operands {
  std::vector<__mpfr_struct> m;  // mpfr_t is an array type; one struct per value
  std::vector<kovrix_bigfloat*> h;
  Operands(double lo, double hi) : m(kOperands), h(kOperands) {
    for (int i = 0; i < kOperands; ++i) {
      mpfr_ptr x = &m[i];
      mpfr_init2(x, kPrec);
      do {
        mpfr_urandomb(x, randState());
        mpfr_mul_d(x, x, hi - lo, MPFR_RNDN);
        mpfr_add_d(x, x, lo, MPFR_RNDN);
      } while (mpfr_zero_p(x));
      h[i] = handleOf(x);
    }
  }
  // Random signs and exponents in [-64, 64]: operands for the arithmetic.
  static Operands arithmetic() {
    Operands o(0.5, 1.0);
    std::mt19937_64 g(7);
    for (int i = 0; i < kOperands; ++i) {
      mpfr_ptr x = &o.m[i];
      mpfr_mul_2si(x, x, static_cast<long>(g() % 129) - 64, MPFR_RNDN);
      if (g() & 1) mpfr_neg(x, x, MPFR_RNDN);
      kovrix_bigfloat_destroy(o.h[i]);
      o.h[i] = handleOf(x);
    }
    return o;
  }
  Operands(Operands&&) = default;
  ~Operands() {
    for (auto& x : m) mpfr_clear(&x);
    for (auto* x : h) kovrix_bigfloat_destroy(x);
  }
};

using KovrixBinary = kovrix_bigfloat* (*)(const kovrix_bigfloat*, const kovrix_bigfloat*);
using MpfrBinary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);
using KovrixUnary = kovrix_bigfloat* (*)(const kovrix_bigfloat*);
using MpfrUnary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

// Whether the handle holds exactly the MPFR value.
bool sameValue(const kovrix_bigfloat* h, mpfr_srcptr x) {
  kovrix_bigfloat* back = handleOf(x);
  const bool same = back != nullptr && kovrix_bigfloat_cmp(h, back) == 0;
  kovrix_bigfloat_destroy(back);
  return same;
}

const Operands& arithmeticOperands() {
  static const Operands o = Operands::arithmetic();
  return o;
}

void binaryRow(benchmark::State& state, KovrixBinary op, MpfrBinary ref, bool kovrix) {
  kovrix_init();
  const Operands& a = arithmeticOperands();
  // The second operand is the first shifted by one place in the list.
  for (int i = 0; i < 64; ++i) {
    const int j = (i + 1) % kOperands;
    mpfr_t r;
    mpfr_init2(r, kPrec);
    ref(r, &a.m[i], &a.m[j], MPFR_RNDN);
    kovrix_bigfloat* h = op(a.h[i], a.h[j]);
    const bool same = sameValue(h, r);
    kovrix_bigfloat_destroy(h);
    mpfr_clear(r);
    // Exact ties (round-half-away here, half-even in MPFR) do not occur
    // among random operands.
    if (!same) return state.SkipWithError("kovrix and MPFR disagree");
  }
  int i = 0;
  if (kovrix) {
    for (auto _ : state) {
      const int j = (i + 1) & (kOperands - 1);
      kovrix_bigfloat* h = op(a.h[i], a.h[j]);
      benchmark::DoNotOptimize(h);
      kovrix_bigfloat_destroy(h);
      i = j;
    }
  } else {
    for (auto _ : state) {
      const int j = (i + 1) & (kOperands - 1);
      mpfr_t r;
      mpfr_init2(r, kPrec);
      ref(r, &a.m[i], &a.m[j], MPFR_RNDN);
      benchmark::DoNotOptimize(r->_mpfr_d);
      mpfr_clear(r);
      i = j;
    }
  }
}

void unaryRow(benchmark::State& state, KovrixUnary op, MpfrUnary ref, double lo, double hi, bool kovrix) {
  kovrix_init();
  const Operands a(lo, hi);
  for (int i = 0; i < 16; ++i) {
    mpfr_t r;
    mpfr_init2(r, kPrec);
    ref(r, &a.m[i], MPFR_RNDN);
    kovrix_bigfloat* h = op(a.h[i]);
    const double want = mpfr_get_d(r, MPFR_RNDN), got = kovrix_bigfloat_to_f64(h);
    kovrix_bigfloat_destroy(h);
    mpfr_clear(r);
    if (got != want) return state.SkipWithError("kovrix and MPFR disagree");
  }
  int i = 0;
  if (kovrix) {
    for (auto _ : state) {
      kovrix_bigfloat* h = op(a.h[i]);
      benchmark::DoNotOptimize(h);
      kovrix_bigfloat_destroy(h);
      i = (i + 1) & (kOperands - 1);
    }
  } else {
    for (auto _ : state) {
      mpfr_t r;
      mpfr_init2(r, kPrec);
      ref(r, &a.m[i], MPFR_RNDN);
      benchmark::DoNotOptimize(r->_mpfr_d);
      mpfr_clear(r);
      i = (i + 1) & (kOperands - 1);
    }
  }
}

#define BINARY_ROWS(name, kop, mop)                                                               \
  void BM_bigfloat_##name(benchmark::State& s) { binaryRow(s, kop, mop, true); }                  \
  void BM_mpfr_##name(benchmark::State& s) { binaryRow(s, kop, mop, false); }                     \
  BENCHMARK(BM_bigfloat_##name);                                                                  \
  BENCHMARK(BM_mpfr_##name);

#define UNARY_ROWS(name, kop, mop, lo, hi)                                                        \
  void BM_bigfloat_##name(benchmark::State& s) { unaryRow(s, kop, mop, lo, hi, true); }          \
  void BM_mpfr_##name(benchmark::State& s) { unaryRow(s, kop, mop, lo, hi, false); }             \
  BENCHMARK(BM_bigfloat_##name);                                                                  \
  BENCHMARK(BM_mpfr_##name);

BINARY_ROWS(add, kovrix_bigfloat_add, mpfr_add)
BINARY_ROWS(sub, kovrix_bigfloat_sub, mpfr_sub)
BINARY_ROWS(mul, kovrix_bigfloat_mul, mpfr_mul)
BINARY_ROWS(div, kovrix_bigfloat_div, mpfr_div)
UNARY_ROWS(sin, kovrix_bigfloat_sin, mpfr_sin, -4.0, 4.0)
UNARY_ROWS(sin_1e6, kovrix_bigfloat_sin, mpfr_sin, -1e6, 1e6)
UNARY_ROWS(cos, kovrix_bigfloat_cos, mpfr_cos, -4.0, 4.0)
UNARY_ROWS(exp, kovrix_bigfloat_exp, mpfr_exp, -4.0, 4.0)
UNARY_ROWS(ln, kovrix_bigfloat_ln, mpfr_log, 0.0, 8.0)
UNARY_ROWS(arctan, kovrix_bigfloat_arctan, mpfr_atan, -4.0, 4.0)
UNARY_ROWS(sqrt, kovrix_bigfloat_sqrt, mpfr_sqrt, 0.0, 8.0)

// The float64 logarithm through 256 bits, beside MPFR doing the same
// (double in, logarithm at 256 bits, nearest double out) and libm's log.
const std::vector<double>& positiveDoubles() {
  static const std::vector<double> v = [] {
    std::vector<double> out(kDoubles);
    std::mt19937_64 g(11);
    for (auto& x : out) x = std::ldexp(1.0 + static_cast<double>(g() >> 12) * 0x1p-52, static_cast<int>(g() % 200) - 100);
    return out;
  }();
  return v;
}

void BM_ln_generic_f64(benchmark::State& state) {
  const auto& v = positiveDoubles();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kovrix_ln_generic_f64(v[i]));
    i = (i + 1) & (kDoubles - 1);
  }
}
void BM_mpfr_log_f64(benchmark::State& state) {
  const auto& v = positiveDoubles();
  mpfr_t x, r;
  mpfr_init2(x, kPrec);
  mpfr_init2(r, kPrec);
  std::size_t i = 0;
  for (auto _ : state) {
    mpfr_set_d(x, v[i], MPFR_RNDN);
    mpfr_log(r, x, MPFR_RNDN);
    benchmark::DoNotOptimize(mpfr_get_d(r, MPFR_RNDN));
    i = (i + 1) & (kDoubles - 1);
  }
  mpfr_clear(x);
  mpfr_clear(r);
}
void BM_libm_log_f64(benchmark::State& state) {
  const auto& v = positiveDoubles();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::log(v[i]));
    i = (i + 1) & (kDoubles - 1);
  }
}
BENCHMARK(BM_ln_generic_f64);
BENCHMARK(BM_mpfr_log_f64);
BENCHMARK(BM_libm_log_f64);

}  // namespace

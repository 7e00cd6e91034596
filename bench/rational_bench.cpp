// Rational exports beside GMP's mpq and FLINT's fmpq: add, mul and cmp of
// fractions whose parts have about 19 (int64-sized), 100 and 1,000 decimal
// digits, each call making a fresh result (a new handle and its destroy,
// mpq_init/mpq_clear, fmpq_init/fmpq_clear); and the series functions on
// small arguments.  Operands are 64 random canonical pairs, visited in turn;
// every pair is checked against GMP before anything is timed.
#include <benchmark/benchmark.h>
#include <gmp.h>
#ifdef KOVRIX_HAVE_FLINT
#include <flint/fmpq.h>
#endif

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "kovrix.h"

namespace {

constexpr int kPairs = 64;

gmp_randstate_t& ratRandState() {
  static gmp_randstate_t state;
  static bool ready = [] {
    gmp_randinit_mt(state);
    gmp_randseed_ui(state, 20261209);
    return true;
  }();
  (void)ready;
  return state;
}

std::string decimal(mpz_srcptr z) {
  std::string s(mpz_sizeinbase(z, 10) + 2, '\0');
  mpz_get_str(s.data(), 10, z);
  s.resize(std::strlen(s.c_str()));
  return s;
}

std::string decimal(kovrix_bigint* h) {
  std::vector<char> buf(1 << 14);
  int n = kovrix_bigint_to_decimal(h, buf.data(), static_cast<int64_t>(buf.size()));
  kovrix_bigint_destroy(h);
  return n < 0 ? std::string("<failed>") : std::string(buf.data(), static_cast<std::size_t>(n));
}

// A random canonical fraction with parts of `bits` bits, in all three forms.
struct Fraction {
  mpq_t q;
  kovrix_rational* h;
#ifdef KOVRIX_HAVE_FLINT
  fmpq_t f;
#endif
  explicit Fraction(int bits) {
    mpq_init(q);
    do {
      mpz_urandomb(mpq_numref(q), ratRandState(), static_cast<mp_bitcnt_t>(bits));
      mpz_urandomb(mpq_denref(q), ratRandState(), static_cast<mp_bitcnt_t>(bits));
    } while (mpz_sgn(mpq_numref(q)) == 0 || mpz_sgn(mpq_denref(q)) == 0);
    if (gmp_urandomb_ui(ratRandState(), 1)) mpz_neg(mpq_numref(q), mpq_numref(q));
    mpq_canonicalize(q);
    kovrix_bigint* n = kovrix_bigint_from_decimal(decimal(mpq_numref(q)).c_str());
    kovrix_bigint* d = kovrix_bigint_from_decimal(decimal(mpq_denref(q)).c_str());
    h = kovrix_rational_from_bigint(n, d);
    kovrix_bigint_destroy(n);
    kovrix_bigint_destroy(d);
#ifdef KOVRIX_HAVE_FLINT
    fmpq_init(f);
    fmpq_set_mpq(f, q);
#endif
  }
  Fraction(const Fraction&) = delete;
  ~Fraction() {
    mpq_clear(q);
    kovrix_rational_destroy(h);
#ifdef KOVRIX_HAVE_FLINT
    fmpq_clear(f);
#endif
  }
};

// Bits of each part for the size rows: 0 int64-sized (62 bits), 1 100
// digits, 2 1,000 digits.
int bitsOf(std::int64_t row) { return row == 0 ? 62 : (row == 1 ? 333 : 3322); }

struct Pool {
  std::vector<Fraction*> a, b;
  explicit Pool(int bits) {
    for (int i = 0; i < kPairs; ++i) {
      a.push_back(new Fraction(bits));
      b.push_back(new Fraction(bits));
    }
  }
  ~Pool() {
    for (auto* p : a) delete p;
    for (auto* p : b) delete p;
  }
};

bool sameValue(kovrix_rational* h, mpq_srcptr q) {
  bool same = h != nullptr && decimal(kovrix_rational_num(h)) == decimal(mpq_numref(q)) &&
              decimal(kovrix_rational_den(h)) == decimal(mpq_denref(q));
  kovrix_rational_destroy(h);
  return same;
}

using KovrixOp = kovrix_rational* (*)(const kovrix_rational*, const kovrix_rational*);
using GmpOp = void (*)(mpq_ptr, mpq_srcptr, mpq_srcptr);

void kovrixOp(benchmark::State& state, KovrixOp op, GmpOp ref) {
  kovrix_init();
  Pool pool(bitsOf(state.range(0)));
  mpq_t r;
  mpq_init(r);
  for (int i = 0; i < kPairs; ++i) {
    ref(r, pool.a[i]->q, pool.b[i]->q);
    if (!sameValue(op(pool.a[i]->h, pool.b[i]->h), r)) {
      state.SkipWithError("kovrix and GMP disagree");
      break;
    }
  }
  mpq_clear(r);
  int i = 0;
  for (auto _ : state) {
    kovrix_rational* h = op(pool.a[i]->h, pool.b[i]->h);
    benchmark::DoNotOptimize(h);
    kovrix_rational_destroy(h);
    i = (i + 1) % kPairs;
  }
}

void gmpOp(benchmark::State& state, GmpOp op) {
  Pool pool(bitsOf(state.range(0)));
  int i = 0;
  for (auto _ : state) {
    mpq_t r;
    mpq_init(r);
    op(r, pool.a[i]->q, pool.b[i]->q);
    benchmark::DoNotOptimize(r->_mp_num._mp_d);
    mpq_clear(r);
    i = (i + 1) % kPairs;
  }
}

void BM_RationalAdd_kovrix(benchmark::State& s) { kovrixOp(s, kovrix_rational_add, mpq_add); }
void BM_RationalAdd_gmp(benchmark::State& s) { gmpOp(s, mpq_add); }
void BM_RationalMul_kovrix(benchmark::State& s) { kovrixOp(s, kovrix_rational_mul, mpq_mul); }
void BM_RationalMul_gmp(benchmark::State& s) { gmpOp(s, mpq_mul); }

void BM_RationalCmp_kovrix(benchmark::State& s) {
  Pool pool(bitsOf(s.range(0)));
  for (int i = 0; i < kPairs; ++i) {
    const int c = mpq_cmp(pool.a[i]->q, pool.b[i]->q);
    if (kovrix_rational_cmp(pool.a[i]->h, pool.b[i]->h) != (c > 0) - (c < 0)) {
      s.SkipWithError("kovrix and GMP disagree");
      break;
    }
  }
  int i = 0;
  for (auto _ : s) {
    benchmark::DoNotOptimize(kovrix_rational_cmp(pool.a[i]->h, pool.b[i]->h));
    i = (i + 1) % kPairs;
  }
}
void BM_RationalCmp_gmp(benchmark::State& s) {
  Pool pool(bitsOf(s.range(0)));
  int i = 0;
  for (auto _ : s) {
    benchmark::DoNotOptimize(mpq_cmp(pool.a[i]->q, pool.b[i]->q));
    i = (i + 1) % kPairs;
  }
}

#ifdef KOVRIX_HAVE_FLINT
using FlintOp = void (*)(fmpq_t, const fmpq_t, const fmpq_t);
void flintOp(benchmark::State& state, FlintOp op) {
  Pool pool(bitsOf(state.range(0)));
  int i = 0;
  for (auto _ : state) {
    fmpq_t r;
    fmpq_init(r);
    op(r, pool.a[i]->f, pool.b[i]->f);
    benchmark::DoNotOptimize(r);
    fmpq_clear(r);
    i = (i + 1) % kPairs;
  }
}
void BM_RationalAdd_flint(benchmark::State& s) { flintOp(s, fmpq_add); }
void BM_RationalMul_flint(benchmark::State& s) { flintOp(s, fmpq_mul); }
void BM_RationalCmp_flint(benchmark::State& s) {
  Pool pool(bitsOf(s.range(0)));
  int i = 0;
  for (auto _ : s) {
    benchmark::DoNotOptimize(fmpq_cmp(pool.a[i]->f, pool.b[i]->f));
    i = (i + 1) % kPairs;
  }
}
#endif

// Rows 0, 1, 2: int64-sized, 100 digits, 1,000 digits.
BENCHMARK(BM_RationalAdd_kovrix)->DenseRange(0, 2);
BENCHMARK(BM_RationalAdd_gmp)->DenseRange(0, 2);
BENCHMARK(BM_RationalMul_kovrix)->DenseRange(0, 2);
BENCHMARK(BM_RationalMul_gmp)->DenseRange(0, 2);
BENCHMARK(BM_RationalCmp_kovrix)->DenseRange(0, 2);
BENCHMARK(BM_RationalCmp_gmp)->DenseRange(0, 2);
#ifdef KOVRIX_HAVE_FLINT
BENCHMARK(BM_RationalAdd_flint)->DenseRange(0, 2);
BENCHMARK(BM_RationalMul_flint)->DenseRange(0, 2);
BENCHMARK(BM_RationalCmp_flint)->DenseRange(0, 2);
#endif

// ---- the series functions (no peer computes these truncated series) ----------------

using KovrixUnary = kovrix_rational* (*)(const kovrix_rational*);

template <KovrixUnary F>
void BM_RationalFunction(benchmark::State& s) {
  kovrix_init();
  kovrix_rational* x = kovrix_rational_from_i64(s.range(0), s.range(1));
  for (auto _ : s) {
    kovrix_rational* h = F(x);
    benchmark::DoNotOptimize(h);
    kovrix_rational_destroy(h);
  }
  kovrix_rational_destroy(x);
}
BENCHMARK(BM_RationalFunction<kovrix_rational_sin>)->Name("rational_sin/kovrix")->Args({7, 10})->Args({355, 113});
BENCHMARK(BM_RationalFunction<kovrix_rational_exp>)->Name("rational_exp/kovrix")->Args({7, 10})->Args({355, 113});
BENCHMARK(BM_RationalFunction<kovrix_rational_ln>)->Name("rational_ln/kovrix")->Args({7, 10})->Args({355, 113});
BENCHMARK(BM_RationalFunction<kovrix_rational_sqrt>)->Name("rational_sqrt/kovrix")->Args({7, 10})->Args({355, 113});
BENCHMARK(BM_RationalFunction<kovrix_rational_atan>)->Name("rational_atan/kovrix")->Args({7, 10})->Args({355, 113});

}  // namespace

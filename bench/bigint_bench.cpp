// BigInt exports beside GMP: small add/sub/cmp through handles, schoolbook
// and Karatsuba products, 2n-by-n division, decimal text, and the effect of
// the inline limb storage.  Every pair checks that both sides compute the
// same value before it times anything.
#include <benchmark/benchmark.h>
#include <gmp.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bigint_peer.hpp"
#include "kovrix.h"

#if KOVRIX_HAVE_FLINT
#include <flint/fft.h>
#endif

namespace {

using kovrix_bench::randState;

std::string decimalOf(mpz_srcptr z) {
  std::string s(mpz_sizeinbase(z, 10) + 2, '\0');
  mpz_get_str(s.data(), 10, z);
  s.resize(std::strlen(s.c_str()));
  return s;
}

std::string decimalOf(const kovrix_bigint* h) {
  // -1 answers a NULL handle or a buffer too small: grow up to 2^28 bytes.
  for (std::size_t size = 1 << 16; size <= (1u << 28); size *= 4) {
    std::vector<char> buf(size);
    int n = kovrix_bigint_to_decimal(h, buf.data(), static_cast<int64_t>(buf.size()));
    if (n >= 0) return std::string(buf.data(), static_cast<std::size_t>(n));
    if (h == nullptr) break;
  }
  return "<failed>";
}

// A random value of exactly `limbs` 64-bit limbs (top bit set), in both forms.
struct Operand {
  mpz_t z;
  kovrix_bigint* h;
  explicit Operand(int limbs, bool negative = false) {
    mpz_init(z);
    mpz_urandomb(z, randState(), static_cast<mp_bitcnt_t>(64 * limbs));
    mpz_setbit(z, static_cast<mp_bitcnt_t>(64 * limbs - 1));
    if (negative) mpz_neg(z, z);
    h = kovrix_bench::handleOf(z);
  }
  ~Operand() {
    mpz_clear(z);
    kovrix_bigint_destroy(h);
  }
};

bool sameValue(benchmark::State& state, const kovrix_bigint* h, mpz_srcptr z) {
  if (kovrix_bench::sameValue(h, z)) return true;
  state.SkipWithError("kovrix and GMP disagree");
  return false;
}

using KovrixBinary = kovrix_bigint* (*)(const kovrix_bigint*, const kovrix_bigint*);
using GmpBinary = void (*)(mpz_ptr, mpz_srcptr, mpz_srcptr);

// Result creation and release are part of each iteration on both sides: a
// new handle and its destroy, mpz_init and mpz_clear.
void kovrixBinary(benchmark::State& state, KovrixBinary op, GmpBinary ref, int la, int lb) {
  kovrix_init();
  Operand a(la), b(lb, true);
  {
    mpz_t r;
    mpz_init(r);
    ref(r, a.z, b.z);
    kovrix_bigint* h = op(a.h, b.h);
    bool ok = sameValue(state, h, r);
    kovrix_bigint_destroy(h);
    mpz_clear(r);
    if (!ok) return;
  }
  for (auto _ : state) {
    kovrix_bigint* h = op(a.h, b.h);
    benchmark::DoNotOptimize(h);
    kovrix_bigint_destroy(h);
  }
}

void gmpBinary(benchmark::State& state, GmpBinary ref, int la, int lb) {
  Operand a(la), b(lb, true);
  for (auto _ : state) {
    mpz_t r;
    mpz_init(r);
    ref(r, a.z, b.z);
    benchmark::DoNotOptimize(r->_mp_d);
    mpz_clear(r);
  }
}

// ---- add / sub / cmp of 1 to 4 limbs ------------------------------------------------

void BM_Add_kovrix(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  kovrixBinary(s, kovrix_bigint_add, mpz_add, n, n);
}
void BM_Add_gmp(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  gmpBinary(s, mpz_add, n, n);
}
void BM_Sub_kovrix(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  kovrixBinary(s, kovrix_bigint_sub, mpz_sub, n, n);
}
void BM_Sub_gmp(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  gmpBinary(s, mpz_sub, n, n);
}
BENCHMARK(BM_Add_kovrix)->DenseRange(1, 4);
BENCHMARK(BM_Add_gmp)->DenseRange(1, 4);
BENCHMARK(BM_Sub_kovrix)->DenseRange(1, 4);
BENCHMARK(BM_Sub_gmp)->DenseRange(1, 4);

void BM_Cmp_kovrix(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  Operand a(n), b(n);
  int expect = mpz_cmp(a.z, b.z);
  if (kovrix_bigint_cmp(a.h, b.h) != (expect > 0) - (expect < 0)) {
    s.SkipWithError("kovrix and GMP disagree");
    return;
  }
  for (auto _ : s) benchmark::DoNotOptimize(kovrix_bigint_cmp(a.h, b.h));
}
void BM_Cmp_gmp(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  Operand a(n), b(n);
  for (auto _ : s) benchmark::DoNotOptimize(mpz_cmp(a.z, b.z));
}
BENCHMARK(BM_Cmp_kovrix)->DenseRange(1, 4);
BENCHMARK(BM_Cmp_gmp)->DenseRange(1, 4);

// ---- products -----------------------------------------------------------------------

void BM_MulSchoolbook_kovrix(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  kovrixBinary(s, kovrix_bigint_mul, mpz_mul, n, n);
}
void BM_MulSchoolbook_gmp(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  gmpBinary(s, mpz_mul, n, n);
}
BENCHMARK(BM_MulSchoolbook_kovrix)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Arg(16)->Arg(31);
BENCHMARK(BM_MulSchoolbook_gmp)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Arg(16)->Arg(31);

void BM_MulKaratsuba_kovrix(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  kovrixBinary(s, kovrix_bigint_mul, mpz_mul, n, n);
}
void BM_MulKaratsuba_gmp(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  gmpBinary(s, mpz_mul, n, n);
}
BENCHMARK(BM_MulKaratsuba_kovrix)->Arg(64)->Arg(256)->Arg(1024);
BENCHMARK(BM_MulKaratsuba_gmp)->Arg(64)->Arg(256)->Arg(1024);

// ---- long operands: the sizes the linear kernels and product tiers are judged at --------
// Add and sub at 64 limbs and up; products and squares from 64 limbs (Karatsuba)
// through Toom-3 to the transforms at 16,384 and 262,144 limbs.  FLINT's
// transform product (flint_mpn_mul_fft_main, on limbs) is the second peer
// where it is faster than GMP.
// b is negative (see kovrixBinary), so a - b adds the magnitudes and a + b
// subtracts them: the rows name the limb operation, both sides run the same
// signed one.
void BM_AddLong_kovrix(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  kovrixBinary(s, kovrix_bigint_sub, mpz_sub, n, n);
}
void BM_AddLong_gmp(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  gmpBinary(s, mpz_sub, n, n);
}
void BM_SubLong_kovrix(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  kovrixBinary(s, kovrix_bigint_add, mpz_add, n, n);
}
void BM_SubLong_gmp(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  gmpBinary(s, mpz_add, n, n);
}
BENCHMARK(BM_AddLong_kovrix)->Arg(64)->Arg(1024)->Arg(4096)->Arg(16384);
BENCHMARK(BM_AddLong_gmp)->Arg(64)->Arg(1024)->Arg(4096)->Arg(16384);
BENCHMARK(BM_SubLong_kovrix)->Arg(64)->Arg(1024)->Arg(4096)->Arg(16384);
BENCHMARK(BM_SubLong_gmp)->Arg(64)->Arg(1024)->Arg(4096)->Arg(16384);

void BM_MulLong_kovrix(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  kovrixBinary(s, kovrix_bigint_mul, mpz_mul, n, n);
}
void BM_MulLong_gmp(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  gmpBinary(s, mpz_mul, n, n);
}
BENCHMARK(BM_MulLong_kovrix)->Arg(64)->Arg(1024)->Arg(4096)->Arg(16384)->Arg(262144)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MulLong_gmp)->Arg(64)->Arg(1024)->Arg(4096)->Arg(16384)->Arg(262144)->Unit(benchmark::kMicrosecond);

// Squares: the same handle twice, and mpz_mul with the same operand twice
// (which GMP also turns into a square).
void BM_SqrLong_kovrix(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  Operand a(n);
  mpz_t r;
  mpz_init(r);
  mpz_mul(r, a.z, a.z);
  kovrix_bigint* h = kovrix_bigint_mul(a.h, a.h);
  bool ok = sameValue(s, h, r);
  kovrix_bigint_destroy(h);
  mpz_clear(r);
  if (!ok) return;
  for (auto _ : s) {
    kovrix_bigint* x = kovrix_bigint_mul(a.h, a.h);
    benchmark::DoNotOptimize(x);
    kovrix_bigint_destroy(x);
  }
}
void BM_SqrLong_gmp(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  Operand a(n);
  for (auto _ : s) {
    mpz_t r;
    mpz_init(r);
    mpz_mul(r, a.z, a.z);
    benchmark::DoNotOptimize(r->_mp_d);
    mpz_clear(r);
  }
}
BENCHMARK(BM_SqrLong_kovrix)->Arg(64)->Arg(1024)->Arg(4096)->Arg(16384)->Arg(262144)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SqrLong_gmp)->Arg(64)->Arg(1024)->Arg(4096)->Arg(16384)->Arg(262144)->Unit(benchmark::kMicrosecond);

#if KOVRIX_HAVE_FLINT
void BM_MulLong_flint(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  Operand a(n), b(n);
  std::vector<mp_limb_t> r(2 * static_cast<std::size_t>(n));
  mpz_t expect;
  mpz_init(expect);
  mpz_mul(expect, a.z, b.z);
  flint_mpn_mul_fft_main(r.data(), mpz_limbs_read(a.z), n, mpz_limbs_read(b.z), n);
  bool ok = mpn_cmp(r.data(), mpz_limbs_read(expect), 2 * n) == 0;
  mpz_clear(expect);
  if (!ok) {
    s.SkipWithError("FLINT and GMP disagree");
    return;
  }
  for (auto _ : s) {
    flint_mpn_mul_fft_main(r.data(), mpz_limbs_read(a.z), n, mpz_limbs_read(b.z), n);
    benchmark::DoNotOptimize(r.data());
  }
}
BENCHMARK(BM_MulLong_flint)->Arg(4096)->Arg(16384)->Arg(262144)->Unit(benchmark::kMicrosecond);
#endif

// ---- division, 2n by n limbs ----------------------------------------------------------
// 4 to 64 limbs: schoolbook and the first divide-and-conquer sizes; 1,024 and
// 16,384 limbs (2,048 and 32,768-limb dividends): deep recursion on the fast
// products.

void BM_Div2nByN_kovrix(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  kovrixBinary(s, kovrix_bigint_div, mpz_tdiv_q, 2 * n, n);
}
void BM_Div2nByN_gmp(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  gmpBinary(s, mpz_tdiv_q, 2 * n, n);
}
void BM_Mod2nByN_kovrix(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  kovrixBinary(s, kovrix_bigint_mod, mpz_tdiv_r, 2 * n, n);
}
void BM_Mod2nByN_gmp(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  gmpBinary(s, mpz_tdiv_r, 2 * n, n);
}
BENCHMARK(BM_Div2nByN_kovrix)->RangeMultiplier(2)->Range(4, 64)->Arg(1024)->Arg(16384);
BENCHMARK(BM_Div2nByN_gmp)->RangeMultiplier(2)->Range(4, 64)->Arg(1024)->Arg(16384);
BENCHMARK(BM_Mod2nByN_kovrix)->Arg(64)->Arg(1024)->Arg(16384);
BENCHMARK(BM_Mod2nByN_gmp)->Arg(64)->Arg(1024)->Arg(16384);

// ---- decimal text of 1,000 to 1,000,000 digits --------------------------------------

// A random value of exactly `digits` decimal digits, in both forms.
struct DecimalOperand {
  mpz_t z;
  std::string text;
  explicit DecimalOperand(long digits) {
    mpz_init(z);
    mpz_ui_pow_ui(z, 10, static_cast<unsigned long>(digits - 1));
    mpz_t r;
    mpz_init(r);
    mpz_urandomm(r, randState(), z);
    mpz_add(z, z, r);  // 10^(digits-1) <= z < 2 10^(digits-1)
    mpz_clear(r);
    text = decimalOf(z);
  }
  ~DecimalOperand() { mpz_clear(z); }
};

void BM_ToDecimal_kovrix(benchmark::State& s) {
  DecimalOperand d(s.range(0));
  kovrix_bigint* h = kovrix_bigint_from_decimal(d.text.c_str());
  std::vector<char> buf(d.text.size() + 1);
  int64_t size = static_cast<int64_t>(buf.size());
  if (kovrix_bigint_to_decimal(h, buf.data(), size) != static_cast<int>(d.text.size()) || d.text != buf.data()) {
    s.SkipWithError("kovrix and GMP texts differ");
  } else {
    for (auto _ : s) benchmark::DoNotOptimize(kovrix_bigint_to_decimal(h, buf.data(), size));
  }
  kovrix_bigint_destroy(h);
}
void BM_ToDecimal_gmp(benchmark::State& s) {
  DecimalOperand d(s.range(0));
  std::vector<char> buf(d.text.size() + 2);
  for (auto _ : s) benchmark::DoNotOptimize(mpz_get_str(buf.data(), 10, d.z));
}
void BM_FromDecimal_kovrix(benchmark::State& s) {
  DecimalOperand d(s.range(0));
  kovrix_bigint* h = kovrix_bigint_from_decimal(d.text.c_str());
  bool ok = sameValue(s, h, d.z);
  kovrix_bigint_destroy(h);
  if (!ok) return;
  for (auto _ : s) {
    kovrix_bigint* x = kovrix_bigint_from_decimal(d.text.c_str());
    benchmark::DoNotOptimize(x);
    kovrix_bigint_destroy(x);
  }
}
void BM_FromDecimal_gmp(benchmark::State& s) {
  DecimalOperand d(s.range(0));
  for (auto _ : s) {
    mpz_t x;
    mpz_init(x);
    mpz_set_str(x, d.text.c_str(), 10);
    benchmark::DoNotOptimize(x->_mp_d);
    mpz_clear(x);
  }
}
BENCHMARK(BM_ToDecimal_kovrix)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ToDecimal_gmp)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FromDecimal_kovrix)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FromDecimal_gmp)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMicrosecond);

// ---- inline limb storage ---------------------------------------------------------------
// A sum of two n-limb values is formed in n + 1 limbs.  Up to n = 9 that fits
// the ten limbs stored inside the value, so the only allocation is the handle
// object; from n = 10 on, the limbs take a heap block of their own (two
// allocations and two frees per call).  The step between 9 and 10 is the
// cost the inline storage saves on every small operation.
void BM_AddInlineBoundary_kovrix(benchmark::State& s) {
  int n = static_cast<int>(s.range(0));
  s.counters["heap_limbs"] = n + 1 > 10 ? 1 : 0;
  Operand a(n), b(n);
  for (auto _ : s) {
    kovrix_bigint* h = kovrix_bigint_add(a.h, b.h);
    benchmark::DoNotOptimize(h);
    kovrix_bigint_destroy(h);
  }
}
BENCHMARK(BM_AddInlineBoundary_kovrix)->DenseRange(7, 12);

}  // namespace

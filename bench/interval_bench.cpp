// Interval arithmetic and functions beside Boost.Interval (default policy:
// the hardware rounding mode is switched around each operation), MPFI at 53
// bits, and plain libm / float64 (no enclosure at all, the floor of the cost).
// Every benchmark first checks its results against the peer on the same
// operands: kovrix's interval must contain Boost's (which rounds each bound
// once, directed) or MPFI's.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include <mpfr.h>

#include "kovrix.h"
#include "random_inputs.hpp"

#ifdef KOVRIX_HAVE_BOOST_INTERVAL
#include <boost/numeric/interval.hpp>
#endif
#ifdef KOVRIX_HAVE_MPFI
#include <mpfi.h>
#endif

namespace {

constexpr std::size_t kN = kovrix::bench::kRandomInputs;

struct Operands {
  std::vector<kovrix_interval> a, b, small;  // b > 0; small within [-3, 3] for exp, sin, cos
  Operands() {
    std::mt19937_64 g(12345);
    std::uniform_real_distribution<double> u(-100, 100), pos(0.5, 100), w(0, 1e-3), s(-3, 3);
    for (std::size_t i = 0; i < kN; ++i) {
      const double x = u(g), y = pos(g), z = s(g);
      a.push_back({x, x + w(g)});
      b.push_back({y, y + w(g)});
      small.push_back({z, z + w(g)});
    }
  }
};
const Operands& ops() {
  static const Operands o;
  return o;
}

bool encloses(kovrix_interval k, double lo, double hi) { return k.lo <= lo && hi <= k.hi; }

// f(x.lo) and f(x.hi), exact to 128 bits and rounded outward, lie in k
// (f = exp, sin, cos for Op = 4, 5, 6).
bool holdsExactAtBounds(int op, kovrix_interval x, kovrix_interval k) {
  mpfr_t v, r;
  mpfr_init2(v, 64);
  mpfr_init2(r, 128);
  bool ok = true;
  for (double b : {x.lo, x.hi}) {
    mpfr_set_d(v, b, MPFR_RNDN);
    if (op == 4) mpfr_exp(r, v, MPFR_RNDN);
    if (op == 5) mpfr_sin(r, v, MPFR_RNDN);
    if (op == 6) mpfr_cos(r, v, MPFR_RNDN);
    ok = ok && k.lo <= mpfr_get_d(r, MPFR_RNDD) && mpfr_get_d(r, MPFR_RNDU) <= k.hi;
  }
  mpfr_clear(v);
  mpfr_clear(r);
  return ok;
}

// ---- kovrix ----------------------------------------------------------------------
template <kovrix_interval (*F)(kovrix_interval, kovrix_interval)>
void BM_kovrix_binary(benchmark::State& st) {
  const auto& o = ops();
  for (auto _ : st) {
    for (std::size_t i = 0; i < kN; ++i) benchmark::DoNotOptimize(F(o.a[i], o.b[i]));
  }
  st.SetItemsProcessed(static_cast<std::int64_t>(st.iterations() * kN));
}
template <kovrix_interval (*F)(kovrix_interval)>
void BM_kovrix_unary(benchmark::State& st) {
  const auto& o = ops();
  for (auto _ : st) {
    for (std::size_t i = 0; i < kN; ++i) benchmark::DoNotOptimize(F(o.small[i]));
  }
  st.SetItemsProcessed(static_cast<std::int64_t>(st.iterations() * kN));
}
BENCHMARK(BM_kovrix_binary<kovrix_interval_add>)->Name("interval_add/kovrix");
BENCHMARK(BM_kovrix_binary<kovrix_interval_sub>)->Name("interval_sub/kovrix");
BENCHMARK(BM_kovrix_binary<kovrix_interval_mul>)->Name("interval_mul/kovrix");
BENCHMARK(BM_kovrix_binary<kovrix_interval_div>)->Name("interval_div/kovrix");
BENCHMARK(BM_kovrix_unary<kovrix_interval_exp>)->Name("interval_exp/kovrix");
BENCHMARK(BM_kovrix_unary<kovrix_interval_sin>)->Name("interval_sin/kovrix");
BENCHMARK(BM_kovrix_unary<kovrix_interval_cos>)->Name("interval_cos/kovrix");

kovrix_interval kovrixOp(int op, std::size_t i) {
  const auto& o = ops();
  switch (op) {
    case 0: return kovrix_interval_add(o.a[i], o.b[i]);
    case 1: return kovrix_interval_sub(o.a[i], o.b[i]);
    case 2: return kovrix_interval_mul(o.a[i], o.b[i]);
    case 3: return kovrix_interval_div(o.a[i], o.b[i]);
    case 4: return kovrix_interval_exp(o.small[i]);
    case 5: return kovrix_interval_sin(o.small[i]);
    default: return kovrix_interval_cos(o.small[i]);
  }
}

// ---- plain float64 (no enclosure) --------------------------------------------------
template <int Op>
void BM_plain(benchmark::State& st) {
  const auto& o = ops();
  for (auto _ : st) {
    for (std::size_t i = 0; i < kN; ++i) {
      const double x = o.a[i].lo, y = o.b[i].lo, z = o.small[i].lo;
      double r = 0;
      if constexpr (Op == 0) r = x + y;
      if constexpr (Op == 1) r = x - y;
      if constexpr (Op == 2) r = x * y;
      if constexpr (Op == 3) r = x / y;
      if constexpr (Op == 4) r = std::exp(z);
      if constexpr (Op == 5) r = std::sin(z);
      if constexpr (Op == 6) r = std::cos(z);
      benchmark::DoNotOptimize(r);
    }
  }
  st.SetItemsProcessed(static_cast<std::int64_t>(st.iterations() * kN));
}
BENCHMARK(BM_plain<0>)->Name("interval_add/libm_point");
BENCHMARK(BM_plain<1>)->Name("interval_sub/libm_point");
BENCHMARK(BM_plain<2>)->Name("interval_mul/libm_point");
BENCHMARK(BM_plain<3>)->Name("interval_div/libm_point");
BENCHMARK(BM_plain<4>)->Name("interval_exp/libm_point");
BENCHMARK(BM_plain<5>)->Name("interval_sin/libm_point");
BENCHMARK(BM_plain<6>)->Name("interval_cos/libm_point");

#ifdef KOVRIX_HAVE_BOOST_INTERVAL
using BoostIv = boost::numeric::interval<double>;
// The default policy has no transcendental functions; Boost's own choice for
// them is rounded_transc_std (the C library called in each directed mode),
// under the same saved-and-restored rounding state.
namespace bil = boost::numeric::interval_lib;
using BoostTr = boost::numeric::interval<
    double, bil::policies<bil::save_state<bil::rounded_transc_std<double>>, bil::checking_base<double>>>;
BoostIv bi(kovrix_interval x) { return BoostIv(x.lo, x.hi); }

template <int Op>
BoostIv boostOp(const BoostIv& x, const BoostIv& y, const BoostTr& z) {
  if constexpr (Op == 0) return x + y;
  if constexpr (Op == 1) return x - y;
  if constexpr (Op == 2) return x * y;
  if constexpr (Op == 3) return x / y;
  if constexpr (Op >= 4) {
    BoostTr r;
    if constexpr (Op == 4) r = boost::numeric::exp(z);
    if constexpr (Op == 5) r = boost::numeric::sin(z);
    if constexpr (Op == 6) r = boost::numeric::cos(z);
    return BoostIv(r.lower(), r.upper());
  }
}
template <int Op>
void BM_boost(benchmark::State& st) {
  const auto& o = ops();
  std::vector<BoostIv> a, b;
  std::vector<BoostTr> s;
  for (std::size_t i = 0; i < kN; ++i)
    a.push_back(bi(o.a[i])), b.push_back(bi(o.b[i])), s.push_back(BoostTr(o.small[i].lo, o.small[i].hi));
  for (std::size_t i = 0; i < kN; ++i) {
    const BoostIv r = boostOp<Op>(a[i], b[i], s[i]);
    // Arithmetic: Boost rounds each bound once in the directed mode, kovrix
    // steps once after rounding to nearest, so kovrix's interval holds
    // Boost's.  Functions: Boost's bounds are the C library's values in
    // directed modes, often wider than kovrix's; both must hold the exact
    // values at the operand's bounds (MPFR) and so overlap.
    const kovrix_interval k = kovrixOp(Op, i);
    const bool ok = Op < 4 ? encloses(k, r.lower(), r.upper())
                           : holdsExactAtBounds(Op, o.small[i], k) && r.lower() <= k.hi && k.lo <= r.upper();
    if (!ok) {
      std::fprintf(stderr, "op %d at [%a, %a]: kovrix [%a, %a], Boost [%a, %a]\n", Op, o.small[i].lo,
                   o.small[i].hi, k.lo, k.hi, r.lower(), r.upper());
      st.SkipWithError("kovrix result disagrees with Boost's");
      return;
    }
  }
  for (auto _ : st) {
    for (std::size_t i = 0; i < kN; ++i) benchmark::DoNotOptimize(boostOp<Op>(a[i], b[i], s[i]));
  }
  st.SetItemsProcessed(static_cast<std::int64_t>(st.iterations() * kN));
}
BENCHMARK(BM_boost<0>)->Name("interval_add/boost");
BENCHMARK(BM_boost<1>)->Name("interval_sub/boost");
BENCHMARK(BM_boost<2>)->Name("interval_mul/boost");
BENCHMARK(BM_boost<3>)->Name("interval_div/boost");
BENCHMARK(BM_boost<4>)->Name("interval_exp/boost");
BENCHMARK(BM_boost<5>)->Name("interval_sin/boost");
BENCHMARK(BM_boost<6>)->Name("interval_cos/boost");
#endif

#ifdef KOVRIX_HAVE_MPFI
template <int Op>
void BM_mpfi(benchmark::State& st) {
  const auto& o = ops();
  std::vector<mpfi_t> a(kN), b(kN), s(kN);
  mpfi_t r;
  mpfi_init2(r, 53);
  for (std::size_t i = 0; i < kN; ++i) {
    mpfi_init2(a[i], 53), mpfi_init2(b[i], 53), mpfi_init2(s[i], 53);
    mpfi_interv_d(a[i], o.a[i].lo, o.a[i].hi);
    mpfi_interv_d(b[i], o.b[i].lo, o.b[i].hi);
    mpfi_interv_d(s[i], o.small[i].lo, o.small[i].hi);
  }
  auto run = [&](std::size_t i) {
    if constexpr (Op == 0) mpfi_add(r, a[i], b[i]);
    if constexpr (Op == 1) mpfi_sub(r, a[i], b[i]);
    if constexpr (Op == 2) mpfi_mul(r, a[i], b[i]);
    if constexpr (Op == 3) mpfi_div(r, a[i], b[i]);
    if constexpr (Op == 4) mpfi_exp(r, s[i]);
    if constexpr (Op == 5) mpfi_sin(r, s[i]);
    if constexpr (Op == 6) mpfi_cos(r, s[i]);
  };
  bool ok = true;
  for (std::size_t i = 0; i < kN && ok; ++i) {
    run(i);
    ok = encloses(kovrixOp(Op, i), mpfr_get_d(&r->left, MPFR_RNDD), mpfr_get_d(&r->right, MPFR_RNDU));
  }
  if (!ok) st.SkipWithError("kovrix result does not enclose MPFI's");
  if (ok)
    for (auto _ : st) {
      for (std::size_t i = 0; i < kN; ++i) run(i);
      benchmark::ClobberMemory();
    }
  st.SetItemsProcessed(static_cast<std::int64_t>(st.iterations() * kN));
  for (std::size_t i = 0; i < kN; ++i) mpfi_clear(a[i]), mpfi_clear(b[i]), mpfi_clear(s[i]);
  mpfi_clear(r);
}
BENCHMARK(BM_mpfi<0>)->Name("interval_add/mpfi53");
BENCHMARK(BM_mpfi<1>)->Name("interval_sub/mpfi53");
BENCHMARK(BM_mpfi<2>)->Name("interval_mul/mpfi53");
BENCHMARK(BM_mpfi<3>)->Name("interval_div/mpfi53");
BENCHMARK(BM_mpfi<4>)->Name("interval_exp/mpfi53");
BENCHMARK(BM_mpfi<5>)->Name("interval_sin/mpfi53");
BENCHMARK(BM_mpfi<6>)->Name("interval_cos/mpfi53");
#endif

}  // namespace

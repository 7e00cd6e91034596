// Fixed-point exports beside the peers a user would otherwise pick:
//
//  - libfixmath, the common Q16.16 library (Debian's libfixmath-dev): its
//    saturating add, sub, mul and div, floor, and its sine, cosine, atan2 and
//    exponential, on the same values held in Q16.16.  Without it installed
//    these rows are left out;
//  - libm's double functions for the circular and hyperbolic kernels.
//
// Each pair runs on the same 65,536 random inputs (random_inputs.hpp), cycled
// in order.  The CORDIC kernels also have a "same_argument" row that repeats
// one input: the gap between the two is what unpredictable data costs the
// kernel.  Before timing, every benchmark checks its results against the peer
// (equal up to the peer's rounding or the kernel's documented accuracy) and
// refuses to time on a mismatch.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "kovrix.h"
#include "random_inputs.hpp"

#ifdef KOVRIX_HAVE_LIBFIXMATH
#include <libfixmath/fix16.h>
#endif

namespace {

// ---- inputs -------------------------------------------------------------------------

constexpr std::size_t kInputs = kovrix::bench::kRandomInputs;
constexpr std::int64_t one = std::int64_t{1} << 32;
constexpr std::int64_t piQ32 = 13493037704;

struct Inputs {
  std::vector<std::int64_t> a, b;       // Q32.32, |value| < 2^15 so Q16.16 can hold it
  std::vector<std::int32_t> a16, b16;   // the same values in Q16.16 (floored)
  std::vector<std::int64_t> angle;      // Q32.32 angles in [-pi, pi]
  std::vector<std::int32_t> angle16;    // the same in Q16.16
  std::vector<double> angleD;
  std::vector<std::int64_t> small;      // Q32.32 in [-1.1, 1.1]
  std::vector<std::int32_t> small16;
  std::vector<double> smallD;
};

const Inputs& inputs() {
  static const Inputs in = [] {
    Inputs r;
    std::mt19937_64 gen(20261208);
    std::uniform_int_distribution<std::int64_t> value(-(std::int64_t{1} << 46), std::int64_t{1} << 46);
    std::uniform_int_distribution<std::int64_t> ang(-piQ32, piQ32);
    std::uniform_int_distribution<std::int64_t> sm(-4724464025, 4724464025);
    for (std::size_t i = 0; i < kInputs; ++i) {
      std::int64_t a = value(gen), b = value(gen);
      if (b == 0) b = 1;
      r.a.push_back(a);
      r.b.push_back(b);
      r.a16.push_back(static_cast<std::int32_t>(a >> 16));
      const std::int32_t b16 = static_cast<std::int32_t>(b >> 16);
      r.b16.push_back(b16 == 0 ? 1 : b16);
      const std::int64_t t = ang(gen);
      r.angle.push_back(t);
      r.angle16.push_back(static_cast<std::int32_t>(t >> 16));
      r.angleD.push_back(static_cast<double>(t) / static_cast<double>(one));
      const std::int64_t s = sm(gen);
      r.small.push_back(s);
      r.small16.push_back(static_cast<std::int32_t>(s >> 16));
      r.smallD.push_back(static_cast<double>(s) / static_cast<double>(one));
    }
    return r;
  }();
  return in;
}

// ---- result checks before timing ---------------------------------------------------

// Reports which check failed, so a refused benchmark says why.
bool mismatch(int line, std::size_t i) {
  std::fprintf(stderr, "fixed_bench: check at line %d disagrees with the peer for input %zu\n", line, i);
  return false;
}

bool checkArithmetic() {
#ifdef KOVRIX_HAVE_LIBFIXMATH
  const Inputs& in = inputs();
  for (std::size_t i = 0; i < kInputs; ++i) {
    // The same operations in Q16.16 through both libraries.  The sums are
    // exact on both sides; kovrix floors products and truncates quotients
    // where libfixmath rounds them to nearest, so those agree within one unit.
    const std::int64_t a = in.a16[i], b = in.b16[i];
    if (kovrix_fixed_add(a, b) != fix16_sadd(in.a16[i], in.b16[i])) return mismatch(__LINE__, i);
    if (kovrix_fixed_sub(a, b) != fix16_ssub(in.a16[i], in.b16[i])) return mismatch(__LINE__, i);
    const std::int64_t km = kovrix_fixed_mul(a, b, 16);
    if (km > INT32_MIN && km < INT32_MAX && std::llabs(km - fix16_smul(in.a16[i], in.b16[i])) > 1) return mismatch(__LINE__, i);
    const std::int64_t kd = kovrix_fixed_div(a, b, 16);
    if (kd > INT32_MIN && kd < INT32_MAX && std::llabs(kd - fix16_sdiv(in.a16[i], in.b16[i])) > 1) return mismatch(__LINE__, i);
    if (kovrix_fixed_floor(a << 16) >> 16 != fix16_floor(in.a16[i])) return mismatch(__LINE__, i);
  }
#endif
  return true;
}

bool checkKernels() {
  const Inputs& in = inputs();
  const double ulp32 = 1.0 / static_cast<double>(one);
  for (std::size_t i = 0; i < kInputs; ++i) {
    const double x = in.angleD[i];
    if (std::fabs(static_cast<double>(kovrix_cordic_sin(in.angle[i])) * ulp32 - std::sin(x)) > 1e-8) return mismatch(__LINE__, i);
    if (std::fabs(static_cast<double>(kovrix_cordic_cos(in.angle[i])) * ulp32 - std::cos(x)) > 1e-8) return mismatch(__LINE__, i);
    if (std::fabs(static_cast<double>(kovrix_lut_sin(in.angle[i])) * ulp32 - std::sin(x)) > 0.03) return mismatch(__LINE__, i);
    const double y = in.smallD[i];
    // Vectoring loses bits when the coordinates are small in raw units (down
    // to a few 2^27 here): the angle error grows to about 2^-26.
    if (std::fabs(static_cast<double>(kovrix_cordic_atan2(in.small[i], in.angle[i])) * ulp32 -
                  std::atan2(y, x)) > 1e-7)
      return mismatch(__LINE__, i);
    if (std::fabs(static_cast<double>(kovrix_cordic_sinh(in.small[i])) * ulp32 - std::sinh(y)) > 1e-7) return mismatch(__LINE__, i);
    if (std::fabs(static_cast<double>(kovrix_cordic_exp(in.small[i])) * ulp32 - std::exp(y)) > 1e-7) return mismatch(__LINE__, i);
#ifdef KOVRIX_HAVE_LIBFIXMATH
    // libfixmath's kernels to its own documented accuracy (a few 2^-16).
    const double ulp16 = 1.0 / 65536.0, x16 = in.angle16[i] * ulp16, y16 = in.small16[i] * ulp16;
    if (std::fabs(fix16_sin(in.angle16[i]) * ulp16 - std::sin(x16)) > 1e-3) return mismatch(__LINE__, i);
    if (std::fabs(fix16_cos(in.angle16[i]) * ulp16 - std::cos(x16)) > 1e-3) return mismatch(__LINE__, i);
    if (std::fabs(fix16_atan2(in.small16[i], in.angle16[i]) * ulp16 - std::atan2(y16, x16)) > 1e-2) return mismatch(__LINE__, i);
    if (std::fabs(fix16_exp(in.small16[i]) * ulp16 - std::exp(y16)) > 1e-3) return mismatch(__LINE__, i);
#endif
  }
  return true;
}

#define KOVRIX_CHECK(state, ok)                                           \
  do {                                                                    \
    if (!(ok)) {                                                          \
      (state).SkipWithError("results disagree with the peer; not timed"); \
      return;                                                             \
    }                                                                     \
  } while (0)

// ---- arithmetic ----------------------------------------------------------------------

template <class F>
void runBinary(benchmark::State& state, F f) {
  KOVRIX_CHECK(state, checkArithmetic());
  const Inputs& in = inputs();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f(in, i & (kInputs - 1)));
    ++i;
  }
}

void BM_kovrix_fixed_add(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_add(in.a[i], in.b[i]); }); }
void BM_kovrix_fixed_sub(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_sub(in.a[i], in.b[i]); }); }
void BM_kovrix_fixed_mul(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_mul(in.a[i], in.b[i], 32); }); }
void BM_kovrix_fixed_div(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_div(in.a[i], in.b[i], 32); }); }
void BM_kovrix_fixed_floor(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_floor(in.a[i]); }); }
void BM_kovrix_fixed_round(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_round(in.a[i]); }); }
void BM_kovrix_fixed_ceil(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_ceil(in.a[i]); }); }
void BM_kovrix_fixed_from_int(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_from_int(in.a16[i], 32); }); }
void BM_kovrix_fixed_to_int(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_to_int(in.a[i], 32); }); }
void BM_kovrix_fixed_cmp(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_cmp(in.a[i], in.b[i]); }); }
void BM_kovrix_fixed_abs(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_abs(in.a[i]); }); }
void BM_kovrix_fixed_sign(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_sign(in.a[i]); }); }
void BM_kovrix_fixed_clamp(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_clamp(in.a[i], -in.b[i], in.b[i]); }); }
void BM_kovrix_fixed_floor_mod(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_floor_mod(in.a[i], in.b[i]); }); }
void BM_kovrix_fixed_lerp(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_lerp(in.a[i], in.b[i], in.small[i]); }); }
void BM_kovrix_pi_fixed(benchmark::State& s) { runBinary(s, [](const Inputs&, std::size_t) { return kovrix_pi_fixed(); }); }
void BM_kovrix_e_fixed(benchmark::State& s) { runBinary(s, [](const Inputs&, std::size_t) { return kovrix_e_fixed(); }); }

BENCHMARK(BM_kovrix_fixed_add);
BENCHMARK(BM_kovrix_fixed_sub);
BENCHMARK(BM_kovrix_fixed_mul);
BENCHMARK(BM_kovrix_fixed_div);
BENCHMARK(BM_kovrix_fixed_floor);
BENCHMARK(BM_kovrix_fixed_round);
BENCHMARK(BM_kovrix_fixed_ceil);
BENCHMARK(BM_kovrix_fixed_from_int);
BENCHMARK(BM_kovrix_fixed_to_int);
BENCHMARK(BM_kovrix_fixed_cmp);
BENCHMARK(BM_kovrix_fixed_abs);
BENCHMARK(BM_kovrix_fixed_sign);
BENCHMARK(BM_kovrix_fixed_clamp);
BENCHMARK(BM_kovrix_fixed_floor_mod);
BENCHMARK(BM_kovrix_fixed_lerp);
BENCHMARK(BM_kovrix_pi_fixed);
BENCHMARK(BM_kovrix_e_fixed);

#ifdef KOVRIX_HAVE_LIBFIXMATH
void BM_fix16_sadd(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return fix16_sadd(in.a16[i], in.b16[i]); }); }
void BM_fix16_ssub(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return fix16_ssub(in.a16[i], in.b16[i]); }); }
void BM_fix16_smul(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return fix16_smul(in.a16[i], in.b16[i]); }); }
void BM_fix16_sdiv(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return fix16_sdiv(in.a16[i], in.b16[i]); }); }
void BM_fix16_floor(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return fix16_floor(in.a16[i]); }); }
BENCHMARK(BM_fix16_sadd);
BENCHMARK(BM_fix16_ssub);
BENCHMARK(BM_fix16_smul);
BENCHMARK(BM_fix16_sdiv);
BENCHMARK(BM_fix16_floor);
#endif

// ---- kernels beside libm ----------------------------------------------------------------

template <class F>
void runKernel(benchmark::State& state, F f) {
  KOVRIX_CHECK(state, checkKernels());
  const Inputs& in = inputs();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f(in, i & (kInputs - 1)));
    ++i;
  }
}

// One argument, repeated: the predictor learns the kernel's every branch.
template <class F>
void runKernelSameArgument(benchmark::State& state, F f) {
  KOVRIX_CHECK(state, checkKernels());
  const Inputs& in = inputs();
  for (auto _ : state) {
    std::size_t i = 0;
    benchmark::DoNotOptimize(i);  // the argument is loaded afresh, not folded
    benchmark::DoNotOptimize(f(in, i));
  }
}

void BM_kovrix_cordic_sin(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return kovrix_cordic_sin(in.angle[i]); }); }
void BM_kovrix_cordic_cos(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return kovrix_cordic_cos(in.angle[i]); }); }
void BM_kovrix_lut_sin(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return kovrix_lut_sin(in.angle[i]); }); }
void BM_kovrix_lut_cos(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return kovrix_lut_cos(in.angle[i]); }); }
void BM_libm_sin(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return std::sin(in.angleD[i]); }); }
void BM_libm_cos(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return std::cos(in.angleD[i]); }); }
void BM_kovrix_cordic_atan2(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return kovrix_cordic_atan2(in.small[i], in.angle[i]); }); }
void BM_libm_atan2(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return std::atan2(in.smallD[i], in.angleD[i]); }); }
void BM_kovrix_chebyshev_tan(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return kovrix_chebyshev_tan(in.small[i] / 2); }); }
void BM_libm_tan(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return std::tan(in.smallD[i] / 2); }); }
void BM_kovrix_cordic_sinh(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return kovrix_cordic_sinh(in.small[i]); }); }
void BM_libm_sinh(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return std::sinh(in.smallD[i]); }); }
void BM_kovrix_cordic_cosh(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return kovrix_cordic_cosh(in.small[i]); }); }
void BM_libm_cosh(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return std::cosh(in.smallD[i]); }); }
void BM_kovrix_cordic_tanh(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return kovrix_cordic_tanh(in.small[i]); }); }
void BM_libm_tanh(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return std::tanh(in.smallD[i]); }); }
void BM_kovrix_cordic_exp(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return kovrix_cordic_exp(in.small[i]); }); }
void BM_libm_exp(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return std::exp(in.smallD[i]); }); }
void BM_reduceQ32(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return reduceQ32(in.angle[i]); }); }
void BM_libm_remainder_2pi(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return std::fmod(in.angleD[i], 6.283185307179586); }); }

BENCHMARK(BM_kovrix_cordic_sin);
BENCHMARK_CAPTURE(runKernelSameArgument, kovrix_cordic_sin_same_argument,
                  [](const Inputs& in, std::size_t i) { return kovrix_cordic_sin(in.angle[i]); });
BENCHMARK(BM_kovrix_lut_sin);
BENCHMARK(BM_libm_sin);
BENCHMARK(BM_kovrix_cordic_cos);
BENCHMARK_CAPTURE(runKernelSameArgument, kovrix_cordic_cos_same_argument,
                  [](const Inputs& in, std::size_t i) { return kovrix_cordic_cos(in.angle[i]); });
BENCHMARK(BM_kovrix_lut_cos);
BENCHMARK(BM_libm_cos);
BENCHMARK(BM_kovrix_cordic_atan2);
BENCHMARK_CAPTURE(runKernelSameArgument, kovrix_cordic_atan2_same_argument,
                  [](const Inputs& in, std::size_t i) { return kovrix_cordic_atan2(in.small[i], in.angle[i]); });
BENCHMARK(BM_libm_atan2);
BENCHMARK(BM_kovrix_chebyshev_tan);
BENCHMARK(BM_libm_tan);
BENCHMARK(BM_kovrix_cordic_sinh);
BENCHMARK_CAPTURE(runKernelSameArgument, kovrix_cordic_sinh_same_argument,
                  [](const Inputs& in, std::size_t i) { return kovrix_cordic_sinh(in.small[i]); });
BENCHMARK(BM_libm_sinh);
BENCHMARK(BM_kovrix_cordic_cosh);
BENCHMARK_CAPTURE(runKernelSameArgument, kovrix_cordic_cosh_same_argument,
                  [](const Inputs& in, std::size_t i) { return kovrix_cordic_cosh(in.small[i]); });
BENCHMARK(BM_libm_cosh);
BENCHMARK(BM_kovrix_cordic_tanh);
BENCHMARK_CAPTURE(runKernelSameArgument, kovrix_cordic_tanh_same_argument,
                  [](const Inputs& in, std::size_t i) { return kovrix_cordic_tanh(in.small[i]); });
BENCHMARK(BM_libm_tanh);
BENCHMARK(BM_kovrix_cordic_exp);
BENCHMARK_CAPTURE(runKernelSameArgument, kovrix_cordic_exp_same_argument,
                  [](const Inputs& in, std::size_t i) { return kovrix_cordic_exp(in.small[i]); });
BENCHMARK(BM_libm_exp);
BENCHMARK(BM_reduceQ32);

#ifdef KOVRIX_HAVE_LIBFIXMATH
void BM_fix16_sin(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return fix16_sin(in.angle16[i]); }); }
void BM_fix16_cos(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return fix16_cos(in.angle16[i]); }); }
void BM_fix16_atan2(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return fix16_atan2(in.small16[i], in.angle16[i]); }); }
void BM_fix16_exp(benchmark::State& s) { runKernel(s, [](const Inputs& in, std::size_t i) { return fix16_exp(in.small16[i]); }); }
BENCHMARK(BM_fix16_sin);
BENCHMARK(BM_fix16_cos);
BENCHMARK(BM_fix16_atan2);
BENCHMARK(BM_fix16_exp);
#endif
BENCHMARK(BM_libm_remainder_2pi);

}  // namespace

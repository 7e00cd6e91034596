// Fixed-point exports beside the peers a user would otherwise pick:
//
//  - a Q16.16 baseline in the style of the common embedded fixed-point
//    libraries: saturating add/sub, a multiply rounded to nearest and
//    saturated, a saturating divide, and floor/round by masking.  That library
//    is not packaged on this platform, so the baseline below is written here
//    from its well-known public semantics (it is NOT that library's code):
//    the same operations, the same cost class.  Its functions are kept out of
//    line (noinline), as the functions of a compiled library are, so that
//    both sides pay one call per operation (kovrix's through the PLT);
//  - libm's double functions for the circular and hyperbolic kernels.
//
// Each pair runs on the same cycled array of inputs.  Before timing, every
// benchmark checks its results against the peer (equal up to the peer's
// rounding or the kernel's documented accuracy) and refuses to time on a
// mismatch.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <random>
#include <vector>

#include "kovrix.h"

namespace {

// ---- the Q16.16 baseline (written for this benchmark) -----------------------------

using fix16 = std::int32_t;
constexpr fix16 fix16Max = INT32_MAX;
constexpr fix16 fix16Min = INT32_MIN;
constexpr fix16 fix16One = 1 << 16;

[[gnu::noinline]] fix16 q16Add(fix16 a, fix16 b) {
  const std::uint32_t s = static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b);
  // Overflow iff both operands have the same sign and the sum's differs.
  if (!((static_cast<std::uint32_t>(a) ^ static_cast<std::uint32_t>(b)) & 0x80000000u) &&
      ((static_cast<std::uint32_t>(a) ^ s) & 0x80000000u))
    return a < 0 ? fix16Min : fix16Max;
  return static_cast<fix16>(s);
}

[[gnu::noinline]] fix16 q16Sub(fix16 a, fix16 b) {
  const std::uint32_t d = static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b);
  if (((static_cast<std::uint32_t>(a) ^ static_cast<std::uint32_t>(b)) & 0x80000000u) &&
      ((static_cast<std::uint32_t>(a) ^ d) & 0x80000000u))
    return a < 0 ? fix16Min : fix16Max;
  return static_cast<fix16>(d);
}

// 64-bit product, rounded to nearest (half away from zero on the magnitude's
// dropped bits, as the usual rounding multiply does), saturated.
[[gnu::noinline]] fix16 q16Mul(fix16 a, fix16 b) {
  std::int64_t p = static_cast<std::int64_t>(a) * b;
  const std::uint32_t upper = static_cast<std::uint32_t>(p >> 47);
  if (p < 0) {
    if (~upper) return fix16Min;
    --p;  // rounding toward the nearest for negative products
  } else if (upper) {
    return fix16Max;
  }
  const fix16 r = static_cast<fix16>(p >> 16);
  return r + static_cast<fix16>((p & 0x8000) >> 15);
}

[[gnu::noinline]] fix16 q16Div(fix16 a, fix16 b) {
  if (b == 0) return fix16Min;
  const std::int64_t q = (static_cast<std::int64_t>(a) << 16) / b;
  if (q > fix16Max) return fix16Max;
  if (q < fix16Min) return fix16Min;
  return static_cast<fix16>(q);
}

[[gnu::noinline]] fix16 q16Floor(fix16 x) { return static_cast<fix16>(static_cast<std::uint32_t>(x) & 0xFFFF0000u); }
[[gnu::noinline]] fix16 q16Round(fix16 x) { return q16Floor(q16Add(x, fix16One / 2)); }

// ---- inputs -------------------------------------------------------------------------

constexpr std::size_t kInputs = 1024;  // a power of two, cycled with a mask
constexpr std::int64_t one = std::int64_t{1} << 32;

struct Inputs {
  std::vector<std::int64_t> a, b;   // Q32.32, |value| < 2^15 so Q16.16 can hold it
  std::vector<fix16> a16, b16;      // the same values in Q16.16 (truncated)
  std::vector<std::int64_t> angle;  // Q32.32 angles in [-8, 8]
  std::vector<double> angleD;
  std::vector<std::int64_t> small;  // Q32.32 in [-1.1, 1.1]
  std::vector<double> smallD;
};

const Inputs& inputs() {
  static const Inputs in = [] {
    Inputs r;
    std::mt19937_64 gen(20261208);
    std::uniform_int_distribution<std::int64_t> value(-(std::int64_t{1} << 46), std::int64_t{1} << 46);
    std::uniform_int_distribution<std::int64_t> ang(-8 * one, 8 * one);
    std::uniform_int_distribution<std::int64_t> sm(-4724464025, 4724464025);
    for (std::size_t i = 0; i < kInputs; ++i) {
      std::int64_t a = value(gen), b = value(gen);
      if (b == 0) b = 1;
      r.a.push_back(a);
      r.b.push_back(b);
      r.a16.push_back(static_cast<fix16>(a >> 16));
      fix16 b16 = static_cast<fix16>(b >> 16);
      r.b16.push_back(b16 == 0 ? 1 : b16);
      const std::int64_t t = ang(gen);
      r.angle.push_back(t);
      r.angleD.push_back(static_cast<double>(t) / static_cast<double>(one));
      const std::int64_t s = sm(gen);
      r.small.push_back(s);
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
  const Inputs& in = inputs();
  for (std::size_t i = 0; i < kInputs; ++i) {
    // The same operations in Q16.16 through both implementations: kovrix
    // floors, the baseline rounds, so they agree within one unit.
    const std::int64_t a = in.a16[i], b = in.b16[i];
    if (kovrix_fixed_add(a, b) != static_cast<std::int64_t>(q16Add(in.a16[i], in.b16[i]))) return mismatch(__LINE__, i);
    if (kovrix_fixed_sub(a, b) != static_cast<std::int64_t>(q16Sub(in.a16[i], in.b16[i]))) return mismatch(__LINE__, i);
    const std::int64_t km = kovrix_fixed_mul(a, b, 16);
    if (km >= fix16Min && km <= fix16Max && std::llabs(km - q16Mul(in.a16[i], in.b16[i])) > 1) return mismatch(__LINE__, i);
    const std::int64_t kd = kovrix_fixed_div(a, b, 16);
    if (kd >= fix16Min && kd <= fix16Max && kd != q16Div(in.a16[i], in.b16[i])) return mismatch(__LINE__, i);
  }
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
void BM_q16_add(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return q16Add(in.a16[i], in.b16[i]); }); }
void BM_kovrix_fixed_sub(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_sub(in.a[i], in.b[i]); }); }
void BM_q16_sub(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return q16Sub(in.a16[i], in.b16[i]); }); }
void BM_kovrix_fixed_mul(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_mul(in.a[i], in.b[i], 32); }); }
void BM_q16_mul(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return q16Mul(in.a16[i], in.b16[i]); }); }
void BM_kovrix_fixed_div(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_div(in.a[i], in.b[i], 32); }); }
void BM_q16_div(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return q16Div(in.a16[i], in.b16[i]); }); }
void BM_kovrix_fixed_floor(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_floor(in.a[i]); }); }
void BM_q16_floor(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return q16Floor(in.a16[i]); }); }
void BM_kovrix_fixed_round(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return kovrix_fixed_round(in.a[i]); }); }
void BM_q16_round(benchmark::State& s) { runBinary(s, [](const Inputs& in, std::size_t i) { return q16Round(in.a16[i]); }); }
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
BENCHMARK(BM_q16_add);
BENCHMARK(BM_kovrix_fixed_sub);
BENCHMARK(BM_q16_sub);
BENCHMARK(BM_kovrix_fixed_mul);
BENCHMARK(BM_q16_mul);
BENCHMARK(BM_kovrix_fixed_div);
BENCHMARK(BM_q16_div);
BENCHMARK(BM_kovrix_fixed_floor);
BENCHMARK(BM_q16_floor);
BENCHMARK(BM_kovrix_fixed_round);
BENCHMARK(BM_q16_round);
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
BENCHMARK(BM_kovrix_lut_sin);
BENCHMARK(BM_libm_sin);
BENCHMARK(BM_kovrix_cordic_cos);
BENCHMARK(BM_kovrix_lut_cos);
BENCHMARK(BM_libm_cos);
BENCHMARK(BM_kovrix_cordic_atan2);
BENCHMARK(BM_libm_atan2);
BENCHMARK(BM_kovrix_chebyshev_tan);
BENCHMARK(BM_libm_tan);
BENCHMARK(BM_kovrix_cordic_sinh);
BENCHMARK(BM_libm_sinh);
BENCHMARK(BM_kovrix_cordic_cosh);
BENCHMARK(BM_libm_cosh);
BENCHMARK(BM_kovrix_cordic_tanh);
BENCHMARK(BM_libm_tanh);
BENCHMARK(BM_kovrix_cordic_exp);
BENCHMARK(BM_libm_exp);
BENCHMARK(BM_reduceQ32);
BENCHMARK(BM_libm_remainder_2pi);

}  // namespace

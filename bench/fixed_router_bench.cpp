// The Q32.32 function router beside the C library's double function on the
// same values (converted from Q32.32 to double and back, as a caller holding
// fixed-point values would).  Before timing, each router result is checked
// against the peer within what its kernel delivers.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "kovrix.h"
#include "random_inputs.hpp"

#ifdef KOVRIX_HAVE_LIBFIXMATH
#include <libfixmath/fix16.h>
#endif

namespace {

constexpr double kOne = 4294967296.0;

std::vector<std::int64_t> arguments(double lo, double hi) {
  std::mt19937_64 gen(20261208);
  std::uniform_real_distribution<double> dist(lo, hi);
  std::vector<std::int64_t> v(kovrix::bench::kRandomInputs);
  for (auto& x : v) x = static_cast<std::int64_t>(dist(gen) * kOne);
  return v;
}

template <class F>
void timeOver(benchmark::State& state, const std::vector<std::int64_t>& xs, F f) {
  for (auto _ : state) {
    for (std::int64_t x : xs) benchmark::DoNotOptimize(f(x));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(xs.size()));
}

template <class Kernel, class Peer>
void pair(const char* name, double lo, double hi, double tol, Kernel kernel, Peer peer) {
  const auto xs = arguments(lo, hi);
  auto viaLibm = [peer](std::int64_t x) {
    return static_cast<std::int64_t>(peer(static_cast<double>(x) / kOne) * kOne);
  };
  benchmark::RegisterBenchmark((std::string("fixed/") + name + "/kovrix").c_str(), [=](benchmark::State& st) {
    for (std::int64_t x : xs) {
      const double got = static_cast<double>(kernel(x)) / kOne, want = peer(static_cast<double>(x) / kOne);
      if (!(std::fabs(got - want) <= tol * std::fmax(1.0, std::fabs(want)))) {
        st.SkipWithError(("disagrees with libm at " + std::to_string(static_cast<double>(x) / kOne)).c_str());
        return;
      }
    }
    timeOver(st, xs, kernel);
  });
  benchmark::RegisterBenchmark((std::string("fixed/") + name + "/libm").c_str(),
                               [=](benchmark::State& st) { timeOver(st, xs, viaLibm); });
}

#ifdef KOVRIX_HAVE_LIBFIXMATH
// libfixmath's Q16.16 function on the same arguments (floored to Q16.16).
void fix16Row(const char* name, double lo, double hi, fix16_t (*f)(fix16_t)) {
  std::vector<fix16_t> xs;
  for (std::int64_t x : arguments(lo, hi)) xs.push_back(static_cast<fix16_t>(x >> 16));
  benchmark::RegisterBenchmark((std::string("fixed/") + name + "/libfixmath").c_str(), [=](benchmark::State& st) {
    for (auto _ : st) {
      for (fix16_t x : xs) benchmark::DoNotOptimize(f(x));
    }
    st.SetItemsProcessed(static_cast<std::int64_t>(st.iterations()) * static_cast<std::int64_t>(xs.size()));
  });
}
#endif

const int registered = [] {
  pair("sin", -3.0, 3.0, 1e-8, kovrix_fixed_sin, [](double x) { return std::sin(x); });
  pair("cos", -3.0, 3.0, 1e-8, kovrix_fixed_cos, [](double x) { return std::cos(x); });
  pair("tan", -0.7, 0.7, 5e-3, kovrix_fixed_tan, [](double x) { return std::tan(x); });
  pair("exp", -4.0, 4.0, 1e-7, kovrix_fixed_exp, [](double x) { return std::exp(x); });
  pair("ln", 0.5, 2.0, 1e-7, kovrix_fixed_ln, [](double x) { return std::log(x); });
  pair("sqrt", 0.5, 2.0, 1e-9, kovrix_fixed_sqrt, [](double x) { return std::sqrt(x); });
  pair("atan", -4.0, 4.0, 1e-8, kovrix_fixed_atan, [](double x) { return std::atan(x); });
  pair("sinh", -1.0, 1.0, 1e-8, kovrix_fixed_sinh, [](double x) { return std::sinh(x); });
  pair("tanh", -1.0, 1.0, 1e-8, kovrix_fixed_tanh, [](double x) { return std::tanh(x); });
  pair("asin", -0.9, 0.9, 1e-6, kovrix_fixed_asin, [](double x) { return std::asin(x); });
  pair("erf", -1.0, 1.0, 1e-8, kovrix_fixed_erf, [](double x) { return std::erf(x); });
  pair("bessel_j0", -2.0, 2.0, 1e-8, kovrix_fixed_bessel_j0, [](double x) { return j0(x); });
#ifdef KOVRIX_HAVE_LIBFIXMATH
  fix16Row("sin", -3.0, 3.0, fix16_sin);
  fix16Row("cos", -3.0, 3.0, fix16_cos);
  fix16Row("exp", -4.0, 4.0, fix16_exp);
  fix16Row("sqrt", 0.5, 2.0, fix16_sqrt);
  fix16Row("atan", -4.0, 4.0, fix16_atan);
#endif
  return 0;
}();

}  // namespace

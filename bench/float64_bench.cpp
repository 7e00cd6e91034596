// The float64 series, Newton and special-function kernels beside the C
// library's (and libstdc++'s) function for the same value.  Each pair runs
// on the same 65,536 random arguments (random_inputs.hpp), drawn where the kernel's series converges;
// before timing, every kernel result is checked against its peer within the
// accuracy the kernel's fixed count allows.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "kovrix.h"
#include "random_inputs.hpp"

namespace {

std::vector<double> arguments(double lo, double hi) {
  std::mt19937_64 gen(20261208);
  std::uniform_real_distribution<double> dist(lo, hi);
  std::vector<double> v(kovrix::bench::kRandomInputs);
  for (double& x : v) x = dist(gen);
  return v;
}

template <class Kernel, class Peer>
bool agree(const std::vector<double>& xs, Kernel kernel, Peer peer, double tol, std::string& why) {
  for (double x : xs) {
    const double a = kernel(x), b = peer(x);
    if (!(std::fabs(a - b) <= tol * std::fmax(1.0, std::fabs(b)))) {
      why = "disagrees with the peer at x = " + std::to_string(x) + ": " + std::to_string(a) + " vs " + std::to_string(b);
      return false;
    }
  }
  return true;
}

template <class F>
void timeOver(benchmark::State& state, const std::vector<double>& xs, F f) {
  for (auto _ : state) {
    for (double x : xs) benchmark::DoNotOptimize(f(x));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(xs.size()));
}

// One kovrix kernel and its peer, registered side by side.
template <class Kernel, class Peer>
void pair(const char* name, double lo, double hi, double tol, Kernel kernel, Peer peer) {
  const auto xs = arguments(lo, hi);
  benchmark::RegisterBenchmark((std::string("float64/") + name + "/kovrix").c_str(), [=](benchmark::State& st) {
    std::string why;
    if (!agree(xs, kernel, peer, tol, why)) {
      st.SkipWithError(why.c_str());
      return;
    }
    timeOver(st, xs, kernel);
  });
  benchmark::RegisterBenchmark((std::string("float64/") + name + "/libm").c_str(),
                               [=](benchmark::State& st) { timeOver(st, xs, peer); });
}

const int registered = [] {
  pair("sqrt_newton", 0.5, 2.0, 1e-15, kovrix_sqrt_newton_f64, [](double x) { return std::sqrt(x); });
  pair("exp_taylor", -1.0, 1.0, 1e-12, kovrix_exp_taylor_f64, [](double x) { return std::exp(x); });
  pair("ln_taylor", -0.1, 0.1, 1e-15, kovrix_ln_taylor_f64, [](double x) { return std::log1p(x); });
  pair("taylor_sin", -0.5, 0.5, 1e-10, kovrix_taylor_sin_f64, [](double x) { return std::sin(x); });
  pair("taylor_cos", -0.5, 0.5, 1e-9, kovrix_taylor_cos_f64, [](double x) { return std::cos(x); });
  pair("taylor_atan", -0.5, 0.5, 1e-7, kovrix_taylor_atan_f64, [](double x) { return std::atan(x); });
  pair("erf", -1.0, 1.0, 1e-13, kovrix_erf, [](double x) { return std::erf(x); });
  pair("gamma", 0.1, 20.0, 1e-11, kovrix_gamma, [](double x) { return std::tgamma(x); });
  pair("bessel_j0", -4.0, 4.0, 1e-13, kovrix_bessel_j0, [](double x) { return j0(x); });
  // Degree 10 polynomials: Chebyshev against cos(n acos x), Legendre and
  // Hermite against libstdc++'s special functions.
  pair("chebyshev_t10", -1.0, 1.0, 1e-12, [](double x) { return kovrix_chebyshev_t(10, x); },
       [](double x) { return std::cos(10 * std::acos(x)); });
  pair("legendre10", -1.0, 1.0, 1e-13, [](double x) { return kovrix_legendre(10, x); },
       [](double x) { return std::legendre(10, x); });
  pair("hermite10", -2.0, 2.0, 1e-12, [](double x) { return kovrix_hermite(10, x); },
       [](double x) { return std::hermite(10, x); });
  pair("factorial", 0.0, 170.0, 1e-13, [](double x) { return kovrix_factorial(static_cast<int>(x)); },
       [](double x) { return std::tgamma(static_cast<double>(static_cast<int>(x)) + 1.0); });
  return 0;
}();

}  // namespace

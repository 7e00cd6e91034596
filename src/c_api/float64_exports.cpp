// Float64 kernels exported with fixed term and iteration counts.
//
// These exports have no failing step: every argument for which a kernel
// would raise (a negative square-root argument, 1 + x <= 0 for ln(1 + x), a
// pole of gamma) is answered with the quiet NaN by the kernel's "OrNaN"
// form, and NaN and infinities propagate through the arithmetic.  So they
// compute whether or not an error is pending, and leave none behind; they
// never catch, so they never clear one either.
#include <cstdint>

#include "c_api/pending_error.hpp"
#include "exponential/taylor.hpp"
#include "kovrix.h"
#include "roots/sqrt_newton.hpp"
#include "special/bessel.hpp"
#include "special/error_functions.hpp"
#include "special/gamma.hpp"
#include "special/polynomials.hpp"
#include "trigonometry/taylor.hpp"

namespace {

using kovrix::capi::unguarded;

// Counts fixed by the exports.
constexpr std::int64_t kSqrtIterations = 20;
constexpr std::int64_t kExpTerms = 15;
constexpr std::int64_t kLnTerms = 15;
constexpr std::int64_t kSinTerms = 5;
constexpr std::int64_t kCosTerms = 5;
constexpr std::int64_t kAtanTerms = 10;
constexpr std::int64_t kErfTerms = 15;
constexpr std::int64_t kBesselTerms = 15;

}  // namespace

extern "C" {

KOVRIX_API double kovrix_sqrt_newton_f64(double x) {
  return unguarded(0.0, [&] { return kovrix::sqrtNewtonOrNaN(x, kSqrtIterations); });
}

KOVRIX_API double kovrix_exp_taylor_f64(double x) {
  return unguarded(0.0, [&] { return kovrix::expTaylor(x, kExpTerms); });
}

KOVRIX_API double kovrix_ln_taylor_f64(double x) {
  return unguarded(0.0, [&] { return kovrix::lnTaylorOrNaN(x, kLnTerms); });
}

KOVRIX_API double kovrix_taylor_sin_f64(double x) {
  return unguarded(0.0, [&] { return kovrix::sinTaylor(x, kSinTerms); });
}

KOVRIX_API double kovrix_taylor_cos_f64(double x) {
  return unguarded(0.0, [&] { return kovrix::cosTaylor(x, kCosTerms); });
}

KOVRIX_API double kovrix_taylor_atan_f64(double x) {
  return unguarded(0.0, [&] { return kovrix::atanTaylor(x, kAtanTerms); });
}

// The degree is an int32, so every index product of the recurrences stays
// below 2^33 and cannot overflow.
KOVRIX_API double kovrix_chebyshev_t(int32_t n, double x) {
  return unguarded(0.0, [&] { return kovrix::chebyshevT(n, x); });
}

KOVRIX_API double kovrix_chebyshev_u(int32_t n, double x) {
  return unguarded(0.0, [&] { return kovrix::chebyshevU(n, x); });
}

KOVRIX_API double kovrix_legendre(int32_t n, double x) {
  return unguarded(0.0, [&] { return kovrix::legendreP(n, x); });
}

KOVRIX_API double kovrix_hermite(int32_t n, double x) {
  return unguarded(0.0, [&] { return kovrix::hermiteH(n, x); });
}

KOVRIX_API double kovrix_erf(double x) {
  return unguarded(0.0, [&] { return kovrix::erfTaylor(x, kErfTerms); });
}

KOVRIX_API double kovrix_gamma(double x) {
  return unguarded(0.0, [&] { return kovrix::gammaOrNaN(x); });
}

KOVRIX_API double kovrix_factorial(int32_t n) {
  return unguarded(0.0, [&] { return kovrix::factorial(n); });
}

KOVRIX_API double kovrix_bessel_j0(double x) {
  return unguarded(0.0, [&] { return kovrix::besselJ0(x, kBesselTerms); });
}

}  // extern "C"

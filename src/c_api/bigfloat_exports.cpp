// The BigFloat exports: boundary checks, then the operation of src/float/
// inside the shared wrappers of pending_error.hpp.  Every value is worked at
// defaultPrecision (256 bits) with mode nearest.
#include <cstdint>

#include "c_api/bigfloat_handle.hpp"
#include "c_api/bigint_handle.hpp"
#include "c_api/pending_error.hpp"
#include "float/arithmetic.hpp"
#include "float/big_float.hpp"
#include "float/comparison.hpp"
#include "float/constants.hpp"
#include "float/float_math.hpp"
#include "float/formatting.hpp"
#include "float/reduction.hpp"
#include "kovrix.h"

using kovrix::BigFloat;
using kovrix::defaultPrecision;
using kovrix::capi::bfOf;
using kovrix::capi::Catches;
using kovrix::capi::guarded;
using kovrix::capi::pinFloat;
using kovrix::capi::unguarded;

namespace {
constexpr kovrix_bigfloat* kNoHandle = nullptr;

// Term and iteration counts fixed by the exports.
constexpr std::int64_t kTrigTerms = 20;
constexpr std::int64_t kExpTerms = 30;
constexpr std::int64_t kLnTerms = 30;
constexpr std::int64_t kSqrtSteps = 15;
constexpr std::int64_t kHeronSteps = 20;
constexpr std::int64_t kExpSeriesTerms = 15;
constexpr std::int64_t kAtanTerms = 30;
constexpr std::int64_t kPowTerms = 30;
constexpr std::int64_t kETerms = 64;

bool positive(const kovrix_bigfloat* h) { return !bfOf(h).isZero() && !bfOf(h).negative; }

// The export shape of a one-argument function: NULL for NULL, else the
// function of the value in a new handle.
template <Catches C = Catches::nothing, class F>
kovrix_bigfloat* unary(const kovrix_bigfloat* x, F f) {
  if (x == nullptr) return nullptr;
  return guarded<C>(kNoHandle, [&] { return pinFloat(f(bfOf(x))); });
}
}  // namespace

extern "C" {

kovrix_bigfloat* kovrix_bigfloat_from_f64(double x) {
  return guarded<Catches::valueError>(kNoHandle, [&] { return pinFloat(kovrix::initBigFloat(defaultPrecision, x)); });
}

kovrix_bigfloat* kovrix_bigfloat_from_i64(int64_t v) {
  return guarded(kNoHandle, [&] { return pinFloat(kovrix::fromBigInt(defaultPrecision, kovrix::initBigInt(v))); });
}

kovrix_bigfloat* kovrix_bigfloat_from_bigint(const kovrix_bigint* x) {
  if (x == nullptr) return nullptr;
  return guarded(kNoHandle, [&] { return pinFloat(kovrix::fromBigInt(defaultPrecision, x->value)); });
}

double kovrix_bigfloat_to_f64(const kovrix_bigfloat* x) {
  return guarded(0.0, [&] { return kovrix::toFloat64(bfOf(x)); });
}

int kovrix_bigfloat_is_zero(const kovrix_bigfloat* x) {
  if (x == nullptr) return 0;
  return guarded(0, [&] { return bfOf(x).isZero() ? 1 : 0; });
}

void kovrix_bigfloat_destroy(kovrix_bigfloat* x) { kovrix::capi::release(x); }

kovrix_bigfloat* kovrix_bigfloat_add(const kovrix_bigfloat* a, const kovrix_bigfloat* b) {
  if (a == nullptr || b == nullptr) return nullptr;
  return guarded(kNoHandle, [&] { return pinFloat(bfOf(a) + bfOf(b)); });
}

kovrix_bigfloat* kovrix_bigfloat_sub(const kovrix_bigfloat* a, const kovrix_bigfloat* b) {
  if (a == nullptr || b == nullptr) return nullptr;
  return guarded(kNoHandle, [&] { return pinFloat(bfOf(a) - bfOf(b)); });
}

kovrix_bigfloat* kovrix_bigfloat_mul(const kovrix_bigfloat* a, const kovrix_bigfloat* b) {
  if (a == nullptr || b == nullptr) return nullptr;
  return guarded(kNoHandle, [&] { return pinFloat(bfOf(a) * bfOf(b)); });
}

kovrix_bigfloat* kovrix_bigfloat_div(const kovrix_bigfloat* a, const kovrix_bigfloat* b) {
  if (a == nullptr || b == nullptr) return nullptr;
  // A zero divisor is answered here, so the division never raises for it.
  if (bfOf(b).isZero()) return nullptr;
  return guarded(kNoHandle, [&] { return pinFloat(bfOf(a) / bfOf(b)); });
}

int32_t kovrix_bigfloat_cmp(const kovrix_bigfloat* a, const kovrix_bigfloat* b) {
  if (a == nullptr || b == nullptr) return 0;
  return guarded(int32_t{0}, [&] { return static_cast<int32_t>(kovrix::cmp(bfOf(a), bfOf(b))); });
}

kovrix_bigfloat* kovrix_bigfloat_neg(const kovrix_bigfloat* a) {
  if (a == nullptr) return nullptr;
  return guarded(kNoHandle, [&] { return pinFloat(-bfOf(a)); });
}

kovrix_bigfloat* kovrix_bigfloat_abs(const kovrix_bigfloat* a) {
  if (a == nullptr) return nullptr;
  return guarded(kNoHandle, [&] { return pinFloat(kovrix::abs(bfOf(a))); });
}

kovrix_bigfloat* kovrix_pi_bigfloat(void) {
  return guarded(kNoHandle, [] { return pinFloat(kovrix::getPiBigFloat()); });
}

kovrix_bigfloat* kovrix_e_bigfloat(void) {
  return guarded(kNoHandle, [] { return pinFloat(kovrix::eBigFloat(defaultPrecision, kETerms)); });
}

kovrix_bigfloat* kovrix_bigfloat_reduce(const kovrix_bigfloat* x) {
  return unary(x, [](const BigFloat& v) { return kovrix::reduceModTwoPi(v); });
}

kovrix_bigfloat* kovrix_bigfloat_sin(const kovrix_bigfloat* x) {
  return unary(x, [](const BigFloat& v) { return kovrix::sin(v, kTrigTerms); });
}

kovrix_bigfloat* kovrix_bigfloat_cos(const kovrix_bigfloat* x) {
  return unary(x, [](const BigFloat& v) { return kovrix::cos(v, kTrigTerms); });
}

kovrix_bigfloat* kovrix_bigfloat_tan(const kovrix_bigfloat* x) {
  return unary<Catches::divByZero>(x, [](const BigFloat& v) { return kovrix::tan(v, kTrigTerms); });
}

kovrix_bigfloat* kovrix_bigfloat_exp(const kovrix_bigfloat* x) {
  return unary(x, [](const BigFloat& v) { return kovrix::exp(v, kExpTerms); });
}

kovrix_bigfloat* kovrix_bigfloat_ln(const kovrix_bigfloat* x) {
  if (!positive(x)) return nullptr;
  return unary(x, [](const BigFloat& v) { return kovrix::ln(v, kLnTerms); });
}

kovrix_bigfloat* kovrix_ln_generic_bigfloat(const kovrix_bigfloat* x) { return kovrix_bigfloat_ln(x); }

double kovrix_ln_generic_f64(double x) {
  // No failing step: the domain is answered with the quiet NaN inside.
  return unguarded(0.0, [&] { return kovrix::lnOrNaN(x, kLnTerms); });
}

kovrix_bigfloat* kovrix_bigfloat_sqrt(const kovrix_bigfloat* x) {
  if (x == nullptr || bfOf(x).negative) return nullptr;
  return unary(x, [](const BigFloat& v) { return kovrix::sqrt(v, kSqrtSteps); });
}

kovrix_bigfloat* kovrix_sqrt_newton_bigfloat(const kovrix_bigfloat* x) {
  if (x == nullptr || bfOf(x).negative) return nullptr;
  return unary(x, [](const BigFloat& v) { return kovrix::sqrtNewtonGeneric(v, kHeronSteps); });
}

kovrix_bigfloat* kovrix_exp_taylor_bigfloat(const kovrix_bigfloat* x) {
  return unary(x, [](const BigFloat& v) { return kovrix::expTaylor(v, kExpSeriesTerms); });
}

kovrix_bigfloat* kovrix_bigfloat_arctan(const kovrix_bigfloat* x) {
  return unary(x, [](const BigFloat& v) { return kovrix::arctan(v, kAtanTerms); });
}

kovrix_bigfloat* kovrix_bigfloat_arctan2(const kovrix_bigfloat* y, const kovrix_bigfloat* x) {
  if (y == nullptr || x == nullptr) return nullptr;
  return guarded(kNoHandle, [&] { return pinFloat(kovrix::arctan2(bfOf(y), bfOf(x), kAtanTerms)); });
}

kovrix_bigfloat* kovrix_bigfloat_pow_int(const kovrix_bigfloat* x, int32_t k) {
  return unary(x, [k](const BigFloat& v) { return kovrix::pow(v, std::int64_t{k}); });
}

kovrix_bigfloat* kovrix_bigfloat_pow(const kovrix_bigfloat* x, const kovrix_bigfloat* y) {
  if (x == nullptr || y == nullptr || !positive(x)) return nullptr;
  return guarded(kNoHandle, [&] { return pinFloat(kovrix::pow(bfOf(x), bfOf(y), kPowTerms)); });
}

}  // extern "C"

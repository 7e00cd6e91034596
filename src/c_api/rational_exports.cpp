// The Rational exports: boundary checks (NULL handles, zero denominators and
// divisors, the domains of ln, sqrt and pow), then the internal operation
// inside the shared wrappers of pending_error.hpp.
#include "c_api/bigint_handle.hpp"
#include "c_api/pending_error.hpp"
#include "c_api/rational_handle.hpp"
#include "kovrix.h"
#include "rational/arithmetic.hpp"
#include "rational/comparison.hpp"
#include "rational/rational_math.hpp"

using kovrix::Rational;
using kovrix::capi::Catches;
using kovrix::capi::guarded;
using kovrix::capi::pin;
using kovrix::capi::pinRational;
using kovrix::capi::ratOf;

namespace {

constexpr kovrix_rational* kNoRational = nullptr;

// The term counts of the exported functions.
constexpr std::int64_t kTrigTerms = 5;
constexpr std::int64_t kExpLnTerms = 10;
constexpr std::int64_t kSqrtSteps = 4;

// A one-argument export: NULL gives NULL, otherwise f of the value.
template <Catches C = Catches::nothing, class F>
kovrix_rational* unary(const kovrix_rational* x, F f) {
  if (x == nullptr) return nullptr;
  return guarded<C>(kNoRational, [&] { return pinRational(f(ratOf(x))); });
}

// A two-argument export: either NULL gives NULL, otherwise f of the values.
template <Catches C = Catches::nothing, class F>
kovrix_rational* binary(const kovrix_rational* a, const kovrix_rational* b, F f) {
  if (a == nullptr || b == nullptr) return nullptr;
  return guarded<C>(kNoRational, [&] { return pinRational(f(ratOf(a), ratOf(b))); });
}

// The sign test of the domain checks (the order of the value against 0/1),
// read from the numerator's sign.
int signOf(const kovrix_rational* x) {
  const Rational& v = ratOf(x);
  return kovrix::isZero(v) ? 0 : (kovrix::isNegative(v) ? -1 : 1);
}

}  // namespace

extern "C" {

kovrix_rational* kovrix_rational_from_i64(int64_t num, int64_t den) {
  if (den == 0) return nullptr;
  return guarded(kNoRational, [&] { return pinRational(kovrix::initRational(num, den)); });
}

kovrix_rational* kovrix_rational_from_bigint(const kovrix_bigint* num, const kovrix_bigint* den) {
  if (num == nullptr || den == nullptr || den->value.magnitude.isZero()) return nullptr;
  return guarded(kNoRational, [&] { return pinRational(kovrix::initRational(num->value, den->value)); });
}

double kovrix_rational_to_f64(const kovrix_rational* x) {
  return guarded(0.0, [&] { return kovrix::toFloat64(ratOf(x)); });
}

kovrix_bigint* kovrix_rational_num(const kovrix_rational* x) {
  if (x == nullptr) return nullptr;
  return guarded(static_cast<kovrix_bigint*>(nullptr), [&] { return pin(ratOf(x).num); });
}

kovrix_bigint* kovrix_rational_den(const kovrix_rational* x) {
  if (x == nullptr) return nullptr;
  return guarded(static_cast<kovrix_bigint*>(nullptr), [&] { return pin(ratOf(x).den); });
}

kovrix_rational* kovrix_rational_add(const kovrix_rational* a, const kovrix_rational* b) {
  return binary(a, b, [](const Rational& x, const Rational& y) { return x + y; });
}

kovrix_rational* kovrix_rational_sub(const kovrix_rational* a, const kovrix_rational* b) {
  return binary(a, b, [](const Rational& x, const Rational& y) { return x - y; });
}

kovrix_rational* kovrix_rational_mul(const kovrix_rational* a, const kovrix_rational* b) {
  return binary(a, b, [](const Rational& x, const Rational& y) { return x * y; });
}

kovrix_rational* kovrix_rational_div(const kovrix_rational* a, const kovrix_rational* b) {
  // A zero divisor is answered here, so it never raises.
  if (b != nullptr && kovrix::isZero(ratOf(b))) return nullptr;
  return binary(a, b, [](const Rational& x, const Rational& y) { return x / y; });
}

kovrix_rational* kovrix_rational_neg(const kovrix_rational* a) {
  return unary(a, [](const Rational& x) { return -x; });
}

kovrix_rational* kovrix_rational_abs(const kovrix_rational* a) {
  return unary(a, [](const Rational& x) { return kovrix::abs(x); });
}

int kovrix_rational_cmp(const kovrix_rational* a, const kovrix_rational* b) {
  if (a == nullptr || b == nullptr) return 0;
  return guarded(0, [&] { return static_cast<int>(kovrix::cmp(ratOf(a), ratOf(b))); });
}

int kovrix_rational_is_zero(const kovrix_rational* x) {
  if (x == nullptr) return 0;
  return guarded(0, [&] { return kovrix::isZero(ratOf(x)) ? 1 : 0; });
}

int kovrix_rational_is_one(const kovrix_rational* x) {
  if (x == nullptr) return 0;
  return guarded(0, [&] { return kovrix::isOne(ratOf(x)) ? 1 : 0; });
}

void kovrix_rational_destroy(kovrix_rational* x) { kovrix::capi::release(x); }

kovrix_rational* kovrix_rational_sin(const kovrix_rational* x) {
  return unary(x, [](const Rational& v) { return kovrix::sin(v, kTrigTerms); });
}

kovrix_rational* kovrix_rational_cos(const kovrix_rational* x) {
  return unary(x, [](const Rational& v) { return kovrix::cos(v, kTrigTerms); });
}

kovrix_rational* kovrix_rational_tan(const kovrix_rational* x) {
  return unary<Catches::divByZero>(x, [](const Rational& v) { return kovrix::tan(v, kTrigTerms); });
}

kovrix_rational* kovrix_rational_exp(const kovrix_rational* x) {
  return unary(x, [](const Rational& v) { return kovrix::exp(v, kExpLnTerms); });
}

kovrix_rational* kovrix_rational_ln(const kovrix_rational* x) {
  if (x != nullptr && signOf(x) <= 0) return nullptr;
  return unary<Catches::valueError>(x, [](const Rational& v) { return kovrix::ln(v, kExpLnTerms); });
}

kovrix_rational* kovrix_rational_sqrt(const kovrix_rational* x) {
  if (x != nullptr && signOf(x) < 0) return nullptr;
  return unary<Catches::valueError>(x, [](const Rational& v) { return kovrix::sqrt(v, kSqrtSteps); });
}

kovrix_rational* kovrix_rational_atan(const kovrix_rational* x) {
  return unary(x, [](const Rational& v) { return kovrix::atan(v, kTrigTerms); });
}

kovrix_rational* kovrix_rational_atan2(const kovrix_rational* y, const kovrix_rational* x) {
  return binary(y, x, [](const Rational& a, const Rational& b) { return kovrix::atan2(a, b, kTrigTerms); });
}

kovrix_rational* kovrix_rational_pow(const kovrix_rational* base, const kovrix_rational* exponent) {
  if (base != nullptr && exponent != nullptr && signOf(base) <= 0) return nullptr;
  return binary<Catches::valueError>(base, exponent,
                                     [](const Rational& x, const Rational& y) { return kovrix::pow(x, y, kExpLnTerms); });
}

}  // extern "C"

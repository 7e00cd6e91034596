// The BigFloat exports: boundary checks, then the operation of src/float/
// inside the shared wrappers of pending_error.hpp.  Every value is worked at
// defaultPrecision (256 bits) with mode nearest.
#include "c_api/bigfloat_handle.hpp"
#include "c_api/bigint_handle.hpp"
#include "c_api/pending_error.hpp"
#include "float/arithmetic.hpp"
#include "float/big_float.hpp"
#include "float/comparison.hpp"
#include "float/formatting.hpp"
#include "kovrix.h"

using kovrix::BigFloat;
using kovrix::defaultPrecision;
using kovrix::capi::bfOf;
using kovrix::capi::Catches;
using kovrix::capi::guarded;
using kovrix::capi::pinFloat;

namespace {
constexpr kovrix_bigfloat* kNoHandle = nullptr;
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

}  // extern "C"

// The cross-type conversion exports: boundary checks (NULL handles, the
// fraction-bit count), then the operation of conversions.hpp inside the
// shared wrappers of pending_error.hpp.
#include <cstdint>

#include "c_api/bigfloat_handle.hpp"
#include "c_api/bigint_handle.hpp"
#include "c_api/interval_value.hpp"
#include "c_api/pending_error.hpp"
#include "c_api/rational_handle.hpp"
#include "conversions.hpp"
#include "kovrix.h"

using kovrix::capi::bfOf;
using kovrix::capi::Catches;
using kovrix::capi::guarded;
using kovrix::capi::intervalExport;
using kovrix::capi::intervalOut;
using kovrix::capi::kNaNPair;
using kovrix::capi::pin;
using kovrix::capi::pinFloat;
using kovrix::capi::pinRational;
using kovrix::capi::ratOf;

namespace {

// Fraction-bit counts 0 .. 63, the argument compared as unsigned so that a
// negative count is rejected too.
bool validFracBits(std::int32_t fracBits) { return static_cast<std::uint32_t>(fracBits) <= 63; }

}  // namespace

extern "C" {

kovrix_rational* kovrix_rational_from_f64(double x) {
  return guarded<Catches::valueError>(static_cast<kovrix_rational*>(nullptr),
                                      [&] { return pinRational(kovrix::toRationalBig(x)); });
}

kovrix_rational* kovrix_rational_from_fixed(int64_t raw, int32_t fracBits) {
  if (!validFracBits(fracBits)) return nullptr;
  return guarded(static_cast<kovrix_rational*>(nullptr),
                 [&] { return pinRational(kovrix::rationalFromFixed(raw, fracBits)); });
}

kovrix_bigfloat* kovrix_bigfloat_from_rational(const kovrix_rational* x) {
  if (x == nullptr) return nullptr;
  return guarded(static_cast<kovrix_bigfloat*>(nullptr), [&] {
    return pinFloat(kovrix::toBigFloat(ratOf(x), kovrix::defaultPrecision, kovrix::RoundingMode::nearest));
  });
}

kovrix_bigint* kovrix_bigint_from_bigfloat(const kovrix_bigfloat* x) {
  if (x == nullptr) return nullptr;
  return guarded(static_cast<kovrix_bigint*>(nullptr), [&] { return pin(kovrix::toBigInt(bfOf(x))); });
}

kovrix_bigint* kovrix_bigint_from_rational(const kovrix_rational* x) {
  if (x == nullptr) return nullptr;
  return guarded(static_cast<kovrix_bigint*>(nullptr), [&] { return pin(kovrix::toBigInt(ratOf(x))); });
}

int64_t kovrix_fixed_from_rational(const kovrix_rational* x, int32_t fracBits) {
  if (x == nullptr || !validFracBits(fracBits)) return 0;
  return guarded<Catches::everything>(int64_t{0}, [&] { return kovrix::fixedFromRational(ratOf(x), fracBits); });
}

kovrix_interval kovrix_interval_from_bigfloat(const kovrix_bigfloat* x) {
  if (x == nullptr) return intervalOut(kNaNPair);
  return intervalExport([&] { return kovrix::toInterval(bfOf(x)); });
}

kovrix_interval kovrix_interval_from_rational(const kovrix_rational* x) {
  if (x == nullptr) return intervalOut(kNaNPair);
  return intervalExport([&] { return kovrix::toInterval(ratOf(x)); });
}

kovrix_interval kovrix_interval_from_bigint(const kovrix_bigint* x) {
  if (x == nullptr) return intervalOut(kNaNPair);
  return intervalExport([&] { return kovrix::toInterval(x->value); });
}

}  // extern "C"

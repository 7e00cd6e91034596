// The cross-type conversion exports: boundary checks (NULL handles, the
// fraction-bit count), then the operation of conversions.hpp inside the
// shared wrappers of pending_error.hpp.
#include <cstdint>
#include <limits>

#include "c_api/bigfloat_handle.hpp"
#include "c_api/bigint_handle.hpp"
#include "c_api/pending_error.hpp"
#include "c_api/rational_handle.hpp"
#include "conversions.hpp"
#include "kovrix.h"

using kovrix::capi::bfOf;
using kovrix::capi::Catches;
using kovrix::capi::guarded;
using kovrix::capi::pin;
using kovrix::capi::pinFloat;
using kovrix::capi::pinRational;
using kovrix::capi::ratOf;

namespace {

// Fraction-bit counts 0 .. 63, the argument compared as unsigned so that a
// negative count is rejected too.
bool validFracBits(std::int32_t fracBits) { return static_cast<std::uint32_t>(fracBits) <= 63; }

// (NaN, NaN) for a NULL handle (the quiet NaN 0x7FF8000000000000), (0, 0)
// while an error is pending.
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr kovrix_interval kNullInterval{kNaN, kNaN};

template <class Body>
kovrix_interval intervalOf(Body body) {
  const kovrix::Interval v = guarded(kovrix::Interval{0.0, 0.0}, body);
  return kovrix_interval{v.lo, v.hi};
}

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
  if (x == nullptr) return kNullInterval;
  return intervalOf([&] { return kovrix::toInterval(bfOf(x)); });
}

kovrix_interval kovrix_interval_from_rational(const kovrix_rational* x) {
  if (x == nullptr) return kNullInterval;
  return intervalOf([&] { return kovrix::toInterval(ratOf(x)); });
}

kovrix_interval kovrix_interval_from_bigint(const kovrix_bigint* x) {
  if (x == nullptr) return kNullInterval;
  return intervalOf([&] { return kovrix::toInterval(x->value); });
}

}  // extern "C"

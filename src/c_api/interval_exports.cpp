// kovrix_interval_* exports: thin wrappers over interval/.
//
// Every interval export has the failure convention of the frame: with an
// error pending on entry it returns its failure value -- (0, 0) for an
// interval, 0.0 for a double, false for a predicate -- without computing.
// Domain errors are answered by the never-failing operations of interval/,
// with nothing left pending: division by an interval containing zero gives
// (-inf, +inf), the square root of an interval below zero and the logarithm
// of one at or below zero give (NaN, NaN), and a negative power of an
// interval containing zero gives (NaN, NaN) through the DivByZeroDefect that
// kovrix_interval_pow catches.
#include <cstdint>

#include "c_api/interval_value.hpp"
#include "c_api/pending_error.hpp"
#include "float64_constants.hpp"
#include "interval/arithmetic.hpp"
#include "interval/functions.hpp"
#include "interval/interval_type.hpp"
#include "kovrix.h"

namespace {

using kovrix::Interval;
using kovrix::capi::Catches;
using kovrix::capi::guarded;
using kovrix::capi::intervalExport;
using kovrix::capi::intervalOut;
using kovrix::capi::kIntervalFailure;
using kovrix::capi::kNaNPair;

inline Interval in(kovrix_interval x) noexcept { return {x.lo, x.hi}; }

}  // namespace

extern "C" {

KOVRIX_API kovrix_interval kovrix_interval_from_f64(double lo, double hi) {
  return intervalExport([&] { return Interval{lo, hi}; });
}

KOVRIX_API double kovrix_interval_lo(kovrix_interval x) {
  return guarded(0.0, [&] { return x.lo; });
}

KOVRIX_API double kovrix_interval_hi(kovrix_interval x) {
  return guarded(0.0, [&] { return x.hi; });
}

KOVRIX_API kovrix_interval kovrix_interval_add(kovrix_interval a, kovrix_interval b) {
  return intervalExport([&] { return in(a) + in(b); });
}

KOVRIX_API kovrix_interval kovrix_interval_sub(kovrix_interval a, kovrix_interval b) {
  return intervalExport([&] { return in(a) - in(b); });
}

KOVRIX_API kovrix_interval kovrix_interval_mul(kovrix_interval a, kovrix_interval b) {
  return intervalExport([&] { return in(a) * in(b); });
}

KOVRIX_API kovrix_interval kovrix_interval_div(kovrix_interval a, kovrix_interval b) {
  return intervalExport([&] { return kovrix::divExtended(in(a), in(b)); });
}

KOVRIX_API kovrix_interval kovrix_interval_sqrt(kovrix_interval x) {
  return intervalExport([&] { return kovrix::sqrtClipped(in(x)); });
}

KOVRIX_API kovrix_interval kovrix_interval_neg(kovrix_interval x) {
  return intervalExport([&] { return -in(x); });
}

KOVRIX_API kovrix_interval kovrix_interval_pow(kovrix_interval x, int32_t n) {
  // A pending error of a kind this export does not catch: the ordinary
  // failure value.  A pending DivByZeroDefect is cleared and answered with
  // (NaN, NaN), as is the one the kernel raises for a negative power of an
  // interval containing zero.
  return intervalOut(guarded<Catches::divByZero>(kIntervalFailure, kNaNPair,
                                         [&] { return kovrix::pow(in(x), static_cast<std::int64_t>(n)); }));
}

KOVRIX_API int kovrix_interval_is_valid(kovrix_interval x) {
  return guarded(0, [&] { return kovrix::isValid(in(x)) ? 1 : 0; });
}

KOVRIX_API double kovrix_interval_width(kovrix_interval x) {
  return guarded(0.0, [&] { return kovrix::width(in(x)); });
}

KOVRIX_API double kovrix_interval_midpoint(kovrix_interval x) {
  return guarded(0.0, [&] { return kovrix::midpoint(in(x)); });
}

KOVRIX_API int kovrix_interval_contains(kovrix_interval x, double v) {
  return guarded(0, [&] { return kovrix::contains(in(x), v) ? 1 : 0; });
}

KOVRIX_API int kovrix_interval_contains_interval(kovrix_interval a, kovrix_interval b) {
  return guarded(0, [&] { return kovrix::contains(in(a), in(b)) ? 1 : 0; });
}

KOVRIX_API int kovrix_interval_overlaps(kovrix_interval a, kovrix_interval b) {
  return guarded(0, [&] { return kovrix::overlaps(in(a), in(b)) ? 1 : 0; });
}

KOVRIX_API kovrix_interval kovrix_interval_hull(kovrix_interval a, kovrix_interval b) {
  return intervalExport([&] { return kovrix::hull(in(a), in(b)); });
}

KOVRIX_API kovrix_interval kovrix_interval_intersect(kovrix_interval a, kovrix_interval b) {
  return intervalExport([&] { return kovrix::intersect(in(a), in(b)); });
}

KOVRIX_API kovrix_interval kovrix_interval_exp(kovrix_interval x) {
  return intervalExport([&] { return kovrix::exp(in(x)); });
}

KOVRIX_API kovrix_interval kovrix_interval_ln(kovrix_interval x) {
  return intervalExport([&] { return kovrix::lnClipped(in(x)); });
}

KOVRIX_API kovrix_interval kovrix_interval_arctan(kovrix_interval x) {
  return intervalExport([&] { return kovrix::arctan(in(x)); });
}

KOVRIX_API kovrix_interval kovrix_interval_arctan2(kovrix_interval y, kovrix_interval x) {
  return intervalExport([&] { return kovrix::arctan2(in(y), in(x)); });
}

KOVRIX_API kovrix_interval kovrix_interval_sin(kovrix_interval x) {
  return intervalExport([&] { return kovrix::sin(in(x)); });
}

KOVRIX_API kovrix_interval kovrix_interval_cos(kovrix_interval x) {
  return intervalExport([&] { return kovrix::cos(in(x)); });
}

}  // extern "C"

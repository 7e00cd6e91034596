// The Q32.32 elementary and special functions (kovrix_fixed_sin ...
// kovrix_fixed_bessel_j0).
//
// Unlike the other Fixed exports these never leave an error behind: any
// failure inside, of any kind, is discarded and answered with 0, and an
// error already pending on entry is discarded the same way (0 returned,
// nothing pending afterwards).  A caller cannot tell a result 0 from a
// failure.
#include <cstdint>

#include "c_api/pending_error.hpp"
#include "kovrix.h"
#include "math_router.hpp"

namespace {

using kovrix::Fixed;
using kovrix::capi::Catches;
using kovrix::capi::guarded;

template <class Body>
std::int64_t routed(Body&& body) noexcept {
  return guarded<Catches::everything>(std::int64_t{0}, [&] { return body().raw; });
}

}  // namespace

extern "C" {

KOVRIX_API int64_t kovrix_fixed_sin(int64_t x) { return routed([&] { return kovrix::router::sin(Fixed{x}); }); }
KOVRIX_API int64_t kovrix_fixed_cos(int64_t x) { return routed([&] { return kovrix::router::cos(Fixed{x}); }); }
KOVRIX_API int64_t kovrix_fixed_tan(int64_t x) {
  return routed([&] { return kovrix::router::tanReduced(Fixed{x}); });
}
KOVRIX_API int64_t kovrix_fixed_exp(int64_t x) { return routed([&] { return kovrix::router::exp(Fixed{x}); }); }
KOVRIX_API int64_t kovrix_fixed_ln(int64_t x) { return routed([&] { return kovrix::router::ln(Fixed{x}); }); }
KOVRIX_API int64_t kovrix_fixed_sqrt(int64_t x) { return routed([&] { return kovrix::router::sqrt(Fixed{x}); }); }
KOVRIX_API int64_t kovrix_fixed_atan(int64_t x) { return routed([&] { return kovrix::router::atan(Fixed{x}); }); }
KOVRIX_API int64_t kovrix_fixed_atan2(int64_t y, int64_t x) {
  return routed([&] { return kovrix::router::atan2(Fixed{y}, Fixed{x}); });
}
KOVRIX_API int64_t kovrix_fixed_sinh(int64_t x) { return routed([&] { return kovrix::router::sinh(Fixed{x}); }); }
KOVRIX_API int64_t kovrix_fixed_cosh(int64_t x) { return routed([&] { return kovrix::router::cosh(Fixed{x}); }); }
KOVRIX_API int64_t kovrix_fixed_tanh(int64_t x) { return routed([&] { return kovrix::router::tanh(Fixed{x}); }); }
KOVRIX_API int64_t kovrix_fixed_pow(int64_t a, int64_t b) {
  return routed([&] { return kovrix::router::pow(Fixed{a}, Fixed{b}); });
}
KOVRIX_API int64_t kovrix_fixed_asin(int64_t x) { return routed([&] { return kovrix::router::asin(Fixed{x}); }); }
KOVRIX_API int64_t kovrix_fixed_acos(int64_t x) { return routed([&] { return kovrix::router::acos(Fixed{x}); }); }
KOVRIX_API int64_t kovrix_fixed_asinh(int64_t x) {
  return routed([&] { return kovrix::router::asinh(Fixed{x}); });
}
KOVRIX_API int64_t kovrix_fixed_acosh(int64_t x) {
  return routed([&] { return kovrix::router::acosh(Fixed{x}); });
}
KOVRIX_API int64_t kovrix_fixed_atanh(int64_t x) {
  return routed([&] { return kovrix::router::atanh(Fixed{x}); });
}
KOVRIX_API int64_t kovrix_fixed_factorial(int32_t n) {
  return routed([&] { return kovrix::router::factorial(n); });
}
KOVRIX_API int64_t kovrix_fixed_erf(int64_t x) { return routed([&] { return kovrix::router::erf(Fixed{x}); }); }
KOVRIX_API int64_t kovrix_fixed_bessel_j0(int64_t x) {
  return routed([&] { return kovrix::router::besselJ0(Fixed{x}); });
}

}  // extern "C"

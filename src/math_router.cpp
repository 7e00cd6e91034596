#include "math_router.hpp"

#include <charconv>
#include <cstring>

#include "errors.hpp"
#include "exponential/fixed_series_arithmetic.hpp"
#include "exponential/logarithm_generic.hpp"
#include "fixed/arithmetic.hpp"
#include "hyperbolic/cordic.hpp"
#include "roots/sqrt_newton.hpp"
#include "special/bessel.hpp"
#include "special/error_functions.hpp"
#include "special/gamma.hpp"
#include "trigonometry/chebyshev.hpp"
#include "trigonometry/cordic.hpp"

namespace kovrix::router {

namespace {

constexpr Fixed kOne{Q32One};

// The ln domain message names the raw argument; failure texts must outlive
// the raise, so it is composed in a per-thread buffer.
[[noreturn]] void raiseLnDomain(Fixed x) {
  static constexpr char prefix[] = "ln: argument must be positive, got ";
  thread_local char text[sizeof prefix + 24];
  std::memcpy(text, prefix, sizeof prefix - 1);
  char* end = std::to_chars(text + sizeof prefix - 1, text + sizeof text - 1, x.raw).ptr;
  *end = '\0';
  raiseValueError(text);
}

// |x| <= one, the domain of asin and acos.
bool inUnitInterval(Fixed x) { return x.raw >= -Q32One && x.raw <= Q32One; }

// sqrt(one - x*x) with the inner iteration count, the subtraction tested.
Fixed unitComplementRoot(Fixed x) { return sqrtNewtonGeneric(kOne - x * x, innerSqrtIterations); }

}  // namespace

Fixed sin(Fixed x) { return sinCosCordic(x).first; }
Fixed cos(Fixed x) { return sinCosCordic(x).second; }

Fixed tanReduced(Fixed x) {
  // pi and its half and quarter, all from piFixed = 13493037704: the
  // quarter 3373259426 is the switch point between the polynomial and the
  // reciprocal of the polynomial at the complement.
  const std::int64_t pi = getPiFixed().raw;
  const std::int64_t halfPi = pi >> 1;
  const std::int64_t quarterPi = pi >> 2;
  const std::int64_t r = x.raw % pi;  // truncated, the sign of x
  // r is in (-pi, pi), so both corrections stay far inside int64, and the
  // result f lies in [-pi/2, pi/2].
  const std::int64_t f = r > halfPi ? r - pi : (r < -halfPi ? r + pi : r);
  const std::int64_t magnitude = f < 0 ? -f : f;
  const Fixed t = magnitude > quarterPi ? kOne / tanChebyshev(Fixed{halfPi - magnitude})
                                        : tanChebyshev(Fixed{magnitude});
  return f < 0 ? -t : t;
}

Fixed exp(Fixed x) { return expCordicScaled(x); }

Fixed ln(Fixed x) {
  if (x.raw <= 0) raiseLnDomain(x);
  return lnGeneric(x, LnTerms{});
}

Fixed sqrt(Fixed x) { return sqrtNewtonGeneric(x, sqrtIterations); }

Fixed atan(Fixed x) { return atan2Cordic(x, kOne); }
Fixed atan2(Fixed y, Fixed x) { return atan2Cordic(y, x); }

Fixed sinh(Fixed x) { return sinhCoshCordic(x).first; }
Fixed cosh(Fixed x) { return sinhCoshCordic(x).second; }
Fixed tanh(Fixed x) { return tanhCordic(x); }

Fixed pow(Fixed a, Fixed b) {
  const Fixed lnA = ln(a);
  return expCordicScaled(b * lnA);
}

Fixed asin(Fixed x) {
  if (!inUnitInterval(x)) raiseValueError("asin: argument outside [-1, 1]");
  return atan2Cordic(x, unitComplementRoot(x));
}

Fixed acos(Fixed x) {
  if (!inUnitInterval(x)) raiseValueError("acos: argument outside [-1, 1]");
  return atan2Cordic(unitComplementRoot(x), x);
}

Fixed asinh(Fixed x) {
  const Fixed root = sqrtNewtonGeneric(x * x + kOne, innerSqrtIterations);
  return ln(x + root);
}

Fixed acosh(Fixed x) {
  // acosh is defined from one on.  Below -1 the composed steps would not all
  // fail by themselves: the 10-step root of x*x - one is still far above |x|
  // once x is below about -174.86, x + root turns positive and the logarithm
  // returns a value (negative, nothing like an acosh).  So the domain is
  // tested here.
  if (x.raw < Q32One) raiseValueError("acosh: argument below 1");
  const Fixed root = sqrtNewtonGeneric(x * x - kOne, innerSqrtIterations);
  return ln(x + root);
}

Fixed atanh(Fixed x) {
  const Fixed numerator = kOne + x;
  const Fixed denominator = kOne - x;
  // (one/2) * l = floor(2^31 l / 2^32) = floor(l / 2), never out of range.
  return Fixed{ln(numerator / denominator).raw >> 1};
}

Fixed factorial(std::int64_t n) { return factorialFixed(n); }

Fixed erf(Fixed x) { return erfTaylor(x, ErfTerms{}); }
Fixed besselJ0(Fixed x) { return kovrix::besselJ0(x, BesselTerms{}); }

}  // namespace kovrix::router

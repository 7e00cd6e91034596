#include "special/gamma.hpp"

#include <charconv>
#include <cmath>
#include <cstring>

#include "errors.hpp"
#include "exponential/fixed_series_arithmetic.hpp"

namespace kovrix {

namespace {
constexpr double kPi = 3.141592653589793;

// The pole message names the argument; failure texts must outlive the
// raise, so it is composed in a per-thread buffer.
[[noreturn]] void raisePole(double x) {
  static constexpr char prefix[] = "gammaLanczosFloat: pole at non-positive integer ";
  thread_local char text[sizeof prefix + 32];
  std::memcpy(text, prefix, sizeof prefix - 1);
  char* end = std::to_chars(text + sizeof prefix - 1, text + sizeof text - 1, x).ptr;  // shortest round trip
  *end = '\0';
  raiseValueError(text);
}
}  // namespace

double gammaLanczosFloat(double x) {
  if (x <= 0.0) {
    if (x == std::round(x)) raisePole(x);
    // 1 - x > 1 here, so the inner call takes the Lanczos branch directly.
    return kPi / (std::sin(kPi * x) * gammaLanczosFloat(1.0 - x));
  }
  if (x < 1.0) return gammaLanczosFloat(1.0 + x) / x;
  const double z = x - 1.0;
  const double t = 7.0 + z + 0.5;
  const auto& c = lanczosCoefficients;
  double a = c[1] / (1.0 + z) + c[0];
  for (int k = 2; k <= 8; ++k) a = a + c[k] / (static_cast<double>(k) + z);
  return a * (std::pow(t, z + 0.5) * lanczosSqrtTwoPi * std::exp(-t));
}

double factorial(std::int64_t n) {
  if (n < 0) return 0.0;
  if (n < 2) return 1.0;
  double product = 1.0;
  for (std::int64_t i = 2;; ++i) {
    product = product * static_cast<double>(i);
    // +inf times a positive factor stays +inf: the rest of the product
    // cannot change it.
    if (i == n || std::isinf(product)) return product;
  }
}

Fixed factorialFixed(std::int64_t n) {
  if (n < 0) return Fixed{0};
  Fixed product = FixedArithmetic::one();
  // The product raises at i = 13 at the latest, long before i could reach
  // the int64 limit.
  for (std::int64_t i = 2; i <= n; ++i) product = FixedArithmetic::mulInt(product, i);
  return product;
}

}  // namespace kovrix

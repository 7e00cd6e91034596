#include "special/gamma.hpp"

#include <array>
#include <charconv>
#include <limits>
#include <cmath>
#include <cstring>

#include "errors.hpp"
#include "float64_constants.hpp"
#include "exponential/fixed_series_arithmetic.hpp"

namespace kovrix {

namespace {
constexpr double kPi = f64::pi;

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

// The poles: the non-positive integers, -0.0 and -inf included.
bool isPole(double x) { return x <= 0.0 && x == std::round(x); }
}  // namespace

double gammaOrNaN(double x) {
  if (isPole(x)) return f64::quietNaN;
  return gammaLanczosFloat(x);
}

double gammaLanczosFloat(double x) {
  if (x <= 0.0) {
    if (isPole(x)) raisePole(x);
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

namespace {
// The ascending products 1·2·…·n for n = 0 .. 170, formed at compile time
// by the same float64 multiplications the definition makes at run time
// (constant evaluation rounds each product to nearest, as the hardware
// does), so a lookup is that product.  171! is the first product to pass
// DBL_MAX: it becomes +inf, and +inf times any later positive factor stays
// +inf.
constexpr std::int64_t kLargestFiniteFactorial = 170;
constexpr auto kFactorials = [] {
  std::array<double, kLargestFiniteFactorial + 1> table{};
  double product = 1.0;
  table[0] = table[1] = 1.0;
  for (std::size_t i = 2; i < table.size(); ++i) {
    product = product * static_cast<double>(i);
    table[i] = product;
  }
  return table;
}();
static_assert(kFactorials[20] == 2432902008176640000.0);
// 170! * 171 exceeds twice DBL_MAX, far past the rounding boundary, so the
// product rounds to +inf (constant evaluation refuses to form the overflow
// itself, hence the comparison through a quotient).
static_assert(kFactorials[kLargestFiniteFactorial] > 2.0 * (std::numeric_limits<double>::max() / 171.0));
static_assert(kFactorials[kLargestFiniteFactorial] <= std::numeric_limits<double>::max());
}  // namespace

double factorial(std::int64_t n) {
  if (n < 0) return 0.0;
  if (n <= kLargestFiniteFactorial) return kFactorials[static_cast<std::size_t>(n)];
  return std::numeric_limits<double>::infinity();
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

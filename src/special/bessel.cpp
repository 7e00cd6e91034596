#include "special/bessel.hpp"

#include "errors.hpp"
#include "exponential/fixed_series_arithmetic.hpp"

namespace kovrix {

double besselJ0(double x, std::int64_t count) {
  const double q = (x * 0.5) * (x * 0.5);
  if (count < 2) return 1.0;
  double sum = 1.0;
  double term = q;
  double divisor = 1.0;
  bool subtract = true;
  for (std::int64_t i = 2;; ++i) {
    const double quotient = term / divisor;
    sum = subtract ? sum - quotient : sum + quotient;
    if (i == count) return sum;
    term = quotient * q;
    divisor = static_cast<double>(checkedMul(i, i));
    subtract = !subtract;
  }
}

Fixed besselJ0(Fixed x, std::int64_t count) {
  using A = FixedArithmetic;
  const Fixed halfX = x / toFixed(std::int64_t{2});
  const Fixed q = halfX * halfX;
  Fixed sum = A::one();
  Fixed term = A::one();
  for (std::int64_t k = 1; k < count; ++k) {
    term = A::divInt(term * q, checkedMul(k, k));
    sum = (k % 2 == 1) ? sum - term : sum + term;
  }
  return sum;
}

}  // namespace kovrix

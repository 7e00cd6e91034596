#include "special/bessel.hpp"

#include "errors.hpp"

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

}  // namespace kovrix

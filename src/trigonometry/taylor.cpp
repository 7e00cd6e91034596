#include "trigonometry/taylor.hpp"

#include "errors.hpp"

namespace kovrix {

// The divisor of the next term, (2i)(2i + 1) for the sine and (2i - 1)(2i)
// for the cosine, is formed with overflow-tested products, and only when
// another term follows.

double sinTaylor(double x, std::int64_t count) {
  if (count < 2) return x;
  double sum = x;
  double term = x * (x * x);
  double divisor = 6.0;
  bool subtract = true;
  for (std::int64_t i = 2;; ++i) {
    const double quotient = term / divisor;
    sum = subtract ? sum - quotient : sum + quotient;
    if (i == count) return sum;
    term = (x * x) * quotient;
    divisor = static_cast<double>(checkedMul(checkedMul(2, i), checkedAdd(checkedMul(2, i), 1)));
    subtract = !subtract;
  }
}

double cosTaylor(double x, std::int64_t count) {
  const double square = x * x;
  if (count < 2) return 1.0;
  double sum = 1.0;
  double term = square;
  double divisor = 2.0;
  bool subtract = true;
  for (std::int64_t i = 2;; ++i) {
    const double quotient = term / divisor;
    sum = subtract ? sum - quotient : sum + quotient;
    if (i == count) return sum;
    term = quotient * square;
    divisor = static_cast<double>(checkedMul(checkedSub(checkedMul(2, i), 1), checkedMul(2, i)));
    subtract = !subtract;
  }
}

double atanTaylor(double x, std::int64_t count) {
  if (count < 2) return x;
  double sum = x;
  double power = x * (x * x);
  std::int64_t divisor = 3;
  bool subtract = true;
  for (std::int64_t terms = 2;; ++terms) {
    const double quotient = power / static_cast<double>(divisor);
    sum = subtract ? sum - quotient : sum + quotient;
    if (terms == count) return sum;
    divisor = checkedAdd(divisor, 2);
    power = (x * x) * power;
    subtract = !subtract;
  }
}

}  // namespace kovrix

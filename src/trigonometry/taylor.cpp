#include "trigonometry/taylor.hpp"

#include "errors.hpp"

namespace kovrix {

// The divisor of the next term, (2i)(2i + 1) for the sine and (2i - 1)(2i)
// for the cosine, is formed with overflow-tested products, and only when
// another term follows.

double sinTaylor(double x, std::int64_t count) {
  const double square = x * x;
  return alternatingQuotientSeries(x, x * square, 6.0, square, count, [](std::int64_t i) {
    return checkedMul(checkedMul(2, i), checkedAdd(checkedMul(2, i), 1));
  });
}

double cosTaylor(double x, std::int64_t count) {
  const double square = x * x;
  return alternatingQuotientSeries(1.0, square, 2.0, square, count, [](std::int64_t i) {
    return checkedMul(checkedSub(checkedMul(2, i), 1), checkedMul(2, i));
  });
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

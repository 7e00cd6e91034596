#include "special/bessel.hpp"

#include "errors.hpp"
#include "exponential/fixed_series_arithmetic.hpp"
#include "trigonometry/taylor.hpp"

namespace kovrix {

double besselJ0(double x, std::int64_t count) {
  const double q = (x * 0.5) * (x * 0.5);
  return alternatingQuotientSeries(1.0, q, 1.0, q, count, [](std::int64_t i) { return checkedMul(i, i); });
}

namespace {
template <TermCount Count>
Fixed besselJ0Q32(Fixed x, Count count) {
  using A = FixedArithmetic;
  const Fixed halfX = A::divInt(x, 2);  // x / (2·one)
  const Fixed q = halfX * halfX;
  Fixed sum = A::one();
  Fixed term = A::one();
  forEachStep(count, [&](auto k) {
    term = A::divInt(term * q, stepInteger(k, [](std::int64_t i) { return checkedMul(i, i); }));
    sum = (static_cast<std::int64_t>(k) % 2 == 1) ? sum - term : sum + term;
  });
  return sum;
}
}  // namespace

Fixed besselJ0(Fixed x, std::int64_t count) { return besselJ0Q32(x, count); }
Fixed besselJ0(Fixed x, Terms<15> count) { return besselJ0Q32(x, count); }

}  // namespace kovrix

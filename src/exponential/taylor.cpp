#include "exponential/taylor.hpp"

#include "errors.hpp"
#include "float64_constants.hpp"

namespace kovrix {

double expTaylor(double x, std::int64_t count) { return generic::expTaylor<Float64Arithmetic>(x, count); }

namespace {
bool lnTaylorDomainError(double x) { return 1.0 + x <= 0.0; }
}  // namespace

double lnTaylorOrNaN(double x, std::int64_t count) {
  if (lnTaylorDomainError(x)) return f64::quietNaN;
  return lnTaylor(x, count);
}

double lnTaylor(double x, std::int64_t count) {
  if (lnTaylorDomainError(x)) raiseValueError("lnTaylor: ln(1+x) undefined for x <= -1");
  double sum = x;
  double power = x;
  for (std::int64_t i = 2; i < count; ++i) {
    power = power * x;
    const double term = power / static_cast<double>(i);
    sum = (i % 2 == 0) ? sum - term : sum + term;
  }
  return sum;
}

}  // namespace kovrix

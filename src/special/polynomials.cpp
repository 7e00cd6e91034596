#include "special/polynomials.hpp"

#include <cmath>

#include "errors.hpp"

namespace kovrix {

// Once a value of the recurrence is NaN, every later one is NaN as well (a
// NaN operand makes each product, difference and quotient NaN), so the loops
// stop there: with degrees up to 2^31 this saves billions of steps without
// changing a result.

namespace {
// The recurrence shared by T and U (n >= 2): p_i = p_{i-1}(x + x) - p_{i-2}.
double chebyshevRecurrence(std::int64_t n, double x, double p0, double p1) {
  double before = p0;
  double current = p1;
  for (std::int64_t i = 2;; ++i) {
    const double next = current * (x + x) - before;
    before = current;
    current = next;
    if (i == n || std::isnan(current)) break;
  }
  return current;
}
}  // namespace

double chebyshevT(std::int64_t n, double x) {
  if (n == 0) return 1.0;
  if (n < 0 || n == 1) return x;
  return chebyshevRecurrence(n, x, 1.0, x);
}

double chebyshevU(std::int64_t n, double x) {
  if (n == 0) return 1.0;
  if (n < 0 || n == 1) return x + x;
  return chebyshevRecurrence(n, x, 1.0, x + x);
}

double legendreP(std::int64_t n, double x) {
  if (n == 0) return 1.0;
  if (n < 0 || n == 1) return x;
  double before = 1.0;
  double current = x;
  for (std::int64_t i = 2;; ++i) {
    const double odd = static_cast<double>(checkedSub(checkedMul(2, i), 1));
    const double next = (odd * x * current - static_cast<double>(i - 1) * before) / static_cast<double>(i);
    before = current;
    current = next;
    if (i == n || std::isnan(current)) break;
  }
  return current;
}

double hermiteH(std::int64_t n, double x) {
  if (n == 0) return 1.0;
  if (n < 0 || n == 1) return x + x;
  double before = 1.0;
  double current = x + x;
  for (std::int64_t i = 2;; ++i) {
    const double even = static_cast<double>(checkedSub(checkedMul(2, i), 2));
    const double next = current * (x + x) - even * before;
    before = current;
    current = next;
    if (i == n || std::isnan(current)) break;
  }
  return current;
}

}  // namespace kovrix

#include "interval/arithmetic.hpp"

#include <cmath>
#include <cstdint>

#include "errors.hpp"
#include "float64_constants.hpp"

namespace kovrix {

void raiseIntervalDivByZero() {
  raiseDivByZero("interval division by an interval containing zero");
}

Interval sqrt(Interval x) {
  if (x.lo < 0) raiseValueError("sqrt of an interval with a negative lower bound");
  // sqrt is correctly rounded, so one step encloses each bound; +inf is kept
  // by nextUp, and an exact zero needs no step (sqrt(0) is exact).
  const double lo = (x.lo == 0) ? 0.0 : nextDown(std::sqrt(x.lo));
  return {lo, nextUp(std::sqrt(x.hi))};
}

Interval sqrtClipped(Interval x) {
  if (x.hi < 0) return {f64::quietNaN, f64::quietNaN};
  return sqrt(Interval{maxBound(x.lo, 0.0), x.hi});
}

Interval abs(Interval x) noexcept {
  if (x.lo >= 0) return {nextDown(x.lo), nextUp(x.hi)};
  if (x.hi <= 0) return {nextDown(-x.hi), nextUp(-x.lo)};
  return {0.0, nextUp(maxBound(std::fabs(x.lo), std::fabs(x.hi)))};
}

namespace {
// C pow is not correctly rounded; two steps cover its error (under one unit in
// glibc).  A zero power bound becomes -2^-1073 / 2^-1073.
Interval powPositive(Interval x, std::int64_t n) {
  // Above 2^53 an exponent need not be a double: the conversion would round
  // it, an odd n to an even power (a negative base would come out positive)
  // and by up to 2^10 units, which moves a finite power far beyond the two
  // steps.  Such an n is split as high + low, high its top 53 bits (a double,
  // even) and low < 2^10, and the enclosures of x^high and x^low are
  // multiplied as intervals.  Every n up to 2^53 converts exactly and takes
  // the single pow below.
  if (n > (std::int64_t{1} << 53)) {
    const int dropped = 64 - __builtin_clzll(static_cast<std::uint64_t>(n)) - 53;
    const std::int64_t high = n & ~((std::int64_t{1} << dropped) - 1);
    if (high != n) return powPositive(x, high) * powPositive(x, n - high);
  }
  const double e = static_cast<double>(n);
  if (n % 2 != 0) return {nextDown2(std::pow(x.lo, e)), nextUp2(std::pow(x.hi, e))};
  const Interval m = abs(x);
  return {nextDown2(std::pow(m.lo, e)), nextUp2(std::pow(m.hi, e))};
}
}  // namespace

Interval pow(Interval x, std::int64_t n) {
  if (n == 0) return {1.0, 1.0};
  if (n > 0) return powPositive(x, n);
  if (x.lo <= 0 && 0 <= x.hi) raiseDivByZero("pow with negative exponent of an interval containing zero");
  const Interval r = Interval{1.0, 1.0} / x;
  // -n overflows for the most negative exponent: take one factor r out.
  if (n == INT64_MIN) return powPositive(r, INT64_MAX) * r;
  return powPositive(r, -n);
}

}  // namespace kovrix

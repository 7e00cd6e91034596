// The Q32.32 Fixed instance of the series arithmetic (series_arithmetic.hpp).
//
// Every operation is the overflow-raising Q32.32 step of fixed/arithmetic.hpp
// (floor product, truncating quotient, tested sums), so a generic kernel run
// on Fixed either follows its steps exactly or raises.  The shortcuts below
// are those steps with a constant operand, worked out once:
//   - an integer k as an operand is k·one, made by toFixed (which raises for
//     k outside [-2^31, 2^31 - 1]);
//   - a * (k·one) = floor(a·k·2^32 / 2^32) = a·k exactly (raises when a·k
//     leaves int64);
//   - a / (k·one) = trunc(a·2^32 / (k·2^32)) = trunc(a / k) (k = 0 raises the
//     division by zero; only a = -2^63, k = -1 leaves int64);
//   - one/2 is one / (2·one) = 2^31, and (one/2) * a = floor(a / 2) = a >> 1,
//     never out of range;
//   - (2·one) * a = 2a, raising when it leaves int64.
#pragma once

#include <cstdint>

#include "errors.hpp"
#include "exponential/series_arithmetic.hpp"
#include "fixed/arithmetic.hpp"
#include "fixed/fixed_point.hpp"

namespace kovrix {

struct FixedArithmetic {
  using Value = Fixed;
  static constexpr Fixed zero() noexcept { return Fixed{0}; }
  static constexpr Fixed one() noexcept { return Fixed{Q32One}; }
  static Fixed add(Fixed a, Fixed b) { return a + b; }
  static Fixed sub(Fixed a, Fixed b) { return a - b; }
  static Fixed mul(Fixed a, Fixed b) { return a * b; }
  static Fixed div(Fixed a, Fixed b) { return a / b; }
  static Fixed mulInt(Fixed a, std::int64_t k) {
    (void)toFixed(k);  // the operand k·one must exist
    std::int64_t r;
    if (__builtin_mul_overflow(a.raw, k, &r)) [[unlikely]] raiseOverflow(kInt64RangeMessage);
    return Fixed{r};
  }
  static Fixed divInt(Fixed a, std::int64_t k) {
    (void)toFixed(k);
    if (k == 0) [[unlikely]] raiseDivByZero(kDivByZeroMessage);
    if (k == -1 && a.raw == INT64_MIN) [[unlikely]] raiseOverflow(kInt64RangeMessage);
    return Fixed{a.raw / k};
  }
  static constexpr Fixed half(Fixed a) noexcept { return Fixed{a.raw >> 1}; }
  static Fixed twice(Fixed a) {
    std::int64_t r;
    if (__builtin_add_overflow(a.raw, a.raw, &r)) [[unlikely]] raiseOverflow(kInt64RangeMessage);
    return Fixed{r};
  }
  static constexpr bool isNegative(Fixed a) noexcept { return a.raw < 0; }
  static constexpr bool isZero(Fixed a) noexcept { return a.raw == 0; }
  static constexpr bool equal(Fixed a, Fixed b) noexcept { return a.raw == b.raw; }
};
static_assert(SeriesArithmetic<FixedArithmetic>);

}  // namespace kovrix

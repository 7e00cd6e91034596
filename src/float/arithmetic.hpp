// Rounded arithmetic on BigFloat.
//
// Each operation forms the exact result (for division: enough quotient bits
// and whether the remainder is zero) and rounds it once with
// normalizeRounded, so the result is correctly rounded to p bits in the given
// mode whenever the operands have p bits.  Operands may have any length.
// A zero result is the canonical zero.
#pragma once

#include "exponential/series_arithmetic.hpp"
#include "float/big_float.hpp"
#include "float/mantissa256.hpp"
#include "float/value256.hpp"

namespace kovrix {

BigFloat addRounded(const BigFloat& a, const BigFloat& b, std::int64_t p, RoundingMode mode);
BigFloat subRounded(const BigFloat& a, const BigFloat& b, std::int64_t p, RoundingMode mode);
BigFloat mulRounded(const BigFloat& a, const BigFloat& b, std::int64_t p, RoundingMode mode);
// b zero: DivByZeroDefect "BigFloat division by zero".
BigFloat divRounded(const BigFloat& a, const BigFloat& b, std::int64_t p, RoundingMode mode);

// The operators: the rounded operations at defaultPrecision, mode nearest.
inline BigFloat operator+(const BigFloat& a, const BigFloat& b) {
  return addRounded(a, b, defaultPrecision, RoundingMode::nearest);
}
inline BigFloat operator-(const BigFloat& a, const BigFloat& b) {
  return subRounded(a, b, defaultPrecision, RoundingMode::nearest);
}
inline BigFloat operator*(const BigFloat& a, const BigFloat& b) {
  return mulRounded(a, b, defaultPrecision, RoundingMode::nearest);
}
inline BigFloat operator/(const BigFloat& a, const BigFloat& b) {
  return divRounded(a, b, defaultPrecision, RoundingMode::nearest);
}

// Exact negation (a zero stays the canonical zero) and absolute value.
inline BigFloat operator-(BigFloat a) {
  if (!a.isZero()) a.negative = !a.negative;
  return a;
}
inline BigFloat abs(BigFloat a) {
  a.negative = false;
  return a;
}

// The arithmetic of the generic series and Newton kernels at BigFloat: every
// step a rounded operation at defaultPrecision, mode nearest, and every
// integer a kernel multiplies or divides by made with initBigFloat at 256 bits
// (exact for the small indices the kernels use).
struct BigFloatArithmetic {
  using Value = BigFloat;
  static BigFloat zero() { return BigFloat{}; }
  static BigFloat one();
  // The series' operands nearly always fit the fixed-size kernels; calling
  // them here saves the general operation's dispatch (the same result).
  static BigFloat add(const BigFloat& a, const BigFloat& b) {
    return bothFit(a, b) ? mantissa256::add(a, b, false) : a + b;
  }
  static BigFloat sub(const BigFloat& a, const BigFloat& b) {
    return bothFit(a, b) ? mantissa256::add(a, b, true) : a - b;
  }
  static BigFloat mul(const BigFloat& a, const BigFloat& b) { return bothFit(a, b) ? mantissa256::mul(a, b) : a * b; }
  static BigFloat div(const BigFloat& a, const BigFloat& b) { return a / b; }
  static BigFloat mulInt(const BigFloat& a, std::int64_t k) { return a * integer(k); }
  static BigFloat divInt(const BigFloat& a, std::int64_t k);
  static BigFloat half(const BigFloat& a);
  static BigFloat twice(const BigFloat& a);
  static bool isNegative(const BigFloat& a) { return a.negative && !a.isZero(); }
  static bool isZero(const BigFloat& a) { return a.isZero(); }
  static bool equal(const BigFloat& a, const BigFloat& b);
  // The integer k made at 256 bits through its double, as every integer a
  // kernel uses is.
  static BigFloat integer(std::int64_t k) { return initBigFloat(defaultPrecision, static_cast<double>(k)); }

 private:
  static bool bothFit(const BigFloat& a, const BigFloat& b) noexcept {
    return mantissa256::fitsKernel(a) && mantissa256::fitsKernel(b);
  }
};
static_assert(SeriesArithmetic<BigFloatArithmetic>);

// The same arithmetic on values held in place (mantissa256::Value256): every
// step the fixed-size kernel BigFloatArithmetic calls for such operands, so
// each step's result is the same value, without a BigFloat made per step.
// The series run on it only from arguments `covers` accepts and with at most
// MaxTerms terms: each value of such a series is a product or quotient of at
// most MaxTerms + 2 arguments and term indices (or a sum of such values, no
// smaller than its operands' lowest unit), so every exponent stays below
// (2^12 + 2)(2^40 + 320) < 2^53 in magnitude, inside the kernels' bound.
struct Value256Arithmetic {
  using Value = mantissa256::Value256;
  static constexpr std::int64_t MaxTerms = std::int64_t{1} << 12;
  static bool covers(const BigFloat& x) noexcept {
    constexpr std::int64_t bound = std::int64_t{1} << 40;
    if (x.isZero()) return !x.negative && x.exponent == 0;
    return mantissa256::fitsKernel(x) && x.exponent < bound && x.exponent > -bound;
  }
  static bool coversSeries(const BigFloat& x, std::int64_t n) noexcept { return n <= MaxTerms && covers(x); }
  static Value zero() { return Value{}; }
  static Value one() {
    Value r;
    r.m[3] = Limb{1} << 63;
    r.exponent = -255;
    return r;
  }
  [[gnu::always_inline]] static Value add(const Value& a, const Value& b) { return mantissa256::add(a, b, false); }
  [[gnu::always_inline]] static Value sub(const Value& a, const Value& b) { return mantissa256::add(a, b, true); }
  [[gnu::always_inline]] static Value mul(const Value& a, const Value& b) { return mantissa256::mul(a, b); }
  static Value div(const Value& a, const Value& b) {
    if (b.isZero()) return mantissa256::toValue(mantissa256::toBigFloat(a) / BigFloat{});  // raises
    return mantissa256::div(a, b);
  }
  static Value mulInt(const Value& a, std::int64_t k) {
    return mantissa256::mul(a, mantissa256::toValue(BigFloatArithmetic::integer(k)));
  }
  [[gnu::always_inline]] static Value divInt(const Value& a, std::int64_t k) {
    // As BigFloatArithmetic::divInt: k up to 2^53 is its own double.
    if (k > 0 && k <= (std::int64_t{1} << 53)) return mantissa256::divSmall(a, static_cast<std::uint64_t>(k));
    return mantissa256::toValue(BigFloatArithmetic::divInt(mantissa256::toBigFloat(a), k));
  }
  static Value half(Value a) {
    if (!a.isZero()) a.exponent -= 1;
    return a;
  }
  static Value twice(Value a) {
    if (!a.isZero()) a.exponent += 1;
    return a;
  }
  static bool isNegative(const Value& a) { return a.negative && !a.isZero(); }
  static bool isZero(const Value& a) { return a.isZero(); }
  // One normalised form per value: equal values have equal fields.
  static bool equal(const Value& a, const Value& b) { return a == b; }
};
static_assert(SeriesArithmetic<Value256Arithmetic>);

// Runs a series on values held in place when the argument and the count
// allow (Value256Arithmetic: the same steps with the same results), else on
// BigFloat: `series(arithmetic, x)` runs it in the arithmetic passed.
template <class Series>
BigFloat runSeries(const BigFloat& x, std::int64_t n, Series series) {
  using V = Value256Arithmetic;
  if (V::coversSeries(x, n)) return mantissa256::toBigFloat(series(V{}, mantissa256::toValue(x)));
  return series(BigFloatArithmetic{}, x);
}

}  // namespace kovrix

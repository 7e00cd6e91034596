// The arithmetic the generic series and Newton kernels are written against.
//
// A kernel that is the same sequence of steps on several representations is
// one template over an "arithmetic": a stateless struct naming the value type
// and the handful of operations the kernel needs.  Each representation
// supplies one such struct (float64 here, Q32.32 Fixed in
// fixed_series_arithmetic.hpp); the kernel never sees the representation.
//
// Every operation is the representation's own step: for float64 a single
// IEEE-754 operation rounded to nearest, for Fixed the overflow-raising
// floor product and truncating quotient.  The kernels therefore fix the
// order of operations, and the arithmetic fixes how each one rounds.
#pragma once

#include <concepts>
#include <cstdint>

namespace kovrix {

template <class A>
concept SeriesArithmetic = requires(typename A::Value a, typename A::Value b, std::int64_t k) {
  { A::zero() } -> std::same_as<typename A::Value>;
  { A::one() } -> std::same_as<typename A::Value>;
  { A::add(a, b) } -> std::same_as<typename A::Value>;
  { A::sub(a, b) } -> std::same_as<typename A::Value>;
  { A::mul(a, b) } -> std::same_as<typename A::Value>;
  { A::div(a, b) } -> std::same_as<typename A::Value>;
  // Multiply and divide by a small integer (a term index or a product of
  // indices), the integer made into a Value first.
  { A::mulInt(a, k) } -> std::same_as<typename A::Value>;
  { A::divInt(a, k) } -> std::same_as<typename A::Value>;
  // The product with the constant one half, and with two.
  { A::half(a) } -> std::same_as<typename A::Value>;
  { A::twice(a) } -> std::same_as<typename A::Value>;
  // Exact tests; a float64 NaN is neither negative nor zero nor equal to
  // anything, so it runs through a kernel's general path.
  { A::isNegative(a) } -> std::same_as<bool>;
  { A::isZero(a) } -> std::same_as<bool>;
  { A::equal(a, b) } -> std::same_as<bool>;
};

// IEEE-754 binary64, every operation rounded to nearest.  The library is
// compiled in ISO mode (no floating-point contraction) for a target without
// fused multiply-add, so a product followed by a sum is two roundings, as
// the kernels' step lists require.
struct Float64Arithmetic {
  using Value = double;
  static constexpr double zero() noexcept { return 0.0; }
  static constexpr double one() noexcept { return 1.0; }
  static constexpr double add(double a, double b) noexcept { return a + b; }
  static constexpr double sub(double a, double b) noexcept { return a - b; }
  static constexpr double mul(double a, double b) noexcept { return a * b; }
  static constexpr double div(double a, double b) noexcept { return a / b; }
  // Index values stay far below 2^53, so the conversion is exact.
  static constexpr double mulInt(double a, std::int64_t k) noexcept { return a * static_cast<double>(k); }
  static constexpr double divInt(double a, std::int64_t k) noexcept { return a / static_cast<double>(k); }
  static constexpr double half(double a) noexcept { return a * 0.5; }
  static constexpr double twice(double a) noexcept { return 2.0 * a; }
  // -0.0 is zero and not negative.
  static constexpr bool isNegative(double a) noexcept { return a < 0.0; }
  static constexpr bool isZero(double a) noexcept { return a == 0.0; }
  static constexpr bool equal(double a, double b) noexcept { return a == b; }
};
static_assert(SeriesArithmetic<Float64Arithmetic>);

}  // namespace kovrix

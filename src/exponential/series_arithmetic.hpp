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
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "errors.hpp"

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

// ---- term counts -----------------------------------------------------------
//
// A kernel's count is either a run-time int64 or a count fixed at compile
// time, Terms<N>.  Both run the same step function for n = 1 .. count - 1;
// with Terms<N> the steps are laid out one after another, so every index
// (and every integer divisor made from it) is a constant the compiler can
// fold: a division by a constant becomes a multiplication, which for the
// integer representations is the bulk of a step's cost.

template <std::int64_t N>
using Terms = std::integral_constant<std::int64_t, N>;

template <class C>
struct IsFixedTermCount : std::false_type {};
template <std::int64_t N>
struct IsFixedTermCount<Terms<N>> : std::true_type {};

template <class C>
concept TermCount = std::integral<C> || IsFixedTermCount<C>::value;

// step(n) for n = 1, 2, ..., count - 1, in order (nothing for count <= 1).
// With a run-time count n is an int64; with Terms<N> it is Terms<n>, a
// compile-time index.
template <std::integral C, class Step>
inline void forEachStep(C count, Step&& step) {
  for (std::int64_t n = 1; n < count; ++n) step(n);
}
template <std::int64_t N, class Step>
[[gnu::always_inline]] inline void forEachStep(Terms<N>, Step&& step) {
  if constexpr (N > 1) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
      (step(Terms<static_cast<std::int64_t>(I) + 1>{}), ...);
    }(std::make_index_sequence<static_cast<std::size_t>(N - 1)>{});
  }
}

// An integer made from a step index by `Formula` (a captureless lambda over
// int64): evaluated at run time for a run-time index, at compile time for a
// Terms<n> index.
template <class Formula>
inline std::int64_t stepInteger(std::int64_t n, Formula formula) {
  return formula(n);
}
template <std::int64_t K, class Formula>
constexpr std::int64_t stepInteger(Terms<K>, Formula) {
  constexpr std::int64_t value = Formula{}(K);
  return value;
}

}  // namespace kovrix

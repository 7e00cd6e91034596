// The Q32.32 series arithmetic: the quotient (one hardware division) against
// the compiler's general 128-bit division, and each shortcut against the
// Q32.32 operation it stands for (a * (k·one), a / (k·one), (one/2) * a and
// (2·one) * a), with the same failures.
#include "exponential/fixed_series_arithmetic.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/series.hpp"

namespace kovrix {
namespace {

using namespace kovrix::testsupport;

// The outcome of a step: its value, or the kind and text of its failure.
struct Outcome {
  std::optional<std::int64_t> value;
  ErrorKind kind{};
  std::string message;
  bool operator==(const Outcome&) const = default;
};

template <class F>
Outcome run(F&& f) {
  try {
    return Outcome{f().raw, {}, {}};
  } catch (const Error& e) {
    return Outcome{std::nullopt, e.kind(), e.what()};
  }
}

std::int64_t edgeRaw() {
  static constexpr std::int64_t edges[] = {0, 1, -1, 2, -2, INT64_MIN, INT64_MAX, INT64_MIN + 1,
                                           std::int64_t{1} << 32, -(std::int64_t{1} << 32),
                                           (std::int64_t{1} << 31), (std::int64_t{1} << 31) - 1,
                                           -(std::int64_t{1} << 31), (std::int64_t{1} << 62)};
  return (below(3) == 0) ? edges[below(std::size(edges))] : anyRaw();
}

// trunc(a * 2^32 / b) by the general 128-bit division, failing as the Q32.32
// quotient is defined to.
Fixed generalQuotient(Fixed a, Fixed b) {
  if (b.raw == 0) raiseDivByZero("Division by zero in BigUInt.");
  const Int128 q = (static_cast<Int128>(a.raw) * Q32One) / b.raw;
  if (q < INT64_MIN || q > INT64_MAX) raiseOverflow("BigInt exceeds int64 range");
  return Fixed{static_cast<std::int64_t>(q)};
}

TEST(FixedSeriesArithmetic, QuotientMatchesTheGeneralDivision) {
  for (int trial = 0; trial < 200000; ++trial) {
    const Fixed a{edgeRaw()}, b{edgeRaw()};
    ASSERT_EQ(run([&] { return FixedArithmetic::div(a, b); }), run([&] { return generalQuotient(a, b); })) << a.raw << " / " << b.raw;
  }
  // Around the boundary hi = |b|, where the quotient reaches 2^64, and
  // around the int64 limits of the quotient.
  for (std::int64_t b : {std::int64_t{1}, std::int64_t{2}, std::int64_t{3}, std::int64_t{1} << 31,
                         (std::int64_t{1} << 31) + 1, INT64_MAX}) {
    for (std::int64_t d = -3; d <= 3; ++d) {
      for (std::int64_t sa : {1, -1}) {
        for (std::int64_t sb : {1, -1}) {
          const std::int64_t base = b <= (INT64_MAX >> 32) ? (b << 32) : INT64_MAX;
          const Fixed fa{sa * (base / 2 + d)}, fb{sb * b};
          ASSERT_EQ(run([&] { return FixedArithmetic::div(fa, fb); }), run([&] { return generalQuotient(fa, fb); })) << fa.raw << " / " << fb.raw;
        }
      }
    }
  }
}

TEST(FixedSeriesArithmetic, IntegerOperandShortcuts) {
  using A = FixedArithmetic;
  for (int trial = 0; trial < 100000; ++trial) {
    const Fixed a{edgeRaw()};
    std::int64_t k = (trial % 2) ? between(-40, 40) : anyRaw();
    if (trial % 7 == 0) k = (std::int64_t{1} << 31) - static_cast<std::int64_t>(below(3));
    ASSERT_EQ(run([&] { return A::mulInt(a, k); }), run([&] { return a * toFixed(k); })) << a.raw << " * " << k;
    ASSERT_EQ(run([&] { return A::divInt(a, k); }), run([&] { return a / toFixed(k); })) << a.raw << " / " << k;
    ASSERT_EQ(run([&] { return A::half(a); }), run([&] { return (Fixed{A::one().raw} / toFixed(std::int64_t{2})) * a; }))
        << a.raw;
    ASSERT_EQ(run([&] { return A::twice(a); }), run([&] { return toFixed(std::int64_t{2}) * a; })) << a.raw;
  }
  EXPECT_EQ(run([] { return A::divInt(Fixed{INT64_MIN}, -1); }), run([] { return Fixed{INT64_MIN} / toFixed(std::int64_t{-1}); }));
}

}  // namespace
}  // namespace kovrix

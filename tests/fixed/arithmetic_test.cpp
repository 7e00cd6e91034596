// The overflow-testing Q32.32 operations of the kernels: exact floor product
// and truncating quotient against GMP, the overflow and division failures with
// their texts, and the checked sum, difference and negation.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "fixed/arithmetic.hpp"
#include "support/mpz.hpp"
#include "support/fixed.hpp"

namespace {

using kovrix::Fixed;
using kovrix::testsupport::anyInt64;
using kovrix::testsupport::Mpz;

constexpr std::int64_t one = std::int64_t{1} << 32;

struct Outcome {
  bool ok;
  std::int64_t value;
  kovrix::ErrorKind kind;
  std::string message;
};

template <class F>
Outcome run(F&& f) {
  try {
    return {true, f().raw, kovrix::ErrorKind::valueError, ""};
  } catch (const kovrix::Error& e) {
    return {false, 0, e.kind(), e.what()};
  }
}

void expectExactOrOverflow(const Outcome& got, const Mpz& exact, const std::string& what) {
  if (kovrix::testsupport::fitsInt64(exact)) {
    ASSERT_TRUE(got.ok) << what << " failed with " << got.message;
    ASSERT_EQ(got.value, kovrix::testsupport::toInt64(exact)) << what;
  } else {
    ASSERT_FALSE(got.ok) << what << " should overflow";
    ASSERT_EQ(got.kind, kovrix::ErrorKind::overflowDefect) << what;
    ASSERT_EQ(got.message, "BigInt exceeds int64 range") << what;
  }
}

TEST(FixedArithmeticOracle, MulIsTheFloorOfTheExactProduct) {
  for (int n = 0; n < 300000; ++n) {
    const std::int64_t a = anyInt64(), b = anyInt64();
    const Mpz exact = kovrix::testsupport::fdiv2exp(Mpz(a) * Mpz(b), 32);
    expectExactOrOverflow(run([&] { return Fixed{a} * Fixed{b}; }), exact,
                          "mul(" + std::to_string(a) + ", " + std::to_string(b) + ")");
  }
}

TEST(FixedArithmeticOracle, DivIsTheTruncatedExactQuotient) {
  for (int n = 0; n < 300000; ++n) {
    const std::int64_t a = anyInt64(), b = anyInt64();
    const std::string what = "div(" + std::to_string(a) + ", " + std::to_string(b) + ")";
    const Outcome got = run([&] { return Fixed{a} / Fixed{b}; });
    if (b == 0) {
      ASSERT_FALSE(got.ok) << what;
      ASSERT_EQ(got.kind, kovrix::ErrorKind::divByZeroDefect) << what;
      ASSERT_EQ(got.message, "Division by zero in BigUInt.") << what;
      continue;
    }
    expectExactOrOverflow(got, kovrix::testsupport::tdiv(kovrix::testsupport::mul2exp(Mpz(a), 32), Mpz(b)), what);
  }
}

TEST(FixedArithmeticOracle, CheckedSumDifferenceNegation) {
  for (int n = 0; n < 300000; ++n) {
    const std::int64_t a = anyInt64(), b = anyInt64();
    const std::string args = "(" + std::to_string(a) + ", " + std::to_string(b) + ")";
    const Mpz sum = Mpz(a) + Mpz(b), diff = Mpz(a) - Mpz(b), neg = Mpz(0) - Mpz(a);
    const Outcome s = run([&] { return Fixed{a} + Fixed{b}; });
    const Outcome d = run([&] { return Fixed{a} - Fixed{b}; });
    const Outcome g = run([&] { return -Fixed{a}; });
    if (kovrix::testsupport::fitsInt64(sum)) ASSERT_EQ(s.value, kovrix::testsupport::toInt64(sum)) << "add" << args;
    else ASSERT_EQ(s.message, "Fixed addition overflow") << "add" << args;
    if (kovrix::testsupport::fitsInt64(diff)) ASSERT_EQ(d.value, kovrix::testsupport::toInt64(diff)) << "sub" << args;
    else ASSERT_EQ(d.message, "Fixed subtraction overflow") << "sub" << args;
    if (kovrix::testsupport::fitsInt64(neg)) ASSERT_EQ(g.value, kovrix::testsupport::toInt64(neg)) << "neg" << args;
    else ASSERT_EQ(g.message, "Fixed negation overflow") << "neg" << args;
    ASSERT_EQ(kovrix::cmp(Fixed{a}, Fixed{b}), (a > b) - (a < b)) << "cmp" << args;
  }
}

TEST(FixedArithmeticEdges, ListedCases) {
  EXPECT_EQ((Fixed{-1} * Fixed{1}).raw, -1);  // floor of -2^-64, not 0
  EXPECT_EQ((Fixed{1} * Fixed{1}).raw, 0);
  EXPECT_EQ((Fixed{one} * Fixed{one}).raw, one);
  EXPECT_EQ((Fixed{3 * one} / Fixed{2 * one}).raw, 3 * one / 2);
  EXPECT_EQ((Fixed{-1} / Fixed{2 * one}).raw, 0);  // truncation toward zero
  const Outcome z = run([] { return Fixed{std::int64_t{1} << 31} / Fixed{0}; });
  EXPECT_FALSE(z.ok);
  EXPECT_EQ(z.kind, kovrix::ErrorKind::divByZeroDefect);
  EXPECT_EQ(run([] { return Fixed{std::int64_t{1} << 62} * Fixed{std::int64_t{1} << 62}; }).message,
            "BigInt exceeds int64 range");
  EXPECT_EQ(run([] { return Fixed{INT64_MIN} / Fixed{-1}; }).message, "BigInt exceeds int64 range");
  EXPECT_EQ(run([] { return Fixed{INT64_MIN} / Fixed{-one}; }).message, "BigInt exceeds int64 range");
  EXPECT_EQ((Fixed{INT64_MIN} / Fixed{one}).raw, INT64_MIN);
  EXPECT_EQ(run([] { return Fixed{INT64_MAX} + Fixed{1}; }).message, "Fixed addition overflow");
  EXPECT_EQ(run([] { return Fixed{INT64_MIN} - Fixed{1}; }).message, "Fixed subtraction overflow");
  EXPECT_EQ(run([] { return -Fixed{INT64_MIN}; }).message, "Fixed negation overflow");
  EXPECT_EQ((-Fixed{INT64_MAX}).raw, INT64_MIN + 1);
  EXPECT_EQ(kovrix::cmp(Fixed{INT64_MIN}, Fixed{INT64_MAX}), -1);
  EXPECT_EQ(kovrix::cmp(Fixed{4}, Fixed{4}), 0);
}

TEST(FixedArithmeticEdges, MulByFractionIsTheFloorProduct) {
  for (int n = 0; n < 100000; ++n) {
    const std::int64_t c = static_cast<std::int64_t>(kovrix::testsupport::bits64() >> 32);  // 0 <= c < 1.0
    const std::int64_t v = anyInt64();
    const Mpz exact = kovrix::testsupport::fdiv2exp(Mpz(c) * Mpz(v), 32);
    ASSERT_EQ(kovrix::mulByFraction(Fixed{c}, Fixed{v}).raw, kovrix::testsupport::toInt64(exact))
        << "mulByFraction(" << c << ", " << v << ")";
  }
}

}  // namespace

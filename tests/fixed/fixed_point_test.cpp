// Fixed conversions: toFixed from float64 against an exact rational oracle
// (GMP mpq), toFixed from int64, the constants, and the failure texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "fixed/fixed_point.hpp"
#include "support/mpz.hpp"
#include "support/fixed.hpp"

namespace {

using kovrix::Fixed;
using kovrix::toFixed;
using kovrix::testsupport::below;
using kovrix::testsupport::bits64;

// Runs f and returns the message of the OverflowDefect it raises ("" when it
// does not raise).
template <class F>
std::string overflowMessage(F&& f) {
  try {
    f();
  } catch (const kovrix::OverflowDefect& e) {
    return e.what();
  }
  return "";
}

// trunc(x * 2^32) exactly, from the rational value of x; false when it is
// outside int64.
bool refToFixed(double x, std::int64_t* out) {
  mpq_t q;
  mpq_init(q);
  mpq_set_d(q, x);
  mpq_mul_2exp(q, q, 32);
  kovrix::testsupport::Mpz z;
  mpz_tdiv_q(z.get(), mpq_numref(q), mpq_denref(q));
  mpq_clear(q);
  if (!kovrix::testsupport::fitsInt64(z)) return false;
  *out = kovrix::testsupport::toInt64(z);
  return true;
}

double randomDouble() {
  switch (below(4)) {
    case 0: {  // any finite bit pattern
      double d;
      std::uint64_t b;
      do {
        b = bits64();
        std::memcpy(&d, &b, sizeof d);
      } while (!std::isfinite(d));
      return d;
    }
    case 1: {  // around the int64 limits of x * 2^32
      const double edge = std::ldexp(1.0, 31);
      double d = std::nextafter(edge, below(2) ? 0.0 : 1e300);
      for (int k = static_cast<int>(below(5)); k > 0; --k) d = std::nextafter(d, below(2) ? 0.0 : 1e300);
      return below(2) ? d : -d;
    }
    default:  // moderate magnitudes with fractions
      return std::ldexp(static_cast<double>(static_cast<std::int64_t>(bits64())), -static_cast<int>(below(100)));
  }
}

TEST(ToFixedFromDouble, AgreesWithExactTruncation) {
  for (int n = 0; n < 200000; ++n) {
    const double x = randomDouble();
    std::int64_t expected = 0;
    if (refToFixed(x, &expected)) {
      ASSERT_EQ(toFixed(x).raw, expected) << "toFixed(" << x << ") [" << std::hexfloat << x << "]";
    } else {
      ASSERT_EQ(overflowMessage([&] { toFixed(x); }), "BigInt exceeds int64 range")
          << "toFixed(" << std::hexfloat << x << ") out of range";
    }
  }
}

TEST(ToFixedFromDouble, SpecialValues) {
  EXPECT_EQ(toFixed(0.0).raw, 0);
  EXPECT_EQ(toFixed(-0.0).raw, 0);
  EXPECT_EQ(toFixed(1.0).raw, std::int64_t{1} << 32);
  EXPECT_EQ(toFixed(-0.5).raw, -(std::int64_t{1} << 31));
  EXPECT_EQ(toFixed(std::ldexp(1.0, -33)).raw, 0);                 // 0.5 raw unit truncates
  EXPECT_EQ(toFixed(-std::ldexp(1.0, -33)).raw, 0);
  EXPECT_EQ(toFixed(std::numeric_limits<double>::denorm_min()).raw, 0);
  EXPECT_EQ(toFixed(2.5).raw, 10737418240);
  EXPECT_EQ(toFixed(-2147483648.0).raw, INT64_MIN);  // -2^31 * 2^32 = -2^63 exactly fits
  EXPECT_EQ(toFixed(std::nextafter(2147483648.0, 0.0)).raw, INT64_MAX - 1023);
  EXPECT_EQ(toFixed(std::nextafter(-2147483648.0, 0.0)).raw, INT64_MIN + 1024);
  const char* nonFinite = "toFixed: non-finite float (Inf/NaN) has no integer value";
  EXPECT_EQ(overflowMessage([] { toFixed(std::numeric_limits<double>::quiet_NaN()); }), nonFinite);
  EXPECT_EQ(overflowMessage([] { toFixed(std::numeric_limits<double>::infinity()); }), nonFinite);
  EXPECT_EQ(overflowMessage([] { toFixed(-std::numeric_limits<double>::infinity()); }), nonFinite);
  const char* range = "BigInt exceeds int64 range";
  EXPECT_EQ(overflowMessage([] { toFixed(2147483648.0); }), range);
  EXPECT_EQ(overflowMessage([] { toFixed(std::nextafter(-2147483648.0, -1e300)); }), range);
  // Finite, but x * 2^32 overflows float64: still a range failure, not "non-finite".
  EXPECT_EQ(overflowMessage([] { toFixed(std::numeric_limits<double>::max()); }), range);
  EXPECT_EQ(overflowMessage([] { toFixed(-1e300); }), range);
}

TEST(ToFixedFromInt, RangeAndValues) {
  EXPECT_EQ(toFixed(std::int64_t{0}).raw, 0);
  EXPECT_EQ(toFixed(std::int64_t{1}).raw, std::int64_t{1} << 32);
  EXPECT_EQ(toFixed(std::int64_t{-3}).raw, -3 * (std::int64_t{1} << 32));
  EXPECT_EQ(toFixed((std::int64_t{1} << 31) - 1).raw, static_cast<std::int64_t>(0x7FFFFFFF00000000ULL));
  EXPECT_EQ(toFixed(-(std::int64_t{1} << 31)).raw, INT64_MIN);
  const char* range = "BigInt exceeds int64 range";
  EXPECT_EQ(overflowMessage([] { toFixed(std::int64_t{1} << 31); }), range);
  EXPECT_EQ(overflowMessage([] { toFixed(-(std::int64_t{1} << 31) - 1); }), range);
  EXPECT_EQ(overflowMessage([] { toFixed(INT64_MAX); }), range);
  EXPECT_EQ(overflowMessage([] { toFixed(INT64_MIN); }), range);
  for (int n = 0; n < 100000; ++n) {
    const std::int64_t v = kovrix::testsupport::anyInt64();
    const kovrix::testsupport::Mpz exact = kovrix::testsupport::mul2exp(kovrix::testsupport::Mpz(v), 32);
    if (kovrix::testsupport::fitsInt64(exact))
      ASSERT_EQ(toFixed(v).raw, kovrix::testsupport::toInt64(exact)) << "toFixed(" << v << ")";
    else
      ASSERT_EQ(overflowMessage([&] { toFixed(v); }), range) << "toFixed(" << v << ")";
  }
}

TEST(FixedConstants, Values) {
  EXPECT_EQ(kovrix::Q32One, std::int64_t{1} << 32);
  EXPECT_EQ(kovrix::Q32Frac, 32);
  EXPECT_EQ(static_cast<std::uint64_t>(kovrix::Q32Mask), 0xFFFFFFFF00000000ULL);
  EXPECT_EQ(kovrix::MaxFracBits, 63);
  EXPECT_EQ(kovrix::twoPiQ32, 0x6487ED511);
  EXPECT_EQ(kovrix::cordicMaxQ, 0x4000000000000000);
  EXPECT_EQ(kovrix::hyperbolicBudgetQ32, 0x119999999);
  // twoPiQ32 is 2*pi*2^32 rounded to nearest; the budget bound is 1.1 truncated.
  EXPECT_EQ(kovrix::twoPiQ32, std::llround(2 * 3.141592653589793 * 4294967296.0));
  EXPECT_EQ(kovrix::hyperbolicBudgetQ32, toFixed(1.1).raw);
  EXPECT_EQ(kovrix::piFixed().raw, 13493037704);
  EXPECT_EQ(kovrix::getPiFixed().raw, 13493037704);
  EXPECT_EQ(kovrix::piFixed(), toFixed(M_PI));
  EXPECT_EQ(kovrix::eFixed().raw, 11674931554);
  EXPECT_EQ(kovrix::eFixed(), toFixed(M_E));
  EXPECT_EQ(kovrix::halfPiQ32, 6746518852);
  EXPECT_EQ(kovrix::threeHalfPiQ32, 20239556556);
  EXPECT_EQ(kovrix::kernelTwoPiQ32, kovrix::twoPiQ32 - 1);
}

TEST(FixedType, ValueSemantics) {
  const Fixed a{5}, b{7};
  EXPECT_TRUE(a == Fixed{5});
  EXPECT_TRUE(a < b);
  EXPECT_TRUE(b > a);
  EXPECT_TRUE(a != b);
}

}  // namespace

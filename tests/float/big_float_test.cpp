// BigFloat normalisation, construction and conversion to float64: the stated
// values, and toFloat64 against MPFR's rounding to the nearest double.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "float/formatting.hpp"
#include "support/big_float_mpfr.hpp"

namespace kovrix::testsupport {
namespace {

BigFloat bf(bool negative, std::int64_t exponent, std::uint64_t mantissa) {
  return BigFloat{negative, exponent, initBigUInt(mantissa)};
}

TEST(BigFloat, NormalisationStatedValues) {
  BigFloat x = bf(false, 0, 0b11111);
  normalizeRounded(x, 4, RoundingMode::nearest, false);
  EXPECT_EQ(x, bf(false, 2, 0b1000));  // 32: the bump carried out of the top
  x = bf(false, 0, 0b1000);
  dropMagnitude(x, 4);
  EXPECT_EQ(x, bf(false, -1, 0b1111));  // 7.5
  x = bf(false, 0, 0b1011);
  normalizeRounded(x, 4, RoundingMode::towardPositive, true);
  EXPECT_EQ(x, bf(false, 0, 0b1100));  // sticky alone moves a positive value up
  x = bf(true, 0, 0b10111);
  normalizeRounded(x, 4, RoundingMode::towardZero, false);
  EXPECT_EQ(x, bf(true, 1, 0b1011));
  x = bf(true, 0, 0b10111);
  normalizeRounded(x, 4, RoundingMode::towardNegative, false);
  EXPECT_EQ(x, bf(true, 1, 0b1100));
  x = bf(true, 5, 0);
  normalizeRounded(x, 4, RoundingMode::nearest, false);
  EXPECT_EQ(x.exponent, 0);
  x = bf(false, 3, 0b101);
  normalize(x, 6);
  EXPECT_EQ(x, bf(false, 0, 0b101000));
}

// A double at 53 to 64 bits (the one-limb route) equals the double at 256
// bits normalised down: the same value, exactly, over every kind of double.
TEST(BigFloat, OneLimbConstructionMatchesTheWideOne) {
  KOVRIX_SEED_TRACE();
  for (int trial = 0; trial < 4000; ++trial) {
    const double f = std::bit_cast<double>(bits64() & ~(std::uint64_t{0x7FF} << 52 & -(trial % 7 == 0)));
    if (!std::isfinite(f)) continue;
    const std::int64_t p = between(53, 64);
    BigFloat wide = initBigFloat(256, f);
    normalize(wide, p);
    ASSERT_EQ(initBigFloat(p, f), wide) << f << " at " << p;
  }
}

TEST(BigFloat, ConstructionStatedValues) {
  EXPECT_EQ(initBigFloat(256, -0.0), BigFloat{});
  EXPECT_EQ(initBigFloat(256, 1.0), (BigFloat{false, -255, shl(initBigUInt(1), 255)}));
  EXPECT_EQ(initBigFloat(256, 3.0), (BigFloat{false, -254, shl(initBigUInt(3), 254)}));
  EXPECT_EQ(initBigFloat(256, 0x1p-1074), (BigFloat{false, -1074 - 255, shl(initBigUInt(1), 255)}));
  EXPECT_EQ(initBigFloat(4, -15.5), bf(true, 0, 15));  // below 53 bits: truncated
  EXPECT_THROW(initBigFloat(256, std::nan("")), ValueError);
  EXPECT_THROW(initBigFloat(256, -HUGE_VAL), ValueError);
  EXPECT_EQ(fromBigInt(256, initBigInt(INT64_MIN)), (BigFloat{true, -192, shl(initBigUInt(1), 255)}));
  // 300 bits: the low 44 bits are dropped.
  const BigUInt wide = sub(shl(initBigUInt(1), 300), initBigUInt(1));
  EXPECT_EQ(fromBigInt(256, initBigInt(wide, false)), (BigFloat{false, 44, sub(shl(initBigUInt(1), 256), initBigUInt(1))}));
}

TEST(BigFloat, ToFloat64StatedValues) {
  const BigFloat one = initBigFloat(256, 1.0);
  auto plus = [&](std::int64_t e) {  // 1 + 2^e at 256 bits (e >= -255)
    BigFloat r = one;
    r.mantissa = add(r.mantissa, shl(initBigUInt(1), e + 255));
    return r;
  };
  EXPECT_EQ(std::bit_cast<std::uint64_t>(toFloat64(BigFloat{})), 0u);
  EXPECT_EQ(toFloat64(plus(-53)), 1.0);
  BigFloat above = plus(-53);
  above.mantissa = add(above.mantissa, shl(initBigUInt(1), 55));  // + 2^-200
  EXPECT_EQ(toFloat64(above), 1.0 + 0x1p-52);
  EXPECT_EQ(toFloat64(bf(false, -1075, 1)), 0.0);
  EXPECT_EQ(toFloat64(bf(false, -1076, 3)), 0x1p-1074);
  EXPECT_EQ(std::signbit(toFloat64(bf(true, -2000, 1))), true);
  EXPECT_EQ(toFloat64(bf(false, 1024, 1)), HUGE_VAL);
  BigFloat nearTop{false, 1024 - 256, sub(shl(initBigUInt(1), 256), initBigUInt(1))};
  EXPECT_EQ(toFloat64(nearTop), HUGE_VAL);
  nearTop.negative = true;
  EXPECT_EQ(toFloat64(nearTop), -HUGE_VAL);
  EXPECT_EQ(toFloat64(initBigFloat(256, 0x1p-1074)), 0x1p-1074);
}

TEST(BigFloat, ToFloat64AgreesWithMpfr) {
  KOVRIX_SEED_TRACE();
  for (int trial = 0; trial < 20000; ++trial) {
    // Exponents across normal, subnormal, underflow and overflow; short and
    // long mantissas; ties from mantissas of exactly 54 significant bits.
    const std::int64_t bits = below(3) == 0 ? 54 : 1 + static_cast<std::int64_t>(below(300));
    const std::int64_t top = static_cast<std::int64_t>(below(2200)) - 1100;
    BigFloat x = randomBigFloat(bits, 0, 0);
    x.exponent = top - bits + 1;
    if (below(4) == 0) x.mantissa = bitOr(shl(shr(x.mantissa, 2), 2), initBigUInt(2));  // ...10: a tie at 54 bits
    Mpfr m;
    toMpfr(m, x);
    const double want = mpfr_get_d(m, MPFR_RNDN);
    const double got = toFloat64(x);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(want)) << describe(x);
  }
}

}  // namespace
}  // namespace kovrix::testsupport

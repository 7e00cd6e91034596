// Signed BigInt add, sub, shifts: GMP agreement, signs of zero, aliasing.
#include "support/big.hpp"
#include "arithmetic/signed_big.hpp"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

BigInt i64(std::int64_t v) { return initBigInt(v); }

TEST(SignedAddSub, AgreeWithGmp) {
  KOVRIX_SEED_TRACE();
  Mpz za, zb, zr;
  for (int i = 0; i < 2000; ++i) {
    BigInt a = randomBigInt(randomLength(300));
    BigInt b = below(5) == 0 ? -a : below(5) == 0 ? a : randomBigInt(randomLength(300));
    toMpz(za, a);
    toMpz(zb, b);
    mpz_add(zr, za, zb);
    ASSERT_TRUE(sameAs(add(a, b), zr)) << hex(a) << " + " << hex(b);
    mpz_sub(zr, za, zb);
    ASSERT_TRUE(sameAs(sub(a, b), zr)) << hex(a) << " - " << hex(b);
    mpz_mul(zr, za, zb);
    ASSERT_TRUE(sameAs(mul(a, b), zr)) << hex(a) << " * " << hex(b);
  }
}

TEST(SignedAddSub, ZeroResultsHaveNoSign) {
  BigInt a = randomBigInt(5);
  BigInt d = sub(a, a);
  EXPECT_FALSE(d.negative);
  EXPECT_TRUE(d.magnitude.isZero());
  BigInt s = add(i64(5), i64(-5));
  EXPECT_FALSE(s.negative);
  EXPECT_TRUE(s.magnitude.isZero());
  EXPECT_TRUE(isNormalised(sub(BigInt{}, BigInt{})));
  EXPECT_TRUE(isNormalised(-BigInt{}));
  EXPECT_EQ(sub(i64(0), i64(3)), i64(-3));
  EXPECT_EQ(add(i64(-2), i64(-3)), i64(-5));
  EXPECT_EQ(add(i64(-2), i64(3)), i64(1));
  EXPECT_EQ(add(i64(2), i64(-3)), i64(-1));
}

TEST(SignedAddSub, SameValueBothSides) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 100; ++i) {
    BigInt a = randomBigInt(randomLength(50));
    ASSERT_EQ(add(a, a), shl(a, 1));
    ASSERT_TRUE(sub(a, a).magnitude.isZero());
  }
}

TEST(SignedShr, FloorTowardMinusInfinity) {
  for (std::int64_t n : {1, 64, 1000}) EXPECT_EQ(shr(i64(-1), n), i64(-1)) << n;
  EXPECT_EQ(shr(i64(-1), 0), i64(-1));
  EXPECT_EQ(shr(i64(-4), 1), i64(-2));
  EXPECT_EQ(shr(i64(-5), 1), i64(-3));
  EXPECT_EQ(shr(i64(5), 1), i64(2));
  BigInt p64{false, initBigUInt({0, 1})};
  EXPECT_EQ(shr(p64, 64), i64(1));
  EXPECT_EQ(shr(p64, 65), i64(0));
  EXPECT_EQ(shr(-p64, 64), i64(-1));
  BigInt p64p1{true, initBigUInt({1, 1})};
  EXPECT_EQ(shr(p64p1, 64), i64(-2));
  EXPECT_EQ(shl(i64(-3), 2), i64(-12));
  EXPECT_EQ(shl(BigInt{}, 1000), BigInt{});
}

TEST(SignedShifts, AgreeWithGmp) {
  KOVRIX_SEED_TRACE();
  Mpz zx, zr;
  for (int i = 0; i < 2000; ++i) {
    BigInt x = randomBigInt(randomLength(100));
    std::int64_t n = below(2) ? below(64) : below(64 * 110);
    toMpz(zx, x);
    mpz_fdiv_q_2exp(zr, zx, n);
    ASSERT_TRUE(sameAs(shr(x, n), zr)) << hex(x) << " >> " << n;
    mpz_mul_2exp(zr, zx, n);
    ASSERT_TRUE(sameAs(shl(x, n), zr)) << hex(x) << " << " << n;
  }
}

TEST(NegAbs, Signs) {
  EXPECT_EQ(-i64(5), i64(-5));
  EXPECT_EQ(abs(i64(-5)), i64(5));
  EXPECT_FALSE((-BigInt{}).negative);
  EXPECT_FALSE(abs(i64(-5)).negative);
}

}  // namespace
}  // namespace kovrix

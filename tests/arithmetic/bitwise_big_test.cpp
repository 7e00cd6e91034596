// Shifts, AND and OR of BigUInts against GMP, and the shift kernels.
#include "support/big.hpp"
#include "arithmetic/bitwise_big.hpp"
#include "arithmetic/comparison_big.hpp"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

TEST(Shifts, AgreeWithGmp) {
  KOVRIX_SEED_TRACE();
  Mpz zx, zr;
  for (int i = 0; i < 2000; ++i) {
    BigUInt x = randomBig(randomLength(300));
    std::int64_t n = below(3) == 0 ? 64 * below(10) : below(3) == 0 ? below(64) : below(64 * 320);
    toMpz(zx, x);
    mpz_mul_2exp(zr, zx, n);
    ASSERT_TRUE(sameAs(shl(x, n), zr)) << hex(x) << " << " << n;
    mpz_fdiv_q_2exp(zr, zx, n);
    ASSERT_TRUE(sameAs(shr(x, n), zr)) << hex(x) << " >> " << n;
    mpz_fdiv_r_2exp(zr, zx, n);
    ASSERT_EQ(anyLowBitSet(x, n), mpz_sgn(zr.v) != 0) << hex(x) << " low " << n;
  }
}

TEST(Shifts, EdgeValues) {
  BigUInt one = initBigUInt(std::uint64_t{1});
  EXPECT_TRUE(limbsEqual(shl(one, 64), {0, 1}));
  EXPECT_EQ(shl(one, 0), one);
  EXPECT_TRUE(shl(BigUInt{}, 1000).isZero());
  EXPECT_TRUE(limbsEqual(shr(initBigUInt({0, 1}), 64), {1}));
  EXPECT_TRUE(shr(initBigUInt({0, 1}), 65).isZero());
  EXPECT_TRUE(shr(one, 1).isZero());
  EXPECT_TRUE(shr(initBigUInt({5, 6}), 1000).isZero());
  EXPECT_THROW(shl(one, -1), RangeDefect);
  EXPECT_THROW(shr(one, -1), RangeDefect);
}

TEST(BitAndOr, AgreeWithGmp) {
  KOVRIX_SEED_TRACE();
  Mpz za, zb, zr;
  for (int i = 0; i < 2000; ++i) {
    BigUInt a = randomBig(randomLength(300)), b = randomBig(randomLength(300));
    toMpz(za, a);
    toMpz(zb, b);
    mpz_and(zr, za, zb);
    ASSERT_TRUE(sameAs(bitAnd(a, b), zr)) << hex(a) << " & " << hex(b);
    mpz_ior(zr, za, zb);
    ASSERT_TRUE(sameAs(bitOr(a, b), zr)) << hex(a) << " | " << hex(b);
    ASSERT_EQ(bitAnd(a, a), a);
    ASSERT_EQ(bitOr(a, a), a);
  }
}

TEST(BitAndOr, Lengths) {
  BigUInt one = initBigUInt({7}), three = initBigUInt({5, 9, 11});
  EXPECT_LE(bitAnd(one, three).size(), 1u);
  EXPECT_TRUE(limbsEqual(bitAnd(one, three), {5}));
  EXPECT_TRUE(limbsEqual(bitOr(one, three), {7, 9, 11}));
  EXPECT_TRUE(bitAnd(initBigUInt({1, 2}), initBigUInt({2, 1})).isZero());
}

TEST(ShiftKernels, InPlaceAndCanaries) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 500; ++i) {
    auto x = randomLimbs(1 + below(20));
    int bits = 1 + static_cast<int>(below(63));
    Guarded l(x.size()), r(x.size());
    Limb outL = shlBitsN(l.span(), x, bits);
    Limb outR = shrBitsN(r.span(), x, bits);
    ASSERT_TRUE(l.intact() && r.intact());
    Mpz zx, zr;
    toMpz(zx, initBigUInt(x));
    mpz_mul_2exp(zr, zx, bits);
    std::vector<Limb> full(l.span().begin(), l.span().end());
    full.push_back(outL);
    ASSERT_TRUE(sameAs(initBigUInt(full), zr));
    mpz_fdiv_q_2exp(zr, zx, bits);
    ASSERT_TRUE(sameAs(initBigUInt(std::vector<Limb>(r.span().begin(), r.span().end())), zr));
    ASSERT_EQ(outR, x[0] << (64 - bits));
    auto a = x, b = x;
    ASSERT_EQ(shlBitsN(a, a, bits), outL);
    ASSERT_EQ(shrBitsN(b, b, bits), outR);
    ASSERT_TRUE(std::equal(a.begin(), a.end(), l.span().begin()));
    ASSERT_TRUE(std::equal(b.begin(), b.end(), r.span().begin()));
  }
}

}  // namespace
}  // namespace kovrix

// cmp of BigUInts and BigInts against GMP, and the length-first rule.
#include "support/big.hpp"
#include "arithmetic/comparison_big.hpp"
#include "arithmetic/signed_big.hpp"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

int sign(int c) { return (c > 0) - (c < 0); }

TEST(CmpBigUInt, AgreesWithGmp) {
  KOVRIX_SEED_TRACE();
  Mpz za, zb;
  for (int i = 0; i < 3000; ++i) {
    std::size_t n = randomLength(300);
    BigUInt a = randomBig(n);
    // Often equal length, often equal value, sometimes one limb apart.
    BigUInt b = below(3) == 0 ? a : randomBig(below(2) ? n : randomLength(300));
    if (below(4) == 0 && n > 0) {
      std::vector<Limb> l(a.limbs().begin(), a.limbs().end());
      l[below(n)] ^= Limb{1} << below(64);
      b = initBigUInt(l);
    }
    toMpz(za, a);
    toMpz(zb, b);
    ASSERT_EQ(cmp(a, b), sign(mpz_cmp(za, zb))) << hex(a) << " vs " << hex(b);
    ASSERT_EQ(cmp(b, a), -cmp(a, b));
    ASSERT_EQ(a == b, mpz_cmp(za, zb) == 0);
    ASSERT_EQ(a < b, mpz_cmp(za, zb) < 0);
  }
}

TEST(CmpBigUInt, LongerIsGreater) {
  EXPECT_EQ(cmp(initBigUInt({0, 1}), initBigUInt({~Limb{0}})), 1);
  EXPECT_EQ(cmp(BigUInt{}, initBigUInt(std::uint64_t{1})), -1);
  EXPECT_EQ(cmp(BigUInt{}, BigUInt{}), 0);
}

TEST(CmpBigInt, AgreesWithGmp) {
  KOVRIX_SEED_TRACE();
  Mpz za, zb;
  for (int i = 0; i < 3000; ++i) {
    BigInt a = randomBigInt(randomLength(40));
    BigInt b = below(4) == 0 ? -a : below(4) == 0 ? a : randomBigInt(randomLength(40));
    toMpz(za, a);
    toMpz(zb, b);
    ASSERT_EQ(cmp(a, b), sign(mpz_cmp(za, zb))) << hex(a) << " vs " << hex(b);
  }
}

TEST(CmpBigInt, ZeroHasNoSign) {
  BigInt z;
  EXPECT_EQ(cmp(z, -z), 0);
  EXPECT_EQ(cmp(initBigInt(std::int64_t{-1}), z), -1);
  EXPECT_EQ(cmp(z, initBigInt(std::int64_t{-1})), 1);
  EXPECT_EQ(cmp(initBigInt(std::int64_t{-3}), initBigInt(std::int64_t{-2})), -1);
  EXPECT_EQ(cmp(initBigInt(std::int64_t{3}), initBigInt(std::int64_t{2})), 1);
}

TEST(CmpKernel, EqualLengthFromTheTop) {
  std::vector<Limb> a{1, 2, 3}, b{9, 2, 3}, c{1, 2, 4};
  EXPECT_EQ(cmpN(a, b), -1);
  EXPECT_EQ(cmpN(c, a), 1);
  EXPECT_EQ(cmpN(a, a), 0);
  EXPECT_EQ(cmpN(std::span<const Limb>{}, std::span<const Limb>{}), 0);
}

}  // namespace
}  // namespace kovrix

// BigUInt add and its kernels: GMP agreement, carries through all-ones runs,
// in-place use and canary-guarded outputs.
#include "arithmetic/addition_big.hpp"
#include "support/big.hpp"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

TEST(AddBigUInt, AgreesWithGmp) {
  KOVRIX_SEED_TRACE();
  Mpz za, zb, zr;
  for (int i = 0; i < 2000; ++i) {
    BigUInt a = randomBig(randomLength(300)), b = randomBig(randomLength(300));
    toMpz(za, a);
    toMpz(zb, b);
    mpz_add(zr, za, zb);
    ASSERT_TRUE(sameAs(add(a, b), zr)) << "a=" << hex(a) << " b=" << hex(b);
    ASSERT_TRUE(sameAs(a + b, zr));
    ASSERT_TRUE(sameAs(add(b, a), zr));
  }
}

TEST(AddBigUInt, CarryRipplesIntoNewLimb) {
  BigUInt r = add(initBigUInt(~Limb{0}), initBigUInt(std::uint64_t{1}));
  EXPECT_TRUE(limbsEqual(r, {0, 1}));
  std::vector<Limb> ones(33, ~Limb{0});
  BigUInt s = add(initBigUInt(ones), initBigUInt(std::uint64_t{1}));
  ASSERT_EQ(s.size(), 34u);
  EXPECT_EQ(s[33], 1u);
  for (std::size_t i = 0; i < 33; ++i) EXPECT_EQ(s[i], 0u);
  EXPECT_TRUE(add(BigUInt{}, BigUInt{}).isZero());
}

TEST(AddBigUInt, SameOperandTwice) {
  KOVRIX_SEED_TRACE();
  Mpz z;
  for (int i = 0; i < 200; ++i) {
    BigUInt a = randomBig(randomLength(100));
    toMpz(z, a);
    mpz_mul_2exp(z, z, 1);
    ASSERT_TRUE(sameAs(add(a, a), z)) << hex(a);
  }
}

TEST(AddKernel, GuardsAndInPlace) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 500; ++i) {
    std::size_t la = 1 + below(40), lb = below(la + 1);
    auto a = randomLimbs(la), b = randomLimbs(lb);
    Guarded out(la);
    Limb carry = addN(out.span(), a, b);
    ASSERT_TRUE(out.intact()) << "canary overwritten, la=" << la << " lb=" << lb;
    std::vector<Limb> full(out.span().begin(), out.span().end());
    full.push_back(carry);
    Mpz za, zb, zr;
    toMpz(za, initBigUInt(a));
    toMpz(zb, initBigUInt(b));
    mpz_add(zr, za, zb);
    ASSERT_TRUE(sameAs(initBigUInt(full), zr));
    // In place: out is a.
    auto inplace = a;
    Limb c2 = addN(inplace, inplace, b);
    ASSERT_EQ(c2, carry);
    ASSERT_TRUE(std::equal(inplace.begin(), inplace.end(), out.span().begin()));
  }
}

TEST(AddKernel, LimbIncrement) {
  std::vector<Limb> x{~Limb{0}, ~Limb{0}, 7};
  EXPECT_EQ(addLimbInPlace(x, 1), 0u);
  EXPECT_EQ(x, (std::vector<Limb>{0, 0, 8}));
  std::vector<Limb> y{~Limb{0}};
  EXPECT_EQ(addLimbInPlace(y, 2), 1u);
  EXPECT_EQ(y[0], 1u);
}

}  // namespace
}  // namespace kovrix

// BigUInt add and its kernels: GMP agreement, carries through all-ones runs,
// in-place use and canary-guarded outputs.
#include "arithmetic/addition_big.hpp"
#include "arithmetic/subtraction_big.hpp"
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

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

// The adc and sbb chains against GMP's mpn_add_n / mpn_sub_n at every length
// up to 70 (each remainder of the four-limb unrolling, carries through runs of
// all-ones limbs), out of place and with out as either operand.  The carry
// is also dropped once: the stores must happen all the same.
TEST(CarryChains, AddAndSubAgreeWithGmpInEveryAliasing) {
  KOVRIX_SEED_TRACE();
  for (std::size_t n = 0; n <= 70; ++n)
    for (int shape = 0; shape < 6; ++shape) {
      auto a = randomLimbs(n, shape), b = randomLimbs(n, (shape + 3) % 6);
      std::vector<Limb> sum(n), diff(n);
      Limb carry = n ? mpn_add_n(sum.data(), a.data(), b.data(), static_cast<mp_size_t>(n)) : 0;
      Limb borrow = n ? mpn_sub_n(diff.data(), a.data(), b.data(), static_cast<mp_size_t>(n)) : 0;
      for (int alias = 0; alias < 3; ++alias) {
        std::vector<Limb> x = a, y = b, o(n);
        Limb* out = alias == 0 ? o.data() : alias == 1 ? x.data() : y.data();
        ASSERT_EQ(addSameLengthN(out, x.data(), y.data(), n), carry) << n << " alias " << alias;
        ASSERT_TRUE(std::equal(sum.begin(), sum.end(), out)) << n << " alias " << alias;
        x = a, y = b;
        out = alias == 0 ? o.data() : alias == 1 ? x.data() : y.data();
        ASSERT_EQ(subSameLengthN(out, x.data(), y.data(), n), borrow) << n << " alias " << alias;
        ASSERT_TRUE(std::equal(diff.begin(), diff.end(), out)) << n << " alias " << alias;
      }
      std::vector<Limb> o(n);
      (void)addSameLengthN(o.data(), a.data(), b.data(), n);
      ASSERT_EQ(o, sum) << "carry dropped, " << n;
    }
}

}  // namespace
}  // namespace kovrix

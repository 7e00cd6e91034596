// BigUInt sub: GMP agreement, borrows through zero runs, underflow, kernels.
#include "support/big.hpp"
#include "arithmetic/comparison_big.hpp"
#include "arithmetic/subtraction_big.hpp"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

TEST(SubBigUInt, AgreesWithGmp) {
  KOVRIX_SEED_TRACE();
  Mpz za, zb, zr;
  for (int i = 0; i < 2000; ++i) {
    BigUInt a = randomBig(randomLength(300)), b = randomBig(randomLength(300));
    if (cmp(a, b) < 0) std::swap(a, b);
    toMpz(za, a);
    toMpz(zb, b);
    mpz_sub(zr, za, zb);
    ASSERT_TRUE(sameAs(sub(a, b), zr)) << "a=" << hex(a) << " b=" << hex(b);
    ASSERT_TRUE(sameAs(a - b, zr));
  }
}

TEST(SubBigUInt, SelfIsZero) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 100; ++i) {
    BigUInt a = randomBig(randomLength(100));
    ASSERT_TRUE(sub(a, a).isZero());
  }
}

TEST(SubBigUInt, BorrowRemovesTopLimb) {
  EXPECT_TRUE(limbsEqual(sub(initBigUInt({0, 1}), initBigUInt(std::uint64_t{1})), {~Limb{0}}));
  std::vector<Limb> pow(40, 0);
  pow[39] = 1;
  BigUInt r = sub(initBigUInt(pow), initBigUInt(std::uint64_t{1}));
  ASSERT_EQ(r.size(), 39u);
  for (std::size_t i = 0; i < 39; ++i) EXPECT_EQ(r[i], ~Limb{0});
}

TEST(SubBigUInt, UnderflowRaises) {
  try {
    sub(initBigUInt(std::uint64_t{3}), initBigUInt(std::uint64_t{5}));
    FAIL() << "3 - 5 returned";
  } catch (const UnderflowDefect& e) {
    EXPECT_STREQ(e.what(), "Subtraction underflow: a < b in BigUInt");
  }
  EXPECT_THROW(sub(BigUInt{}, initBigUInt(std::uint64_t{1})), UnderflowDefect);
  EXPECT_THROW(sub(initBigUInt({5, 1}), initBigUInt({6, 1})), UnderflowDefect);
}

TEST(SubKernel, GuardsAndBorrow) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 500; ++i) {
    std::size_t la = 1 + below(40), lb = below(la + 1);
    auto a = randomLimbs(la), b = randomLimbs(lb);
    Guarded out(la);
    Limb borrow = subN(out.span(), a, b);
    ASSERT_TRUE(out.intact());
    Mpz za, zb, zr, wrap;
    toMpz(za, initBigUInt(a));
    toMpz(zb, initBigUInt(b));
    mpz_sub(zr, za, zb);
    ASSERT_EQ(borrow, mpz_sgn(zr.v) < 0 ? 1u : 0u);
    // The limbs hold a - b modulo 2^(64 la).
    mpz_ui_pow_ui(wrap, 2, 64 * la);
    mpz_mod(zr, zr, wrap);
    ASSERT_TRUE(sameAs(initBigUInt(std::vector<Limb>(out.span().begin(), out.span().end())), zr));
    auto inplace = a;
    ASSERT_EQ(subN(inplace, inplace, b), borrow);
    ASSERT_TRUE(std::equal(inplace.begin(), inplace.end(), out.span().begin()));
  }
}

TEST(SubKernel, LimbDecrement) {
  std::vector<Limb> x{0, 0, 8};
  EXPECT_EQ(subLimbInPlace(x, 1), 0u);
  EXPECT_EQ(x, (std::vector<Limb>{~Limb{0}, ~Limb{0}, 7}));
  std::vector<Limb> y{1};
  EXPECT_EQ(subLimbInPlace(y, 2), 1u);
}

}  // namespace
}  // namespace kovrix

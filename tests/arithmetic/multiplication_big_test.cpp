// Multiplication: schoolbook, Karatsuba and Auto against GMP and against each
// other, the threshold neighbourhood, unbalanced operands, splitAt,
// shiftLimbsLeft, and the kernels inside canaries.
#include "arithmetic/big_test_support.hpp"
#include "arithmetic/multiplication_big.hpp"
#include "arithmetic/signed_big.hpp"

namespace kovrix {
namespace {
using namespace kovrix::test;

void checkAllStrategies(const BigUInt& a, const BigUInt& b) {
  Mpz za, zb, zr;
  toMpz(za, a);
  toMpz(zb, b);
  mpz_mul(zr, za, zb);
  BigUInt s = mulSchoolbook(a, b), k = mulKaratsuba(a, b), au = mul(a, b);
  ASSERT_TRUE(sameAs(s, zr)) << "schoolbook, a=" << hex(a) << " b=" << hex(b);
  ASSERT_TRUE(sameAs(k, zr)) << "karatsuba, len " << a.size() << " x " << b.size();
  ASSERT_TRUE(sameAs(au, zr)) << "auto, len " << a.size() << " x " << b.size();
  ASSERT_TRUE(sameAs(mul(a, b, MulStrategy::Schoolbook), zr));
  ASSERT_TRUE(sameAs(mul(a, b, MulStrategy::Karatsuba), zr));
  ASSERT_TRUE(sameAs(mul(b, a), zr));
}

TEST(Mul, RandomOperandsUpTo300Limbs) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 300; ++i) checkAllStrategies(randomBig(randomLength(300)), randomBig(randomLength(300)));
}

TEST(Mul, StrategiesIdenticalFrom1To200Limbs) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 200; ++i) {
    BigUInt a = randomBig(1 + below(200)), b = randomBig(1 + below(200));
    BigUInt s = mulSchoolbook(a, b);
    ASSERT_EQ(mulKaratsuba(a, b), s) << a.size() << " x " << b.size();
    ASSERT_EQ(mul(a, b, MulStrategy::Auto), s);
  }
}

TEST(Mul, ThresholdNeighbourhood) {
  KOVRIX_SEED_TRACE();
  for (std::size_t la : {31u, 32u, 33u, 63u, 64u, 65u, 100u})
    for (std::size_t lb : {1u, 16u, 31u, 32u, 33u, 34u, 64u, 65u, 100u})
      for (int shape = 0; shape < 6; ++shape) checkAllStrategies(randomBig(la, shape), randomBig(lb, shape));
}

TEST(Mul, KaratsubaAt1024AndUnbalanced) {
  KOVRIX_SEED_TRACE();
  checkAllStrategies(randomBig(1024, 0), randomBig(1024, 1));
  checkAllStrategies(randomBig(700, 0), randomBig(33, 0));
  checkAllStrategies(randomBig(257, 2), randomBig(128, 0));
  checkAllStrategies(randomBig(129, 1), randomBig(64, 1));
}

TEST(Mul, AllOnes) {
  for (std::size_t n : {1u, 2u, 31u, 32u, 33u, 67u, 150u}) {
    BigUInt a = randomBig(n, 1);
    checkAllStrategies(a, a);
  }
  BigUInt m = initBigUInt(~Limb{0});
  EXPECT_TRUE(limbsEqual(mul(m, m), {1, ~Limb{0} - 1}));
}

TEST(Mul, ZeroOperand) {
  BigUInt a = randomBig(50);
  for (auto s : {MulStrategy::Auto, MulStrategy::Schoolbook, MulStrategy::Karatsuba}) {
    EXPECT_TRUE(mul(a, BigUInt{}, s).isZero());
    EXPECT_TRUE(mul(BigUInt{}, a, s).isZero());
    EXPECT_TRUE(mul(BigUInt{}, BigUInt{}, s).isZero());
  }
}

TEST(SignedMul, Signs) {
  auto i = [](std::int64_t v) { return initBigInt(v); };
  BigInt z = mul(i(-5), i(0));
  EXPECT_FALSE(z.negative);
  EXPECT_TRUE(z.magnitude.isZero());
  EXPECT_EQ(mul(i(-3), i(4)), i(-12));
  EXPECT_EQ(mul(i(-3), i(-4)), i(12));
  EXPECT_EQ(mul(i(3), i(-4)), i(-12));
  EXPECT_EQ(i(6) * i(7), i(42));
}

TEST(SplitAt, LowAndHighParts) {
  BigUInt x = initBigUInt({1, 0, 0, 5, 6});
  auto [lo, hi] = splitAt(x, 3);
  EXPECT_TRUE(limbsEqual(lo, {1}));  // the low part shrinks to its normalised form
  EXPECT_TRUE(limbsEqual(hi, {5, 6}));
  auto [lo2, hi2] = splitAt(x, 5);
  EXPECT_EQ(lo2, x);
  EXPECT_TRUE(hi2.isZero());
  auto [lo3, hi3] = splitAt(x, 0);
  EXPECT_TRUE(lo3.isZero());
  EXPECT_EQ(hi3, x);
  auto [lo4, hi4] = splitAt(BigUInt{}, 2);
  EXPECT_TRUE(lo4.isZero() && hi4.isZero());
}

TEST(ShiftLimbsLeft, MultipliesByPowerOfBase) {
  BigUInt x = initBigUInt({7, 8});
  EXPECT_TRUE(limbsEqual(shiftLimbsLeft(x, 2), {0, 0, 7, 8}));
  EXPECT_EQ(shiftLimbsLeft(x, 0), x);
  EXPECT_TRUE(shiftLimbsLeft(BigUInt{}, 5).isZero());
  EXPECT_THROW(shiftLimbsLeft(x, INT64_MAX), OverflowDefect);
}

TEST(MulKernels, SchoolbookInsideCanaries) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 300; ++i) {
    auto a = randomLimbs(1 + below(40)), b = randomLimbs(1 + below(40));
    Guarded out(a.size() + b.size());
    mulSchoolbookN(out.span(), a, b);
    ASSERT_TRUE(out.intact()) << a.size() << " x " << b.size();
    Mpz za, zb, zr;
    toMpz(za, initBigUInt(a));
    toMpz(zb, initBigUInt(b));
    mpz_mul(zr, za, zb);
    ASSERT_TRUE(sameAs(initBigUInt(std::vector<Limb>(out.span().begin(), out.span().end())), zr));
  }
}

TEST(MulKernels, KaratsubaWithExactScratchInsideCanaries) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 60; ++i) {
    std::size_t la = 32 + below(250), lb = 32 + below(la - 31);
    auto a = randomLimbs(la), b = randomLimbs(lb);
    Guarded out(la + lb);
    Guarded scratch(karatsubaScratchSize(la), 0x1111111111111111ull);
    mulKaratsubaN(out.span(), a, b, scratch.span());
    ASSERT_TRUE(out.intact()) << la << " x " << lb;
    ASSERT_TRUE(scratch.intact()) << "scratch overrun at " << la << " x " << lb;
    Mpz za, zb, zr;
    toMpz(za, initBigUInt(a));
    toMpz(zb, initBigUInt(b));
    mpz_mul(zr, za, zb);
    ASSERT_TRUE(sameAs(initBigUInt(std::vector<Limb>(out.span().begin(), out.span().end())), zr))
        << la << " x " << lb;
  }
}

TEST(MulKernels, LimbMultiplyAccumulate) {
  std::vector<Limb> a{~Limb{0}, ~Limb{0}};
  std::vector<Limb> out{~Limb{0}, ~Limb{0}};
  // (B^2 - 1)(B - 1) + (B^2 - 1) = B^3 - B^2 = limbs {0, 0} with carry B - 1.
  EXPECT_EQ(addMulLimbN(out, a, ~Limb{0}), ~Limb{0});
  EXPECT_EQ(out, (std::vector<Limb>{0, ~Limb{0}}));
  std::vector<Limb> p(2);
  EXPECT_EQ(mulLimbN(p, a, 2), 1u);
  EXPECT_EQ(p, (std::vector<Limb>{~Limb{0} - 1, ~Limb{0}}));
}

}  // namespace
}  // namespace kovrix

namespace kovrix {
namespace {
using namespace kovrix::test;

// The MULX/ADX loop against the portable one: every length up to 70 (odd and
// even, so both the head step and the pair loop run), multipliers at the
// extremes, outputs of all ones (longest carry runs), inside canaries.
TEST(MulKernels, MulxAdxAgreesWithPortableLoop) {
  if (!cpuHasMulxAdx()) GTEST_SKIP() << "processor without MULX/ADX";
  KOVRIX_SEED_TRACE();
  for (std::size_t n = 0; n <= 70; ++n)
    for (Limb b : {Limb{0}, Limb{1}, ~Limb{0}, Limb{1} << 63, randomLimb()})
      for (int shape = 0; shape < 6; ++shape) {
        auto a = randomLimbs(n, shape);
        auto start = shape == 1 ? std::vector<Limb>(n, ~Limb{0}) : randomLimbs(n, (shape + 2) % 6);
        Guarded x(n), y(n);
        std::copy(start.begin(), start.end(), x.span().begin());
        std::copy(start.begin(), start.end(), y.span().begin());
        Limb cx = addMulLimbN(x.span(), a, b);
        Limb cy = addMulLimbMulxAdx(y.span(), a, b);
        ASSERT_TRUE(x.intact() && y.intact()) << n;
        ASSERT_EQ(cx, cy) << "n=" << n << " b=" << b << " shape=" << shape;
        ASSERT_TRUE(std::equal(x.span().begin(), x.span().end(), y.span().begin())) << "n=" << n << " b=" << b;
      }
}

}  // namespace
}  // namespace kovrix

// Multiplication: schoolbook, Karatsuba and Auto against GMP and against each
// other, the threshold neighbourhood, unbalanced operands, and the kernels
// inside canaries.
#include "support/big.hpp"
#include "arithmetic/multiplication_big.hpp"
#include "arithmetic/signed_big.hpp"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

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
using namespace kovrix::testsupport;

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

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

// Sanitizer builds run the same tests on shorter operands; the longest
// products (into the transform range) run in the Release build only.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t LongestLimbs = 12000;
#else
constexpr std::size_t LongestLimbs = 300000;
#endif

enum class Tier { Schoolbook, Karatsuba, Toom3, Fft, Auto };
const char* tierName(Tier t) {
  static const char* names[] = {"schoolbook", "karatsuba", "toom3", "fft", "auto"};
  return names[static_cast<int>(t)];
}

// Whether a tier's kernel accepts the shape (longer operand first).
bool accepts(Tier t, std::size_t la, std::size_t lb) {
  if (t == Tier::Toom3) return la >= 5 && lb > (la + 2) / 3;
  return la >= lb;
}

// Runs one tier's kernel (a square when `square`) with exactly the scratch its
// size function asks for, output and scratch inside canaries; the full
// product limbs.
std::vector<Limb> runTier(Tier t, bool square, const std::vector<Limb>& a, const std::vector<Limb>& b) {
  std::size_t n = a.size() + b.size();
  std::size_t need = 0;
  switch (t) {
    case Tier::Schoolbook: break;
    case Tier::Karatsuba: need = karatsubaScratchSize(a.size()); break;
    case Tier::Toom3: need = toom3ScratchSize(a.size()); break;
    case Tier::Fft: need = fftScratchSize(n); break;
    case Tier::Auto: need = square ? sqrScratchSize(a.size()) : mulScratchSize(a.size(), b.size()); break;
  }
  Guarded out(n), scratch(need, 0x1111111111111111ull);
  auto o = out.span(), s = scratch.span();
  switch (t) {
    case Tier::Schoolbook: square ? sqrSchoolbookN(o, a) : mulSchoolbookN(o, a, b); break;
    case Tier::Karatsuba: square ? sqrKaratsubaN(o, a, s) : mulKaratsubaN(o, a, b, s); break;
    case Tier::Toom3: square ? sqrToom3N(o, a, s) : mulToom3N(o, a, b, s); break;
    case Tier::Fft: square ? sqrFftN(o, a, s) : mulFftN(o, a, b, s); break;
    case Tier::Auto: square ? sqrN(o, a, s) : mulN(o, a, b, s); break;
  }
  EXPECT_TRUE(out.intact() && scratch.intact()) << tierName(t) << " wrote outside its spans at " << a.size() << " x "
                                                << b.size();
  return {o.begin(), o.end()};
}

std::vector<Limb> gmpProduct(const std::vector<Limb>& a, const std::vector<Limb>& b) {
  std::vector<Limb> r(a.size() + b.size());
  if (a.size() >= b.size())
    mpn_mul(r.data(), a.data(), static_cast<mp_size_t>(a.size()), b.data(), static_cast<mp_size_t>(b.size()));
  else
    mpn_mul(r.data(), b.data(), static_cast<mp_size_t>(b.size()), a.data(), static_cast<mp_size_t>(a.size()));
  return r;
}

// Every tier that accepts the shape, as a product and (for equal lengths)
// as a square of a, against GMP.
void checkTiers(std::size_t la, std::size_t lb, int shape = -1, bool skipQuadratic = false) {
  auto a = randomLimbs(la, shape), b = randomLimbs(lb, shape < 0 ? -1 : (shape + 1) % 6);
  auto expect = gmpProduct(a, b), square = gmpProduct(a, a);
  for (Tier t : {Tier::Schoolbook, Tier::Karatsuba, Tier::Toom3, Tier::Fft, Tier::Auto}) {
    if (skipQuadratic && (t == Tier::Schoolbook || t == Tier::Karatsuba)) continue;
    if (accepts(t, la, lb)) ASSERT_EQ(runTier(t, false, a, b), expect) << tierName(t) << " " << la << " x " << lb;
    if (accepts(t, la, la)) ASSERT_EQ(runTier(t, true, a, a), square) << tierName(t) << " square of " << la;
  }
  ASSERT_EQ(runTier(Tier::Auto, false, b, a), expect) << "auto " << lb << " x " << la;
}

TEST(MulTiers, EveryTierAtEachThresholdPlusMinusOne) {
  KOVRIX_SEED_TRACE();
  for (std::size_t t : {KaratsubaThreshold, SqrKaratsubaThreshold, Toom3Threshold, SqrToom3Threshold, FftThreshold,
                        SqrFftThreshold})
    for (std::size_t n : {t - 1, t, t + 1})
      for (int shape = 0; shape < 6; ++shape) {
        checkTiers(n, n, shape, n > 1000);
        checkTiers(n + below(n / 2), n, shape, n > 1000);
      }
}

TEST(MulTiers, RandomShapesUpToTheTransformRange) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 40; ++i) {
    std::size_t la = 5 + below(i < 30 ? 1500 : 6 * FftThreshold), lb = 1 + below(la);
    checkTiers(la, lb, -1, la > 1000);
  }
}

TEST(MulTiers, LongProductsAndUnbalancedShapes) {
  KOVRIX_SEED_TRACE();
  for (auto [la, lb] : {std::pair<std::size_t, std::size_t>{LongestLimbs / 8, LongestLimbs / 8 - 3},
                        {LongestLimbs, 40},
                        {LongestLimbs / 2, Toom3Threshold + 7},
                        {LongestLimbs / 2, FftThreshold + 1},
                        {7 * FftThreshold + 5, 2 * FftThreshold}}) {
    auto a = randomLimbs(la), b = randomLimbs(lb);
    ASSERT_EQ(runTier(Tier::Auto, false, a, b), gmpProduct(a, b)) << la << " x " << lb;
  }
  for (int shape = 0; shape < 6; ++shape) {
    auto a = randomLimbs(LongestLimbs / (shape ? 16 : 1), shape);
    ASSERT_EQ(runTier(Tier::Auto, true, a, a), gmpProduct(a, a)) << "square, shape " << shape;
  }
}

// The cyclic product against GMP's a b mod (B^N - 1) (0 may come out as
// B^N - 1), operands up to N limbs, squares included.
TEST(MulTiers, CyclicProductModuloBNMinusOne) {
  KOVRIX_SEED_TRACE();
  for (std::size_t n : {std::size_t{2}, std::size_t{64}, std::size_t{4096}})
    for (int shape = 0; shape < 6; ++shape) {
      auto a = randomLimbs(1 + below(n), shape), b = below(3) ? randomLimbs(1 + below(n), shape) : a;
      std::vector<Limb> out(n), scratch(5 * n);
      mulFftWrapN(out, a, b, scratch);
      Mpz za, zb, zm, zo;
      toMpz(za, initBigUInt(a));
      toMpz(zb, initBigUInt(b));
      mpz_ui_pow_ui(zm, 2, 64 * n);
      mpz_sub_ui(zm, zm, 1);
      mpz_mul(za, za, zb);
      mpz_mod(za, za, zm);
      toMpz(zo, initBigUInt(out));
      mpz_mod(zo, zo, zm);
      ASSERT_EQ(mpz_cmp(za, zo), 0) << n << " shape " << shape;
    }
}

TEST(MulTiers, OwningProductSquaresTheSameValue) {
  KOVRIX_SEED_TRACE();
  for (std::size_t n : {std::size_t{3}, KaratsubaThreshold, SqrToom3Threshold + 2, FftThreshold + 9}) {
    BigUInt a = randomBig(n), copy = a;
    Mpz za, zr;
    toMpz(za, a);
    mpz_mul(zr, za, za);
    ASSERT_TRUE(sameAs(mul(a, a), zr)) << n;
    ASSERT_TRUE(sameAs(mul(a, copy), zr)) << n;
    ASSERT_TRUE(sameAs(sqr(a), zr)) << n;
  }
  EXPECT_TRUE(sqr(BigUInt{}).isZero());
}

}  // namespace
}  // namespace kovrix

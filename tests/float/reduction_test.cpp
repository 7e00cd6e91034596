// Integer parts, the pi caches and the reduction modulo 2 pi.
#include <gtest/gtest.h>

#include "float/arithmetic.hpp"
#include "float/constants.hpp"
#include "float/float_math.hpp"
#include "float/formatting.hpp"
#include "float/reduction.hpp"
#include "support/big_float_mpfr.hpp"

namespace kovrix::testsupport {
namespace {

BigFloat at(double v) { return initBigFloat(256, v); }

// Before the initialisation fills them the caches hold zero: the reduction
// divides by zero, and pi is computed rather than read.
TEST(BigFloatReduction, CachesBeforeAndAfterFilling) {
  EXPECT_EQ(piCache, BigFloat{});
  EXPECT_THROW(reduceModTwoPi(at(7.0)), DivByZeroDefect);
  EXPECT_EQ(getPiBigFloat(), piBigFloat(256, 96));
  fillReductionCaches();
  fillFloatMathCaches();
  EXPECT_EQ(piCache, piBigFloat(256, 96));
  EXPECT_EQ(getPiBigFloat(), piCache);
  EXPECT_EQ(twoPiCache.mantissa, piCache.mantissa);
  EXPECT_EQ(twoPiCache.exponent, piCache.exponent + 1);
  EXPECT_EQ(halfPiCache, (BigFloat{false, piCache.exponent - 1, piCache.mantissa}));
  EXPECT_EQ(quarterPiCache, (BigFloat{false, piCache.exponent - 2, piCache.mantissa}));
  EXPECT_EQ(threeQuarterPiCache, halfPiCache + quarterPiCache);
  EXPECT_EQ(ln2Cache, lnGeneric(at(2.0), 200));
}

TEST(BigFloatReduction, FloorAndRound) {
  const struct {
    double x, floor, round;
  } table[] = {{2.5, 2, 3}, {-2.5, -3, -2}, {-0.5, -1, 0}, {0.5, 0, 1}, {-3, -3, -3}, {0.49, 0, 0}, {0, 0, 0}, {1e30, 1e30, 1e30}};
  for (const auto& row : table) {
    EXPECT_EQ(floorBigFloat(at(row.x), 256), at(row.floor)) << row.x;
    EXPECT_EQ(roundBigFloat(at(row.x), 256), at(row.round)) << row.x;
  }
}

TEST(BigFloatReduction, ModTwoPi) {
  if (piCache.isZero()) {
    fillReductionCaches();
    fillFloatMathCaches();
  }
  EXPECT_EQ(reduceModTwoPi(BigFloat{}), BigFloat{});
  EXPECT_EQ(reduceModTwoPi(piCache), -piCache);
  EXPECT_EQ(reduceModTwoPi(-piCache), -piCache);
  EXPECT_EQ(reduceModTwoPi(at(7.0)), at(7.0) - twoPiCache);
  // The absolute error is that of 256-bit arithmetic on k 2pi: about
  // 2^-256 |x| / pi above the error of 2pi itself times k.
  KOVRIX_SEED_TRACE();
  for (int trial = 0; trial < 300; ++trial) {
    const BigFloat x = uniformBigFloat(-1e6, 1e6);
    Mpfr mx, want(4096), twoPi(4096);
    toMpfr(mx, x);
    mpfr_const_pi(twoPi, MPFR_RNDN);
    mpfr_mul_2ui(twoPi, twoPi, 1, MPFR_RNDN);
    mpfr_remainder(want, mx, twoPi, MPFR_RNDN);
    EXPECT_GT(correctBits(reduceModTwoPi(x), want), 230) << describe(x);
  }
}

}  // namespace
}  // namespace kovrix::testsupport

// pi and e as the stated steps make them: their offsets from the true
// constants, measured with MPFR, pin every rounding along the way.
#include <gtest/gtest.h>

#include "float/constants.hpp"
#include "float/formatting.hpp"
#include "support/big_float_mpfr.hpp"

namespace kovrix::testsupport {
namespace {

TEST(BigFloatConstants, OffsetsFromTheTrueValues) {
  Mpfr pi(4096), e(4096);
  mpfr_const_pi(pi, MPFR_RNDN);
  mpfr_set_ui(e, 1, MPFR_RNDN);
  mpfr_exp(e, e, MPFR_RNDN);
  const BigFloat myPi = piBigFloat(256, 96);
  const BigFloat myE = eBigFloat(256, 64);
  EXPECT_NEAR(ulpsAbove(myPi, pi), 0.6825, 0.001);  // the 256-bit neighbour above the rounded pi
  EXPECT_NEAR(ulpsAbove(myE, e), -3.7991, 0.001);
  EXPECT_EQ(bitLength(myPi.mantissa), 256);
  EXPECT_EQ(toFloat64(myPi), 3.141592653589793);
  EXPECT_EQ(toFloat64(myE), 2.718281828459045);
  EXPECT_EQ(eBigFloat(256, 0), initBigFloat(256, 1.0));
}

TEST(BigFloatConstants, AtanSeriesAgainstMpfr) {
  const BigFloat x = initBigFloat(256, 0.125);
  EXPECT_EQ(atanTaylor(x, 1), x);
  EXPECT_EQ(atanTaylor(x, 0), x);
  Mpfr mx, want(4096);
  toMpfr(mx, x);
  mpfr_atan(want, mx, MPFR_RNDN);
  EXPECT_GT(correctBits(atanTaylor(x, 90), want), 254);  // 1/8^181 / 181 is far below 2^-256
  EXPECT_LT(correctBits(atanTaylor(x, 20), want), 130);  // 20 terms stop near 8^-41 / 41
}

}  // namespace
}  // namespace kovrix::testsupport

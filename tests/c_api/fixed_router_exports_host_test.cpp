// The Q32.32 function exports through the shared object: stated values and
// the failure convention (0, nothing left pending, a pending error cleared).
#include <gtest/gtest.h>

#include <cstdint>

#include "kovrix.h"

namespace {

constexpr std::int64_t one = std::int64_t{1} << 32;

TEST(FixedRouterExportsHost, StatedValues) {
  kovrix_init();
  EXPECT_EQ(kovrix_fixed_sqrt(2 * one), 6074000999);
  EXPECT_EQ(kovrix_fixed_ln(2 * one), 2977044462);
  EXPECT_EQ(kovrix_fixed_tan(one), 6690792620);
  EXPECT_EQ(kovrix_fixed_exp(one), 11674931571);
  EXPECT_EQ(kovrix_fixed_pow(2 * one, one / 2), 6074000992);
  EXPECT_EQ(kovrix_fixed_atan(one), 3373259423);
  EXPECT_EQ(kovrix_fixed_asin(one / 2), 2248839619);
  EXPECT_EQ(kovrix_fixed_acos(one), -1);
  EXPECT_EQ(kovrix_fixed_erf(one), 3619372346);
  EXPECT_EQ(kovrix_fixed_bessel_j0(one), 3286499039);
  EXPECT_EQ(kovrix_fixed_factorial(12), 2057296206731673600);
}

TEST(FixedRouterExportsHost, FailuresLeaveNothingPending) {
  const std::int64_t big = std::int64_t{1} << 62;
  // Failures of the router itself: 0, and the following kernel export runs.
  EXPECT_EQ(kovrix_fixed_ln(0), 0);
  EXPECT_EQ(kovrix_fixed_factorial(13), 0);
  EXPECT_EQ(kovrix_fixed_sinh(5 * one), 0);
  EXPECT_EQ(kovrix_cordic_sin(0), -3);
  // An error left pending by a kernel export is cleared by any router export.
  EXPECT_EQ(kovrix_cordic_atan2(big, big), 0);
  EXPECT_EQ(kovrix_cordic_sin(0), 0);
  EXPECT_EQ(kovrix_fixed_cos(0), 0);
  EXPECT_EQ(kovrix_cordic_sin(0), -3);
  EXPECT_EQ(kovrix_fixed_cos(0), 4294967303);
}

}  // namespace

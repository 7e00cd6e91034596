// The fixed-point exports as a host sees them, through the shared object and
// the public header only: the listed values of the arithmetic, the circular
// and the hyperbolic exports, and the unprefixed helpers.
#include <gtest/gtest.h>

#include <cstdint>
#include <thread>

#include "kovrix.h"

namespace {

constexpr std::int64_t one = std::int64_t{1} << 32;

TEST(FixedHost, Arithmetic) {
  ASSERT_EQ(kovrix_init(), 1);
  EXPECT_EQ(kovrix_fixed_from_int(1, 32), one);
  EXPECT_EQ(kovrix_fixed_from_int(std::int64_t{1} << 31, 32), INT64_MAX);
  EXPECT_EQ(kovrix_fixed_to_int(-1, 32), -1);
  EXPECT_EQ(kovrix_fixed_mul(std::int64_t{1} << 62, std::int64_t{1} << 62, 32), INT64_MAX);
  EXPECT_EQ(kovrix_fixed_div(one, 3 * one, 32), 1431655765);
  EXPECT_EQ(kovrix_fixed_div(1, 1, 100), INT64_MAX);
  EXPECT_EQ(kovrix_fixed_add(INT64_MAX, 1), INT64_MAX);
  EXPECT_EQ(kovrix_fixed_sub(INT64_MIN, 1), INT64_MIN);
  EXPECT_EQ(kovrix_fixed_abs(INT64_MIN), INT64_MAX);
  EXPECT_EQ(kovrix_fixed_floor_mod(-1, one), one - 1);
  EXPECT_EQ(kovrix_fixed_floor_mod(INT64_MIN, -1), 0);
  EXPECT_EQ(kovrix_fixed_round(-(std::int64_t{1} << 31)), 0);
  EXPECT_EQ(kovrix_fixed_lerp(0, -1, std::int64_t{1} << 31), -1);
  EXPECT_EQ(kovrix_pi_fixed(), 13493037704);
  EXPECT_EQ(kovrix_e_fixed(), 11674931554);
}

TEST(FixedHost, Kernels) {
  EXPECT_EQ(kovrix_cordic_sin(0), -3);
  EXPECT_EQ(kovrix_cordic_cos(0), 4294967303);
  EXPECT_EQ(kovrix_cordic_atan2(-one, -one), -10119778281);
  EXPECT_EQ(kovrix_lut_sin(6746518852), one);
  EXPECT_EQ(kovrix_chebyshev_tan(one), 6528770609);
  EXPECT_EQ(reduceQ32(-1), 26986075408);
  EXPECT_EQ(clampQ32(INT64_MIN), -(std::int64_t{1} << 62));
  EXPECT_EQ(kovrix_cordic_sinh(one), 5047450700);
  EXPECT_EQ(kovrix_cordic_cosh(one), 6627480871);
  EXPECT_EQ(kovrix_cordic_tanh(one), 3271021992);
  EXPECT_EQ(kovrix_cordic_exp(one), 11674931571);
  EXPECT_EQ(clampHyperbolicQ32(INT64_MAX), 4724464025);
}

TEST(FixedHost, PendingOverflowStopsKernelAndBigIntegerExportsButNotPlainOnes) {
  // A fresh thread has nothing pending; run there so other tests are unaffected.
  std::int64_t failed = -1, stopped = -1, table = -1, sum = -1, floored = -1;
  std::thread t([&] {
    failed = kovrix_cordic_atan2(std::int64_t{1} << 62, std::int64_t{1} << 62);  // overflows
    stopped = kovrix_cordic_cos(0);          // failing step, error pending: 0
    table = kovrix_lut_cos(0);               // cannot fail: computes
    sum = kovrix_fixed_add(2, 3);            // exact big-integer sum: stops, 0
    floored = kovrix_fixed_floor(one + 5);   // plain int64 operation: computes
  });
  t.join();
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(stopped, 0);
  EXPECT_EQ(table, one);
  EXPECT_EQ(sum, 0);
  EXPECT_EQ(floored, one);
  EXPECT_EQ(kovrix_cordic_cos(0), 4294967303) << "an error pending on one thread never affects another";
}

}  // namespace

// Table sine and cosine: the stored table against libm, the nearest-point
// selection against an exact search written from the definition (the point k
// with |256 r - k P| smallest, ties to the higher point), windows around every
// switch between two table points, and the listed values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "c_api/pending_error.hpp"
#include "support/fixed.hpp"
#include "kovrix.h"
#include "trigonometry/lut.hpp"

namespace {

using kovrix::Fixed;
using I128 = kovrix::Int128;

constexpr std::int64_t one = std::int64_t{1} << 32;
constexpr std::int64_t PI = 13493037704, HALF_PI = 6746518852, P = 26986075408, TWO_PI_EXPORTED = 26986075409;

std::int64_t refEntry(int k) {
  return static_cast<std::int64_t>(std::trunc(std::sin(2.0 * 3.141592653589793 * k / 256.0) * 4294967296.0));
}

std::int64_t floorMod(std::int64_t x, std::int64_t m) {
  const std::int64_t r = x % m;
  return r < 0 ? r + m : r;
}

// The table point nearest r in [0, P): the k in 0..256 minimising
// |256 r - k P|, ties to the larger k; point 256 is point 0.
int refNearest(std::int64_t r) {
  int best = 0;
  I128 bestDist = -1;
  for (int k = 0; k <= 256; ++k) {
    I128 d = I128{r} * 256 - I128{k} * P;
    if (d < 0) d = -d;
    if (bestDist < 0 || d <= bestDist) best = k, bestDist = d;
  }
  return best & 255;
}

std::int64_t refSin(std::int64_t x) { return refEntry(refNearest(floorMod(x, P))); }
std::int64_t refCos(std::int64_t x) { return refSin(floorMod(x, P) + HALF_PI); }

TEST(SineTable, EntriesEqualTheirFloat64Computation) {
  for (int k = 0; k < 256; ++k) {
    EXPECT_EQ(kovrix::sineTable[static_cast<std::size_t>(k)], refEntry(k)) << "entry " << k;
    EXPECT_EQ(kovrix::computeSineTableEntry(k), refEntry(k)) << "computed entry " << k;
  }
  EXPECT_EQ(kovrix::sineTable[0], 0);
  EXPECT_EQ(kovrix::sineTable[1], 105403773);
  EXPECT_EQ(kovrix::sineTable[64], one);
  EXPECT_EQ(kovrix::sineTable[128], 0);
  EXPECT_EQ(kovrix::sineTable[192], -one);
  EXPECT_EQ(kovrix::sineTable[255], -105403773);
  EXPECT_EQ(sizeof kovrix::sineTable, 2048u);
}

TEST(SineTable, ListedValues) {
  EXPECT_EQ(kovrix_lut_sin(0), 0);
  EXPECT_EQ(kovrix_lut_sin(HALF_PI), one);
  EXPECT_EQ(kovrix_lut_cos(0), one);
  EXPECT_EQ(kovrix_lut_sin(-1), 0);
  EXPECT_EQ(kovrix_lut_sin(PI), 0);
  EXPECT_EQ(kovrix_lut_cos(PI), -one);
  EXPECT_EQ(kovrix_lut_sin(3 * HALF_PI), -one);
}

TEST(SineTable, WindowsAroundEveryPointSwitch) {
  // r switches from point k-1 to point k where 256 r + pi crosses k P.
  for (int k = 0; k <= 256; ++k) {
    const std::int64_t edge = (I128{k} * P - PI) >= 0 ? static_cast<std::int64_t>((I128{k} * P - PI) / 256) : 0;
    for (std::int64_t r = edge - 300; r <= edge + 300; ++r) {
      if (r < 0 || r >= P) continue;
      ASSERT_EQ(kovrix::sin_lut(Fixed{r}).raw, refSin(r)) << "sin_lut(" << r << ")";
      ASSERT_EQ(kovrix::sin_lut(Fixed{r - P}).raw, refSin(r - P)) << "sin_lut(" << r - P << ")";
      ASSERT_EQ(kovrix::cos_lut(Fixed{r}).raw, refCos(r)) << "cos_lut(" << r << ")";
    }
  }
}

TEST(SineTable, WindowsAroundTheReductionBoundaries) {
  for (std::int64_t c : {std::int64_t{0}, P, -P, TWO_PI_EXPORTED, -TWO_PI_EXPORTED, HALF_PI, -HALF_PI, PI}) {
    for (std::int64_t x = c - 3000; x <= c + 3000; ++x) {
      ASSERT_EQ(kovrix::sin_lut(Fixed{x}).raw, refSin(x)) << "sin_lut(" << x << ")";
      ASSERT_EQ(kovrix::cos_lut(Fixed{x}).raw, refCos(x)) << "cos_lut(" << x << ")";
      ASSERT_EQ(kovrix_lut_sin(x), refSin(floorMod(x, TWO_PI_EXPORTED))) << "kovrix_lut_sin(" << x << ")";
      ASSERT_EQ(kovrix_lut_cos(x), refCos(floorMod(x, TWO_PI_EXPORTED))) << "kovrix_lut_cos(" << x << ")";
    }
  }
}

TEST(SineTable, RandomSweep) {
  for (int n = 0; n < 50000; ++n) {
    const std::int64_t x = kovrix::testsupport::anyInt64();
    ASSERT_EQ(kovrix::sin_lut(Fixed{x}).raw, refSin(x)) << "sin_lut(" << x << ")";
    ASSERT_EQ(kovrix::cos_lut(Fixed{x}).raw, refCos(x)) << "cos_lut(" << x << ")";
    ASSERT_EQ(kovrix_lut_sin(x), refSin(floorMod(x, TWO_PI_EXPORTED))) << "kovrix_lut_sin(" << x << ")";
    ASSERT_EQ(kovrix_lut_cos(x), refCos(floorMod(x, TWO_PI_EXPORTED))) << "kovrix_lut_cos(" << x << ")";
  }
}

TEST(SineTable, ComputesWhileAnErrorIsPending) {
  kovrix::capi::setPending(kovrix::ErrorKind::overflowDefect, "left by an earlier call");
  EXPECT_EQ(kovrix_lut_sin(HALF_PI), one);
  EXPECT_EQ(kovrix_lut_cos(0), one);
  EXPECT_TRUE(kovrix::capi::errorPending());
  kovrix::capi::clearPending();
}

}  // namespace

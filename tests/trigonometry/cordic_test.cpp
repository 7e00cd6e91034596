// Circular CORDIC: the angle table against libm, a reference implementation
// written directly from the definition of each step (128-bit sums with an
// explicit range test, so it shares no code with the kernel), exhaustive
// windows around 0, +-pi/2, pi, 3pi/2 and each reduction boundary, random
// sweeps over the whole int64 range, the listed residues, accuracy against
// MPFR, and the failure convention of the exports.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "c_api/pending_error.hpp"
#include "support/accuracy.hpp"
#include "support/fixed.hpp"
#include "kovrix.h"
#include "trigonometry/cordic.hpp"

namespace {

using kovrix::Fixed;
using I128 = kovrix::Int128;

constexpr std::int64_t one = std::int64_t{1} << 32;
constexpr std::int64_t PI = 13493037704, HALF_PI = 6746518852, P = 26986075408, TWO_PI_EXPORTED = 26986075409;

// ---- reference, from the definition -------------------------------------------

// atan(2^-i) * 2^32 truncated; entry 0 from the float64 pi/4.
std::int64_t refAngle(int i) {
  static const std::vector<std::int64_t> table = [] {
    std::vector<std::int64_t> t;
    for (int k = 0; k < 32; ++k) {
      const double v = k == 0 ? 0.7853981633974483 : std::atan(std::pow(2.0, -k));
      t.push_back(static_cast<std::int64_t>(std::trunc(v * 4294967296.0)));
    }
    return t;
  }();
  return table[static_cast<std::size_t>(i)];
}

struct RefFailure {
  std::string message;
};

// A sum that must fit int64; otherwise the reference reports the failure.
std::int64_t fit(I128 v, const char* message) {
  if (v < INT64_MIN || v > INT64_MAX) throw RefFailure{message};
  return static_cast<std::int64_t>(v);
}

struct RefQuadrant {
  std::int64_t angle;
  int s, c;
};

RefQuadrant refReduceAngle(std::int64_t x) {
  if (x < 0 || x >= P) {
    const std::int64_t r = x % P;
    x = (x < 0 && r != 0) ? r + P : r;
  }
  if (x <= HALF_PI) return {x, 1, 1};
  if (x <= PI) return {PI - x, 1, -1};
  if (x > 3 * HALF_PI) return {P - x, -1, 1};
  return {x - PI, -1, -1};
}

std::pair<std::int64_t, std::int64_t> refSinCos(std::int64_t x) {
  const RefQuadrant q = refReduceAngle(x);
  std::int64_t X = 2608131496, Y = 0, Z = q.angle;
  for (int i = 0; i < 32; ++i) {
    const std::int64_t A = refAngle(i);
    std::int64_t nx, ny, nz;
    if (Z < 0) {
      nx = fit(I128{X} + (Y >> i), "over- or underflow");
      ny = fit(I128{Y} - (X >> i), "over- or underflow");
      nz = fit(I128{Z} + A, "over- or underflow");
    } else {
      nx = fit(I128{X} - (Y >> i), "over- or underflow");
      ny = fit(I128{Y} + (X >> i), "over- or underflow");
      nz = fit(I128{Z} - A, "over- or underflow");
    }
    X = nx, Y = ny, Z = nz;
  }
  if (q.c < 0) X = fit(-I128{X}, "Fixed negation overflow");
  if (q.s < 0) Y = fit(-I128{Y}, "Fixed negation overflow");
  return {Y, X};
}

std::pair<std::int64_t, std::int64_t> refVectoring(std::int64_t x, std::int64_t y) {
  std::int64_t Z = 0;
  for (int i = 0; i < 32; ++i) {
    const std::int64_t A = refAngle(i);
    std::int64_t nx, ny, nz;
    if (y < 0) {
      nx = fit(I128{x} - (y >> i), "over- or underflow");
      ny = fit(I128{y} + (x >> i), "over- or underflow");
      nz = fit(I128{Z} - A, "over- or underflow");
    } else {
      nx = fit(I128{x} + (y >> i), "over- or underflow");
      ny = fit(I128{y} - (x >> i), "over- or underflow");
      nz = fit(I128{Z} + A, "over- or underflow");
    }
    x = nx, y = ny, Z = nz;
  }
  // x * K, floor of the exact product.
  const I128 p = I128{x} * 2608131496;
  const I128 m = p >= 0 ? p / one : -((-p + one - 1) / one);
  return {Z, fit(m, "BigInt exceeds int64 range")};
}

std::int64_t refAtan2(std::int64_t y, std::int64_t x) {
  if (x == 0) return y > 0 ? HALF_PI : (y < 0 ? -HALF_PI : 0);
  if (x > 0) return refVectoring(x, y).first;
  if (y < 0) {
    const std::int64_t nx = fit(-I128{x}, "Fixed negation overflow");
    const std::int64_t ny = fit(-I128{y}, "Fixed negation overflow");
    return fit(I128{refVectoring(nx, ny).first} - PI, "Fixed subtraction overflow");
  }
  const std::int64_t nx = fit(-I128{x}, "Fixed negation overflow");
  return fit(I128{PI} - refVectoring(nx, y).first, "Fixed subtraction overflow");
}

std::int64_t refReduceQ32(std::int64_t x) {
  // Floored modulo by the exported period, from the floor quotient.
  const I128 q = (x >= 0) ? I128{x} / TWO_PI_EXPORTED : -((-I128{x} + TWO_PI_EXPORTED - 1) / TWO_PI_EXPORTED);
  return static_cast<std::int64_t>(I128{x} - q * TWO_PI_EXPORTED);
}

// ---- outcome of the kernel under test ------------------------------------------

template <class F>
std::optional<std::string> failureOf(F&& f) {
  try {
    f();
  } catch (const kovrix::Error& e) {
    return std::string(e.what());
  }
  return std::nullopt;
}

void checkSinCos(std::int64_t x) {
  std::pair<std::int64_t, std::int64_t> expected;
  try {
    expected = refSinCos(x);
  } catch (const RefFailure& f) {
    ASSERT_EQ(failureOf([&] { kovrix::sinCosCordic(Fixed{x}); }), f.message) << "sinCosCordic(" << x << ")";
    return;
  }
  const auto [s, c] = kovrix::sinCosCordic(Fixed{x});
  ASSERT_EQ(s.raw, expected.first) << "sin of sinCosCordic(" << x << ")";
  ASSERT_EQ(c.raw, expected.second) << "cos of sinCosCordic(" << x << ")";
}

void checkAtan2(std::int64_t y, std::int64_t x) {
  std::int64_t expected;
  try {
    expected = refAtan2(y, x);
  } catch (const RefFailure& f) {
    ASSERT_EQ(failureOf([&] { kovrix::atan2Cordic(Fixed{y}, Fixed{x}); }), f.message)
        << "atan2Cordic(" << y << ", " << x << ")";
    return;
  }
  ASSERT_EQ(kovrix::atan2Cordic(Fixed{y}, Fixed{x}).raw, expected) << "atan2Cordic(" << y << ", " << x << ")";
}

// ---- the tables ------------------------------------------------------------------

TEST(CordicTables, AnglesEqualTheirFloat64Computation) {
  std::int64_t sum = 0;
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(kovrix::getCordicAngle(i), refAngle(i)) << "angle " << i;
    EXPECT_EQ(kovrix::computeCordicAngle(i), refAngle(i)) << "computed angle " << i;
    sum += kovrix::getCordicAngle(i);
  }
  EXPECT_EQ(sum, 7487358999);
  const std::int64_t first[] = {3373259426, 1991351317, 1052175346, 534100634, 268086747, 134174062};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(kovrix::getCordicAngle(i), first[i]);
  EXPECT_EQ(kovrix::getCordicAngle(31), 2);
}

TEST(CordicTables, GainIsTheTruncatedProduct) {
  mpfr_t k, t;
  mpfr_inits2(200, k, t, static_cast<mpfr_ptr>(nullptr));
  mpfr_set_ui(k, 1, MPFR_RNDN);
  for (int i = 0; i < 32; ++i) {  // K = prod 1/sqrt(1 + 2^-2i)
    mpfr_set_ui_2exp(t, 1, -2 * i, MPFR_RNDN);
    mpfr_add_ui(t, t, 1, MPFR_RNDN);
    mpfr_rec_sqrt(t, t, MPFR_RNDN);
    mpfr_mul(k, k, t, MPFR_RNDN);
  }
  mpfr_mul_2ui(k, k, 32, MPFR_RNDN);
  mpfr_rint_trunc(k, k, MPFR_RNDZ);
  EXPECT_EQ(mpfr_get_si(k, MPFR_RNDZ), kovrix::getCordicGain());
  EXPECT_EQ(kovrix::getCordicGain(), 2608131496);
  mpfr_clears(k, t, static_cast<mpfr_ptr>(nullptr));
}

// ---- reductions --------------------------------------------------------------------

TEST(CordicReduction, ReduceQ32AndClampQ32) {
  for (int n = 0; n < 200000; ++n) {
    const std::int64_t x = kovrix::testsupport::anyInt64();
    ASSERT_EQ(kovrix::reduceQ32(Fixed{x}).raw, refReduceQ32(x)) << "reduceQ32(" << x << ")";
    ASSERT_EQ(reduceQ32(x), refReduceQ32(x)) << "exported reduceQ32(" << x << ")";
    const std::int64_t c = x < -(std::int64_t{1} << 62) ? -(std::int64_t{1} << 62)
                           : x > (std::int64_t{1} << 62) ? (std::int64_t{1} << 62) : x;
    ASSERT_EQ(kovrix::clampQ32(Fixed{x}).raw, c) << "clampQ32(" << x << ")";
    ASSERT_EQ(clampQ32(x), c) << "exported clampQ32(" << x << ")";
  }
  EXPECT_EQ(reduceQ32(TWO_PI_EXPORTED), 0);
  EXPECT_EQ(reduceQ32(-1), TWO_PI_EXPORTED - 1);
  EXPECT_EQ(reduceQ32(P), P);
  EXPECT_EQ(reduceQ32(INT64_MIN), refReduceQ32(INT64_MIN));
}

TEST(CordicReduction, ReduceAngleQuadrantBoundaries) {
  auto q = kovrix::reduceAngle(Fixed{HALF_PI});
  EXPECT_EQ(q.angle.raw, HALF_PI);
  EXPECT_EQ(q.sinSign, 1);
  EXPECT_EQ(q.cosSign, 1);
  q = kovrix::reduceAngle(Fixed{PI});
  EXPECT_EQ(q.angle.raw, 0);
  EXPECT_EQ(q.sinSign, 1);
  EXPECT_EQ(q.cosSign, -1);
  q = kovrix::reduceAngle(Fixed{3 * HALF_PI});
  EXPECT_EQ(q.angle.raw, HALF_PI);
  EXPECT_EQ(q.sinSign, -1);
  EXPECT_EQ(q.cosSign, -1);
  q = kovrix::reduceAngle(Fixed{3 * HALF_PI + 1});
  EXPECT_EQ(q.angle.raw, P - 3 * HALF_PI - 1);
  EXPECT_EQ(q.sinSign, -1);
  EXPECT_EQ(q.cosSign, 1);
  q = kovrix::reduceAngle(Fixed{-P});
  EXPECT_EQ(q.angle.raw, 0);
  EXPECT_EQ(q.sinSign, 1);
  q = kovrix::reduceAngle(Fixed{-1});
  EXPECT_EQ(q.angle.raw, 1);
  EXPECT_EQ(q.sinSign, -1);
  EXPECT_EQ(q.cosSign, 1);
  for (int n = 0; n < 200000; ++n) {
    const std::int64_t x = kovrix::testsupport::anyInt64();
    const auto got = kovrix::reduceAngle(Fixed{x});
    const RefQuadrant want = refReduceAngle(x);
    ASSERT_EQ(got.angle.raw, want.angle) << "reduceAngle(" << x << ")";
    ASSERT_EQ(got.sinSign, want.s) << "reduceAngle(" << x << ")";
    ASSERT_EQ(got.cosSign, want.c) << "reduceAngle(" << x << ")";
  }
}

// ---- rotation mode -------------------------------------------------------------------

TEST(CordicRotation, ListedResidues) {
  EXPECT_EQ(kovrix_cordic_sin(0), -3);
  EXPECT_EQ(kovrix_cordic_cos(0), 4294967303);
  EXPECT_EQ(kovrix_cordic_sin(HALF_PI), 4294967303);
  EXPECT_EQ(kovrix_cordic_cos(HALF_PI), -3);
  const auto [s, c] = kovrix::sinCosCordic(Fixed{PI});
  EXPECT_EQ(s.raw, -3);
  EXPECT_EQ(c.raw, -4294967303);
}

TEST(CordicRotation, ExhaustiveWindowsAroundBoundaries) {
  const std::int64_t centres[] = {0,      HALF_PI, -HALF_PI, PI,         -PI,        3 * HALF_PI, -3 * HALF_PI,
                                  P,      -P,      TWO_PI_EXPORTED, -TWO_PI_EXPORTED, 2 * P, -2 * P,
                                  P / 4,  INT64_MAX, INT64_MIN};
  constexpr std::int64_t w = 3000;
  for (std::int64_t c : centres) {
    const std::int64_t lo = c < INT64_MIN + w ? INT64_MIN : c - w;
    const std::int64_t hi = c > INT64_MAX - w ? INT64_MAX : c + w;
    for (std::int64_t x = lo;; ++x) {
      checkSinCos(x);
      // The export reduces by the exported period first.
      ASSERT_EQ(kovrix_cordic_sin(x), refSinCos(refReduceQ32(x)).first) << "kovrix_cordic_sin(" << x << ")";
      ASSERT_EQ(kovrix_cordic_cos(x), refSinCos(refReduceQ32(x)).second) << "kovrix_cordic_cos(" << x << ")";
      if (x == hi) break;
    }
  }
}

TEST(CordicRotation, RandomSweep) {
  for (int n = 0; n < 100000; ++n) {
    const std::int64_t x = kovrix::testsupport::anyInt64();
    checkSinCos(x);
    ASSERT_EQ(kovrix_cordic_sin(x), refSinCos(refReduceQ32(x)).first) << "kovrix_cordic_sin(" << x << ")";
  }
}

TEST(CordicRotation, AccuracyAgainstMpfr) {
  // Not the definition (that is the reference above) but a sanity bound: 32
  // steps with truncated angles and floor shifts stay within 2^-28, plus about
  // one raw unit per period for the truncated kernel period.
  const double worst = kovrix::testsupport::worstPairError(
      -4 * P, 4 * P, 20000,
      [](Fixed x) { return kovrix::sinCosCordic(x); }, mpfr_sin_cos);
  EXPECT_LT(worst, std::ldexp(1.0, -27)) << "largest error of sinCosCordic";
}

// ---- vectoring mode -------------------------------------------------------------------

TEST(CordicAtan2, ListedValues) {
  EXPECT_EQ(kovrix_cordic_atan2(0, 0), 0);
  EXPECT_EQ(kovrix_cordic_atan2(1, 0), 6746518852);
  EXPECT_EQ(kovrix_cordic_atan2(-1, 0), -6746518852);
  EXPECT_EQ(kovrix_cordic_atan2(0, -one), 13493037705);
  EXPECT_EQ(kovrix_cordic_atan2(one, one), 3373259423);
  EXPECT_EQ(kovrix_cordic_atan2(-one, -one), -10119778281);
}

TEST(CordicAtan2, WindowsAndRandomAgainstReference) {
  // Every small point around the origin and the axes, both signs.
  for (std::int64_t y = -40; y <= 40; ++y)
    for (std::int64_t x = -40; x <= 40; ++x) checkAtan2(y, x);
  for (std::int64_t d = -2000; d <= 2000; ++d) {
    checkAtan2(d, one);
    checkAtan2(d, -one);
    checkAtan2(one, d);
    checkAtan2(-one, d);
  }
  for (int n = 0; n < 100000; ++n) {
    std::int64_t y = kovrix::testsupport::anyInt64(), x = kovrix::testsupport::anyInt64();
    if (n % 2) y >>= kovrix::testsupport::below(64), x >>= kovrix::testsupport::below(64);
    checkAtan2(y, x);
    // The export clamps both coordinates to +-2^62 first.
    std::int64_t want = 0;
    bool fails = false;
    try {
      want = refAtan2(clampQ32(y), clampQ32(x));
    } catch (const RefFailure&) {
      fails = true;
    }
    kovrix::capi::clearPending();
    ASSERT_EQ(kovrix_cordic_atan2(y, x), fails ? 0 : want) << "kovrix_cordic_atan2(" << y << ", " << x << ")";
    ASSERT_EQ(kovrix::capi::errorPending(), fails) << "pending after kovrix_cordic_atan2(" << y << ", " << x << ")";
    kovrix::capi::clearPending();
  }
}

TEST(CordicAtan2, NegationAndSubtractionFailures) {
  EXPECT_EQ(failureOf([] { kovrix::atan2Cordic(Fixed{1}, Fixed{INT64_MIN}); }), "Fixed negation overflow");
  EXPECT_EQ(failureOf([] { kovrix::atan2Cordic(Fixed{INT64_MIN}, Fixed{-1}); }), "Fixed negation overflow");
  EXPECT_EQ(failureOf([] { kovrix::atan2Cordic(Fixed{std::int64_t{1} << 62}, Fixed{std::int64_t{1} << 62}); }),
            "over- or underflow");
}

// ---- the failure convention of the exports ---------------------------------------

TEST(CordicExports, OverflowIsLeftPendingAndStopsLaterKernelExports) {
  kovrix::capi::clearPending();
  const std::int64_t big = std::int64_t{1} << 62;
  EXPECT_EQ(kovrix_cordic_atan2(big, big), 0);
  ASSERT_TRUE(kovrix::capi::errorPending());
  EXPECT_EQ(kovrix::capi::pendingError().kind, kovrix::ErrorKind::overflowDefect);
  EXPECT_STREQ(kovrix::capi::pendingError().message, "over- or underflow");
  // Exports with a failing step return 0 without computing...
  EXPECT_EQ(kovrix_cordic_cos(0), 0);
  EXPECT_EQ(kovrix_cordic_sin(HALF_PI), 0);
  EXPECT_EQ(kovrix_cordic_atan2(one, one), 0);
  // ...those without one compute, and nothing clears the error.
  EXPECT_EQ(kovrix_lut_cos(0), one);
  EXPECT_EQ(reduceQ32(-1), TWO_PI_EXPORTED - 1);
  EXPECT_EQ(clampQ32(INT64_MAX), big);
  EXPECT_TRUE(kovrix::capi::errorPending());
  kovrix::capi::clearPending();
  EXPECT_EQ(kovrix_cordic_cos(0), 4294967303);
  // Clamping keeps the coordinates where the first step still fits.
  EXPECT_EQ(kovrix_cordic_atan2(big, big / 2), refAtan2(big, big / 2));
  EXPECT_FALSE(kovrix::capi::errorPending());
}

}  // namespace

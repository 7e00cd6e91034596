// The saturating Fixed exports against exact GMP formulas: every result is the
// int64 saturation of the exact value the operation names.  Random sweeps over
// the whole int64 range and fraction-bit counts -1..64, the listed edge cases,
// and which of these exports stop while an error is pending.
#include <gtest/gtest.h>

#include <cstdint>

#include "c_api/pending_error.hpp"
#include "support/mpz.hpp"
#include "support/fixed.hpp"
#include "kovrix.h"

namespace {

using kovrix::testsupport::anyInt64;
using kovrix::testsupport::below;
using kovrix::testsupport::Mpz;
using kovrix::testsupport::saturate;

constexpr std::int64_t one = std::int64_t{1} << 32;
constexpr std::int64_t kMax = INT64_MAX;
constexpr std::int64_t kMin = INT64_MIN;

// ---- reference formulas, straight from the definitions ------------------------

bool fracOk(int f, int hi) { return f >= 0 && f <= hi; }

std::int64_t refFromInt(std::int64_t v, int f) { return fracOk(f, 63) ? saturate(kovrix::testsupport::mul2exp(Mpz(v), static_cast<unsigned long>(f))) : 0; }
std::int64_t refToInt(std::int64_t x, int f) { return fracOk(f, 63) ? saturate(kovrix::testsupport::fdiv2exp(Mpz(x), static_cast<unsigned long>(f))) : 0; }
std::int64_t refAdd(std::int64_t a, std::int64_t b) { return saturate(Mpz(a) + Mpz(b)); }
std::int64_t refSub(std::int64_t a, std::int64_t b) { return saturate(Mpz(a) - Mpz(b)); }
std::int64_t refMul(std::int64_t a, std::int64_t b, int f) {
  return fracOk(f, 63) ? saturate(kovrix::testsupport::fdiv2exp(Mpz(a) * Mpz(b), static_cast<unsigned long>(f))) : 0;
}
std::int64_t refDiv(std::int64_t a, std::int64_t b, int f) {
  if (b == 0 || f < 0) return 0;
  return saturate(kovrix::testsupport::tdiv(kovrix::testsupport::mul2exp(Mpz(a), static_cast<unsigned long>(f)), Mpz(b)));
}
std::int64_t refAbs(std::int64_t a) {
  Mpz r;
  mpz_abs(r.get(), Mpz(a).get());
  return saturate(r);
}
std::int64_t refFloorMod(std::int64_t a, std::int64_t m) { return m == 0 ? 0 : saturate(kovrix::testsupport::fmod(Mpz(a), Mpz(m))); }
std::int64_t refFloor(std::int64_t x) { return saturate(kovrix::testsupport::mul2exp(kovrix::testsupport::fdiv2exp(Mpz(x), 32), 32)); }
std::int64_t refCeil(std::int64_t x) { return saturate(kovrix::testsupport::mul2exp(kovrix::testsupport::cdiv2exp(Mpz(x), 32), 32)); }
std::int64_t refRound(std::int64_t x) {
  // Saturate x + 1/2 first, then clear the fraction of what is left.
  const std::int64_t t = saturate(Mpz(x) + Mpz(std::int64_t{1} << 31));
  return saturate(kovrix::testsupport::mul2exp(kovrix::testsupport::fdiv2exp(Mpz(t), 32), 32));
}
std::int64_t refLerp(std::int64_t a, std::int64_t b, std::int64_t t) {
  return saturate(Mpz(a) + kovrix::testsupport::fdiv2exp((Mpz(b) - Mpz(a)) * Mpz(t), 32));
}
std::int64_t refClamp(std::int64_t x, std::int64_t lo, std::int64_t hi) {
  if (x < lo) return lo;
  return x < hi ? x : hi;
}

int randomFrac() { return static_cast<int>(below(66)) - 1; }  // -1 .. 64

constexpr int kRounds = 200000;

// ---- randomized agreement with the exact formulas ------------------------------

TEST(FixedExportsOracle, FromIntAndToInt) {
  for (int n = 0; n < kRounds; ++n) {
    const std::int64_t v = anyInt64();
    const int f = randomFrac();
    ASSERT_EQ(kovrix_fixed_from_int(v, f), refFromInt(v, f)) << "from_int(" << v << ", " << f << ")";
    ASSERT_EQ(kovrix_fixed_to_int(v, f), refToInt(v, f)) << "to_int(" << v << ", " << f << ")";
  }
}

TEST(FixedExportsOracle, AddSub) {
  for (int n = 0; n < kRounds; ++n) {
    const std::int64_t a = anyInt64(), b = anyInt64();
    ASSERT_EQ(kovrix_fixed_add(a, b), refAdd(a, b)) << "add(" << a << ", " << b << ")";
    ASSERT_EQ(kovrix_fixed_sub(a, b), refSub(a, b)) << "sub(" << a << ", " << b << ")";
  }
}

TEST(FixedExportsOracle, Mul) {
  for (int n = 0; n < kRounds; ++n) {
    const std::int64_t a = anyInt64(), b = anyInt64();
    const int f = randomFrac();
    ASSERT_EQ(kovrix_fixed_mul(a, b, f), refMul(a, b, f)) << "mul(" << a << ", " << b << ", " << f << ")";
  }
}

TEST(FixedExportsOracle, Div) {
  for (int n = 0; n < kRounds; ++n) {
    const std::int64_t a = anyInt64(), b = anyInt64();
    // Mostly -1..64, sometimes the wide counts where only bit lengths decide.
    const int f = below(8) == 0 ? static_cast<int>(below(200)) : randomFrac();
    ASSERT_EQ(kovrix_fixed_div(a, b, f), refDiv(a, b, f)) << "div(" << a << ", " << b << ", " << f << ")";
  }
}

TEST(FixedExportsOracle, DivAroundTheExactnessBoundary) {
  // la + f = 127 is the last count computed exactly; 128 the first decided by
  // the saturation test.  Sweep both sides for every bit length of a.
  for (int la = 1; la <= 64; ++la) {
    for (int f = 127 - la - 3; f <= 127 - la + 3; ++f) {
      if (f < 0) continue;
      for (int n = 0; n < 200; ++n) {
        // A random magnitude of exactly la bits.
        const std::uint64_t ma = (kovrix::testsupport::bits64() >> (64 - la)) | (std::uint64_t{1} << (la - 1));
        std::int64_t a = static_cast<std::int64_t>(ma);
        if (la == 64) a = kMin;  // the only magnitude of 64 bits
        else if (below(2)) a = -a;
        std::int64_t b = anyInt64();
        if (b == 0) b = kMin;
        ASSERT_EQ(kovrix_fixed_div(a, b, f), refDiv(a, b, f)) << "div(" << a << ", " << b << ", " << f << ")";
      }
    }
  }
}

TEST(FixedExportsOracle, CmpAbsSignClamp) {
  for (int n = 0; n < kRounds; ++n) {
    const std::int64_t a = anyInt64(), b = anyInt64(), c = anyInt64();
    ASSERT_EQ(kovrix_fixed_cmp(a, b), kovrix::testsupport::cmp(Mpz(a), Mpz(b)) < 0 ? -1 : (a == b ? 0 : 1))
        << "cmp(" << a << ", " << b << ")";
    ASSERT_EQ(kovrix_fixed_abs(a), refAbs(a)) << "abs(" << a << ")";
    ASSERT_EQ(kovrix_fixed_sign(a), mpz_sgn(Mpz(a).get())) << "sign(" << a << ")";
    ASSERT_EQ(kovrix_fixed_clamp(a, b, c), refClamp(a, b, c)) << "clamp(" << a << ", " << b << ", " << c << ")";
  }
}

TEST(FixedExportsOracle, FloorModFloorCeilRound) {
  for (int n = 0; n < kRounds; ++n) {
    const std::int64_t a = anyInt64();
    std::int64_t m = anyInt64();
    if (below(16) == 0) m = static_cast<std::int64_t>(below(5)) - 2;  // -2..2
    ASSERT_EQ(kovrix_fixed_floor_mod(a, m), refFloorMod(a, m)) << "floor_mod(" << a << ", " << m << ")";
    ASSERT_EQ(kovrix_fixed_floor(a), refFloor(a)) << "floor(" << a << ")";
    ASSERT_EQ(kovrix_fixed_ceil(a), refCeil(a)) << "ceil(" << a << ")";
    ASSERT_EQ(kovrix_fixed_round(a), refRound(a)) << "round(" << a << ")";
  }
}

TEST(FixedExportsOracle, Lerp) {
  for (int n = 0; n < kRounds; ++n) {
    const std::int64_t a = anyInt64(), b = anyInt64();
    const std::int64_t t = below(2) ? anyInt64() : static_cast<std::int64_t>(below(static_cast<std::uint64_t>(one) + 1));
    ASSERT_EQ(kovrix_fixed_lerp(a, b, t), refLerp(a, b, t)) << "lerp(" << a << ", " << b << ", " << t << ")";
  }
}

// ---- identities ----------------------------------------------------------------

TEST(FixedExportsIdentities, MulByOneAndDivByOneAreIdentity) {
  for (int n = 0; n < 50000; ++n) {
    const std::int64_t a = anyInt64();
    ASSERT_EQ(kovrix_fixed_mul(a, one, 32), a) << "a * 1 = a for a = " << a;
    ASSERT_EQ(kovrix_fixed_div(a, one, 32), a) << "a / 1 = a for a = " << a;
    ASSERT_EQ(kovrix_fixed_lerp(a, a, anyInt64()), a) << "lerp(a, a, t) = a for a = " << a;
    ASSERT_EQ(kovrix_fixed_cmp(a, a), 0) << "cmp(a, a) for a = " << a;
  }
}

TEST(FixedExportsIdentities, FloorModDecomposition) {
  // a = q*m + r with 0 <= r < m (or m < r <= 0) for some integer q.
  for (int n = 0; n < 50000; ++n) {
    const std::int64_t a = anyInt64(), m = anyInt64();
    if (m == 0) continue;
    const std::int64_t r = kovrix_fixed_floor_mod(a, m);
    ASSERT_TRUE(m > 0 ? (r >= 0 && r < m) : (r <= 0 && r > m)) << "range of floor_mod(" << a << ", " << m << ")";
    Mpz rem;
    mpz_tdiv_r(rem.get(), (Mpz(a) - Mpz(r)).get(), Mpz(m).get());
    ASSERT_EQ(mpz_sgn(rem.get()), 0) << "m divides a - r for floor_mod(" << a << ", " << m << ")";
  }
}

// ---- listed edge cases ---------------------------------------------------------

TEST(FixedExportsEdges, FromIntToInt) {
  EXPECT_EQ(kovrix_fixed_from_int(1, 32), one);
  EXPECT_EQ(kovrix_fixed_from_int(std::int64_t{1} << 31, 32), kMax);
  EXPECT_EQ(kovrix_fixed_from_int(-(std::int64_t{1} << 31), 32), kMin);
  EXPECT_EQ(kovrix_fixed_from_int(5, 64), 0);
  EXPECT_EQ(kovrix_fixed_from_int(5, -1), 0);
  EXPECT_EQ(kovrix_fixed_from_int(5, 0), 5);
  EXPECT_EQ(kovrix_fixed_from_int(5, INT32_MAX), 0);
  EXPECT_EQ(kovrix_fixed_from_int(5, INT32_MIN), 0);
  EXPECT_EQ(kovrix_fixed_from_int(-1, 63), kMin);
  EXPECT_EQ(kovrix_fixed_to_int(-1, 32), -1);
  EXPECT_EQ(kovrix_fixed_to_int(one + (one >> 1), 32), 1);
  for (std::int64_t x : {std::int64_t{0}, std::int64_t{-1}, kMax, kMin, one})
    EXPECT_EQ(kovrix_fixed_to_int(x, 64), 0) << x;
  EXPECT_EQ(kovrix_fixed_to_int(kMin, 63), -1);
  EXPECT_EQ(kovrix_fixed_to_int(7, -1), 0);
}

TEST(FixedExportsEdges, MulDiv) {
  EXPECT_EQ(kovrix_fixed_mul(-1, 1, 32), -1);
  EXPECT_EQ(kovrix_fixed_mul(one, one, 32), one);
  EXPECT_EQ(kovrix_fixed_mul(std::int64_t{1} << 62, std::int64_t{1} << 62, 32), kMax);
  EXPECT_EQ(kovrix_fixed_mul(kMin, kMin, 63), kMax);
  EXPECT_EQ(kovrix_fixed_mul(kMin, kMax, 63), kMin + 1);
  EXPECT_EQ(kovrix_fixed_mul(3, 5, 64), 0);
  EXPECT_EQ(kovrix_fixed_div(1, 0, 32), 0);
  EXPECT_EQ(kovrix_fixed_div(-1, std::int64_t{1} << 33, 32), 0);
  EXPECT_EQ(kovrix_fixed_div(one, 3 * one, 32), 1431655765);
  EXPECT_EQ(kovrix_fixed_div(5, 7, -1), 0);
  EXPECT_EQ(kovrix_fixed_div(1, 1, 100), kMax);
  EXPECT_EQ(kovrix_fixed_div(-1, 1, 100), kMin);
  EXPECT_EQ(kovrix_fixed_div(kMin, -1, 0), kMax);   // 2^63 saturates
  EXPECT_EQ(kovrix_fixed_div(kMin, 1, 0), kMin);    // exactly -2^63
  EXPECT_EQ(kovrix_fixed_div(-1, kMin, 63), 1);     // -2^63 / -2^63
  EXPECT_EQ(kovrix_fixed_div(1, std::int64_t{1} << 62, 100), std::int64_t{1} << 38);
}

TEST(FixedExportsEdges, DivWithHugeFractionCountSaturatesByBitLengths) {
  // Decided from bit lengths: no shift by two billion bits is ever formed.
  for (std::int32_t f : {128, 1000, INT32_MAX - 1, INT32_MAX}) {
    EXPECT_EQ(kovrix_fixed_div(1, kMax, f), kMax) << f;
    EXPECT_EQ(kovrix_fixed_div(1, kMin, f), kMin) << f;
    EXPECT_EQ(kovrix_fixed_div(-1, kMin, f), kMax) << f;
    EXPECT_EQ(kovrix_fixed_div(0, 3, f), 0) << f;
  }
}

TEST(FixedExportsEdges, AddSubAbs) {
  EXPECT_EQ(kovrix_fixed_add(kMax, 1), kMax);
  EXPECT_EQ(kovrix_fixed_add(kMin, -1), kMin);
  EXPECT_EQ(kovrix_fixed_sub(kMin, 1), kMin);
  EXPECT_EQ(kovrix_fixed_sub(kMax, -1), kMax);
  EXPECT_EQ(kovrix_fixed_sub(0, kMin), kMax);
  EXPECT_EQ(kovrix_fixed_abs(kMin), kMax);
  EXPECT_EQ(kovrix_fixed_abs(-5), 5);
  EXPECT_EQ(kovrix_fixed_sign(kMin), -1);
  EXPECT_EQ(kovrix_fixed_sign(0), 0);
  EXPECT_EQ(kovrix_fixed_sign(kMax), 1);
}

TEST(FixedExportsEdges, FloorModAndRounding) {
  EXPECT_EQ(kovrix_fixed_floor_mod(-1, one), one - 1);
  EXPECT_EQ(kovrix_fixed_floor_mod(1, -one), 1 - one);
  EXPECT_EQ(kovrix_fixed_floor_mod(12345, 0), 0);
  EXPECT_EQ(kovrix_fixed_floor_mod(6, 3), 0);
  EXPECT_EQ(kovrix_fixed_floor_mod(kMin, -1), 0);  // must not trap
  EXPECT_EQ(kovrix_fixed_floor_mod(kMin, 1), 0);
  EXPECT_EQ(kovrix_fixed_floor_mod(kMin, kMax), kMax - 1);
  EXPECT_EQ(kovrix_fixed_floor_mod(kMax, kMin), -1);
  EXPECT_EQ(kovrix_fixed_floor(-(std::int64_t{1} << 31)), -one);
  EXPECT_EQ(kovrix_fixed_ceil(kMax), kMax);
  EXPECT_EQ(kovrix_fixed_ceil(one), one);
  EXPECT_EQ(kovrix_fixed_ceil(1), one);
  EXPECT_EQ(kovrix_fixed_ceil(-1), 0);
  EXPECT_EQ(kovrix_fixed_round(std::int64_t{1} << 31), one);
  EXPECT_EQ(kovrix_fixed_round(-(std::int64_t{1} << 31)), 0);
  EXPECT_EQ(kovrix_fixed_round(-3 * (std::int64_t{1} << 31)), -one);
  EXPECT_EQ(kovrix_fixed_round(kMax), static_cast<std::int64_t>(0x7FFFFFFF00000000ULL));
  EXPECT_EQ(kovrix_fixed_round(kMin), kMin);
}

TEST(FixedExportsEdges, ClampLerpConstants) {
  // lo > hi: a value below lo gives lo, any other value gives hi.
  EXPECT_EQ(kovrix_fixed_clamp(5, 10, 0), 10);
  EXPECT_EQ(kovrix_fixed_clamp(-5, 10, 0), 10);
  EXPECT_EQ(kovrix_fixed_clamp(15, 10, 0), 0);
  EXPECT_EQ(kovrix_fixed_clamp(10, 10, 0), 0);
  EXPECT_EQ(kovrix_fixed_clamp(5, 0, 10), 5);
  EXPECT_EQ(kovrix_fixed_lerp(0, one, std::int64_t{1} << 31), std::int64_t{1} << 31);
  EXPECT_EQ(kovrix_fixed_lerp(0, -1, std::int64_t{1} << 31), -1);
  EXPECT_EQ(kovrix_fixed_lerp(17, -99, 0), 17);
  EXPECT_EQ(kovrix_fixed_lerp(17, -99, one), -99);
  EXPECT_EQ(kovrix_fixed_lerp(kMin, kMax, kMin), kMin);
  EXPECT_EQ(kovrix_fixed_lerp(kMax, kMin, kMin), kMax);
  EXPECT_EQ(kovrix_pi_fixed(), 13493037704);
  EXPECT_EQ(kovrix_e_fixed(), 11674931554);
}

// ---- with an error pending ---------------------------------------------------
//
// The operations on the exact big-integer value and the two constants stop:
// 0, the error left as it was.  The plain int64 operations compute.  The
// argument checks come first, so their answers are the same either way.

TEST(FixedExportsPending, BigIntegerStepsStopPlainOperationsCompute) {
  kovrix::capi::setPending(kovrix::ErrorKind::overflowDefect, "left by an earlier call");
  EXPECT_EQ(kovrix_fixed_from_int(3, 32), 0);
  EXPECT_EQ(kovrix_fixed_add(2, 3), 0);
  EXPECT_EQ(kovrix_fixed_sub(2, 3), 0);
  EXPECT_EQ(kovrix_fixed_mul(2 * one, 3 * one, 32), 0);
  EXPECT_EQ(kovrix_fixed_div(6 * one, 3 * one, 32), 0);
  EXPECT_EQ(kovrix_fixed_abs(-4), 0);
  EXPECT_EQ(kovrix_fixed_ceil(one + 1), 0);
  EXPECT_EQ(kovrix_fixed_round(one + 1), 0);
  EXPECT_EQ(kovrix_fixed_lerp(0, 4 * one, one / 4), 0);
  EXPECT_EQ(kovrix_pi_fixed(), 0);
  EXPECT_EQ(kovrix_e_fixed(), 0);

  EXPECT_EQ(kovrix_fixed_to_int(3 * one, 32), 3);
  EXPECT_EQ(kovrix_fixed_cmp(1, 2), -1);
  EXPECT_EQ(kovrix_fixed_sign(-4), -1);
  EXPECT_EQ(kovrix_fixed_clamp(9, 0, 5), 5);
  EXPECT_EQ(kovrix_fixed_floor_mod(-1, 5), 4);
  EXPECT_EQ(kovrix_fixed_floor(one + 1), one);
  EXPECT_EQ(kovrix_fixed_ceil(3 * one), 3 * one);  // an integer value: no big-integer step
  EXPECT_EQ(kovrix_fixed_ceil(-3 * one), -3 * one);
  EXPECT_TRUE(kovrix::capi::errorPending());
  EXPECT_EQ(kovrix::capi::pendingError().kind, kovrix::ErrorKind::overflowDefect);
  kovrix::capi::clearPending();

  // Nothing pending: the same calls compute.
  EXPECT_EQ(kovrix_fixed_add(2, 3), 5);
  EXPECT_EQ(kovrix_fixed_ceil(one + 1), 2 * one);
  EXPECT_EQ(kovrix_pi_fixed(), 13493037704);
  EXPECT_FALSE(kovrix::capi::errorPending());
}

TEST(FixedExportsPending, NeverRaise) {
  // Saturation and rejected arguments are answers, not failures.
  kovrix::capi::clearPending();
  kovrix_fixed_add(kMax, kMax);
  kovrix_fixed_mul(kMax, kMax, 0);
  kovrix_fixed_div(1, 0, 32);
  kovrix_fixed_div(1, 1, INT32_MAX);
  kovrix_fixed_from_int(kMax, 63);
  kovrix_fixed_from_int(1, -5);
  kovrix_fixed_ceil(kMax);
  kovrix_fixed_round(kMax);
  kovrix_fixed_lerp(kMin, kMax, kMax);
  kovrix_fixed_floor_mod(kMin, -1);
  EXPECT_FALSE(kovrix::capi::errorPending());
}

}  // namespace

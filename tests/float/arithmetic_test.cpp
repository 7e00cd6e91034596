// Rounded BigFloat arithmetic and comparison against MPFR at 256 bits: every
// result equals MPFR's in the three directed modes, and MPFR's round-to-
// nearest-away in `nearest`.
#include <gtest/gtest.h>

#include "float/arithmetic.hpp"
#include "float/comparison.hpp"
#include "support/big_float_mpfr.hpp"

namespace kovrix::testsupport {
namespace {

constexpr std::int64_t P = 256;
using MpfrOp = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);
using OurOp = BigFloat (*)(const BigFloat&, const BigFloat&, std::int64_t, RoundingMode);

struct Op {
  const char* name;
  OurOp ours;
  MpfrOp theirs;
};
const Op kOps[] = {{"add", addRounded, mpfr_add}, {"sub", subRounded, mpfr_sub},
                   {"mul", mulRounded, mpfr_mul}, {"div", divRounded, mpfr_div}};
const RoundingMode kModes[] = {RoundingMode::nearest, RoundingMode::towardZero, RoundingMode::towardPositive,
                               RoundingMode::towardNegative};

BigFloat oracle(const Op& op, const BigFloat& a, const BigFloat& b, RoundingMode mode, std::int64_t p) {
  Mpfr x, y, r(p);
  toMpfr(x, a);
  toMpfr(y, b);
  switch (mode) {
    case RoundingMode::nearest:
      mpfr_round_nearest_away_begin(r);
      mpfr_round_nearest_away_end(r, op.theirs(r, x, y, MPFR_RNDN));
      break;
    case RoundingMode::towardZero: op.theirs(r, x, y, MPFR_RNDZ); break;
    case RoundingMode::towardPositive: op.theirs(r, x, y, MPFR_RNDU); break;
    case RoundingMode::towardNegative: op.theirs(r, x, y, MPFR_RNDD); break;
  }
  return fromMpfr(r);
}

// Operand pairs of p bits by family.
enum class Family { randomExponents, closeExponents, cancellation, ties, gapAroundP64, limbDivisor };

std::pair<BigFloat, BigFloat> operands(Family f, const Op& op, std::int64_t p) {
  BigFloat a = randomBigFloat(p, -300, 300);
  BigFloat b = randomBigFloat(p, -300, 300);
  switch (f) {
    case Family::randomExponents: break;
    case Family::closeExponents: b.exponent = a.exponent + static_cast<std::int64_t>(below(7)) - 3; break;
    case Family::cancellation: {
      // b = a, or a with a few low bits changed, with the sign that cancels.
      BigFloat c = a;
      if (below(2)) c.mantissa = add(c.mantissa, initBigUInt(below(16)));
      normalize(c, p);
      c.negative = (op.ours == subRounded) ? a.negative : !a.negative;
      b = c;
      break;
    }
    case Family::ties:
      if (op.ours == mulRounded) {
        // 3a * 2^254 with a odd: a tie whenever 3a has 257 bits.
        a.mantissa = bitOr(a.mantissa, initBigUInt(1));
        b.mantissa = shl(initBigUInt(3), p - 2);
      } else {
        // An odd b one bit below a's lowest bit: the sum of p + 1 bits ends in 1.
        b.mantissa = bitOr(b.mantissa, initBigUInt(1));
        b.exponent = a.exponent - 1 - static_cast<std::int64_t>(below(2));
      }
      break;
    case Family::gapAroundP64:
      b.exponent = a.exponent - (p + 56 + static_cast<std::int64_t>(below(17)));
      if (below(2)) std::swap(a, b);
      break;
    case Family::limbDivisor:
      // One nonzero limb on top: the single-limb division route.
      b.mantissa = shl(initBigUInt(randomLimb() | (Limb{1} << 63)), p - 64);
      break;
  }
  return {a, b};
}

// At 256 bits `nearest` runs the fixed-size kernels and the directed modes
// the general steps; at 200 bits every mode runs the general steps.
TEST(BigFloatArithmetic, AgreesWithMpfrInEveryMode) {
  KOVRIX_SEED_TRACE();
  int mismatches = 0;
  for (const std::int64_t p : {P, std::int64_t{200}})
  for (const Op& op : kOps)
    for (int f = 0; f <= static_cast<int>(Family::limbDivisor); ++f)
      for (RoundingMode mode : kModes)
        for (int trial = 0; trial < 250 && mismatches < 10; ++trial) {
          auto [a, b] = operands(static_cast<Family>(f), op, p);
          if (op.ours == divRounded && b.isZero()) continue;
          const BigFloat got = op.ours(a, b, p, mode);
          const BigFloat want = oracle(op, a, b, mode, p);
          if (!(got == want)) {
            ++mismatches;
            ADD_FAILURE() << op.name << " at " << p << " bits, family " << f << " mode " << int(mode) << "\n a = " << describe(a)
                          << "\n b = " << describe(b) << "\n got  " << describe(got) << "\n want " << describe(want);
          }
        }
}

// Operands of any length up to four limbs at precisions up to 256 (the
// square root's lower-precision steps): sums with exponents within p + 64 of
// each other and products are correctly rounded, nearest away from zero.
TEST(BigFloatArithmetic, ShortOperandsAgreeWithMpfr) {
  KOVRIX_SEED_TRACE();
  for (int trial = 0; trial < 6000; ++trial) {
    const std::int64_t p = trial % 4 == 0 ? 256 : between(1, 256);
    const BigFloat a = randomBigFloat(between(1, 256), -300, 300);
    BigFloat b = randomBigFloat(between(1, 256), -300, 300);
    if (below(2)) b.exponent = a.exponent + between(-(p + 64), p + 64);
    const Op& op = kOps[trial % 3];  // add, sub, mul
    if (op.ours != mulRounded && std::abs(a.exponent - b.exponent) > p + 64) continue;
    ASSERT_EQ(op.ours(a, b, p, RoundingMode::nearest), oracle(op, a, b, RoundingMode::nearest, p))
        << op.name << " at " << p << " bits\n a = " << describe(a) << "\n b = " << describe(b);
  }
}

TEST(BigFloatArithmetic, CmpAgreesWithMpfrAcrossPrecisions) {
  KOVRIX_SEED_TRACE();
  for (int trial = 0; trial < 3000; ++trial) {
    BigFloat a = randomBigFloat(1 + static_cast<std::int64_t>(below(300)), -40, 40);
    BigFloat b = randomBigFloat(1 + static_cast<std::int64_t>(below(300)), -40, 40);
    if (below(4) == 0) {  // the same value at another precision, or its negation
      b = a;
      normalize(b, 1 + static_cast<std::int64_t>(bitLength(a.mantissa) + below(100)));
      if (below(2)) b.negative = !b.negative;
    }
    if (below(10) == 0) a = BigFloat{};
    Mpfr x, y;
    toMpfr(x, a);
    toMpfr(y, b);
    const int want = (mpfr_cmp(x, y) > 0) - (mpfr_cmp(x, y) < 0);
    ASSERT_EQ(cmp(a, b), want) << describe(a) << " vs " << describe(b);
    ASSERT_EQ(cmp(b, a), -want);
  }
}

// The series arithmetic's short paths (division by a small integer, halving,
// doubling) give the general operations' results.
TEST(BigFloatArithmetic, SeriesShortPathsMatchTheGeneralSteps) {
  KOVRIX_SEED_TRACE();
  using A = BigFloatArithmetic;
  for (int trial = 0; trial < 2000; ++trial) {
    const BigFloat a = randomBigFloat(P, -300, 300);
    const std::int64_t k = trial % 3 == 0 ? between(1, std::int64_t{1} << 53) : between(1, 2000);
    ASSERT_EQ(A::divInt(a, k), a / A::integer(k)) << describe(a) << " / " << k;
    ASSERT_EQ(A::half(a), a * initBigFloat(P, 0.5));
    ASSERT_EQ(A::twice(a), A::integer(2) * a);
  }
}

// Division by an integer 0 < k < 2^63 (the reciprocal table, powers of two,
// the hardware path up to 2^63) against MPFR's, nearest away from zero.
TEST(BigFloatArithmetic, DivisionBySmallIntegerAgreesWithMpfr) {
  KOVRIX_SEED_TRACE();
  const std::uint64_t top = std::uint64_t{1} << 63;
  for (int trial = 0; trial < 20000; ++trial) {
    const BigFloat a = randomBigFloat(P, -300, 300);
    const std::uint64_t cases[] = {std::uint64_t(1 + trial / 5 % 2047), std::uint64_t{1} << (trial / 5 % 63),
                                   top - 1 - below(1000), std::max<std::uint64_t>(randomLimb() >> 1, 1),
                                   std::uint64_t(2 * between(1, 511) + 1) << below(50)};
    const std::uint64_t k = cases[trial % 5];
    Mpfr x, r(P);
    toMpfr(x, a);
    mpfr_round_nearest_away_begin(r);
    mpfr_round_nearest_away_end(r, mpfr_div_ui(r, x, k, MPFR_RNDN));
    ASSERT_EQ(mantissa256::divSmall(a, k), fromMpfr(r)) << describe(a) << " / " << k;
  }
}

BigFloat at(double v, std::int64_t p = P) { return initBigFloat(p, v); }
// 2^e with a mantissa of p bits.
BigFloat pow2(std::int64_t e) { return BigFloat{false, e - (P - 1), shl(initBigUInt(1), P - 1)}; }

TEST(BigFloatArithmetic, StatedValues) {
  const BigFloat one = at(1.0);
  for (RoundingMode mode : kModes) {
    const BigFloat x = at(-3.75);
    EXPECT_EQ(subRounded(x, x, P, mode), BigFloat{});
    EXPECT_EQ(addRounded(x, -x, P, mode), BigFloat{});
  }
  EXPECT_EQ(at(0.0) * at(-5.0), BigFloat{});
  EXPECT_EQ(one + pow2(-400), one);
  EXPECT_EQ(addRounded(one, pow2(-400), P, RoundingMode::towardPositive), (BigFloat{false, -255, add(shl(initBigUInt(1), 255), initBigUInt(1))}));
  // The far-operand shortcut toward zero with an operand of the other sign
  // drops one unit, as the correctly rounded result does.
  EXPECT_EQ(addRounded(one, -pow2(-400), P, RoundingMode::towardZero),
            (BigFloat{false, -256, sub(shl(initBigUInt(1), 256), initBigUInt(1))}));
  EXPECT_EQ(one + pow2(-257), one);
  EXPECT_EQ(one + pow2(-256), (BigFloat{false, -255, add(shl(initBigUInt(1), 255), initBigUInt(1))}));
  EXPECT_EQ(-one - pow2(-256), (BigFloat{true, -255, add(shl(initBigUInt(1), 255), initBigUInt(1))}));
  // 1/3: 0xAAAA...AB * 2^-257.
  BigUInt third = initBigUInt(0);
  for (int i = 0; i < 64; ++i) third = add(shl(third, 4), initBigUInt(i == 63 ? 0xB : 0xA));
  EXPECT_EQ(one / at(3.0), (BigFloat{false, -257, third}));
  const BigFloat allOnes{false, 0, sub(shl(initBigUInt(1), 256), initBigUInt(1))};
  EXPECT_EQ(allOnes + one, (BigFloat{false, 1, shl(initBigUInt(1), 255)}));
  EXPECT_EQ(cmp(one, at(1.0, 53)), 0);
  EXPECT_EQ(cmp(at(-2.0), at(-3.0)), 1);
  EXPECT_EQ(cmp(BigFloat{}, at(-1.0)), 1);
  EXPECT_THROW(one / BigFloat{}, DivByZeroDefect);
  const BigFloat huge{false, INT64_MAX, initBigUInt(1)};
  EXPECT_THROW(huge * (BigFloat{false, 1, initBigUInt(1)}), OverflowDefect);
}

}  // namespace
}  // namespace kovrix::testsupport

// Interval arithmetic: the listed edge cases, bit-for-bit agreement with a
// reference written from the definitions (on std::nextafter), and containment
// of the exact result (MPFR at 256 bits, rounded both ways) for random members
// of random operands.
#include "interval/arithmetic.hpp"

#include <climits>
#include <vector>

#include "c_api/pending_error.hpp"
#include "support/interval.hpp"

namespace {

using namespace kovrix::testsupport;
using kovrix::Interval;

// ---- reference, one line per definition --------------------------------------
namespace ref {
Interval add(Interval a, Interval b) { return {refDown(a.lo + b.lo), refUp(a.hi + b.hi)}; }
Interval sub(Interval a, Interval b) { return {refDown(a.lo - b.hi), refUp(a.hi - b.lo)}; }
Interval neg(Interval x) { return {refDown(-x.hi), refUp(-x.lo)}; }
Interval mul(Interval a, Interval b) {
  const double p[4] = {a.lo * b.lo, a.lo * b.hi, a.hi * b.lo, a.hi * b.hi};
  double mn = p[0], mx = p[0];
  for (int i = 1; i < 4; ++i) mn = refMin(mn, p[i]), mx = refMax(mx, p[i]);
  return {refDown(mn), refUp(mx)};
}
Interval divKernel(Interval a, Interval b) {
  const double q[4] = {a.lo / b.hi, a.lo / b.lo, a.hi / b.hi, a.hi / b.lo};
  double mn = q[0], mx = q[0];
  for (int i = 1; i < 4; ++i) mn = refMin(mn, q[i]), mx = refMax(mx, q[i]);
  return {refDown(mn), refUp(mx)};
}
Interval div(Interval a, Interval b) {
  if (b.lo <= 0 && 0 <= b.hi) return {-kInf, kInf};
  return divKernel(a, b);
}
Interval sqrt(Interval x) {
  if (x.hi < 0) return {kNaN, kNaN};
  const double lo = refMax(x.lo, 0.0);
  return {lo == 0 ? 0.0 : refDown(std::sqrt(lo)), refUp(std::sqrt(x.hi))};
}
Interval abs(Interval x) {
  if (x.lo >= 0) return {refDown(x.lo), refUp(x.hi)};
  if (x.hi <= 0) return {refDown(-x.hi), refUp(-x.lo)};
  return {0.0, refUp(refMax(std::fabs(x.lo), std::fabs(x.hi)))};
}
Interval powPos(Interval x, std::int64_t n) {
  const double e = static_cast<double>(n);
  if (n % 2 != 0) return {refDown(refDown(std::pow(x.lo, e))), refUp(refUp(std::pow(x.hi, e)))};
  const Interval m = ref::abs(x);
  return {refDown(refDown(std::pow(m.lo, e))), refUp(refUp(std::pow(m.hi, e)))};
}
// The export: NaN pair for a negative power of an interval holding zero.
Interval pow(Interval x, std::int64_t n) {
  if (n == 0) return {1, 1};
  if (n > 0) return powPos(x, n);
  if (x.lo <= 0 && 0 <= x.hi) return {kNaN, kNaN};
  return powPos(divKernel({1, 1}, x), -n);
}
}  // namespace ref

Interval callAdd(Interval a, Interval b) { return I(kovrix_interval_add(C(a), C(b))); }
Interval callSub(Interval a, Interval b) { return I(kovrix_interval_sub(C(a), C(b))); }
Interval callMul(Interval a, Interval b) { return I(kovrix_interval_mul(C(a), C(b))); }
Interval callDiv(Interval a, Interval b) { return I(kovrix_interval_div(C(a), C(b))); }
Interval callSqrt(Interval x) { return I(kovrix_interval_sqrt(C(x))); }
Interval callNeg(Interval x) { return I(kovrix_interval_neg(C(x))); }
Interval callPow(Interval x, int n) { return I(kovrix_interval_pow(C(x), n)); }

#define EXPECT_IV(actual, lo_, hi_)                                                        \
  do {                                                                                     \
    const Interval got_ = (actual);                                                        \
    EXPECT_TRUE(sameBits(got_, Interval{lo_, hi_}))                                        \
        << #actual << " = " << show(got_) << ", expected " << show(Interval{lo_, hi_});   \
  } while (0)

// ---- the stepping helpers ------------------------------------------------------

TEST(IntervalSteps, SpecialValues) {
  using kovrix::nextDown;
  using kovrix::nextUp;
  EXPECT_TRUE(sameBits(nextDown(0.0), -kMinSub));
  EXPECT_TRUE(sameBits(nextDown(-0.0), -kMinSub));
  EXPECT_TRUE(sameBits(nextUp(0.0), kMinSub));
  EXPECT_TRUE(sameBits(nextUp(-0.0), kMinSub));
  EXPECT_TRUE(sameBits(nextDown(-kInf), -kInf));
  EXPECT_TRUE(sameBits(nextUp(kInf), kInf));
  EXPECT_TRUE(sameBits(nextDown(kInf), kMax));
  EXPECT_TRUE(sameBits(nextUp(-kInf), -kMax));
  EXPECT_TRUE(sameBits(nextUp(kMax), kInf));
  EXPECT_TRUE(sameBits(nextDown(-kMax), -kInf));
  EXPECT_TRUE(std::isnan(nextDown(kNaN)) && std::isnan(nextUp(kNaN)));
  EXPECT_TRUE(sameBits(nextDown(kMinSub), 0.0));
  EXPECT_TRUE(sameBits(nextUp(-kMinSub), -0.0));
  EXPECT_TRUE(sameBits(nextDown(1.0), 0.99999999999999989));
  EXPECT_TRUE(sameBits(nextUp(1.0), 1.0000000000000002));
  EXPECT_TRUE(sameBits(nextUp(0x1p-1022 - kMinSub), 0x1p-1022));
}

TEST(IntervalSteps, AgreeWithNextafterOnRandomBits) {
  for (int i = 0; i < 200000; ++i) {
    const double v = std::bit_cast<double>(bits64());
    ASSERT_TRUE(sameBits(kovrix::nextDown(v), refDown(v))) << "nextDown " << show(v) << seedNote();
    ASSERT_TRUE(sameBits(kovrix::nextUp(v), refUp(v))) << "nextUp " << show(v) << seedNote();
  }
}

TEST(IntervalSteps, MinMaxSkipNaN) {
  using kovrix::maxBound;
  using kovrix::minBound;
  EXPECT_EQ(minBound(1, kNaN), 1);
  EXPECT_EQ(minBound(kNaN, 1), 1);
  EXPECT_EQ(maxBound(1, kNaN), 1);
  EXPECT_EQ(maxBound(kNaN, 1), 1);
  EXPECT_TRUE(std::isnan(minBound(kNaN, kNaN)) && std::isnan(maxBound(kNaN, kNaN)));
  EXPECT_EQ(minBound(-kInf, 3), -kInf);
  EXPECT_EQ(maxBound(-kInf, 3), 3);
}

// ---- the listed cases ------------------------------------------------------------

TEST(IntervalArithmetic, ListedCases) {
  EXPECT_IV(callAdd({1, 1}, {2, 2}), 2.9999999999999996, 3.0000000000000004);
  EXPECT_IV(callAdd({0, 0}, {0, 0}), -kMinSub, kMinSub);
  EXPECT_IV(callNeg({1, 2}), kovrix::nextDown(-2.0), kovrix::nextUp(-1.0));
  EXPECT_IV(callDiv({1, 2}, {-1, 1}), -kInf, kInf);
  EXPECT_IV(callDiv({1, 2}, {0, 0}), -kInf, kInf);
  EXPECT_IV(callDiv({1, 2}, {2, 4}), 0.24999999999999997, 1.0000000000000002);
  EXPECT_IV(callSqrt({-1, 4}), 0.0, kovrix::nextUp(2.0));
  EXPECT_IV(callSqrt({-2, -1}), kNaN, kNaN);
  EXPECT_IV(callSqrt({0, 0}), 0.0, kMinSub);
  EXPECT_IV(callPow({-1, 1}, 0), 1.0, 1.0);
  EXPECT_IV(callPow({-2, 3}, 2), -1e-323, 9.000000000000007);
  EXPECT_IV(callPow({-1, 1}, -1), kNaN, kNaN);
  EXPECT_IV(callPow({2, 4}, -1), 0.24999999999999992, 0.5000000000000003);
  EXPECT_IV(callMul({0, 1}, {1, kInf}), -kMinSub, kInf);
  EXPECT_FALSE(kovrix::capi::errorPending());
}

TEST(IntervalArithmetic, NaNQuietPattern) {
  const Interval r = callSqrt({-2, -1});
  EXPECT_EQ(std::bit_cast<std::uint64_t>(r.lo), 0x7FF8000000000000ULL);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(r.hi), 0x7FF8000000000000ULL);
}

TEST(IntervalArithmetic, KernelFailures) {
  try {
    (void)(Interval{1, 2} / Interval{-1, 1});
    ADD_FAILURE() << "division by [-1, 1] did not raise";
  } catch (const kovrix::DivByZeroDefect& e) {
    EXPECT_STREQ(e.what(), "interval division by an interval containing zero");
  }
  try {
    (void)kovrix::sqrt(Interval{-1, 4});
    ADD_FAILURE() << "sqrt of [-1, 4] did not raise";
  } catch (const kovrix::ValueError& e) {
    EXPECT_STREQ(e.what(), "sqrt of an interval with a negative lower bound");
  }
  try {
    (void)kovrix::pow(Interval{-1, 1}, -3);
    ADD_FAILURE() << "pow([-1, 1], -3) did not raise";
  } catch (const kovrix::DivByZeroDefect& e) {
    EXPECT_STREQ(e.what(), "pow with negative exponent of an interval containing zero");
  }
}

TEST(IntervalArithmetic, MostNegativeExponent) {
  // -2^63 is taken as r^(2^63 - 1) * r, r = [1, 1] / x.
  for (const Interval x : {Interval{2, 4}, Interval{1, 1}, Interval{-1, -1}, Interval{-4, -2}}) {
    const Interval r = ref::divKernel({1, 1}, x);
    const Interval expect = ref::mul(kovrix::pow(r, INT64_MAX), r);
    EXPECT_TRUE(sameBits(kovrix::pow(x, INT64_MIN), expect)) << show(x) << " -> " << show(kovrix::pow(x, INT64_MIN));
  }
  // (-1)^(-2^63) = 1 and 1^(-2^63) = 1 lie inside.
  for (const Interval x : {Interval{1, 1}, Interval{-1, -1}}) {
    const Interval r = kovrix::pow(x, INT64_MIN);
    EXPECT_TRUE(r.lo <= 1 && 1 <= r.hi) << show(x) << " -> " << show(r);
  }
}

// Exponents beyond 2^53, which a double cannot always hold: the power of
// every member still lies inside (odd exponents keep the sign of a negative
// base).  Only the internal operation takes them; the export's is an int32.
TEST(IntervalArithmetic, PowContainsExactResultsForInt64Exponents) {
  EXPECT_TRUE(sameBits(kovrix::pow({-1, -1}, (std::int64_t{1} << 53) + 1),
                       ref::mul(ref::powPos({-1, -1}, std::int64_t{1} << 53), ref::powPos({-1, -1}, 1))));
  const Interval m = kovrix::pow({-1, -1}, INT64_MAX);
  EXPECT_TRUE(m.lo <= -1 && -1 <= m.hi) << show(m);
  // Up to 2^53 the single pow is kept.
  for (std::int64_t n : {std::int64_t{1} << 53, (std::int64_t{1} << 53) - 1, std::int64_t{3} << 60})
    EXPECT_TRUE(sameBits(kovrix::pow({-1, -1}, n), ref::powPos({-1, -1}, n))) << n;
  mpfr_t p, v;
  mpfr_init2(p, 64);
  mpfr_init2(v, 400);
  for (int i = 0; i < 3000; ++i) {
    // Bases within 2^-40 of +-1, where such powers stay finite and nonzero.
    double c = 1 + (2 * unit() - 1) * std::ldexp(1.0, -40 - static_cast<int>(below(24)));
    if (coin(3)) c = 1 + static_cast<double>(static_cast<std::int64_t>(below(9)) - 4) * 0x1p-52;
    if (coin(2)) c = -c;
    std::int64_t n = static_cast<std::int64_t>(bits64() >> (1 + below(10)));
    if (n <= (std::int64_t{1} << 53)) n += std::int64_t{1} << 53;
    if (coin(2)) n = -n;
    if (coin(50)) n = INT64_MIN;
    const Interval r = kovrix::pow({c, c}, n);
    mpfr_set_d(p, c, MPFR_RNDN);
    mpfr_pow_si(v, p, n, MPFR_RNDN);
    ASSERT_TRUE(!std::isnan(r.lo) && !std::isnan(r.hi) && mpfr_cmp_d(v, r.lo) >= 0 && mpfr_cmp_d(v, r.hi) <= 0)
        << "pow " << show(c) << " n=" << n << " -> " << show(r) << seedNote();
  }
  mpfr_clear(p);
  mpfr_clear(v);
}

// ---- bit-for-bit against the reference ----------------------------------------------

TEST(IntervalArithmetic, AgreesWithReferenceBitForBit) {
  for (int i = 0; i < 200000; ++i) {
    const Interval a = randomInterval(true), b = randomInterval(true);
    const int n = static_cast<int>(below(4) == 0 ? static_cast<std::int32_t>(bits64())
                                                     : static_cast<std::int32_t>(below(41)) - 20);
    ASSERT_TRUE(sameBits(callAdd(a, b), ref::add(a, b))) << "add " << show(a) << show(b) << seedNote();
    ASSERT_TRUE(sameBits(callSub(a, b), ref::sub(a, b))) << "sub " << show(a) << show(b) << seedNote();
    ASSERT_TRUE(sameBits(callMul(a, b), ref::mul(a, b))) << "mul " << show(a) << show(b) << seedNote();
    ASSERT_TRUE(sameBits(callDiv(a, b), ref::div(a, b))) << "div " << show(a) << show(b) << seedNote();
    ASSERT_TRUE(sameBits(callSqrt(a), ref::sqrt(a))) << "sqrt " << show(a) << seedNote();
    ASSERT_TRUE(sameBits(callNeg(a), ref::neg(a))) << "neg " << show(a) << seedNote();
    ASSERT_TRUE(sameBits(callPow(a, n), ref::pow(a, n))) << "pow " << show(a) << " n=" << n << seedNote();
    ASSERT_TRUE(sameBits(kovrix::abs(a), ref::abs(a))) << "abs " << show(a) << seedNote();
  }
  EXPECT_FALSE(kovrix::capi::errorPending());
}

TEST(IntervalArithmetic, AliasedOperands) {
  for (int i = 0; i < 20000; ++i) {
    const Interval a = randomInterval(true);
    ASSERT_TRUE(sameBits(callAdd(a, a), ref::add(a, a))) << show(a) << seedNote();
    ASSERT_TRUE(sameBits(callSub(a, a), ref::sub(a, a))) << show(a) << seedNote();
    ASSERT_TRUE(sameBits(callMul(a, a), ref::mul(a, a))) << show(a) << seedNote();
    ASSERT_TRUE(sameBits(callDiv(a, a), ref::div(a, a))) << show(a) << seedNote();
  }
}

// ---- containment ---------------------------------------------------------------------
//
// For members p of a and q of b, the exact result (MPFR, 256 bits, rounded
// down for the comparison with the lower bound and up for the upper one) lies
// inside the returned interval.  A NaN bound is accepted only where an
// infinite operand bound makes the definition produce it (0 * inf, inf - inf).

bool nanFromInfinity(Interval r, Interval a, Interval b) {
  const bool nanBound = std::isnan(r.lo) || std::isnan(r.hi);
  const bool infOperand = std::isinf(a.lo) || std::isinf(a.hi) || std::isinf(b.lo) || std::isinf(b.hi);
  return nanBound && infOperand;
}

TEST(IntervalArithmetic, ContainsExactResults) {
  MpEnclosure m;
  mpfr_t p, q;
  mpfr_init2(p, 64);
  mpfr_init2(q, 64);
  int skippedNaN = 0;
  for (int i = 0; i < 40000; ++i) {
    const Interval a = randomMemberedInterval(), b = randomMemberedInterval();
    const double pd = pointIn(a), qd = pointIn(b);
    mpfr_set_d(p, pd, MPFR_RNDN);
    mpfr_set_d(q, qd, MPFR_RNDN);
    const std::string at = show(a) + " " + show(b) + " at " + show(pd) + ", " + show(qd) + seedNote();
    auto check = [&](const char* what, Interval r) {
      if (nanFromInfinity(r, a, b)) {
        ++skippedNaN;
        return;
      }
      ASSERT_TRUE(encloses(r, m)) << what << " " << at << " -> " << show(r) << " exact " << showMp(m);
    };
    m.eval([&](mpfr_t r, mpfr_rnd_t d) { mpfr_add(r, p, q, d); });
    check("add", callAdd(a, b));
    m.eval([&](mpfr_t r, mpfr_rnd_t d) { mpfr_sub(r, p, q, d); });
    check("sub", callSub(a, b));
    m.eval([&](mpfr_t r, mpfr_rnd_t d) { mpfr_mul(r, p, q, d); });
    check("mul", callMul(a, b));
    if (qd != 0) {
      m.eval([&](mpfr_t r, mpfr_rnd_t d) { mpfr_div(r, p, q, d); });
      check("div", callDiv(a, b));
    }
    m.eval([&](mpfr_t r, mpfr_rnd_t d) { mpfr_neg(r, p, d); });
    check("neg", callNeg(a));
    if (pd >= 0) {
      m.eval([&](mpfr_t r, mpfr_rnd_t d) { mpfr_sqrt(r, p, d); });
      check("sqrt", callSqrt(a));
    }
    const int n = static_cast<int>(below(25)) - 12;
    if (!(n < 0 && a.lo <= 0 && 0 <= a.hi)) {
      m.eval([&](mpfr_t r, mpfr_rnd_t d) { mpfr_pow_si(r, p, n, d); });
      check("pow", callPow(a, n));
    }
  }
  mpfr_clear(p);
  mpfr_clear(q);
  RecordProperty("nan_from_infinity", skippedNaN);
}

// Large exponents, near overflow and underflow of pow.
TEST(IntervalArithmetic, PowContainsExactResultsForLargeExponents) {
  MpEnclosure m;
  mpfr_t p;
  mpfr_init2(p, 64);
  for (int i = 0; i < 20000; ++i) {
    const double c = (coin(2) ? 1 : -1) * (1 + unit() * (coin(2) ? 1e-3 : 1));
    const Interval a{std::min(c, c * (1 + 1e-9)), std::max(c, c * (1 + 1e-9))};
    const int n = static_cast<int>(static_cast<std::int32_t>(bits64()) % 3000);
    if (n < 0 && a.lo <= 0 && 0 <= a.hi) continue;
    const double pd = pointIn(a);
    mpfr_set_d(p, pd, MPFR_RNDN);
    m.eval([&](mpfr_t r, mpfr_rnd_t d) { mpfr_pow_si(r, p, n, d); });
    const Interval r = callPow(a, n);
    ASSERT_TRUE(encloses(r, m)) << "pow " << show(a) << " n=" << n << " at " << show(pd) << " -> "
                                << show(r) << seedNote();
  }
  mpfr_clear(p);
}

// Exponents up to the int32 limits on bases a few units from +-1 (where the
// power stays finite longest) and on subnormal bases; MPFR at 400 bits.
TEST(IntervalArithmetic, PowContainsExactResultsForInt32Exponents) {
  mpfr_t p, v;
  mpfr_init2(p, 64);
  mpfr_init2(v, 400);
  for (int i = 0; i < 4000; ++i) {
    double c = 0;
    switch (below(3)) {
      case 0: c = 1 + static_cast<double>(static_cast<std::int64_t>(below(2001)) - 1000) * 0x1p-52; break;
      case 1: c = std::ldexp(1 + unit(), static_cast<int>(below(40)) - 20); break;
      default: c = std::bit_cast<double>(bits64() & 0x000FFFFFFFFFFFFFULL); break;
    }
    if (coin(2)) c = -c;
    const std::int32_t n = coin(2) ? static_cast<std::int32_t>(bits64())
                                   : static_cast<std::int32_t>(below(200001)) - 100000;
    if (n < 0 && c == 0) continue;
    const Interval r = callPow({c, c}, n);
    mpfr_set_d(p, c, MPFR_RNDN);
    mpfr_pow_si(v, p, n, MPFR_RNDN);
    ASSERT_TRUE(!std::isnan(r.lo) && !std::isnan(r.hi) && mpfr_cmp_d(v, r.lo) >= 0 && mpfr_cmp_d(v, r.hi) <= 0)
        << "pow " << show(c) << " n=" << n << " -> " << show(r) << seedNote();
  }
  mpfr_clear(p);
  mpfr_clear(v);
}

// Every combination of special bounds (infinities, signed zeros, the
// smallest subnormal, the largest finite) as operands of + - * /, at members
// taken from the bounds and between them.  A NaN bound is accepted only for
// a product whose four corner products are all 0 * inf.
TEST(IntervalArithmetic, SpecialBoundsContainExactResults) {
  const double s[] = {-kInf, -kMax, -2, -1, -kMinSub, -0.0, 0.0, kMinSub, 1, 2, kMax, kInf};
  auto members = [](double lo, double hi) {
    const double l = std::isinf(lo) ? (lo < 0 ? -kMax : kMax) : lo;
    const double h = std::isinf(hi) ? (hi < 0 ? -kMax : kMax) : hi;
    double m = l / 2 + h / 2;
    if (!(l <= m && m <= h)) m = l;
    std::vector<double> out{l, h, m};
    for (double& v : out) v = (v == 0) ? 0.0 : v;  // a zero member is the real 0
    return out;
  };
  mpfr_t p, q, v;
  mpfr_init2(p, 64);
  mpfr_init2(q, 64);
  mpfr_init2(v, 2200);  // sums of doubles at both ends of the range are exact
  for (double al : s)
    for (double ah : s)
      for (double bl : s)
        for (double bh : s) {
          const Interval a{al, ah}, b{bl, bh};
          if (!hasMembers(a) || !hasMembers(b)) continue;
          const Interval sum = callAdd(a, b), diff = callSub(a, b), prod = callMul(a, b), quot = callDiv(a, b);
          for (double x : members(al, ah))
            for (double y : members(bl, bh)) {
              mpfr_set_d(p, x, MPFR_RNDN);
              mpfr_set_d(q, y, MPFR_RNDN);
              const std::string at = show(a) + " " + show(b) + " at " + show(x) + ", " + show(y);
              auto inside = [&](Interval r) {
                return !std::isnan(r.lo) && !std::isnan(r.hi) && mpfr_cmp_d(v, r.lo) >= 0 && mpfr_cmp_d(v, r.hi) <= 0;
              };
              mpfr_add(v, p, q, MPFR_RNDN);
              ASSERT_TRUE(inside(sum)) << "add " << at << " -> " << show(sum);
              mpfr_sub(v, p, q, MPFR_RNDN);
              ASSERT_TRUE(inside(diff)) << "sub " << at << " -> " << show(diff);
              mpfr_mul(v, p, q, MPFR_RNDN);
              const bool allZeroTimesInf = (al == 0 && ah == 0 && std::isinf(bl) && std::isinf(bh)) ||
                                           (bl == 0 && bh == 0 && std::isinf(al) && std::isinf(ah));
              if (!allZeroTimesInf) ASSERT_TRUE(inside(prod)) << "mul " << at << " -> " << show(prod);
              if (y != 0) {
                mpfr_div(v, p, q, MPFR_RNDN);
                ASSERT_TRUE(inside(quot)) << "div " << at << " -> " << show(quot);
              }
            }
        }
  mpfr_clear(p);
  mpfr_clear(q);
  mpfr_clear(v);
}

}  // namespace

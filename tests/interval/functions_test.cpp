// Interval elementary functions: the listed cases, bit-for-bit agreement with
// a reference written from the definitions, containment of the exact values
// (MPFR), and the critical-point test of sine and cosine on both sides of the
// magnitude up to which its float64 form is kept.
#include "interval/functions.hpp"

#include <gmp.h>

#include <vector>

#include "c_api/pending_error.hpp"
#include "support/interval.hpp"

namespace {

using namespace kovrix::testsupport;
using kovrix::Interval;

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kB = kovrix::detail::kCriticalTestReliableBound;

double d2(double v) { return refDown(refDown(v)); }
double u2(double v) { return refUp(refUp(v)); }

// ---- MPFR oracle for the critical points ------------------------------------------
// floor(x * 2/pi) exactly, as an integer.
void floorTwoOverPiMp(mpz_t out, double x) {
  int e = 0;
  std::frexp(x, &e);
  const mpfr_prec_t prec = std::max(e, 0) + 256;
  mpfr_t pi, t;
  mpfr_init2(pi, prec);
  mpfr_init2(t, prec);
  mpfr_const_pi(pi, MPFR_RNDN);
  mpfr_set_d(t, x, MPFR_RNDN);
  mpfr_mul_2ui(t, t, 1, MPFR_RNDN);  // exact
  mpfr_div(t, t, pi, MPFR_RNDN);     // relative error 2^-prec: absolute under 2^-200
  mpfr_get_z(out, t, MPFR_RNDD);
  mpfr_clear(pi);
  mpfr_clear(t);
}

// The critical integers t in (lo 2/pi, hi 2/pi] of the given parity (odd:
// sine, where sin = +1 for t = 1 mod 4 and -1 for t = 3 mod 4; even: cosine,
// +1 for t = 0 mod 4, -1 for t = 2 mod 4).  Returns whether any lies inside,
// and whether a peak (+1) and a trough (-1) do.
struct Critical {
  bool any = false, peak = false, trough = false;
};
Critical criticalInside(double lo, double hi, unsigned parity) {
  Critical c;
  mpz_t a, b;
  mpz_init(a);
  mpz_init(b);
  floorTwoOverPiMp(a, lo);
  floorTwoOverPiMp(b, hi);
  // lo itself counts when lo 2/pi is an integer, i.e. lo = 0 (cosine's 0).
  if (lo == 0) mpz_sub_ui(a, a, 1);
  for (int guard = 0; mpz_cmp(a, b) < 0 && guard < 8; ++guard) {
    mpz_add_ui(a, a, 1);
    const unsigned r = static_cast<unsigned>(mpz_fdiv_ui(a, 4));
    if ((r & 1u) != parity) continue;
    c.any = true;
    (r == (parity ? 1u : 0u) ? c.peak : c.trough) = true;
  }
  if (mpz_cmp(a, b) < 0) c.any = c.peak = c.trough = true;  // wide: everything
  mpz_clear(a);
  mpz_clear(b);
  return c;
}

// ---- reference, from the definitions -------------------------------------------
namespace ref {
Interval exp(Interval x) {
  double lo = d2(std::exp(x.lo));
  if (lo <= 0 || std::isnan(lo)) lo = 0.0;
  return {lo, u2(std::exp(x.hi))};
}
Interval ln(Interval x) {
  if (x.hi <= 0) return {kNaN, kNaN};
  if (x.lo <= 0) return {-kInf, u2(std::log(x.hi))};
  return {d2(std::log(x.lo)), u2(std::log(x.hi))};
}
Interval arctan(Interval x) { return {d2(std::atan(x.lo)), u2(std::atan(x.hi))}; }
// The whole range is enclosed one step beyond kPi (which lies below pi), and
// the corners read a zero y bound as +0 (a -0 bound would put the negative
// x-axis at -pi, outside the box's angles).
Interval arctan2(Interval y, Interval x) {
  if ((x.lo <= 0 && 0 <= x.hi && y.lo <= 0 && 0 <= y.hi) || (x.hi < 0 && y.lo < 0 && 0 <= y.hi))
    return {refDown(-kPi), refUp(kPi)};
  const double ylo = y.lo == 0 ? 0.0 : y.lo, yhi = y.hi == 0 ? 0.0 : y.hi;
  const double a[4] = {std::atan2(ylo, x.lo), std::atan2(ylo, x.hi), std::atan2(yhi, x.lo),
                       std::atan2(yhi, x.hi)};
  double mn = a[0], mx = a[0];
  for (int i = 1; i < 4; ++i) mn = refMin(mn, a[i]), mx = refMax(mx, a[i]);
  return {d2(mn), u2(mx)};
}
// The three float64 steps alone; `monotone` tells whether step 3 answered.
Interval sinFloatSteps(Interval x, bool* monotone = nullptr) {
  if (monotone) *monotone = false;
  if (x.hi - x.lo >= 6.283185307179586) return {-1, 1};
  const double k = std::ceil((x.lo - kHalfPi) / kPi);
  if (x.hi >= k * kPi + kHalfPi) return {-1, 1};
  if (monotone) *monotone = true;
  const double a = std::sin(x.lo), b = std::sin(x.hi);
  return {d2(refMin(a, b)), u2(refMax(a, b))};
}
Interval cosFloatSteps(Interval x, bool* monotone = nullptr) {
  if (monotone) *monotone = false;
  if (x.hi - x.lo >= 6.283185307179586) return {-1, 1};
  const double k = std::ceil(x.lo / kPi);
  if (x.hi >= k * kPi) return {-1, 1};
  if (monotone) *monotone = true;
  const double a = std::cos(x.lo), b = std::cos(x.hi);
  return {d2(refMin(a, b)), u2(refMax(a, b))};
}
// The float64 steps, with a "monotone" answer for an interval reaching beyond
// the bound overruled when a critical point lies inside (MPFR decides).
Interval sinCos(Interval x, unsigned parity) {
  bool monotone = false;
  const Interval r = parity ? sinFloatSteps(x, &monotone) : cosFloatSteps(x, &monotone);
  if (monotone && x.lo <= x.hi && (x.lo < -kB || x.hi > kB) && criticalInside(x.lo, x.hi, parity).any)
    return {-1, 1};
  return r;
}
}  // namespace ref

Interval callExp(Interval x) { return I(kovrix_interval_exp(C(x))); }
Interval callLn(Interval x) { return I(kovrix_interval_ln(C(x))); }
Interval callAtan(Interval x) { return I(kovrix_interval_arctan(C(x))); }
Interval callAtan2(Interval y, Interval x) { return I(kovrix_interval_arctan2(C(y), C(x))); }
Interval callSin(Interval x) { return I(kovrix_interval_sin(C(x))); }
Interval callCos(Interval x) { return I(kovrix_interval_cos(C(x))); }
Interval callSinCos(Interval x, unsigned parity) { return parity ? callSin(x) : callCos(x); }

#define EXPECT_IV(actual, lo_, hi_)                                                        \
  do {                                                                                     \
    const Interval got_ = (actual);                                                        \
    EXPECT_TRUE(sameBits(got_, Interval{lo_, hi_}))                                        \
        << #actual << " = " << show(got_) << ", expected " << show(Interval{lo_, hi_});   \
  } while (0)

// ---- the listed cases ------------------------------------------------------------

TEST(IntervalFunctions, ListedCases) {
  EXPECT_IV(callExp({0, 0}), 0.9999999999999998, 1.0000000000000004);
  EXPECT_TRUE(sameBits(callExp({-1000, 0}).lo, 0.0));
  EXPECT_IV(callLn({1, 1}), -1e-323, 1e-323);
  EXPECT_IV(callLn({0, 1}), -kInf, 1e-323);
  EXPECT_IV(callLn({-1, 0}), kNaN, kNaN);
  EXPECT_IV(callAtan({-kInf, kInf}), d2(-kHalfPi), u2(kHalfPi));
  // The whole range (-pi, pi], enclosed: the float64 kPi lies below pi.
  EXPECT_IV(callAtan2({-1, 1}, {-1, 1}), -3.1415926535897936, 3.1415926535897936);
  EXPECT_IV(callAtan2({-1, 1}, {-2, -1}), -3.1415926535897936, 3.1415926535897936);
  EXPECT_GT(callAtan2({-1, 1}, {-1, 1}).hi, kPi);
  EXPECT_IV(callAtan2({1, 2}, {1, 2}), d2(std::atan2(1, 2)), u2(std::atan2(2, 1)));
  EXPECT_IV(callSin({0, 7}), -1, 1);
  EXPECT_IV(callSin({0, 1.6}), -1, 1);
  EXPECT_IV(callSin({0, 1}), -1e-323, u2(std::sin(1)));
  EXPECT_IV(callSin({2, 3}), d2(std::sin(3)), u2(std::sin(2)));
  EXPECT_IV(callCos({0.5, 1}), d2(std::cos(1)), u2(std::cos(0.5)));
  EXPECT_IV(callCos({-0.5, 0.5}), -1, 1);
  EXPECT_IV(callCos({0, 1}), -1, 1);
  EXPECT_FALSE(kovrix::capi::errorPending());
}

TEST(IntervalFunctions, LnKernelFailure) {
  try {
    (void)kovrix::ln(Interval{0, 1});
    ADD_FAILURE() << "ln of [0, 1] did not raise";
  } catch (const kovrix::ValueError& e) {
    EXPECT_STREQ(e.what(), "ln of an interval with a non-positive lower bound");
  }
}

// A -0 lower bound of y left of the origin: the angles of [-0, 1] x [-2, -1]
// run from 3 pi / 4 (at (1, -1)) to pi (on the negative x-axis).
TEST(IntervalFunctions, Arctan2ReadsZeroBoundsAsRealZero) {
  const Interval r = callAtan2({-0.0, 1}, {-2, -1});
  EXPECT_TRUE(sameBits(r, Interval{d2(std::atan2(1, -1)), u2(kPi)})) << show(r);
  EXPECT_LE(r.lo, 3 * kPi / 4);
  EXPECT_GE(r.hi, kPi);
  const Interval z = callAtan2({-0.0, -0.0}, {-2, -1});
  EXPECT_TRUE(sameBits(z, Interval{d2(kPi), u2(kPi)})) << show(z);
  // Right of the origin the sign of zero is immaterial.
  EXPECT_TRUE(sameBits(callAtan2({-0.0, 1}, {1, 2}), callAtan2({0.0, 1}, {1, 2})));
}

// ---- bit-for-bit against the reference ----------------------------------------------

TEST(IntervalFunctions, AgreeWithReferenceBitForBit) {
  for (int i = 0; i < 100000; ++i) {
    const Interval a = randomInterval(true), b = randomInterval(true);
    ASSERT_TRUE(sameBits(callExp(a), ref::exp(a))) << "exp " << show(a) << seedNote();
    ASSERT_TRUE(sameBits(callLn(a), ref::ln(a))) << "ln " << show(a) << seedNote();
    ASSERT_TRUE(sameBits(callAtan(a), ref::arctan(a))) << "arctan " << show(a) << seedNote();
    ASSERT_TRUE(sameBits(callAtan2(a, b), ref::arctan2(a, b))) << "arctan2 " << show(a) << show(b) << seedNote();
    ASSERT_TRUE(sameBits(callSin(a), ref::sinCos(a, 1))) << "sin " << show(a) << seedNote();
    ASSERT_TRUE(sameBits(callCos(a), ref::sinCos(a, 0))) << "cos " << show(a) << seedNote();
  }
  EXPECT_FALSE(kovrix::capi::errorPending());
}

// Narrow intervals at every magnitude, where sine and cosine are decided by
// the critical-point test rather than by the width.
Interval randomNarrow() {
  const double c = (coin(2) ? 1 : -1) * std::ldexp(1 + unit(), static_cast<int>(below(70)) - 5);
  const double w = coin(3) ? 0 : std::ldexp(unit(), static_cast<int>(below(8)) - 5);
  return {c, c + w};
}

TEST(IntervalFunctions, SinCosNarrowAgreeWithReference) {
  for (int i = 0; i < 60000; ++i) {
    const Interval a = randomNarrow();
    ASSERT_TRUE(sameBits(callSin(a), ref::sinCos(a, 1))) << "sin " << show(a) << seedNote();
    ASSERT_TRUE(sameBits(callCos(a), ref::sinCos(a, 0))) << "cos " << show(a) << seedNote();
  }
}

// ---- containment ---------------------------------------------------------------------

TEST(IntervalFunctions, ContainExactValues) {
  MpEnclosure m;
  mpfr_t p, q;
  mpfr_init2(p, 64);
  mpfr_init2(q, 64);
  for (int i = 0; i < 30000; ++i) {
    const Interval a = coin(2) ? randomMemberedInterval() : randomNarrow();
    const Interval b = randomMemberedInterval();
    const double pd = pointIn(a), qd = pointIn(b);
    mpfr_set_d(p, pd, MPFR_RNDN);
    mpfr_set_d(q, qd, MPFR_RNDN);
    const std::string at = show(a) + " at " + show(pd) + seedNote();
    auto check = [&](const char* what, Interval r) {
      ASSERT_TRUE(encloses(r, m)) << what << " " << at << " -> " << show(r) << " exact " << showMp(m);
    };
    m.eval([&](mpfr_t r, mpfr_rnd_t d) { mpfr_exp(r, p, d); });
    check("exp", callExp(a));
    if (pd > 0) {
      m.eval([&](mpfr_t r, mpfr_rnd_t d) { mpfr_log(r, p, d); });
      check("ln", callLn(a));
    }
    m.eval([&](mpfr_t r, mpfr_rnd_t d) { mpfr_atan(r, p, d); });
    check("arctan", callAtan(a));
    m.eval([&](mpfr_t r, mpfr_rnd_t d) { mpfr_sin(r, p, d); });
    check("sin", callSin(a));
    m.eval([&](mpfr_t r, mpfr_rnd_t d) { mpfr_cos(r, p, d); });
    check("cos", callCos(a));
    if (pd != 0 || qd != 0) {  // (y, x) = (pd, qd), the origin has no angle
      m.eval([&](mpfr_t r, mpfr_rnd_t d) { mpfr_atan2(r, p, q, d); });
      ASSERT_TRUE(encloses(callAtan2(a, b), m))
          << "arctan2 " << show(a) << show(b) << " at " << show(pd) << ", " << show(qd) << " -> "
          << show(callAtan2(a, b)) << seedNote();
    }
  }
  mpfr_clear(p);
  mpfr_clear(q);
}

// The extremes: an interval holding a peak or trough must reach +1 or -1.
void expectExtremesEnclosed(Interval x, unsigned parity, const std::string& note) {
  const Critical c = criticalInside(x.lo, x.hi, parity);
  const Interval r = callSinCos(x, parity);
  if (c.peak) EXPECT_GE(r.hi, 1.0) << (parity ? "sin " : "cos ") << show(x) << " -> " << show(r) << note;
  if (c.trough) EXPECT_LE(r.lo, -1.0) << (parity ? "sin " : "cos ") << show(x) << " -> " << show(r) << note;
}

// c = (t / 2) pi rounded down and up: the doubles on each side of a critical point.
std::pair<double, double> doublesAround(double t) {
  mpfr_t c;
  mpfr_init2(c, 320);
  mpfr_const_pi(c, MPFR_RNDN);
  mpfr_mul_d(c, c, t / 2, MPFR_RNDN);
  const double lo = mpfr_get_d(c, MPFR_RNDD), hi = mpfr_get_d(c, MPFR_RNDU);
  mpfr_clear(c);
  return {lo, hi};
}

// Distance in x from the critical point t pi / 2 to the nearer of lo, hi.
double distanceToCritical(double t, double lo, double hi) {
  mpfr_t c, d;
  mpfr_init2(c, 320);
  mpfr_init2(d, 320);
  mpfr_const_pi(c, MPFR_RNDN);
  mpfr_mul_d(c, c, t / 2, MPFR_RNDN);
  mpfr_sub_d(d, c, lo, MPFR_RNDN);
  const double a = std::fabs(mpfr_get_d(d, MPFR_RNDN));
  mpfr_sub_d(d, c, hi, MPFR_RNDN);
  const double b = std::fabs(mpfr_get_d(d, MPFR_RNDN));
  mpfr_clear(c);
  mpfr_clear(d);
  return std::min(a, b);
}

// Intervals hugging a critical point t pi / 2: from a few units below it to a
// few units above it, the exact shapes the float64 test can get wrong.
struct Hug {
  Interval x;
  double t;
};
std::vector<Hug> hugsAround(double t) {
  const auto [l, u] = doublesAround(t);
  std::vector<Hug> out;
  double lo = l;
  for (int i = 0; i < 3; ++i, lo = kovrix::nextDown(lo)) {
    double hi = u;
    for (int j = 0; j < 3; ++j, hi = kovrix::nextUp(hi)) out.push_back({{lo, hi}, t});
  }
  return out;
}

// Random critical integer t of the given parity with |t pi / 2| in [lo, hi].
double randomCritical(double lo, double hi, unsigned parity) {
  const double mag = lo + (hi - lo) * unit();
  double t = std::floor(mag / kHalfPi);
  if (std::fmod(t, 2.0) != static_cast<double>(parity)) t += 1;
  return coin(2) ? t : -t;
}

// Below the bound the float64 answers are kept even where they miss a
// critical point by a hair, and those misses stay within the 2^-26 that the
// argument allows, so the extremes are still enclosed.
TEST(IntervalSinCosBound, BelowBoundFloatAnswersKeptAndSound) {
  for (unsigned parity = 0; parity < 2; ++parity) {
    int misses = 0;
    for (int i = 0; i < 6000; ++i) {
      const double top = coin(2) ? kB : (coin(2) ? 1e3 : 1e6);
      const double t = randomCritical(2, top - 8, parity);
      if (t == 0) continue;
      for (const Hug& h : hugsAround(t)) {
        if (std::fabs(h.x.lo) > kB || std::fabs(h.x.hi) > kB) continue;
        bool monotone = false;
        const Interval floatSteps = parity ? ref::sinFloatSteps(h.x, &monotone) : ref::cosFloatSteps(h.x, &monotone);
        const Interval got = callSinCos(h.x, parity);
        ASSERT_TRUE(sameBits(got, floatSteps)) << show(h.x) << " parity " << parity << seedNote();
        if (monotone) {
          ++misses;
          EXPECT_LE(distanceToCritical(h.t, h.x.lo, h.x.hi), 0x1p-26) << show(h.x) << seedNote();
        }
        expectExtremesEnclosed(h.x, parity, seedNote());
      }
    }
    // Sine misses by a unit below the bound (near -18.5 pi, for one); cosine never.
    if (parity == 1) EXPECT_GT(misses, 0) << "no near-miss exercised";
    if (parity == 0) EXPECT_EQ(misses, 0);
  }
  // A known one: -18.5 pi lies between two adjacent doubles that step 2 passes over.
  const auto [l, u] = doublesAround(-37);
  bool monotone = false;
  (void)ref::sinFloatSteps({l, u}, &monotone);
  EXPECT_TRUE(monotone);
  EXPECT_TRUE(sameBits(callSin({l, u}), ref::sinFloatSteps({l, u})));
  EXPECT_LE(callSin({l, u}).lo, -1.0);
}

// Beyond the bound a missed critical point gives [-1, 1]; the float64 answer
// would there exclude the extreme.
TEST(IntervalSinCosBound, BeyondBoundMissesAreCaught) {
  // The case that shows it: sin reaches 1 inside, the float64 steps stop at
  // 0.99999970826...
  const Interval big{-82339363777682.34, -82339363777681.39};
  const Interval floatSteps = ref::sinFloatSteps(big);
  EXPECT_LT(floatSteps.hi, 0.9999998);
  EXPECT_GT(floatSteps.hi, 0.9999997);
  EXPECT_TRUE(sameBits(callSin(big), Interval{-1, 1}));
  int misses = 0, unsound = 0;
  for (int i = 0; i < 6000; ++i) {
    const double top = std::ldexp(1.0, 27 + static_cast<int>(below(34)));
    const double t = randomCritical(kB + 8, top, 1);
    for (const Hug& h : hugsAround(t)) {
      bool monotone = false;
      const Interval s = ref::sinFloatSteps(h.x, &monotone);
      const Interval got = callSin(h.x);
      if (monotone) {
        ++misses;
        ASSERT_TRUE(sameBits(got, Interval{-1, 1})) << show(h.x) << seedNote();
        const double v = std::fmod(h.t, 4.0) == 1 || std::fmod(h.t, 4.0) == -3 ? 1.0 : -1.0;
        if (!(s.lo <= v && v <= s.hi)) ++unsound;
      } else {
        ASSERT_TRUE(sameBits(got, s)) << show(h.x) << seedNote();
      }
      expectExtremesEnclosed(h.x, 1, seedNote());
    }
  }
  EXPECT_GT(misses, 0);
  EXPECT_GT(unsound, 0) << "no miss that the float64 answer fails to enclose";
}

// Straddling the bound: an interval reaching beyond it is checked, one just
// inside is not.
TEST(IntervalSinCosBound, IntervalsAtTheBound) {
  for (unsigned parity = 0; parity < 2; ++parity) {
    for (double edge : {kB, -kB}) {
      for (int i = 0; i < 2000; ++i) {
        const double lo = edge - 4 + 8 * unit(), hi = lo + 2 * unit();
        const Interval x{lo, hi};
        ASSERT_TRUE(sameBits(callSinCos(x, parity), ref::sinCos(x, parity))) << show(x) << seedNote();
        expectExtremesEnclosed(x, parity, seedNote());
      }
    }
  }
}

// Containment of the extremes for narrow intervals around critical points of
// every magnitude up to 2^1000.
TEST(IntervalSinCosBound, ExtremesEnclosedAtAllMagnitudes) {
  for (unsigned parity = 0; parity < 2; ++parity) {
    for (int i = 0; i < 3000; ++i) {
      const double top = std::ldexp(1.0, 3 + static_cast<int>(below(50)));
      const double t = randomCritical(4, top, parity);
      for (const Hug& h : hugsAround(t)) expectExtremesEnclosed(h.x, parity, seedNote());
    }
    for (int i = 0; i < 3000; ++i) {
      const Interval x = randomNarrow();
      expectExtremesEnclosed(x, parity, seedNote());
    }
  }
}

// ---- the exact reduction ---------------------------------------------------------------

TEST(IntervalReduction, TwoOverPiTableMatchesMpfr) {
  mpfr_t v;
  mpfr_init2(v, 64 * kovrix::detail::kTwoOverPiWords + 64);
  mpfr_const_pi(v, MPFR_RNDN);
  mpfr_ui_div(v, 2, v, MPFR_RNDN);  // 2/pi, relative error 2^-1600
  mpz_t z;
  mpz_init(z);
  for (int i = 0; i < kovrix::detail::kTwoOverPiWords; ++i) {
    mpfr_mul_2ui(v, v, 64, MPFR_RNDN);  // exact
    mpfr_get_z(z, v, MPFR_RNDD);
    const std::uint64_t word = mpz_get_ui(z);
    mpfr_sub_z(v, v, z, MPFR_RNDN);  // exact: the fraction that remains
    EXPECT_EQ(kovrix::detail::twoOverPiWord(i), word) << "word " << i;
  }
  mpz_clear(z);
  mpfr_clear(v);
}

TEST(IntervalReduction, PowersOfTwoMatchMpfr) {
  // floor(x 2/pi) mod 256 for x = 2^e reads the 2/pi bits at position e
  // directly; every word of the table is reached by some e.
  mpz_t z;
  mpz_init(z);
  for (int e = 0; e <= 1023; ++e) {
    const double x = std::ldexp(1.0, e);
    floorTwoOverPiMp(z, x);
    const auto f = kovrix::detail::floorTwoOverPi(x);
    ASSERT_EQ(f.low8, mpz_fdiv_ui(z, 256)) << "2^" << e;
    ASSERT_FALSE(f.nearInteger);
  }
  mpz_clear(z);
}

TEST(IntervalReduction, FloorMatchesMpfr) {
  mpz_t z;
  mpz_init(z);
  for (int i = 0; i < 20000; ++i) {
    double x = std::ldexp(1 + unit(), static_cast<int>(below(1024)));
    if (coin(4)) x = std::bit_cast<double>((bits64() & 0x000FFFFFFFFFFFFFULL) | (std::uint64_t(1023 + below(1024)) << 52));
    floorTwoOverPiMp(z, x);
    const auto f = kovrix::detail::floorTwoOverPi(x);
    ASSERT_EQ(f.low8, mpz_fdiv_ui(z, 256)) << show(x) << seedNote();
    ASSERT_FALSE(f.nearInteger) << show(x);
  }
  mpz_clear(z);
}

TEST(IntervalReduction, ContainsCriticalPointMatchesMpfr) {
  for (int i = 0; i < 20000; ++i) {
    const double c = (coin(2) ? 1 : -1) * std::ldexp(1 + unit(), static_cast<int>(below(1000)) + 1);
    double w = coin(2) ? 12 * unit() : std::ldexp(unit(), -static_cast<int>(below(60)));
    const Interval x = c < 0 ? Interval{c - w, c} : Interval{c, c + w};
    for (unsigned parity = 0; parity < 2; ++parity) {
      ASSERT_EQ(kovrix::detail::containsCriticalPoint(x.lo, x.hi, parity),
                criticalInside(x.lo, x.hi, parity).any)
          << show(x) << " parity " << parity << seedNote();
    }
  }
}

// The regimes where a libm value is most fragile: exp near overflow and deep
// in the subnormal range, ln next to 1, and the bounds of arctan2 boxes next
// to the negative x-axis (tiny y at either sign).  MPFR at 400 bits.
TEST(IntervalFunctions, ContainExactValuesInFragileRegimes) {
  mpfr_t p, q, v;
  mpfr_init2(p, 64);
  mpfr_init2(q, 64);
  mpfr_init2(v, 400);
  auto inside = [&](Interval r) {
    return !std::isnan(r.lo) && !std::isnan(r.hi) && mpfr_cmp_d(v, r.lo) >= 0 && mpfr_cmp_d(v, r.hi) <= 0;
  };
  for (int i = 0; i < 20000; ++i) {
    const double e = coin(2) ? 700 + 10 * unit() : -700 - 46 * unit();
    mpfr_set_d(p, e, MPFR_RNDN);
    mpfr_exp(v, p, MPFR_RNDN);
    ASSERT_TRUE(inside(callExp({e, e}))) << "exp " << show(e) << " -> " << show(callExp({e, e})) << seedNote();
    const double l = 1 + (2 * unit() - 1) * std::ldexp(1.0, -static_cast<int>(below(53)));
    mpfr_set_d(p, l, MPFR_RNDN);
    mpfr_log(v, p, MPFR_RNDN);
    ASSERT_TRUE(inside(callLn({l, l}))) << "ln " << show(l) << " -> " << show(callLn({l, l})) << seedNote();
    // A box left of the origin with y within a tiny distance of the axis.
    const double y1 = (2 * unit() - 1) * std::ldexp(1.0, -static_cast<int>(below(1080)));
    const double y2 = coin(2) ? y1 : (coin(2) ? 0.0 : -0.0);
    const double x1 = -4 * unit() - kMinSub, x2 = coin(2) ? x1 : x1 * unit();
    const Interval y{std::min(y1, y2), std::max(y1, y2)}, x{std::min(x1, x2), std::max(x1, x2)};
    const Interval r = callAtan2(y, x);
    for (double py : {y.lo, y.hi})
      for (double px : {x.lo, x.hi}) {
        mpfr_set_d(p, py == 0 ? 0.0 : py, MPFR_RNDN);  // a zero member is the real 0
        mpfr_set_d(q, px, MPFR_RNDN);
        mpfr_atan2(v, p, q, MPFR_RNDN);
        ASSERT_TRUE(inside(r)) << "arctan2 " << show(y) << show(x) << " at " << show(py) << ", " << show(px)
                               << " -> " << show(r) << seedNote();
      }
  }
  mpfr_clear(p);
  mpfr_clear(q);
  mpfr_clear(v);
}

}  // namespace

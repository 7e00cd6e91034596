// Interval set operations and predicates: exact, nothing moved; the listed
// cases and agreement with one-line definitions on random (also invalid and
// NaN-bounded) intervals.
#include "interval/interval_type.hpp"

#include "support/interval.hpp"

namespace {

using namespace kovrix::testsupport;
using kovrix::Interval;

TEST(IntervalSetOperations, ListedCases) {
  const Interval e = I(kovrix_interval_intersect({0, 1}, {2, 3}));
  EXPECT_TRUE(sameBits(e, Interval{2, 1})) << show(e);
  EXPECT_EQ(kovrix_interval_is_valid(C(e)), 0);
  EXPECT_TRUE(sameBits(I(kovrix_interval_hull({0, 1}, {kNaN, 5})), Interval{0, 5}));
  EXPECT_EQ(kovrix_interval_is_valid({kNaN, 1}), 0);
  EXPECT_EQ(kovrix_interval_is_valid({1, 1}), 1);
  EXPECT_EQ(kovrix_interval_contains({0, 1}, 1), 1);
  EXPECT_EQ(kovrix_interval_contains({0, 1}, kNaN), 0);
  EXPECT_TRUE(std::isnan(kovrix_interval_midpoint({-kInf, kInf})));
  EXPECT_EQ(kovrix_interval_width({1, kInf}), kInf);
  EXPECT_EQ(kovrix_interval_midpoint({1, 2}), 1.5);
  EXPECT_EQ(kovrix_interval_width({0.1, 0.3}), 0.3 - 0.1);
  EXPECT_EQ(kovrix_interval_contains_interval({0, 3}, {1, 2}), 1);
  EXPECT_EQ(kovrix_interval_contains_interval({1, 2}, {0, 3}), 0);
  EXPECT_EQ(kovrix_interval_overlaps({0, 1}, {1, 2}), 1);
  EXPECT_EQ(kovrix_interval_overlaps({0, 1}, {1.5, 2}), 0);
}

TEST(IntervalSetOperations, ConstructionAndAccessKeepBits) {
  for (int i = 0; i < 20000; ++i) {
    const double a = std::bit_cast<double>(bits64()), b = std::bit_cast<double>(bits64());
    const kovrix_interval x = kovrix_interval_from_f64(a, b);
    ASSERT_TRUE(sameBits(x.lo, a) && sameBits(x.hi, b)) << show(a) << show(b);
    ASSERT_TRUE(sameBits(kovrix_interval_lo(x), a));
    ASSERT_TRUE(sameBits(kovrix_interval_hi(x), b));
  }
  // Signed zeros and NaN payloads pass unchanged.
  const kovrix_interval z = kovrix_interval_from_f64(-0.0, 0.0);
  EXPECT_TRUE(std::signbit(z.lo) && !std::signbit(z.hi));
}

TEST(IntervalSetOperations, AgreeWithDefinitions) {
  for (int i = 0; i < 100000; ++i) {
    const Interval a = randomInterval(true), b = randomInterval(true);
    const double v = coin(2) ? pointIn({refMin(a.lo, a.hi), refMax(a.lo, a.hi)}) : randomBound(true);
    const std::string at = show(a) + " " + show(b) + seedNote();
    ASSERT_TRUE(sameBits(I(kovrix_interval_hull(C(a), C(b))),
                         Interval{refMin(a.lo, b.lo), refMax(a.hi, b.hi)}))
        << "hull " << at;
    ASSERT_TRUE(sameBits(I(kovrix_interval_intersect(C(a), C(b))),
                         Interval{refMax(a.lo, b.lo), refMin(a.hi, b.hi)}))
        << "intersect " << at;
    ASSERT_EQ(kovrix_interval_is_valid(C(a)), a.lo <= a.hi ? 1 : 0) << at;
    ASSERT_TRUE(sameBits(kovrix_interval_width(C(a)), a.hi - a.lo)) << at;
    ASSERT_TRUE(sameBits(kovrix_interval_midpoint(C(a)), a.lo + (a.hi - a.lo) * 0.5)) << at;
    ASSERT_EQ(kovrix_interval_contains(C(a), v), (a.lo <= v && a.hi >= v) ? 1 : 0) << at << show(v);
    ASSERT_EQ(kovrix_interval_contains_interval(C(a), C(b)), (a.lo <= b.lo && a.hi >= b.hi) ? 1 : 0) << at;
    ASSERT_EQ(kovrix_interval_overlaps(C(a), C(b)), (a.lo <= b.hi && a.hi >= b.lo) ? 1 : 0) << at;
    // Identities: the hull contains both, an overlap intersects validly,
    // the same interval twice gives itself.
    if (kovrix_interval_is_valid(C(a)) && kovrix_interval_is_valid(C(b))) {
      const kovrix_interval h = kovrix_interval_hull(C(a), C(b));
      ASSERT_EQ(kovrix_interval_contains_interval(h, C(a)), 1) << at;
      ASSERT_EQ(kovrix_interval_contains_interval(h, C(b)), 1) << at;
      ASSERT_EQ(kovrix_interval_is_valid(kovrix_interval_intersect(C(a), C(b))),
                kovrix_interval_overlaps(C(a), C(b)))
          << at;
    }
    ASSERT_TRUE(sameBits(I(kovrix_interval_hull(C(a), C(a))), Interval{refMin(a.lo, a.lo), refMax(a.hi, a.hi)}));
    ASSERT_TRUE(sameBits(I(kovrix_interval_intersect(C(a), C(a))), a) || std::isnan(a.lo) || std::isnan(a.hi));
  }
}

}  // namespace

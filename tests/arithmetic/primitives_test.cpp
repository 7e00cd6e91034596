// Limb primitives: clz64, udiv128 with its two preconditions, and the
// reciprocal-based two-by-one division against exact 128-bit division.
#include "support/big.hpp"
#include "arithmetic/primitives.hpp"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

TEST(Clz64, Table) {
  EXPECT_EQ(clz64(0), 64);
  EXPECT_EQ(clz64(1), 63);
  EXPECT_EQ(clz64(Limb{1} << 63), 0);
  for (int b = 0; b < 64; ++b) EXPECT_EQ(clz64(Limb{1} << b), 63 - b);
  EXPECT_EQ(clz64(~Limb{0}), 0);
}

TEST(Udiv128, ListedValues) {
  auto [q1, r1] = udiv128(1, 0, 2);
  EXPECT_EQ(q1, Limb{1} << 63);
  EXPECT_EQ(r1, 0u);
  auto [q2, r2] = udiv128(0, 7, 3);
  EXPECT_EQ(q2, 2u);
  EXPECT_EQ(r2, 1u);
  auto [q3, r3] = udiv128(~Limb{0} - 1, ~Limb{0}, ~Limb{0});
  EXPECT_EQ(q3, ~Limb{0});
  EXPECT_EQ(r3, ~Limb{0} - 1);
}

TEST(Udiv128, PreconditionsInOrder) {
  try {
    udiv128(5, 0, 0);  // both violated: the zero divisor is reported
    FAIL();
  } catch (const DivByZeroDefect& e) {
    EXPECT_STREQ(e.what(), "udiv128: divisor is zero");
  }
  try {
    udiv128(2, 0, 2);
    FAIL();
  } catch (const ValueError& e) {
    EXPECT_STREQ(e.what(), "udiv128: high limb must be < divisor (quotient must fit a Limb)");
  }
}

TEST(Udiv128, AgreesWithExactDivision) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 100000; ++i) {
    Limb d = randomLimb() >> below(64);
    if (d == 0) d = 1;
    Limb hi = below(d), lo = randomLimb();
    UInt128 n = (UInt128(hi) << 64) | lo;
    auto [q, r] = udiv128(hi, lo, d);
    ASSERT_EQ(q, Limb(n / d)) << hi << ":" << lo << " / " << d;
    ASSERT_EQ(r, Limb(n % d));
  }
}

TEST(Udiv2by1Preinv, AgreesWithHardwareDivide) {
  KOVRIX_SEED_TRACE();
  const Limb edge[] = {Limb{1} << 63, (Limb{1} << 63) + 1, ~Limb{0}, ~Limb{0} - 1};
  for (int i = 0; i < 200000; ++i) {
    Limb d = i < 4000 ? edge[i % 4] : randomLimb() | (Limb{1} << 63);
    Limb v = reciprocalLimb(d);
    ASSERT_EQ(UInt128(v) + (UInt128(1) << 64), (~UInt128(0)) / d);
    Limb hi = i % 3 == 0 ? d - 1 : below(d);
    Limb lo = i % 5 == 0 ? ~Limb{0} : i % 7 == 0 ? 0 : randomLimb();
    auto [q, r] = udiv2by1Preinv(hi, lo, d, v);
    auto [q2, r2] = udiv128Unchecked(hi, lo, d);
    ASSERT_EQ(q, q2) << hi << ":" << lo << " / " << d;
    ASSERT_EQ(r, r2);
  }
}

}  // namespace
}  // namespace kovrix

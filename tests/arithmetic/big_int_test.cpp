// BigUInt / BigInt representation: construction, narrowing conversions,
// saturation, value semantics and the inline storage of small values.
#include <atomic>
#include <cstdlib>
#include <new>

#include "support/big.hpp"
#include "arithmetic/division_big.hpp"
#include "arithmetic/signed_big.hpp"

// Counting replacement of the global allocation functions: lets the tests
// below assert that small values never reach the heap.
namespace {
std::atomic<long> gAllocations{0};
}
void* operator new(std::size_t n) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace kovrix {
namespace {

using namespace kovrix::testsupport;

constexpr Limb Top = Limb{1} << 63;

template <class F>
long allocationsDuring(F&& f) {
  long before = gAllocations.load();
  f();
  return gAllocations.load() - before;
}

TEST(InitBigUInt, ZeroIsEmptyAndOtherValuesOneLimb) {
  EXPECT_TRUE(initBigUInt(std::uint64_t{0}).isZero());
  BigUInt x = initBigUInt(std::uint64_t{42});
  ASSERT_EQ(x.size(), 1u);
  EXPECT_EQ(x[0], 42u);
}

TEST(InitBigUInt, FromLimbsDropsTopZeros) {
  std::vector<Limb> l{5, 0, 7, 0, 0};
  BigUInt x = initBigUInt(l);
  EXPECT_TRUE(limbsEqual(x, {5, 0, 7}));
  std::vector<Limb> zeros(4, 0);
  EXPECT_TRUE(initBigUInt(zeros).isZero());
}

TEST(InitBigInt, FromInt64) {
  BigInt z = initBigInt(std::int64_t{0});
  EXPECT_FALSE(z.negative);
  EXPECT_TRUE(z.magnitude.isZero());
  BigInt m = initBigInt(INT64_MIN);
  EXPECT_TRUE(m.negative);
  EXPECT_TRUE(limbsEqual(m.magnitude, {Top}));
  BigInt p = initBigInt(INT64_MAX);
  EXPECT_FALSE(p.negative);
  EXPECT_TRUE(limbsEqual(p.magnitude, {Top - 1}));
  EXPECT_TRUE(limbsEqual(initBigInt(std::int64_t{-7}).magnitude, {7}));
}

TEST(InitBigInt, FromMagnitudeDropsSignOfZero) {
  BigInt z = initBigInt(BigUInt{}, true);
  EXPECT_FALSE(z.negative);
  BigInt n = initBigInt(initBigUInt(std::uint64_t{3}), true);
  EXPECT_TRUE(n.negative);
}

TEST(ToInt64, BigUIntRange) {
  EXPECT_EQ(toInt64(BigUInt{}), 0);
  EXPECT_EQ(toInt64(initBigUInt(Top - 1)), INT64_MAX);
  try {
    toInt64(initBigUInt(Top));
    FAIL() << "2^63 converted";
  } catch (const OverflowDefect& e) {
    EXPECT_STREQ(e.what(), "BigUInt exceeds int64 range");
  }
  EXPECT_THROW(toInt64(initBigUInt({1, 1})), OverflowDefect);
}

TEST(ToInt64, BigIntRange) {
  EXPECT_EQ(toInt64(initBigInt(INT64_MIN)), INT64_MIN);
  EXPECT_EQ(toInt64(initBigInt(INT64_MAX)), INT64_MAX);
  EXPECT_EQ(toInt64(initBigInt(std::int64_t{-5})), -5);
  EXPECT_EQ(toInt64(BigInt{}), 0);
  for (BigInt bad : {BigInt{false, initBigUInt(Top)}, BigInt{true, initBigUInt(Top + 1)},
                     BigInt{false, initBigUInt({0, 1})}, BigInt{true, initBigUInt({0, 1})}}) {
    try {
      toInt64(bad);
      FAIL() << "converted " << hex(bad);
    } catch (const OverflowDefect& e) {
      EXPECT_STREQ(e.what(), "BigInt exceeds int64 range");
    }
  }
}

TEST(ToUInt64, Ranges) {
  EXPECT_EQ(toUInt64(BigUInt{}), 0u);
  EXPECT_EQ(toUInt64(initBigUInt(~Limb{0})), ~Limb{0});
  try {
    toUInt64(initBigUInt({0, 1}));
    FAIL();
  } catch (const OverflowDefect& e) {
    EXPECT_STREQ(e.what(), "BigUInt exceeds uint64 range");
  }
  try {
    toUInt64(initBigInt(std::int64_t{-1}));
    FAIL();
  } catch (const OverflowDefect& e) {
    EXPECT_STREQ(e.what(), "negative BigInt cannot convert to uint64");
  }
  // The sign is tested first, even for a value that is also too long.
  try {
    toUInt64(BigInt{true, initBigUInt({0, 1})});
    FAIL();
  } catch (const OverflowDefect& e) {
    EXPECT_STREQ(e.what(), "negative BigInt cannot convert to uint64");
  }
  EXPECT_EQ(toUInt64(BigInt{false, initBigUInt(~Limb{0})}), ~Limb{0});
}

TEST(ClampToInt64, SaturatesAtBothEnds) {
  EXPECT_EQ(clampToInt64(BigInt{false, initBigUInt(Top)}), INT64_MAX);
  EXPECT_EQ(clampToInt64(BigInt{true, initBigUInt(Top + 1)}), INT64_MIN);
  EXPECT_EQ(clampToInt64(BigInt{true, initBigUInt(Top)}), INT64_MIN);
  EXPECT_EQ(clampToInt64(BigInt{true, initBigUInt({0, 1})}), INT64_MIN);
  EXPECT_EQ(clampToInt64(BigInt{false, initBigUInt({0, 1})}), INT64_MAX);
  EXPECT_EQ(clampToInt64(BigInt{}), 0);
  EXPECT_FALSE(fitsInt64(BigInt{false, initBigUInt(Top)}));
  EXPECT_TRUE(fitsInt64(BigInt{true, initBigUInt(Top)}));
}

TEST(ClampToInt64, AgreesWithGmpOnRandomValues) {
  KOVRIX_SEED_TRACE();
  Mpz z, lo, hi;
  mpz_set_si(lo, INT64_MIN);
  mpz_set_si(hi, INT64_MAX);
  for (int i = 0; i < 2000; ++i) {
    BigInt x = randomBigInt(below(3));
    toMpz(z, x);
    std::int64_t expect = mpz_cmp(z, lo) < 0 ? INT64_MIN : mpz_cmp(z, hi) > 0 ? INT64_MAX : mpz_get_si(z);
    ASSERT_EQ(clampToInt64(x), expect) << hex(x);
    ASSERT_EQ(fitsInt64(x), mpz_cmp(z, lo) >= 0 && mpz_cmp(z, hi) <= 0) << hex(x);
  }
}

TEST(ValueSemantics, CopiesAreIndependent) {
  KOVRIX_SEED_TRACE();
  for (std::size_t n : {0u, 1u, 2u, 10u, 11u, 40u}) {
    BigUInt a = randomBig(n);
    BigUInt b = a;
    ASSERT_EQ(a, b);
    if (n) {
      b.mutableLimbs()[0] ^= 1;
      EXPECT_NE(a, b) << n;
    }
    BigUInt c = std::move(b);
    EXPECT_EQ(c.size(), n);
    BigUInt d;
    d = c;
    EXPECT_EQ(d, c);
    d = std::move(c);
    EXPECT_EQ(d.size(), n);
    d = d;  // self-assignment keeps the value
    EXPECT_EQ(d.size(), n);
  }
}

TEST(ValueSemantics, CopyOfAShortValueReturnsToInlineStorage) {
  // A trimmed result may keep a heap block; its copy is exactly sized.
  BigUInt big = initBigUInt({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  BigUInt small = shr(big, 64 * 10);
  BigUInt copy = small;
  EXPECT_TRUE(copy.isInline());
  EXPECT_TRUE(limbsEqual(copy, {11, 12}));
  BigUInt assigned = big;
  assigned = small;
  EXPECT_TRUE(assigned.isInline());
  EXPECT_TRUE(limbsEqual(assigned, {11, 12}));
}

TEST(InlineStorage, SmallValuesNeverAllocate) {
  KOVRIX_SEED_TRACE();
  BigInt a = initBigInt(std::int64_t{-123456789});
  BigInt b = BigInt{false, initBigUInt({~Limb{0}, 5})};
  BigUInt m4 = randomBig(4, 0), n4 = randomBig(4, 0);
  BigUInt d10 = randomBig(10, 0), v5 = randomBig(5, 0);
  long count = allocationsDuring([&] {
    BigInt s = a + b, t = a - b, p = a * b;
    auto [q, r] = divMod(b, a);
    BigInt sh = shr(shl(b, 100), 3);
    BigUInt prod = mul(m4, n4);   // 8 limbs
    BigUInt wide = shl(prod, 64);  // 9 limbs (10 allocated before trimming)
    auto qr = divMod(d10, v5);     // Knuth on 10 by 5 limbs: scratch on the stack
    BigInt c = s;
    (void)t, (void)p, (void)q, (void)r, (void)sh, (void)wide, (void)qr, (void)c;
  });
  EXPECT_EQ(count, 0);
}

TEST(InlineStorage, LongValuesUseOneHeapBlock) {
  BigUInt a = randomBig(30, 0);
  EXPECT_FALSE(a.isInline());
  long count = allocationsDuring([&] { BigUInt b = a; });
  EXPECT_EQ(count, 1);
}

}  // namespace
}  // namespace kovrix

// isqrt against GMP's mpz_sqrt, the defining inequality, and the listed
// values of the int64 export.
#include "support/big.hpp"
#include "arithmetic/signed_big.hpp"
#include "kovrix.h"
#include "roots/isqrt.hpp"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

TEST(Isqrt, AgreesWithGmp) {
  KOVRIX_SEED_TRACE();
  Mpz z, r;
  for (int i = 0; i < 1500; ++i) {
    BigUInt m = randomBig(i < 1400 ? below(9) : below(40));
    // Perfect squares and their neighbours too.
    if (below(3) == 0 && !m.isZero()) {
      BigUInt s = mul(m, m);
      m = below(2) ? s : sub(s, initBigUInt(std::uint64_t{1}));
    }
    BigInt n{false, m};
    toMpz(z, n);
    mpz_sqrt(r, z);
    BigInt root = isqrt(n);
    ASSERT_TRUE(sameAs(root, r)) << hex(n);
  }
}

TEST(Isqrt, ListedValues) {
  BigInt p128{false, initBigUInt({0, 0, 1})};
  EXPECT_TRUE(limbsEqual(isqrt(p128).magnitude, {0, 1}));
  BigInt m128{false, initBigUInt({~Limb{0}, ~Limb{0}})};
  EXPECT_TRUE(limbsEqual(isqrt(m128).magnitude, {~Limb{0}}));
  EXPECT_EQ(isqrt(BigInt{}), BigInt{});
  EXPECT_EQ(isqrt(initBigInt(std::int64_t{1})), initBigInt(std::int64_t{1}));
  try {
    isqrt(initBigInt(std::int64_t{-1}));
    FAIL();
  } catch (const ValueError& e) {
    EXPECT_STREQ(e.what(), "isqrt: argument must be non-negative");
  }
}

TEST(IsqrtI64, ListedValues) {
  struct {
    std::int64_t n, root;
  } cases[] = {{0, 0},  {1, 1},        {3, 1}, {4, 2}, {15, 3}, {16, 4}, {std::int64_t{1} << 62, std::int64_t{1} << 31},
               {INT64_MAX, 3037000499}, {-1, 0}, {INT64_MIN, 0}};
  for (auto c : cases) EXPECT_EQ(kovrix_isqrt_i64(c.n), c.root) << c.n;
}

TEST(IsqrtI64, AgreesWithGmpOnRandomValues) {
  KOVRIX_SEED_TRACE();
  Mpz z;
  for (int i = 0; i < 20000; ++i) {
    std::int64_t n = static_cast<std::int64_t>(randomLimb() >> (1 + below(63)));
    mpz_set_si(z, n);
    mpz_sqrt(z, z);
    ASSERT_EQ(kovrix_isqrt_i64(n), mpz_get_si(z)) << n;
  }
}

}  // namespace
}  // namespace kovrix

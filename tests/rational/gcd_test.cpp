// gcd: Lehmer's algorithm and the binary one-limb gcd against GMP and against
// the plain Euclidean algorithm, over operands with large common factors,
// very different sizes, and runs of small quotients (consecutive Fibonacci
// numbers, the Euclidean worst case).
#include "rational/gcd.hpp"

#include "support/big.hpp"
#include "arithmetic/signed_big.hpp"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

void expectGcd(const BigInt& a, const BigInt& b) {
  Mpz za, zb, zg;
  toMpz(za, a);
  toMpz(zb, b);
  mpz_gcd(zg, za, zb);
  ASSERT_TRUE(sameAs(gcd(a, b), zg)) << "gcd(" << hex(a) << ", " << hex(b) << ")";
  ASSERT_TRUE(sameAs(gcd(b, a), zg));
  ASSERT_TRUE(sameAs(euclidGcd(a, b), zg));
}

TEST(Gcd, AgreesWithGmpAndEuclid) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 3000; ++i) {
    BigInt g = randomBigInt(below(4) == 0 ? below(12) : below(3));
    BigInt a = randomBigInt(randomLength(40)) * g, b = randomBigInt(below(2) ? randomLength(40) : below(3)) * g;
    ASSERT_NO_FATAL_FAILURE(expectGcd(a, b));
  }
}

// Quotients of every size from the first step on: a = b q + r.
TEST(Gcd, LargeQuotients) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 1000; ++i) {
    BigInt b = randomBigInt(2 + below(8)), q = initBigInt(static_cast<std::int64_t>(randomLimb() >> (1 + below(63))));
    ASSERT_NO_FATAL_FAILURE(expectGcd(b * q + randomBigInt(1 + below(8)), b));
  }
}

TEST(Gcd, FibonacciNeighbours) {
  BigInt a = initBigInt(1), b = initBigInt(1);
  for (int i = 0; i < 3000; ++i) {
    BigInt c = a + b;
    a = std::move(b);
    b = std::move(c);
    if (i % 97 == 0) ASSERT_NO_FATAL_FAILURE(expectGcd(b, a));
    if (i % 97 == 0) ASSERT_NO_FATAL_FAILURE(expectGcd(b * initBigInt(6), a * initBigInt(4)));
  }
}

TEST(Gcd, LimbValues) {
  EXPECT_EQ(gcdLimb(0, 0), 0u);
  EXPECT_EQ(gcdLimb(0, 7), 7u);
  EXPECT_EQ(gcdLimb(12, 18), 6u);
  EXPECT_EQ(gcdLimb(~Limb{0}, ~Limb{0} - 1), 1u);
  EXPECT_EQ(gcdLimb(Limb{1} << 63, Limb{3} << 40), Limb{1} << 40);
  for (int i = 0; i < 20000; ++i) {
    Limb a = randomLimb() >> below(64), b = randomLimb() >> below(64);
    Mpz za, zb, zg;
    mpz_set_ui(za, a);
    mpz_set_ui(zb, b);
    mpz_gcd(zg, za, zb);
    ASSERT_EQ(gcdLimb(a, b), mpz_get_ui(zg)) << a << " " << b;
  }
  EXPECT_TRUE(gcd(BigInt{}, BigInt{}).magnitude.isZero());
  EXPECT_EQ(cmp(gcd(initBigInt(-12), BigInt{}), initBigInt(12)), 0);
}

}  // namespace
}  // namespace kovrix

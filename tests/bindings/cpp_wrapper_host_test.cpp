// The C++ layer of kovrix.hpp: ownership, failures as exceptions that leave
// the thread usable, and printing, against GMP's text for the same values.
#include <gmp.h>
#include <mpfr.h>
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <utility>

#include "kovrix.hpp"
#include "support/seed.hpp"

namespace {

using kovrix::BigInt;
using kovrix::Fixed;
using kovrix::Interval;

std::string gmpText(const mpz_t z) {
  char* s = mpz_get_str(nullptr, 10, z);
  std::string out(s);
  void (*release)(void*, size_t);
  mp_get_memory_functions(nullptr, nullptr, &release);
  release(s, out.size() + 1);
  return out;
}

// Random operands of 1 to 9000 decimal digits: the longest need several
// retries of the growing text buffer.
TEST(CppBigInt, ArithmeticAndTextAgreeWithGmp) {
  gmp_randstate_t state;
  gmp_randinit_default(state);
  gmp_randseed_ui(state, kovrix::testsupport::rng()());
  mpz_t a, b, r;
  mpz_inits(a, b, r, nullptr);
  for (int i = 0; i < 60; ++i) {
    mpz_rrandomb(a, state, 1 + i * 500);
    mpz_rrandomb(b, state, 1 + (i % 7) * 90);
    if (i % 2) mpz_neg(a, a);
    if (mpz_sgn(b) == 0) mpz_set_ui(b, 3);
    const BigInt x(gmpText(a)), y(gmpText(b));
    EXPECT_EQ(x.to_string(), gmpText(a)) << "text, case " << i;
    mpz_mul(r, a, b);
    EXPECT_EQ((x * y).to_string(), gmpText(r)) << "product, case " << i;
    mpz_tdiv_qr(r, a, a, b);
    EXPECT_EQ((x / y).to_string(), gmpText(r)) << "quotient, case " << i;
    EXPECT_EQ((x % y).to_string(), gmpText(a)) << "remainder, case " << i;
    std::ostringstream out;
    out << y;
    EXPECT_EQ(out.str(), gmpText(b));
  }
  mpz_clears(a, b, r, nullptr);
  gmp_randclear(state);
}

TEST(CppBigInt, CopiesAreIndependentAndMovesTransferOwnership) {
  BigInt a("123456789012345678901234567890");
  BigInt b = a;
  EXPECT_NE(a.handle(), b.handle());
  b += 1;
  EXPECT_EQ(a.to_string(), "123456789012345678901234567890");
  EXPECT_EQ(b.to_string(), "123456789012345678901234567891");
  BigInt c = std::move(b);
  EXPECT_EQ(b.handle(), nullptr);
  EXPECT_THROW(b.to_string(), kovrix::Error);
  b = c;
  a = std::move(c);
  a = a;
  EXPECT_EQ(a, b);
  EXPECT_EQ(BigInt(18446744073709551615ull).to_string(), "18446744073709551615");
  EXPECT_EQ(BigInt(-0x1p70).to_string(), "-1180591620717411303424");
  EXPECT_EQ(BigInt(-2.75).to_string(), "-2");
  EXPECT_EQ(static_cast<double>(BigInt("9007199254740993")), 9007199254740992.0);
}

TEST(CppBigInt, FailuresThrowAndLeaveTheThreadUsable) {
  EXPECT_THROW(BigInt("12x"), kovrix::Error);
  EXPECT_THROW(BigInt(5) / BigInt(0), kovrix::Error);
  EXPECT_THROW(BigInt(5) % 0, kovrix::Error);
  EXPECT_THROW(BigInt(1) << -1, kovrix::Error);
  EXPECT_THROW((BigInt(1) << 64).to_int64(), kovrix::Error);
  EXPECT_THROW(BigInt(-1).to_uint64(), kovrix::Error);
  EXPECT_THROW(BigInt(std::numeric_limits<double>::infinity()), kovrix::Error);
  // A negative buffer size leaves a range error pending: every BigInt export
  // fails until it is cleared, and the layer clears it when it throws.
  BigInt x(7);
  char buf[8];
  EXPECT_EQ(kovrix_bigint_to_decimal(x.handle(), buf, -1), 0);
  EXPECT_THROW(x + x, kovrix::Error);
  EXPECT_EQ((x + x).to_string(), "14");
  EXPECT_EQ((BigInt(-7) >> 1).to_int64(), -4);
}

TEST(CppFixed, ArithmeticFunctionsAndRejectedArguments) {
  const Fixed half = Fixed::from_double(0.5), two(2);
  EXPECT_EQ(two.raw(), std::int64_t{2} << 32);
  EXPECT_EQ((two * half).raw(), std::int64_t{1} << 32);
  EXPECT_EQ((half / two).to_double(), 0.25);
  EXPECT_EQ((half - two).to_double(), -1.5);
  EXPECT_EQ(floor(-half).to_double(), -1.0);
  EXPECT_EQ(Fixed::from_raw(INT64_MAX) + two, Fixed::from_raw(INT64_MAX));
  EXPECT_EQ(kovrix::sqrt(two).raw(), 6074000999);
  EXPECT_EQ(kovrix::ln(Fixed()).raw(), 0);  // a domain answer, not an exception
  EXPECT_EQ(kovrix::q32::cordic_sin(Fixed()).raw(), -3);
  EXPECT_EQ(Fixed(3, 8).raw(), 768);
  EXPECT_THROW(two / Fixed(), kovrix::Error);
  EXPECT_THROW(Fixed(1, 64), kovrix::Error);
  EXPECT_THROW(two + Fixed(1, 16), kovrix::Error);
  EXPECT_THROW(kovrix::sin(Fixed(1, 16)), kovrix::Error);
}

TEST(CppInterval, OperatorsAndPrinting) {
  const Interval a(1, 2), b(0.25, 0.5);
  EXPECT_TRUE((a / b).contains(Interval(2, 8)));
  EXPECT_EQ((a / Interval(-1, 1)).hi(), std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(kovrix::sqrt(Interval(-2, -1)).lo()));
  EXPECT_TRUE(kovrix::sin(Interval(0, 7)).contains(Interval(-1, 1)));
  EXPECT_FALSE(intersect(a, Interval(3, 4)).is_valid());
  std::ostringstream out;
  out << hull(a, b);
  EXPECT_EQ(out.str(), "[0.25, 2]");
}

}  // namespace

namespace {

using kovrix::BigFloat;
using kovrix::Rational;

// Products and quotients of random doubles, printed exactly and read back by
// MPFR, against MPFR's own 256-bit results.
TEST(CppBigFloat, ExactTextOfRoundedArithmeticAgreesWithMpfr) {
  auto& rng = kovrix::testsupport::rng();
  std::uniform_real_distribution<double> u(-1e6, 1e6);
  mpfr_t a, b, r, back;
  mpfr_inits2(256, a, b, r, nullptr);
  mpfr_init2(back, 4096);
  for (int i = 0; i < 200; ++i) {
    const double x = u(rng), y = u(rng);
    mpfr_set_d(a, x, MPFR_RNDN);
    mpfr_set_d(b, y, MPFR_RNDN);
    mpfr_div(r, a, b, MPFR_RNDN);
    mpfr_mul(r, r, a, MPFR_RNDN);
    const BigFloat q = BigFloat(x) / BigFloat(y) * BigFloat(x);
    mpfr_set_str(back, q.to_string().c_str(), 10, MPFR_RNDN);
    EXPECT_TRUE(mpfr_equal_p(back, r)) << "x / y * x for x = " << x << ", y = " << y << ": " << q;
  }
  mpfr_clears(a, b, r, back, nullptr);
  EXPECT_EQ(BigFloat(0.1).to_string(), "0.1000000000000000055511151231257827021181583404541015625");
  EXPECT_EQ(BigFloat("-2.5e-1").to_string(), "-0.25");
  EXPECT_EQ(BigFloat(std::int64_t{1} << 62).to_string(), "4611686018427387904");
  EXPECT_EQ((BigFloat(1) / BigFloat(3)).to_double(), 1.0 / 3);
}

TEST(CppBigFloat, OwnershipFailuresAndFunctions) {
  BigFloat a = BigFloat::pi();
  BigFloat b = a;
  b += 1;
  EXPECT_LT(a, b);
  BigFloat c = std::move(b);
  EXPECT_EQ(b.handle(), nullptr);
  EXPECT_NEAR(kovrix::sin(a).to_double(), 0.0, 1e-60);
  EXPECT_EQ(kovrix::sqrt(BigFloat(4)).to_double(), 2.0);
  EXPECT_THROW(BigFloat(std::nan("")), kovrix::Error);
  EXPECT_THROW(c / BigFloat(0), kovrix::Error);
  EXPECT_THROW(kovrix::ln(BigFloat(-1)), kovrix::Error);
  EXPECT_THROW(kovrix::pow(BigFloat(0), -1), kovrix::Error);
  // 0^-1 through the C interface leaves a division error pending; the layer
  // clears it when the next call fails and throws.
  kovrix_bigfloat_destroy(kovrix_bigfloat_pow_int(BigFloat(0).handle(), -1));
  EXPECT_THROW(a + a, kovrix::Error);
  EXPECT_EQ((a - a).to_string(), "0");
}

TEST(CppRational, ArithmeticTextAndFailures) {
  const Rational third("1/3"), eighth("-1.25e-1");
  EXPECT_EQ((third + eighth).to_string(), "5/24");
  EXPECT_EQ((third * 3).to_string(), "1");
  EXPECT_EQ(Rational(0.75).to_string(), "3/4");
  EXPECT_EQ(Rational(BigInt(6), BigInt(-4)).den().to_string(), "2");
  Rational r = third;
  r /= eighth;
  EXPECT_EQ(third.to_string(), "1/3");
  EXPECT_EQ(r.to_string(), "-8/3");
  EXPECT_NEAR(kovrix::exp(Rational(1)).to_double(), 2.718281828, 1e-6);
  EXPECT_THROW(third / Rational(0), kovrix::Error);
  EXPECT_THROW(Rational(BigInt(1), BigInt(0)), kovrix::Error);
  EXPECT_THROW(kovrix::sqrt(Rational(-1)), kovrix::Error);
  EXPECT_THROW(Rational("1/x"), kovrix::Error);
}

TEST(CppConversions, BetweenTheFamilies) {
  EXPECT_EQ(Rational(0.1).to_string(), "3602879701896397/36028797018963968");
  EXPECT_THROW(Rational(std::nan("")), kovrix::Error);
  EXPECT_EQ(Rational(kovrix::Fixed::from_raw(-3, 1)).to_string(), "-3/2");
  EXPECT_EQ(Rational("-7/2").to_bigint().to_string(), "-3");
  EXPECT_EQ(BigFloat(-2.5).to_bigint().to_string(), "-2");
  EXPECT_EQ(Rational("1/3").to_bigfloat(), BigFloat(1) / BigFloat(3));
  EXPECT_EQ(Rational("-1/3").to_fixed().raw(), -1431655765);
  EXPECT_EQ(Rational(-1).to_fixed(62).raw(), -(std::int64_t{1} << 62));
  EXPECT_THROW(Rational(1).to_fixed(63), kovrix::Error);  // 2^63 does not fit
  EXPECT_THROW(Rational(-1).to_fixed(63), kovrix::Error);
  const kovrix::Interval third(Rational("1/3"));
  EXPECT_EQ(third.lo(), 0.3333333333333332);
  EXPECT_EQ(third.hi(), 0.3333333333333334);
  EXPECT_EQ(kovrix::Interval(BigInt(0)).hi(), 0x1p-1073);
  EXPECT_TRUE(kovrix::Interval(BigFloat::pi()).contains(3.141592653589793));
}

}  // namespace

// Decimal text both ways: GMP agreement, the chunk boundaries of 19 digits,
// the one-division-per-digit reference, the divide-and-conquer variants
// against the chunked ones at their thresholds and split points, and every
// parse error.
#include <vector>

#include "support/big.hpp"
#include "arithmetic/formatting.hpp"
#include "arithmetic/signed_big.hpp"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

std::string gmpDecimal(mpz_srcptr z) {
  std::string s(mpz_sizeinbase(z, 10) + 2, '\0');
  mpz_get_str(s.data(), 10, z);
  s.resize(std::strlen(s.c_str()));
  return s;
}

// The reference: one division by 10 per digit.
std::string decimalDigitByDigit(BigUInt v) {
  if (v.isZero()) return "0";
  std::string out;
  while (!v.isZero()) {
    auto [q, r] = divModLimb(v, 10);
    out.push_back(static_cast<char>('0' + r));
    v = std::move(q);
  }
  return {out.rbegin(), out.rend()};
}

TEST(ToDecimal, AgreesWithGmpAndDigitByDigit) {
  KOVRIX_SEED_TRACE();
  Mpz z;
  for (int i = 0; i < 600; ++i) {
    BigInt x = randomBigInt(randomLength(i < 500 ? 40 : 300));
    toMpz(z, x);
    std::string text = toDecimal(x);
    ASSERT_EQ(text, gmpDecimal(z)) << hex(x);
    if (i < 300) ASSERT_EQ(toDecimal(x.magnitude), decimalDigitByDigit(x.magnitude));
  }
}

TEST(ToDecimal, PowersOfTenAroundChunks) {
  Mpz z;
  for (unsigned k = 0; k <= 80; ++k) {
    mpz_ui_pow_ui(z, 10, k);
    for (int delta : {-1, 0, 1}) {
      Mpz w;
      if (delta < 0) mpz_sub_ui(w, z, 1);
      else mpz_add_ui(w, z, static_cast<unsigned long>(delta));
      BigInt x = fromMpz(w);
      ASSERT_EQ(toDecimal(x), gmpDecimal(w)) << "10^" << k << " + " << delta;
      ASSERT_EQ(initBigIntFromDecimal(gmpDecimal(w)), x);
    }
  }
}

TEST(ToDecimal, ListedValues) {
  EXPECT_EQ(toDecimal(BigInt{}), "0");
  EXPECT_EQ(toDecimal(initBigInt(std::int64_t{-12345})), "-12345");
  EXPECT_EQ(toDecimal(initBigUInt({0, 1})), "18446744073709551616");
  EXPECT_EQ(toDecimal(initBigInt(INT64_MIN)), "-9223372036854775808");
}

TEST(FromDecimal, AgreesWithGmp) {
  KOVRIX_SEED_TRACE();
  Mpz z;
  for (int i = 0; i < 600; ++i) {
    std::size_t digits = 1 + below(below(4) == 0 ? 6000 : 60);
    std::string s;
    if (below(3) == 0) s.push_back(below(2) ? '-' : '+');
    for (std::size_t k = 0; k < digits; ++k) s.push_back(static_cast<char>('0' + below(10)));
    if (below(5) == 0) s.insert(s.size() - digits, std::string(below(30), '0'));  // leading zeros
    mpz_set_str(z, s[0] == '+' ? s.c_str() + 1 : s.c_str(), 10);
    BigInt x = initBigIntFromDecimal(s);
    ASSERT_TRUE(sameAs(x, z)) << s;
  }
}

TEST(FromDecimal, SignsAndZeros) {
  for (const char* s : {"0", "-0", "+0", "-000", "00"}) {
    BigInt x = initBigIntFromDecimal(s);
    EXPECT_FALSE(x.negative) << s;
    EXPECT_TRUE(x.magnitude.isZero()) << s;
  }
  EXPECT_EQ(initBigIntFromDecimal("007"), initBigInt(std::int64_t{7}));
  EXPECT_EQ(initBigIntFromDecimal("-18446744073709551616"), (BigInt{true, initBigUInt({0, 1})}));
  EXPECT_EQ(initBigIntFromDecimal("+42"), initBigInt(std::int64_t{42}));
}

TEST(FromDecimal, ErrorMessages) {
  auto message = [](std::string_view s) -> std::string {
    try {
      initBigIntFromDecimal(s);
    } catch (const ValueError& e) {
      return e.what();
    }
    return "accepted";
  };
  for (std::string_view s : {"", "-", "+", "abc", " 12", "-+1", "+-1", "--1", "-a"})
    EXPECT_EQ(message(s), "no decimal digits") << '"' << s << '"';
  for (std::string_view s : {"12a", "1 ", "-1x", "1-", "1.5", "0x10", "99999999999999999999999z"})
    EXPECT_EQ(message(s), "trailing non-digit characters in decimal string") << '"' << s << '"';
  EXPECT_EQ(message(std::string_view("12\0003", 4)), "trailing non-digit characters in decimal string");
}

// Texts whose value sits at a split point 10^(19 2^k) of the divide-and-
// conquer conversions or next to one: the power itself, its neighbours, runs
// of 9s and of 0s across the split, a multiple of the power plus one.
std::vector<std::string> splitPointTexts() {
  std::vector<std::string> texts;
  for (std::size_t e = 19; e <= 19 * 128; e *= 2) {
    std::string power = "1" + std::string(e, '0');
    texts.push_back(power);
    texts.push_back(std::string(e, '9'));                                  // 10^e - 1
    texts.push_back(power.substr(0, e) + "1");                             // 10^e + 1
    texts.push_back(std::string(e + 7, '9'));                              // 9s across the split
    texts.push_back("5" + std::string(e - 1, '0') + "3" + std::string(e, '0'));  // 0s on both sides
    texts.push_back("7" + std::string(e - 1, '9') + "8" + std::string(e - 1, '9'));
    texts.push_back("123456789" + std::string(e - 1, '0') + "1");          // 123456789 10^e + 1
  }
  for (std::size_t d : {FromDecimalDivideConquerThreshold - 1, FromDecimalDivideConquerThreshold,
                        FromDecimalDivideConquerThreshold + 1}) {
    std::string s(d, '0');
    for (auto& c : s) c = static_cast<char>('0' + below(10));
    s[0] = '1';
    texts.push_back(s);
  }
  return texts;
}

TEST(DivideConquer, SplitPointsAgreeWithChunksAndGmp) {
  KOVRIX_SEED_TRACE();
  Mpz z;
  for (const std::string& s : splitPointTexts()) {
    mpz_set_str(z, s.c_str(), 10);
    // Small leaves, so that the recursion splits at every level.
    BigUInt x = fromDecimalDivideConquer(s, 20);
    ASSERT_TRUE(sameAs(x, z)) << s.size() << " digits";
    ASSERT_EQ(x, fromDecimalByChunks(s));
    ASSERT_EQ(fromDecimalDivideConquer(s), x);
    ASSERT_EQ(toDecimalDivideConquer(x, 2), s);
    ASSERT_EQ(toDecimalDivideConquer(x), s);
    ASSERT_EQ(toDecimalByChunks(x), s);
    ASSERT_EQ(toDecimal(initBigInt(x, true)), "-" + s);
  }
}

// Random values of every shape at the to-text threshold +-1 and a few
// recursion levels above it.
TEST(DivideConquer, ToTextAgreesWithChunksAndGmp) {
  KOVRIX_SEED_TRACE();
  Mpz z;
  const std::size_t t = ToDecimalDivideConquerThreshold;
  for (std::size_t n : {t - 1, t, t + 1, 2 * t + 3, 5 * t, 17 * t})
    for (int shape = 0; shape < 6; ++shape) {
      BigUInt x = randomBig(n, shape);
      toMpz(z, x);
      std::string text = toDecimal(x);
      ASSERT_EQ(text, gmpDecimal(z)) << n << " limbs, shape " << shape;
      ASSERT_EQ(toDecimalByChunks(x), text);
      ASSERT_EQ(toDecimalDivideConquer(x, 2), text);
      ASSERT_EQ(fromDecimalDivideConquer(text), x);
      ASSERT_EQ(fromDecimalDivideConquer(text, 20), x);
    }
}

#ifdef NDEBUG
// A value of 2^22 bits (about 1.26 million digits) both ways, and a million
// random digits (the Release build only).
TEST(DivideConquer, MillionDigits) {
  Mpz z;
  BigUInt p = shl(initBigUInt(std::uint64_t{1}), std::int64_t{1} << 22);
  mpz_setbit(z, std::uint64_t{1} << 22);
  std::string text = toDecimal(p);
  ASSERT_EQ(text, gmpDecimal(z));
  ASSERT_EQ(initBigIntFromDecimal(text).magnitude, p);
  std::string digits(1000000, '0');
  for (auto& c : digits) c = static_cast<char>('0' + below(10));
  mpz_set_str(z, digits.c_str(), 10);
  BigInt x = initBigIntFromDecimal(digits);
  ASSERT_TRUE(sameAs(x, z));
  ASSERT_EQ(toDecimal(x), gmpDecimal(z));
}
#endif

TEST(RoundTrip, TextOfTextIsIdentity) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 300; ++i) {
    BigInt x = randomBigInt(randomLength(120));
    ASSERT_EQ(initBigIntFromDecimal(toDecimal(x)), x) << hex(x);
  }
}

}  // namespace
}  // namespace kovrix

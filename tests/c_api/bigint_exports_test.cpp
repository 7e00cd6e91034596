// The BigInt exports: results against GMP, the listed values, failure values
// for NULL and rejected arguments, the pending-error effects (which exports
// stop, which compute, which clear what), and aliasing of handles.
#include <memory>

#include "support/big.hpp"
#include "c_api/pending_error.hpp"
#include "kovrix.h"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;
using capi::clearPending;
using capi::errorPending;
using capi::pendingError;
using capi::setPending;

struct Destroy {
  void operator()(kovrix_bigint* h) const { kovrix_bigint_destroy(h); }
};
using Handle = std::unique_ptr<kovrix_bigint, Destroy>;

Handle fromText(const char* s) { return Handle(kovrix_bigint_from_decimal(s)); }
Handle fromI64(std::int64_t v) { return Handle(kovrix_bigint_from_i64(v)); }

std::string text(const kovrix_bigint* h) {
  if (h == nullptr) return "<NULL>";
  std::vector<char> buf(8192);
  int n = kovrix_bigint_to_decimal(h, buf.data(), static_cast<int64_t>(buf.size()));
  if (n < 0) return "<to_decimal failed>";
  return std::string(buf.data(), static_cast<std::size_t>(n));
}

std::string gmpText(mpz_srcptr z) {
  std::string s(mpz_sizeinbase(z, 10) + 2, '\0');
  mpz_get_str(s.data(), 10, z);
  s.resize(std::strlen(s.c_str()));
  return s;
}

class BigIntExports : public ::testing::Test {
 protected:
  void SetUp() override { clearPending(); }
  void TearDown() override { clearPending(); }
};

// ---- agreement with GMP ---------------------------------------------------------

TEST_F(BigIntExports, ArithmeticAgreesWithGmp) {
  KOVRIX_SEED_TRACE();
  Mpz za, zb, zr;
  for (int i = 0; i < 400; ++i) {
    BigInt a = randomBigInt(randomLength(60)), b = randomBigInt(randomLength(60));
    toMpz(za, a);
    toMpz(zb, b);
    Handle ha = fromText(gmpText(za).c_str()), hb = fromText(gmpText(zb).c_str());
    ASSERT_TRUE(ha && hb);
    mpz_add(zr, za, zb);
    ASSERT_EQ(text(Handle(kovrix_bigint_add(ha.get(), hb.get())).get()), gmpText(zr));
    mpz_sub(zr, za, zb);
    ASSERT_EQ(text(Handle(kovrix_bigint_sub(ha.get(), hb.get())).get()), gmpText(zr));
    mpz_mul(zr, za, zb);
    ASSERT_EQ(text(Handle(kovrix_bigint_mul(ha.get(), hb.get())).get()), gmpText(zr));
    if (mpz_sgn(zb.v) != 0) {
      mpz_tdiv_q(zr, za, zb);
      ASSERT_EQ(text(Handle(kovrix_bigint_div(ha.get(), hb.get())).get()), gmpText(zr));
      mpz_tdiv_r(zr, za, zb);
      ASSERT_EQ(text(Handle(kovrix_bigint_mod(ha.get(), hb.get())).get()), gmpText(zr));
    }
    int c = mpz_cmp(za, zb);
    ASSERT_EQ(kovrix_bigint_cmp(ha.get(), hb.get()), (c > 0) - (c < 0));
    int n = static_cast<int>(below(200));
    mpz_mul_2exp(zr, za, n);
    ASSERT_EQ(text(Handle(kovrix_bigint_shl(ha.get(), n)).get()), gmpText(zr));
    mpz_fdiv_q_2exp(zr, za, n);
    ASSERT_EQ(text(Handle(kovrix_bigint_shr(ha.get(), n)).get()), gmpText(zr));
    mpz_neg(zr, za);
    ASSERT_EQ(text(Handle(kovrix_bigint_neg(ha.get())).get()), gmpText(zr));
    mpz_abs(zr, za);
    ASSERT_EQ(text(Handle(kovrix_bigint_abs(ha.get())).get()), gmpText(zr));
    ASSERT_FALSE(errorPending());
  }
}

TEST_F(BigIntExports, SameHandleAsBothArguments) {
  KOVRIX_SEED_TRACE();
  Mpz z, r;
  for (int i = 0; i < 100; ++i) {
    BigInt a = randomBigInt(randomLength(50));
    toMpz(z, a);
    std::string before = gmpText(z);
    Handle h = fromText(before.c_str());
    mpz_mul_2exp(r, z, 1);
    ASSERT_EQ(text(Handle(kovrix_bigint_add(h.get(), h.get())).get()), gmpText(r));
    ASSERT_EQ(text(Handle(kovrix_bigint_sub(h.get(), h.get())).get()), "0");
    mpz_mul(r, z, z);
    ASSERT_EQ(text(Handle(kovrix_bigint_mul(h.get(), h.get())).get()), gmpText(r));
    if (mpz_sgn(z.v) != 0) {
      ASSERT_EQ(text(Handle(kovrix_bigint_div(h.get(), h.get())).get()), "1");
      ASSERT_EQ(text(Handle(kovrix_bigint_mod(h.get(), h.get())).get()), "0");
    }
    ASSERT_EQ(kovrix_bigint_cmp(h.get(), h.get()), 0);
    ASSERT_EQ(text(h.get()), before) << "argument handle changed";
  }
}

TEST_F(BigIntExports, ResultsAreNewHandles) {
  Handle a = fromI64(5), z = fromI64(0);
  Handle s(kovrix_bigint_add(a.get(), z.get()));
  Handle n(kovrix_bigint_abs(a.get()));
  Handle sh(kovrix_bigint_shl(a.get(), 0));
  EXPECT_NE(s.get(), a.get());
  EXPECT_NE(n.get(), a.get());
  EXPECT_NE(sh.get(), a.get());
}

// ---- listed values --------------------------------------------------------------

TEST_F(BigIntExports, ZeroAndNegation) {
  Handle z = fromI64(0);
  Handle nz(kovrix_bigint_neg(z.get()));
  EXPECT_EQ(text(nz.get()), "0");
  EXPECT_EQ(kovrix_bigint_cmp(z.get(), nz.get()), 0);
  Handle a = fromText("-77777777777777777777777");
  EXPECT_EQ(text(Handle(kovrix_bigint_sub(a.get(), a.get())).get()), "0");
  EXPECT_EQ(text(Handle(kovrix_bigint_add(fromI64(5).get(), fromI64(-5).get())).get()), "0");
  Handle one = fromText("18446744073709551615");
  EXPECT_EQ(text(Handle(kovrix_bigint_add(one.get(), fromI64(1).get())).get()), "18446744073709551616");
  EXPECT_EQ(text(Handle(kovrix_bigint_sub(fromText("18446744073709551616").get(), fromI64(1).get())).get()),
            "18446744073709551615");
  EXPECT_EQ(text(Handle(kovrix_bigint_abs(a.get())).get()), "77777777777777777777777");
}

TEST_F(BigIntExports, ToI64Saturates) {
  int ok = 7;
  EXPECT_EQ(kovrix_bigint_to_i64(fromText("9223372036854775808").get(), &ok), INT64_MAX);
  EXPECT_EQ(ok, 0);
  EXPECT_EQ(kovrix_bigint_to_i64(fromText("-9223372036854775809").get(), &ok), INT64_MIN);
  EXPECT_EQ(ok, 0);
  EXPECT_EQ(kovrix_bigint_to_i64(fromText("-9223372036854775808").get(), &ok), INT64_MIN);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(kovrix_bigint_to_i64(fromText("9223372036854775807").get(), &ok), INT64_MAX);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(kovrix_bigint_to_i64(fromText("-123").get(), &ok), -123);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(kovrix_bigint_to_i64(fromText("-1000000000000000000000000").get(), nullptr), INT64_MIN);
  ok = 7;
  EXPECT_EQ(kovrix_bigint_to_i64(nullptr, &ok), 0);
  EXPECT_EQ(ok, 0);
  EXPECT_EQ(kovrix_bigint_to_i64(nullptr, nullptr), 0);
  EXPECT_FALSE(errorPending());
}

TEST_F(BigIntExports, ToU64Saturates) {
  int ok = 7;
  EXPECT_EQ(kovrix_bigint_to_u64(fromText("18446744073709551616").get(), &ok), ~uint64_t{0});
  EXPECT_EQ(ok, 0);
  EXPECT_EQ(kovrix_bigint_to_u64(fromI64(-1).get(), &ok), 0u);
  EXPECT_EQ(ok, 0);
  EXPECT_EQ(kovrix_bigint_to_u64(fromText("18446744073709551615").get(), &ok), ~uint64_t{0});
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(kovrix_bigint_to_u64(fromI64(0).get(), &ok), 0u);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(kovrix_bigint_to_u64(fromText("-99999999999999999999999").get(), &ok), 0u);
  EXPECT_EQ(ok, 0);
  ok = 7;
  EXPECT_EQ(kovrix_bigint_to_u64(nullptr, &ok), 0u);
  EXPECT_EQ(ok, 0);
  EXPECT_EQ(kovrix_bigint_to_u64(fromI64(3).get(), nullptr), 3u);
  EXPECT_FALSE(errorPending());
}

TEST_F(BigIntExports, ToI64AgreesWithGmp) {
  KOVRIX_SEED_TRACE();
  Mpz z, lo, hi;
  mpz_set_si(lo, INT64_MIN);
  mpz_set_si(hi, INT64_MAX);
  for (int i = 0; i < 500; ++i) {
    BigInt x = randomBigInt(below(3));
    toMpz(z, x);
    Handle h = fromText(gmpText(z).c_str());
    int ok = -1;
    std::int64_t v = kovrix_bigint_to_i64(h.get(), &ok);
    bool fits = mpz_cmp(z, lo) >= 0 && mpz_cmp(z, hi) <= 0;
    ASSERT_EQ(ok, fits ? 1 : 0) << gmpText(z);
    ASSERT_EQ(v, fits ? mpz_get_si(z) : (mpz_sgn(z.v) < 0 ? INT64_MIN : INT64_MAX)) << gmpText(z);
    int ok2 = -1;
    std::uint64_t u = kovrix_bigint_to_u64(h.get(), &ok2);
    bool fitsU = mpz_sgn(z.v) >= 0 && mpz_sizeinbase(z, 2) <= 64;
    ASSERT_EQ(ok2, fitsU ? 1 : 0) << gmpText(z);
    ASSERT_EQ(u, fitsU ? static_cast<std::uint64_t>(mpz_get_ui(z)) : (mpz_sgn(z.v) < 0 ? 0 : ~uint64_t{0}));
  }
}

TEST_F(BigIntExports, DivisionSigns) {
  struct {
    std::int64_t a, b;
    const char *q, *r;
  } cases[] = {{7, -2, "-3", "1"}, {-7, 2, "-3", "-1"}, {-7, -2, "3", "-1"}, {-6, 3, "-2", "0"}, {3, 10, "0", "3"},
               {-3, 10, "0", "-3"}};
  for (auto c : cases) {
    Handle a = fromI64(c.a), b = fromI64(c.b);
    EXPECT_EQ(text(Handle(kovrix_bigint_div(a.get(), b.get())).get()), c.q) << c.a << " / " << c.b;
    EXPECT_EQ(text(Handle(kovrix_bigint_mod(a.get(), b.get())).get()), c.r) << c.a << " % " << c.b;
  }
  Handle big = fromText("340282366920938463463374607431768211456");  // 2^128
  Handle d = fromText("18446744073709551617");                        // 2^64 + 1
  EXPECT_EQ(text(Handle(kovrix_bigint_div(big.get(), d.get())).get()), "18446744073709551615");
  EXPECT_EQ(text(Handle(kovrix_bigint_mod(big.get(), d.get())).get()), "1");
}

TEST_F(BigIntExports, ZeroDivisorIsNullWithNothingPending) {
  Handle a = fromI64(7), z = fromI64(0), nz(kovrix_bigint_neg(z.get()));
  EXPECT_EQ(kovrix_bigint_div(a.get(), z.get()), nullptr);
  EXPECT_EQ(kovrix_bigint_mod(a.get(), z.get()), nullptr);
  EXPECT_EQ(kovrix_bigint_div(a.get(), nz.get()), nullptr);
  EXPECT_EQ(kovrix_bigint_div(z.get(), z.get()), nullptr);
  EXPECT_FALSE(errorPending());
}

TEST_F(BigIntExports, Shifts) {
  Handle one = fromI64(1);
  EXPECT_EQ(text(Handle(kovrix_bigint_shl(one.get(), 64)).get()), "18446744073709551616");
  EXPECT_EQ(text(Handle(kovrix_bigint_shl(one.get(), 0)).get()), "1");
  EXPECT_EQ(text(Handle(kovrix_bigint_shl(fromI64(0).get(), 1000)).get()), "0");
  EXPECT_EQ(text(Handle(kovrix_bigint_shl(fromI64(-3).get(), 2)).get()), "-12");
  Handle m1 = fromI64(-1);
  for (int n : {1, 64, 1000}) EXPECT_EQ(text(Handle(kovrix_bigint_shr(m1.get(), n)).get()), "-1") << n;
  EXPECT_EQ(text(Handle(kovrix_bigint_shr(fromI64(-4).get(), 1)).get()), "-2");
  EXPECT_EQ(text(Handle(kovrix_bigint_shr(fromI64(-5).get(), 1)).get()), "-3");
  EXPECT_EQ(text(Handle(kovrix_bigint_shr(fromI64(5).get(), 1)).get()), "2");
  Handle p64 = fromText("18446744073709551616");
  EXPECT_EQ(text(Handle(kovrix_bigint_shr(p64.get(), 64)).get()), "1");
  EXPECT_EQ(text(Handle(kovrix_bigint_shr(p64.get(), 65)).get()), "0");
  EXPECT_EQ(text(Handle(kovrix_bigint_shr(fromText("-18446744073709551616").get(), 64)).get()), "-1");
  EXPECT_EQ(text(Handle(kovrix_bigint_shr(fromText("-18446744073709551617").get(), 64)).get()), "-2");
  EXPECT_EQ(kovrix_bigint_shl(one.get(), -1), nullptr);
  EXPECT_EQ(kovrix_bigint_shr(one.get(), -1), nullptr);
  EXPECT_EQ(kovrix_bigint_shl(one.get(), INT32_MIN), nullptr);
  EXPECT_FALSE(errorPending());
}

TEST_F(BigIntExports, ToDecimalBuffer) {
  char buf[64];
  EXPECT_EQ(kovrix_bigint_to_decimal(fromI64(0).get(), buf, sizeof buf), 1);
  EXPECT_STREQ(buf, "0");
  Handle h = fromI64(-12345);
  EXPECT_EQ(kovrix_bigint_to_decimal(h.get(), buf, sizeof buf), 6);
  EXPECT_STREQ(buf, "-12345");
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(kovrix_bigint_to_decimal(h.get(), buf, 6), -1);
  for (char c : buf) ASSERT_EQ(c, 'x') << "buffer written on -1";
  EXPECT_EQ(kovrix_bigint_to_decimal(h.get(), buf, 7), 6);
  EXPECT_STREQ(buf, "-12345");
  EXPECT_EQ(buf[7], 'x');
  EXPECT_EQ(kovrix_bigint_to_decimal(fromText("18446744073709551616").get(), buf, sizeof buf), 20);
  EXPECT_STREQ(buf, "18446744073709551616");
  EXPECT_EQ(kovrix_bigint_to_decimal(h.get(), buf, 0), -1);
  EXPECT_EQ(kovrix_bigint_to_decimal(h.get(), nullptr, 10), -1);
  EXPECT_EQ(kovrix_bigint_to_decimal(nullptr, buf, 10), -1);
  EXPECT_FALSE(errorPending());
}

TEST_F(BigIntExports, FromDecimalTexts) {
  for (const char* s : {"0", "-0", "+0"}) {
    Handle h = fromText(s);
    ASSERT_TRUE(h) << s;
    EXPECT_EQ(text(h.get()), "0") << s;
    EXPECT_EQ(kovrix_bigint_cmp(h.get(), fromI64(0).get()), 0);
  }
  EXPECT_EQ(text(fromText("007").get()), "7");
  EXPECT_EQ(text(fromText("-18446744073709551616").get()), "-18446744073709551616");
  for (const char* bad : {"", "-", "+", "abc", "12a", "1 ", " 12"}) {
    EXPECT_EQ(kovrix_bigint_from_decimal(bad), nullptr) << '"' << bad << '"';
    EXPECT_FALSE(errorPending()) << '"' << bad << '"';
  }
  EXPECT_EQ(kovrix_bigint_from_decimal(nullptr), nullptr);
  EXPECT_FALSE(errorPending());
}

TEST_F(BigIntExports, UnsignedPrimitives) {
  uint64_t q = 11, r = 11;
  kovrix_udiv128(1, 0, 2, &q, &r);
  EXPECT_EQ(q, uint64_t{1} << 63);
  EXPECT_EQ(r, 0u);
  kovrix_udiv128(0, 7, 3, &q, &r);
  EXPECT_EQ(q, 2u);
  EXPECT_EQ(r, 1u);
  kovrix_udiv128(1, 0, 1, &q, &r);  // hi >= d: quotient 2^64 modulo 2^64
  EXPECT_EQ(q, 0u);
  EXPECT_EQ(r, 0u);
  kovrix_udiv128(3, 5, 2, &q, &r);
  EXPECT_EQ(q, (uint64_t{1} << 63) + 2);
  EXPECT_EQ(r, 1u);
  // Outside the contract: nothing written, no trap.
  q = r = 42;
  kovrix_udiv128(1, 2, 0, &q, &r);
  EXPECT_EQ(q, 42u);
  EXPECT_EQ(r, 42u);
  kovrix_udiv128(1, 2, 3, nullptr, &r);
  kovrix_udiv128(1, 2, 3, &q, nullptr);
  EXPECT_EQ(q, 42u);
  EXPECT_EQ(r, 42u);
  EXPECT_EQ(kovrix_clz64(0), 64);
  EXPECT_EQ(kovrix_clz64(1), 63);
  EXPECT_EQ(kovrix_clz64(uint64_t{1} << 63), 0);
  EXPECT_FALSE(errorPending());
}

TEST_F(BigIntExports, Udiv128AgreesWith128BitDivision) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 20000; ++i) {
    uint64_t hi = randomLimb() >> below(64), lo = randomLimb(), d = randomLimb() >> below(64);
    if (d == 0) continue;
    uint64_t q, r;
    kovrix_udiv128(hi, lo, d, &q, &r);
    UInt128 n = (UInt128(hi) << 64) | lo;
    ASSERT_EQ(q, uint64_t(n / d));
    ASSERT_EQ(r, uint64_t(n % d));
  }
}

// ---- NULL arguments -----------------------------------------------------------

TEST_F(BigIntExports, NullHandles) {
  Handle a = fromI64(3);
  EXPECT_EQ(kovrix_bigint_add(a.get(), nullptr), nullptr);
  EXPECT_EQ(kovrix_bigint_add(nullptr, a.get()), nullptr);
  EXPECT_EQ(kovrix_bigint_sub(nullptr, a.get()), nullptr);
  EXPECT_EQ(kovrix_bigint_mul(a.get(), nullptr), nullptr);
  EXPECT_EQ(kovrix_bigint_div(nullptr, a.get()), nullptr);
  EXPECT_EQ(kovrix_bigint_mod(a.get(), nullptr), nullptr);
  EXPECT_EQ(kovrix_bigint_neg(nullptr), nullptr);
  EXPECT_EQ(kovrix_bigint_abs(nullptr), nullptr);
  EXPECT_EQ(kovrix_bigint_shl(nullptr, 1), nullptr);
  EXPECT_EQ(kovrix_bigint_shr(nullptr, 1), nullptr);
  EXPECT_EQ(kovrix_bigint_cmp(nullptr, a.get()), 0);
  EXPECT_EQ(kovrix_bigint_cmp(a.get(), nullptr), 0);
  kovrix_bigint_destroy(nullptr);
  EXPECT_FALSE(errorPending());
}

// ---- pending errors ----------------------------------------------------------

TEST_F(BigIntExports, NegativeSizeLeavesRangeDefectPending) {
  Handle h = fromI64(12);
  char buf[8] = "xxxxxxx";
  EXPECT_EQ(kovrix_bigint_to_decimal(h.get(), buf, -1), 0);
  ASSERT_TRUE(errorPending());
  EXPECT_EQ(pendingError().kind, ErrorKind::rangeDefect);
  EXPECT_STREQ(pendingError().message, "value out of range");
  EXPECT_STREQ(buf, "xxxxxxx");
  // A later export with a failing step returns its failure value...
  EXPECT_EQ(kovrix_bigint_add(h.get(), h.get()), nullptr);
  EXPECT_EQ(kovrix_bigint_to_decimal(h.get(), buf, sizeof buf), 0);
  // ...and from_decimal catches only ValueError: valid or invalid text, the
  // defect stays pending and the result is NULL.
  EXPECT_EQ(kovrix_bigint_from_decimal("12"), nullptr);
  EXPECT_EQ(kovrix_bigint_from_decimal("abc"), nullptr);
  ASSERT_TRUE(errorPending());
  EXPECT_EQ(pendingError().kind, ErrorKind::rangeDefect);
  // Boundary checks still answer before the pending error is looked at.
  EXPECT_EQ(kovrix_bigint_to_decimal(h.get(), buf, 0), -1);
  EXPECT_EQ(kovrix_bigint_to_decimal(h.get(), nullptr, -5), -1);
}

TEST_F(BigIntExports, EveryFailingExportStopsWhileAnErrorIsPending) {
  Handle a = fromI64(-9), b = fromI64(4);
  char buf[32] = "untouched";
  setPending(ErrorKind::overflowDefect, "over- or underflow");
  EXPECT_EQ(kovrix_bigint_from_i64(1), nullptr);
  EXPECT_EQ(kovrix_bigint_add(a.get(), b.get()), nullptr);
  EXPECT_EQ(kovrix_bigint_sub(a.get(), b.get()), nullptr);
  EXPECT_EQ(kovrix_bigint_mul(a.get(), b.get()), nullptr);
  EXPECT_EQ(kovrix_bigint_div(a.get(), b.get()), nullptr);
  EXPECT_EQ(kovrix_bigint_mod(a.get(), b.get()), nullptr);
  EXPECT_EQ(kovrix_bigint_neg(a.get()), nullptr);
  EXPECT_EQ(kovrix_bigint_abs(a.get()), nullptr);
  EXPECT_EQ(kovrix_bigint_shl(a.get(), 3), nullptr);
  EXPECT_EQ(kovrix_bigint_shr(a.get(), 3), nullptr);
  EXPECT_EQ(kovrix_bigint_cmp(a.get(), b.get()), 0);
  EXPECT_EQ(kovrix_bigint_to_decimal(a.get(), buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "untouched");
  int ok = 7;
  EXPECT_EQ(kovrix_bigint_to_i64(a.get(), &ok), 0);
  EXPECT_EQ(ok, 7) << "*ok written while an error is pending";
  EXPECT_EQ(kovrix_bigint_to_u64(b.get(), &ok), 0u);
  EXPECT_EQ(ok, 7);
  EXPECT_EQ(kovrix_isqrt_i64(16), 0);
  EXPECT_EQ(kovrix_bigint_from_decimal("5"), nullptr);
  // Exports without a failing step compute as usual.
  uint64_t q = 0, r = 0;
  kovrix_udiv128(0, 7, 3, &q, &r);
  EXPECT_EQ(q, 2u);
  EXPECT_EQ(r, 1u);
  EXPECT_EQ(kovrix_clz64(1), 63);
  // NULL handles still give *ok = 0.
  EXPECT_EQ(kovrix_bigint_to_i64(nullptr, &ok), 0);
  EXPECT_EQ(ok, 0);
  // Destroy works while pending.
  kovrix_bigint_destroy(a.release());
  ASSERT_TRUE(errorPending());
  EXPECT_EQ(pendingError().kind, ErrorKind::overflowDefect);
}

TEST_F(BigIntExports, FromDecimalClearsAPendingValueError) {
  setPending(ErrorKind::valueError, "no decimal digits");
  EXPECT_EQ(kovrix_bigint_add(fromI64(1).get(), fromI64(2).get()), nullptr);
  // from_decimal clears a ValueError left by an earlier call, returning NULL.
  EXPECT_EQ(kovrix_bigint_from_decimal("12"), nullptr);
  EXPECT_FALSE(errorPending());
  Handle h = fromText("12");
  EXPECT_EQ(text(h.get()), "12");
  // A NULL text is answered before the pending error is looked at.
  setPending(ErrorKind::valueError, "no decimal digits");
  EXPECT_EQ(kovrix_bigint_from_decimal(nullptr), nullptr);
  EXPECT_TRUE(errorPending());
}

TEST_F(BigIntExports, FromDecimalInvalidTextDisplacesNothing) {
  // The parse error is caught: nothing is pending afterwards, and the next
  // export computes.
  EXPECT_EQ(kovrix_bigint_from_decimal("--5"), nullptr);
  EXPECT_FALSE(errorPending());
  Handle s(kovrix_bigint_add(fromI64(1).get(), fromI64(2).get()));
  EXPECT_EQ(text(s.get()), "3");
}

TEST_F(BigIntExports, NegativeIsqrtAnswersZeroWithoutRaising) {
  EXPECT_EQ(kovrix_isqrt_i64(-1), 0);
  EXPECT_EQ(kovrix_isqrt_i64(INT64_MIN), 0);
  EXPECT_FALSE(errorPending());
}

TEST_F(BigIntExports, LongDecimalRoundTrip) {
  std::string digits(5000, '7');
  digits[0] = '-';
  Handle h = fromText(digits.c_str());
  ASSERT_TRUE(h);
  std::vector<char> buf(digits.size() + 1);
  EXPECT_EQ(kovrix_bigint_to_decimal(h.get(), buf.data(), static_cast<int64_t>(buf.size())),
            static_cast<int>(digits.size()));
  EXPECT_EQ(std::string(buf.data()), digits);
  EXPECT_EQ(kovrix_bigint_to_decimal(h.get(), buf.data(), static_cast<int64_t>(buf.size()) - 1), -1);
}

// ---- the failure table, read entry by entry -------------------------------------

// to_decimal: the three boundary answers come before everything, the negative
// size after the conversion, the short buffer last.
TEST_F(BigIntExports, ToDecimalOrderOfAnswers) {
  char buf[32];
  std::memset(buf, 'x', sizeof buf);
  Handle h = fromText("18446744073709551616");  // 20 digits
  EXPECT_EQ(kovrix_bigint_to_decimal(nullptr, buf, -1), -1);
  EXPECT_EQ(kovrix_bigint_to_decimal(h.get(), nullptr, INT64_MIN), -1);
  EXPECT_FALSE(errorPending()) << "a boundary answer raised";
  EXPECT_EQ(kovrix_bigint_to_decimal(h.get(), buf, 20), -1);
  EXPECT_EQ(buf[0], 'x');
  EXPECT_EQ(kovrix_bigint_to_decimal(fromI64(0).get(), buf, 1), -1);
  EXPECT_EQ(buf[0], 'x');
  EXPECT_FALSE(errorPending());
  EXPECT_EQ(kovrix_bigint_to_decimal(h.get(), buf, 21), 20);
  EXPECT_STREQ(buf, "18446744073709551616");
  EXPECT_EQ(kovrix_bigint_to_decimal(fromI64(INT64_MIN).get(), buf, 21), 20);
  EXPECT_STREQ(buf, "-9223372036854775808");
  // A negative size wins over a buffer that is too small as well.
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(kovrix_bigint_to_decimal(h.get(), buf, INT64_MIN), 0);
  ASSERT_TRUE(errorPending());
  EXPECT_EQ(pendingError().kind, ErrorKind::rangeDefect);
  EXPECT_STREQ(pendingError().message, "value out of range");
  EXPECT_EQ(buf[0], 'x');
}

// An error already pending is not replaced by the range error of a negative
// size: the export stops before it converts.
TEST_F(BigIntExports, NegativeSizeWhilePendingKeepsTheEarlierError) {
  Handle h = fromI64(5);
  setPending(ErrorKind::valueError, "no decimal digits");
  char buf[8] = "xxxxxxx";
  EXPECT_EQ(kovrix_bigint_to_decimal(h.get(), buf, -3), 0);
  ASSERT_TRUE(errorPending());
  EXPECT_EQ(pendingError().kind, ErrorKind::valueError);
  EXPECT_STREQ(buf, "xxxxxxx");
  // ...and from_decimal, which catches that kind, clears it even for bad text.
  EXPECT_EQ(kovrix_bigint_from_decimal("abc"), nullptr);
  EXPECT_FALSE(errorPending());
}

// Boundary answers (NULL handle, zero divisor, negative count, negative
// isqrt argument) are the same whether or not an error is pending, and they
// leave the pending error as it was.
TEST_F(BigIntExports, BoundaryAnswersWhilePendingLeaveTheErrorAlone) {
  Handle a = fromI64(7), z = fromI64(0);
  setPending(ErrorKind::divByZeroDefect, "Division by zero in BigUInt.");
  EXPECT_EQ(kovrix_bigint_div(a.get(), z.get()), nullptr);
  EXPECT_EQ(kovrix_bigint_mod(a.get(), z.get()), nullptr);
  EXPECT_EQ(kovrix_bigint_shl(a.get(), -1), nullptr);
  EXPECT_EQ(kovrix_bigint_shr(a.get(), INT32_MIN), nullptr);
  EXPECT_EQ(kovrix_bigint_cmp(nullptr, nullptr), 0);
  EXPECT_EQ(kovrix_isqrt_i64(-5), 0);
  int ok = 9;
  EXPECT_EQ(kovrix_bigint_to_u64(nullptr, &ok), 0u);
  EXPECT_EQ(ok, 0);
  EXPECT_EQ(kovrix_bigint_from_decimal("12x"), nullptr);  // catches ValueError only
  ASSERT_TRUE(errorPending());
  EXPECT_EQ(pendingError().kind, ErrorKind::divByZeroDefect);
  EXPECT_STREQ(pendingError().message, "Division by zero in BigUInt.");
}

// Huge shift counts on values whose result is small answer at once.
TEST_F(BigIntExports, HugeShiftCountsWithSmallResults) {
  Handle big = fromText("-123456789012345678901234567890123456789012345678901234567890");
  Handle pos(kovrix_bigint_abs(big.get()));
  EXPECT_EQ(text(Handle(kovrix_bigint_shr(big.get(), INT32_MAX)).get()), "-1");
  EXPECT_EQ(text(Handle(kovrix_bigint_shr(pos.get(), INT32_MAX)).get()), "0");
  EXPECT_EQ(text(Handle(kovrix_bigint_shl(fromI64(0).get(), INT32_MAX)).get()), "0");
  EXPECT_EQ(text(Handle(kovrix_bigint_shr(fromI64(0).get(), INT32_MAX)).get()), "0");
  // An exact multiple of 2^n shifted right keeps no extra unit: -(2^200) >> 200 = -1.
  Handle p200(kovrix_bigint_shl(fromI64(-1).get(), 200));
  EXPECT_EQ(text(Handle(kovrix_bigint_shr(p200.get(), 200)).get()), "-1");
  EXPECT_EQ(text(Handle(kovrix_bigint_shr(p200.get(), 201)).get()), "-1");
  EXPECT_EQ(text(Handle(kovrix_bigint_shr(p200.get(), 199)).get()), "-2");
  EXPECT_FALSE(errorPending());
}

// Long texts: a sign followed by many zeros is zero (not negative); many
// digits round-trip and agree with GMP.
TEST_F(BigIntExports, LongTexts) {
  std::string zeros = "-" + std::string(100000, '0');
  Handle z = fromText(zeros.c_str());
  ASSERT_TRUE(z);
  EXPECT_EQ(text(z.get()), "0");
  EXPECT_EQ(kovrix_bigint_cmp(z.get(), fromI64(0).get()), 0);
  std::string digits = "+" + std::string(3000, '9');  // 10^3000 - 1
  Handle n = fromText(digits.c_str());
  Handle one = fromI64(1);
  Handle p(kovrix_bigint_add(n.get(), one.get()));
  EXPECT_EQ(text(p.get()), "1" + std::string(3000, '0'));
  std::string bad = std::string(50000, '7') + "-";
  EXPECT_EQ(kovrix_bigint_from_decimal(bad.c_str()), nullptr);
  EXPECT_FALSE(errorPending());
}

}  // namespace
}  // namespace kovrix

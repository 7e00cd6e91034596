// The Rational exports: stated values, failure values for NULL handles, zero
// denominators and divisors and the domains of ln, sqrt and pow (nothing
// raised), which pending errors each export clears, aliasing of handles, and
// a few random values through the handles against GMP.
#include <memory>

#include "c_api/bigint_handle.hpp"
#include "c_api/pending_error.hpp"
#include "c_api/rational_handle.hpp"
#include "kovrix.h"
#include "support/rational.hpp"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;
using capi::clearPending;
using capi::errorPending;
using capi::pendingError;
using capi::setPending;

struct Destroy {
  void operator()(kovrix_rational* h) const { kovrix_rational_destroy(h); }
  void operator()(kovrix_bigint* h) const { kovrix_bigint_destroy(h); }
};
using R = std::unique_ptr<kovrix_rational, Destroy>;
using B = std::unique_ptr<kovrix_bigint, Destroy>;

R q(std::int64_t n, std::int64_t d) { return R(kovrix_rational_from_i64(n, d)); }

std::string dec(const kovrix_bigint* h) {
  char buf[4096];
  return h && kovrix_bigint_to_decimal(h, buf, sizeof buf) >= 0 ? buf : "<NULL>";
}
// "num/den" of a handle, or "<NULL>".
std::string show(const R& h) {
  if (!h) return "<NULL>";
  return dec(B(kovrix_rational_num(h.get())).get()) + "/" + dec(B(kovrix_rational_den(h.get())).get());
}

class RationalExports : public ::testing::Test {
 protected:
  void SetUp() override { clearPending(); }
  void TearDown() override { clearPending(); }
};

TEST_F(RationalExports, StatedValues) {
  EXPECT_EQ(show(q(6, -4)), "-3/2");
  EXPECT_EQ(show(q(0, -5)), "0/1");
  EXPECT_EQ(kovrix_rational_is_zero(q(0, -5).get()), 1);
  EXPECT_EQ(show(q(INT64_MIN, -1)), "9223372036854775808/1");
  EXPECT_EQ(show(R(kovrix_rational_add(q(1, 6).get(), q(1, 4).get()))), "5/12");
  EXPECT_EQ(kovrix_rational_is_one(R(kovrix_rational_add(q(1, 2).get(), q(1, 2).get())).get()), 1);
  EXPECT_EQ(show(R(kovrix_rational_sub(q(1, 3).get(), q(1, 3).get()))), "0/1");
  EXPECT_EQ(show(R(kovrix_rational_mul(q(-2, 3).get(), q(-3, 4).get()))), "1/2");
  EXPECT_EQ(show(R(kovrix_rational_div(q(1, 2).get(), q(-3, 4).get()))), "-2/3");
  EXPECT_EQ(show(R(kovrix_rational_neg(q(0, 1).get()))), "0/1");
  EXPECT_EQ(show(R(kovrix_rational_abs(q(-5, 3).get()))), "5/3");
  EXPECT_EQ(kovrix_rational_cmp(q(-1, 2).get(), q(1, 3).get()), -1);
  EXPECT_EQ(kovrix_rational_cmp(q(2, 4).get(), q(1, 2).get()), 0);
  EXPECT_EQ(kovrix_rational_to_f64(q(1, 3).get()), 1.0 / 3.0);
  B big(kovrix_bigint_shl(B(kovrix_bigint_from_i64(1)).get(), 1100));
  B bigPlus(kovrix_bigint_add(big.get(), B(kovrix_bigint_from_i64(1)).get()));
  EXPECT_EQ(kovrix_rational_to_f64(R(kovrix_rational_from_bigint(bigPlus.get(), big.get())).get()), 1.0);
  EXPECT_EQ(show(R(kovrix_rational_sin(q(1, 1).get()))), "305353/362880");
  EXPECT_EQ(show(R(kovrix_rational_sin(q(0, 1).get()))), "0/1");
  EXPECT_EQ(show(R(kovrix_rational_cos(q(1, 1).get()))), "4357/8064");
  EXPECT_EQ(show(R(kovrix_rational_tan(q(1, 1).get()))), "305353/196065");
  EXPECT_EQ(show(R(kovrix_rational_exp(q(1, 1).get()))), "98641/36288");
  EXPECT_EQ(show(R(kovrix_rational_exp(q(0, 1).get()))), "1/1");
  EXPECT_EQ(show(R(kovrix_rational_ln(q(1, 1).get()))), "0/1");
  EXPECT_EQ(show(R(kovrix_rational_ln(q(2, 1).get()))), "1302374561632216/1878929321474205");
  EXPECT_EQ(show(R(kovrix_rational_sqrt(q(2, 1).get()))), "665857/470832");
  EXPECT_EQ(show(R(kovrix_rational_sqrt(q(4, 1).get()))), "2/1");
  EXPECT_EQ(show(R(kovrix_rational_sqrt(q(0, 1).get()))), "0/1");
  EXPECT_EQ(show(R(kovrix_rational_atan(q(2, 1).get()))), "20176721/18224640");
  EXPECT_EQ(show(R(kovrix_rational_atan2(q(0, 1).get(), q(-1, 1).get()))), "355/113");
  EXPECT_EQ(show(R(kovrix_rational_atan2(q(-1, 1).get(), q(0, 1).get()))), "-355/226");
  EXPECT_EQ(show(R(kovrix_rational_pow(q(1, 1).get(), q(5, 7).get()))), "1/1");
  // The five-term polynomial at 100, unreduced: 100 - 100^3/6 + ... + 100^9/9!.
  EXPECT_EQ(show(R(kovrix_rational_sin(q(100, 1).get()))), "1551297155556700/567");
  EXPECT_FALSE(errorPending());
}

TEST_F(RationalExports, FailureValuesRaiseNothing) {
  const kovrix_rational* n = nullptr;
  R one = q(1, 1), zero = q(0, 1), neg = q(-1, 2);
  EXPECT_EQ(q(7, 0), nullptr);
  B b7(kovrix_bigint_from_i64(7)), b0(kovrix_bigint_from_i64(0));
  EXPECT_EQ(kovrix_rational_from_bigint(b7.get(), b0.get()), nullptr);
  EXPECT_EQ(kovrix_rational_from_bigint(nullptr, b7.get()), nullptr);
  EXPECT_EQ(kovrix_rational_from_bigint(b7.get(), nullptr), nullptr);
  EXPECT_EQ(kovrix_rational_div(one.get(), zero.get()), nullptr);
  EXPECT_EQ(kovrix_rational_ln(zero.get()), nullptr);
  EXPECT_EQ(kovrix_rational_ln(neg.get()), nullptr);
  EXPECT_EQ(kovrix_rational_sqrt(neg.get()), nullptr);
  EXPECT_EQ(kovrix_rational_pow(zero.get(), one.get()), nullptr);
  EXPECT_EQ(kovrix_rational_pow(neg.get(), one.get()), nullptr);
  EXPECT_EQ(kovrix_rational_to_f64(n), 0.0);
  EXPECT_EQ(kovrix_rational_cmp(n, one.get()), 0);
  EXPECT_EQ(kovrix_rational_is_zero(n), 0);
  EXPECT_EQ(kovrix_rational_is_one(n), 0);
  EXPECT_EQ(kovrix_rational_num(n), nullptr);
  EXPECT_EQ(kovrix_rational_den(n), nullptr);
  for (auto f : {kovrix_rational_neg, kovrix_rational_abs, kovrix_rational_sin, kovrix_rational_cos, kovrix_rational_tan,
                 kovrix_rational_exp, kovrix_rational_ln, kovrix_rational_sqrt, kovrix_rational_atan})
    EXPECT_EQ(f(n), nullptr);
  for (auto f : {kovrix_rational_add, kovrix_rational_sub, kovrix_rational_mul, kovrix_rational_div,
                 kovrix_rational_atan2, kovrix_rational_pow}) {
    EXPECT_EQ(f(n, one.get()), nullptr);
    EXPECT_EQ(f(one.get(), n), nullptr);
  }
  kovrix_rational_destroy(nullptr);
  EXPECT_FALSE(errorPending());
}

TEST_F(RationalExports, PendingErrorsStopOrAreCleared) {
  R one = q(1, 1);
  setPending(ErrorKind::overflowDefect, "over- or underflow");
  EXPECT_EQ(kovrix_rational_from_i64(1, 2), nullptr);
  EXPECT_EQ(kovrix_rational_add(one.get(), one.get()), nullptr);
  EXPECT_EQ(kovrix_rational_to_f64(one.get()), 0.0);
  EXPECT_EQ(kovrix_rational_cmp(one.get(), q(0, 1).get()), 0);
  EXPECT_EQ(kovrix_rational_ln(one.get()), nullptr);
  EXPECT_EQ(kovrix_rational_tan(one.get()), nullptr);
  EXPECT_TRUE(errorPending()) << "neither ln nor tan catches an overflow";
  setPending(ErrorKind::valueError, "x");
  for (auto f : {kovrix_rational_ln, kovrix_rational_sqrt}) {
    EXPECT_EQ(f(one.get()), nullptr);
    EXPECT_FALSE(errorPending());
    setPending(ErrorKind::valueError, "x");
  }
  EXPECT_EQ(kovrix_rational_pow(one.get(), one.get()), nullptr);
  EXPECT_FALSE(errorPending());
  setPending(ErrorKind::divByZeroDefect, "Rational division by zero");
  EXPECT_EQ(kovrix_rational_sqrt(one.get()), nullptr);
  EXPECT_TRUE(errorPending());
  EXPECT_EQ(kovrix_rational_tan(one.get()), nullptr);
  EXPECT_FALSE(errorPending());
}

TEST_F(RationalExports, HandlesAgainstGmpAndAliasing) {
  KOVRIX_SEED_TRACE();
  Mpq qa, qb, qr;
  for (int i = 0; i < 200; ++i) {
    Rational a = randomRational(8), b = randomRational(8);
    toMpq(qa, a);
    toMpq(qb, b);
    auto handle = [](const Rational& v) {
      B n(capi::pin(v.num)), d(capi::pin(v.den));
      return R(kovrix_rational_from_bigint(n.get(), d.get()));
    };
    R ha = handle(a), hb = handle(b);
    auto check = [&](kovrix_rational* got, mpq_srcptr want) {
      R g(got);
      ASSERT_TRUE(g);
      ASSERT_TRUE(sameAs(g->value, want));
    };
    mpq_add(qr, qa, qb);
    check(kovrix_rational_add(ha.get(), hb.get()), qr);
    mpq_mul(qr, qa, qa);
    check(kovrix_rational_mul(ha.get(), ha.get()), qr);
    mpq_sub(qr, qa, qa);
    check(kovrix_rational_sub(ha.get(), ha.get()), qr);
    if (mpq_sgn(qb.v) != 0) {
      mpq_div(qr, qa, qb);
      check(kovrix_rational_div(ha.get(), hb.get()), qr);
    }
    const int c = mpq_cmp(qa, qb);
    ASSERT_EQ(kovrix_rational_cmp(ha.get(), hb.get()), (c > 0) - (c < 0));
    ASSERT_TRUE(sameAs(ha->value, qa)) << "argument changed";
  }
}

}  // namespace
}  // namespace kovrix

// The BigFloat exports as a host sees them: boundary answers for NULL and
// zero divisors, the pending-error convention, aliasing, and stated values.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "kovrix.h"

namespace {

struct Handle {  // destroys on scope exit
  kovrix_bigfloat* h;
  Handle(kovrix_bigfloat* p) : h(p) {}
  ~Handle() { kovrix_bigfloat_destroy(h); }
  operator kovrix_bigfloat*() const { return h; }
};

double f64(kovrix_bigfloat* h) { return kovrix_bigfloat_to_f64(h); }

// Squares 2^1000 until its exponent leaves 64 bits: an overflow left pending.
void leaveOverflowPending() {
  kovrix_bigfloat* x = kovrix_bigfloat_from_f64(0x1p1000);
  while (x != nullptr) {
    kovrix_bigfloat* y = kovrix_bigfloat_mul(x, x);
    kovrix_bigfloat_destroy(x);
    x = y;
  }
}

TEST(BigFloatExportsHost, ValuesAndBoundaries) {
  kovrix_init();
  Handle one = kovrix_bigfloat_from_i64(1), three = kovrix_bigfloat_from_f64(3.0);
  Handle third = kovrix_bigfloat_div(one, three);
  EXPECT_EQ(f64(third), 1.0 / 3.0);
  Handle sum = kovrix_bigfloat_add(third, third), diff = kovrix_bigfloat_sub(third, third);
  EXPECT_EQ(f64(sum), 2.0 / 3.0);
  EXPECT_EQ(kovrix_bigfloat_is_zero(diff), 1);
  Handle prod = kovrix_bigfloat_mul(third, three);
  EXPECT_EQ(kovrix_bigfloat_cmp(prod, one), 0);  // 1/3 rounded up, times 3, rounds back to 1
  Handle neg = kovrix_bigfloat_neg(three), abs = kovrix_bigfloat_abs(neg);
  EXPECT_EQ(kovrix_bigfloat_cmp(neg, three), -1);
  EXPECT_EQ(kovrix_bigfloat_cmp(abs, three), 0);
  Handle minInt = kovrix_bigfloat_from_i64(INT64_MIN);
  EXPECT_EQ(f64(minInt), -0x1p63);
  kovrix_bigint* big = kovrix_bigint_from_decimal("-123456789012345678901234567890");
  Handle fromBig = kovrix_bigfloat_from_bigint(big);
  kovrix_bigint_destroy(big);
  EXPECT_EQ(f64(fromBig), -123456789012345678901234567890.0);
  Handle negZero = kovrix_bigfloat_from_f64(-0.0);
  EXPECT_EQ(kovrix_bigfloat_is_zero(negZero), 1);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(f64(negZero)), 0u);

  Handle zero = kovrix_bigfloat_from_i64(0);
  EXPECT_EQ(kovrix_bigfloat_div(one, zero), nullptr);  // nothing raised:
  Handle still = kovrix_bigfloat_add(one, one);         // the next call computes
  EXPECT_EQ(f64(still), 2.0);
  EXPECT_EQ(kovrix_bigfloat_add(one, nullptr), nullptr);
  EXPECT_EQ(kovrix_bigfloat_div(nullptr, one), nullptr);
  EXPECT_EQ(kovrix_bigfloat_neg(nullptr), nullptr);
  EXPECT_EQ(kovrix_bigfloat_from_bigint(nullptr), nullptr);
  EXPECT_EQ(kovrix_bigfloat_cmp(nullptr, one), 0);
  EXPECT_EQ(kovrix_bigfloat_is_zero(nullptr), 0);
  EXPECT_EQ(f64(nullptr), 0.0);
  kovrix_bigfloat_destroy(nullptr);
}

TEST(BigFloatExportsHost, PendingErrors) {
  Handle two = kovrix_bigfloat_from_i64(2);
  // NaN is refused and the invalid-argument error caught.
  EXPECT_EQ(kovrix_bigfloat_from_f64(std::nan("")), nullptr);
  EXPECT_EQ(kovrix_bigfloat_from_f64(HUGE_VAL), nullptr);
  Handle after = kovrix_bigfloat_add(two, two);
  EXPECT_EQ(f64(after), 4.0);
  // An exponent overflow stays pending: every export stops, from_f64 too
  // (it catches only invalid arguments); a Fixed function export clears it.
  leaveOverflowPending();
  EXPECT_EQ(kovrix_bigfloat_add(two, two), nullptr);
  EXPECT_EQ(kovrix_bigfloat_from_f64(1.0), nullptr);
  EXPECT_EQ(f64(two), 0.0);
  EXPECT_EQ(kovrix_bigfloat_cmp(two, two), 0);
  EXPECT_EQ(kovrix_bigfloat_is_zero(two), 0);
  EXPECT_EQ(kovrix_fixed_sqrt(std::int64_t{4} << 32), 0);
  Handle again = kovrix_bigfloat_from_f64(1.5);
  EXPECT_EQ(f64(again), 1.5);
}

TEST(BigFloatExportsHost, FunctionBoundaries) {
  kovrix_init();
  Handle pi = kovrix_pi_bigfloat(), e = kovrix_e_bigfloat();
  EXPECT_EQ(f64(pi), 3.141592653589793);
  EXPECT_EQ(f64(e), 2.718281828459045);
  Handle one = kovrix_bigfloat_from_i64(1), zero = kovrix_bigfloat_from_i64(0), minus = kovrix_bigfloat_from_i64(-1);
  Handle seven = kovrix_bigfloat_from_i64(7);
  Handle reduced = kovrix_bigfloat_reduce(seven), reducedPi = kovrix_bigfloat_reduce(pi);
  EXPECT_NEAR(f64(reduced), 0.7168146928204138, 1e-15);
  EXPECT_EQ(f64(reducedPi), -3.141592653589793);
  Handle s = kovrix_bigfloat_sin(one), c = kovrix_bigfloat_cos(one), t = kovrix_bigfloat_tan(one);
  EXPECT_EQ(f64(s), std::sin(1.0));
  EXPECT_EQ(f64(c), std::cos(1.0));
  EXPECT_EQ(f64(t), std::tan(1.0));
  Handle ex = kovrix_bigfloat_exp(one), series = kovrix_exp_taylor_bigfloat(one);
  EXPECT_EQ(f64(ex), 2.718281828459045);
  EXPECT_NEAR(f64(series), 2.718281828459045, 1e-11);
  Handle sq = kovrix_bigfloat_sqrt(seven), heron = kovrix_sqrt_newton_bigfloat(seven);
  EXPECT_EQ(f64(sq), std::sqrt(7.0));
  EXPECT_EQ(f64(heron), std::sqrt(7.0));
  Handle at = kovrix_bigfloat_arctan(minus), at2 = kovrix_bigfloat_arctan2(minus, minus);
  EXPECT_EQ(f64(at), -0.7853981633974483);
  EXPECT_EQ(f64(at2), -3 * 0.7853981633974483);
  Handle p = kovrix_bigfloat_pow_int(seven, -2), pr = kovrix_bigfloat_pow(seven, one);
  EXPECT_EQ(f64(p), 1.0 / 49.0);
  EXPECT_EQ(f64(pr), 7.0);
  Handle l = kovrix_bigfloat_ln(seven), lg = kovrix_ln_generic_bigfloat(seven);
  EXPECT_EQ(kovrix_bigfloat_cmp(l, lg), 0);
  EXPECT_EQ(kovrix_ln_generic_f64(7.0), std::log(7.0));
  EXPECT_EQ(kovrix_ln_generic_f64(1.0), 0.0);
  for (double bad : {0.0, -1.0, HUGE_VAL, std::nan("")})
    EXPECT_EQ(std::bit_cast<std::uint64_t>(kovrix_ln_generic_f64(bad)), 0x7FF8000000000000u) << bad;

  // Domain answers: NULL with nothing raised (the next call computes).
  EXPECT_EQ(kovrix_bigfloat_ln(zero), nullptr);
  EXPECT_EQ(kovrix_bigfloat_ln(minus), nullptr);
  EXPECT_EQ(kovrix_ln_generic_bigfloat(minus), nullptr);
  EXPECT_EQ(kovrix_bigfloat_sqrt(minus), nullptr);
  EXPECT_EQ(kovrix_sqrt_newton_bigfloat(minus), nullptr);
  EXPECT_EQ(kovrix_bigfloat_pow(zero, one), nullptr);
  EXPECT_EQ(kovrix_bigfloat_pow(minus, one), nullptr);
  for (auto* unaryExport : {kovrix_bigfloat_sin, kovrix_bigfloat_cos, kovrix_bigfloat_tan, kovrix_bigfloat_exp,
                            kovrix_bigfloat_ln, kovrix_bigfloat_sqrt, kovrix_bigfloat_arctan, kovrix_bigfloat_reduce,
                            kovrix_exp_taylor_bigfloat, kovrix_sqrt_newton_bigfloat, kovrix_ln_generic_bigfloat})
    EXPECT_EQ(unaryExport(nullptr), nullptr);
  EXPECT_EQ(kovrix_bigfloat_arctan2(nullptr, one), nullptr);
  EXPECT_EQ(kovrix_bigfloat_pow(one, nullptr), nullptr);
  EXPECT_EQ(kovrix_bigfloat_pow_int(nullptr, 2), nullptr);
  Handle sqZero = kovrix_bigfloat_sqrt(zero);
  EXPECT_EQ(kovrix_bigfloat_is_zero(sqZero), 1);

  // tan at pi/2 (the cached value) has a zero cosine: NULL, the error caught.
  Handle two = kovrix_bigfloat_from_i64(2);
  Handle halfPi = kovrix_bigfloat_div(pi, two);
  EXPECT_EQ(kovrix_bigfloat_tan(halfPi), nullptr);
  Handle after = kovrix_bigfloat_sin(halfPi);
  EXPECT_EQ(f64(after), 1.0);
  // 0^-1 leaves the division error pending; tan clears exactly that kind.
  EXPECT_EQ(kovrix_bigfloat_pow_int(zero, -1), nullptr);
  EXPECT_EQ(kovrix_bigfloat_sin(one), nullptr);
  EXPECT_EQ(kovrix_ln_generic_f64(1.0), 0.0);  // computes through it
  EXPECT_EQ(kovrix_bigfloat_tan(one), nullptr);
  Handle cleared = kovrix_bigfloat_tan(one);
  EXPECT_EQ(f64(cleared), std::tan(1.0));
  // An overflow is not caught by tan.
  leaveOverflowPending();
  EXPECT_EQ(kovrix_bigfloat_tan(one), nullptr);
  EXPECT_EQ(kovrix_pi_bigfloat(), nullptr);
  EXPECT_EQ(kovrix_fixed_sqrt(0), 0);  // clears it
}

}  // namespace

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

}  // namespace

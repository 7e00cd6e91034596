/* Tour section: conversions between the representations. */
#include <string.h>

#include "tour.h"

/* Prints the value of x * 10^digits (a BigFloat near an integer, truncated
 * to a BigInt) as a decimal with `digits` places.  The formatting lives here:
 * the library only converts. */
static void print_digits(const char* label, const kovrix_bigfloat* x, int digits) {
  kovrix_bigint* ten = kovrix_bigint_from_i64(10);
  kovrix_bigint* scale = kovrix_bigint_from_i64(1);
  for (int i = 0; i < digits; ++i) {
    kovrix_bigint* next = kovrix_bigint_mul(scale, ten);
    kovrix_bigint_destroy(scale);
    scale = next;
  }
  kovrix_bigfloat* s = kovrix_bigfloat_from_bigint(scale);
  kovrix_bigfloat* scaled = kovrix_bigfloat_mul(x, s);
  kovrix_bigint* whole = kovrix_bigint_from_bigfloat(scaled);
  char buf[256];
  int n = kovrix_bigint_to_decimal(whole, buf, (int64_t)sizeof buf);
  if (n > digits) printf("  %-8s %.*s.%s\n", label, n - digits, buf, buf + n - digits);
  kovrix_bigint_destroy(whole);
  kovrix_bigfloat_destroy(scaled);
  kovrix_bigfloat_destroy(s);
  kovrix_bigint_destroy(scale);
  kovrix_bigint_destroy(ten);
}

static void print_rational(const char* label, const kovrix_rational* x) {
  char num[128], den[128];
  kovrix_bigint* n = kovrix_rational_num(x);
  kovrix_bigint* d = kovrix_rational_den(x);
  if (kovrix_bigint_to_decimal(n, num, (int64_t)sizeof num) >= 0 && kovrix_bigint_to_decimal(d, den, (int64_t)sizeof den) >= 0)
    printf("  %-34s %s/%s\n", label, num, den);
  kovrix_bigint_destroy(d);
  kovrix_bigint_destroy(n);
}

void tour_conversions(void) {
  tour_heading("Conversions between the representations");

  /* 1. A double is a binary fraction: 0.1 is not one tenth. */
  printf("The double 0.1 is exactly this fraction (its denominator is 2^55):\n");
  kovrix_rational* tenth = kovrix_rational_from_f64(0.1);
  print_rational("0.1 as a Rational", tenth);
  kovrix_rational* exact = kovrix_rational_from_i64(1, 10);
  printf("  %-34s %d (1 means the double is above 1/10)\n", "compared with 1/10", kovrix_rational_cmp(tenth, exact));
  kovrix_rational_destroy(exact);

  /* 2. One value carried through every representation and back. */
  printf("\n-22/7 carried through every representation:\n");
  kovrix_rational* q = kovrix_rational_from_i64(-22, 7);
  kovrix_bigfloat* b = kovrix_bigfloat_from_rational(q);
  printf("  %-34s %.17g\n", "Rational -> BigFloat -> double", kovrix_bigfloat_to_f64(b));
  int64_t fixed = kovrix_fixed_from_rational(q, 32);
  printf("  %-34s %lld (raw Q32.32, truncated toward zero)\n", "Rational -> Fixed", (long long)fixed);
  kovrix_rational* back = kovrix_rational_from_fixed(fixed, 32);
  print_rational("Fixed -> Rational", back);
  kovrix_bigint* whole = kovrix_bigint_from_rational(q);
  printf("  %-34s %lld\n", "Rational -> BigInt (toward zero)", (long long)kovrix_bigint_to_i64(whole, NULL));
  kovrix_bigint* wholeB = kovrix_bigint_from_bigfloat(b);
  printf("  %-34s %lld\n", "BigFloat -> BigInt", (long long)kovrix_bigint_to_i64(wholeB, NULL));
  kovrix_interval iv = kovrix_interval_from_rational(q);
  printf("  %-34s [%.17g, %.17g]\n", "Rational -> Interval (2 steps out)", iv.lo, iv.hi);
  iv = kovrix_interval_from_bigfloat(b);
  printf("  %-34s [%.17g, %.17g]\n", "BigFloat -> Interval", iv.lo, iv.hi);
  iv = kovrix_interval_from_bigint(whole);
  printf("  %-34s [%.17g, %.17g]\n", "BigInt -> Interval", iv.lo, iv.hi);
  kovrix_bigint_destroy(wholeB);
  kovrix_bigint_destroy(whole);
  kovrix_rational_destroy(back);
  kovrix_bigfloat_destroy(b);
  kovrix_rational_destroy(q);
  kovrix_rational_destroy(tenth);

  /* 3. pi and e from the 256-bit constants, to 70 decimal places: scale by
   *    10^70, truncate to a BigInt, print its digits with a point. */
  printf("\npi and e to 70 decimal places (256-bit constants, scaled by 10^70, truncated):\n");
  kovrix_bigfloat* pi = kovrix_pi_bigfloat();
  kovrix_bigfloat* e = kovrix_e_bigfloat();
  print_digits("pi", pi, 70);
  print_digits("e", e, 70);
  kovrix_bigfloat_destroy(e);
  kovrix_bigfloat_destroy(pi);
}

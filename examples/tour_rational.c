/* Tour section: Rational, exact fractions in lowest terms. */
#include <math.h>
#include <string.h>

#include "tour.h"

/* Prints "num/den" of a Rational handle after a label, shortening parts too
 * long for one line to their ends and digit count. */
static void show(const char* label, const kovrix_rational* x) {
  if (x == NULL) {
    printf("  %-26s NULL\n", label);
    return;
  }
  char num[4096], den[4096];
  kovrix_bigint* n = kovrix_rational_num(x);
  kovrix_bigint* d = kovrix_rational_den(x);
  int ln = kovrix_bigint_to_decimal(n, num, (int64_t)sizeof num);
  int ld = kovrix_bigint_to_decimal(d, den, (int64_t)sizeof den);
  kovrix_bigint_destroy(d);
  kovrix_bigint_destroy(n);
  if (ln < 0 || ld < 0) {
    printf("  %-26s (too long to print)\n", label);
    return;
  }
  if (ln + ld > 90) {
    printf("  %-26s %.12s...%s / %.12s...%s  (%d / %d digits)\n", label, num, num + ln - 6, den, den + ld - 6, ln, ld);
    return;
  }
  printf("  %-26s %s/%s\n", label, num, den);
}

void tour_rational(void) {
  tour_heading("Rational: exact fractions");

  /* 1. Arithmetic is exact and every result is in lowest terms, so equal
   *    values have equal parts. */
  printf("Exact arithmetic, always reduced:\n");
  kovrix_rational* third = kovrix_rational_from_i64(1, 3);
  kovrix_rational* sixth = kovrix_rational_from_i64(1, 6);
  kovrix_rational* sum = kovrix_rational_add(third, sixth);
  show("1/3 + 1/6", sum);
  kovrix_rational* twice = kovrix_rational_add(sum, sum);
  printf("  %-26s %s\n", "(1/3 + 1/6) * 2 is one:", kovrix_rational_is_one(twice) ? "yes, exactly" : "no");
  kovrix_rational* neg = kovrix_rational_from_i64(6, -4);
  show("6/-4 is stored as", neg);
  kovrix_rational_destroy(neg);
  kovrix_rational_destroy(twice);
  kovrix_rational_destroy(sum);
  kovrix_rational_destroy(sixth);

  /* 2. The series functions are the exact values of truncated series: no
   *    rounding anywhere, so numerator and denominator grow with every term
   *    and with the size of the argument. */
  printf("\nTruncated series evaluated exactly (the fraction, its double, libm):\n");
  kovrix_rational* x = kovrix_rational_from_i64(1, 1);
  kovrix_rational* e = kovrix_rational_exp(x);
  show("exp(1), 10 terms", e);
  printf("  %-26s %.17g   libm %.17g\n", "", kovrix_rational_to_f64(e), exp(1.0));
  kovrix_rational* s = kovrix_rational_sin(third);
  show("sin(1/3), 5 terms", s);
  printf("  %-26s %.17g   libm %.17g\n", "", kovrix_rational_to_f64(s), sin(1.0 / 3.0));
  kovrix_rational* y = kovrix_rational_from_i64(123456789, 1000000007);
  kovrix_rational* sy = kovrix_rational_sin(y);
  show("sin(123456789/1000000007)", sy);
  kovrix_rational* two = kovrix_rational_from_i64(2, 1);
  kovrix_rational* r2 = kovrix_rational_sqrt(two);
  show("sqrt(2), 4 Newton steps", r2);
  printf("  %-26s %.17g   libm %.17g\n", "", kovrix_rational_to_f64(r2), sqrt(2.0));
  kovrix_rational* l2 = kovrix_rational_ln(two);
  show("ln(2), 10 terms", l2);
  printf("  %-26s %.17g   libm %.17g\n", "", kovrix_rational_to_f64(l2), log(2.0));
  kovrix_rational* m1 = kovrix_rational_from_i64(-1, 1);
  kovrix_rational* at = kovrix_rational_atan2(x, m1);
  show("atan2(1, -1), pi=355/113", at);
  printf("  %-26s %.17g   libm %.17g\n", "", kovrix_rational_to_f64(at), atan2(1.0, -1.0));
  kovrix_rational* zero = kovrix_rational_from_i64(0, 1);
  printf("  %-26s %s, %s\n", "ln(0), sqrt(-1)", kovrix_rational_ln(zero) ? "?" : "NULL",
         kovrix_rational_sqrt(m1) ? "?" : "NULL (outside the domains, nothing pending)");
  kovrix_rational_destroy(zero);
  kovrix_rational_destroy(at);
  kovrix_rational_destroy(m1);
  kovrix_rational_destroy(l2);
  kovrix_rational_destroy(r2);
  kovrix_rational_destroy(two);
  kovrix_rational_destroy(sy);
  kovrix_rational_destroy(y);
  kovrix_rational_destroy(s);
  kovrix_rational_destroy(e);
  kovrix_rational_destroy(x);
  kovrix_rational_destroy(third);

  /* 3. The double of a fraction whose parts lie beyond the double range:
   *    both parts are scaled by one power of two first, so the value comes
   *    out right instead of inf/inf. */
  printf("\nThe double of (2^1100 + 1) / 2^1100, whose parts are both beyond the double range:\n");
  kovrix_bigint* one = kovrix_bigint_from_i64(1);
  kovrix_bigint* big = kovrix_bigint_shl(one, 1100);
  kovrix_bigint* bigPlus = kovrix_bigint_add(big, one);
  kovrix_rational* q = kovrix_rational_from_bigint(bigPlus, big);
  printf("  %-26s %.17g\n", "to_f64", kovrix_rational_to_f64(q));
  kovrix_rational_destroy(q);
  kovrix_bigint_destroy(bigPlus);
  kovrix_bigint_destroy(big);
  kovrix_bigint_destroy(one);
}

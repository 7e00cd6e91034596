/* Tour section: BigInt, exact integers of any size behind opaque handles. */
#include <inttypes.h>
#include <string.h>

#include "tour.h"

/* Prints a handle's decimal text after a label. */
static void show(const char* label, const kovrix_bigint* x) {
  char buf[512];
  if (x == NULL) {
    printf("  %-28s NULL\n", label);
    return;
  }
  if (kovrix_bigint_to_decimal(x, buf, (int64_t)sizeof buf) < 0) {
    printf("  %-28s (does not fit the buffer)\n", label);
    return;
  }
  printf("  %-28s %s\n", label, buf);
}

void tour_bigint(void) {
  tour_heading("BigInt: exact integers of any size");

  /* 1. The road of one request: two large integers from text, multiplied,
   *    printed.  Every handle returned is new and yours to destroy. */
  printf("Two 40-digit numbers parsed from text and multiplied exactly:\n");
  kovrix_bigint* a = kovrix_bigint_from_decimal("1234567890123456789012345678901234567890");
  kovrix_bigint* b = kovrix_bigint_from_decimal("-9876543210987654321098765432109876543210");
  kovrix_bigint* p = kovrix_bigint_mul(a, b);
  show("a", a);
  show("b", b);
  show("a * b", p);
  kovrix_bigint_destroy(p);
  kovrix_bigint_destroy(b);
  kovrix_bigint_destroy(a);

  /* 2. Division truncates toward zero; the remainder has the dividend's sign,
   *    so q * d + r always gives back the dividend. */
  printf("\nDivision rounds toward zero, the remainder takes the dividend's sign:\n");
  const int64_t pairs[][2] = {{7, 2}, {-7, 2}, {7, -2}, {-7, -2}};
  for (int i = 0; i < 4; ++i) {
    kovrix_bigint* n = kovrix_bigint_from_i64(pairs[i][0]);
    kovrix_bigint* d = kovrix_bigint_from_i64(pairs[i][1]);
    kovrix_bigint* q = kovrix_bigint_div(n, d);
    kovrix_bigint* r = kovrix_bigint_mod(n, d);
    printf("  %3" PRId64 " / %2" PRId64 " = %2" PRId64 "  remainder %2" PRId64 "\n", pairs[i][0], pairs[i][1],
           kovrix_bigint_to_i64(q, NULL), kovrix_bigint_to_i64(r, NULL));
    kovrix_bigint_destroy(r);
    kovrix_bigint_destroy(q);
    kovrix_bigint_destroy(d);
    kovrix_bigint_destroy(n);
  }

  /* 3. Shifts multiply or divide by powers of two; the right shift rounds
   *    toward minus infinity, so -5 >> 1 is -3 and -1 stays -1. */
  printf("\nShifts (the right shift is a floor division by 2^n):\n");
  kovrix_bigint* one = kovrix_bigint_from_i64(1);
  kovrix_bigint* big = kovrix_bigint_shl(one, 100);
  show("1 << 100", big);
  const int64_t values[] = {5, -5, -1};
  for (int i = 0; i < 3; ++i) {
    kovrix_bigint* v = kovrix_bigint_from_i64(values[i]);
    kovrix_bigint* s = kovrix_bigint_shr(v, 1);
    printf("  %2" PRId64 " >> 1 = %2" PRId64 "\n", values[i], kovrix_bigint_to_i64(s, NULL));
    kovrix_bigint_destroy(s);
    kovrix_bigint_destroy(v);
  }

  /* 4. Back to C integers: values out of range saturate, and the ok flag says
   *    whether the answer is exact. */
  printf("\nBack to int64_t / uint64_t (saturating, with an ok flag):\n");
  int ok = 0;
  int64_t clamped = kovrix_bigint_to_i64(big, &ok);
  printf("  to_i64(2^100) = %" PRId64 "  ok = %d  (saturated)\n", clamped, ok);
  kovrix_bigint* minus = kovrix_bigint_from_i64(-42);
  int64_t exact = kovrix_bigint_to_i64(minus, &ok);
  printf("  to_i64(-42)   = %" PRId64 "  ok = %d\n", exact, ok);
  uint64_t u = kovrix_bigint_to_u64(minus, &ok);
  printf("  to_u64(-42)   = %" PRIu64 "  ok = %d  (below zero gives 0)\n", u, ok);
  kovrix_bigint_destroy(big);

  /* 5. What failure looks like: each export has a failure value, and these
   *    answers leave nothing pending, so the calls after them work normally. */
  printf("\nFailure values:\n");
  kovrix_bigint* bad = kovrix_bigint_from_decimal("12a");
  printf("  from_decimal(\"12a\")        -> %s\n", bad == NULL ? "NULL (invalid text)" : "a handle?");
  char tiny[3];
  kovrix_bigint* wide = kovrix_bigint_from_i64(-12345);
  printf("  to_decimal(-12345, buf[3]) -> %d (buffer too small, nothing written)\n",
         kovrix_bigint_to_decimal(wide, tiny, (int64_t)sizeof tiny));
  kovrix_bigint* zero = kovrix_bigint_from_i64(0);
  kovrix_bigint* q = kovrix_bigint_div(one, zero);
  printf("  div(1, 0)                  -> %s\n", q == NULL ? "NULL (zero divisor)" : "a handle?");
  kovrix_bigint* sum = kovrix_bigint_add(one, minus);
  show("and 1 + (-42) still works:", sum);

  kovrix_bigint_destroy(sum);
  kovrix_bigint_destroy(zero);
  kovrix_bigint_destroy(wide);
  kovrix_bigint_destroy(minus);
  kovrix_bigint_destroy(one);
}

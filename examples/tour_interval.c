/* Interval arithmetic: every result is a pair [lo, hi] of doubles that is
 * guaranteed to contain the exact real answer. */
#include <math.h>

#include "tour.h"

static void show(const char* label, kovrix_interval x) {
  printf("  %-34s [%.17g, %.17g]  width %.3g\n", label, x.lo, x.hi, kovrix_interval_width(x));
}

void tour_interval(void) {
  tour_heading("Interval: enclosures that always hold the true value");

  /* 0.1 and 0.2 are not exact in binary.  Enclose each decimal by the two
   * doubles around it, then add: the exact 0.3 lies inside the sum. */
  kovrix_interval tenth = kovrix_interval_from_f64(nextafter(0.1, 0), nextafter(0.1, 1));
  kovrix_interval fifth = kovrix_interval_from_f64(nextafter(0.2, 0), nextafter(0.2, 1));
  kovrix_interval sum = kovrix_interval_add(tenth, fifth);
  printf("  In plain doubles 0.1 + 0.2 = %.17g, which is not 0.3.\n", 0.1 + 0.2);
  show("[0.1] + [0.2] =", sum);
  printf("  contains 0.3 (the double nearest it)? %s; contains 0.1 + 0.2? %s\n\n",
         kovrix_interval_contains(sum, 0.3) ? "yes" : "no",
         kovrix_interval_contains(sum, 0.1 + 0.2) ? "yes" : "no");

  /* Each operation rounds its bounds outward, so the width grows with the
   * number of steps: a sum of ten thousand tenths. */
  printf("  Adding [0.1] again and again; the exact sum is n / 10:\n");
  kovrix_interval acc = kovrix_interval_from_f64(0, 0);
  for (int n = 1; n <= 10000; ++n) {
    acc = kovrix_interval_add(acc, tenth);
    if (n == 10 || n == 100 || n == 1000 || n == 10000) {
      char label[40];
      snprintf(label, sizeof label, "n = %d:", n);
      show(label, acc);
    }
  }
  printf("  The width grows with every step, and the exact 1000 stays inside: %s\n\n",
         kovrix_interval_contains(acc, 1000.0) ? "yes" : "no");

  /* Functions widen too, by two units per bound, since the C library's
   * results are themselves within one unit.  Where a function turns inside
   * the interval (sin at pi/2 here), the answer is its whole range. */
  kovrix_interval x = kovrix_interval_from_f64(1.0, 2.0);
  show("exp([1, 2]) =", kovrix_interval_exp(x));
  show("sin([1, 2]) (holds pi/2) =", kovrix_interval_sin(x));
  show("sin([2, 3]) (decreasing) =", kovrix_interval_sin(kovrix_interval_from_f64(2, 3)));
  show("sqrt([2, 2]) =", kovrix_interval_sqrt(kovrix_interval_from_f64(2, 2)));
  show("[1, 2]^3 =", kovrix_interval_pow(x, 3));
  printf("\n");

  /* Division by an interval that contains zero: the quotients of its members
   * are unbounded in both directions, so the answer is the whole line. */
  kovrix_interval around_zero = kovrix_interval_from_f64(-0.5, 0.25);
  show("[1, 2] / [-0.5, 0.25] =", kovrix_interval_div(x, around_zero));
  show("[1, 2] / [0.25, 0.5] =", kovrix_interval_div(x, kovrix_interval_from_f64(0.25, 0.5)));
  /* Intersecting disjoint intervals gives lo > hi: not a valid interval. */
  kovrix_interval none = kovrix_interval_intersect(kovrix_interval_from_f64(0, 1), kovrix_interval_from_f64(2, 3));
  printf("  [0, 1] intersect [2, 3] = [%g, %g], valid? %s\n", none.lo, none.hi,
         kovrix_interval_is_valid(none) ? "yes" : "no");
}

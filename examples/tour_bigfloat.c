/* BigFloat: 256-bit binary floating point beside the doubles.
 *
 * The library prints no BigFloat text, so each value is shown by its nearest
 * double -- and by what is left after the double is taken away, which is
 * where the extra 203 bits show. */
#include <math.h>

#include "tour.h"

/* The nearest double of a handle, then the handle released. */
static double take(kovrix_bigfloat* x) {
  double d = kovrix_bigfloat_to_f64(x);
  kovrix_bigfloat_destroy(x);
  return d;
}

/* x minus its own nearest double, as a double: the bits a double cannot hold. */
static double tail(const kovrix_bigfloat* x) {
  kovrix_bigfloat* head = kovrix_bigfloat_from_f64(kovrix_bigfloat_to_f64(x));
  double t = take(kovrix_bigfloat_sub(x, head));
  kovrix_bigfloat_destroy(head);
  return t;
}

static void row(const char* what, const kovrix_bigfloat* x, double libm) {
  printf("  %-26s %-20.17g + %-11.4g  libm %.17g\n", what, kovrix_bigfloat_to_f64(x), tail(x), libm);
}

void tour_bigfloat(void) {
  tour_heading("BigFloat: 256 bits, shown as nearest double + the rest");

  kovrix_bigfloat* pi = kovrix_pi_bigfloat();  /* Machin's formula, 96 terms per arctangent */
  kovrix_bigfloat* e = kovrix_e_bigfloat();    /* sum of 1/i! up to 64 */
  kovrix_bigfloat* one = kovrix_bigfloat_from_i64(1);
  kovrix_bigfloat* sin1 = kovrix_bigfloat_sin(one);
  kovrix_bigfloat* sinPi = kovrix_bigfloat_sin(pi);
  row("pi", pi, M_PI);
  row("e", e, M_E);
  row("sin(1)", sin1, sin(1.0));
  printf("  sin(pi) = %.4g here (the reduction takes away the same 256-bit pi); libm's sin(M_PI) = %.4g is pi - M_PI\n\n",
         take(sinPi), sin(M_PI));

  /* (1 + 2^-200) - 1: exact with a 256-bit mantissa, lost in a double. */
  kovrix_bigfloat* tiny = kovrix_bigfloat_from_f64(ldexp(1.0, -200));
  kovrix_bigfloat* sum = kovrix_bigfloat_add(one, tiny);
  double back = take(kovrix_bigfloat_sub(sum, one));
  volatile double dsum = 1.0 + ldexp(1.0, -200);
  printf("  (1 + 2^-200) - 1 = %.6g here (2^-200 = %.6g), %g in doubles\n", back, ldexp(1.0, -200), dsum - 1.0);

  /* sqrt(2)^2 - 2: the error of a 256-bit square root, then of a double one. */
  kovrix_bigfloat* two = kovrix_bigfloat_from_i64(2);
  kovrix_bigfloat* r2 = kovrix_bigfloat_sqrt(two);
  kovrix_bigfloat* sq = kovrix_bigfloat_mul(r2, r2);
  double miss = take(kovrix_bigfloat_sub(sq, two));
  printf("  sqrt(2)^2 - 2 = %.4g here, %.4g in doubles\n", miss, sqrt(2.0) * sqrt(2.0) - 2.0);
  kovrix_bigfloat* ln2 = kovrix_bigfloat_ln(two);
  kovrix_bigfloat* expLn2 = kovrix_bigfloat_exp(ln2);
  printf("  exp(ln 2) - 2 = %.4g (30-term series: about 160 bits of ln, 135 of exp)\n",
         take(kovrix_bigfloat_sub(expLn2, two)));
  printf("  ln through 256 bits, rounded back: kovrix_ln_generic_f64(10) = %.17g, libm %.17g\n",
         kovrix_ln_generic_f64(10.0), log(10.0));

  /* Machin: 4 arctan(1/5) - arctan(1/239) = pi/4.  pi above used 96 series
   * terms; the arctan export uses 30, which leave about 0.2^61 / 61. */
  kovrix_bigfloat* five = kovrix_bigfloat_from_i64(5);
  kovrix_bigfloat* n239 = kovrix_bigfloat_from_i64(239);
  kovrix_bigfloat* fifth = kovrix_bigfloat_div(one, five);
  kovrix_bigfloat* small = kovrix_bigfloat_div(one, n239);
  kovrix_bigfloat* a5 = kovrix_bigfloat_arctan(fifth);
  kovrix_bigfloat* a239 = kovrix_bigfloat_arctan(small);
  kovrix_bigfloat* four = kovrix_bigfloat_from_i64(4);
  kovrix_bigfloat* a5x4 = kovrix_bigfloat_mul(a5, four);
  kovrix_bigfloat* machin = kovrix_bigfloat_sub(a5x4, a239);
  kovrix_bigfloat* quarterPi = kovrix_bigfloat_div(pi, four);
  printf("  4 arctan(1/5) - arctan(1/239) - pi/4 = %.4g (30 series terms against 96)\n",
         take(kovrix_bigfloat_sub(machin, quarterPi)));
  kovrix_bigfloat* halfPi = kovrix_bigfloat_div(pi, two);
  kovrix_bigfloat* t = kovrix_bigfloat_tan(halfPi);
  printf("  tan(pi/2): the computed cosine is exactly 0, so the answer is %s\n", t ? "a number" : "NULL");

  kovrix_bigfloat* handles[] = {pi,    e,  one, sin1, tiny, sum,     two,  r2,        sq,     ln2,
                               expLn2, five, n239, fifth, small, a5, a239, four, a5x4, machin, quarterPi, halfPi, t};
  for (size_t i = 0; i < sizeof handles / sizeof handles[0]; ++i) kovrix_bigfloat_destroy(handles[i]);
}

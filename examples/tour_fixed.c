/* Fixed point: 64-bit numbers with a chosen count of fraction bits, and the
 * Q32.32 kernels that compute circular and hyperbolic functions with integer
 * shifts and additions only. */
#include <math.h>

#include "tour.h"

static const double one = 4294967296.0; /* 2^32: 1.0 in Q32.32 */

static double q32(int64_t raw) { return (double)raw / one; }

void tour_fixed(void) {
  tour_heading("Fixed point: Q32.32 arithmetic");
  printf("  A Fixed is an int64_t raw value standing for raw / 2^fracBits.  The function\n"
         "  kernels use 32 fraction bits (Q32.32): 1.0 is 2^32.\n\n");

  int64_t a = kovrix_fixed_from_int(3, 32);
  int64_t b = kovrix_fixed_div(kovrix_fixed_from_int(1, 32), kovrix_fixed_from_int(4, 32), 32);
  printf("  from_int(3, 32)      = %lld  (%.10f)\n", (long long)a, q32(a));
  printf("  1 / 4                = %lld  (%.10f)\n", (long long)b, q32(b));
  printf("  3 * 0.25             = %.10f\n", q32(kovrix_fixed_mul(a, b, 32)));
  int64_t third = kovrix_fixed_div(kovrix_fixed_from_int(1, 32), a, 32);
  printf("  1 / 3                = %lld  (%.10f, truncated toward zero)\n", (long long)third, q32(third));
  printf("  -1 raw unit * 1.0    = %lld  (products round toward -inf)\n",
         (long long)kovrix_fixed_mul(-1, kovrix_fixed_from_int(1, 32), 32));
  printf("  round(2.5), round(-2.5), floor(-0.5) = %.1f, %.1f, %.1f  (ties toward +inf)\n",
         q32(kovrix_fixed_round(5LL << 31)), q32(kovrix_fixed_round(-(5LL << 31))),
         q32(kovrix_fixed_floor(-(1LL << 31))));
  printf("  The same operations work with any count of fraction bits, e.g. Q16.16:\n");
  printf("  1.5 * 2.25 in Q16.16 = %lld / 65536 = %.4f\n",
         (long long)kovrix_fixed_mul(3 << 15, 9 << 14, 16), (double)kovrix_fixed_mul(3 << 15, 9 << 14, 16) / 65536.0);

  printf("\n  Arithmetic saturates instead of wrapping around:\n");
  printf("  INT64_MAX + 1        = %lld\n", (long long)kovrix_fixed_add(INT64_MAX, 1));
  printf("  from_int(2^31, 32)   = %lld  (2^31 does not fit 32 integer bits)\n",
         (long long)kovrix_fixed_from_int(1LL << 31, 32));
  printf("  2^62 * 2^62 (Q32.32) = %lld\n", (long long)kovrix_fixed_mul(1LL << 62, 1LL << 62, 32));
  printf("  1 / 0                = %lld  (a rejected argument answers 0)\n", (long long)kovrix_fixed_div(1, 0, 32));

  tour_heading("Fixed point: one angle, three methods");
  printf("  pi in Q32.32 is %lld (%.12f); e is %.12f.\n", (long long)kovrix_pi_fixed(), q32(kovrix_pi_fixed()),
         q32(kovrix_e_fixed()));
  int64_t x = kovrix_fixed_div(kovrix_pi_fixed(), kovrix_fixed_from_int(5, 32), 32); /* pi/5 = 36 degrees */
  double xd = q32(x);
  printf("  angle x = pi/5 = %.12f\n\n", xd);
  printf("  %-26s %16s %16s %12s\n", "method", "kovrix", "libm (double)", "difference");
  printf("  %-26s %16.12f %16.12f %12.2e\n", "CORDIC sin (32 rotations)", q32(kovrix_cordic_sin(x)), sin(xd),
         q32(kovrix_cordic_sin(x)) - sin(xd));
  printf("  %-26s %16.12f %16.12f %12.2e\n", "CORDIC cos", q32(kovrix_cordic_cos(x)), cos(xd),
         q32(kovrix_cordic_cos(x)) - cos(xd));
  printf("  %-26s %16.12f %16.12f %12.2e\n", "table sin (256 points)", q32(kovrix_lut_sin(x)), sin(xd),
         q32(kovrix_lut_sin(x)) - sin(xd));
  printf("  %-26s %16.12f %16.12f %12.2e\n", "table cos", q32(kovrix_lut_cos(x)), cos(xd),
         q32(kovrix_lut_cos(x)) - cos(xd));
  printf("  %-26s %16.12f %16.12f %12.2e\n", "polynomial tan (degree 7)", q32(kovrix_chebyshev_tan(x)), tan(xd),
         q32(kovrix_chebyshev_tan(x)) - tan(xd));
  int64_t y = kovrix_cordic_sin(x), c = kovrix_cordic_cos(x);
  printf("  %-26s %16.12f %16.12f %12.2e\n", "CORDIC atan2(sin, cos)", q32(kovrix_cordic_atan2(y, c)), xd,
         q32(kovrix_cordic_atan2(y, c)) - xd);
  printf("\n  CORDIC is good to about 1e-9, the table to half its spacing (pi/256, about 0.012),\n"
         "  and the polynomial is meant for |x| <= pi/4.  Even at 0 the 32 CORDIC steps\n"
         "  leave a residue: cordic_sin(0) = %lld raw units.\n",
         (long long)kovrix_cordic_sin(0));

  tour_heading("Fixed point: hyperbolic CORDIC");
  printf("  The hyperbolic rotations converge for |x| up to about 1.118; these exports\n"
         "  clamp their argument to +-1.1 first.\n\n");
  printf("  %-10s %16s %16s %12s\n", "x = 0.5", "kovrix", "libm (double)", "difference");
  int64_t h = 1LL << 31;
  printf("  %-10s %16.12f %16.12f %12.2e\n", "sinh", q32(kovrix_cordic_sinh(h)), sinh(0.5),
         q32(kovrix_cordic_sinh(h)) - sinh(0.5));
  printf("  %-10s %16.12f %16.12f %12.2e\n", "cosh", q32(kovrix_cordic_cosh(h)), cosh(0.5),
         q32(kovrix_cordic_cosh(h)) - cosh(0.5));
  printf("  %-10s %16.12f %16.12f %12.2e\n", "tanh", q32(kovrix_cordic_tanh(h)), tanh(0.5),
         q32(kovrix_cordic_tanh(h)) - tanh(0.5));
  printf("  %-10s %16.12f %16.12f %12.2e\n", "exp", q32(kovrix_cordic_exp(h)), exp(0.5),
         q32(kovrix_cordic_exp(h)) - exp(0.5));
  printf("\n  cordic_exp(2.0) = %.10f: the argument was clamped to 1.1 (e^1.1 = %.10f).\n",
         q32(kovrix_cordic_exp(2LL << 32)), exp(1.1));
}

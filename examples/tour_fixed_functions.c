/* Functions of Q32.32 fixed-point values: the raw int64 stands for
 * raw / 2^32.  Each kovrix_fixed_* function picks its kernel (CORDIC for
 * sin, cos and exp, Heron's iteration for sqrt, an atanh series for ln) and
 * answers any failure with 0 and nothing pending. */
#include <math.h>

#include "tour.h"

#define ONE 4294967296.0

static int64_t q32(double x) { return (int64_t)(x * ONE); }
static double real(int64_t raw) { return (double)raw / ONE; }

static void row(const char* what, int64_t raw, double libm) {
  printf("  %-22s kovrix %-14.10f (raw %-13lld) libm %.10f\n", what, real(raw), (long long)raw, libm);
}

void tour_fixed_functions(void) {
  tour_heading("Fixed-point functions beside libm");

  row("sin(1)", kovrix_fixed_sin(q32(1.0)), sin(1.0));
  row("cos(1)", kovrix_fixed_cos(q32(1.0)), cos(1.0));
  row("exp(1)", kovrix_fixed_exp(q32(1.0)), exp(1.0));
  row("exp(10), scaled", kovrix_fixed_exp(q32(10.0)), exp(10.0));
  row("ln(2)", kovrix_fixed_ln(q32(2.0)), log(2.0));
  row("ln(100), no reduction", kovrix_fixed_ln(q32(100.0)), log(100.0));
  row("sqrt(2)", kovrix_fixed_sqrt(q32(2.0)), sqrt(2.0));
  row("sqrt(30000), 15 steps", kovrix_fixed_sqrt(q32(30000.0)), sqrt(30000.0));
  printf("\n  Failures read as 0: ln(-1) = %lld, 13! = %lld (beyond Q32.32), sinh(5) = %lld\n",
         (long long)kovrix_fixed_ln(q32(-1.0)), (long long)kovrix_fixed_factorial(13),
         (long long)kovrix_fixed_sinh(q32(5.0)));
}

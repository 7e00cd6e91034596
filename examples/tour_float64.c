/* Float64 kernels: each named method beside the C library's answer.
 *
 * These exports evaluate one algorithm with a fixed count of terms or
 * iterations, on the argument exactly as given: no range reduction, no
 * stopping rule.  Near the centre of each series they agree with libm to
 * nearly every digit; away from it you see the truncation, by design. */
#include <math.h>

#include "tour.h"

static void row(const char* what, double kovrix, double libm) {
  printf("  %-28s kovrix %-22.17g libm %-22.17g\n", what, kovrix, libm);
}

void tour_float64(void) {
  tour_heading("Float64 kernels: a chosen method beside libm");

  printf("Newton's square root, 20 iterations started from x itself:\n");
  row("sqrt(2)", kovrix_sqrt_newton_f64(2.0), sqrt(2.0));
  row("sqrt(1e20), not converged", kovrix_sqrt_newton_f64(1e20), sqrt(1e20));
  printf("  sqrt(-1) is NaN: %g\n\n", kovrix_sqrt_newton_f64(-1.0));

  printf("Taylor series with a fixed number of terms (exp 15, ln(1+x) 14, sin and cos 5, atan 10):\n");
  row("exp(1)", kovrix_exp_taylor_f64(1.0), exp(1.0));
  row("exp(10), truncated", kovrix_exp_taylor_f64(10.0), exp(10.0));
  row("ln(1 + 0.5)", kovrix_ln_taylor_f64(0.5), log1p(0.5));
  row("ln(1 + 1), slow series", kovrix_ln_taylor_f64(1.0), log1p(1.0));
  row("sin(0.5)", kovrix_taylor_sin_f64(0.5), sin(0.5));
  row("cos(0.5)", kovrix_taylor_cos_f64(0.5), cos(0.5));
  row("sin(10), no reduction", kovrix_taylor_sin_f64(10.0), sin(10.0));
  row("atan(0.25)", kovrix_taylor_atan_f64(0.25), atan(0.25));
  row("atan(1), slow series", kovrix_taylor_atan_f64(1.0), atan(1.0));

  printf("\nOrthogonal polynomials by their three-term recurrences (degree first):\n");
  row("T_5(0.3) vs cos(5 acos 0.3)", kovrix_chebyshev_t(5, 0.3), cos(5 * acos(0.3)));
  row("U_4(0.3) vs sin(5t)/sin t", kovrix_chebyshev_u(4, 0.3), sin(5 * acos(0.3)) / sin(acos(0.3)));
  row("P_2(0.5) = (3x^2 - 1)/2", kovrix_legendre(2, 0.5), (3 * 0.25 - 1) / 2);
  row("H_3(2) = 8x^3 - 12x", kovrix_hermite(3, 2.0), 8 * 8.0 - 12 * 2.0);

  printf("\nSpecial functions:\n");
  row("erf(0.5), 15 terms", kovrix_erf(0.5), erf(0.5));
  row("gamma(0.5), Lanczos g=7", kovrix_gamma(0.5), tgamma(0.5));
  row("gamma(-0.5), reflection", kovrix_gamma(-0.5), tgamma(-0.5));
  row("gamma(5)", kovrix_gamma(5.0), tgamma(5.0));
  row("20!", kovrix_factorial(20), tgamma(21.0));
  row("J0(2), 15 terms", kovrix_bessel_j0(2.0), j0(2.0));
  printf("  gamma(-2) is a pole: %g; 171! overflows: %g\n", kovrix_gamma(-2.0), kovrix_factorial(171));
}

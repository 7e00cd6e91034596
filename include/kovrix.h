/*
 * kovrix — numbers in several representations behind a flat C interface.
 *
 *   BigInt    arbitrary-precision signed integers (opaque handles)
 *   Rational  exact fractions in lowest terms (opaque handles)
 *   Fixed     64-bit fixed point; the function kernels work in Q32.32 (int64_t)
 *   Interval  closed float64 intervals with outward rounding (passed by value)
 *   float64   series, Newton and special-function kernels on double
 *
 * Conventions every host must know
 *   - Call kovrix_init() once, before any other export and before other threads
 *     use the library.
 *   - Every handle returned is new and owned by the caller, who releases it
 *     with the family's destroy export (kovrix_bigint_destroy ...).  Handles are
 *     immutable; the same handle may be passed as several arguments.  A handle
 *     may be read by several threads at once and destroyed on any thread, never
 *     while another thread still reads it.
 *   - A failing export returns its failure value: NULL for handles, 0 for
 *     integers, Fixed values and comparisons, false for predicates, 0.0 for
 *     doubles, (0.0, 0.0) for intervals, unless its documentation says
 *     otherwise (e.g. -1 from kovrix_bigint_to_decimal for a bad buffer).
 *   - An internal failure leaves an error pending on the calling thread.  While
 *     an error is pending, every export that can fail returns its failure value
 *     without computing.  Only a few exports clear a pending error, each for
 *     the kinds it names: kovrix_bigint_from_decimal, kovrix_rational_ln,
 *     kovrix_rational_sqrt, kovrix_rational_pow and kovrix_rational_from_f64
 *     (invalid argument),
 *     kovrix_rational_tan and kovrix_interval_pow (division by zero) and the twenty
 *     kovrix_fixed_<function> exports from kovrix_fixed_sin to
 *     kovrix_fixed_bessel_j0 and kovrix_fixed_from_rational (every kind).  No export reports the pending
 *     error; an error pending on one thread never affects another.
 *   - Exhausted memory ends the process with "out of memory" on stderr and exit
 *     status 1.
 *   - kovrix_init installs handlers for SIGINT, SIGSEGV, SIGABRT, SIGFPE and
 *     SIGILL that print a one-line message to stderr and then hand the signal
 *     back to the disposition the host had before kovrix_init (a system call
 *     the signal interrupted resumes or fails with EINTR as that disposition
 *     asked).  A signal the host ignores at kovrix_init (SIG_IGN, as a shell
 *     arranges for background jobs) gets no handler and stays ignored, also
 *     in the programs the host starts with exec.  SIGPIPE is ignored from
 *     then on; exec keeps an ignored signal ignored, so the programs the host
 *     starts afterwards inherit that too (a host that wants them to die of a
 *     broken pipe resets SIGPIPE to SIG_DFL in the child before exec).
 */
#ifndef KOVRIX_H
#define KOVRIX_H

#include <stdint.h>

/* The version of this header; kovrix_version() returns the same text at run
 * time, so a host can check that it loaded the library it was built with. */
#define KOVRIX_VERSION_MAJOR 1
#define KOVRIX_VERSION_MINOR 0
#define KOVRIX_VERSION_PATCH 0
#define KOVRIX_VERSION_STRING "1.0.0"

#if defined(__GNUC__)
#define KOVRIX_API __attribute__((visibility("default")))
#else
#define KOVRIX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ==== Lifecycle ============================================================ */

/* Initialises the library once per process (later calls do nothing).  Always
 * returns 1.  If an error is pending on the calling thread when the first
 * initialisation finishes, it is reported on stderr and the process exits
 * with status 1. */
KOVRIX_API int kovrix_init(void);
/* Does nothing; kept for hosts that pair init with cleanup. */
KOVRIX_API void kovrix_cleanup(void);
/* The static string "1.0.0". */
KOVRIX_API const char* kovrix_version(void);
/* Text of a status code: 0 "Success", 1 "Division by zero", 2 "Overflow",
 * 3 "Invalid argument", 4 "Out of memory", anything else (negative codes
 * included) "Unknown error".  No export returns these codes. */
KOVRIX_API const char* kovrix_get_error_string(int code);

/* ==== BigInt =============================================================== */
/* Exact signed integers of any size.  A kovrix_bigint* is an immutable handle;
 * every handle returned is new, and the caller destroys it with
 * kovrix_bigint_destroy.  The same handle may be passed as several arguments.
 * Unless stated otherwise, an export returns its failure value without
 * computing while an error is pending on the calling thread, and leaves that
 * error pending. */

typedef struct kovrix_bigint kovrix_bigint;

/* New handle holding v.  NULL only while an error is pending. */
KOVRIX_API kovrix_bigint* kovrix_bigint_from_i64(int64_t v);
/* Parses an optional '+' or '-' followed by one or more decimal digits, up to
 * the NUL (no whitespace; leading zeros allowed; "-0" is zero).
 * NULL text: NULL, nothing raised, a pending error left as it is.
 * Invalid text: NULL, and the invalid-argument error is caught, so nothing is
 * left pending.  This export also clears an invalid-argument error left
 * pending by an earlier call (returning NULL for that call).  Any other
 * pending error: NULL, and the error stays pending. */
KOVRIX_API kovrix_bigint* kovrix_bigint_from_decimal(const char* text);
/* Writes the decimal text of x ('-' for negatives, no '+', no leading zeros)
 * and a NUL into buf; returns the number of characters written without the
 * NUL.
 *   -1  if x or buf is NULL or size is 0 (even while an error is pending), or
 *       if size is smaller than the length + 1 (buf untouched, nothing raised);
 *    0  while an error is pending;
 *    0  for a negative size, leaving a range error pending (nothing written);
 *    0  for a text longer than INT_MAX characters: it is written, and a range
 *       error is left pending. */
KOVRIX_API int kovrix_bigint_to_decimal(const kovrix_bigint* x, char* buf, int64_t size);
/* a + b, a - b, a * b as new handles.  NULL if an argument is NULL (nothing
 * raised) or while an error is pending. */
KOVRIX_API kovrix_bigint* kovrix_bigint_add(const kovrix_bigint* a, const kovrix_bigint* b);
KOVRIX_API kovrix_bigint* kovrix_bigint_sub(const kovrix_bigint* a, const kovrix_bigint* b);
KOVRIX_API kovrix_bigint* kovrix_bigint_mul(const kovrix_bigint* a, const kovrix_bigint* b);
/* Quotient truncated toward zero, and the remainder a - b*(a/b), which is zero
 * or has the sign of a (7 / -2 = -3 rem 1; -7 / 2 = -3 rem -1).  NULL if an
 * argument is NULL or b is zero (nothing raised), or while an error is
 * pending. */
KOVRIX_API kovrix_bigint* kovrix_bigint_div(const kovrix_bigint* a, const kovrix_bigint* b);
KOVRIX_API kovrix_bigint* kovrix_bigint_mod(const kovrix_bigint* a, const kovrix_bigint* b);
/* -a and |a| (zero is never negative).  NULL if a is NULL or while an error
 * is pending. */
KOVRIX_API kovrix_bigint* kovrix_bigint_neg(const kovrix_bigint* a);
KOVRIX_API kovrix_bigint* kovrix_bigint_abs(const kovrix_bigint* a);
/* -1, 0 or 1 as a <, =, > b.  0 if an argument is NULL or while an error is
 * pending. */
KOVRIX_API int kovrix_bigint_cmp(const kovrix_bigint* a, const kovrix_bigint* b);
/* x saturated to [-2^63, 2^63-1]; *ok (if ok is not NULL) is 1 when x lies in
 * that range, else 0.  Never raises for large values.  x NULL: 0 with *ok = 0.
 * While an error is pending: 0, *ok untouched. */
KOVRIX_API int64_t kovrix_bigint_to_i64(const kovrix_bigint* x, int* ok);
/* x if 0 <= x < 2^64 (*ok = 1); 2^64-1 if x >= 2^64 and 0 if x < 0 (*ok = 0).
 * x NULL: 0 with *ok = 0.  While an error is pending: 0, *ok untouched. */
KOVRIX_API uint64_t kovrix_bigint_to_u64(const kovrix_bigint* x, int* ok);
/* x * 2^n and floor(x / 2^n) (rounding toward minus infinity, so -1 >> n is -1
 * and -5 >> 1 is -3).  NULL if x is NULL or n < 0 (nothing raised), or while
 * an error is pending. */
KOVRIX_API kovrix_bigint* kovrix_bigint_shl(const kovrix_bigint* x, int n);
KOVRIX_API kovrix_bigint* kovrix_bigint_shr(const kovrix_bigint* x, int n);
/* Releases a handle; NULL does nothing.  Works while an error is pending. */
KOVRIX_API void kovrix_bigint_destroy(kovrix_bigint* x);

/* (hi*2^64 + lo) / d: stores the low 64 bits of the quotient in *q and the
 * remainder in *r; both are exact when hi < d (when hi >= d the quotient does
 * not fit and *q is it modulo 2^64).  Requires d != 0 and valid q, r; with
 * d = 0 or a NULL pointer nothing is written and the call does not trap.
 * Computes whether or not an error is pending, and raises nothing. */
KOVRIX_API void kovrix_udiv128(uint64_t hi, uint64_t lo, uint64_t d, uint64_t* q, uint64_t* r);
/* Leading zero bits of x; 64 for 0.  Computes whether or not an error is
 * pending. */
KOVRIX_API int kovrix_clz64(uint64_t x);
/* floor(sqrt(n)).  0 for n < 0 (nothing raised); 0 while an error is
 * pending. */
KOVRIX_API int64_t kovrix_isqrt_i64(int64_t n);

/* ==== Fixed point: arithmetic ============================================== */
/* A Fixed is a raw int64_t standing for raw / 2^fracBits.  The exports that
 * take no fraction-bit count work in Q32.32 (one = 2^32, integer part -2^31 ..
 * 2^31 - 1, resolution 2^-32).
 *
 * Every result is exact and then saturated to the int64 range: a value below
 * -2^63 gives INT64_MIN, above 2^63 - 1 gives INT64_MAX; nothing wraps around.
 * A rejected argument is answered with 0; these exports never raise and
 * clear nothing.  While an error is pending on the thread, the exports that
 * work on the exact big-integer value (from_int, add, sub, mul, div, abs,
 * ceil of a value with a fraction, round, lerp) and kovrix_pi_fixed /
 * kovrix_e_fixed return 0 after their argument checks, leaving the error
 * pending; the plain operations (to_int, cmp, sign, clamp, floor_mod, floor,
 * ceil of an integer value) compute normally. */

/* value * 2^fracBits, saturated.  fracBits outside 0..63: 0.
 * (1, 32) = 2^32; (2^31, 32) = INT64_MAX; (-2^31, 32) = INT64_MIN. */
KOVRIX_API int64_t kovrix_fixed_from_int(int64_t value, int32_t fracBits);
/* x >> fracBits, arithmetic: rounds toward -infinity ((-1, 32) = -1).
 * fracBits outside 0..63: 0. */
KOVRIX_API int64_t kovrix_fixed_to_int(int64_t x, int32_t fracBits);
/* a + b, saturated. */
KOVRIX_API int64_t kovrix_fixed_add(int64_t a, int64_t b);
/* a - b, saturated. */
KOVRIX_API int64_t kovrix_fixed_sub(int64_t a, int64_t b);
/* floor(a * b / 2^fracBits) of the exact product, saturated ((-1, 1, 32) = -1).
 * fracBits outside 0..63: 0. */
KOVRIX_API int64_t kovrix_fixed_mul(int64_t a, int64_t b, int32_t fracBits);
/* a * 2^fracBits / b of the exact values, truncated toward zero, saturated.
 * b = 0 or fracBits < 0: 0.  Any fracBits >= 0 is accepted (large counts
 * saturate at once: (1, 1, 100) = INT64_MAX). */
KOVRIX_API int64_t kovrix_fixed_div(int64_t a, int64_t b, int32_t fracBits);
/* -1, 0 or 1 as a < b, a = b, a > b. */
KOVRIX_API int32_t kovrix_fixed_cmp(int64_t a, int64_t b);
/* |a|, saturated: |INT64_MIN| = INT64_MAX. */
KOVRIX_API int64_t kovrix_fixed_abs(int64_t a);
/* 1, 0 or -1 as a > 0, a = 0, a < 0. */
KOVRIX_API int32_t kovrix_fixed_sign(int64_t a);
/* lo if x < lo, otherwise the smaller of x and hi.  lo > hi is not rejected:
 * a value below lo gives lo, any other value gives hi. */
KOVRIX_API int64_t kovrix_fixed_clamp(int64_t x, int64_t lo, int64_t hi);
/* a mod m with the sign of m (floored modulo), 0 <= |result| < |m|.  m = 0:
 * 0.  (INT64_MIN, -1) = 0. */
KOVRIX_API int64_t kovrix_fixed_floor_mod(int64_t a, int64_t m);
/* Q32.32: x with its 32 fraction bits cleared (toward -infinity: -0.5 gives
 * -1.0). */
KOVRIX_API int64_t kovrix_fixed_floor(int64_t x);
/* Q32.32: the smallest integer >= x, saturated (so a value above 2^31 - 1
 * with a fraction gives INT64_MAX, which is not an integer value). */
KOVRIX_API int64_t kovrix_fixed_ceil(int64_t x);
/* Q32.32: the nearest integer, ties toward +infinity (0.5 -> 1, -0.5 -> 0,
 * -1.5 -> -1); saturation yields 0x7FFFFFFF00000000. */
KOVRIX_API int64_t kovrix_fixed_round(int64_t x);
/* a + floor((b - a) * t / 2^32), exact, saturated; t is Q32.32 whatever the
 * format of a and b.  t = 0 gives a, t = 2^32 gives b; t outside [0, 1]
 * extrapolates. */
KOVRIX_API int64_t kovrix_fixed_lerp(int64_t a, int64_t b, int64_t t);
/* pi in Q32.32, truncated: 13493037704. */
KOVRIX_API int64_t kovrix_pi_fixed(void);
/* e in Q32.32, truncated: 11674931554. */
KOVRIX_API int64_t kovrix_e_fixed(void);

/* ==== Fixed point: circular kernels (Q32.32) =============================== */
/* Angles are radians, arguments and results Q32.32 raw values.  The CORDIC
 * and polynomial exports run overflow-tested integer steps: on an overflow
 * they return 0 and leave an overflow error pending, and while an error is
 * pending they return 0 without computing.  They clear nothing.  The table
 * exports and reduceQ32 / clampQ32 cannot fail and always compute. */

/* Sine by 32 CORDIC rotations of x reduced modulo 2*pi (reduceQ32).  Good to
 * about 1e-9; even exact angles leave a residue of a few raw units
 * (kovrix_cordic_sin(0) = -3). */
KOVRIX_API int64_t kovrix_cordic_sin(int64_t x);
/* Cosine, from the same rotations (kovrix_cordic_cos(0) = 4294967303). */
KOVRIX_API int64_t kovrix_cordic_cos(int64_t x);
/* The angle of the point (x, y) in (-pi, pi] (up to a few units of residue)
 * by CORDIC vectoring; both coordinates are clamped to +-2^62 first (clampQ32).
 * (0, 0) gives 0, x = 0 gives +-pi/2 exactly (+-6746518852), (0, -1.0) gives
 * 13493037705 (pi plus one unit of residue).  Coordinates large enough for the
 * first step's sum to pass 2^63 (y = x = 2^62) overflow: 0 with the error
 * pending. */
KOVRIX_API int64_t kovrix_cordic_atan2(int64_t y, int64_t x);
/* Sine from a 256-entry table: the entry nearest x (reduced modulo 2*pi), no
 * interpolation (error up to about 0.012).  Cannot fail. */
KOVRIX_API int64_t kovrix_lut_sin(int64_t x);
/* Cosine from the same table (the sine at x + pi/2).  Cannot fail. */
KOVRIX_API int64_t kovrix_lut_cos(int64_t x);
/* Degree-7 odd polynomial tan(x) ~ x + c3 x^3 + c5 x^5 + c7 x^7 on x clamped
 * to +-2^62, meant for |x| <= pi/4; no range reduction and no pole test (tan of
 * 1.0 gives 1.5201).  Arguments whose powers leave int64 overflow: 0 with the
 * error pending. */
KOVRIX_API int64_t kovrix_chebyshev_tan(int64_t x);
/* x floored modulo 26986075409 (2*pi rounded), in [0, 26986075409).  Cannot
 * fail. */
KOVRIX_API int64_t reduceQ32(int64_t x);
/* x clamped to [-2^62, 2^62].  Cannot fail. */
KOVRIX_API int64_t clampQ32(int64_t x);

/* ==== Fixed point: hyperbolic kernels (Q32.32) ============================= */
/* 34 hyperbolic CORDIC rotations, which converge for |x| <= 1.1181730141.
 * Every export clamps its argument to +-1.1 (clampHyperbolicQ32) first, so
 * larger arguments give the value at +-1.1; the unclamped exponential is
 * kovrix_fixed_exp.  On a failure (an overflow, which the clamped arguments
 * never reach) they return 0 with the error left pending; while an error is
 * pending they return 0 without computing.  They clear nothing. */

/* sinh x (kovrix_cordic_sinh(0) = 1, the residue of the rotations). */
KOVRIX_API int64_t kovrix_cordic_sinh(int64_t x);
/* cosh x (kovrix_cordic_cosh(0) = 4294967287). */
KOVRIX_API int64_t kovrix_cordic_cosh(int64_t x);
/* sinh x / cosh x, the quotient truncated toward zero. */
KOVRIX_API int64_t kovrix_cordic_tanh(int64_t x);
/* sinh x + cosh x = e^x for |x| <= 1.1 (e^1.1 beyond). */
KOVRIX_API int64_t kovrix_cordic_exp(int64_t x);
/* x clamped to [-4724464025, 4724464025] (+-1.1).  Cannot fail. */
KOVRIX_API int64_t clampHyperbolicQ32(int64_t x);

/* ==== Fixed point: elementary functions (Q32.32) =========================== */

/* Arguments and results are Q32.32 raw values (raw / 2^32).  Each function
 * runs one named kernel with a fixed count and no further reduction, so
 * accuracy falls away from each series' centre; the values are the defined
 * results.  Failure convention, shared by all twenty: any failure inside
 * (domain error, overflow, zero divisor) returns 0 and leaves NO error
 * pending; an error already pending on entry is cleared and 0 returned.
 * A result 0 cannot be told from a failure. */

/* sin x and cos x from one circular CORDIC run (32 steps, reduced inside);
 * residues of a few units: sin(0) = -3, cos(0) = 4294967303. */
KOVRIX_API int64_t kovrix_fixed_sin(int64_t x);
KOVRIX_API int64_t kovrix_fixed_cos(int64_t x);
/* tan x: reduced modulo pi to [-pi/2, pi/2], then the degree-7 polynomial
 * (|f| <= pi/4) or one over the polynomial at pi/2 - |f|.  0 at odd
 * multiples of pi/2 (division by zero). */
KOVRIX_API int64_t kovrix_fixed_tan(int64_t x);
/* e^x by hyperbolic CORDIC, halving the argument and squaring the result
 * beyond the CORDIC range.  0 once the result leaves Q32.32 (x > ~21.49). */
KOVRIX_API int64_t kovrix_fixed_exp(int64_t x);
/* ln x by 15 terms of the atanh series, no range reduction (ln 2 =
 * 2977044462, ln 100 = 4.1510).  0 for x <= 0. */
KOVRIX_API int64_t kovrix_fixed_ln(int64_t x);
/* sqrt x by 15 Heron steps started from x (sqrt 2 = 6074000999; large x
 * not converged).  0 for x < 0, and for x > INT64_MAX - 2^32, where the first
 * step's sum x + x/x leaves int64. */
KOVRIX_API int64_t kovrix_fixed_sqrt(int64_t x);
/* atan x = angle of (one, x) by CORDIC vectoring. */
KOVRIX_API int64_t kovrix_fixed_atan(int64_t x);
/* Angle of the point (x, y) in (-pi, pi], no clamping; 0 when the
 * iterations overflow (coordinates near 2^62) and for x = INT64_MIN (whose
 * negation overflows). */
KOVRIX_API int64_t kovrix_fixed_atan2(int64_t y, int64_t x);
/* sinh, cosh, tanh by hyperbolic CORDIC; 0 for |x| above its convergence
 * budget 4802516527 (about 1.1182). */
KOVRIX_API int64_t kovrix_fixed_sinh(int64_t x);
KOVRIX_API int64_t kovrix_fixed_cosh(int64_t x);
KOVRIX_API int64_t kovrix_fixed_tanh(int64_t x);
/* a^b = exp(b * ln a) with the ln and exp above.  0 for a <= 0. */
KOVRIX_API int64_t kovrix_fixed_pow(int64_t a, int64_t b);
/* asin x = atan2(x, s), acos x = atan2(s, x), s = sqrt(one - x*x) by 10
 * Heron steps.  0 for |x| > one. */
KOVRIX_API int64_t kovrix_fixed_asin(int64_t x);
KOVRIX_API int64_t kovrix_fixed_acos(int64_t x);
/* asinh x = ln(x + sqrt(x*x + one)), acosh x = ln(x + sqrt(x*x - one)),
 * roots by 10 Heron steps, ln as above.  acosh: 0 for x < one. */
KOVRIX_API int64_t kovrix_fixed_asinh(int64_t x);
KOVRIX_API int64_t kovrix_fixed_acosh(int64_t x);
/* atanh x = (1/2) ln((one + x) / (one - x)).  0 for |x| >= one. */
KOVRIX_API int64_t kovrix_fixed_atanh(int64_t x);
/* n! in Q32.32; 12! = 2057296206731673600 is the largest; 0 for n < 0 and
 * n >= 13. */
KOVRIX_API int64_t kovrix_fixed_factorial(int32_t n);
/* erf x by 15 terms of its Maclaurin series (erf 1 = 3619372346). */
KOVRIX_API int64_t kovrix_fixed_erf(int64_t x);
/* J0(x) by 15 terms of its power series (J0(1) = 3286499039). */
KOVRIX_API int64_t kovrix_fixed_bessel_j0(int64_t x);

/* ==== Float64 kernels ====================================================== */

/* One named method each, with a fixed count of terms or iterations, on the
 * argument exactly as given (no range reduction): near each series' centre
 * they agree with libm closely; away from it the truncation shows, by
 * design.  The order of the floating-point operations is fixed, so results
 * are reproducible to the bit.  None of these fails: arguments outside a
 * kernel's domain give the quiet NaN 0x7FF8000000000000, NaN and infinities
 * propagate through the arithmetic, and no error is ever left pending (an
 * error pending from an earlier call is ignored and left as it is).
 *
 * Which NaN comes back: the domain NaN 0x7FF8000000000000 answers the
 * arguments listed below as outside a kernel's domain.  Where a term
 * overflows or meets an infinity, the arithmetic itself makes the NaN
 * 0xFFF8000000000000 (inf - inf, 0 * inf, inf / inf): sqrt_newton(+inf);
 * exp_taylor(-inf) and exp_taylor of huge negative x (-DBL_MAX); ln_taylor
 * of +inf and of huge x; the sine, cosine and atan series, erf, bessel_j0
 * and the four recurrences (degree 2 and up) at +-inf and wherever a term
 * overflows (+-DBL_MAX, +-1e300); gamma(+inf) and gamma of huge x.  A NaN
 * argument comes back as it is, sign and payload kept.
 *
 * Cost: the series and Newton kernels run their fixed counts.  The
 * recurrences take one step per degree, so their time grows linearly with
 * n: about 2 ns per degree for Chebyshev T and U and 6 ns for Legendre on a
 * 2.1 GHz x86-64 (kovrix_legendre(INT32_MAX, x) takes some 12 s); Hermite
 * stops early once its value becomes NaN. */

/* sqrt x by 20 Heron steps started from x; converged for moderate x only
 * (sqrt 1e20 = 95367431990150.33).  NaN for x < 0; sqrt(-0.0) = 0. */
KOVRIX_API double kovrix_sqrt_newton_f64(double x);
/* e^x by 15 terms of its Taylor series (exp 1 = 2.71828182845823). */
KOVRIX_API double kovrix_exp_taylor_f64(double x);
/* ln(1 + x) -- not ln x -- by 14 terms x - x^2/2 + ... - x^14/14; converges
 * for -1 < x <= 1 only.  NaN for 1 + x <= 0. */
KOVRIX_API double kovrix_ln_taylor_f64(double x);
/* sin x and cos x by 5 Taylor terms, atan x by 10 (atan converges only for
 * |x| <= 1, slowly near 1: atan 1 = 0.7604599047323508). */
KOVRIX_API double kovrix_taylor_sin_f64(double x);
KOVRIX_API double kovrix_taylor_cos_f64(double x);
KOVRIX_API double kovrix_taylor_atan_f64(double x);
/* Chebyshev T_n, U_n, Legendre P_n and Hermite H_n (physicists') by their
 * three-term recurrences from degree 0.  A negative n gives the degree-1
 * polynomial (x for T and P, 2x for U and H). */
KOVRIX_API double kovrix_chebyshev_t(int32_t n, double x);
KOVRIX_API double kovrix_chebyshev_u(int32_t n, double x);
KOVRIX_API double kovrix_legendre(int32_t n, double x);
KOVRIX_API double kovrix_hermite(int32_t n, double x);
/* erf x by 15 terms of its Maclaurin series. */
KOVRIX_API double kovrix_erf(double x);
/* Gamma(x) by the Lanczos approximation (g = 7, 9 coefficients), with
 * reflection below 0 (gamma 1 = 0.9999999999999998).  NaN at the poles
 * x = 0, -0.0, -1, -2, ... and -inf.  The last digits follow the C
 * library's pow, exp and sin. */
KOVRIX_API double kovrix_gamma(double x);
/* n! as the ascending float64 product; 0.0 for n < 0, +inf from n = 171. */
KOVRIX_API double kovrix_factorial(int32_t n);
/* J0(x) by 15 terms of its power series; far from J0 beyond |x| ~ 10. */
KOVRIX_API double kovrix_bessel_j0(double x);

/* ==== BigFloat ============================================================= */
/*
 * Binary floating point with a 256-bit mantissa: a value is
 * (-1)^s * m * 2^e with an integer m of exactly 256 bits (or zero) and a
 * signed 64-bit exponent e.  There is no infinity, NaN or negative zero.
 * A kovrix_bigfloat* is an immutable handle; every handle returned is new,
 * and the caller destroys it with kovrix_bigfloat_destroy.  The same handle
 * may be passed as several arguments.
 *
 * Every result is rounded to 256 bits to nearest, ties away from zero; the
 * arithmetic is correctly rounded.  Unless stated otherwise, an export
 * returns its failure value (NULL, 0, 0.0) without computing while an error
 * is pending on the calling thread and leaves that error pending; an exponent
 * that leaves the 64-bit range leaves an overflow error pending.
 */

typedef struct kovrix_bigfloat kovrix_bigfloat;

/* The value of x, exact.  NaN or an infinity: NULL, and the invalid-argument
 * error is caught, so nothing is left pending (this export also clears an
 * invalid-argument error left pending by an earlier call, returning NULL). */
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_from_f64(double x);
/* The integer v, exact. */
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_from_i64(int64_t v);
/* The integer x, truncated toward zero to its top 256 bits.  NULL for NULL. */
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_from_bigint(const kovrix_bigint* x);
/* x rounded to the nearest double, ties to even, with gradual underflow;
 * +-inf from 2^1024 up, +-0.0 below 2^-1075.  NULL reads as zero (0.0). */
KOVRIX_API double kovrix_bigfloat_to_f64(const kovrix_bigfloat* x);
/* 1 if x is zero, else 0; 0 for NULL. */
KOVRIX_API int kovrix_bigfloat_is_zero(const kovrix_bigfloat* x);
/* Releases the handle; NULL does nothing (even while an error is pending). */
KOVRIX_API void kovrix_bigfloat_destroy(kovrix_bigfloat* x);
/* a + b, a - b, a * b, a / b, correctly rounded.  NULL if an argument is
 * NULL, and for a zero divisor (nothing raised). */
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_add(const kovrix_bigfloat* a, const kovrix_bigfloat* b);
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_sub(const kovrix_bigfloat* a, const kovrix_bigfloat* b);
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_mul(const kovrix_bigfloat* a, const kovrix_bigfloat* b);
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_div(const kovrix_bigfloat* a, const kovrix_bigfloat* b);
/* -1, 0 or 1 as a <, =, > b, exact.  0 if an argument is NULL. */
KOVRIX_API int32_t kovrix_bigfloat_cmp(const kovrix_bigfloat* a, const kovrix_bigfloat* b);
/* -a and |a|, exact (zero is never negative).  NULL for NULL. */
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_neg(const kovrix_bigfloat* a);
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_abs(const kovrix_bigfloat* a);

/* pi = 16 atan(1/5) - 4 atan(1/239) by 96 terms of each arctangent series,
 * every step rounded to 256 bits (0.68 units in the last place above pi). */
KOVRIX_API kovrix_bigfloat* kovrix_pi_bigfloat(void);
/* e = sum of 1/i! for i = 0 .. 64 (3.8 units in the last place below e). */
KOVRIX_API kovrix_bigfloat* kovrix_e_bigfloat(void);
/* x - k 2pi with k the nearest integer to x / 2pi (halves up), every step
 * rounded to 256 bits: in [-pi, pi), pi itself giving -pi.  NULL for NULL. */
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_reduce(const kovrix_bigfloat* x);
/* The elementary functions, each a fixed number of series terms or Newton
 * steps at 256 bits (no error-based stopping: the last bits are those of
 * these steps, not the correctly rounded ones).  NULL for a NULL argument.
 * sin, cos: reduced modulo 2pi and to an eighth of a turn, then 20 Taylor
 * terms (about 180 correct bits).  tan = sin / cos; NULL when the computed
 * cosine is exactly zero (that division-by-zero error is caught, and one left
 * pending by an earlier call is cleared). */
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_sin(const kovrix_bigfloat* x);
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_cos(const kovrix_bigfloat* x);
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_tan(const kovrix_bigfloat* x);
/* e^x: x halved s times into |x| < 1/2, 30 Taylor terms, squared s times.
 * A result beyond the exponent range leaves an overflow error pending. */
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_exp(const kovrix_bigfloat* x);
/* ln x = ln m + k ln2 with m in [sqrt2/2, sqrt2], ln m by 30 terms of the
 * atanh series (about 160 correct bits).  x <= 0: NULL, nothing raised.
 * kovrix_ln_generic_bigfloat is the same function. */
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_ln(const kovrix_bigfloat* x);
KOVRIX_API kovrix_bigfloat* kovrix_ln_generic_bigfloat(const kovrix_bigfloat* x);
/* The same logarithm of the double x, rounded back to the nearest double.
 * Quiet NaN for x <= 0, +inf and NaN; computes while an error is pending and
 * leaves none. */
KOVRIX_API double kovrix_ln_generic_f64(double x);
/* sqrt x by reciprocal-square-root Newton steps at 106, 212, 256 and 256 bits
 * from a double start.  x < 0: NULL, nothing raised. */
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_sqrt(const kovrix_bigfloat* x);
/* sqrt x by at most 20 Heron steps started from x itself (stops early at a
 * fixed point); far from 1 the result is not yet converged.  x < 0: NULL,
 * nothing raised. */
KOVRIX_API kovrix_bigfloat* kovrix_sqrt_newton_bigfloat(const kovrix_bigfloat* x);
/* The first 15 terms of the exponential series at x itself (no reduction). */
KOVRIX_API kovrix_bigfloat* kovrix_exp_taylor_bigfloat(const kovrix_bigfloat* x);
/* arctan x: 1/x above 1, (x - 1)/(x + 1) around pi/4 above sqrt2 - 1, then 30
 * terms of the Gregory series. */
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_arctan(const kovrix_bigfloat* x);
/* The angle of the point (x, y) in (-pi, pi]: arctan(y / x), moved by pi for
 * x < 0; +-pi/2 on the y axis, 0 at the origin.  Note the order (y, x). */
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_arctan2(const kovrix_bigfloat* y, const kovrix_bigfloat* x);
/* x^k by binary powering, every product at 256 bits (the base is squared
 * once more after the last bit, so a base whose next square overflows fails
 * the call); x^0 = 1 for every x; k < 0 gives 1 / x^-k, and for x = 0 NULL
 * with a division-by-zero error left pending. */
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_pow_int(const kovrix_bigfloat* x, int32_t k);
/* x^y = exp(y ln x) for x > 0; x <= 0 (integral y too): NULL, nothing raised. */
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_pow(const kovrix_bigfloat* x, const kovrix_bigfloat* y);

/* ==== Rational ============================================================= */
/* Exact fractions of two BigInts, always in lowest terms with a positive
 * denominator (zero is 0/1), so equal values have equal parts.  A
 * kovrix_rational* is an immutable handle; every handle returned is new, and
 * the caller destroys it with kovrix_rational_destroy.  The same handle may be
 * passed as several arguments.  Arithmetic and comparison are exact.
 *
 * Failures: NULL (handles) or 0 (comparisons, predicates, doubles 0.0) for a
 * NULL argument, a zero denominator or divisor, and outside the domains named
 * below; none of these raises an error.  While an error is pending on the
 * calling thread every Rational export returns its failure value without
 * computing; kovrix_rational_tan clears a pending division-by-zero error,
 * kovrix_rational_ln, kovrix_rational_sqrt and kovrix_rational_pow clear a
 * pending invalid-argument error, the others leave it pending. */

typedef struct kovrix_rational kovrix_rational;

/* num/den, reduced (6/-4 is -3/2; INT64_MIN/-1 is 2^63 exactly).  den = 0:
 * NULL, nothing raised. */
KOVRIX_API kovrix_rational* kovrix_rational_from_i64(int64_t num, int64_t den);
/* num/den of two BigInt handles, reduced.  Either NULL or den = 0: NULL. */
KOVRIX_API kovrix_rational* kovrix_rational_from_bigint(const kovrix_bigint* num, const kovrix_bigint* den);
/* The double of the value: the double quotient of the doubles of numerator
 * and denominator (each rounded to nearest) when both are finite; when a part
 * exceeds the double range, the value correctly rounded (to nearest, ties to
 * even; an infinity or zero when it lies beyond the double range).  NULL reads
 * as 0/1 and gives 0.0. */
KOVRIX_API double kovrix_rational_to_f64(const kovrix_rational* x);
/* New BigInt handles holding the numerator (with the sign) and the
 * denominator (positive).  NULL: NULL. */
KOVRIX_API kovrix_bigint* kovrix_rational_num(const kovrix_rational* x);
KOVRIX_API kovrix_bigint* kovrix_rational_den(const kovrix_rational* x);
/* a + b, a - b, a * b, a / b, exact and reduced.  Either NULL: NULL; a zero
 * divisor: NULL, nothing raised. */
KOVRIX_API kovrix_rational* kovrix_rational_add(const kovrix_rational* a, const kovrix_rational* b);
KOVRIX_API kovrix_rational* kovrix_rational_sub(const kovrix_rational* a, const kovrix_rational* b);
KOVRIX_API kovrix_rational* kovrix_rational_mul(const kovrix_rational* a, const kovrix_rational* b);
KOVRIX_API kovrix_rational* kovrix_rational_div(const kovrix_rational* a, const kovrix_rational* b);
/* -a and |a| (0/1 stays 0/1).  NULL: NULL. */
KOVRIX_API kovrix_rational* kovrix_rational_neg(const kovrix_rational* a);
KOVRIX_API kovrix_rational* kovrix_rational_abs(const kovrix_rational* a);
/* -1, 0 or 1 as a < b, a = b, a > b.  Either NULL: 0. */
KOVRIX_API int kovrix_rational_cmp(const kovrix_rational* a, const kovrix_rational* b);
/* 1 if the value is 0 (resp. 1), else 0; NULL: 0. */
KOVRIX_API int kovrix_rational_is_zero(const kovrix_rational* x);
KOVRIX_API int kovrix_rational_is_one(const kovrix_rational* x);
/* Releases the handle; NULL is ignored. */
KOVRIX_API void kovrix_rational_destroy(kovrix_rational* x);

/* Elementary functions, each the exact value of a truncated series or of a
 * fixed number of Newton steps (nothing is rounded, so numerator and
 * denominator grow with the argument; there is no argument reduction, and
 * pi is the fraction 355/113).  NULL arguments give NULL.
 *   sin, cos   5 terms of the Taylor series (sin(1) = 305353/362880)
 *   tan        sin / cos of 5 terms; NULL where that cosine is exactly 0
 *   exp        10 terms (exp(1) = 98641/36288)
 *   ln         10 terms of 2 atanh((x - 1)/(x + 1)); x <= 0: NULL
 *   sqrt       4 Newton steps from isqrt(num)/isqrt(den) (sqrt(2) =
 *              665857/470832, perfect squares exact); x < 0: NULL
 *   atan       5 terms, |x| > 1 folded as 355/226 - atan(1/|x|)
 *   atan2      atan(y/x) moved by 355/113 into the quadrant; x = 0 gives
 *              +-355/226, or 0 at the origin
 *   pow        exp(exponent * ln(base)), both with 10 terms; base <= 0: NULL */
KOVRIX_API kovrix_rational* kovrix_rational_sin(const kovrix_rational* x);
KOVRIX_API kovrix_rational* kovrix_rational_cos(const kovrix_rational* x);
KOVRIX_API kovrix_rational* kovrix_rational_tan(const kovrix_rational* x);
KOVRIX_API kovrix_rational* kovrix_rational_exp(const kovrix_rational* x);
KOVRIX_API kovrix_rational* kovrix_rational_ln(const kovrix_rational* x);
KOVRIX_API kovrix_rational* kovrix_rational_sqrt(const kovrix_rational* x);
KOVRIX_API kovrix_rational* kovrix_rational_atan(const kovrix_rational* x);
KOVRIX_API kovrix_rational* kovrix_rational_atan2(const kovrix_rational* y, const kovrix_rational* x);
KOVRIX_API kovrix_rational* kovrix_rational_pow(const kovrix_rational* base, const kovrix_rational* exponent);

/* ==== Interval ============================================================= */
/*
 * A closed interval [lo, hi] of reals with float64 bounds, passed and returned
 * by value.  Arithmetic is outward: each computed bound is the round-to-nearest
 * result moved one float64 step away from the interior (two steps for the
 * elementary functions), so the exact result for any members of the operands
 * lies inside.  Infinite bounds are allowed.  Nothing is validated: lo > hi or
 * a NaN bound makes an interval invalid (kovrix_interval_is_valid), and an
 * invalid interval is carried through as its bounds dictate; a NaN bound of an
 * operand gives NaN in the bounds computed from it (0 * inf and inf - inf
 * likewise), except where a min or max skips it.  The NaN returned for domain
 * errors is the quiet NaN 0x7FF8000000000000.
 *
 * Failures: every interval export returns its failure value -- (0.0, 0.0),
 * 0.0, or 0 (false) -- without computing when an error is already pending on
 * the calling thread, and leaves that error pending; only kovrix_interval_pow
 * clears one (a division-by-zero error).  Domain errors are answered with the
 * values documented below and leave nothing pending.
 */

typedef struct kovrix_interval {
  double lo;
  double hi;
} kovrix_interval;

/* The interval (lo, hi), unchanged and not validated. */
KOVRIX_API kovrix_interval kovrix_interval_from_f64(double lo, double hi);
/* The lower bound, unchanged. */
KOVRIX_API double kovrix_interval_lo(kovrix_interval x);
/* The upper bound, unchanged. */
KOVRIX_API double kovrix_interval_hi(kovrix_interval x);
/* [a.lo + b.lo, a.hi + b.hi], each bound one step outward. */
KOVRIX_API kovrix_interval kovrix_interval_add(kovrix_interval a, kovrix_interval b);
/* [a.lo - b.hi, a.hi - b.lo], each bound one step outward. */
KOVRIX_API kovrix_interval kovrix_interval_sub(kovrix_interval a, kovrix_interval b);
/* The least and greatest of the four bound products, one step outward; a NaN
 * product (0 * inf) is skipped: [0, 1] * [1, +inf] = [-2^-1074, +inf]. */
KOVRIX_API kovrix_interval kovrix_interval_mul(kovrix_interval a, kovrix_interval b);
/* (-inf, +inf) when b.lo <= 0 <= b.hi (no error); otherwise the least and
 * greatest of the four bound quotients, one step outward. */
KOVRIX_API kovrix_interval kovrix_interval_div(kovrix_interval a, kovrix_interval b);
/* (NaN, NaN) when x.hi < 0 (no error).  Otherwise the part below 0 is cut
 * off: lower bound exactly 0 when the cut interval starts at 0, else
 * sqrt(x.lo) one step down; upper bound sqrt(x.hi) one step up. */
KOVRIX_API kovrix_interval kovrix_interval_sqrt(kovrix_interval x);
/* [-x.hi, -x.lo], each bound one step outward (negation widens too). */
KOVRIX_API kovrix_interval kovrix_interval_neg(kovrix_interval x);
/* x to the integer power n with the C library pow and two steps outward per
 * bound: [1, 1] for n = 0 whatever x is; odd n uses the bounds of x, even n
 * those of |x| (itself one step outward); negative n raises [1, 1] / x to
 * -n.  (NaN, NaN) when n < 0 and x.lo <= 0 <= x.hi, with nothing pending.
 * Pending errors: a pending division-by-zero error is cleared and answered
 * (NaN, NaN); any other pending error gives (0.0, 0.0) and stays pending. */
KOVRIX_API kovrix_interval kovrix_interval_pow(kovrix_interval x, int32_t n);
/* 1 when x.lo <= x.hi (false for a NaN bound), else 0. */
KOVRIX_API int kovrix_interval_is_valid(kovrix_interval x);
/* x.hi - x.lo in plain round-to-nearest (+inf for an infinite bound). */
KOVRIX_API double kovrix_interval_width(kovrix_interval x);
/* x.lo + (x.hi - x.lo) * 0.5 in plain round-to-nearest (NaN for (-inf, +inf)). */
KOVRIX_API double kovrix_interval_midpoint(kovrix_interval x);
/* 1 when x.lo <= v <= x.hi, else 0 (0 for a NaN v). */
KOVRIX_API int kovrix_interval_contains(kovrix_interval x, double v);
/* 1 when a.lo <= b.lo and a.hi >= b.hi, else 0. */
KOVRIX_API int kovrix_interval_contains_interval(kovrix_interval a, kovrix_interval b);
/* 1 when a.lo <= b.hi and a.hi >= b.lo, else 0. */
KOVRIX_API int kovrix_interval_overlaps(kovrix_interval a, kovrix_interval b);
/* [min(a.lo, b.lo), max(a.hi, b.hi)], exact; min and max skip a NaN bound. */
KOVRIX_API kovrix_interval kovrix_interval_hull(kovrix_interval a, kovrix_interval b);
/* [max(a.lo, b.lo), min(a.hi, b.hi)], exact; min and max skip a NaN bound.
 * Disjoint intervals give lo > hi (invalid): the empty set has no value. */
KOVRIX_API kovrix_interval kovrix_interval_intersect(kovrix_interval a, kovrix_interval b);
/* [exp(x.lo) two steps down, exp(x.hi) two steps up]; the lower bound is
 * never negative (+0 where it would step below or be NaN). */
KOVRIX_API kovrix_interval kovrix_interval_exp(kovrix_interval x);
/* (NaN, NaN) when x.hi <= 0; (-inf, log(x.hi) two steps up) when x.lo <= 0 <
 * x.hi; else the logs of both bounds two steps outward.  No error is raised. */
KOVRIX_API kovrix_interval kovrix_interval_ln(kovrix_interval x);
/* The arctangents of both bounds, two steps outward. */
KOVRIX_API kovrix_interval kovrix_interval_arctan(kovrix_interval x);
/* The angles atan2(y, x) of the points of the box y x x.  A box holding the
 * origin, or lying left of the y-axis and meeting the negative x-axis, gives
 * the whole range, enclosed as [-3.1415926535897936, 3.1415926535897936];
 * otherwise the least and greatest corner angle, two steps outward (a zero y
 * bound is the real 0, on the negative x-axis at angle +pi). */
KOVRIX_API kovrix_interval kovrix_interval_arctan2(kovrix_interval y, kovrix_interval x);
/* [-1, 1] when the interval is at least 2 pi wide or holds a peak or trough
 * of the sine; otherwise the sines of both bounds, two steps outward.  Peaks
 * and troughs are located in float64; for arguments beyond 2^26 in magnitude
 * a "none inside" answer is confirmed by an exact reduction modulo pi/2. */
KOVRIX_API kovrix_interval kovrix_interval_sin(kovrix_interval x);
/* As kovrix_interval_sin for the cosine (critical points at multiples of pi,
 * 0 included). */
KOVRIX_API kovrix_interval kovrix_interval_cos(kovrix_interval x);

/* ==== Conversions ========================================================== */
/* Between representations.  Into Rational: exact.  Into BigInt and Fixed:
 * truncated toward zero.  Into BigFloat: num / den as one division rounded to
 * 256 bits (to nearest, ties away from zero) after a part longer than 256 bits
 * has been truncated to 256 bits.  Into Interval: the double of the value
 * widened by two float64 steps on each side (NULL gives (NaN, NaN), the quiet
 * NaN 0x7FF8000000000000).  While an error is pending each returns its
 * failure value (NULL, 0, or (0.0, 0.0)). */

/* x exactly (0.1 is 3602879701896397/36028797018963968; -0.0 is 0/1).  NaN or
 * an infinity: NULL, and a pending invalid-argument error is cleared. */
KOVRIX_API kovrix_rational* kovrix_rational_from_f64(double x);
/* raw / 2^fracBits, reduced.  fracBits outside 0 .. 63: NULL. */
KOVRIX_API kovrix_rational* kovrix_rational_from_fixed(int64_t raw, int32_t fracBits);
/* The 256-bit BigFloat of the fraction.  NULL: NULL. */
KOVRIX_API kovrix_bigfloat* kovrix_bigfloat_from_rational(const kovrix_rational* x);
/* The integer part, truncated toward zero (-2.5 gives -2, -7/2 gives -3).
 * NULL: NULL. */
KOVRIX_API kovrix_bigint* kovrix_bigint_from_bigfloat(const kovrix_bigfloat* x);
KOVRIX_API kovrix_bigint* kovrix_bigint_from_rational(const kovrix_rational* x);
/* value * 2^fracBits truncated toward zero (-1/3 with 32 bits is
 * -1431655765).  NULL, fracBits outside 0 .. 63, or a magnitude of 2^63 or
 * more: 0.  Clears every pending error and returns 0 when one is pending. */
KOVRIX_API int64_t kovrix_fixed_from_rational(const kovrix_rational* x, int32_t fracBits);
/* Two float64 steps each way around the double of the value (1/3 gives
 * (0.3333333333333332, 0.3333333333333334); 0 gives (-2^-1073, 2^-1073)). */
KOVRIX_API kovrix_interval kovrix_interval_from_bigfloat(const kovrix_bigfloat* x);
KOVRIX_API kovrix_interval kovrix_interval_from_rational(const kovrix_rational* x);
KOVRIX_API kovrix_interval kovrix_interval_from_bigint(const kovrix_bigint* x);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* KOVRIX_H */

// The elementary functions on BigFloat: the generic series and Newton kernels
// taken at BigFloat (every step a 256-bit rounded operation, mode nearest)
// and the range reductions around them, which read the cached constants.
//
// Each function takes its term (or iteration) count n and stops after exactly
// that many terms: the count sets the accuracy, there is no error-based
// stopping rule.
#pragma once

#include <cstdint>

#include "float/big_float.hpp"

namespace kovrix {

// Filled once by the library's initialisation after the reduction caches
// (fillFloatMathCaches reads piCache) and only read afterwards.
extern BigFloat halfPiCache;          // piCache / 2 (exact)
extern BigFloat quarterPiCache;       // piCache / 4 (exact)
extern BigFloat threeQuarterPiCache;  // halfPiCache + quarterPiCache
extern BigFloat ln2Cache;             // lnGeneric(2, 200)

// halfPiCache, quarterPiCache, threeQuarterPiCache, ln2Cache, in that order;
// then the caches count as filled.
void fillFloatMathCaches();

// pi = piBigFloat(256, 96).  Once the caches are filled this is a copy of
// piCache, which holds exactly that value; before, it is computed.
BigFloat getPiBigFloat();

// ---- the series kernels, no reduction --------------------------------------
// sum of x^i / i!, i < n.
BigFloat expTaylor(const BigFloat& x, std::int64_t n);
// ln x = 2 atanh((x - 1) / (x + 1)) by n terms; x <= 0 raises ValueError
// "lnGeneric: input <= 0 (real log undefined)".
BigFloat lnGeneric(const BigFloat& x, std::int64_t n);
// x - x^3/3! + ... and 1 - x^2/2! + ..., n terms each.
BigFloat sinTaylor(const BigFloat& x, std::int64_t n);
BigFloat cosTaylor(const BigFloat& x, std::int64_t n);

// ---- the functions ----------------------------------------------------------
// ln with x = m 2^k, m in [sqrt2/2, sqrt2]: lnGeneric(m) + k ln 2.  Zero and
// negative x raise ValueError.
BigFloat ln(const BigFloat& x, std::int64_t n);
// exp of x 2^-s (|x 2^-s| < 1/2) by the series, squared s times.
BigFloat exp(const BigFloat& x, std::int64_t n);
// Reduced modulo 2 pi when |x| > pi, then to an eighth of a turn.
BigFloat sin(const BigFloat& x, std::int64_t n);
BigFloat cos(const BigFloat& x, std::int64_t n);
// sin / cos; a cosine of exactly zero raises DivByZeroDefect
// "tan: cos(x) is zero (singularity)".
BigFloat tan(const BigFloat& x, std::int64_t n);
// Reduced by 1/x above 1 and by pi/4 above sqrt2 - 1, then the series.
BigFloat arctan(const BigFloat& x, std::int64_t n);
// The four-quadrant arctangent of y / x.
BigFloat arctan2(const BigFloat& y, const BigFloat& x, std::int64_t n);
// x^k by binary powering (the base is squared once more after the last bit);
// k < 0 gives 1 / x^-k.
BigFloat pow(const BigFloat& x, std::int64_t k);
// exp(y ln x) for x > 0; otherwise ValueError "pow: base <= 0 (non-integer exponent)".
BigFloat pow(const BigFloat& x, const BigFloat& y, std::int64_t n);
// sqrt by reciprocal-square-root Newton steps at 106, 212, then 256 bits.
// x < 0 raises ValueError "sqrt: input is negative (sqrt undefined)".
BigFloat sqrt(const BigFloat& x, std::int64_t n);
// Heron's iteration from x itself, at most n steps.
BigFloat sqrtNewtonGeneric(const BigFloat& x, std::int64_t n);

// ln of the double x made at 256 bits, rounded back to the nearest double;
// the quiet NaN for x outside (0, +infinity), NaN included.
double lnOrNaN(double x, std::int64_t n);

}  // namespace kovrix

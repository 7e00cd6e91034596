// Orthogonal polynomials on float64 by their three-term recurrences.
//
// Each evaluates p_n(x) by running the recurrence upward from p_0 and p_1;
// no closed form, no rescaling.  A negative degree gives p_1 (x, or 2x for
// the families whose p_1 is 2x).
#pragma once

#include <cstdint>

namespace kovrix {

// Chebyshev, first kind: T_0 = 1, T_1 = x, T_i = T_{i-1}(x + x) - T_{i-2}.
double chebyshevT(std::int64_t n, double x);
// Chebyshev, second kind: U_0 = 1, U_1 = x + x, U_i = U_{i-1}(x + x) - U_{i-2}.
double chebyshevU(std::int64_t n, double x);
// Legendre: P_0 = 1, P_1 = x, P_i = ((2i - 1) x P_{i-1} - (i - 1) P_{i-2}) / i.
double legendreP(std::int64_t n, double x);
// Hermite (physicists'): H_0 = 1, H_1 = x + x, H_i = H_{i-1}(x + x) - (2i - 2) H_{i-2}.
double hermiteH(std::int64_t n, double x);

}  // namespace kovrix

// Accuracy of a Q32.32 kernel that returns a pair (sin, cos or sinh, cosh)
// against MPFR at 128 bits, over random raw arguments.
#pragma once

#include <mpfr.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "fixed/fixed_point.hpp"
#include "support/fixed.hpp"

namespace kovrix::testsupport {

using MpfrPair = int (*)(mpfr_ptr, mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

// The largest absolute error of either half of kernel(x) over `samples` raw
// arguments x drawn uniformly from [lo, hi].
template <class Kernel>
double worstPairError(std::int64_t lo, std::int64_t hi, int samples, Kernel kernel, MpfrPair exact) {
  constexpr double one = 4294967296.0;
  mpfr_t a, s, c;
  mpfr_inits2(128, a, s, c, static_cast<mpfr_ptr>(nullptr));
  double worst = 0;
  for (int n = 0; n < samples; ++n) {
    const std::int64_t x = between(lo, hi);
    mpfr_set_si(a, static_cast<long>(x), MPFR_RNDN);
    mpfr_div_2ui(a, a, 32, MPFR_RNDN);
    exact(s, c, a, MPFR_RNDN);
    const auto [ks, kc] = kernel(Fixed{x});
    worst = std::max(worst, std::fabs(static_cast<double>(ks.raw) / one - mpfr_get_d(s, MPFR_RNDN)));
    worst = std::max(worst, std::fabs(static_cast<double>(kc.raw) / one - mpfr_get_d(c, MPFR_RNDN)));
  }
  mpfr_clears(a, s, c, static_cast<mpfr_ptr>(nullptr));
  return worst;
}

}  // namespace kovrix::testsupport

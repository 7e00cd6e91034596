// The C library's float64 functions as plain function pointers (the <cmath>
// names are overloaded), the references timed beside each export.
#pragma once

#include <math.h>

#include <cmath>

namespace kovrix::accuracy::libm {

#define KOVRIX_ACCURACY_LIBM(name, call) \
  inline double name(double x) { return call(x); }
KOVRIX_ACCURACY_LIBM(sin, std::sin)
KOVRIX_ACCURACY_LIBM(cos, std::cos)
KOVRIX_ACCURACY_LIBM(tan, std::tan)
KOVRIX_ACCURACY_LIBM(exp, std::exp)
KOVRIX_ACCURACY_LIBM(log, std::log)
KOVRIX_ACCURACY_LIBM(log1p, std::log1p)
KOVRIX_ACCURACY_LIBM(sqrt, std::sqrt)
KOVRIX_ACCURACY_LIBM(atan, std::atan)
KOVRIX_ACCURACY_LIBM(sinh, std::sinh)
KOVRIX_ACCURACY_LIBM(cosh, std::cosh)
KOVRIX_ACCURACY_LIBM(tanh, std::tanh)
KOVRIX_ACCURACY_LIBM(asin, std::asin)
KOVRIX_ACCURACY_LIBM(acos, std::acos)
KOVRIX_ACCURACY_LIBM(asinh, std::asinh)
KOVRIX_ACCURACY_LIBM(acosh, std::acosh)
KOVRIX_ACCURACY_LIBM(atanh, std::atanh)
KOVRIX_ACCURACY_LIBM(erf, std::erf)
KOVRIX_ACCURACY_LIBM(tgamma, std::tgamma)
KOVRIX_ACCURACY_LIBM(j0, ::j0)
#undef KOVRIX_ACCURACY_LIBM
inline double atan2(double y, double x) { return std::atan2(y, x); }
inline double pow(double a, double b) { return std::pow(a, b); }

}  // namespace kovrix::accuracy::libm

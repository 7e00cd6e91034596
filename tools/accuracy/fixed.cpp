// The Q32.32 exports: error in units of 2^-32 against the exact function of
// the exact argument raw / 2^32.
#include <cmath>

#include "accuracy.hpp"
#include "libm.hpp"
#include "kovrix.h"

namespace kovrix::accuracy {
namespace {

constexpr double kOne = 4294967296.0;

struct Pair {
  std::int64_t a, b;
};

std::int64_t rawIn(double lo, double hi) { return std::llround(uniform(lo, hi) * kOne); }
double valueOf(std::int64_t raw) { return std::ldexp(static_cast<double>(raw), -32); }

// |raw - f * 2^32| for the exact f already in `exact`.
double unitsOff(std::int64_t raw, mpfr_t exact) {
  mpfr_mul_2ui(exact, exact, 32, MPFR_RNDN);
  Exact got;
  mpfr_set_sj(got.v, raw, MPFR_RNDN);
  mpfr_sub(exact, exact, got.v, MPFR_RNDN);
  return std::fabs(mpfr_get_d(exact, MPFR_RNDN));
}

struct Unary {
  const char* name;
  const char* method;
  double lo, hi;
  std::int64_t (*kovrix)(std::int64_t);
  MpfrUnary exact;
  double (*libm)(double);
  const char* libmName;
};

struct Binary {
  const char* name;
  const char* method;
  double loA, hiA, loB, hiB;
  std::int64_t (*kovrix)(std::int64_t, std::int64_t);
  MpfrBinary exact;
  double (*libm)(double, double);
  const char* libmName;
};

const Unary kUnary[] = {
    {"kovrix_fixed_sin", "circular CORDIC, 32 steps", -M_PI, M_PI, kovrix_fixed_sin, mpfr_sin, libm::sin, "sin"},
    {"kovrix_fixed_cos", "circular CORDIC, 32 steps", -M_PI, M_PI, kovrix_fixed_cos, mpfr_cos, libm::cos, "cos"},
    {"kovrix_fixed_tan", "degree-7 polynomial, reduced", -1.2, 1.2, kovrix_fixed_tan, mpfr_tan, libm::tan, "tan"},
    {"kovrix_fixed_exp", "hyperbolic CORDIC, halving", -5, 5, kovrix_fixed_exp, mpfr_exp, libm::exp, "exp"},
    {"kovrix_fixed_ln", "atanh series, 15 terms", 0.25, 4, kovrix_fixed_ln, mpfr_log, libm::log, "log"},
    {"kovrix_fixed_sqrt", "15 Heron steps", 0.01, 100, kovrix_fixed_sqrt, mpfr_sqrt, libm::sqrt, "sqrt"},
    {"kovrix_fixed_atan", "CORDIC vectoring", -10, 10, kovrix_fixed_atan, mpfr_atan, libm::atan, "atan"},
    {"kovrix_fixed_sinh", "hyperbolic CORDIC", -1.1, 1.1, kovrix_fixed_sinh, mpfr_sinh, libm::sinh, "sinh"},
    {"kovrix_fixed_cosh", "hyperbolic CORDIC", -1.1, 1.1, kovrix_fixed_cosh, mpfr_cosh, libm::cosh, "cosh"},
    {"kovrix_fixed_tanh", "hyperbolic CORDIC", -1.1, 1.1, kovrix_fixed_tanh, mpfr_tanh, libm::tanh, "tanh"},
    {"kovrix_fixed_asin", "atan2 of x and a Heron root", -1, 1, kovrix_fixed_asin, mpfr_asin, libm::asin, "asin"},
    {"kovrix_fixed_acos", "atan2 of a Heron root and x", -1, 1, kovrix_fixed_acos, mpfr_acos, libm::acos, "acos"},
    {"kovrix_fixed_asinh", "ln of x + Heron root", -4, 4, kovrix_fixed_asinh, mpfr_asinh, libm::asinh, "asinh"},
    {"kovrix_fixed_acosh", "ln of x + Heron root", 1, 4, kovrix_fixed_acosh, mpfr_acosh, libm::acosh, "acosh"},
    {"kovrix_fixed_atanh", "half ln of a quotient", -0.9, 0.9, kovrix_fixed_atanh, mpfr_atanh, libm::atanh, "atanh"},
    {"kovrix_fixed_erf", "15 Maclaurin terms", -2, 2, kovrix_fixed_erf, mpfr_erf, libm::erf, "erf"},
    {"kovrix_fixed_bessel_j0", "15 series terms", -5, 5, kovrix_fixed_bessel_j0, mpfr_j0, libm::j0, "j0"},
    {"kovrix_cordic_sin", "circular CORDIC, 32 steps", -M_PI, M_PI, kovrix_cordic_sin, mpfr_sin, libm::sin, "sin"},
    {"kovrix_cordic_cos", "circular CORDIC, 32 steps", -M_PI, M_PI, kovrix_cordic_cos, mpfr_cos, libm::cos, "cos"},
    {"kovrix_lut_sin", "256-entry table, nearest", -M_PI, M_PI, kovrix_lut_sin, mpfr_sin, libm::sin, "sin"},
    {"kovrix_lut_cos", "256-entry table, nearest", -M_PI, M_PI, kovrix_lut_cos, mpfr_cos, libm::cos, "cos"},
    {"kovrix_chebyshev_tan", "degree-7 odd polynomial", -M_PI / 4, M_PI / 4, kovrix_chebyshev_tan, mpfr_tan, libm::tan,
     "tan"},
    {"kovrix_cordic_sinh", "hyperbolic CORDIC, 34 steps", -1.1, 1.1, kovrix_cordic_sinh, mpfr_sinh, libm::sinh,
     "sinh"},
    {"kovrix_cordic_cosh", "hyperbolic CORDIC, 34 steps", -1.1, 1.1, kovrix_cordic_cosh, mpfr_cosh, libm::cosh,
     "cosh"},
    {"kovrix_cordic_tanh", "hyperbolic CORDIC, 34 steps", -1.1, 1.1, kovrix_cordic_tanh, mpfr_tanh, libm::tanh,
     "tanh"},
    {"kovrix_cordic_exp", "hyperbolic CORDIC, 34 steps", -1.1, 1.1, kovrix_cordic_exp, mpfr_exp, libm::exp, "exp"},
};

const Binary kBinary[] = {
    {"kovrix_fixed_atan2", "CORDIC vectoring", -10, 10, -10, 10, kovrix_fixed_atan2, mpfr_atan2, libm::atan2,
     "atan2"},
    {"kovrix_cordic_atan2", "CORDIC vectoring, clamped", -10, 10, -10, 10, kovrix_cordic_atan2, mpfr_atan2, libm::atan2,
     "atan2"},
    {"kovrix_fixed_pow", "exp(b ln a)", 0.5, 4, -2, 2, kovrix_fixed_pow, mpfr_pow, libm::pow, "pow"},
};

std::vector<Row> rows(int samples) {
  std::vector<Row> out;
  for (const Unary& u : kUnary) {
    out.push_back(measure<std::int64_t>(
        Row{u.name, u.method, range(u.lo, u.hi), u.libmName}, samples, [&] { return rawIn(u.lo, u.hi); },
        [&](const std::int64_t& x) {
          Exact e;
          mpfr_set_sj_2exp(e.v, x, -32, MPFR_RNDN);
          u.exact(e.v, e.v, MPFR_RNDN);
          return unitsOff(u.kovrix(x), e.v);
        },
        [&](const std::int64_t& x) { return static_cast<double>(u.kovrix(x)); },
        [&](const std::int64_t& x) { return u.libm(valueOf(x)); }));
  }
  for (const Binary& b : kBinary) {
    out.push_back(measure<Pair>(
        Row{b.name, b.method, range(b.loA, b.hiA) + " × " + range(b.loB, b.hiB), b.libmName}, samples,
        [&] { return Pair{rawIn(b.loA, b.hiA), rawIn(b.loB, b.hiB)}; },
        [&](const Pair& p) {
          Exact e, x, y;
          mpfr_set_sj_2exp(x.v, p.a, -32, MPFR_RNDN);
          mpfr_set_sj_2exp(y.v, p.b, -32, MPFR_RNDN);
          b.exact(e.v, x.v, y.v, MPFR_RNDN);
          return unitsOff(b.kovrix(p.a, p.b), e.v);
        },
        [&](const Pair& p) { return static_cast<double>(b.kovrix(p.a, p.b)); },
        [&](const Pair& p) { return b.libm(valueOf(p.a), valueOf(p.b)); }));
  }
  out.push_back(measure<int>(
      Row{"kovrix_fixed_factorial", "exact product, saturated", "n in 0..12", "tgamma(n+1)"}, samples,
      [] { return uniformInt(0, 12); },
      [](const int& n) {
        Exact e;
        mpfr_fac_ui(e.v, static_cast<unsigned long>(n), MPFR_RNDN);
        return unitsOff(kovrix_fixed_factorial(n), e.v);
      },
      [](const int& n) { return static_cast<double>(kovrix_fixed_factorial(n)); },
      [](const int& n) { return std::tgamma(n + 1.0); }));
  return out;
}

}  // namespace

Family fixedFamily() {
  return {"Q32.32 fixed point",
          "Error in units of 2^-32 (one raw step) against the exact function of the exact argument raw / 2^32. "
          "Reference: the C library's double function on the same value.",
          rows};
}

}  // namespace kovrix::accuracy

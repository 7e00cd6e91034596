// The float64 kernels: error in ulps of the exact function value.
#include <cmath>

#include "accuracy.hpp"
#include "libm.hpp"
#include "kovrix.h"

namespace kovrix::accuracy {
namespace {

struct Unary {
  const char* name;
  const char* method;
  double lo, hi;
  double (*kovrix)(double);
  MpfrUnary exact;
  double (*libm)(double);
  const char* libmName;
};

// The three-term recurrences evaluated in MPFR at kExactBits: the exact
// polynomial value up to far below one float64 ulp.
enum class Poly { ChebyshevT, ChebyshevU, Legendre, Hermite };

void exactPoly(Poly kind, int n, double x, mpfr_t out) {
  Exact p0, p1, t;
  mpfr_set_ui(p0.v, 1, MPFR_RNDN);
  mpfr_set_d(p1.v, x, MPFR_RNDN);
  if (kind == Poly::ChebyshevU || kind == Poly::Hermite) mpfr_mul_ui(p1.v, p1.v, 2, MPFR_RNDN);
  if (n == 0) {
    mpfr_set(out, p0.v, MPFR_RNDN);
    return;
  }
  for (int k = 1; k < n; ++k) {
    // T, U: 2x p1 - p0; P: ((2k+1) x p1 - k p0) / (k+1); H: 2x p1 - 2k p0.
    mpfr_mul_d(t.v, p1.v, x, MPFR_RNDN);
    if (kind == Poly::Legendre) {
      mpfr_mul_ui(t.v, t.v, 2 * k + 1, MPFR_RNDN);
      mpfr_mul_ui(p0.v, p0.v, k, MPFR_RNDN);
      mpfr_sub(t.v, t.v, p0.v, MPFR_RNDN);
      mpfr_div_ui(t.v, t.v, k + 1, MPFR_RNDN);
    } else {
      mpfr_mul_ui(t.v, t.v, 2, MPFR_RNDN);
      if (kind == Poly::Hermite) mpfr_mul_ui(p0.v, p0.v, 2 * k, MPFR_RNDN);
      mpfr_sub(t.v, t.v, p0.v, MPFR_RNDN);
    }
    mpfr_swap(p0.v, p1.v);
    mpfr_swap(p1.v, t.v);
  }
  mpfr_set(out, p1.v, MPFR_RNDN);
}

struct Degree {
  int n;
  double x;
};

Row polynomialRow(int samples, const char* name, Poly kind, double (*kovrix)(int32_t, double), double range,
                  double (*libm)(int, double), const char* libmName) {
  Row row{name, "three-term recurrence", "n in 0..20, x in [" + number(-range) + ", " + number(range) + "]",
          libmName};
  return measure<Degree>(
      row, samples, [&] { return Degree{uniformInt(0, 20), uniform(-range, range)}; },
      [&](const Degree& a) {
        Exact e;
        exactPoly(kind, a.n, a.x, e.v);
        return ulpsOff(kovrix(a.n, a.x), e.v);
      },
      [&](const Degree& a) { return kovrix(a.n, a.x); }, [&](const Degree& a) { return libm(a.n, a.x); });
}

double chebyshevTLibm(int n, double x) { return std::cos(n * std::acos(x)); }
double chebyshevULibm(int n, double x) {
  const double t = std::acos(x);
  return std::sin((n + 1) * t) / std::sin(t);
}
double legendreLibm(int n, double x) { return std::legendre(static_cast<unsigned>(n), x); }
double hermiteLibm(int n, double x) { return std::hermite(static_cast<unsigned>(n), x); }

const Unary kUnary[] = {
    {"kovrix_sqrt_newton_f64", "20 Heron steps from x", 1e-3, 1e3, kovrix_sqrt_newton_f64, mpfr_sqrt, libm::sqrt,
     "sqrt"},
    {"kovrix_exp_taylor_f64", "15 Taylor terms", -1, 1, kovrix_exp_taylor_f64, mpfr_exp, libm::exp, "exp"},
    {"kovrix_ln_taylor_f64", "ln(1+x), 14 terms", -0.5, 0.5, kovrix_ln_taylor_f64, mpfr_log1p, libm::log1p, "log1p"},
    {"kovrix_taylor_sin_f64", "5 Taylor terms", -M_PI / 2, M_PI / 2, kovrix_taylor_sin_f64, mpfr_sin, libm::sin,
     "sin"},
    {"kovrix_taylor_cos_f64", "5 Taylor terms", -M_PI / 2, M_PI / 2, kovrix_taylor_cos_f64, mpfr_cos, libm::cos,
     "cos"},
    {"kovrix_taylor_atan_f64", "10 Taylor terms", -1, 1, kovrix_taylor_atan_f64, mpfr_atan, libm::atan, "atan"},
    {"kovrix_erf", "15 Maclaurin terms", -2, 2, kovrix_erf, mpfr_erf, libm::erf, "erf"},
    {"kovrix_gamma", "Lanczos, g = 7, 9 terms", 0.5, 20, kovrix_gamma, mpfr_gamma, libm::tgamma, "tgamma"},
    {"kovrix_bessel_j0", "15 series terms", -5, 5, kovrix_bessel_j0, mpfr_j0, libm::j0, "j0"},
    {"kovrix_ln_generic_f64", "256-bit atanh series, rounded", 1e-6, 1e6, kovrix_ln_generic_f64, mpfr_log,
     libm::log, "log"},
};

std::vector<Row> rows(int samples) {
  std::vector<Row> out;
  for (const Unary& u : kUnary) {
    Row row{u.name, u.method, "[" + number(u.lo) + ", " + number(u.hi) + "]", u.libmName};
    out.push_back(measure<double>(
        row, samples, [&] { return uniform(u.lo, u.hi); },
        [&](const double& x) {
          Exact e;
          mpfr_set_d(e.v, x, MPFR_RNDN);
          u.exact(e.v, e.v, MPFR_RNDN);
          return ulpsOff(u.kovrix(x), e.v);
        },
        [&](const double& x) { return u.kovrix(x); }, [&](const double& x) { return u.libm(x); }));
  }
  out.push_back(polynomialRow(samples, "kovrix_chebyshev_t", Poly::ChebyshevT, kovrix_chebyshev_t, 1,
                              chebyshevTLibm, "cos(n acos x)"));
  out.push_back(polynomialRow(samples, "kovrix_chebyshev_u", Poly::ChebyshevU, kovrix_chebyshev_u, 1,
                              chebyshevULibm, "sin((n+1)t)/sin t"));
  out.push_back(polynomialRow(samples, "kovrix_legendre", Poly::Legendre, kovrix_legendre, 1, legendreLibm,
                              "std::legendre"));
  out.push_back(polynomialRow(samples, "kovrix_hermite", Poly::Hermite, kovrix_hermite, 3, hermiteLibm,
                              "std::hermite"));
  Row fact{"kovrix_factorial", "ascending product", "n in 0..170", "tgamma(n+1)"};
  out.push_back(measure<int>(
      fact, samples, [] { return uniformInt(0, 170); },
      [](const int& n) {
        Exact e;
        mpfr_fac_ui(e.v, static_cast<unsigned long>(n), MPFR_RNDN);
        return ulpsOff(kovrix_factorial(n), e.v);
      },
      [](const int& n) { return kovrix_factorial(n); }, [](const int& n) { return std::tgamma(n + 1.0); }));
  return out;
}

}  // namespace

Family float64Family() {
  return {"float64 kernels",
          "Error in ulps of the exact value (|result − f(x)| / ulp(f(x)); the median shows the typical "
          "argument). Each kernel runs a fixed count of terms with no range reduction: the ranges are where "
          "each method is meant to be used. Reference: the C library's function, or the formula named.",
          rows};
}

}  // namespace kovrix::accuracy

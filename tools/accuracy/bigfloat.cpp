// The BigFloat exports: correct bits of each 256-bit result against the
// exact function value of its exact argument.
#include <cmath>
#include <memory>

#include "accuracy.hpp"
#include "kovrix.h"

namespace kovrix::accuracy {
namespace {

constexpr mpfr_prec_t kBits = 256;

/// Owns one handle.
struct Handle {
  kovrix_bigfloat* h;
  explicit Handle(kovrix_bigfloat* handle) : h(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(Handle&& o) noexcept {
    std::swap(h, o.h);
    return *this;
  }
  ~Handle() { kovrix_bigfloat_destroy(h); }
};

// The exact value of x: the sum of the doubles c1, c2, ..., each the nearest
// double to what the earlier ones leave (every subtraction is exact, and each
// removes 53 bits or more of the 256).  False if x leaves the double range.
bool exactValue(const kovrix_bigfloat* x, mpfr_t out) {
  mpfr_set_ui(out, 0, MPFR_RNDN);
  Handle rest(kovrix_bigfloat_abs(x));
  const bool negative = rest.h != nullptr && kovrix_bigfloat_cmp(x, rest.h) != 0;
  for (int step = 0; step < 8 && rest.h != nullptr; ++step) {
    if (kovrix_bigfloat_is_zero(rest.h)) {
      if (negative) mpfr_neg(out, out, MPFR_RNDN);
      return true;
    }
    const double c = kovrix_bigfloat_to_f64(rest.h);
    if (!std::isfinite(c) || c == 0.0) return false;
    mpfr_add_d(out, out, c, MPFR_RNDN);
    Handle part(kovrix_bigfloat_from_f64(c));
    rest = Handle(kovrix_bigfloat_sub(rest.h, part.h));
  }
  return false;
}

/// A random argument with a full 256-bit mantissa near u, (7u rounded) / 7,
/// and its value in MPFR at 256 bits (exact).
struct Argument {
  explicit Argument(double u) : handle(nullptr), value(kBits) {
    Handle seven(kovrix_bigfloat_from_i64(7)), scaled(kovrix_bigfloat_from_f64(7 * u));
    handle = Handle(kovrix_bigfloat_div(scaled.h, seven.h));
    Exact exact;
    exactValue(handle.h, exact.v);
    mpfr_set(value.v, exact.v, MPFR_RNDN);
  }
  Handle handle;
  Exact value;
};
using Arg = std::shared_ptr<Argument>;
Arg draw(double lo, double hi) { return std::make_shared<Argument>(uniform(lo, hi)); }

// Relative error of the result r against the exact f; NaN for a NULL result
// or one outside the double range.
double relativeError(kovrix_bigfloat* result, const mpfr_t f) {
  Handle r(result);
  Exact got;
  if (r.h == nullptr || !exactValue(r.h, got.v)) return std::nan("");
  if (mpfr_zero_p(f)) return mpfr_zero_p(got.v) ? 0.0 : std::nan("");
  mpfr_sub(got.v, got.v, f, MPFR_RNDN);
  mpfr_div(got.v, got.v, f, MPFR_RNDN);
  return std::fabs(mpfr_get_d(got.v, MPFR_RNDN));
}

double timed(kovrix_bigfloat* result) {
  Handle r(result);
  return r.h != nullptr ? 1.0 : 0.0;
}

int exactReduce(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t m) {
  Exact twoPi(mpfr_get_prec(r) + 64);
  mpfr_const_pi(twoPi.v, MPFR_RNDN);
  mpfr_mul_2ui(twoPi.v, twoPi.v, 1, MPFR_RNDN);
  return mpfr_remainder(r, x, twoPi.v, m);
}

const BigUnary<kovrix_bigfloat> kUnary[] = {
    {"kovrix_bigfloat_sin", "reduction, 20 Taylor terms", -10, 10, kovrix_bigfloat_sin, mpfr_sin},
    {"kovrix_bigfloat_cos", "reduction, 20 Taylor terms", -10, 10, kovrix_bigfloat_cos, mpfr_cos},
    {"kovrix_bigfloat_tan", "sin / cos", -1.5, 1.5, kovrix_bigfloat_tan, mpfr_tan},
    {"kovrix_bigfloat_exp", "halving, 30 Taylor terms, squaring", -50, 50, kovrix_bigfloat_exp, mpfr_exp},
    {"kovrix_bigfloat_ln", "ln m + k ln 2, 30 atanh terms", 1e-6, 1e6, kovrix_bigfloat_ln, mpfr_log},
    {"kovrix_ln_generic_bigfloat", "ln m + k ln 2, 30 atanh terms", 1e-6, 1e6, kovrix_ln_generic_bigfloat,
     mpfr_log},
    {"kovrix_bigfloat_sqrt", "reciprocal-root Newton", 1e-6, 1e6, kovrix_bigfloat_sqrt, mpfr_sqrt},
    {"kovrix_sqrt_newton_bigfloat", "20 Heron steps from x", 0.01, 100, kovrix_sqrt_newton_bigfloat, mpfr_sqrt},
    {"kovrix_exp_taylor_bigfloat", "15 Taylor terms, no reduction", -1, 1, kovrix_exp_taylor_bigfloat, mpfr_exp},
    {"kovrix_bigfloat_arctan", "reduction, 30 Gregory terms", -100, 100, kovrix_bigfloat_arctan, mpfr_atan},
    {"kovrix_bigfloat_reduce", "x − k·2π", -1e3, 1e3, kovrix_bigfloat_reduce, exactReduce},
};

const BigBinary<kovrix_bigfloat> kBinary[] = {
    {"kovrix_bigfloat_add", "correctly rounded", -1e6, 1e6, -1e6, 1e6, kovrix_bigfloat_add, mpfr_add},
    {"kovrix_bigfloat_sub", "correctly rounded", -1e6, 1e6, -1e6, 1e6, kovrix_bigfloat_sub, mpfr_sub},
    {"kovrix_bigfloat_mul", "correctly rounded", -1e6, 1e6, -1e6, 1e6, kovrix_bigfloat_mul, mpfr_mul},
    {"kovrix_bigfloat_div", "correctly rounded", -1e6, 1e6, 1, 1e6, kovrix_bigfloat_div, mpfr_div},
    {"kovrix_bigfloat_arctan2", "arctan of y / x, quadrant", -100, 100, -100, 100, kovrix_bigfloat_arctan2,
     mpfr_atan2},
    {"kovrix_bigfloat_pow", "exp(y ln x)", 0.01, 100, -10, 10, kovrix_bigfloat_pow, mpfr_pow},
};

BigArguments<kovrix_bigfloat, Arg> arguments() {
  return {draw,
          [](const Arg& x) -> const kovrix_bigfloat* { return x->handle.h; },
          [](const Arg& x, mpfr_t out) { mpfr_set(out, x->value.v, MPFR_RNDN); },  // exact: 256 bits
          [](const Arg& x) -> mpfr_srcptr { return x->value.v; },
          relativeError,
          timed,
          ""};
}

Row bitsRow(const char* name, const char* method, const std::string& range) {
  Row row{name, method, range, "MPFR 256 bits"};
  row.formatError = correctBits;
  return row;
}

// The constants: one value, its error; times over `samples` calls.
Row constantRow(int samples, const char* name, const char* method, kovrix_bigfloat* (*kovrix)(),
                int (*exact)(mpfr_ptr, mpfr_rnd_t), const char* mpfrName) {
  return measure<int>(
      Row{name, method, "—", mpfrName, correctBits}, samples, [] { return 0; },
      [&](const int&) {
        Exact f;
        exact(f.v, MPFR_RNDN);
        return relativeError(kovrix(), f.v);
      },
      [&](const int&) { return timed(kovrix()); },
      [&](const int&) {
        Exact f(kBits);
        mpfr_free_cache();  // MPFR keeps its constants; make it compute them as kovrix does
        return static_cast<double>(exact(f.v, MPFR_RNDN));
      });
}

int exactE(mpfr_ptr r, mpfr_rnd_t m) {
  mpfr_set_ui(r, 1, m);
  return mpfr_exp(r, r, m);
}

std::vector<Row> rows(int samples) {
  samples /= kBigDivisor;
  std::vector<Row> out = bigRows(samples, kUnary, kBinary, arguments());
  using Power = std::pair<Arg, int>;
  out.push_back(measure<Power>(
      bitsRow("kovrix_bigfloat_pow_int", "binary powering", "x in [0.5, 2], k in −100..100"), samples,
      [] { return Power{draw(0.5, 2), uniformInt(-100, 100)}; },
      [](const Power& p) {
        Exact f;
        mpfr_pow_si(f.v, p.first->value.v, p.second, MPFR_RNDN);
        return relativeError(kovrix_bigfloat_pow_int(p.first->handle.h, p.second), f.v);
      },
      [](const Power& p) { return timed(kovrix_bigfloat_pow_int(p.first->handle.h, p.second)); },
      [](const Power& p) {
        Exact f(kBits);
        return static_cast<double>(mpfr_pow_si(f.v, p.first->value.v, p.second, MPFR_RNDN));
      }));
  out.push_back(constantRow(samples, "kovrix_pi_bigfloat", "Machin, 96 terms per arctangent", kovrix_pi_bigfloat,
                            mpfr_const_pi, "mpfr_const_pi"));
  out.push_back(constantRow(samples, "kovrix_e_bigfloat", "sum of 1/i!, i ≤ 64", kovrix_e_bigfloat, exactE,
                            "mpfr_exp(1)"));
  return out;
}

}  // namespace

Family bigFloatFamily() {
  return {"BigFloat (256 bits)",
          "Correct bits of each result: −log2 of its relative error against the exact function value of the "
          "exact argument (arguments carry full 256-bit mantissas; a correctly rounded result has 256 or "
          "more). Reference: the same function in MPFR at 256 bits on the same argument.",
          rows};
}

}  // namespace kovrix::accuracy

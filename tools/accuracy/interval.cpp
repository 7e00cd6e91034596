// The interval exports on point arguments: the width of the enclosure in ulps
// of the exact value, each enclosure checked to hold it.
#include <cmath>

#include "accuracy.hpp"
#include "libm.hpp"
#include "kovrix.h"

namespace kovrix::accuracy {
namespace {

struct Pair {
  double a, b;
};

kovrix_interval point(double x) { return kovrix_interval_from_f64(x, x); }

// Width in ulps of the exact value; NaN (counted apart) when the enclosure
// misses it.
double widthUlps(kovrix_interval r, const mpfr_t exact, int& misses) {
  if (!(mpfr_cmp_d(exact, r.lo) >= 0 && mpfr_cmp_d(exact, r.hi) <= 0)) {
    ++misses;
    return std::nan("");
  }
  Exact w;
  mpfr_set_d(w.v, r.hi, MPFR_RNDN);
  mpfr_sub_d(w.v, w.v, r.lo, MPFR_RNDN);
  return inUlpsOf(w.v, exact);
}

struct Unary {
  const char* name;
  double lo, hi;
  kovrix_interval (*kovrix)(kovrix_interval);
  MpfrUnary exact;
  double (*libm)(double);
  const char* libmName;
};

struct Binary {
  const char* name;
  double lo, hi;
  kovrix_interval (*kovrix)(kovrix_interval, kovrix_interval);
  MpfrBinary exact;
  double (*libm)(double, double);
  const char* libmName;
};

double plus(double a, double b) { return a + b; }
double minus(double a, double b) { return a - b; }
double times(double a, double b) { return a * b; }
double over(double a, double b) { return a / b; }

const Unary kUnary[] = {
    {"kovrix_interval_sqrt", 0, 1e6, kovrix_interval_sqrt, mpfr_sqrt, libm::sqrt, "sqrt"},
    {"kovrix_interval_exp", -50, 50, kovrix_interval_exp, mpfr_exp, libm::exp, "exp"},
    {"kovrix_interval_ln", 1e-3, 1e6, kovrix_interval_ln, mpfr_log, libm::log, "log"},
    {"kovrix_interval_arctan", -100, 100, kovrix_interval_arctan, mpfr_atan, libm::atan, "atan"},
    {"kovrix_interval_sin", -100, 100, kovrix_interval_sin, mpfr_sin, libm::sin, "sin"},
    {"kovrix_interval_cos", -100, 100, kovrix_interval_cos, mpfr_cos, libm::cos, "cos"},
};

const Binary kBinary[] = {
    {"kovrix_interval_add", -1e6, 1e6, kovrix_interval_add, mpfr_add, plus, "+"},
    {"kovrix_interval_sub", -1e6, 1e6, kovrix_interval_sub, mpfr_sub, minus, "−"},
    {"kovrix_interval_mul", -1e6, 1e6, kovrix_interval_mul, mpfr_mul, times, "×"},
    {"kovrix_interval_div", -1e6, 1e6, kovrix_interval_div, mpfr_div, over, "÷"},
    {"kovrix_interval_arctan2", -100, 100, kovrix_interval_arctan2, mpfr_atan2, libm::atan2, "atan2"},
};

std::string missNote(int misses) {
  return misses == 0 ? "every enclosure holds the exact value"
                     : std::to_string(misses) + " enclosures MISS the exact value";
}

std::vector<Row> rows(int samples) {
  std::vector<Row> out;
  for (const Unary& u : kUnary) {
    int misses = 0;
    Row row = measure<double>(
        Row{u.name, "bounds two steps outward", range(u.lo, u.hi), u.libmName}, samples,
        [&] { return uniform(u.lo, u.hi); },
        [&](const double& x) {
          Exact e;
          mpfr_set_d(e.v, x, MPFR_RNDN);
          u.exact(e.v, e.v, MPFR_RNDN);
          return widthUlps(u.kovrix(point(x)), e.v, misses);
        },
        [&](const double& x) { return u.kovrix(point(x)).hi; }, [&](const double& x) { return u.libm(x); });
    row.notes = missNote(misses);
    row.stats.nans -= misses;
    out.push_back(row);
  }
  for (const Binary& b : kBinary) {
    int misses = 0;
    Row row = measure<Pair>(
        Row{b.name, "bounds outward", range(b.lo, b.hi) + " both", b.libmName}, samples,
        [&] { return Pair{uniform(b.lo, b.hi), uniform(b.lo, b.hi)}; },
        [&](const Pair& p) {
          Exact e, x, y;
          mpfr_set_d(x.v, p.a, MPFR_RNDN);
          mpfr_set_d(y.v, p.b, MPFR_RNDN);
          b.exact(e.v, x.v, y.v, MPFR_RNDN);
          return widthUlps(b.kovrix(point(p.a), point(p.b)), e.v, misses);
        },
        [&](const Pair& p) { return b.kovrix(point(p.a), point(p.b)).hi; },
        [&](const Pair& p) { return b.libm(p.a, p.b); });
    row.notes = missNote(misses);
    row.stats.nans -= misses;
    out.push_back(row);
  }
  int misses = 0;
  Row pow = measure<Pair>(
      Row{"kovrix_interval_pow", "C pow, two steps outward", "x in [0.5, 2], n in −20..20", "pow"}, samples,
      [] { return Pair{uniform(0.5, 2), static_cast<double>(uniformInt(-20, 20))}; },
      [&](const Pair& p) {
        Exact e;
        mpfr_set_d(e.v, p.a, MPFR_RNDN);
        mpfr_pow_si(e.v, e.v, static_cast<long>(p.b), MPFR_RNDN);
        return widthUlps(kovrix_interval_pow(point(p.a), static_cast<int32_t>(p.b)), e.v, misses);
      },
      [](const Pair& p) { return kovrix_interval_pow(point(p.a), static_cast<int32_t>(p.b)).hi; },
      [](const Pair& p) { return std::pow(p.a, p.b); });
  pow.notes = missNote(misses);
  pow.stats.nans -= misses;
  out.push_back(pow);
  return out;
}

}  // namespace

Family intervalFamily() {
  return {"Interval",
          "Each export on point intervals [x, x]: the width hi − lo of the enclosure in ulps of the exact "
          "value, and whether every enclosure holds the exact value (checked with MPFR). Reference: the plain "
          "float64 operation or C library function, which gives one rounded value and no enclosure.",
          rows};
}

}  // namespace kovrix::accuracy

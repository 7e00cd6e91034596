// The Rational series exports: correct bits of each exact rational result
// against the exact function value of the exact argument.
#include <gmp.h>

#include <cmath>
#include <memory>
#include <string>

#include "accuracy.hpp"
#include "kovrix.h"

namespace kovrix::accuracy {
namespace {

constexpr mpfr_prec_t kBits = 256;
constexpr long kDenominator = 1000;

// The integer behind a BigInt handle (consumed), through its decimal text.
void integerOf(kovrix_bigint* h, mpz_t out) {
  std::string text(64, '\0');
  int n;
  while ((n = kovrix_bigint_to_decimal(h, text.data(), static_cast<int64_t>(text.size()))) < 0)
    text.resize(text.size() * 16);
  mpz_set_str(out, text.c_str(), 10);
  kovrix_bigint_destroy(h);
}

// The value of a Rational handle rounded to kExactBits; false for NULL.
bool valueOf(const kovrix_rational* x, mpfr_t out) {
  if (x == nullptr) return false;
  mpq_t q;
  mpq_init(q);
  integerOf(kovrix_rational_num(x), mpq_numref(q));
  integerOf(kovrix_rational_den(x), mpq_denref(q));
  mpfr_set_q(out, q, MPFR_RNDN);
  mpq_clear(q);
  return true;
}

/// A random argument p / 1000 and its value at 256 bits.
struct Argument {
  explicit Argument(double u)
      : handle(kovrix_rational_from_i64(std::llround(u * kDenominator), kDenominator)), value(kBits) {
    valueOf(handle, value.v);
  }
  ~Argument() { kovrix_rational_destroy(handle); }
  Argument(const Argument&) = delete;
  kovrix_rational* handle;
  Exact value;
};
using Arg = std::shared_ptr<Argument>;
Arg draw(double lo, double hi) { return std::make_shared<Argument>(uniform(lo, hi)); }

double relativeError(kovrix_rational* result, const mpfr_t f) {
  Exact got;
  const bool ok = valueOf(result, got.v);
  kovrix_rational_destroy(result);
  if (!ok) return std::nan("");
  if (mpfr_zero_p(f)) return mpfr_zero_p(got.v) ? 0.0 : std::nan("");
  mpfr_sub(got.v, got.v, f, MPFR_RNDN);
  mpfr_div(got.v, got.v, f, MPFR_RNDN);
  return std::fabs(mpfr_get_d(got.v, MPFR_RNDN));
}

double timed(kovrix_rational* result) {
  kovrix_rational_destroy(result);
  return result != nullptr ? 1.0 : 0.0;
}

const BigUnary<kovrix_rational> kUnary[] = {
    {"kovrix_rational_sin", "5 Taylor terms", -1, 1, kovrix_rational_sin, mpfr_sin},
    {"kovrix_rational_cos", "5 Taylor terms", -1, 1, kovrix_rational_cos, mpfr_cos},
    {"kovrix_rational_tan", "sin / cos, 5 terms each", -1, 1, kovrix_rational_tan, mpfr_tan},
    {"kovrix_rational_exp", "10 Taylor terms", -1, 1, kovrix_rational_exp, mpfr_exp},
    {"kovrix_rational_ln", "10 series terms", 0.5, 2, kovrix_rational_ln, mpfr_log},
    {"kovrix_rational_sqrt", "4 Newton steps", 0.25, 4, kovrix_rational_sqrt, mpfr_sqrt},
    {"kovrix_rational_atan", "5 series terms", -1, 1, kovrix_rational_atan, mpfr_atan},
};

const BigBinary<kovrix_rational> kBinary[] = {
    {"kovrix_rational_atan2", "atan of y / x, quadrant", -1, 1, 0.1, 1, kovrix_rational_atan2, mpfr_atan2},
    {"kovrix_rational_pow", "exp(y ln x), 10 terms", 0.5, 2, -2, 2, kovrix_rational_pow, mpfr_pow},
};

std::vector<Row> rows(int samples) {
  const BigArguments<kovrix_rational, Arg> arguments{
      draw,
      [](const Arg& x) -> const kovrix_rational* { return x->handle; },
      [](const Arg& x, mpfr_t out) { valueOf(x->handle, out); },
      [](const Arg& x) -> mpfr_srcptr { return x->value.v; },
      relativeError,
      timed,
      " (p/1000)"};
  return bigRows(samples / kBigDivisor, kUnary, kBinary, arguments);
}

}  // namespace

Family rationalFamily() {
  return {"Rational series",
          "Correct bits of each exact rational result: −log2 of its relative error against the exact function "
          "value of the argument p/1000. Each function sums a fixed count of terms, so the result is an exact "
          "rational near the function, not a rounded one. Reference: the same function in MPFR at 256 bits.",
          rows};
}

}  // namespace kovrix::accuracy

// Shared pieces of the accuracy tool: the random source, exact values in
// MPFR, error summaries and the row of the table.
#pragma once

#include <cstdint>  // before mpfr.h, for its intmax_t functions

#include <mpfr.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace kovrix::accuracy {

using MpfrUnary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
using MpfrBinary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);

/// Precision of the exact values; far above the 256 bits of the widest result.
constexpr mpfr_prec_t kExactBits = 1024;
/// Big-number rows (BigFloat, Rational) use samples / kBigDivisor arguments.
constexpr int kBigDivisor = 20;

std::mt19937_64& rng();
double uniform(double lo, double hi);
int uniformInt(int lo, int hi);

/// An MPFR value that clears itself.
struct Exact {
  explicit Exact(mpfr_prec_t bits = kExactBits);
  ~Exact();
  Exact(const Exact&) = delete;
  Exact& operator=(const Exact&) = delete;
  mpfr_t v;
};

/// |amount| in ulps of `of` as a float64.
double inUlpsOf(const mpfr_t amount, const mpfr_t of);
/// |got - exact| in ulps of the exact value as a float64; NaN if got is NaN.
double ulpsOff(double got, const mpfr_t exact);

struct Stats {
  double max = std::nan("");
  double median = std::nan("");
  int count = 0;
  int nans = 0;
};
/// Largest and median of the errors that are not NaN, and how many were NaN.
Stats summarize(std::vector<double> errors);

/// Mean time per call of f(0) ... f(calls - 1), the fastest of three passes.
double nanosPerCall(int calls, const std::function<double(int)>& f);
std::string number(double v);
/// "[lo, hi]" with both ends as `number` writes them.
std::string range(double lo, double hi);
/// A relative error as correct bits (−log2), "exact" for 0, "–" for NaN.
std::string correctBits(double relative);

struct Row {
  std::string name, method, range, reference;
  std::function<std::string(double)> formatError = number;
  std::string notes;
  Stats stats;
  double kovrixNs = 0, referenceNs = 0;
};

/// One row: draws `samples` argument sets, summarises error(args), and times
/// kovrix(args) and reference(args) over the same arguments.
template <class Args>
Row measure(Row row, int samples, const std::function<Args()>& draw,
            const std::function<double(const Args&)>& error, const std::function<double(const Args&)>& kovrix,
            const std::function<double(const Args&)>& reference) {
  std::vector<Args> args;
  args.reserve(samples);
  for (int i = 0; i < samples; ++i) args.push_back(draw());
  std::vector<double> errors;
  errors.reserve(samples);
  for (const Args& a : args) errors.push_back(error(a));
  row.stats = summarize(std::move(errors));
  row.kovrixNs = nanosPerCall(samples, [&](int i) { return kovrix(args[i]); });
  row.referenceNs = nanosPerCall(samples, [&](int i) { return reference(args[i]); });
  return row;
}

/// The function exports of a big-number family, whose results are new
/// handles of type H, with the MPFR function each one computes.
template <class H>
struct BigUnary {
  const char* name;
  const char* method;
  double lo, hi;
  H* (*kovrix)(const H*);
  MpfrUnary exact;
};
template <class H>
struct BigBinary {
  const char* name;
  const char* method;
  double loA, hiA, loB, hiB;
  H* (*kovrix)(const H*, const H*);
  MpfrBinary exact;
};

/// What the rows of a big-number family need of its arguments (shared
/// pointers to an argument holding a handle and its value at 256 bits).
template <class H, class Arg>
struct BigArguments {
  std::function<Arg(double lo, double hi)> draw;
  std::function<const H*(const Arg&)> handle;
  /// The argument's value at kExactBits.
  std::function<void(const Arg&, mpfr_t)> exactValue;
  /// The argument's value at 256 bits, the MPFR peer's input.
  std::function<mpfr_srcptr(const Arg&)> value256;
  /// Relative error of a result (consumed) against the exact value; NaN for NULL.
  std::function<double(H*, const mpfr_t)> relativeError;
  /// Destroys a result; 1 if it was a handle, 0 for NULL.
  std::function<double(H*)> timed;
  /// Appended to every row's range (how the arguments are made).
  std::string rangeNote;
};

/// One row per export: correct bits against the exact function value of the
/// exact argument, times beside MPFR at 256 bits on the same arguments.
template <class H, class Arg, std::size_t NU, std::size_t NB>
std::vector<Row> bigRows(int samples, const BigUnary<H> (&unary)[NU], const BigBinary<H> (&binary)[NB],
                         const BigArguments<H, Arg>& a) {
  using Pair = std::pair<Arg, Arg>;
  std::vector<Row> out;
  for (const BigUnary<H>& u : unary) {
    out.push_back(measure<Arg>(
        Row{u.name, u.method, range(u.lo, u.hi) + a.rangeNote, "MPFR 256 bits", correctBits}, samples,
        [&] { return a.draw(u.lo, u.hi); },
        [&](const Arg& x) {
          Exact f;
          a.exactValue(x, f.v);
          u.exact(f.v, f.v, MPFR_RNDN);
          return a.relativeError(u.kovrix(a.handle(x)), f.v);
        },
        [&](const Arg& x) { return a.timed(u.kovrix(a.handle(x))); },
        [&](const Arg& x) {
          Exact f(256);
          return static_cast<double>(u.exact(f.v, a.value256(x), MPFR_RNDN));
        }));
  }
  for (const BigBinary<H>& b : binary) {
    out.push_back(measure<Pair>(
        Row{b.name, b.method, range(b.loA, b.hiA) + " × " + range(b.loB, b.hiB) + a.rangeNote, "MPFR 256 bits",
            correctBits},
        samples, [&] { return Pair{a.draw(b.loA, b.hiA), a.draw(b.loB, b.hiB)}; },
        [&](const Pair& p) {
          Exact f, x, y;
          a.exactValue(p.first, x.v);
          a.exactValue(p.second, y.v);
          b.exact(f.v, x.v, y.v, MPFR_RNDN);
          return a.relativeError(b.kovrix(a.handle(p.first), a.handle(p.second)), f.v);
        },
        [&](const Pair& p) { return a.timed(b.kovrix(a.handle(p.first), a.handle(p.second))); },
        [&](const Pair& p) {
          Exact f(256);
          return static_cast<double>(b.exact(f.v, a.value256(p.first), a.value256(p.second), MPFR_RNDN));
        }));
  }
  return out;
}

struct Family {
  std::string title, intro;
  std::function<std::vector<Row>(int samples)> rows;
};

Family float64Family();
Family fixedFamily();
Family bigFloatFamily();
Family rationalFamily();
Family intervalFamily();
/// Every family of the library, in the order of the table.
std::vector<Family> families();

}  // namespace kovrix::accuracy

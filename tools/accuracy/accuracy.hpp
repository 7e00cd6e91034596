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

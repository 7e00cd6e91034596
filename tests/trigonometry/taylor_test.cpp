// Sine, cosine and arctangent series on float64: the step lists re-derived
// from their definitions, the truncated series in MPFR, the stated values.
#include "trigonometry/taylor.hpp"

#include <gtest/gtest.h>

#include <memory>

#include "c_api/pending_error.hpp"
#include "exponential/logarithm_generic.hpp"
#include "exponential/taylor.hpp"
#include "roots/sqrt_newton.hpp"
#include "kovrix.h"
#include "support/series.hpp"

namespace kovrix {
namespace {

using namespace kovrix::testsupport;

// s = x, t = x(xx), m = 6, minus; for i = 2..count: s -/+= t/m; stop at count;
// t = (xx)(t/m), m = (2i)(2i+1), flip.
double referenceSin(double x, std::int64_t count) {
  if (count < 2) return x;
  double s = x, t = x * (x * x), m = 6;
  int sign = -1;
  for (std::int64_t i = 2; i <= count; ++i) {
    s = sign < 0 ? s - t / m : s + t / m;
    if (i == count) break;
    t = (x * x) * (t / m);
    m = static_cast<double>((2 * i) * (2 * i + 1));
    sign = -sign;
  }
  return s;
}

double referenceCos(double x, std::int64_t count) {
  double q = x * x;
  if (count < 2) return 1;
  double s = 1, t = q, m = 2;
  int sign = -1;
  for (std::int64_t i = 2; i <= count; ++i) {
    s = sign < 0 ? s - t / m : s + t / m;
    if (i == count) break;
    t = (t / m) * q;
    m = static_cast<double>((2 * i - 1) * (2 * i));
    sign = -sign;
  }
  return s;
}

double referenceAtan(double x, std::int64_t count) {
  if (count < 2) return x;
  double s = x, t = x * (x * x);
  std::int64_t d = 3;
  int sign = -1;
  for (std::int64_t k = 2; k <= count; ++k) {
    s = sign < 0 ? s - t / static_cast<double>(d) : s + t / static_cast<double>(d);
    if (k == count) break;
    d = d + 2;
    t = (x * x) * t;
    sign = -sign;
  }
  return s;
}

enum class Series { sine, cosine, arctangent };

// The truncated series at 300 bits: sum of count terms.
double mpfrSeries(Series which, double x, int count) {
  Mp sum(0.0, 300), term(300), xm(x, 300), fact(1.0, 300);
  for (int k = 0; k < count; ++k) {
    const int power = which == Series::cosine ? 2 * k : 2 * k + 1;
    mpfr_pow_ui(term.get(), xm.get(), static_cast<unsigned long>(power), MPFR_RNDN);
    if (which == Series::arctangent) {
      mpfr_div_ui(term.get(), term.get(), static_cast<unsigned long>(power), MPFR_RNDN);
    } else {
      mpfr_set_ui(fact.get(), 1, MPFR_RNDN);
      for (int j = 2; j <= power; ++j) mpfr_mul_ui(fact.get(), fact.get(), static_cast<unsigned long>(j), MPFR_RNDN);
      mpfr_div(term.get(), term.get(), fact.get(), MPFR_RNDN);
    }
    if (k % 2) mpfr_sub(sum.get(), sum.get(), term.get(), MPFR_RNDN);
    else mpfr_add(sum.get(), sum.get(), term.get(), MPFR_RNDN);
  }
  return sum.toDouble();
}

TEST(TrigTaylorFloat64, StatedValues) {
  EXPECT_EQ(bitsOf(kovrix_taylor_sin_f64(0.0)), bitsOf(0.0));
  EXPECT_EQ(kovrix_taylor_cos_f64(0.0), 1.0);
  EXPECT_EQ(kovrix_taylor_sin_f64(1.0), 0.8414710097001764);
  EXPECT_EQ(kovrix_taylor_cos_f64(1.0), 0.5403025793650793);
  EXPECT_EQ(kovrix_taylor_atan_f64(1.0), 0.7604599047323508);
  // No reduction: a large argument gives the polynomial's value, here
  // dominated by x^9/9!.
  const double big = kovrix_taylor_sin_f64(100.0);
  EXPECT_GT(big, 1e12);
  EXPECT_EQ(big, referenceSin(100.0, 5));
  EXPECT_EQ(sinTaylor(0.3, 1), 0.3);
  EXPECT_EQ(cosTaylor(0.3, 0), 1.0);
  EXPECT_EQ(atanTaylor(0.3, -7), 0.3);
}

TEST(TrigTaylorFloat64, MatchesTheStepsBitForBit) {
  for (int trial = 0; trial < 20000; ++trial) {
    const double x = anyDouble();
    const std::int64_t count = between(-1, 30);
    ASSERT_TRUE(sameBits(sinTaylor(x, count), referenceSin(x, count))) << "sin " << show(x) << " " << count;
    ASSERT_TRUE(sameBits(cosTaylor(x, count), referenceCos(x, count))) << "cos " << show(x) << " " << count;
    ASSERT_TRUE(sameBits(atanTaylor(x, count), referenceAtan(x, count))) << "atan " << show(x) << " " << count;
    ASSERT_TRUE(sameBits(kovrix_taylor_sin_f64(x), referenceSin(x, 5))) << show(x);
    ASSERT_TRUE(sameBits(kovrix_taylor_cos_f64(x), referenceCos(x, 5))) << show(x);
    ASSERT_TRUE(sameBits(kovrix_taylor_atan_f64(x), referenceAtan(x, 10))) << show(x);
  }
}

TEST(TrigTaylorFloat64, AgreesWithTheTruncatedSeries) {
  for (int trial = 0; trial < 2000; ++trial) {
    const double x = uniform(-1.0, 1.0);
    ASSERT_TRUE(closeTo(kovrix_taylor_sin_f64(x), mpfrSeries(Series::sine, x, 5), 1e-15)) << show(x);
    ASSERT_TRUE(closeTo(kovrix_taylor_cos_f64(x), mpfrSeries(Series::cosine, x, 5), 1e-15)) << show(x);
    ASSERT_TRUE(closeTo(kovrix_taylor_atan_f64(x), mpfrSeries(Series::arctangent, x, 10), 1e-15)) << show(x);
  }
}

TEST(TrigTaylorFloat64, ApproximatesTheFunctionsNearZero) {
  Mp m(200);
  for (int trial = 0; trial < 2000; ++trial) {
    const double x = uniform(-0.5, 0.5);
    mpfr_set_d(m.get(), x, MPFR_RNDN);
    mpfr_sin(m.get(), m.get(), MPFR_RNDN);
    ASSERT_TRUE(closeTo(kovrix_taylor_sin_f64(x), m.toDouble(), 1e-10)) << show(x);  // x^11/11! < 1.3e-11
    mpfr_set_d(m.get(), x, MPFR_RNDN);
    mpfr_cos(m.get(), m.get(), MPFR_RNDN);
    ASSERT_TRUE(closeTo(kovrix_taylor_cos_f64(x), m.toDouble(), 1e-9)) << show(x);  // x^10/10! < 2.7e-10
    mpfr_set_d(m.get(), x, MPFR_RNDN);
    mpfr_atan(m.get(), m.get(), MPFR_RNDN);
    ASSERT_TRUE(closeTo(kovrix_taylor_atan_f64(x), m.toDouble(), 1e-7)) << show(x);  // x^21/21 < 2.3e-8
  }
  EXPECT_FALSE(capi::errorPending());
}

}  // namespace
}  // namespace kovrix

namespace kovrix {
namespace {

using namespace kovrix::testsupport;

// A 256-bit MPFR arithmetic: the generic series on it must give the
// functions to far beyond double precision for small arguments.
struct MpfrValue {
  std::shared_ptr<__mpfr_struct> v;
};
struct MpfrArithmetic {
  using Value = MpfrValue;
  static MpfrValue make() {
    auto* p = new __mpfr_struct;
    mpfr_init2(p, 256);
    return MpfrValue{std::shared_ptr<__mpfr_struct>(p, [](__mpfr_struct* q) { mpfr_clear(q); delete q; })};
  }
  static MpfrValue of(double d) { MpfrValue r = make(); mpfr_set_d(r.v.get(), d, MPFR_RNDN); return r; }
  static MpfrValue zero() { return of(0.0); }
  static MpfrValue one() { return of(1.0); }
  template <class F>
  static MpfrValue apply(F f) { MpfrValue r = make(); f(r.v.get()); return r; }
  static MpfrValue add(MpfrValue a, MpfrValue b) { return apply([&](mpfr_ptr r) { mpfr_add(r, a.v.get(), b.v.get(), MPFR_RNDN); }); }
  static MpfrValue sub(MpfrValue a, MpfrValue b) { return apply([&](mpfr_ptr r) { mpfr_sub(r, a.v.get(), b.v.get(), MPFR_RNDN); }); }
  static MpfrValue mul(MpfrValue a, MpfrValue b) { return apply([&](mpfr_ptr r) { mpfr_mul(r, a.v.get(), b.v.get(), MPFR_RNDN); }); }
  static MpfrValue div(MpfrValue a, MpfrValue b) { return apply([&](mpfr_ptr r) { mpfr_div(r, a.v.get(), b.v.get(), MPFR_RNDN); }); }
  static MpfrValue mulInt(MpfrValue a, std::int64_t k) { return apply([&](mpfr_ptr r) { mpfr_mul_si(r, a.v.get(), k, MPFR_RNDN); }); }
  static MpfrValue divInt(MpfrValue a, std::int64_t k) { return apply([&](mpfr_ptr r) { mpfr_div_si(r, a.v.get(), k, MPFR_RNDN); }); }
  static MpfrValue half(MpfrValue a) { return apply([&](mpfr_ptr r) { mpfr_div_ui(r, a.v.get(), 2, MPFR_RNDN); }); }
  static MpfrValue twice(MpfrValue a) { return apply([&](mpfr_ptr r) { mpfr_mul_ui(r, a.v.get(), 2, MPFR_RNDN); }); }
  static bool isNegative(MpfrValue a) { return mpfr_sgn(a.v.get()) < 0; }
  static bool isZero(MpfrValue a) { return mpfr_zero_p(a.v.get()) != 0; }
  static bool equal(MpfrValue a, MpfrValue b) { return mpfr_equal_p(a.v.get(), b.v.get()) != 0; }
};
static_assert(SeriesArithmetic<MpfrArithmetic>);

double distance(MpfrValue got, int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t), double x) {
  Mp want(x, 256), diff(256);
  f(want.get(), want.get(), MPFR_RNDN);
  mpfr_sub(diff.get(), got.v.get(), want.get(), MPFR_RNDN);
  return std::fabs(mpfr_get_d(diff.get(), MPFR_RNDN));
}

TEST(TrigSeriesGeneric, MultiPrecisionInstanceConverges) {
  for (int trial = 0; trial < 200; ++trial) {
    const double x = uniform(-0.5, 0.5);
    const auto m = MpfrArithmetic::of(x);
    // 30 terms: the omitted sine and cosine terms are below 0.5^60 / 60!, the
    // arctangent's below 0.5^61 / 61 (about 7e-21).
    ASSERT_LT(distance(generic::sinSeries<MpfrArithmetic>(m, 30), mpfr_sin, x), 1e-60) << show(x);
    ASSERT_LT(distance(generic::cosSeries<MpfrArithmetic>(m, 30), mpfr_cos, x), 1e-60) << show(x);
    ASSERT_LT(distance(generic::atanSeries<MpfrArithmetic>(m, 30), mpfr_atan, x), 1e-19) << show(x);
    // The other generic kernels on the same arithmetic.
    ASSERT_LT(distance(generic::expTaylor<MpfrArithmetic>(m, 60), mpfr_exp, x), 1e-70) << show(x);
    const auto y = MpfrArithmetic::of(x + 1.0);
    ASSERT_LT(distance(generic::sqrtNewton<MpfrArithmetic>(y, 40), mpfr_sqrt, x + 1.0), 1e-70) << show(x);
    ASSERT_LT(distance(generic::lnAtanhSeries<MpfrArithmetic>(y, 80), mpfr_log, x + 1.0), 1e-70) << show(x);
  }
}

TEST(TrigSeriesGeneric, FirstTermsOnFloat64) {
  EXPECT_EQ(generic::sinSeries<Float64Arithmetic>(0.25, 1), 0.25);
  EXPECT_EQ(generic::cosSeries<Float64Arithmetic>(0.25, 0), 1.0);
  EXPECT_EQ(generic::atanSeries<Float64Arithmetic>(0.25, -4), 0.25);
  EXPECT_EQ(generic::sinSeries<Float64Arithmetic>(0.5, 2), 0.5 - (0.5 * 0.25) / 6);
  EXPECT_EQ(generic::cosSeries<Float64Arithmetic>(0.5, 3), (1.0 - 0.25 / 2) + ((0.25 / 2) * 0.25) / 12);
  EXPECT_EQ(generic::atanSeries<Float64Arithmetic>(0.5, 2), 0.5 - (0.5 * 0.25) / 3);
}

}  // namespace
}  // namespace kovrix

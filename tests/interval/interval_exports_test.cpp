// The failure convention of the interval exports: with an error pending on
// entry every one returns its failure value -- (0, 0), 0.0 or false -- and
// leaves the error pending; kovrix_interval_pow clears a pending
// DivByZeroDefect and answers (NaN, NaN); domain answers leave nothing
// pending.
#include <functional>
#include <vector>

#include "c_api/pending_error.hpp"
#include "support/interval.hpp"

namespace {

using namespace kovrix::testsupport;
using kovrix::ErrorKind;
using kovrix::capi::clearPending;
using kovrix::capi::errorPending;
using kovrix::capi::pendingError;
using kovrix::capi::setPending;

const kovrix_interval A{1, 2}, B{3, 4};

struct Call {
  const char* name;
  std::function<Interval()> run;  // the interval result, or a scalar in .lo
};

std::vector<Call> everyExport() {
  auto iv = [](kovrix_interval r) { return Interval{r.lo, r.hi}; };
  auto sc = [](double r) { return Interval{r, 0.0}; };
  return {
      {"from_f64", [=] { return iv(kovrix_interval_from_f64(1, 2)); }},
      {"lo", [=] { return sc(kovrix_interval_lo(A)); }},
      {"hi", [=] { return sc(kovrix_interval_hi(A)); }},
      {"add", [=] { return iv(kovrix_interval_add(A, B)); }},
      {"sub", [=] { return iv(kovrix_interval_sub(A, B)); }},
      {"mul", [=] { return iv(kovrix_interval_mul(A, B)); }},
      {"div", [=] { return iv(kovrix_interval_div(A, B)); }},
      {"sqrt", [=] { return iv(kovrix_interval_sqrt(A)); }},
      {"neg", [=] { return iv(kovrix_interval_neg(A)); }},
      {"is_valid", [=] { return sc(kovrix_interval_is_valid(A)); }},
      {"width", [=] { return sc(kovrix_interval_width(A)); }},
      {"midpoint", [=] { return sc(kovrix_interval_midpoint(A)); }},
      {"contains", [=] { return sc(kovrix_interval_contains(A, 1.5)); }},
      {"contains_interval", [=] { return sc(kovrix_interval_contains_interval(A, A)); }},
      {"overlaps", [=] { return sc(kovrix_interval_overlaps(A, A)); }},
      {"hull", [=] { return iv(kovrix_interval_hull(A, B)); }},
      {"intersect", [=] { return iv(kovrix_interval_intersect(A, A)); }},
      {"exp", [=] { return iv(kovrix_interval_exp(A)); }},
      {"ln", [=] { return iv(kovrix_interval_ln(A)); }},
      {"arctan", [=] { return iv(kovrix_interval_arctan(A)); }},
      {"arctan2", [=] { return iv(kovrix_interval_arctan2(A, B)); }},
      {"sin", [=] { return iv(kovrix_interval_sin(A)); }},
      {"cos", [=] { return iv(kovrix_interval_cos(A)); }},
  };
}

TEST(IntervalExports, ComputeWithNothingPending) {
  clearPending();
  for (const Call& c : everyExport()) {
    const Interval r = c.run();
    EXPECT_FALSE(sameBits(r, Interval{0, 0})) << c.name;
    EXPECT_FALSE(errorPending()) << c.name;
  }
}

TEST(IntervalExports, PendingErrorGivesFailureValueAndStays) {
  for (ErrorKind kind : {ErrorKind::valueError, ErrorKind::overflowDefect, ErrorKind::divByZeroDefect,
                         ErrorKind::rangeDefect}) {
    for (const Call& c : everyExport()) {
      setPending(kind, "earlier failure");
      const Interval r = c.run();
      EXPECT_TRUE(sameBits(r, Interval{0, 0})) << c.name << " -> " << show(r);
      EXPECT_TRUE(errorPending()) << c.name;
      EXPECT_EQ(pendingError().kind, kind) << c.name;
    }
  }
  clearPending();
}

TEST(IntervalExports, PowCatchesDivisionByZero) {
  clearPending();
  // Its own failure: a negative power of an interval holding zero.
  Interval r = I(kovrix_interval_pow({-1, 1}, -2));
  EXPECT_TRUE(std::isnan(r.lo) && std::isnan(r.hi));
  EXPECT_FALSE(errorPending());
  // One left by an earlier call: cleared, (NaN, NaN).
  setPending(ErrorKind::divByZeroDefect, "Division by zero in BigUInt.");
  r = I(kovrix_interval_pow({2, 3}, 2));
  EXPECT_TRUE(std::isnan(r.lo) && std::isnan(r.hi));
  EXPECT_FALSE(errorPending());
  // Any other kind: (0, 0) and still pending.
  for (ErrorKind kind : {ErrorKind::valueError, ErrorKind::overflowDefect, ErrorKind::indexDefect}) {
    setPending(kind, "earlier failure");
    r = I(kovrix_interval_pow({2, 3}, 2));
    EXPECT_TRUE(sameBits(r, Interval{0, 0})) << show(r);
    EXPECT_TRUE(errorPending());
    EXPECT_EQ(pendingError().kind, kind);
  }
  clearPending();
  r = I(kovrix_interval_pow({2, 3}, 2));
  // Even power: through the magnitude (one step), then two steps.
  const double lo = refDown(2), hi = refUp(3);
  EXPECT_TRUE(sameBits(r, Interval{refDown(refDown(lo * lo)), refUp(refUp(hi * hi))})) << show(r);
}

TEST(IntervalExports, DomainAnswersLeaveNothingPending) {
  clearPending();
  EXPECT_TRUE(sameBits(I(kovrix_interval_div({1, 2}, {-1, 1})), Interval{-kInf, kInf}));
  EXPECT_TRUE(std::isnan(kovrix_interval_sqrt({-2, -1}).lo));
  EXPECT_TRUE(std::isnan(kovrix_interval_ln({-2, 0}).lo));
  EXPECT_EQ(kovrix_interval_ln({0, 1}).lo, -kInf);
  EXPECT_EQ(kovrix_interval_sqrt({-1, 4}).lo, 0.0);
  EXPECT_TRUE(std::isnan(kovrix_interval_pow({0, 0}, -1).lo));
  EXPECT_FALSE(errorPending());
}

// The domain answers too give way to a pending error: (0, 0), error kept.
TEST(IntervalExports, DomainCasesWithAnErrorPendingGiveTheFailureValue) {
  for (ErrorKind kind : {ErrorKind::valueError, ErrorKind::overflowDefect}) {
    setPending(kind, "earlier failure");
    EXPECT_TRUE(sameBits(I(kovrix_interval_div({1, 2}, {-1, 1})), Interval{0, 0}));
    EXPECT_TRUE(sameBits(I(kovrix_interval_sqrt({-2, -1})), Interval{0, 0}));
    EXPECT_TRUE(sameBits(I(kovrix_interval_ln({-1, 0})), Interval{0, 0}));
    EXPECT_TRUE(sameBits(I(kovrix_interval_ln({0, 1})), Interval{0, 0}));
    EXPECT_TRUE(sameBits(I(kovrix_interval_pow({-1, 1}, -1)), Interval{0, 0}));
    EXPECT_TRUE(sameBits(I(kovrix_interval_pow({-1, 1}, 0)), Interval{0, 0}));
    ASSERT_TRUE(errorPending());
    EXPECT_EQ(pendingError().kind, kind);
  }
  clearPending();
}

// Every (NaN, NaN) answer is the quiet NaN 0x7FF8000000000000 in both bounds,
// the one of kovrix_interval_pow after catching included.
TEST(IntervalExports, NaNAnswersAreTheQuietNaN) {
  auto quiet = [](Interval r) {
    return std::bit_cast<std::uint64_t>(r.lo) == 0x7FF8000000000000ULL &&
           std::bit_cast<std::uint64_t>(r.hi) == 0x7FF8000000000000ULL;
  };
  clearPending();
  EXPECT_TRUE(quiet(I(kovrix_interval_sqrt({-2, -1}))));
  EXPECT_TRUE(quiet(I(kovrix_interval_ln({-1, 0}))));
  EXPECT_TRUE(quiet(I(kovrix_interval_ln({-1, -0.0}))));
  EXPECT_TRUE(quiet(I(kovrix_interval_pow({-1, 1}, -1))));
  EXPECT_TRUE(quiet(I(kovrix_interval_pow({0, 0}, INT32_MIN))));
  setPending(ErrorKind::divByZeroDefect, "earlier failure");
  EXPECT_TRUE(quiet(I(kovrix_interval_pow({2, 3}, 5))));
  EXPECT_FALSE(errorPending());
}

}  // namespace

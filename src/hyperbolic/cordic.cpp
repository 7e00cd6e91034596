#include "hyperbolic/cordic.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

#include "errors.hpp"
#include "float64_constants.hpp"
#include "fixed/arithmetic.hpp"
#include "fixed/sign_mask.hpp"

namespace kovrix {

namespace {

// atanh(2^-i) * 2^32 truncated for i = 1..32 (index 0 unused), exactly as
// computeCordicHyperbolicAngle produces them from the float64 atanh and pow
// (the tests recompute every entry).  From i = 11 on atanh(2^-i) exceeds 2^-i
// by less than one unit, so the entries are 2^(32-i).
constexpr std::array<std::int64_t, 33> kHyperbolicAngles = {
    0,
    2359251925, 1096989674, 539693625, 268785802, 134261444, 67114326, 33555114, 16777301,
    8388618,    4194305,    2097152,   1048576,   524288,    262144,   131072,   65536,
    32768,      16384,      8192,      4096,      2048,      1024,     512,      256,
    128,        64,         32,        16,        8,         4,        2,        1,
};

// Shift index of each of the 34 steps: 1..32 with 4 and 13 repeated, the
// repeats that make the hyperbolic rotations converge (k -> 3k + 1 from 4).
constexpr std::array<std::int8_t, hyperbolicSteps> kSchedule = [] {
  std::array<std::int8_t, hyperbolicSteps> s{};
  int n = 0;
  for (int i = 1; i <= 32; ++i) {
    s[static_cast<std::size_t>(n++)] = static_cast<std::int8_t>(i);
    if (i == 4 || i == 13) s[static_cast<std::size_t>(n++)] = static_cast<std::int8_t>(i);
  }
  return s;
}();

constexpr std::int64_t kBudget = hyperbolicConvergenceBudgetQ32;

constexpr std::int64_t scheduleAngleSum() {
  std::int64_t sum = 0;
  for (std::int8_t i : kSchedule) sum += kHyperbolicAngles[static_cast<std::size_t>(i)];
  return sum;
}
static_assert(scheduleAngleSum() == kBudget, "budget is the sum of the scheduled angles");

// The budget failure carries the argument and the budget in its text.  The
// text lives in a per-thread buffer: a pending error keeps only the newest
// failure, and a newer budget failure on the same thread rewrites the buffer
// with its own text.
thread_local char tBudgetMessage[320];

void appendShortest(char*& out, char* end, double v) {
  auto res = std::to_chars(out, end, v);
  out = res.ptr;
}

void appendText(char*& out, char* end, const char* text) {
  const std::size_t n = std::strlen(text);
  const std::size_t room = static_cast<std::size_t>(end - out);
  const std::size_t k = n < room ? n : room;
  std::memcpy(out, text, k);
  out += k;
}

[[noreturn]] void raiseBudgetExceeded(std::int64_t a, std::int64_t budget) {
  char* out = tBudgetMessage;
  char* end = tBudgetMessage + sizeof tBudgetMessage - 1;
  appendText(out, end, "sinhCoshCordic: |angle| ");
  appendShortest(out, end, std::fabs(static_cast<double>(a)) / f64::q32Scale);
  appendText(out, end, " exceeds the CORDIC hyperbolic convergence budget ");
  appendShortest(out, end, static_cast<double>(budget) / f64::q32Scale);
  appendText(out, end,
             " (<= sum atanh(2^-i) ~ 1.1182); use the BigFloat exp/sinh/cosh (scaling-and-squaring) for "
             "larger arguments");
  *out = '\0';
  raiseValueError(tBudgetMessage);
}

inline bool withinBudget(std::int64_t a) { return a >= -kBudget && a <= kBudget; }

// The 34 rotations from (X, Y, Z) = (1/K_h, 0, a), |a| within the budget.
// Direction d = +1 for Z >= 0, -1 for Z < 0: X += d (Y >> i), Y += d (X >> i),
// Z -= d A.
//
// The sums are defined as overflow-tested, and none can overflow: X^2 - Y^2
// only shrinks (by 1 - 2^-2i per step) and X + |Y| grows at most by the
// factor e^(sum of the angles) = e^1.12, so |X|, |Y| < 1.21 * 3.06 * 2^32 <
// 2^34; |Z| <= |a| + budget < 2^34.  The tests are left out.  The direction
// is data dependent and unpredictable: it is applied as the sign mask of Z,
// so the unrolled loop is straight-line code.
std::pair<Fixed, Fixed> rotations(std::int64_t a) {
  std::int64_t X = hyperbolicGainQ32, Y = 0, Z = a;
#pragma GCC unroll 34
  for (std::size_t s = 0; s < kSchedule.size(); ++s) {
    const int i = kSchedule[s];
    const std::int64_t xs = X >> i, ys = Y >> i;
    const std::int64_t down = signMask(Z);  // d = -1
    X += negateWhere(ys, down);
    Y += negateWhere(xs, down);
    Z -= negateWhere(kHyperbolicAngles[static_cast<std::size_t>(i)], down);
  }
  return {Fixed{Y}, Fixed{X}};
}

}  // namespace

int hyperbolicStepIndex(int s) { return kSchedule[static_cast<std::size_t>(s)]; }

std::int64_t getCordicHyperbolicAngle(int i) { return kHyperbolicAngles[static_cast<std::size_t>(i)]; }

std::int64_t computeCordicHyperbolicAngle(int i) {
  if (i == 1) return toFixed(0.5493061443340549).raw;
  return toFixed(std::atanh(std::pow(2.0, -i))).raw;
}

std::int64_t hyperbolicConvergenceBudget() {
  // The sum is a compile-time constant (checked above against the table); the
  // overflow-tested summation of the definition can never fail on it.
  return kBudget;
}

Fixed clampHyperbolicQ32(Fixed x) {
  if (x.raw < -hyperbolicBudgetQ32) return Fixed{-hyperbolicBudgetQ32};
  if (x.raw > hyperbolicBudgetQ32) return Fixed{hyperbolicBudgetQ32};
  return x;
}

std::pair<Fixed, Fixed> sinhCoshCordic(Fixed a) {
  if (!withinBudget(a.raw)) [[unlikely]] raiseBudgetExceeded(a.raw, kBudget);
  return rotations(a.raw);
}

Fixed tanhCordic(Fixed a) {
  const auto [s, c] = sinhCoshCordic(a);
  return s / c;
}

Fixed expCordicScaled(Fixed a) {
  // Inside the budget one rotation run gives exp a = sinh a + cosh a.  Beyond
  // it the budget failure of sinhCoshCordic is the signal to scale; testing
  // the bound directly is the same decision without building the message.
  if (withinBudget(a.raw)) {
    const auto [s, c] = rotations(a.raw);
    return addChk(s, c);
  }
  // exp(a) = exp(a / 2^i)^(2^i) with the first i that brings the floor-halved
  // argument inside the budget.  |a| <= 2^63 and 2^63 >> 31 = 2^32 < budget,
  // so the loop stops at i <= 31.
  int i = 1;
  std::int64_t f = a.raw >> 1;
  while (!withinBudget(f)) f = a.raw >> ++i;
  const auto [s, c] = rotations(f);
  Fixed r = addChk(s, c);
  for (int k = 0; k < i; ++k) r = r * r;
  return r;
}

}  // namespace kovrix

#include "trigonometry/cordic.hpp"

#include <array>
#include <cmath>

#include "errors.hpp"
#include "float64_constants.hpp"
#include "fixed/arithmetic.hpp"
#include "fixed/sign_mask.hpp"

namespace kovrix {

namespace {

// atan(2^-i) * 2^32 truncated, i = 0..31, exactly as computeCordicAngle
// produces them from the float64 atan and pow (the tests recompute every
// entry).  Entry 0 comes from the float64 pi/4; from i = 13 on, atan(2^-i)
// equals 2^-i minus less than one unit, so the entries become 2^(32-i) - 1,
// and the last ones are 2^(32-i) once the float64 atan rounds back up to
// 2^-i.  Their sum is 7487358999 (1.7433).
constexpr std::array<std::int64_t, cordicIterations> kCordicAngles = {
    3373259426, 1991351317, 1052175346, 534100634, 268086747, 134174062, 67103403, 33553749,
    16777130,   8388597,    4194302,    2097151,   1048575,   524287,    262143,   131071,
    65535,      32767,      16383,      8191,      4095,      2047,      1023,     511,
    255,        127,        63,         32,        16,        8,         4,        2,
};


}  // namespace

std::int64_t getCordicAngle(int i) { return kCordicAngles[static_cast<std::size_t>(i)]; }

std::int64_t computeCordicAngle(int i) {
  if (i == 0) return toFixed(f64::quarterPi).raw;
  return toFixed(std::atan(std::pow(2.0, -i))).raw;
}

Fixed reduceQ32(Fixed x) {
  // The truncated remainder has the sign of x; a negative one moves up by
  // one period (added through the sign mask: the sign of an argument is
  // unpredictable).
  const std::int64_t r = x.raw % twoPiQ32;
  return Fixed{r + (twoPiQ32 & signMask(r))};
}

Fixed clampQ32(Fixed x) {
  if (x.raw < -cordicMaxQ) return Fixed{-cordicMaxQ};
  if (x.raw > cordicMaxQ) return Fixed{cordicMaxQ};
  return x;
}

namespace {
// An angle folded into [0, pi/2], with the sign masks (all ones for minus)
// that restore the sine and cosine of the original angle.
struct Fold {
  std::int64_t angle;
  std::int64_t sinMask;
  std::int64_t cosMask;
};

// Reduces x modulo the kernel period P = 2 piQ32 and folds it, without a
// branch on the angle.  The four quadrants, with pi/2 in the first, pi in the
// second and 3 pi/2 in the third:
//   [0, pi/2]        ->  x,          sin +, cos +
//   (pi/2, pi]       ->  pi - x,     sin +, cos -
//   (pi, 3 pi/2]     ->  x - pi,     sin -, cos -
//   (3 pi/2, P)      ->  P - x,      sin -, cos +
// First the half: h = x - pi where x > pi (sine negative), so 0 <= h <= pi
// (h < pi in the upper half, as x < P = 2 pi).  Then the quarter: where
// h > pi/2 the angle is pi - h, which is pi - x in the second quadrant and
// P - x in the fourth; the cosine is negative where exactly one of the two
// folds applied.
inline Fold foldAngle(std::int64_t x) noexcept {
  constexpr std::int64_t P = kernelTwoPiQ32;
  // Reduction, needed only for an angle outside [0, P): rare and predictable
  // for the exports, whose argument is already reduced modulo twoPiQ32 = P + 1
  // (only x = P itself reaches it).
  if (static_cast<std::uint64_t>(x) >= static_cast<std::uint64_t>(P)) [[unlikely]] {
    const std::int64_t r = x % P;
    x = r + (P & signMask(r));
  }
  const std::int64_t upperHalf = signMask(piQ32 - x);         // x > pi
  const std::int64_t h = x - (piQ32 & upperHalf);
  const std::int64_t secondQuarter = signMask(halfPiQ32 - h);  // h > pi/2
  return {selectWhere(secondQuarter, piQ32 - h, h), upperHalf, upperHalf ^ secondQuarter};
}
}  // namespace

Quadrant reduceAngle(Fixed angle) {
  const Fold f = foldAngle(angle.raw);
  // 1 | mask is -1 for a mask of all ones and 1 for zero.
  return {Fixed{f.angle}, static_cast<std::int8_t>(1 | f.sinMask), static_cast<std::int8_t>(1 | f.cosMask)};
}

std::pair<Fixed, Fixed> sinCosCordic(Fixed angle) {
  const Fold f = foldAngle(angle.raw);
  // Rotation from (K, 0) by the folded angle 0 <= Z <= pi/2: each step turns
  // the vector by -+atan(2^-i) toward Z = 0 (direction d = +1 for Z >= 0, -1
  // for Z < 0): X -= d (Y >> i), Y += d (X >> i), Z -= d A.
  //
  // Every sum of the recurrence is defined as overflow-tested, and none can
  // overflow here: the vector starts at length K < 1 and each step lengthens
  // it by sqrt(1 + 2^-2i), 1/K in all, so |X|, |Y| <= 2^32 plus a few units of
  // floor error; |Z| never exceeds pi/2 plus the sum of the angles, 3.32 * 2^32.
  // The tests are therefore left out.  The direction is data dependent and
  // unpredictable: it is applied as the sign mask of Z (d Y is Y negated
  // where the mask is set), so the unrolled loop is straight-line code.
  std::int64_t X = cordicGainQ32, Y = 0, Z = f.angle;
#pragma GCC unroll 32
  for (int i = 0; i < cordicIterations; ++i) {
    const std::int64_t xs = X >> i, ys = Y >> i;
    const std::int64_t down = signMask(Z);  // d = -1
    X -= negateWhere(ys, down);
    Y += negateWhere(xs, down);
    Z -= negateWhere(kCordicAngles[static_cast<std::size_t>(i)], down);
  }
  // The negations of the definition cannot overflow: |X|, |Y| < 2^33.
  return {Fixed{negateWhere(Y, f.sinMask)}, Fixed{negateWhere(X, f.cosMask)}};
}

namespace {
// The vectoring recurrence (direction d = -1 for y < 0, +1 otherwise):
// x += d (y >> i), y -= d (x >> i), Z += d A.  Returns the accumulated angle.
//
// x and y are arbitrary int64 here, so every sum is overflow-tested; any
// overflow fails the whole run with OverflowDefect "over- or underflow".  Both
// directions' sums and overflow flags are formed and the sign mask of y picks
// one of each, so the step has no branch.  The test is accumulated and raised
// after the loop: the values computed after an overflow are discarded, and
// every overflow of the recurrence carries the same text, so the outcome is
// the one of testing each step.  |Z| stays below the sum of the angles
// (1.75 * 2^32) and needs no test.
inline std::int64_t vectoringSteps(std::int64_t x, std::int64_t y) {
  std::int64_t Z = 0;
  std::int64_t overflow = 0;
#pragma GCC unroll 32
  for (int i = 0; i < cordicIterations; ++i) {
    const std::int64_t xs = x >> i, ys = y >> i;
    std::int64_t xPlus, xMinus, yPlus, yMinus;
    const std::int64_t oxp = __builtin_add_overflow(x, ys, &xPlus);
    const std::int64_t oxm = __builtin_sub_overflow(x, ys, &xMinus);
    const std::int64_t oyp = __builtin_add_overflow(y, xs, &yPlus);
    const std::int64_t oym = __builtin_sub_overflow(y, xs, &yMinus);
    const std::int64_t down = signMask(y);  // d = -1
    x = selectWhere(down, xMinus, xPlus);
    y = selectWhere(down, yPlus, yMinus);
    overflow |= selectWhere(down, oxm | oyp, oxp | oym);
    Z += negateWhere(kCordicAngles[static_cast<std::size_t>(i)], down);
  }
  if (overflow) [[unlikely]] raiseOverflow();
  return Z;
}
}  // namespace

Fixed atan2Cordic(Fixed y, Fixed x) {
  if (x.raw == 0) {
    if (y.raw > 0) return Fixed{halfPiQ32};
    if (y.raw < 0) return Fixed{-halfPiQ32};
    return Fixed{0};
  }
  // x < 0 is turned by pi into x > 0: (-x, -y) with the angle theta - pi for
  // y < 0, (-x, y) with pi - theta for y >= 0.  A negation of -2^63 fails
  // first ("Fixed negation overflow"), x before y, as the definition orders
  // them; that case is rare and kept off the straight path.
  const std::int64_t left = signMask(x.raw);           // x < 0
  const std::int64_t below = left & signMask(y.raw);   // x < 0 and y < 0
  if ((left & (x.raw == INT64_MIN || (below && y.raw == INT64_MIN))) != 0) [[unlikely]] {
    negChk(x);
    negChk(y);
  }
  const std::int64_t theta = vectoringSteps(negateWhere(x.raw, left), negateWhere(y.raw, below));
  // theta - pi and pi - theta are defined as overflow-tested subtractions;
  // |theta| < 1.75 * 2^32 and pi < 3.15 * 2^32, so neither can overflow.
  const std::int64_t above = left & ~below;  // x < 0 and y >= 0: pi - theta
  return Fixed{negateWhere(theta, above) + (piQ32 & above) - (piQ32 & below)};
}

}  // namespace kovrix

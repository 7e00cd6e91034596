#include "trigonometry/cordic.hpp"

#include <array>
#include <cmath>

#include "errors.hpp"
#include "float64_constants.hpp"
#include "fixed/arithmetic.hpp"

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
  std::int64_t r = x.raw % twoPiQ32;
  if (r < 0) r += twoPiQ32;
  return Fixed{r};
}

Fixed clampQ32(Fixed x) {
  if (x.raw < -cordicMaxQ) return Fixed{-cordicMaxQ};
  if (x.raw > cordicMaxQ) return Fixed{cordicMaxQ};
  return x;
}

Quadrant reduceAngle(Fixed angle) {
  constexpr std::int64_t P = kernelTwoPiQ32;
  std::int64_t x = angle.raw;
  if (x < 0 || x >= P) {
    const std::int64_t r = x % P;
    x = (x < 0 && r != 0) ? r + P : r;
  }
  // 0 <= x < P.  The quadrant tests in this order put pi/2 in the first
  // quadrant, pi in the second (angle 0) and 3*pi/2 in the last branch.
  if (x <= halfPiQ32) return {Fixed{x}, 1, 1};
  if (x <= piQ32) return {Fixed{piQ32 - x}, 1, -1};
  if (x > threeHalfPiQ32) return {Fixed{P - x}, -1, 1};
  return {Fixed{x - piQ32}, -1, -1};
}

std::pair<Fixed, Fixed> sinCosCordic(Fixed angle) {
  const Quadrant q = reduceAngle(angle);
  // Rotation from (K, 0) by the folded angle 0 <= Z <= pi/2: each step turns
  // the vector by -+atan(2^-i) toward Z = 0 (direction d = +1 for Z >= 0, -1
  // for Z < 0): X -= d (Y >> i), Y += d (X >> i), Z -= d A.
  //
  // Every sum of the recurrence is defined as overflow-tested, and none can
  // overflow here: the vector starts at length K < 1 and each step lengthens
  // it by sqrt(1 + 2^-2i), 1/K in all, so |X|, |Y| <= 2^32 plus a few units of
  // floor error; |Z| never exceeds pi/2 plus the sum of the angles, 3.32 * 2^32.
  // The tests are therefore left out.  The direction of a step is data
  // dependent and unpredictable, so the loop selects instead of branching.
  std::int64_t X = cordicGainQ32, Y = 0, Z = q.angle.raw;
  for (int i = 0; i < cordicIterations; ++i) {
    const std::int64_t xs = X >> i, ys = Y >> i;
    const std::int64_t A = kCordicAngles[static_cast<std::size_t>(i)];
    // Both directions are formed and one selected (conditional moves).
    const bool down = Z < 0;
    const std::int64_t nX = down ? X + ys : X - ys;
    const std::int64_t nY = down ? Y - xs : Y + xs;
    Z = down ? Z + A : Z - A;
    X = nX;
    Y = nY;
  }
  Fixed c{X}, s{Y};
  if (q.cosSign < 0) c = negChk(c);
  if (q.sinSign < 0) s = negChk(s);
  return {s, c};
}

namespace {
// The vectoring recurrence (direction d = -1 for y < 0, +1 otherwise):
// x += d (y >> i), y -= d (x >> i), Z += d A.  Returns the accumulated angle
// and leaves the final x in *xOut.
//
// x and y are arbitrary int64 here, so every sum is overflow-tested; any
// overflow fails the whole run with
// OverflowDefect "over- or underflow".  The test is accumulated and raised
// after the loop: the values computed after an overflow are discarded, and
// every overflow of the recurrence carries the same text, so the outcome is
// the one of testing each step.  |Z| stays below the sum of the angles
// (1.75 * 2^32) and needs no test.
inline std::int64_t vectoringSteps(std::int64_t x, std::int64_t y, std::int64_t* xOut) {
  std::int64_t Z = 0;
  bool overflow = false;
  for (int i = 0; i < cordicIterations; ++i) {
    const std::int64_t xs = x >> i, ys = y >> i;
    // Both directions are formed and one is selected, so the step has no
    // data-dependent branch.
    std::int64_t xPlus, xMinus, yPlus, yMinus;
    const bool oxp = __builtin_add_overflow(x, ys, &xPlus);
    const bool oxm = __builtin_sub_overflow(x, ys, &xMinus);
    const bool oyp = __builtin_add_overflow(y, xs, &yPlus);
    const bool oym = __builtin_sub_overflow(y, xs, &yMinus);
    const std::int64_t A = kCordicAngles[static_cast<std::size_t>(i)];
    const bool down = y < 0;
    x = down ? xMinus : xPlus;
    overflow |= down ? (oxm | oyp) : (oxp | oym);
    y = down ? yPlus : yMinus;
    Z = down ? Z - A : Z + A;
  }
  if (overflow) [[unlikely]] raiseOverflow();
  *xOut = x;
  return Z;
}
}  // namespace

Fixed atan2Cordic(Fixed y, Fixed x) {
  if (x.raw == 0) {
    if (y.raw > 0) return Fixed{halfPiQ32};
    if (y.raw < 0) return Fixed{-halfPiQ32};
    return Fixed{0};
  }
  // Only the angle is needed: the magnitude's product by K < 1 cannot fail, so
  // leaving it out changes no outcome.
  std::int64_t xf;
  if (x.raw > 0) return Fixed{vectoringSteps(x.raw, y.raw, &xf)};
  if (y.raw < 0) {
    const Fixed nx = negChk(x), ny = negChk(y);
    return subChk(Fixed{vectoringSteps(nx.raw, ny.raw, &xf)}, Fixed{piQ32});
  }
  const Fixed nx = negChk(x);
  return subChk(Fixed{piQ32}, Fixed{vectoringSteps(nx.raw, y.raw, &xf)});
}

}  // namespace kovrix

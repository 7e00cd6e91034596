#include "trigonometry/cordic.hpp"

#include <array>
#include <cmath>

#include "errors.hpp"
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

// One overflow-tested step of a CORDIC recurrence.
inline std::int64_t add(std::int64_t a, std::int64_t b) { return checkedAdd(a, b); }
inline std::int64_t sub(std::int64_t a, std::int64_t b) { return checkedSub(a, b); }

}  // namespace

std::int64_t getCordicAngle(int i) { return kCordicAngles[static_cast<std::size_t>(i)]; }

std::int64_t computeCordicAngle(int i) {
  if (i == 0) return toFixed(0.7853981633974483).raw;
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
  // Rotation from (K, 0) by the folded angle, 0 <= Z <= pi/2: every step turns
  // the vector by +-atan(2^-i), driving Z toward 0.  X and Y stay within
  // [-1.65, 1.65] and Z within [-1.75, 1.75], so the overflow tests never fire
  // here; they are kept because the step is defined as overflow-tested.
  std::int64_t X = cordicGainQ32, Y = 0, Z = q.angle.raw;
  for (int i = 0; i < cordicIterations; ++i) {
    const std::int64_t A = kCordicAngles[static_cast<std::size_t>(i)];
    const std::int64_t xs = X >> i, ys = Y >> i;
    if (Z < 0) {
      X = add(X, ys);
      Y = sub(Y, xs);
      Z = add(Z, A);
    } else {
      X = sub(X, ys);
      Y = add(Y, xs);
      Z = sub(Z, A);
    }
  }
  Fixed c{X}, s{Y};
  if (q.cosSign < 0) c = negChk(c);
  if (q.sinSign < 0) s = negChk(s);
  return {s, c};
}

namespace {
// The vectoring recurrence; returns the accumulated angle and leaves the
// final x in *xOut.
inline std::int64_t vectoringSteps(std::int64_t x, std::int64_t y, std::int64_t* xOut) {
  std::int64_t Z = 0;
  for (int i = 0; i < cordicIterations; ++i) {
    const std::int64_t A = kCordicAngles[static_cast<std::size_t>(i)];
    const std::int64_t xs = x >> i, ys = y >> i;
    if (y < 0) {
      x = sub(x, ys);
      y = add(y, xs);
      Z = sub(Z, A);
    } else {
      x = add(x, ys);
      y = sub(y, xs);
      Z = add(Z, A);
    }
  }
  *xOut = x;
  return Z;
}
}  // namespace

std::pair<Fixed, Fixed> cordicVectoring(Fixed x, Fixed y) {
  std::int64_t xf;
  const std::int64_t z = vectoringSteps(x.raw, y.raw, &xf);
  return {Fixed{z}, Fixed{xf} * Fixed{cordicGainQ32}};
}

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

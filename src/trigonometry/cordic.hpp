// Circular CORDIC on Q32.32: rotation mode (sine and cosine together) and
// vectoring mode (angle and magnitude of a vector, hence atan2), with the
// angle reductions they use.  Integer shifts and overflow-tested additions
// only; 32 iterations, no allocation.
#pragma once

#include <cstdint>
#include <utility>

#include "fixed/fixed_point.hpp"

namespace kovrix {

// Number of CORDIC iterations, and entries of the angle table.
inline constexpr int cordicIterations = 32;

// Entry i (0..31) of the circular angle table: atan(2^-i) * 2^32 truncated
// toward zero, as computed in float64 (entry 0 from the float64 pi/4).
std::int64_t getCordicAngle(int i);
// The same entry recomputed from libm: toFixed(atan(pow(2, -i))), entry 0
// toFixed(0.7853981633974483).  The stored table must equal it.
std::int64_t computeCordicAngle(int i);
// K * 2^32 truncated, K = prod_{i=0}^{31} 1/sqrt(1 + 2^-2i) = 0.6072529350...
inline constexpr std::int64_t cordicGainQ32 = 2608131496;
inline std::int64_t getCordicGain() { return cordicGainQ32; }

// x floored modulo twoPiQ32 (the exported period 26986075409): [0, twoPiQ32).
Fixed reduceQ32(Fixed x);
// x clamped to [-cordicMaxQ, cordicMaxQ] = [-2^62, 2^62].
Fixed clampQ32(Fixed x);

// An angle folded into the first quadrant, with the signs that restore sine
// and cosine of the original angle.
struct Quadrant {
  Fixed angle;          // 0 <= angle <= pi/2
  std::int8_t sinSign;  // +1 or -1
  std::int8_t cosSign;  // +1 or -1
};
// Reduces x modulo the kernel period 2*piQ32 = 26986075408 and folds it into
// [0, pi/2].  Cannot fail.
Quadrant reduceAngle(Fixed x);

// (sin x, cos x) by 32 rotations from (K, 0); any x (reduced internally).
// Cannot fail: the recurrence is defined with overflow tests, but the angle
// is always reduced first and the coordinates of a reduced angle stay below
// 1.65, so no test could fire and none is made.
std::pair<Fixed, Fixed> sinCosCordic(Fixed x);

// The angle of the point (x, y), in (-pi, pi] up to a few units of CORDIC
// residue.  OverflowDefect on overflow in the iterations, on negating -2^63
// ("Fixed negation overflow") and on the final subtraction.
Fixed atan2Cordic(Fixed y, Fixed x);

}  // namespace kovrix

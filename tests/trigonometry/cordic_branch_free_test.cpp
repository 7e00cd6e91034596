// The branch-free CORDIC loops (directions and quadrant signs applied as sign
// masks) against the loops they replaced, kept here verbatim as the
// reference: every result bit and every failure the same, on random
// arguments over all four quadrants, the quadrant boundaries, the reduction
// edges and the overflow edges of vectoring.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "errors.hpp"
#include "fixed/arithmetic.hpp"
#include "hyperbolic/cordic.hpp"
#include "support/fixed.hpp"
#include "trigonometry/cordic.hpp"

namespace kovrix {
namespace {

using namespace kovrix::testsupport;

// ---- the previous loops (selects on the direction, branches on the quadrant) ----

Quadrant previousReduceAngle(Fixed angle) {
  constexpr std::int64_t P = kernelTwoPiQ32;
  std::int64_t x = angle.raw;
  if (x < 0 || x >= P) {
    const std::int64_t r = x % P;
    x = (x < 0 && r != 0) ? r + P : r;
  }
  if (x <= halfPiQ32) return {Fixed{x}, 1, 1};
  if (x <= piQ32) return {Fixed{piQ32 - x}, 1, -1};
  if (x > threeHalfPiQ32) return {Fixed{P - x}, -1, 1};
  return {Fixed{x - piQ32}, -1, -1};
}

std::pair<Fixed, Fixed> previousSinCos(Fixed angle) {
  const Quadrant q = previousReduceAngle(angle);
  std::int64_t X = cordicGainQ32, Y = 0, Z = q.angle.raw;
  for (int i = 0; i < cordicIterations; ++i) {
    const std::int64_t xs = X >> i, ys = Y >> i, A = getCordicAngle(i);
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

std::int64_t previousVectoring(std::int64_t x, std::int64_t y) {
  std::int64_t Z = 0;
  bool overflow = false;
  for (int i = 0; i < cordicIterations; ++i) {
    const std::int64_t xs = x >> i, ys = y >> i;
    std::int64_t xPlus, xMinus, yPlus, yMinus;
    const bool oxp = __builtin_add_overflow(x, ys, &xPlus);
    const bool oxm = __builtin_sub_overflow(x, ys, &xMinus);
    const bool oyp = __builtin_add_overflow(y, xs, &yPlus);
    const bool oym = __builtin_sub_overflow(y, xs, &yMinus);
    const std::int64_t A = getCordicAngle(i);
    const bool down = y < 0;
    x = down ? xMinus : xPlus;
    overflow |= down ? (oxm | oyp) : (oxp | oym);
    y = down ? yPlus : yMinus;
    Z = down ? Z - A : Z + A;
  }
  if (overflow) raiseOverflow();
  return Z;
}

Fixed previousAtan2(Fixed y, Fixed x) {
  if (x.raw == 0) return Fixed{y.raw > 0 ? halfPiQ32 : y.raw < 0 ? -halfPiQ32 : 0};
  if (x.raw > 0) return Fixed{previousVectoring(x.raw, y.raw)};
  if (y.raw < 0) {
    const Fixed nx = negChk(x), ny = negChk(y);
    return subChk(Fixed{previousVectoring(nx.raw, ny.raw)}, Fixed{piQ32});
  }
  const Fixed nx = negChk(x);
  return subChk(Fixed{piQ32}, Fixed{previousVectoring(nx.raw, y.raw)});
}

std::pair<Fixed, Fixed> previousSinhCosh(Fixed a) {
  (void)sinhCoshCordic(a);  // the budget test, with its failure, is unchanged
  std::int64_t X = hyperbolicGainQ32, Y = 0, Z = a.raw;
  for (int s = 0; s < hyperbolicSteps; ++s) {
    const int i = hyperbolicStepIndex(s);
    const std::int64_t xs = X >> i, ys = Y >> i, A = getCordicHyperbolicAngle(i);
    const bool down = Z < 0;
    const std::int64_t nX = down ? X - ys : X + ys;
    const std::int64_t nY = down ? Y - xs : Y + xs;
    Z = down ? Z + A : Z - A;
    X = nX;
    Y = nY;
  }
  return {Fixed{Y}, Fixed{X}};
}

// ---- comparison ---------------------------------------------------------------

// The value, or the kind and text of the failure.
template <class F>
std::pair<std::optional<std::pair<std::int64_t, std::int64_t>>, std::string> outcome(F&& f) {
  try {
    const auto [a, b] = f();
    return {std::pair{a.raw, b.raw}, ""};
  } catch (const Error& e) {
    return {std::nullopt, std::string(kindName(e.kind())) + ": " + e.what()};
  }
}

// A raw argument near a quadrant boundary, a reduction edge or an overflow
// edge, or anywhere.
std::int64_t edgy() {
  static constexpr std::int64_t edges[] = {0, halfPiQ32, piQ32, threeHalfPiQ32, kernelTwoPiQ32, twoPiQ32,
                                           INT64_MIN, INT64_MAX, std::int64_t{1} << 62, -(std::int64_t{1} << 62),
                                           hyperbolicBudgetQ32, hyperbolicConvergenceBudgetQ32};
  switch (below(4)) {
    case 0: {
      // Wrapping offset: INT64_MAX + 2 lands near INT64_MIN, still an edge.
      const std::int64_t e = static_cast<std::int64_t>(static_cast<std::uint64_t>(edges[below(std::size(edges))]) +
                                                       static_cast<std::uint64_t>(between(-3, 3)));
      return below(2) ? e : static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(e));
    }
    case 1: return between(-8 * kernelTwoPiQ32, 8 * kernelTwoPiQ32);  // every quadrant, both signs
    default: return anyInt64();
  }
}

TEST(CordicBranchFree, SameBitsAsTheBranchingLoops) {
  for (int n = 0; n < 400000; ++n) {
    const Fixed x{edgy()}, y{edgy()};
    const std::string at = "x = " + std::to_string(x.raw) + ", y = " + std::to_string(y.raw) + " [" + seedNote() + "]";
    const Quadrant q = reduceAngle(x), p = previousReduceAngle(x);
    ASSERT_EQ(std::tuple(q.angle.raw, q.sinSign, q.cosSign), std::tuple(p.angle.raw, p.sinSign, p.cosSign)) << at;
    ASSERT_EQ(outcome([&] { return sinCosCordic(x); }), outcome([&] { return previousSinCos(x); })) << at;
    ASSERT_EQ(outcome([&] { return std::pair{atan2Cordic(y, x), Fixed{0}}; }),
              outcome([&] { return std::pair{previousAtan2(y, x), Fixed{0}}; }))
        << at;
    const Fixed h{x.raw % (2 * hyperbolicConvergenceBudgetQ32)};  // inside and just outside the budget
    ASSERT_EQ(outcome([&] { return sinhCoshCordic(h); }), outcome([&] { return previousSinhCosh(h); })) << at;
  }
}

TEST(CordicBranchFree, ReduceQ32KeepsItsRemainder) {
  for (int n = 0; n < 200000; ++n) {
    const std::int64_t x = edgy();
    std::int64_t r = x % twoPiQ32;
    if (r < 0) r += twoPiQ32;
    ASSERT_EQ(reduceQ32(Fixed{x}).raw, r) << x;
  }
}

}  // namespace
}  // namespace kovrix

// Hyperbolic CORDIC on Q32.32 in rotation mode: sinh and cosh together, and
// the exponential extended beyond the convergence range by halving the
// argument and squaring the result.
#pragma once

#include <cstdint>
#include <utility>

#include "fixed/fixed_point.hpp"

namespace kovrix {

// The schedule: indices 1..32 with 4 and 13 taken twice (the repeats k -> 3k+1
// from 4 that fall within 32): 34 steps.
inline constexpr int hyperbolicSteps = 34;
// Index (shift) of step s, s = 0..33.
int hyperbolicStepIndex(int s);

// atanh(2^-i) * 2^32 truncated toward zero for index i = 1..32, as computed in
// float64 (i = 1 from the float64 constant 0.5493061443340549).
std::int64_t getCordicHyperbolicAngle(int i);
// The same value recomputed from libm atanh and pow, for checking the table.
std::int64_t computeCordicHyperbolicAngle(int i);
// Start value 2^32 / K_h truncated, K_h = prod sqrt(1 - 2^-2i) over the 34
// steps = 0.8281593609602.
inline constexpr std::int64_t hyperbolicGainQ32 = 5186160416;
inline std::int64_t getCordicHyperbolicGain() { return hyperbolicGainQ32; }
// Sum of the angles of all 34 steps (1.1181730141): the largest |argument|
// for which the rotations converge.
inline constexpr std::int64_t hyperbolicConvergenceBudgetQ32 = 4802516527;
std::int64_t hyperbolicConvergenceBudget();

// x clamped to [-hyperbolicBudgetQ32, hyperbolicBudgetQ32] (+-1.1).
Fixed clampHyperbolicQ32(Fixed x);

// (sinh a, cosh a).  |a| above the budget raises ValueError
// "sinhCoshCordic: |angle| <|a|> exceeds the CORDIC hyperbolic convergence
// budget <B> (<= sum atanh(2^-i) ~ 1.1182); use the BigFloat exp/sinh/cosh
// (scaling-and-squaring) for larger arguments"; an overflow raises
// OverflowDefect "over- or underflow".
std::pair<Fixed, Fixed> sinhCoshCordic(Fixed a);

// tanh a = sinh a / cosh a (the Q32.32 truncating quotient), with the budget
// failure of sinhCoshCordic.
Fixed tanhCordic(Fixed a);

// exp a = sinh + cosh, for |a| beyond the budget exp(a / 2^i)^(2^i) with the
// first halving count i that brings a / 2^i inside it.  A result beyond int64
// raises OverflowDefect ("Fixed addition overflow" or "BigInt exceeds int64
// range"), from about a = 21.49.
Fixed expCordicScaled(Fixed a);

}  // namespace kovrix

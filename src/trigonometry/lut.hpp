// Table sine and cosine on Q32.32: the nearest of 256 equally spaced points
// of one kernel period, no interpolation.  Cannot fail.
#pragma once

#include <array>
#include <cstdint>

#include "fixed/fixed_point.hpp"

namespace kovrix {

inline constexpr int sineTableSize = 256;

// Entry k = sin(2*pi*k/256) * 2^32 truncated toward zero, from the float64
// sin and the float64 pi.
extern const std::array<std::int64_t, sineTableSize> sineTable;
// The same entry recomputed from libm, for checking the stored table.
std::int64_t computeSineTableEntry(int k);

// sineTable at the point nearest x (ties to the higher point) on the kernel
// period 2*piQ32 = 26986075408.
Fixed sin_lut(Fixed x);
// sin_lut(x + pi/2) after reducing x onto the kernel period.
Fixed cos_lut(Fixed x);

}  // namespace kovrix

// A direction applied with arithmetic instead of a branch.
//
// The CORDIC loops turn by +-angle each step, the sign chosen by data that no
// predictor can learn (the sign of the residual angle, or of y).  Written as a
// select, the compiler may still branch on it; written with a sign mask the
// step is straight-line code whose cost is its dependency chain.
#pragma once

#include <cstdint>

namespace kovrix {

// All ones when v < 0, zero otherwise (the arithmetic shift copies the sign).
constexpr std::int64_t signMask(std::int64_t v) noexcept { return v >> 63; }

// -v where the mask is all ones, v where it is zero: (v ^ m) - m, in
// two's-complement arithmetic (so the one value without a negation, -2^63,
// stays -2^63 rather than overflowing; callers rule it out or test for it).
constexpr std::int64_t negateWhere(std::int64_t v, std::int64_t m) noexcept {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(v) ^ static_cast<std::uint64_t>(m)) -
                                   static_cast<std::uint64_t>(m));
}

// a where the mask is all ones, b where it is zero.
constexpr std::int64_t selectWhere(std::int64_t m, std::int64_t a, std::int64_t b) noexcept {
  return (a & m) | (b & ~m);
}

}  // namespace kovrix

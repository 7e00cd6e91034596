// The float64 constants shared by the families, each written out once.
#pragma once

#include <bit>
#include <cstdint>
#include <limits>

namespace kovrix::f64 {

// The canonical quiet NaN 0x7FF8000000000000: the answer of a domain error.
inline constexpr double quietNaN = std::bit_cast<double>(std::uint64_t{0x7FF8000000000000});
inline constexpr double infinity = std::numeric_limits<double>::infinity();

// The float64 nearest pi: 3.141592653589793, 1.2246e-16 below pi.  Its
// multiples by powers of two are exact.
inline constexpr double pi = 3.141592653589793;
inline constexpr double halfPi = pi / 2;     // 1.5707963267948966
inline constexpr double quarterPi = pi / 4;  // 0.7853981633974483
inline constexpr double twoPi = 2 * pi;      // 6.283185307179586
// The float64 nearest e: 2.718281828459045.
inline constexpr double e = 2.718281828459045;
// 2^32, the scale of a Q32.32 raw value.
inline constexpr double q32Scale = 4294967296.0;

static_assert(halfPi == 1.5707963267948966 && quarterPi == 0.7853981633974483 && twoPi == 6.283185307179586);

}  // namespace kovrix::f64

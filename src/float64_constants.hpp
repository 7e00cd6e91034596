// The float64 constants shared by the families, each written out once.
#pragma once

#include <bit>
#include <cstdint>
#include <limits>

namespace kovrix::f64 {

// The canonical quiet NaN 0x7FF8000000000000: the answer of a domain error.
inline constexpr double quietNaN = std::bit_cast<double>(std::uint64_t{0x7FF8000000000000});
inline constexpr double infinity = std::numeric_limits<double>::infinity();

}  // namespace kovrix::f64

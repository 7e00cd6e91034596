// How many arguments a Fixed, float64 or interval benchmark row cycles
// through: 65,536 random ones, drawn once per row.  Far more than a branch
// predictor can learn: on a short cycled list (1,024 arguments) a branching
// 32-step CORDIC loop read three times faster than on fresh arguments, so a
// row on few inputs times a case no caller sees.  Rows that time one repeated
// argument on purpose say so in their name ("same_argument").
#pragma once

#include <cstddef>

namespace kovrix::bench {

inline constexpr std::size_t kRandomInputs = 65536;  // a power of two: cycled with a mask
static_assert((kRandomInputs & (kRandomInputs - 1)) == 0);

}  // namespace kovrix::bench

#include "fixed/fixed_point.hpp"

namespace kovrix {

// Both conversions are exact and constant: they are folded at compile time,
// and the static_asserts pin them to the raw values the kernels assume.
static_assert(toFixed(3.141592653589793).raw == piQ32);
static_assert(toFixed(2.718281828459045).raw == eQ32);

Fixed piFixed() { return toFixed(3.141592653589793); }
Fixed eFixed() { return toFixed(2.718281828459045); }

}  // namespace kovrix

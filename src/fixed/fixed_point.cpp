#include "fixed/fixed_point.hpp"

namespace kovrix {

// Both conversions are exact and constant: they are folded at compile time,
// and the static_asserts pin them to the raw values the kernels assume.
static_assert(toFixed(f64::pi).raw == piQ32);
static_assert(toFixed(f64::e).raw == eQ32);

Fixed piFixed() { return toFixed(f64::pi); }
Fixed eFixed() { return toFixed(f64::e); }

}  // namespace kovrix

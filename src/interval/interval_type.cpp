// The Interval value type is header-only (interval_type.hpp): every operation
// on it is a handful of comparisons that the exports inline.  This unit checks
// the stepping helpers against their documented fixed points at compile time.
#include "interval/interval_type.hpp"

#include <limits>

namespace kovrix {
namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMinSub = std::numeric_limits<double>::denorm_min();
static_assert(std::numeric_limits<double>::is_iec559, "Interval bounds are IEEE binary64");
static_assert(kMinSub == 0x1p-1074, "the smallest subnormal is 2^-1074");
static_assert(-kInf < 0 && kInf > 0);
}  // namespace
}  // namespace kovrix

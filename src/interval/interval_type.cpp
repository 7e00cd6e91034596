// The Interval value type is header-only (interval_type.hpp): every operation
// on it is a handful of comparisons that the exports inline.  Only the rare
// inputs of the one-step moves are handled out of line, here.
#include "interval/interval_type.hpp"

#include <limits>

namespace kovrix {
namespace detail {

double nextDownSpecial(double v) noexcept {
  if (v != v || v == -std::numeric_limits<double>::infinity()) return v;
  if (v == 0) return -std::numeric_limits<double>::denorm_min();
  return std::numeric_limits<double>::max();  // +inf
}

double nextUpSpecial(double v) noexcept {
  if (v != v || v == std::numeric_limits<double>::infinity()) return v;
  if (v == 0) return std::numeric_limits<double>::denorm_min();
  return -std::numeric_limits<double>::max();  // -inf
}

}  // namespace detail

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMinSub = std::numeric_limits<double>::denorm_min();
static_assert(std::numeric_limits<double>::is_iec559, "Interval bounds are IEEE binary64");
static_assert(kMinSub == 0x1p-1074, "the smallest subnormal is 2^-1074");
static_assert(-kInf < 0 && kInf > 0);
}  // namespace
}  // namespace kovrix

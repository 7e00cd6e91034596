#include "float/formatting.hpp"

#include <bit>
#include <cmath>

#include "arithmetic/bitwise_big.hpp"

namespace kovrix {

namespace {

// The `count` bits of x just above bit `from` (count <= 64), and whether any
// bit below `from` is set.
struct BitWindow {
  std::uint64_t bits;
  bool sticky;
};
BitWindow windowAt(const BigUInt& x, std::int64_t from, int count) {
  BigUInt q = shr(x, from);
  BitWindow w{q.isZero() ? 0 : q[0], anyLowBitSet(x, from)};
  if (count < 64) w.bits &= (std::uint64_t{1} << count) - 1;
  return w;
}

// kept + 1 when the round bit r is set and (sticky, or kept is odd): ties to even.
std::uint64_t roundHalfEven(std::uint64_t kept, bool r, bool sticky) noexcept {
  return (r && (sticky || (kept & 1) != 0)) ? kept + 1 : kept;
}

}  // namespace

double toFloat64(const BigFloat& x) {
  if (x.isZero()) return 0.0;
  const double sign = x.negative ? -1.0 : 1.0;
  const std::int64_t length = bitLength(x.mantissa);
  const std::int64_t e = x.exponent;
  // The value lies in [2^t, 2^(t+1)).
  const std::int64_t t = checkedSub(checkedAdd(length, e), 1);
  if (t >= 1024) return sign * HUGE_VAL;
  if (t < -1076) return sign * 0.0;
  if (t >= -1022) {
    if (length <= 53) return sign * std::ldexp(static_cast<double>(x.mantissa[0]), static_cast<int>(e));
    // 53 kept bits and the round bit below them; 2^-1074 <= 2^(t-52) keeps
    // the scale normal or subnormal-exact, and a kept value rounded up to
    // 2^53 at the top of the range overflows to infinity in the product.
    const BitWindow w = windowAt(x.mantissa, length - 54, 54);
    const std::uint64_t kept = roundHalfEven(w.bits >> 1, (w.bits & 1) != 0, w.sticky);
    return sign * (static_cast<double>(kept) * std::ldexp(1.0, static_cast<int>(t - 52)));
  }
  // Subnormal range: the value in units of 2^-1074 is mantissa * 2^s.
  const std::int64_t s = checkedAdd(e, 1074);
  std::uint64_t kept;
  if (s >= 0) {
    kept = x.mantissa[0] << s;  // the value is below 2^-1022, so kept < 2^52
  } else {
    const BitWindow w = windowAt(x.mantissa, -s - 1, 54);
    kept = roundHalfEven(w.bits >> 1, (w.bits & 1) != 0, w.sticky);
  }
  // A kept value that carried into bit 52 is the pattern of 2^-1022.
  return sign * std::bit_cast<double>(kept);
}

}  // namespace kovrix

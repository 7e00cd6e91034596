#include "arithmetic/comparison_big.hpp"

namespace kovrix {

std::int64_t cmp(const BigUInt& a, const BigUInt& b) noexcept {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return cmpN(a.limbs(), b.limbs());
}

std::int64_t cmp(const BigInt& a, const BigInt& b) noexcept {
  if (a.magnitude.isZero() && b.magnitude.isZero()) return 0;
  if (a.negative != b.negative) return a.negative ? -1 : 1;
  std::int64_t c = cmp(a.magnitude, b.magnitude);
  return a.negative ? -c : c;
}

}  // namespace kovrix

// Three-way comparison of BigUInts (magnitudes) and BigInts (signed).
#pragma once

#include <compare>

#include "arithmetic/big_int.hpp"

namespace kovrix {

// Compares two limb sequences of equal length from the most significant limb
// down; -1, 0 or 1.
inline int cmpN(std::span<const Limb> a, std::span<const Limb> b) noexcept {
  assert(a.size() == b.size());
  for (std::size_t i = a.size(); i-- > 0;)
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  return 0;
}

// Magnitude comparison: the longer normalised value is the greater; at equal
// length the first differing limb from the top decides.
inline std::int64_t cmp(const BigUInt& a, const BigUInt& b) noexcept {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return cmpN(a.limbs(), b.limbs());
}
// Signed comparison; zero has no sign.
inline std::int64_t cmp(const BigInt& a, const BigInt& b) noexcept {
  if (a.magnitude.isZero() && b.magnitude.isZero()) return 0;
  if (a.negative != b.negative) return a.negative ? -1 : 1;
  std::int64_t c = cmp(a.magnitude, b.magnitude);
  return a.negative ? -c : c;
}

inline bool operator==(const BigUInt& a, const BigUInt& b) noexcept { return cmp(a, b) == 0; }
inline std::strong_ordering operator<=>(const BigUInt& a, const BigUInt& b) noexcept { return cmp(a, b) <=> 0; }
inline bool operator==(const BigInt& a, const BigInt& b) noexcept { return cmp(a, b) == 0; }
inline std::strong_ordering operator<=>(const BigInt& a, const BigInt& b) noexcept { return cmp(a, b) <=> 0; }

}  // namespace kovrix

// Unsigned addition: the carry-propagating kernels and the owning BigUInt add.
#pragma once

#include <algorithm>

#include "arithmetic/big_int.hpp"

namespace kovrix {

// out = a + b over len(a) limbs, b read as zero past its end; returns the
// carry out of the top limb (0 or 1).
// Contract: len(a) >= len(b), len(out) = len(a); out may be the same span as
// a or start where b starts (in-place addition), no other overlap.
inline Limb addN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b) noexcept {
  assert(a.size() >= b.size() && out.size() == a.size());
  std::size_t n = b.size(), i = 0;
  unsigned char carry = 0;
  for (; i < n; ++i) {
    unsigned long long s;
    carry = _addcarry_u64(carry, a[i], b[i], &s);
    out[i] = s;
  }
  for (; i < a.size() && carry; ++i) {
    out[i] = a[i] + 1;
    carry = out[i] == 0;
  }
  if (out.data() != a.data())
    for (; i < a.size(); ++i) out[i] = a[i];
  return carry;
}

// x += v (one limb) over len(x) limbs; returns the carry out of the top.
inline Limb addLimbInPlace(std::span<Limb> x, Limb v) noexcept {
  for (std::size_t i = 0; i < x.size() && v; ++i) {
    x[i] += v;
    v = x[i] < v;
  }
  return v;
}

// z += y at limb `offset`, the carry run through the rest of z.
// Contract: the sum fits z (y's limbs beyond z's end, if any, are zero);
// y overlaps nothing of z from `offset` on.
inline void addAtN(std::span<Limb> z, std::size_t offset, std::span<const Limb> y) noexcept {
  auto tail = z.subspan(offset);
  std::size_t used = normalizedLength(y);
  assert(used <= tail.size());
  used = std::min(used, tail.size());
  [[maybe_unused]] Limb carry = addN(tail, tail, y.first(used));
  assert(carry == 0);
}

// a + b: result length max(len a, len b) + 1, the top limb the final carry,
// trimmed.
BigUInt add(const BigUInt& a, const BigUInt& b);
inline BigUInt operator+(const BigUInt& a, const BigUInt& b) { return add(a, b); }

}  // namespace kovrix

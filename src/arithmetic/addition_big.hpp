// Unsigned addition: the carry-propagating kernels and the owning BigUInt add.
#pragma once

#include <algorithm>

#include "arithmetic/big_int.hpp"

namespace kovrix {

// out = a + b over n limbs (a, b, out all n limbs long), plus the carry in
// CF; returns the carry out (0 or 1).  One adc chain: the carry stays in CF
// from limb to limb, four limbs per turn, and the loop counters move with
// lea, dec and jrcxz, which leave CF alone.
// Contract: out may be a or b (all four limbs of a turn are read before any
// is written), no other overlap.  The asm is volatile: its stores must stay
// even where a caller ignores the carry.
inline Limb addSameLengthN(Limb* out, const Limb* a, const Limb* b, std::size_t n) noexcept {
  std::size_t single = n % 4, quads = n / 4;
  Limb carry = 0, t0, t1, t2, t3;
  __asm__ volatile(
      "testq %[single], %[single]\n\t"  // also clears CF
      "jz 2f\n\t"
      "1:\n\t"
      "movq (%[a]), %[t0]\n\t"
      "adcq (%[b]), %[t0]\n\t"
      "movq %[t0], (%[o])\n\t"
      "leaq 8(%[a]), %[a]\n\t"
      "leaq 8(%[b]), %[b]\n\t"
      "leaq 8(%[o]), %[o]\n\t"
      "decq %[single]\n\t"
      "jnz 1b\n\t"
      "2:\n\t"
      "jrcxz 4f\n\t"
      "3:\n\t"
      "movq (%[a]), %[t0]\n\t"
      "movq 8(%[a]), %[t1]\n\t"
      "movq 16(%[a]), %[t2]\n\t"
      "movq 24(%[a]), %[t3]\n\t"
      "adcq (%[b]), %[t0]\n\t"
      "adcq 8(%[b]), %[t1]\n\t"
      "adcq 16(%[b]), %[t2]\n\t"
      "adcq 24(%[b]), %[t3]\n\t"
      "movq %[t0], (%[o])\n\t"
      "movq %[t1], 8(%[o])\n\t"
      "movq %[t2], 16(%[o])\n\t"
      "movq %[t3], 24(%[o])\n\t"
      "leaq 32(%[a]), %[a]\n\t"
      "leaq 32(%[b]), %[b]\n\t"
      "leaq 32(%[o]), %[o]\n\t"
      "decq %[quads]\n\t"
      "jnz 3b\n\t"
      "4:\n\t"
      "adcq $0, %[carry]"
      : [carry] "+&r"(carry), [a] "+&r"(a), [b] "+&r"(b), [o] "+&r"(out), [single] "+&r"(single), [quads] "+&c"(quads),
        [t0] "=&r"(t0), [t1] "=&r"(t1), [t2] "=&r"(t2), [t3] "=&r"(t3)
      :
      : "cc", "memory");
  return carry;
}

// out = a + b over len(a) limbs, b read as zero past its end; returns the
// carry out of the top limb (0 or 1).
// Contract: len(a) >= len(b), len(out) = len(a); out may be the same span as
// a or start where b starts (in-place addition), no other overlap.
inline Limb addN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b) noexcept {
  assert(a.size() >= b.size() && out.size() == a.size());
  std::size_t n = b.size(), i = n;
  Limb carry = addSameLengthN(out.data(), a.data(), b.data(), n);
  for (; i < a.size() && carry; ++i) {
    out[i] = a[i] + 1;
    carry = out[i] == 0;
  }
  if (out.data() != a.data() && i < a.size()) std::memcpy(out.data() + i, a.data() + i, (a.size() - i) * sizeof(Limb));
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

// Unsigned subtraction: the borrow-propagating kernels and the owning
// BigUInt sub, which refuses a < b.
#pragma once

#include "arithmetic/big_int.hpp"
#include "arithmetic/comparison_big.hpp"

namespace kovrix {

// out = a - b over n limbs (a, b, out all n limbs long); returns the borrow
// out (0 or 1).  The sbb chain of addSameLengthN.
// Contract: out may be a or b, no other overlap.
inline Limb subSameLengthN(Limb* out, const Limb* a, const Limb* b, std::size_t n) noexcept {
  std::size_t single = n % 4, quads = n / 4;
  Limb borrow = 0, t0, t1, t2, t3;
  __asm__ volatile(
      "testq %[single], %[single]\n\t"  // also clears CF
      "jz 2f\n\t"
      "1:\n\t"
      "movq (%[a]), %[t0]\n\t"
      "sbbq (%[b]), %[t0]\n\t"
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
      "sbbq (%[b]), %[t0]\n\t"
      "sbbq 8(%[b]), %[t1]\n\t"
      "sbbq 16(%[b]), %[t2]\n\t"
      "sbbq 24(%[b]), %[t3]\n\t"
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
      "adcq $0, %[borrow]"
      : [borrow] "+&r"(borrow), [a] "+&r"(a), [b] "+&r"(b), [o] "+&r"(out), [single] "+&r"(single),
        [quads] "+&c"(quads), [t0] "=&r"(t0), [t1] "=&r"(t1), [t2] "=&r"(t2), [t3] "=&r"(t3)
      :
      : "cc", "memory");
  return borrow;
}

// out = a - b over len(a) limbs, b read as zero past its end; returns the
// borrow out of the top limb (0 or 1).
// Contract: len(a) >= len(b), len(out) = len(a); out may be the same span as
// a or start where b starts, no other overlap.
inline Limb subN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b) noexcept {
  assert(a.size() >= b.size() && out.size() == a.size());
  std::size_t n = b.size(), i = n;
  Limb borrow = subSameLengthN(out.data(), a.data(), b.data(), n);
  for (; i < a.size() && borrow; ++i) {
    Limb x = a[i];  // read before the write: out may be a
    out[i] = x - 1;
    borrow = x == 0;
  }
  if (out.data() != a.data() && i < a.size()) std::memcpy(out.data() + i, a.data() + i, (a.size() - i) * sizeof(Limb));
  return borrow;
}

// out = |x - y| over len(x) limbs, y read as zero past its end; returns true
// when x < y.  Contract: len(x) >= len(y), len(out) = len(x); out overlaps
// neither input.
inline bool absDiffN(std::span<Limb> out, std::span<const Limb> x, std::span<const Limb> y) noexcept {
  assert(x.size() >= y.size() && out.size() == x.size());
  bool below = normalizedLength(x.subspan(y.size())) == 0 && cmpN(x.first(y.size()), y) < 0;
  if (below) {
    // x < y, so x's limbs beyond len(y) are zero and |x - y| = y - x.
    [[maybe_unused]] Limb borrow = subN(out.first(y.size()), y, x.first(y.size()));
    assert(borrow == 0);
    std::fill(out.begin() + y.size(), out.end(), Limb{0});
  } else {
    [[maybe_unused]] Limb borrow = subN(out, x, y);
    assert(borrow == 0);
  }
  return below;
}

// x -= v (one limb) over len(x) limbs; returns the borrow out of the top.
inline Limb subLimbInPlace(std::span<Limb> x, Limb v) noexcept {
  for (std::size_t i = 0; i < x.size() && v; ++i) {
    Limb old = x[i];
    x[i] = old - v;
    v = old < v;
  }
  return v;
}

// a - b for operands already known to satisfy a >= b (the signed operations
// decide the order first); the same result as sub without a second
// comparison.
BigUInt subOrdered(const BigUInt& a, const BigUInt& b);

// a - b; UnderflowDefect "Subtraction underflow: a < b in BigUInt" if a < b.
BigUInt sub(const BigUInt& a, const BigUInt& b);
inline BigUInt operator-(const BigUInt& a, const BigUInt& b) { return sub(a, b); }

}  // namespace kovrix

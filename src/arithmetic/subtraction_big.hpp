// Unsigned subtraction: the borrow-propagating kernels and the owning
// BigUInt sub, which refuses a < b.
#pragma once

#include "arithmetic/big_int.hpp"
#include "arithmetic/comparison_big.hpp"

namespace kovrix {

// out = a - b over len(a) limbs, b read as zero past its end; returns the
// borrow out of the top limb (0 or 1).
// Contract: len(a) >= len(b), len(out) = len(a); out may be the same span as
// a or start where b starts, no other overlap.
inline Limb subN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b) noexcept {
  assert(a.size() >= b.size() && out.size() == a.size());
  std::size_t n = b.size(), i = 0;
  unsigned char borrow = 0;
  for (; i < n; ++i) {
    unsigned long long d;
    borrow = _subborrow_u64(borrow, a[i], b[i], &d);
    out[i] = d;
  }
  for (; i < a.size() && borrow; ++i) {
    Limb x = a[i];  // read before the write: out may be a
    out[i] = x - 1;
    borrow = x == 0;
  }
  if (out.data() != a.data())
    for (; i < a.size(); ++i) out[i] = a[i];
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

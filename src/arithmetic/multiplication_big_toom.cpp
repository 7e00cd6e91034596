// Toom-3 products and squares.
//
// With k = ceil(len(a) / 3), a = a0 + a1 x + a2 x^2 and b = b0 + b1 x + b2 x^2
// at x = B^k (B = 2^64), the product c(x) = c0 + c1 x + ... + c4 x^4 is fixed
// by its values at 0, 1, -1, 2 and infinity:
//   v0 = c0, v1 = c(1), vm1 = c(-1), v2 = c(2), vinf = c4.
// Interpolation (each step exact, each intermediate a sum of non-negative
// coefficients, so no signed arithmetic beyond the sign of vm1):
//   t2 = (v2 - vm1) / 3    = c1 + c2 + 3 c3 + 5 c4
//   tm = (v1 - vm1) / 2    = c1 + c3
//   t1 = v1 - v0           = c1 + c2 + c3 + c4
//   t2 = (t2 - t1) / 2     = c3 + 2 c4
//   t1 = t1 - tm - vinf    = c2
//   t2 = t2 - 2 vinf       = c3
//   tm = tm - t2           = c1
// Every evaluated operand fits k + 1 limbs (a(2) < 7 B^k) and every value
// 2k + 2 limbs.
#include <algorithm>

#include "arithmetic/addition_big.hpp"
#include "arithmetic/bitwise_big.hpp"
#include "arithmetic/multiplication_big.hpp"
#include "arithmetic/subtraction_big.hpp"

namespace kovrix {

namespace {

// x /= 3 in place, x known to be a multiple of 3: each limb times the inverse
// of 3 modulo 2^64, the borrow of q * 3 carried upward (exact division by
// Hensel's method).
void divExact3N(std::span<Limb> x) noexcept {
  constexpr Limb inverse3 = 0xAAAAAAAAAAAAAAABull;  // 3 * inverse3 = 1 mod 2^64
  Limb borrow = 0;
  for (auto& limb : x) {
    Limb s = limb;
    Limb t = s - borrow;
    Limb b1 = s < borrow;
    Limb q = t * inverse3;
    limb = q;
    borrow = Limb((UInt128(q) * 3) >> 64) + b1;
  }
  assert(borrow == 0);
}

// The three pieces of an operand, the last ones possibly short or empty.
struct Pieces {
  std::span<const Limb> p0, p1, p2;
};

Pieces cut(std::span<const Limb> x, std::size_t k) noexcept {
  std::size_t n = x.size();
  auto part = [&](std::size_t from) {
    return from >= n ? std::span<const Limb>{} : x.subspan(from, std::min(k, n - from));
  };
  return {part(0), part(k), part(2 * k)};
}

// e1 = x(1) and em = |x(-1)| over k + 1 limbs; returns true when x(-1) < 0.
// Contract: len(p0) = k >= len(p1), len(p2).
bool evalOneAndMinusOne(std::span<Limb> e1, std::span<Limb> em, const Pieces& x, std::size_t k) noexcept {
  e1[k] = addN(e1.first(k), x.p0, x.p2);
  bool negative = absDiffN(em, e1, x.p1);
  [[maybe_unused]] Limb carry = addN(e1, e1, x.p1);
  assert(carry == 0);
  return negative;
}

// e = x(2) = p0 + 2 (p1 + 2 p2) over k + 1 limbs.
void evalTwo(std::span<Limb> e, const Pieces& x) noexcept {
  std::fill(e.begin(), e.end(), Limb{0});
  if (!x.p2.empty()) e[x.p2.size()] = shlBitsN(e.first(x.p2.size()), x.p2, 1);
  [[maybe_unused]] Limb over = addN(e, e, x.p1);
  over |= shlBitsN(e, e, 1);
  over |= addN(e, e, x.p0);
  assert(over == 0);
}

// The interpolation above.  out holds v0 in its first 2k limbs and vinf
// (vinfLen limbs) from limb 4k; the limbs in between, and any past vinf, are
// written here.  v1, vm1, v2 are the other values (2k + 2 limbs each).
void interpolate(std::span<Limb> out, std::size_t k, std::size_t vinfLen, std::span<Limb> v1, std::span<Limb> vm1,
                 bool vm1Negative, std::span<Limb> v2) noexcept {
  // A short b (no third piece) can leave fewer than 4k limbs in all.
  std::size_t n = out.size();
  std::fill(out.begin() + 2 * k, out.begin() + std::min(4 * k, n), Limb{0});
  if (4 * k + vinfLen < n) std::fill(out.begin() + (4 * k + vinfLen), out.end(), Limb{0});
  auto v0 = std::span<const Limb>(out.first(2 * k));
  auto vinf = vinfLen ? std::span<const Limb>(out.subspan(4 * k, vinfLen)) : std::span<const Limb>{};
  Limb over = 0;
  if (vm1Negative) {
    over |= addN(v2, v2, vm1);
    over |= addN(vm1, v1, vm1);
  } else {
    over |= subN(v2, v2, vm1);
    over |= subN(vm1, v1, vm1);
  }
  divExact3N(v2);
  shrBitsN(vm1, vm1, 1);
  over |= subN(v1, v1, v0);
  over |= subN(v2, v2, v1);
  shrBitsN(v2, v2, 1);
  over |= subN(v1, v1, vm1);
  over |= subN(v1, v1, vinf);
  over |= subN(v2, v2, vinf);
  over |= subN(v2, v2, vinf);
  over |= subN(vm1, vm1, v2);
  assert(over == 0);
  (void)over;
  addAtN(out, 2 * k, v1);
  addAtN(out, k, vm1);
  addAtN(out, 3 * k, v2);
}

}  // namespace

// Four evaluated operands of k + 1 limbs, three values of 2k + 2 limbs, and
// what the five products of at most k + 1 limbs need.
std::size_t toom3ScratchSize(std::size_t n) noexcept {
  std::size_t k = (n + 2) / 3;
  return 10 * (k + 1) + mulScratchEnvelope(k + 1);
}

void mulToom3N(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b,
               std::span<Limb> scratch) noexcept {
  std::size_t la = a.size(), k = (la + 2) / 3;
  assert(la >= 5 && la >= b.size() && b.size() > k && out.size() == la + b.size());
  assert(scratch.size() >= toom3ScratchSize(la));
  Pieces x = cut(a, k), y = cut(b, k);
  auto ea = scratch.first(k + 1), eb = scratch.subspan(k + 1, k + 1);
  auto ma = scratch.subspan(2 * k + 2, k + 1), mb = scratch.subspan(3 * k + 3, k + 1);
  std::size_t l = 2 * k + 2;
  auto v1 = scratch.subspan(4 * k + 4, l), vm1 = scratch.subspan(6 * k + 6, l), v2 = scratch.subspan(8 * k + 8, l);
  auto rest = scratch.subspan(10 * k + 10);

  bool negative = evalOneAndMinusOne(ea, ma, x, k) != evalOneAndMinusOne(eb, mb, y, k);
  mulN(v1, ea, eb, rest);
  mulN(vm1, ma, mb, rest);
  evalTwo(ea, x);
  evalTwo(eb, y);
  mulN(v2, ea, eb, rest);
  mulN(out.first(2 * k), x.p0, y.p0, rest);
  std::size_t vinfLen = y.p2.empty() ? 0 : x.p2.size() + y.p2.size();
  if (vinfLen) mulN(out.subspan(4 * k, vinfLen), x.p2, y.p2, rest);
  interpolate(out, k, vinfLen, v1, vm1, negative, v2);
}

void sqrToom3N(std::span<Limb> out, std::span<const Limb> a, std::span<Limb> scratch) noexcept {
  std::size_t n = a.size(), k = (n + 2) / 3;
  assert(n >= 5 && out.size() == 2 * n);
  assert(scratch.size() >= toom3ScratchSize(n));
  Pieces x = cut(a, k);
  auto e = scratch.first(k + 1), m = scratch.subspan(k + 1, k + 1);
  std::size_t l = 2 * k + 2;
  auto v1 = scratch.subspan(4 * k + 4, l), vm1 = scratch.subspan(6 * k + 6, l), v2 = scratch.subspan(8 * k + 8, l);
  auto rest = scratch.subspan(10 * k + 10);

  evalOneAndMinusOne(e, m, x, k);
  sqrN(v1, e, rest);
  sqrN(vm1, m, rest);
  evalTwo(e, x);
  sqrN(v2, e, rest);
  sqrN(out.first(2 * k), x.p0, rest);
  std::size_t vinfLen = 2 * x.p2.size();
  sqrN(out.subspan(4 * k, vinfLen), x.p2, rest);
  interpolate(out, k, vinfLen, v1, vm1, false, v2);
}

}  // namespace kovrix

#include "rational/gcd.hpp"

#include <algorithm>
#include <utility>

#include "arithmetic/comparison_big.hpp"
#include "arithmetic/division_big.hpp"
#include "arithmetic/multiplication_big.hpp"
#include "arithmetic/signed_big.hpp"
#include "arithmetic/subtraction_big.hpp"

namespace kovrix {

Limb gcdLimb(Limb a, Limb b) noexcept {
  if (a == 0) return b;
  if (b == 0) return a;
  // gcd(2^s a', 2^t b') = 2^min(s,t) gcd(a', b'); for odd a and b,
  // gcd(a, b) = gcd(a, b - a) and b - a is even, so its factors of two go.
  const int shift = __builtin_ctzll(a | b);
  a >>= __builtin_ctzll(a);
  do {
    b >>= __builtin_ctzll(b);
    if (a > b) std::swap(a, b);
    b -= a;
  } while (b != 0);
  return a << shift;
}

namespace {

// A Lehmer step's matrix.  With `odd` false the two new values are
// c0 X - d0 Y and d1 Y - c1 X, with `odd` true d0 Y - c0 X and c1 X - d1 Y
// (the signs of the cofactors of a Euclidean remainder sequence alternate).
// The matrix is unimodular (c0 d1 - d0 c1 = +-1), so the pair it makes has the
// gcd of (X, Y) whatever the quotients were.
struct LehmerMatrix {
  Limb c0, d0, c1, d1;
  bool odd;
};

// floor(x / 2^k) truncated to 128 bits; limbs past the end of x read as zero.
UInt128 bitsFrom(std::span<const Limb> x, std::int64_t k) noexcept {
  const std::size_t limb = static_cast<std::size_t>(k / 64);
  const int off = static_cast<int>(k % 64);
  auto at = [&](std::size_t i) -> Limb { return i < x.size() ? x[i] : 0; };
  Limb lo = at(limb), mid = at(limb + 1);
  if (off != 0) {
    lo = (lo >> off) | (mid << (64 - off));
    mid = (mid >> off) | (at(limb + 2) << (64 - off));
  }
  return (UInt128(mid) << 64) | lo;
}

// Leading parts of one limb (Euclid in one-limb arithmetic, about 32 bits of
// quotients per matrix) while X has at most this many limbs, where the inner
// loop costs more than applying the matrices; two limbs (twice the quotients
// per pass over X and Y) beyond.  Measured against each other: one limb 0.8x
// the time at 2 and 6 limbs, even at 16 to 20, 1.12x at 52.
constexpr std::size_t OneLimbLehmerLimbs = 16;

// Runs Euclid on the top parts a >= b of X and Y (X = a 2^k + low bits, Y =
// b 2^k + low bits) and keeps the quotients that the unknown low bits cannot
// change: Jebelean's condition, that the remainder r_(i+1) is at least its
// cofactors and r_i - r_(i+1) at least the sum of the two latest cofactors.
// From the second step on the cofactors d of Y are at least those c of X
// (d_(i+1) = d_(i-1) + q d_i from d_1 = 1 >= c_1 = 0 and d_2 = q >= c_2 = 1),
// so the condition on d implies the one on c.  The cofactors of an accepted
// step satisfy r_i |t_(i+1)| < a, and r_(i+1) >= |t_(i+1)|, so they stay below
// the square root of the word (2^64 for two-limb parts, 2^32 for one limb).
// Returns false when not even the first quotient is certain.
template <class Word>
bool lehmerMatrix(Word a, Word b, LehmerMatrix& m) noexcept {
  Limb c0 = 1, d0 = 0, c1 = 0, d1 = 1;
  bool odd = false, any = false;
  while (b != 0) {
    // Most quotients are 1, 2 or 3: subtract before dividing.
    Word q = 1, r = a - b;
    if (r >= b) {
      r -= b;
      q = 2;
      if (r >= b) {
        r -= b;
        q = 3;
        if (r >= b) {
          q = a / b;
          r = a - q * b;
        }
      }
    }
    if (UInt128(q) >> 64) break;
    // d0, d1 < 2^64 and q < 2^64: d2 < 2^128; c2 <= d2.
    const UInt128 d2 = UInt128(Limb(q)) * d1 + d0;
    if ((d2 >> 64) != 0 || r < d2 || b - r < d2 + d1) break;
    const Limb c2 = Limb(q) * c1 + c0;
    a = b;
    b = r;
    c0 = c1;
    d0 = d1;
    c1 = c2;
    d1 = Limb(d2);
    odd = !odd;
    any = true;
  }
  m = {c0, d0, c1, d1, odd};
  return any;
}

// out = |cx x - cy y| over n + 1 limbs, where n = len(x) = len(y) and
// len(out) = n + 1; returns the trimmed length.  The difference lies in
// (-2^(64(n+1)), 2^(64(n+1))), so a borrow out of the top limb means it is
// negative, and its two's complement over n + 1 limbs is then negated.
// Contract: out overlaps neither x nor y.
std::size_t combine(std::span<Limb> out, std::span<const Limb> x, Limb cx, std::span<const Limb> y, Limb cy) noexcept {
  const std::size_t n = x.size();
  assert(y.size() == n && out.size() == n + 1);
  std::span<Limb> low = out.first(n);
  const Limb hi = mulLimbN(low, x, cx);
  const Limb borrow = subMulLimbN(low, y, cy);
  out[n] = hi - borrow;
  if (hi < borrow) {
    for (Limb& l : out) l = ~l;
    addLimbInPlace(out, 1);
  }
  return normalizedLength(out);
}

// Replaces x by x mod y (len(y) >= 2, len(x) >= len(y)); returns the new
// length of x.
std::size_t remainderInPlace(std::span<Limb> x, std::span<const Limb> y) {
  ScratchLimbs<64> work(x.size() - y.size() + 1 + y.size() + knuthScratchSize(x.size(), y.size()));
  std::span<Limb> all = work.span();
  std::span<Limb> q = all.first(x.size() - y.size() + 1);
  std::span<Limb> r = all.subspan(q.size(), y.size());
  divModKnuthN(q, r, x, y, all.subspan(q.size() + r.size()));
  std::copy(r.begin(), r.end(), x.begin());
  return normalizedLength(x.first(y.size()));
}

std::int64_t bitLengthOf(std::span<const Limb> x) noexcept {
  return x.empty() ? 0 : 64 * static_cast<std::int64_t>(x.size()) - clz64(x.back());
}

}  // namespace

BigUInt gcd(const BigUInt& a, const BigUInt& b) {
  if (a.isZero()) return b;
  if (b.isZero()) return a;
  const bool aLarger = cmp(a, b) >= 0;
  const BigUInt& big = aLarger ? a : b;
  const BigUInt& small = aLarger ? b : a;
  if (big.size() == 1) return initBigUInt(gcdLimb(big[0], small[0]));

  // Four buffers of n + 1 limbs: X and Y (X >= Y), and two for the next pair.
  const std::size_t n = big.size();
  ScratchLimbs<64> work(4 * (n + 1));
  std::span<Limb> buf[4];
  for (int i = 0; i < 4; ++i) buf[i] = work.span().subspan(static_cast<std::size_t>(i) * (n + 1), n + 1);
  std::span<Limb> x = buf[0], y = buf[1], t = buf[2], u = buf[3];
  std::copy(big.limbs().begin(), big.limbs().end(), x.begin());
  std::copy(small.limbs().begin(), small.limbs().end(), y.begin());
  std::size_t nx = big.size(), ny = small.size();

  while (ny >= 2) {
    const std::int64_t bx = bitLengthOf(x.first(nx)), by = bitLengthOf(y.first(ny));
    LehmerMatrix m{};
    bool found = false;
    if (bx - by < 64) {
      if (nx <= OneLimbLehmerLimbs) {
        const std::int64_t k = std::max<std::int64_t>(0, bx - 64);
        found = lehmerMatrix(Limb(bitsFrom(x.first(nx), k)), Limb(bitsFrom(y.first(ny), k)), m);
      } else {
        const std::int64_t k = std::max<std::int64_t>(0, bx - 128);
        found = lehmerMatrix(bitsFrom(x.first(nx), k), bitsFrom(y.first(ny), k), m);
      }
    }
    bool reduced = false;
    if (found) {
      std::fill(y.begin() + static_cast<std::ptrdiff_t>(ny), y.begin() + static_cast<std::ptrdiff_t>(nx), Limb{0});
      std::span<const Limb> xs = x.first(nx), ys = y.first(nx);
      std::size_t nt = m.odd ? combine(t.first(nx + 1), ys, m.d0, xs, m.c0) : combine(t.first(nx + 1), xs, m.c0, ys, m.d0);
      std::size_t nu = m.odd ? combine(u.first(nx + 1), xs, m.c1, ys, m.d1) : combine(u.first(nx + 1), ys, m.d1, xs, m.c1);
      if (nu > nt || (nu == nt && cmpN(u.first(nt), t.first(nt)) > 0)) {
        std::swap(t, u);
        std::swap(nt, nu);
      }
      // With the quotients certain the pair is a later pair of the remainder
      // sequence, smaller than X; the test only guards termination.
      if (nt < nx || (nt == nx && cmpN(t.first(nt), x.first(nt)) < 0)) {
        std::swap(x, t);
        std::swap(y, u);
        nx = nt;
        ny = nu;
        reduced = true;
      }
    }
    if (!reduced) {
      // One division step: (X, Y) <- (Y, X mod Y).
      nx = remainderInPlace(x.first(nx), y.first(ny));
      std::swap(x, y);
      std::swap(nx, ny);
    }
  }
  if (ny == 0) return initBigUInt(x.first(nx));
  const Limb r = divModLimbN(x.first(nx), x.first(nx), y[0]);
  return initBigUInt(gcdLimb(y[0], r));
}

BigInt gcd(const BigInt& a, const BigInt& b) { return BigInt{false, gcd(a.magnitude, b.magnitude)}; }

BigInt euclidGcd(const BigInt& a, const BigInt& b) {
  BigInt x = a, y = b;
  while (!y.magnitude.isZero()) {
    BigInt r = divMod(x, y).remainder;
    x = std::move(y);
    y = std::move(r);
  }
  return abs(x);
}

}  // namespace kovrix

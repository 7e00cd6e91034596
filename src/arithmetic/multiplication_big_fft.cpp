// Products by number-theoretic transforms.
//
// Each limb is one coefficient of a polynomial in B = 2^64; the product's
// coefficients are the cyclic convolution of the operands' limbs over a
// transform length N (a power of two) of at least len(a) + len(b) - 1, so no
// coefficient wraps around.  Each coefficient is below N (2^64)^2 <= 2^173 for
// every N the primes allow (2^45), and the three primes below have a product
// above 2^185: the convolution is taken modulo each prime and every
// coefficient rebuilt exactly by the Chinese remainder theorem, then the
// coefficients are added up with their carries.
//
// Transforms work in Montgomery form (R = 2^64) with lazy reduction:
// forward butterflies keep values below 4p, inverse ones below 2p, which the
// primes below 2^62 allow without overflowing a limb.  The forward transform
// is a decimation in frequency whose output is in bit-reversed order, the
// inverse takes that order back to natural order, so no permutation pass is
// needed: the node at position i of any level of the recursion multiplies by
// w^brev(i) (w of order N, brev reversing log2(N) - 1 bits), one table of
// N / 2 roots serving every level.
#include <algorithm>
#include <bit>

#include "arithmetic/addition_big.hpp"
#include "arithmetic/multiplication_big.hpp"

namespace kovrix {

namespace {

// p = c 2^45 + 1 below 2^62, each with a generator of its multiplicative
// group (checked by the tests: p prime, g of order p - 1).
struct PrimeSpec {
  Limb p;
  Limb generator;
};
constexpr PrimeSpec Primes[3] = {
    {0x3fffc00000000001ull, 11},  // 131070 * 2^45 + 1
    {0x3ffac00000000001ull, 3},   // 131030 * 2^45 + 1
    {0x3ff8a00000000001ull, 10},  // 131013 * 2^45 + 1
};

constexpr Limb mulMod(Limb a, Limb b, Limb p) { return Limb(UInt128(a) * b % p); }
constexpr Limb powMod(Limb a, UInt128 e, Limb p) {
  Limb r = 1;
  for (; e; e >>= 1, a = mulMod(a, a, p))
    if (e & 1) r = mulMod(r, a, p);
  return r;
}
constexpr Limb invMod(Limb a, Limb p) { return powMod(a % p, p - 2, p); }

// Montgomery arithmetic modulo an odd p < 2^62, R = 2^64.
struct Mont {
  Limb p, pinv, r2;  // p pinv = 1 mod 2^64; r2 = R^2 mod p
  constexpr explicit Mont(Limb prime) : p(prime), pinv(prime), r2(0) {
    // Newton's iteration doubles the correct low bits: 3 (p p = 1 mod 8)
    // to 96 in five steps.
    for (int i = 0; i < 5; ++i) pinv *= 2 - prime * pinv;
    Limb r1 = Limb((UInt128(1) << 64) % prime);
    r2 = mulMod(r1, r1, prime);
  }
  // t / R mod p, in (0, 2p), for t < p R: t - m p is a multiple of R and
  // lies in (-p R, p R).
  Limb reduce(UInt128 t) const noexcept {
    Limb m = Limb(t) * pinv;
    return Limb(t >> 64) + p - Limb((UInt128(m) * p) >> 64);
  }
  Limb mul(Limb a, Limb b) const noexcept { return reduce(UInt128(a) * b); }  // a b < p R
  constexpr Limb fromPlain(Limb x) const { return mulMod(x % p, (Limb((UInt128(1) << 64) % p)), p); }
  static Limb below(Limb x, Limb bound) noexcept { return x >= bound ? x - bound : x; }
};

constexpr std::size_t LeafSize = 2048;  // a block of 16 KiB stays in the first-level cache

inline void forwardLayer(Limb* x, std::size_t h, Limb w, const Mont& m) noexcept {
  const Limb p2 = 2 * m.p;
  for (std::size_t j = 0; j < h; ++j) {
    Limb u = Mont::below(x[j], p2);
    Limb t = m.mul(x[j + h], w);
    x[j] = u + t;
    x[j + h] = u - t + p2;
  }
}

// Forward transform of the block x[0, n) at position `pos` of its level;
// values below 4p in and out.
void forward(Limb* x, std::size_t n, std::size_t pos, const Limb* roots, const Mont& m) noexcept {
  if (n <= LeafSize) {
    for (std::size_t h = n / 2, blocks = 1; h >= 1; h /= 2, blocks *= 2)
      for (std::size_t b = 0; b < blocks; ++b) forwardLayer(x + 2 * h * b, h, roots[pos * blocks + b], m);
    return;
  }
  forwardLayer(x, n / 2, roots[pos], m);
  forward(x, n / 2, 2 * pos, roots, m);
  forward(x + n / 2, n / 2, 2 * pos + 1, roots, m);
}

inline void inverseLayer(Limb* x, std::size_t h, Limb w, const Mont& m) noexcept {
  const Limb p2 = 2 * m.p;
  for (std::size_t j = 0; j < h; ++j) {
    Limb u = x[j], v = x[j + h];
    x[j] = Mont::below(u + v, p2);
    x[j + h] = m.mul(u - v + p2, w);
  }
}

// Inverse of `forward` times 2 per level (values below 2p in and out), with
// the inverse roots.
void inverse(Limb* x, std::size_t n, std::size_t pos, const Limb* roots, const Mont& m) noexcept {
  if (n <= LeafSize) {
    for (std::size_t h = 1, blocks = n / 2; h < n; h *= 2, blocks /= 2)
      for (std::size_t b = 0; b < blocks; ++b) inverseLayer(x + 2 * h * b, h, roots[pos * blocks + b], m);
    return;
  }
  inverse(x, n / 2, 2 * pos, roots, m);
  inverse(x + n / 2, n / 2, 2 * pos + 1, roots, m);
  inverseLayer(x, n / 2, roots[pos], m);
}

// roots[i] = w^brev(i) for i < n / 2, w of order n in Montgomery form: the
// first 2^j entries extend to 2^(j+1) by one factor w^(n / 2^(j+2)), since
// brev(2^j + i) = brev(i) + n / 2^(j+2).
void fillRoots(Limb* roots, std::size_t n, Limb w, const Mont& m) noexcept {
  if (n < 2) return;
  roots[0] = m.fromPlain(1);
  std::size_t half = n / 2;
  // steps[t] = w^(2^t)
  Limb steps[64];
  steps[0] = w;
  int bits = std::countr_zero(n);
  for (int t = 1; t < bits; ++t) steps[t] = Mont::below(m.mul(steps[t - 1], steps[t - 1]), m.p);
  for (std::size_t len = 1, j = 0; len < half; len *= 2, ++j) {
    Limb f = steps[bits - 2 - static_cast<int>(j)];
    for (std::size_t i = 0; i < len; ++i) roots[len + i] = Mont::below(m.mul(roots[i], f), m.p);
  }
}

// Limbs of x as residues below 4p, zero-padded to n.
void load(Limb* r, std::span<const Limb> x, std::size_t n, const Mont& m) noexcept {
  const Limb p4 = 4 * m.p;
  for (std::size_t i = 0; i < x.size(); ++i) r[i] = Mont::below(x[i], p4);
  std::fill(r + x.size(), r + n, Limb{0});
}

// The convolution of a and b (b empty: of a with itself) modulo prime k,
// scaled so that plain residues come out: values below 2p.
// bHat, when given, holds b's forward transform modulo prime k (from
// transformOperand), which then takes the place of b.
void convolve(Limb* r, std::span<const Limb> a, std::span<const Limb> b, std::size_t n, int k, Limb* work,
              Limb* roots, const Limb* bHat = nullptr) noexcept {
  const PrimeSpec& prime = Primes[k];
  const Mont m(prime.p);
  Limb w = powMod(prime.generator, (prime.p - 1) / n, prime.p);  // of order n
  Limb* inv = roots + n / 2;
  fillRoots(roots, n, m.fromPlain(w), m);
  fillRoots(inv, n, m.fromPlain(invMod(w, prime.p)), m);
  load(r, a, n, m);
  forward(r, n, 0, roots, m);
  const Limb p = m.p, p2 = 2 * p;
  if (bHat != nullptr) {
    for (std::size_t i = 0; i < n; ++i) r[i] = m.mul(Mont::below(Mont::below(r[i], p2), p), bHat[i]);
  } else if (b.empty()) {
    for (std::size_t i = 0; i < n; ++i) {
      Limb u = Mont::below(Mont::below(r[i], p2), p);
      r[i] = m.mul(u, u);
    }
  } else {
    load(work, b, n, m);
    forward(work, n, 0, roots, m);
    for (std::size_t i = 0; i < n; ++i) r[i] = m.mul(Mont::below(Mont::below(r[i], p2), p), work[i]);
  }
  inverse(r, n, 0, inv, m);
  // The pointwise products carry a factor 1/R and the inverse a factor n:
  // multiplying by n^-1 R^2 (Montgomery form of n^-1 R) removes both.
  Limb nInv = p - (p - 1) / n;  // n nInv = n p - (p - 1) = 1 mod p
  Limb scale = mulMod(m.fromPlain(nInv), Limb((UInt128(1) << 64) % p), p);
  for (std::size_t i = 0; i < n; ++i) r[i] = Mont::below(m.mul(r[i], scale), p);
}

// The forward transform of b modulo prime k at length n (values below 4p),
// as convolve makes it for its second operand.
void transformOperand(Limb* out, std::span<const Limb> b, std::size_t n, int k, Limb* roots) noexcept {
  const PrimeSpec& prime = Primes[k];
  const Mont m(prime.p);
  fillRoots(roots, n, m.fromPlain(powMod(prime.generator, (prime.p - 1) / n, prime.p)), m);
  load(out, b, n, m);
  forward(out, n, 0, roots, m);
}

// Rebuilds each coefficient from its three residues (Garner's method) and
// adds the coefficients into out with their carries: the first `count`
// coefficients, out[count] taking the final carry when out has a limb
// beyond them.  Returns that carry (two limbs, c0 + c1 B) when it has not
// (the cyclic products, which fold it back).
std::pair<Limb, Limb> combine(std::span<Limb> out, std::size_t count, const Limb* r1, const Limb* r2,
                              const Limb* r3) noexcept {
  constexpr Limb p1 = Primes[0].p, p2 = Primes[1].p, p3 = Primes[2].p;
  static constexpr Mont m2(p2), m3(p3);
  // Montgomery forms of p1^-1 mod p2, p1 mod p3 and (p1 p2)^-1 mod p3.
  static constexpr Limb inv12 = m2.fromPlain(invMod(p1, p2));
  static constexpr Limb p1In3 = m3.fromPlain(p1 % p3);
  static constexpr Limb inv123 = m3.fromPlain(invMod(mulMod(p1 % p3, p2 % p3, p3), p3));
  constexpr UInt128 p12 = UInt128(p1) * p2;
  constexpr Limb p12lo = Limb(p12), p12hi = Limb(p12 >> 64);
  // p1 < 2 p2 and p1 < 2 p3, so one conditional subtraction reduces r1.
  static_assert(p1 < 2 * p2 && p1 < 2 * p3);

  Limb c0 = 0, c1 = 0;                 // carry into the next limb, below 2^124
  for (std::size_t i = 0; i < count; ++i) {
    Limb x1 = r1[i];
    Limb d2 = r2[i] + p2 - Mont::below(x1, p2);
    Limb y2 = Mont::below(m2.mul(Mont::below(d2, p2), inv12), p2);
    // u = x1 + p1 y2 < p1 p2; its residue modulo p3:
    Limb u3 = Mont::below(x1, p3) + Mont::below(m3.mul(y2, p1In3), p3);
    u3 = Mont::below(u3, p3);
    Limb d3 = Mont::below(r3[i] + p3 - u3, p3);
    Limb y3 = Mont::below(m3.mul(d3, inv123), p3);
    // x = x1 + p1 y2 + p1 p2 y3 (three limbs), plus the carry.
    UInt128 u = UInt128(p1) * y2 + x1;
    UInt128 lo = UInt128(p12lo) * y3;
    UInt128 hi = UInt128(p12hi) * y3;
    unsigned long long s0, s1, s2;
    unsigned char c = _addcarry_u64(0, Limb(u), Limb(lo), &s0);
    c = _addcarry_u64(c, Limb(u >> 64), Limb(lo >> 64), &s1);
    s2 = Limb(hi >> 64) + c;
    c = _addcarry_u64(0, s1, Limb(hi), &s1);
    s2 += c;
    c = _addcarry_u64(0, s0, c0, &s0);
    c = _addcarry_u64(c, s1, c1, &s1);
    s2 += c;
    out[i] = s0;
    c0 = s1;
    c1 = s2;
  }
  if (count == out.size()) return {c0, c1};
  out[count] = c0;
  assert(c1 == 0);
  return {0, 0};
}

std::size_t transformLength(std::size_t limbs) noexcept { return std::bit_ceil(std::max<std::size_t>(limbs - 1, 1)); }

void mulFftAny(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b, std::span<Limb> scratch) noexcept {
  std::size_t n = transformLength(out.size());
  assert(out.size() <= FftMaxLimbs && scratch.size() >= fftScratchSize(out.size()));
  Limb* r = scratch.data();
  Limb* work = r + 3 * n;
  Limb* roots = work + n;
  for (int k = 0; k < 3; ++k) convolve(r + k * n, a, b, n, k, work, roots);
  combine(out, out.size() - 1, r, r + n, r + 2 * n);
}

// out = a b mod (B^N - 1) for N = len(out), a power of two: the cyclic
// convolution of length N is exactly the product with limb i + N folded onto
// limb i, and B^N = 1 modulo B^N - 1.  A coefficient sums at most
// min(len a, len b) <= N limb products, within the bound of the full
// products; the carry out of the top limb folds back onto the bottom.
// bHat, when not empty, holds b's transforms (fftTransformN).
void mulFftWrapAny(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b,
                   std::span<const Limb> bHat, std::span<Limb> scratch) noexcept {
  const std::size_t n = out.size();
  assert(std::has_single_bit(n) && n >= 2 && a.size() <= n && b.size() <= n && scratch.size() >= 5 * n);
  Limb* r = scratch.data();
  Limb* work = r + 3 * n;
  Limb* roots = work + n;
  for (int k = 0; k < 3; ++k)
    convolve(r + k * n, a, b, n, k, work, roots, bHat.empty() ? nullptr : bHat.data() + k * n);
  auto [c0, c1] = combine(out, n, r, r + n, r + 2 * n);
  Limb carry = addLimbInPlace(out, c0);
  carry += addLimbInPlace(out.subspan(1), c1);
  while (carry != 0) carry = addLimbInPlace(out, carry);
}

}  // namespace

// Three residue vectors, one for the second operand's transform and the two
// root tables (n / 2 limbs each).
std::size_t fftScratchSize(std::size_t n) noexcept { return 5 * transformLength(n); }

void mulFftN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b,
             std::span<Limb> scratch) noexcept {
  assert(!a.empty() && !b.empty() && out.size() == a.size() + b.size());
  mulFftAny(out, a, b, scratch);
}

void sqrFftN(std::span<Limb> out, std::span<const Limb> a, std::span<Limb> scratch) noexcept {
  assert(!a.empty() && out.size() == 2 * a.size());
  mulFftAny(out, a, {}, scratch);
}

void mulFftWrapN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b,
                 std::span<Limb> scratch) noexcept {
  assert(!a.empty() && !b.empty());
  // The same operand twice squares: one transform fewer per prime.
  if (a.data() == b.data() && a.size() == b.size()) return mulFftWrapAny(out, a, {}, {}, scratch);
  mulFftWrapAny(out, a, b, {}, scratch);
}

void fftTransformN(std::span<Limb> out, std::span<const Limb> b, std::span<Limb> scratch) noexcept {
  const std::size_t n = out.size() / 3;
  assert(std::has_single_bit(n) && n >= 2 && out.size() == 3 * n && !b.empty() && b.size() <= n &&
         scratch.size() >= n);
  for (int k = 0; k < 3; ++k) transformOperand(out.data() + k * n, b, n, k, scratch.data());
}

void mulFftWrapTransformedN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> bHat,
                            std::span<Limb> scratch) noexcept {
  assert(!a.empty() && bHat.size() == 3 * out.size());
  mulFftWrapAny(out, a, {}, bHat, scratch);
}

}  // namespace kovrix

#include "arithmetic/division_big.hpp"

#include <algorithm>
#include <bit>
#include <vector>

#include "arithmetic/addition_big.hpp"
#include "arithmetic/bitwise_big.hpp"
#include "arithmetic/comparison_big.hpp"
#include "arithmetic/multiplication_big.hpp"
#include "arithmetic/subtraction_big.hpp"

namespace kovrix {

namespace {
thread_local std::uint64_t tAddBacks = 0;
}

std::uint64_t knuthAddBackCount() noexcept { return tAddBacks; }

__attribute__((target("bmi2,adx"))) Limb subMulLimbMulxAdx(std::span<Limb> out, std::span<const Limb> a,
                                                          Limb b) noexcept {
  assert(out.size() == a.size());
  std::size_t n = a.size();
  Limb* o = out.data();
  const Limb* x = a.data();
  Limb carry = 0;
  for (; n % 4 != 0; ++o, ++x, --n) {  // head limbs, so the loop takes fours
    UInt128 p = UInt128(x[0]) * b + carry;
    Limb lo = Limb(p), prev = o[0];
    o[0] = prev - lo;
    carry = Limb(p >> 64) + (prev < lo);
  }
  if (n == 0) return carry;
  std::size_t quads = n / 4;
  Limb lo0, hi0, lo1, hi1;
  const Limb zero = 0;
  bool noBorrow;
  // out - y - borrow = out + ~y + (1 - borrow): OF holds 1 - borrow, starting
  // at 1 (set with CF = 0 by the signed overflow of 2^63 - 1 + 1).  Four limbs
  // a turn.  At the end the product chain's CF and the final borrow 1 - OF
  // join the high limb; hi(x b) <= 2^64 - 2, so the sum cannot wrap.
  // Volatile, as in subMulLimbN: the stores must stay even if the result
  // were unused.
  __asm__ volatile(
      "movabsq $0x7fffffffffffffff, %[lo0]\n\t"
      "addq $1, %[lo0]\n\t"
      "1:\n\t"
      "mulx (%[x]), %[lo0], %[hi0]\n\t"
      "mulx 8(%[x]), %[lo1], %[hi1]\n\t"
      "adcx %[c], %[lo0]\n\t"
      "notq %[lo0]\n\t"
      "adox (%[o]), %[lo0]\n\t"
      "movq %[lo0], (%[o])\n\t"
      "adcx %[hi0], %[lo1]\n\t"
      "notq %[lo1]\n\t"
      "adox 8(%[o]), %[lo1]\n\t"
      "movq %[lo1], 8(%[o])\n\t"
      "mulx 16(%[x]), %[lo0], %[hi0]\n\t"
      "mulx 24(%[x]), %[lo1], %[c]\n\t"
      "adcx %[hi1], %[lo0]\n\t"
      "notq %[lo0]\n\t"
      "adox 16(%[o]), %[lo0]\n\t"
      "movq %[lo0], 16(%[o])\n\t"
      "adcx %[hi0], %[lo1]\n\t"
      "notq %[lo1]\n\t"
      "adox 24(%[o]), %[lo1]\n\t"
      "movq %[lo1], 24(%[o])\n\t"
      "leaq 32(%[x]), %[x]\n\t"
      "leaq 32(%[o]), %[o]\n\t"
      "leaq -1(%[p]), %[p]\n\t"
      "jrcxz 2f\n\t"
      "jmp 1b\n\t"
      "2:\n\t"
      "adcx %[z], %[c]"
      : [c] "+&r"(carry), [x] "+&r"(x), [o] "+&r"(o), [p] "+&c"(quads), [lo0] "=&r"(lo0), [hi0] "=&r"(hi0),
        [lo1] "=&r"(lo1), [hi1] "=&r"(hi1), "=@cco"(noBorrow)
      : "d"(b), [z] "r"(zero)
      : "cc", "memory");
  return carry + (noBorrow ? 0 : 1);
}

Limb divModLimbN(std::span<Limb> q, std::span<const Limb> a, Limb d) noexcept {
  assert(d != 0 && q.size() == a.size());
  std::size_t n = a.size();
  if (n == 0) return 0;
  // Divide (a << s) by the normalised d << s, so that one reciprocal serves
  // every step; the quotient is unchanged and the remainder comes out shifted
  // by s.  The partial remainder r stays below d << s, the condition of the
  // two-by-one division.
  int s = clz64(d);
  Limb dn = d << s;
  Limb v = reciprocalLimb(dn);
  if (s == 0) {
    Limb r = 0;
    for (std::size_t i = n; i-- > 0;) {
      auto [qi, ri] = udiv2by1Preinv(r, a[i], dn, v);
      q[i] = qi;
      r = ri;
    }
    return r;
  }
  Limb r = a[n - 1] >> (64 - s);
  for (std::size_t i = n; i-- > 0;) {
    // a[i - 1] is read before q[i - 1] is written, so q may alias a.
    Limb lo = (a[i] << s) | (i > 0 ? a[i - 1] >> (64 - s) : 0);
    auto [qi, ri] = udiv2by1Preinv(r, lo, dn, v);
    q[i] = qi;
    r = ri;
  }
  return r >> s;
}

namespace {

// Scratch of the products of the divide-and-conquer steps, whose longer
// factor has at most n limbs.
std::size_t productScratchSize(std::size_t n) noexcept { return mulScratchEnvelope(n); }

// Copies v and u shifted left by s = clz64(top limb of v) into vn (len v)
// and un (len u + 1, the extra top limb taking the bits shifted out of u).
// Returns s.  After it un's top len(v) limbs are below vn: the extra limb is
// below 2^s <= 2^63 <= vn's top limb.
int normalizeOperands(std::span<Limb> un, std::span<Limb> vn, std::span<const Limb> u,
                      std::span<const Limb> v) noexcept {
  const std::size_t n = v.size();
  const int s = clz64(v[n - 1]);
  if (s == 0) {
    std::copy(v.begin(), v.end(), vn.begin());
    std::copy(u.begin(), u.end(), un.begin());
    un[u.size()] = 0;
  } else {
    shlBitsN(vn, v, s);
    un[u.size()] = shlBitsN(un.first(u.size()), u, s);
  }
  return s;
}

// r = un[0 .. len r) shifted back right by s bits.
void denormalizeRemainder(std::span<Limb> r, std::span<const Limb> un, int s) noexcept {
  if (s == 0) {
    std::copy(un.begin(), un.begin() + r.size(), r.begin());
  } else {
    shrBitsN(r, un.first(r.size()), s);
  }
}

// One block of quotient limbs by divide and conquer: q = floor(a / d) with
// len(q) = k <= n = len(d), len(a) = n + k, d normalised; returns the
// quotient limb above q (0 or 1) and leaves the remainder in a[0 .. n); the
// limbs a[n ..) are left unspecified.
//
// k = n: the top half of the quotient, then the bottom half, each a block of
// fewer limbs than d.  k < n: the top 2k limbs of a divided by the top k
// limbs of d estimate the block (recursively, as a k = n block of the
// shorter divisor); subtracting the estimate times d's low n - k limbs gives
// the true remainder, which may be negative: the estimate then exceeds the
// quotient, by at most 2 because d is normalised (Burnikel and Ziegler,
// "Fast recursive division", 1998, lemma 2), and adding d back fixes it.
// Products go through scratch[0 .. n) (used only after the recursion
// returns, so every level shares it) and the multiplication scratch above.
Limb divBlock(std::span<Limb> q, std::span<Limb> a, std::span<const Limb> d, std::span<Limb> scratch,
              std::size_t leafBelow) noexcept {
  const std::size_t n = d.size(), k = q.size();
  assert(k <= n && a.size() == n + k);
  if (k < leafBelow) return divSchoolbookNormN(q, a, d);
  if (k == n) {
    const std::size_t lo = n / 2;
    Limb qh = divBlock(q.subspan(lo), a.subspan(lo), d, scratch, leafBelow);
    // The top n limbs of a[0 .. n + lo) are now the remainder, below d, so
    // the second block's quotient fits lo limbs.
    [[maybe_unused]] Limb none = divBlock(q.first(lo), a.first(n + lo), d, scratch, leafBelow);
    assert(none == 0);
    return qh;
  }
  Limb qh = divBlock(q, a.subspan(n - k, 2 * k), d.subspan(n - k), scratch, leafBelow);
  // a[0 .. n) = R1 B^(n-k) + (low n - k limbs of a); take off (qh B^k + q) d0.
  std::span<Limb> window = a.first(n), tp = scratch.first(n);
  std::span<const Limb> d0 = d.first(n - k);
  mulN(tp, q, d0, scratch.subspan(n));
  Limb borrow = subN(window, window, tp);
  if (qh) borrow += subN(window.subspan(k), window.subspan(k), d0);
  while (borrow) {
    qh -= subLimbInPlace(q, 1);
    borrow -= addN(window, window, d);
  }
  return qh;
}

}  // namespace

namespace {

// The quotient-digit loop of divSchoolbookNormN (a's top n limbs already
// below d).  With Complemented, a holds the bitwise complement of the
// partial remainder: for an n-limb window W and a subtrahend Y,
// ~(W - Y) = ~W + Y, the borrow of W - Y being the carry out of ~W + Y
// (W - Y = W' - c B^n gives ~W + Y = ~W' + c B^n).  So the row takes the
// multiply-add kernel, which needs no complement of every product limb as
// the multiply-subtract one does (a fifth fewer operations a limb), and every
// limb and every borrow is the complement of, or equal to, the plain loop's.
template <bool Complemented>
void schoolbookRows(std::span<Limb> q, std::span<Limb> a, std::span<const Limb> d, bool useMulxAdx) noexcept {
  const std::size_t n = d.size(), k = q.size();
  const auto value = [](Limb x) { return Complemented ? ~x : x; };
  const Limb vTop = d[n - 1], vNext = d[n - 2];
  const Limb vInv = reciprocalLimb(vTop);
  for (std::size_t j = k; j-- > 0;) {
    // D3: estimate the digit from the top two limbs of the partial remainder
    // and the top limb of the divisor, then correct it with the second limb.
    // The partial remainder is below d B^(j+1), so a[j+n] <= vTop.
    const Limb a2 = value(a[j + n]), a1 = value(a[j + n - 1]), a0 = value(a[j + n - 2]);
    Limb qhat, rhat;
    bool rhatWrapped = false;
    if (a2 == vTop) {
      qhat = ~Limb{0};
      rhat = a2 + a1;
      rhatWrapped = rhat < a2;
    } else {
      auto [qq, rr] = udiv2by1Preinv(a2, a1, vTop, vInv);
      qhat = qq;
      rhat = rr;
    }
    if (!rhatWrapped) {
      while (UInt128(qhat) * vNext > ((UInt128(rhat) << 64) | a0)) {
        --qhat;
        rhat += vTop;
        if (rhat < vTop) break;  // rhat >= 2^64: the test can no longer hold
      }
    }
    // D4: a[j .. j+n] -= qhat * d (on the complement: += qhat * d).
    std::span<Limb> window = a.subspan(j, n);
    Limb c;
    if constexpr (Complemented) {
      c = useMulxAdx ? addMulLimbMulxAdx(window, d, qhat) : addMulLimbN(window, d, qhat);
    } else {
      c = useMulxAdx ? subMulLimbMulxAdx(window, d, qhat) : subMulLimbN(window, d, qhat);
    }
    const bool negative = a2 < c;
    a[j + n] = Complemented ? a[j + n] + c : a[j + n] - c;
    // D6: the estimate was one too large; add the divisor back once.
    if (negative) [[unlikely]] {
      ++tAddBacks;
      if constexpr (Complemented) {
        a[j + n] -= subN(window, window, d);
      } else {
        a[j + n] += addN(window, window, d);
      }
      --qhat;
    }
    q[j] = qhat;
  }
}

}  // namespace

Limb divSchoolbookNormN(std::span<Limb> q, std::span<Limb> a, std::span<const Limb> d) noexcept {
  const std::size_t n = d.size(), k = q.size();
  assert(n >= 2 && (d[n - 1] >> 63) && a.size() == n + k);
  Limb qh = 0;
  std::span<Limb> top = a.subspan(k, n);
  if (cmpN(top, d) >= 0) {
    subN(top, top, d);
    qh = 1;
  }
  const bool useMulxAdx = cpuHasMulxAdx();
  if (n >= ComplementedRowsFrom && k >= ComplementedRowsFrom / 2) {
    // Two passes over a complement it and back; the rows save more.
    for (Limb& x : a) x = ~x;
    schoolbookRows<true>(q, a, d, useMulxAdx);
    for (Limb& x : a) x = ~x;
  } else {
    schoolbookRows<false>(q, a, d, useMulxAdx);
  }
  return qh;
}

void divModKnuthN(std::span<Limb> q, std::span<Limb> r, std::span<const Limb> u, std::span<const Limb> v,
                  std::span<Limb> scratch) noexcept {
  const std::size_t n = v.size();
  assert(n >= 2 && v[n - 1] != 0 && u.size() >= n);
  assert(q.size() == u.size() - n + 1 && r.size() == n && scratch.size() >= knuthScratchSize(u.size(), n));
  // D1: normalise so that the divisor's top limb has its top bit set.
  std::span<Limb> un = scratch.first(u.size() + 1);
  std::span<Limb> vn = scratch.subspan(u.size() + 1, n);
  const int s = normalizeOperands(un, vn, u, v);
  [[maybe_unused]] Limb qh = divSchoolbookNormN(q, un, vn);
  assert(qh == 0);
  // D8: the remainder is un[0 .. n-1] shifted back by s.
  denormalizeRemainder(r, un, s);
}

std::size_t divideConquerScratchSize(std::size_t lenU, std::size_t lenV) noexcept {
  return knuthScratchSize(lenU, lenV) + lenV + productScratchSize(lenV);
}

Limb divDivideConquerNormN(std::span<Limb> q, std::span<Limb> a, std::span<const Limb> d, std::span<Limb> scratch,
                           std::size_t leafBelow) noexcept {
  const std::size_t n = d.size(), m = q.size();
  assert(a.size() == n + m && scratch.size() >= n + productScratchSize(n));
  if (m <= n) return divBlock(q, a, d, scratch, leafBelow);
  // Blocks of n quotient limbs from the top, the first taking the odd rest;
  // each later block starts with a remainder below d on top, so its quotient
  // fits its n limbs.
  std::size_t first = m % n == 0 ? n : m % n;
  Limb qh = divBlock(q.subspan(m - first), a.subspan(m - first), d, scratch, leafBelow);
  for (std::size_t j = m - first; j > 0; j -= n) {
    [[maybe_unused]] Limb none = divBlock(q.subspan(j - n, n), a.subspan(j - n, 2 * n), d, scratch, leafBelow);
    assert(none == 0);
  }
  return qh;
}

void divModDivideConquerN(std::span<Limb> q, std::span<Limb> r, std::span<const Limb> u, std::span<const Limb> v,
                          std::span<Limb> scratch, std::size_t leafBelow) noexcept {
  const std::size_t n = v.size();
  assert(n >= 2 && v[n - 1] != 0 && u.size() >= n);
  assert(q.size() == u.size() - n + 1 && r.size() == n && scratch.size() >= divideConquerScratchSize(u.size(), n));
  std::span<Limb> un = scratch.first(u.size() + 1);
  std::span<Limb> vn = scratch.subspan(u.size() + 1, n);
  const int s = normalizeOperands(un, vn, u, v);
  [[maybe_unused]] Limb qh = divDivideConquerNormN(q, un, vn, scratch.subspan(u.size() + 1 + n), leafBelow);
  assert(qh == 0);
  denormalizeRemainder(r, un, s);
}

BigUIntLimbDivMod divModLimb(const BigUInt& a, Limb d) {
  if (d == 0) [[unlikely]] raiseDivByZero("divModLimb: divisor is zero");
  if (a.isZero()) return {BigUInt{}, 0};
  BigUInt q = BigUInt::uninitialized(a.size());
  Limb r = divModLimbN(q.mutableLimbs(), a.limbs(), d);
  q.trim();
  return {std::move(q), r};
}

BigUIntDivMod divModKnuth(const BigUInt& u, const BigUInt& v) {
  if (v.size() < 2 || u.size() < v.size()) return divMod(u, v);
  BigUInt q = BigUInt::uninitialized(u.size() - v.size() + 1);
  BigUInt r = BigUInt::uninitialized(v.size());
  ScratchLimbs<32> scratch(knuthScratchSize(u.size(), v.size()));
  divModKnuthN(q.mutableLimbs(), r.mutableLimbs(), u.limbs(), v.limbs(), scratch.span());
  q.trim();
  r.trim();
  return {std::move(q), std::move(r)};
}

BigUIntDivMod divModDivideConquer(const BigUInt& u, const BigUInt& v) {
  if (v.size() < 2 || u.size() < v.size()) return divMod(u, v);
  BigUInt q = BigUInt::uninitialized(u.size() - v.size() + 1);
  BigUInt r = BigUInt::uninitialized(v.size());
  ScratchLimbs<32> scratch(divideConquerScratchSize(u.size(), v.size()));
  divModDivideConquerN(q.mutableLimbs(), r.mutableLimbs(), u.limbs(), v.limbs(), scratch.span());
  q.trim();
  r.trim();
  return {std::move(q), std::move(r)};
}

namespace {

// Memory for the temporaries of one Newton division, taken in stack order
// (a Scope gives back, when it ends, what was taken within it) from one
// block held until the division ends: its many products reuse the same
// pages instead of fresh allocations, each page of which would be faulted
// in again.  Should the block run out, further limbs come from blocks of
// their own, kept as long.
class Workspace {
 public:
  explicit Workspace(std::size_t limbs) : block_(limbs), size_(limbs) {}
  // len limbs, contents unspecified.
  std::span<Limb> take(std::size_t len) {
    if (used_ + len <= size_) {
      std::span<Limb> s = block_.span().subspan(used_, len);
      used_ += len;
      return s;
    }
    extra_.emplace_back(len);
    return extra_.back();
  }
  std::span<Limb> zeros(std::size_t len) {
    std::span<Limb> s = take(len);
    std::fill(s.begin(), s.end(), Limb{0});
    return s;
  }
  std::span<Limb> copy(std::span<const Limb> x) {
    std::span<Limb> s = take(x.size());
    std::copy(x.begin(), x.end(), s.begin());
    return s;
  }
  class Scope {
   public:
    explicit Scope(Workspace& w) : w_(w), mark_(w.used_) {}
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    ~Scope() { w_.used_ = mark_; }

   private:
    Workspace& w_;
    std::size_t mark_;
  };

 private:
  ScratchLimbs<1> block_;
  std::size_t size_, used_ = 0;
  std::vector<std::vector<Limb>> extra_;
};

// Longest low part (in limbs) the wrapped products below rebuild a value
// from, beside its residue modulo B^N - 1.
constexpr std::size_t MaxLowLimbs = 16;

// out = x mod (B^N - 1), N = len(out): the sum of x's N-limb pieces, each
// carry out of the top folded back onto the bottom (B^N = 1 modulo
// B^N - 1).  The value is left in [0, B^N - 1].
void foldWrap(std::span<Limb> out, std::span<const Limb> x) noexcept {
  const std::size_t n = out.size(), first = std::min(n, x.size());
  std::copy(x.begin(), x.begin() + first, out.begin());
  std::fill(out.begin() + first, out.end(), Limb{0});
  for (std::size_t i = n; i < x.size(); i += n) {
    Limb carry = addN(out, out, x.subspan(i, std::min(n, x.size() - i)));
    while (carry != 0) carry = addLimbInPlace(out, carry);
  }
}

// out = x - y mod (B^N - 1) for x, y of N = len(out) limbs: a borrow out of
// the top stands for + B^N, one too many, so one is taken off (x - y + B^N
// >= 1 then, and the subtraction cannot borrow again).
void subWrap(std::span<Limb> out, std::span<const Limb> x, std::span<const Limb> y) noexcept {
  if (subN(out, x, y) != 0) subLimbInPlace(out, 1);
}

// out = a b mod (B^N - 1), N = len(out) a power of two: by the transforms'
// cyclic convolution from WrapFftLimbs on (operands longer than N folded
// first), below it the full product folded.
void mulWrap(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b, Workspace& ws) {
  const std::size_t n = out.size();
  Workspace::Scope scope(ws);
  if (n >= WrapFftLimbs) {
    if (a.size() > n) {
      std::span<Limb> fa = ws.take(n);
      foldWrap(fa, a);
      a = fa;
    }
    if (b.size() > n) {
      std::span<Limb> fb = ws.take(n);
      foldWrap(fb, b);
      b = fb;
    }
    mulFftWrapN(out, a, b, ws.take(5 * n));
    return;
  }
  std::span<Limb> p = ws.take(a.size() + b.size());
  mulN(p, a, b, ws.take(mulScratchSize(a.size(), b.size())));
  foldWrap(out, p);
}

// An operand of several cyclic products of one length N: its limbs (folded
// to N when longer) and, when those products go through the transforms, its
// transforms, made once.
// Its limbs live in the workspace, taken where it is prepared.
struct CyclicOperand {
  std::span<const Limb> limbs;
  std::span<const Limb> hat;
  std::size_t n = 0;
};

CyclicOperand prepareCyclic(std::span<const Limb> b, std::size_t n, Workspace& ws) {
  CyclicOperand c;
  c.n = n;
  if (b.size() > n) {
    std::span<Limb> folded = ws.take(n);
    foldWrap(folded, b);
    c.limbs = folded;
  } else {
    c.limbs = ws.copy(b);
  }
  if (n >= WrapFftLimbs) {
    std::span<Limb> hat = ws.take(3 * n);
    Workspace::Scope scope(ws);
    fftTransformN(hat, c.limbs, ws.take(n));
    c.hat = hat;
  }
  return c;
}

// out = a b mod (B^N - 1) for a prepared b of length N = len(out).
void mulWrap(std::span<Limb> out, std::span<const Limb> a, const CyclicOperand& b, Workspace& ws) {
  const std::size_t n = out.size();
  assert(b.n == n);
  if (b.hat.empty()) return mulWrap(out, a, b.limbs, ws);
  Workspace::Scope scope(ws);
  if (a.size() > n) {
    std::span<Limb> fa = ws.take(n);
    foldWrap(fa, a);
    a = fa;
  }
  mulFftWrapTransformedN(out, a, b.hat, ws.take(5 * n));
}

// out = a b mod B^t, t = len(out) <= MaxLowLimbs: the product of the low t
// limbs of each.
void mulLow(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b) noexcept {
  const std::size_t t = out.size();
  std::span<const Limb> x = a.first(std::min(t, a.size())), y = b.first(std::min(t, b.size()));
  Limb p[2 * MaxLowLimbs];
  mulSchoolbookN({p, x.size() + y.size()}, x, y);
  const std::size_t got = std::min(t, x.size() + y.size());
  std::fill(std::copy(p, p + got, out.begin()), out.end(), Limb{0});
}

// A value v from its residues w = v mod (B^N - 1) (N = len(w), w <= B^N - 1)
// and low = v mod B^t (t = len(low) <= N), for |v| < B^(N+t) / 4: out =
// v mod B^(N+t), two's complement over N + t limbs.
//
// v = w - j (B^N - 1) for an integer j, |j| <= (|w| + |v|) / (B^N - 1) <
// B^t / 2; modulo B^t, B^N vanishes and v = w + j, so j is low - w read as a
// signed t-limb number, and v = w + j - j B^N.
void fromWrapped(std::span<Limb> out, std::span<const Limb> w, std::span<const Limb> low) noexcept {
  const std::size_t n = w.size(), t = low.size();
  assert(t >= 1 && t <= MaxLowLimbs && t <= n && out.size() == n + t);
  Limb j[MaxLowLimbs];
  std::span<Limb> js{j, t};
  subN(js, low, w.first(t));
  const bool negative = (j[t - 1] >> 63) != 0;
  std::fill(std::copy(w.begin(), w.end(), out.begin()), out.end(), Limb{0});
  addN(out, out, js);                                 // + j mod B^t ...
  if (negative) subLimbInPlace(out.subspan(t), 1);    // ... sign-extended
  subN(out.subspan(n), out.subspan(n), js);           // - j B^N
}

// Cyclic length N (a power of two) and low limbs t to hold a signed value of
// up to `len` limbs in magnitude, below B^len / 4 times a small factor:
// N + t >= len + 1.  Just past a power of two the low part takes the few
// extra limbs, so the cyclic product stays at that power of two.
std::pair<std::size_t, std::size_t> wrapShape(std::size_t len) noexcept {
  std::size_t n = std::bit_floor(len);
  if (len + 1 - n > MaxLowLimbs || n < 2 * MaxLowLimbs) n = std::bit_ceil(len);
  return {n, n >= len ? 1 : len + 1 - n};
}

// Cyclic length N and low limbs t for the exact product of la x lb limbs
// (mulExact), N = 0 where mulN is taken: from twice the transforms'
// threshold, N the power of two at or just below len = la + lb with the few
// limbs past it as the low part, or where mulN would take the transforms,
// the power of two above (then nothing wraps).
std::pair<std::size_t, std::size_t> exactShape(std::size_t la, std::size_t lb) noexcept {
  const std::size_t len = la + lb;
  if (len < 2 * FftThreshold) return {0, 0};
  const std::size_t n = std::bit_floor(len);
  if (len + 1 - n <= MaxLowLimbs) return {n, len + 1 - n};
  if (!fftPays(std::max(la, lb), std::min(la, lb), FftThreshold)) return {0, 0};
  return {std::bit_ceil(len), 1};
}

// out = a b, len(out) = len(a) + len(b).  When that length exceeds a power
// of two N by a few limbs (where the full transform would double), from
// a b mod (B^N - 1) and a b mod B^t, t = len + 1 - N: a b < B^len =
// B^(N+t-1) <= B^(N+t) / 4, and non-negative, so fromWrapped gives it
// exactly.  b, when prepared for that N, lends its transforms.
void mulExact(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b, Workspace& ws,
              const CyclicOperand* prepared = nullptr) {
  const std::size_t len = a.size() + b.size();
  assert(out.size() == len);
  Workspace::Scope scope(ws);
  const auto [n, t] = exactShape(a.size(), b.size());
  if (n == 0) {
    mulN(out, a, b, ws.take(mulScratchSize(a.size(), b.size())));
    return;
  }
  std::span<Limb> w = ws.take(n), v = ws.take(n + t);
  Limb low[MaxLowLimbs];
  if (prepared != nullptr && prepared->n == n && prepared->limbs.size() == std::min(b.size(), n)) {
    mulWrap(w, a, *prepared, ws);
  } else {
    mulWrap(w, a, b, ws);
  }
  mulLow({low, t}, a, b);
  fromWrapped(v, w, {low, t});
  assert(normalizedLength(std::span<const Limb>(v).subspan(len)) == 0);
  std::copy(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(len), out.begin());
}

// An approximation X of B^(2k) / d for d of k limbs with its top bit set, in
// k + 1 limbs, within 3 units (B^k < B^(2k) / d <= 2 B^k).
//
// Small divisors take the exact quotient.  Above, Newton's step from the
// approximation Xh of B^(2h) / dh for d's top h = floor(k/2) + 1 limbs dh:
// with e = B^(k+h) - d Xh, X = Xh B^(k-h) + Xh e / B^(2h).  Xh is within c
// units of B^(2h) / dh and d's dropped limbs count below B^(k-h), so
// |e| < (c + 2) B^k; the exact step would leave a relative error
// (e / B^(k+h))^2 < (c + 2)^2 B^(-2h) <= (c + 2)^2 B^(-k-1), under a unit of
// X.  The step is computed from e without its low h - 1 limbs (an error
// below Xh B^(h-1) / B^(2h) < 2 / B) and rounded down: X ends within
// 2 units.  e itself comes from the cyclic product d Xh mod (B^N - 1),
// N about k (the full product has k + h + 1 limbs, of which the top h + 1
// are known to cancel against B^(k+h)), and d Xh mod B^t.
//
// X is taken from the workspace in the caller's scope.
std::span<Limb> reciprocalApprox(std::span<const Limb> d, Workspace& ws) {
  const std::size_t k = d.size();
  std::span<Limb> x = ws.zeros(k + 1);
  Workspace::Scope scope(ws);
  if (k <= NewtonReciprocalBaseLimbs) {
    BigUInt power = BigUInt::zeros(2 * k + 1);
    power.mutableLimbs()[2 * k] = 1;
    BigUInt q = divMod(power, initBigUInt(d)).quotient;
    std::copy(q.limbs().begin(), q.limbs().end(), x.begin());
    return x;
  }
  const std::size_t h = k / 2 + 1;
  const std::span<const Limb> xh = reciprocalApprox(d.last(h), ws);
  // e mod (B^N - 1) = B^((k + h) mod N) - d Xh, and e mod B^t = -d Xh
  // (k + h >= t).
  const auto [n, t] = wrapShape(k);
  std::span<Limb> w = ws.take(n), power = ws.zeros(n), ew = ws.take(n), e = ws.take(n + t);
  const CyclicOperand xhc = prepareCyclic(xh, n, ws);  // for both products with Xh
  mulWrap(w, d, xhc, ws);
  power[(k + h) % n] = 1;
  subWrap(ew, power, w);
  Limb low[MaxLowLimbs];
  std::span<Limb> lows{low, t};
  mulLow(lows, d, xh);
  for (Limb& l : lows) l = ~l;
  addLimbInPlace(lows, 1);
  fromWrapped(e, ew, lows);
  const bool negative = (e.back() >> 63) != 0;
  if (negative) {  // |e|
    for (Limb& l : e) l = ~l;
    addLimbInPlace(e, 1);
  }
  // step = floor(Xh |e|_hi / B^(h+1)), |e|_hi = floor(|e| / B^(h-1)).
  std::span<const Limb> eHi = std::span<const Limb>(e).subspan(h - 1);
  eHi = eHi.first(normalizedLength(eHi));
  std::copy(xh.begin(), xh.end(), x.begin() + (k - h));
  if (eHi.empty()) return x;
  std::span<Limb> p = ws.take(xh.size() + eHi.size());
  mulExact(p, eHi, xh, ws, &xhc);
  std::span<const Limb> step = std::span<const Limb>(p).subspan(h + 1);
  step = step.first(normalizedLength(step));
  assert(step.size() <= k + 1);
  if (!negative) {
    [[maybe_unused]] Limb carry = addN(x, x, step);
    assert(carry == 0);
  } else {
    [[maybe_unused]] Limb borrow = subN(x, x, step);
    borrow += subLimbInPlace(x, 1);
    assert(borrow == 0);
  }
  return x;
}

// One block of q quotient limbs by the reciprocal X (k + 1 limbs) of d's top
// k limbs, len(q) <= k <= n = len(d): a holds n + len(q) limbs whose top n
// are below d; q = floor(a / d), the remainder to a[0 .. n) (the limbs
// above are left unspecified).  Returns false, with a and q untouched,
// should the estimate be too far off (it cannot be for reciprocalApprox's X;
// the caller then divides the block by divide and conquer).
//
// The estimate qe = floor(A X / B^(2k - len q)) from a's top k limbs A is
// within a few units of the quotient: A B^(len q) / dk differs from a / d by
// at most 4 (A < 2 dk + 2 and dk >= B^k / 2 for d's top k limbs dk, and a's
// and d's dropped limbs count below 2), X's error adds at most its own
// units.  Then r = a - qe d lies within 17 d of 0, so it comes from the cyclic
// product qe d mod (B^N - 1) for N about n and its low limbs, and a few
// additions or subtractions of d make it the remainder; quotient and
// remainder are unique, so the result is the one of every other method.
//
// dc and xc are d and X prepared for the cyclic lengths of their products
// (every block shares them).
bool divBlockReciprocal(std::span<Limb> q, std::span<Limb> a, std::span<const Limb> d, std::span<const Limb> x,
                        const CyclicOperand& dc, const CyclicOperand& xc, Workspace& ws) {
  constexpr int MaxSteps = 32;
  const std::size_t n = d.size(), kq = q.size(), k = x.size() - 1;
  Workspace::Scope scope(ws);
  assert(kq >= 1 && kq <= k && k <= n && a.size() == n + kq);
  // qe from the top kq + 1 limbs of A X (2k + 1 limbs).
  std::span<const Limb> top = a.last(k);
  std::span<Limb> p = ws.take(2 * k + 1);
  mulExact(p, top, x, ws, &xc);
  std::span<Limb> qe = p.subspan(2 * k - kq);
  // r = a - qe d mod (B^N - 1) and mod B^t.
  const auto [nw, t] = wrapShape(n);
  std::span<Limb> aw = ws.take(nw), pw = ws.take(nw), rw = ws.take(nw), r = ws.take(nw + t);
  mulWrap(pw, qe, dc, ws);
  foldWrap(aw, a);
  subWrap(rw, aw, pw);
  Limb low[MaxLowLimbs], pl[MaxLowLimbs];
  mulLow({pl, t}, qe, d);
  std::fill(std::copy(a.begin(), a.begin() + std::min(t, a.size()), low), low + t, Limb{0});
  subN({low, t}, {low, t}, {pl, t});
  fromWrapped(r, rw, {low, t});
  // r within n + 1 limbs: the limbs above must repeat the sign.
  const Limb fill = (r.back() >> 63) != 0 ? ~Limb{0} : 0;
  for (std::size_t i = n + 1; i < r.size(); ++i)
    if (r[i] != fill) return false;
  std::span<Limb> rs = std::span<Limb>(r).first(n + 1);
  if ((rs[n] >> 63) != (fill & 1)) return false;
  int steps = 0;
  while ((rs[n] >> 63) != 0) {  // negative: qe one too large
    if (++steps > MaxSteps) return false;
    addN(rs, rs, d);
    subLimbInPlace(qe, 1);
  }
  while (rs[n] != 0 || cmpN(rs.first(n), d) >= 0) {
    if (++steps > MaxSteps) return false;
    subN(rs, rs, d);
    addLimbInPlace(qe, 1);
  }
  if (normalizedLength(qe) > kq) return false;
  std::copy(qe.begin(), qe.begin() + static_cast<std::ptrdiff_t>(kq), q.begin());
  std::copy(rs.begin(), rs.begin() + static_cast<std::ptrdiff_t>(n), a.begin());
  return true;
}

}  // namespace

BigUIntDivMod divModNewton(const BigUInt& u, const BigUInt& v) {
  if (v.size() < 2 || u.size() < v.size()) return divMod(u, v);
  const std::size_t n = v.size(), m = u.size() - n + 1;
  BigUInt q = BigUInt::uninitialized(m);
  BigUInt r = BigUInt::uninitialized(n);
  ScratchLimbs<32> scratch(divideConquerScratchSize(u.size(), n));
  std::span<Limb> un = scratch.span().first(u.size() + 1);
  std::span<Limb> vn = scratch.span().subspan(u.size() + 1, n);
  std::span<Limb> rest = scratch.span().subspan(u.size() + 1 + n);
  const int s = normalizeOperands(un, vn, u.limbs(), v.limbs());
  // Blocks of k quotient limbs, k at most n: one reciprocal of d's top k
  // limbs serves them all.  A quotient longer than d takes ceil(m / n)
  // blocks; a shorter one two (one would need a reciprocal as long as the
  // quotient, two halve it for one more product of the divisor), or one when
  // below a third of d.
  std::size_t blocks = m > n ? (m + n - 1) / n : (3 * m > n ? 2 : 1);
  std::size_t k = (m + blocks - 1) / blocks;
  while (blocks > 1 && (blocks - 1) * k >= m) --blocks;
  // The workspace: room for the largest products' operands, transforms and
  // scratch, which peak at 28 bit_ceil(n) limbs (measured over 2n / n, longer
  // and shorter quotients; more, if ever needed, comes in blocks of its own).
  Workspace ws(32 * std::bit_ceil(n));
  const std::span<const Limb> x = reciprocalApprox(std::span<const Limb>(vn).last(k), ws);
  const CyclicOperand dc = prepareCyclic(vn, wrapShape(n).first, ws);
  CyclicOperand xc;
  if (const std::size_t nx = exactShape(k, k + 1).first; nx != 0) xc = prepareCyclic(x, nx, ws);
  // From the top (un's top n limbs are below vn), the first block taking
  // what the others leave.
  std::span<Limb> ql = q.mutableLimbs();
  for (std::size_t j = m, kb = m - (blocks - 1) * k; j > 0; j -= kb, kb = k) {
    std::span<Limb> qb = ql.subspan(j - kb, kb), ab = un.subspan(j - kb, n + kb);
    if (!divBlockReciprocal(qb, ab, vn, x, dc, xc, ws)) {
      [[maybe_unused]] Limb none = divBlock(qb, ab, vn, rest, DivideConquerThreshold);
      assert(none == 0);
    }
  }
  denormalizeRemainder(r.mutableLimbs(), un, s);
  q.trim();
  r.trim();
  return {std::move(q), std::move(r)};
}

BigUIntDivMod divMod(const BigUInt& a, const BigUInt& b) {
  if (b.isZero()) [[unlikely]] raiseDivByZero("Division by zero in BigUInt.");
  if (cmp(a, b) < 0) return {BigUInt{}, a};
  if (b.size() == 1) {
    auto [q, r] = divModLimb(a, b[0]);
    return {std::move(q), initBigUInt(r)};
  }
  if (b.size() >= NewtonDivisionThreshold && a.size() - b.size() + 1 >= b.size()) return divModNewton(a, b);
  if (b.size() >= DivideConquerThreshold && a.size() - b.size() + 1 >= DivideConquerThreshold)
    return divModDivideConquer(a, b);
  return divModKnuth(a, b);
}

}  // namespace kovrix

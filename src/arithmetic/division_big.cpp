#include "arithmetic/division_big.hpp"

#include <algorithm>

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

Limb divSchoolbookNormN(std::span<Limb> q, std::span<Limb> a, std::span<const Limb> d) noexcept {
  const std::size_t n = d.size(), k = q.size();
  assert(n >= 2 && (d[n - 1] >> 63) && a.size() == n + k);
  Limb qh = 0;
  std::span<Limb> top = a.subspan(k, n);
  if (cmpN(top, d) >= 0) {
    subN(top, top, d);
    qh = 1;
  }
  const Limb vTop = d[n - 1], vNext = d[n - 2];
  const Limb vInv = reciprocalLimb(vTop);
  const bool useMulxAdx = cpuHasMulxAdx();
  for (std::size_t j = k; j-- > 0;) {
    // D3: estimate the digit from the top two limbs of the partial remainder
    // and the top limb of the divisor, then correct it with the second limb.
    // The partial remainder is below d B^(j+1), so a[j+n] <= vTop.
    Limb qhat, rhat;
    bool rhatWrapped = false;
    if (a[j + n] == vTop) {
      qhat = ~Limb{0};
      rhat = a[j + n] + a[j + n - 1];
      rhatWrapped = rhat < a[j + n];
    } else {
      auto [qq, rr] = udiv2by1Preinv(a[j + n], a[j + n - 1], vTop, vInv);
      qhat = qq;
      rhat = rr;
    }
    if (!rhatWrapped) {
      while (UInt128(qhat) * vNext > ((UInt128(rhat) << 64) | a[j + n - 2])) {
        --qhat;
        rhat += vTop;
        if (rhat < vTop) break;  // rhat >= 2^64: the test can no longer hold
      }
    }
    // D4: a[j .. j+n] -= qhat * d.
    std::span<Limb> window = a.subspan(j, n);
    Limb c = useMulxAdx ? subMulLimbMulxAdx(window, d, qhat) : subMulLimbN(window, d, qhat);
    bool negative = a[j + n] < c;
    a[j + n] -= c;
    // D6: the estimate was one too large; add the divisor back once.
    if (negative) [[unlikely]] {
      ++tAddBacks;
      a[j + n] += addN(window, window, d);
      --qhat;
    }
    q[j] = qhat;
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

// a x for an x whose top limb is 1 (as the reciprocals below are): a times
// x's lower limbs plus a shifted, so that the product's length, and with it
// the transform length of the fast products, does not grow by a limb.
BigUInt mulUnitTop(const BigUInt& a, const BigUInt& x) {
  if (x.isZero() || x.topLimb() != 1 || a.isZero()) return mul(a, x);
  const std::size_t k = x.size() - 1;
  BigUInt low = mul(a, initBigUInt(x.limbs().first(k)));
  return add(low, shl(a, static_cast<std::int64_t>(64 * k)));
}

// Reciprocal of a divisor d of n limbs with its top bit set, to n limbs past
// the point: x close to B^(2n) / d, never above it, a few units below at
// most.
//
// Newton's step for 1/d from x0, x = x0 + x0 (1 - d x0), halves the
// relative error's exponent: x0 comes from the reciprocal of d's top
// h = floor(n/2) + 1 limbs, whose relative error is below (c + 2) B^-h (its
// own c units, and 2 B^-h from the dropped limbs of d), so x's is below
// (c + 2)^2 B^(-2h) <= (c + 2)^2 B^(-n-1): under one unit of x, plus the
// two truncations below.  Exact Newton steps approach 1/d from below, and
// both truncations round down, so x never exceeds B^(2n) / d.  Small
// divisors take the exact quotient floor((B^(2n)) / d).
BigUInt reciprocalNewton(std::span<const Limb> d) {
  const std::size_t n = d.size();
  if (n <= NewtonReciprocalBaseLimbs) {
    BigUInt power = BigUInt::zeros(2 * n + 1);
    power.mutableLimbs()[2 * n] = 1;
    return divMod(power, initBigUInt(d)).quotient;
  }
  const std::size_t h = n / 2 + 1;
  const BigUInt xh = reciprocalNewton(d.last(h));
  // e = B^(n+h) - d xh (either sign, below a few B^n in size), and the step
  // x = xh B^(n-h) + xh e / B^(2h).
  BigUInt t = mulUnitTop(initBigUInt(d), xh);
  BigUInt power = BigUInt::zeros(n + h + 1);
  power.mutableLimbs()[n + h] = 1;
  const bool below = cmp(t, power) <= 0;
  BigUInt e = below ? sub(power, t) : sub(t, power);
  BigUInt step = mulUnitTop(e, xh);
  BigUInt corr = initBigUInt(step.limbs().subspan(std::min(step.size(), 2 * h)));
  BigUInt x = shl(xh, static_cast<std::int64_t>(64 * (n - h)));
  // Rounding down: the truncated part of a negative step counts as one more.
  return below ? add(x, corr) : sub(x, add(corr, initBigUInt(std::uint64_t{1})));
}

// One block of n quotient limbs by the reciprocal x of d (n limbs, top bit
// set): a holds 2n limbs whose top n are below d; q = floor(a / d) and the
// remainder goes to a[0 .. n), zeros above.  The estimate floor(a1 x / B^n)
// from a's top half a1 is at most 2 + (x's error) below the quotient and
// not above it (x does not exceed B^(2n) / d); each step of the correction
// moves it by one.  Returns
// false, with a and q untouched, should the correction not end within
// MaxSteps (it cannot for a reciprocal as accurate as reciprocalNewton's;
// the caller then divides the block by divide and conquer).
bool divBlockNewton(std::span<Limb> q, std::span<Limb> a, const BigUInt& d, const BigUInt& x) {
  constexpr int MaxSteps = 16;
  const std::size_t n = d.size();
  BigUInt p = mulUnitTop(initBigUInt(a.subspan(n)), x);
  BigUInt q0 = initBigUInt(p.limbs().subspan(std::min(p.size(), n)));
  // x <= B^(2n) / d makes q0 <= the quotient < B^n: n limbs at most, so
  // q0 d below is an n by n product.
  if (q0.size() > n) return false;
  BigUInt qd = mul(q0, d);
  BigUInt value = initBigUInt(a);
  const BigUInt one = initBigUInt(std::uint64_t{1});
  BigUInt r;
  if (cmp(qd, value) > 0) {  // q0 too large: r = value - qd < 0
    BigUInt deficit = sub(qd, value);
    for (int step = 0;; ++step) {
      if (step == MaxSteps) return false;
      q0 = sub(q0, one);
      if (cmp(deficit, d) <= 0) {
        r = sub(d, deficit);
        break;
      }
      deficit = sub(deficit, d);
    }
  } else {
    r = sub(value, qd);
    for (int step = 0; cmp(r, d) >= 0; ++step) {
      if (step == MaxSteps) return false;
      r = sub(r, d);
      q0 = add(q0, one);
    }
  }
  assert(q0.size() <= n && r.size() <= n);
  std::fill(std::copy(q0.limbs().begin(), q0.limbs().end(), q.begin()), q.end(), Limb{0});
  std::fill(std::copy(r.limbs().begin(), r.limbs().end(), a.begin()), a.end(), Limb{0});
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
  const BigUInt d = initBigUInt(vn);
  const BigUInt x = reciprocalNewton(vn);
  // Blocks of n quotient limbs from the top (un's top n limbs are below vn),
  // the first taking the odd rest by divide and conquer.
  std::span<Limb> ql = q.mutableLimbs();
  std::size_t first = m % n == 0 ? n : m % n;
  for (std::size_t j = m; j > 0;) {
    std::size_t k = j == m ? first : n;
    j -= k;
    std::span<Limb> qb = ql.subspan(j, k), ab = un.subspan(j, n + k);
    if (k < n || !divBlockNewton(qb, ab, d, x)) {
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

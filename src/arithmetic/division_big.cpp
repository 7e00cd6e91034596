#include "arithmetic/division_big.hpp"

#include <algorithm>

#include "arithmetic/addition_big.hpp"
#include "arithmetic/comparison_big.hpp"

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
  if (n & 1) {  // odd head limb, so the loop takes pairs
    u128 p = u128(x[0]) * b;
    Limb lo = Limb(p), prev = o[0];
    o[0] = prev - lo;
    carry = Limb(p >> 64) + (prev < lo);
    ++o, ++x, --n;
  }
  if (n == 0) return carry;
  std::size_t pairs = n / 2;
  Limb lo0, hi0, lo1, hi1;
  const Limb zero = 0;
  bool noBorrow;
  // out - y - borrow = out + ~y + (1 - borrow): OF holds 1 - borrow, starting
  // at 1 (set with CF = 0 by the signed overflow of 2^63 - 1 + 1).  At the end
  // the product chain's CF and the final borrow 1 - OF join the high limb;
  // hi(x b) <= 2^64 - 2, so the sum cannot wrap.
  __asm__(
      "movabsq $0x7fffffffffffffff, %[lo0]\n\t"
      "addq $1, %[lo0]\n\t"
      "1:\n\t"
      "mulx (%[x]), %[lo0], %[hi0]\n\t"
      "mulx 8(%[x]), %[lo1], %[hi1]\n\t"
      "adcx %[c], %[lo0]\n\t"
      "notq %[lo0]\n\t"
      "adox (%[o]), %[lo0]\n\t"
      "adcx %[hi0], %[lo1]\n\t"
      "notq %[lo1]\n\t"
      "adox 8(%[o]), %[lo1]\n\t"
      "movq %[lo0], (%[o])\n\t"
      "movq %[lo1], 8(%[o])\n\t"
      "movq %[hi1], %[c]\n\t"
      "leaq 16(%[x]), %[x]\n\t"
      "leaq 16(%[o]), %[o]\n\t"
      "leaq -1(%[p]), %[p]\n\t"
      "jrcxz 2f\n\t"
      "jmp 1b\n\t"
      "2:\n\t"
      "adcx %[z], %[c]"
      : [c] "+&r"(carry), [x] "+&r"(x), [o] "+&r"(o), [p] "+&c"(pairs), [lo0] "=&r"(lo0), [hi0] "=&r"(hi0),
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

void divModKnuthN(std::span<Limb> q, std::span<Limb> r, std::span<const Limb> u, std::span<const Limb> v,
                  std::span<Limb> scratch) noexcept {
  const std::size_t n = v.size();
  assert(n >= 2 && v[n - 1] != 0 && u.size() >= n);
  const std::size_t m = u.size() - n;
  assert(q.size() == m + 1 && r.size() == n && scratch.size() >= knuthScratchSize(u.size(), n));

  // D1: normalise so that the divisor's top limb has its top bit set; the
  // dividend gains one limb for the bits shifted out of its top.
  const int s = clz64(v[n - 1]);
  std::span<Limb> un = scratch.first(u.size() + 1);
  std::span<Limb> vn = scratch.subspan(u.size() + 1, n);
  if (s == 0) {
    std::copy(v.begin(), v.end(), vn.begin());
    std::copy(u.begin(), u.end(), un.begin());
    un[u.size()] = 0;
  } else {
    for (std::size_t i = n - 1; i > 0; --i) vn[i] = (v[i] << s) | (v[i - 1] >> (64 - s));
    vn[0] = v[0] << s;
    un[u.size()] = u[u.size() - 1] >> (64 - s);
    for (std::size_t i = u.size() - 1; i > 0; --i) un[i] = (u[i] << s) | (u[i - 1] >> (64 - s));
    un[0] = u[0] << s;
  }

  const Limb vTop = vn[n - 1], vNext = vn[n - 2];
  const Limb vInv = reciprocalLimb(vTop);
  const bool useMulxAdx = cpuHasMulxAdx();
  for (std::size_t j = m + 1; j-- > 0;) {
    // D3: estimate the digit from the top two limbs of the partial remainder
    // and the top limb of the divisor, then correct it with the second limb.
    // The partial remainder is below vn B^(j+1), so un[j+n] <= vTop.
    Limb qhat, rhat;
    bool rhatWrapped = false;
    if (un[j + n] == vTop) {
      qhat = ~Limb{0};
      rhat = un[j + n] + un[j + n - 1];
      rhatWrapped = rhat < un[j + n];
    } else {
      auto [qq, rr] = udiv2by1Preinv(un[j + n], un[j + n - 1], vTop, vInv);
      qhat = qq;
      rhat = rr;
    }
    if (!rhatWrapped) {
      while (u128(qhat) * vNext > ((u128(rhat) << 64) | un[j + n - 2])) {
        --qhat;
        rhat += vTop;
        if (rhat < vTop) break;  // rhat >= 2^64: the test can no longer hold
      }
    }
    // D4: un[j .. j+n] -= qhat * vn.
    std::span<Limb> window = un.subspan(j, n);
    Limb c = useMulxAdx ? subMulLimbMulxAdx(window, vn, qhat) : subMulLimbN(window, vn, qhat);
    bool negative = un[j + n] < c;
    un[j + n] -= c;
    // D6: the estimate was one too large; add the divisor back once.
    if (negative) [[unlikely]] {
      ++tAddBacks;
      un[j + n] += addN(window, window, vn);
      --qhat;
    }
    q[j] = qhat;
  }

  // D8: the remainder is un[0 .. n-1] shifted back by s.
  if (s == 0) {
    std::copy(un.begin(), un.begin() + n, r.begin());
  } else {
    for (std::size_t i = 0; i + 1 < n; ++i) r[i] = (un[i] >> s) | (un[i + 1] << (64 - s));
    r[n - 1] = un[n - 1] >> s;
  }
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

BigUIntDivMod divMod(const BigUInt& a, const BigUInt& b) {
  if (b.isZero()) [[unlikely]] raiseDivByZero("Division by zero in BigUInt.");
  if (cmp(a, b) < 0) return {BigUInt{}, a};
  if (b.size() == 1) {
    auto [q, r] = divModLimb(a, b[0]);
    return {std::move(q), initBigUInt(r)};
  }
  return divModKnuth(a, b);
}

}  // namespace kovrix

#include "arithmetic/multiplication_big.hpp"

#include <algorithm>
#include <bit>

#include "arithmetic/addition_big.hpp"
#include "arithmetic/comparison_big.hpp"
#include "arithmetic/subtraction_big.hpp"

namespace kovrix {

__attribute__((target("bmi2,adx"))) Limb addMulLimbMulxAdx(std::span<Limb> out, std::span<const Limb> a,
                                                          Limb b) noexcept {
  assert(out.size() == a.size());
  std::size_t n = a.size();
  Limb* o = out.data();
  const Limb* x = a.data();
  Limb carry = 0;
  for (; n % 4 != 0; ++o, ++x, --n) {  // head limbs, so the loop takes fours
    UInt128 p = UInt128(x[0]) * b + o[0] + carry;
    o[0] = Limb(p);
    carry = Limb(p >> 64);
  }
  if (n == 0) return carry;
  std::size_t quads = n / 4;
  Limb lo0, hi0, lo1, hi1;
  const Limb zero = 0;
  // CF chains the high product limbs into the low ones (adcx), OF chains the
  // additions into out (adox); lea and jrcxz leave both flags alone.  Four
  // limbs a turn, so the loop control costs a quarter per limb.  At the end
  // both pending carries join the last high limb, which cannot wrap (the
  // total a b + out fits len(a) + 1 limbs).
  __asm__ volatile(
      "xorl %k[lo0], %k[lo0]\n\t"
      "1:\n\t"
      "mulx (%[x]), %[lo0], %[hi0]\n\t"
      "mulx 8(%[x]), %[lo1], %[hi1]\n\t"
      "adcx %[c], %[lo0]\n\t"
      "adox (%[o]), %[lo0]\n\t"
      "movq %[lo0], (%[o])\n\t"
      "adcx %[hi0], %[lo1]\n\t"
      "adox 8(%[o]), %[lo1]\n\t"
      "movq %[lo1], 8(%[o])\n\t"
      "mulx 16(%[x]), %[lo0], %[hi0]\n\t"
      "mulx 24(%[x]), %[lo1], %[c]\n\t"
      "adcx %[hi1], %[lo0]\n\t"
      "adox 16(%[o]), %[lo0]\n\t"
      "movq %[lo0], 16(%[o])\n\t"
      "adcx %[hi0], %[lo1]\n\t"
      "adox 24(%[o]), %[lo1]\n\t"
      "movq %[lo1], 24(%[o])\n\t"
      "leaq 32(%[x]), %[x]\n\t"
      "leaq 32(%[o]), %[o]\n\t"
      "leaq -1(%[p]), %[p]\n\t"
      "jrcxz 2f\n\t"
      "jmp 1b\n\t"
      "2:\n\t"
      "adcx %[z], %[c]\n\t"
      "adox %[z], %[c]"
      : [c] "+&r"(carry), [x] "+&r"(x), [o] "+&r"(o), [p] "+&c"(quads), [lo0] "=&r"(lo0), [hi0] "=&r"(hi0),
        [lo1] "=&r"(lo1), [hi1] "=&r"(hi1)
      : "d"(b), [z] "r"(zero)
      : "cc", "memory");
  return carry;
}

void mulSchoolbookN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b) noexcept {
  assert(!a.empty() && !b.empty() && out.size() == a.size() + b.size());
  std::size_t la = a.size();
  // One pass of a per limb of b: the first row stores, the others accumulate.
  out[la] = mulLimbN(out.first(la), a, b[0]);
  if (cpuHasMulxAdx()) {
    for (std::size_t k = 1; k < b.size(); ++k) out[la + k] = addMulLimbMulxAdx(out.subspan(k, la), a, b[k]);
  } else {
    for (std::size_t k = 1; k < b.size(); ++k) out[la + k] = addMulLimbN(out.subspan(k, la), a, b[k]);
  }
}

void sqrSchoolbookN(std::span<Limb> out, std::span<const Limb> a) noexcept {
  assert(!a.empty() && out.size() == 2 * a.size());
  std::size_t n = a.size();
  // Cross products: row i adds a[i] a[i+1..n) at limb 2i + 1; its carry limb
  // out[i + n] lies above everything the earlier rows wrote.
  out[0] = 0;
  out[2 * n - 1] = 0;
  if (n > 1) out[n] = mulLimbN(out.subspan(1, n - 1), a.subspan(1), a[0]);
  bool mulx = cpuHasMulxAdx();
  for (std::size_t i = 1; i + 1 < n; ++i) {
    auto row = out.subspan(2 * i + 1, n - 1 - i);
    auto x = a.subspan(i + 1);
    out[i + n] = mulx ? addMulLimbMulxAdx(row, x, a[i]) : addMulLimbN(row, x, a[i]);
  }
  // Doubled cross products plus the limb squares, one carry chain; the top
  // bit shifted out and the final carry are zero because the sum is a^2.
  Limb shiftIn = 0;
  unsigned char carry = 0;
  for (std::size_t i = 0; i < n; ++i) {
    UInt128 sq = UInt128(a[i]) * a[i];
    Limb o0 = out[2 * i], o1 = out[2 * i + 1];
    Limb d0 = (o0 << 1) | shiftIn, d1 = (o1 << 1) | (o0 >> 63);
    shiftIn = o1 >> 63;
    unsigned long long r0, r1;
    carry = _addcarry_u64(carry, d0, Limb(sq), &r0);
    carry = _addcarry_u64(carry, d1, Limb(sq >> 64), &r1);
    out[2 * i] = r0;
    out[2 * i + 1] = r1;
  }
  assert(carry == 0 && shiftIn == 0);
}

// Each balanced level keeps two sums of h + 1 limbs and their product of
// 2h + 2 limbs (h = ceil(n / 2)) and hands the rest to a recursion whose
// operands have at most h + 1 limbs.  An unbalanced level needs 2 len(b) <= 2h
// limbs for one block product, within the same bound.
// The top level always splits (see mulKaratsubaN); the levels below only
// from the threshold on.
std::size_t karatsubaScratchSize(std::size_t n) noexcept {
  std::size_t total = 0;
  for (bool top = true; n >= 2 && (top || n >= std::min(KaratsubaThreshold, SqrKaratsubaThreshold)); top = false) {
    std::size_t h = (n + 1) / 2;
    total += 4 * h + 4;
    n = h + 1;
  }
  return total;
}

namespace {

// Product of two spans of any order by `product`, which takes the longer
// operand first.
template <class Product>
void mulOrdered(std::span<Limb> out, std::span<const Limb> x, std::span<const Limb> y, std::span<Limb> scratch,
                Product product) noexcept {
  if (x.size() < y.size()) std::swap(x, y);
  product(out, x, y, scratch);
}

// out = a * b for len(a) >= len(b): a in blocks of len(b) limbs, each block
// times b by `product`.  The first product lands in out directly; each later
// one is added at its offset, where its low len(b) limbs overlap the previous
// block's high half.  Scratch: 2 len(b) limbs plus what `product` needs for
// len(b)-limb operands.
template <class Product>
void mulByBlocks(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b, std::span<Limb> scratch,
                 Product product) noexcept {
  std::size_t la = a.size(), lb = b.size();
  product(out.first(2 * lb), a.first(lb), b, scratch);
  std::span<Limb> tmp = scratch.first(2 * lb);
  std::span<Limb> rest = scratch.subspan(2 * lb);
  for (std::size_t i = lb; i < la; i += lb) {
    std::size_t k = std::min(lb, la - i);
    std::span<Limb> t = tmp.first(k + lb);
    mulOrdered(t, a.subspan(i, k), b, rest, product);
    std::span<Limb> low = out.subspan(i, lb);
    Limb carry = addN(low, low, t.first(lb));
    std::span<Limb> high = out.subspan(i + lb, k);
    std::copy(t.begin() + lb, t.end(), high.begin());
    // The partial product fits in i + k + lb limbs, so this carry stops
    // inside `high`.
    [[maybe_unused]] Limb over = addLimbInPlace(high, carry);
    assert(over == 0);
  }
}

}  // namespace

void mulKaratsubaN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b,
                   std::span<Limb> scratch) noexcept {
  assert(a.size() >= b.size() && !b.empty() && out.size() == a.size() + b.size());
  std::size_t la = a.size(), lb = b.size();
  if (lb < 2) return mulSchoolbookN(out, a, b);
  assert(scratch.size() >= karatsubaScratchSize(la));
  std::size_t h = (la + 1) / 2;
  // This level splits at any size (so that the tuning program can time one
  // Karatsuba step against schoolbook on either side of the threshold); the
  // products below it split only from KaratsubaThreshold on.
  auto karatsuba = [](std::span<Limb> o, std::span<const Limb> x, std::span<const Limb> y, std::span<Limb> s) {
    if (y.size() < KaratsubaThreshold) return mulSchoolbookN(o, x, y);
    mulKaratsubaN(o, x, y, s);
  };
  // Unbalanced: blocks of len(b) limbs; 2 len(b) <= 2h limbs of scratch.
  if (lb <= h) return mulByBlocks(out, a, b, scratch, karatsuba);

  // Balanced: a = a0 + a1 B^h, b = b0 + b1 B^h with 1 <= len(b1) <= len(a1) <= h.
  auto a0 = a.first(h), a1 = a.subspan(h);
  auto b0 = b.first(h), b1 = b.subspan(h);
  std::size_t n = la + lb;
  auto z0 = out.first(2 * h);
  auto z2 = out.subspan(2 * h);
  karatsuba(z0, a0, b0, scratch);
  karatsuba(z2, a1, b1, scratch);

  auto sa = scratch.first(h + 1);
  auto sb = scratch.subspan(h + 1, h + 1);
  auto z1 = scratch.subspan(2 * h + 2, 2 * h + 2);
  auto rest = scratch.subspan(4 * h + 4);
  sa[h] = addN(sa.first(h), a0, a1);
  sb[h] = addN(sb.first(h), b0, b1);
  std::size_t lsa = h + (sa[h] != 0), lsb = h + (sb[h] != 0);
  mulOrdered(z1.first(lsa + lsb), sa.first(lsa), sb.first(lsb), rest, karatsuba);
  std::fill(z1.begin() + (lsa + lsb), z1.end(), Limb{0});
  // z1 = (a0 + a1)(b0 + b1) - z0 - z2 = a0 b1 + a1 b0 >= 0: no borrow.
  [[maybe_unused]] Limb borrow = subN(z1, z1, z0);
  borrow |= subN(z1, z1, z2);
  assert(borrow == 0);
  // a b >= (a0 b1 + a1 b0) B^h and a b < B^n, so z1 < B^(n - h): it fits the
  // n - h limbs from B^h up, and any limbs of z1 beyond them are zero.
  addAtN(out.first(n), h, z1);
}

void sqrKaratsubaN(std::span<Limb> out, std::span<const Limb> a, std::span<Limb> scratch) noexcept {
  assert(!a.empty() && out.size() == 2 * a.size());
  std::size_t n = a.size();
  if (n < 2) return sqrSchoolbookN(out, a);
  assert(scratch.size() >= karatsubaScratchSize(n));
  // As in mulKaratsubaN: this level splits, the squares below it from the
  // threshold on.
  auto square = [](std::span<Limb> o, std::span<const Limb> x, std::span<Limb> s) {
    if (x.size() < SqrKaratsubaThreshold) return sqrSchoolbookN(o, x);
    sqrKaratsubaN(o, x, s);
  };
  // a = a0 + a1 B^h with len(a1) <= h; a^2 = a0^2 + (a0^2 + a1^2 - (a0 - a1)^2) B^h
  // + a1^2 B^2h, where the middle term is 2 a0 a1 >= 0.
  std::size_t h = (n + 1) / 2;
  auto a0 = a.first(h), a1 = a.subspan(h);
  square(out.first(2 * h), a0, scratch);
  square(out.subspan(2 * h), a1, scratch);
  auto z1 = scratch.first(2 * h);
  auto t = scratch.subspan(2 * h, 2 * h + 1);
  auto rest = scratch.subspan(4 * h + 4);
  auto d = t.first(h);  // |a0 - a1|, overwritten once z1 is formed
  absDiffN(d, a0, a1);
  square(z1, d, rest);
  t[2 * h] = addN(t.first(2 * h), out.first(2 * h), out.subspan(2 * h));
  [[maybe_unused]] Limb borrow = subN(t, t, z1);
  assert(borrow == 0);
  addAtN(out, h, t);
}

std::size_t mulScratchEnvelope(std::size_t n) noexcept {
  if (n < std::min(KaratsubaThreshold, SqrKaratsubaThreshold)) return 0;
  std::size_t s = std::max(karatsubaScratchSize(n), n + mulScratchEnvelope(n / 2));
  if (n >= std::min(Toom3Threshold, SqrToom3Threshold)) s = std::max(s, toom3ScratchSize(n));
  if (n >= std::min(FftThreshold, SqrFftThreshold)) s = std::max(s, fftScratchSize(2 * n));
  return s;
}

bool fftPays(std::size_t la, std::size_t lb, std::size_t threshold) noexcept {
  if (lb < threshold) return false;
  if (lb >= FftAnyFillThreshold) return true;
  std::size_t used = la + lb - 1;
  return static_cast<double>(used) >= FftMinFill * static_cast<double>(std::bit_ceil(used));
}

std::size_t mulScratchSize(std::size_t na, std::size_t nb) noexcept {
  std::size_t la = std::max(na, nb), lb = std::min(na, nb);
  if (lb < KaratsubaThreshold) return 0;
  if (fftPays(la, lb, FftThreshold)) return fftScratchSize(la + lb);
  if (la >= 2 * lb) return 2 * lb + mulScratchSize(lb, lb);
  if (lb >= Toom3Threshold) return toom3ScratchSize(la);
  return karatsubaScratchSize(la);
}

std::size_t sqrScratchSize(std::size_t n) noexcept {
  if (n < SqrKaratsubaThreshold) return 0;
  if (fftPays(n, n, SqrFftThreshold)) return fftScratchSize(2 * n);
  if (n >= SqrToom3Threshold) return toom3ScratchSize(n);
  return karatsubaScratchSize(n);
}

void mulN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b, std::span<Limb> scratch) noexcept {
  assert(!a.empty() && !b.empty() && out.size() == a.size() + b.size());
  if (a.data() == b.data() && a.size() == b.size()) return sqrN(out, a, scratch);
  if (a.size() < b.size()) std::swap(a, b);
  std::size_t la = a.size(), lb = b.size();
  assert(scratch.size() >= mulScratchSize(la, lb));
  if (lb < KaratsubaThreshold) return mulSchoolbookN(out, a, b);
  if (fftPays(la, lb, FftThreshold)) return mulFftN(out, a, b, scratch);
  if (la >= 2 * lb)
    return mulByBlocks(out, a, b, scratch,
                       [](std::span<Limb> o, std::span<const Limb> x, std::span<const Limb> y, std::span<Limb> s) {
                         mulN(o, x, y, s);
                       });
  if (lb >= Toom3Threshold) return mulToom3N(out, a, b, scratch);
  mulKaratsubaN(out, a, b, scratch);
}

void sqrN(std::span<Limb> out, std::span<const Limb> a, std::span<Limb> scratch) noexcept {
  assert(!a.empty() && out.size() == 2 * a.size());
  std::size_t n = a.size();
  assert(scratch.size() >= sqrScratchSize(n));
  if (n < SqrKaratsubaThreshold) return sqrSchoolbookN(out, a);
  if (fftPays(n, n, SqrFftThreshold)) return sqrFftN(out, a, scratch);
  if (n >= SqrToom3Threshold) return sqrToom3N(out, a, scratch);
  sqrKaratsubaN(out, a, scratch);
}

BigUInt mulSchoolbook(const BigUInt& a, const BigUInt& b) {
  if (a.isZero() || b.isZero()) return BigUInt{};
  BigUInt r = BigUInt::uninitialized(limbCount(checkedAdd(a.length(), b.length())));
  mulSchoolbookN(r.mutableLimbs(), a.limbs(), b.limbs());
  r.trim();
  return r;
}

BigUInt mulKaratsuba(const BigUInt& a, const BigUInt& b) {
  if (a.isZero() || b.isZero()) return BigUInt{};
  const BigUInt& x = a.size() >= b.size() ? a : b;
  const BigUInt& y = a.size() >= b.size() ? b : a;
  if (x.size() <= KaratsubaThreshold) return mulSchoolbook(a, b);
  BigUInt r = BigUInt::uninitialized(limbCount(checkedAdd(a.length(), b.length())));
  ScratchLimbs<64> scratch(karatsubaScratchSize(x.size()));
  mulKaratsubaN(r.mutableLimbs(), x.limbs(), y.limbs(), scratch.span());
  r.trim();
  return r;
}

BigUInt sqr(const BigUInt& a) {
  if (a.isZero()) return BigUInt{};
  BigUInt r = BigUInt::uninitialized(limbCount(checkedAdd(a.length(), a.length())));
  ScratchLimbs<64> scratch(sqrScratchSize(a.size()));
  sqrN(r.mutableLimbs(), a.limbs(), scratch.span());
  r.trim();
  return r;
}

BigUInt mul(const BigUInt& a, const BigUInt& b, MulStrategy strategy) {
  switch (strategy) {
    case MulStrategy::Schoolbook: return mulSchoolbook(a, b);
    case MulStrategy::Karatsuba: return mulKaratsuba(a, b);
    case MulStrategy::Auto: break;
  }
  if (std::min(a.size(), b.size()) < KaratsubaThreshold) return mulSchoolbook(a, b);
  // The same value twice (one object, or equal limbs: comparing costs a
  // linear pass, a small part of any product this long) is a square.
  if (&a == &b || (a.size() == b.size() && std::equal(a.data(), a.data() + a.size(), b.data()))) return sqr(a);
  BigUInt r = BigUInt::uninitialized(limbCount(checkedAdd(a.length(), b.length())));
  ScratchLimbs<64> scratch(mulScratchSize(a.size(), b.size()));
  mulN(r.mutableLimbs(), a.limbs(), b.limbs(), scratch.span());
  r.trim();
  return r;
}

}  // namespace kovrix

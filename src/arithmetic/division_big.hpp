// Unsigned division with remainder: by one limb, by Knuth's algorithm D, by
// divide and conquer on top of it, and the dispatcher between them.
#pragma once

#include "arithmetic/big_int.hpp"

namespace kovrix {

struct BigUIntLimbDivMod {
  BigUInt quotient;
  Limb remainder;
};

struct BigUIntDivMod {
  BigUInt quotient;
  BigUInt remainder;
};

// Quotient and divisor size, in limbs, from which divide-and-conquer division
// pays: `divMod` takes it when both the divisor and the quotient have at
// least this many limbs, and its recursion divides blocks of fewer quotient
// limbs by schoolbook.  Measured with bench/tune.cpp (kovrix_tune
// DivideConquer), one level of the recursion against the schoolbook loop on
// 2n / n divisions: even within 5% from 17 to 195 limbs (the half-size
// products are Karatsuba's, barely ahead of schoolbook there), so the
// threshold sits low, where the deeper levels of large divisions gain.
inline constexpr std::size_t DivideConquerThreshold = 48;
// Divisor size, in limbs, from which the schoolbook loop runs on the
// complement of the partial remainder (multiply-add rows instead of
// multiply-subtract ones), for blocks of at least half as many quotient
// limbs.  Measured against the multiply-subtract rows: 0.93 at 32 by 16 and
// 64 by 16 limbs (divisor by quotient), 0.93 at 64 by 64, 0.85 at 128 by
// 128; 1.00 at 24 by 24 and 1.07 at 64 by 4, where the two complementing
// passes cost what the rows save.
inline constexpr std::size_t ComplementedRowsFrom = 32;
// Divisor size, in limbs, from which `divMod` divides by a Newton reciprocal
// (when the quotient is at least as long as the divisor): the reciprocal of
// the divisor's top half, then each half of the quotient from one product
// with it and one cyclic product with the divisor (see divModNewton).
// Newton / divide-conquer on 2n / n divisions (kovrix_tune NewtonDivision
// and single-size timings on the shared machine, within about 10%):
// 0.89 at 4,096 limbs, 1.31 at 4,500 and 1.10 at 5,000 (just past a power of
// two the cyclic products double), 1.00 at 5,500, 0.95 at 6,000, 0.86 at
// 6,902, 0.79 at 8,050, 1.14 at 8,694 and 1.07 at 9,390 (the next step),
// 0.69 at 16,092, 0.49 at 32,168; on the 13,750 / 5,647-limb divisions of
// decimal text at a million digits 0.74.
inline constexpr std::size_t NewtonDivisionThreshold = 5500;
// Reciprocals of divisors up to this many limbs are exact quotients; above
// it Newton's step doubles the precision.
inline constexpr std::size_t NewtonReciprocalBaseLimbs = 64;
// Cyclic products (modulo B^N - 1) of the Newton division take the
// transforms' cyclic convolution from this length N on; shorter ones are full
// products, folded.
inline constexpr std::size_t WrapFftLimbs = 1024;

// ---- kernels -------------------------------------------------------------------

// q = a / d over len(a) limbs (not trimmed); returns a mod d.
// Contract: d != 0, len(q) = len(a); q may be the same span as a.
Limb divModLimbN(std::span<Limb> q, std::span<const Limb> a, Limb d) noexcept;

// out -= a * b (b one limb) over len(a) limbs; returns the limb still to be
// subtracted at position len(a).
// Contract: len(out) = len(a); out and a do not overlap.
inline Limb subMulLimbN(std::span<Limb> out, std::span<const Limb> a, Limb b) noexcept {
  assert(out.size() == a.size());
  std::size_t n = a.size();
  if (n == 0) return 0;
  Limb* o = out.data();
  const Limb* x = a.data();
  Limb carry = 0;
  // rdx:rax = x[i] b + carry; o[i] -= rax, and the borrow joins the high
  // limb.  hi(x[i] b) <= 2^64 - 2, so neither increment of rdx wraps.  The
  // asm is volatile: its stores must stay even where a caller ignores the
  // returned limb (a non-volatile asm whose outputs are unused may be dropped,
  // memory clobber or not).
  __asm__ volatile(
      "1:\n\t"
      "movq (%[x]), %%rax\n\t"
      "mulq %[b]\n\t"
      "addq %[c], %%rax\n\t"
      "adcq $0, %%rdx\n\t"
      "subq %%rax, (%[o])\n\t"
      "adcq $0, %%rdx\n\t"
      "movq %%rdx, %[c]\n\t"
      "leaq 8(%[x]), %[x]\n\t"
      "leaq 8(%[o]), %[o]\n\t"
      "decq %[n]\n\t"
      "jnz 1b"
      : [c] "+&r"(carry), [x] "+&r"(x), [o] "+&r"(o), [n] "+&r"(n)
      : [b] "r"(b)
      : "rax", "rdx", "cc", "memory");
  return carry;
}

// subMulLimbN with MULX and two carry chains: CF chains the product limbs
// (adcx), OF chains the subtraction, written as out + ~y + 1 (adox).  The same
// result; only to be called when cpuHasMulxAdx().
Limb subMulLimbMulxAdx(std::span<Limb> out, std::span<const Limb> a, Limb b) noexcept;

// Scratch limbs divModKnuthN needs: the normalised dividend (len(u) + 1) and
// divisor (len(v)).
constexpr std::size_t knuthScratchSize(std::size_t lenU, std::size_t lenV) noexcept { return lenU + 1 + lenV; }

// Long division of u by v (Knuth, The Art of Computer Programming vol. 2,
// 4.3.1, algorithm D, base 2^64): q = u / v, r = u mod v, neither trimmed.
// Contract: len(v) >= 2 with a non-zero top limb, len(u) >= len(v),
// len(q) = len(u) - len(v) + 1, len(r) = len(v),
// len(scratch) >= knuthScratchSize(len(u), len(v)); no two spans overlap.
void divModKnuthN(std::span<Limb> q, std::span<Limb> r, std::span<const Limb> u, std::span<const Limb> v,
                  std::span<Limb> scratch) noexcept;

// Schoolbook division on a normalised divisor, in place (the quotient-digit
// loop of algorithm D): q = floor(a / d) - qh B^len(q), where the returned qh
// (0 or 1) is the quotient limb above q; the remainder is left in a[0 .. n).
// Contract: n = len(d) >= 2, d's top bit set, len(a) = n + len(q); a does not
// overlap q or d.
Limb divSchoolbookNormN(std::span<Limb> q, std::span<Limb> a, std::span<const Limb> d) noexcept;

// Scratch limbs the divide-and-conquer kernels need for a dividend of lenU
// and a divisor of lenV limbs.
std::size_t divideConquerScratchSize(std::size_t lenU, std::size_t lenV) noexcept;

// Divide-and-conquer division on a normalised divisor, in place, with the
// same contract and result as divSchoolbookNormN (identical quotient and
// remainder: both are unique), in O(M(n) log n) for a product cost M(n).
// Blocks of fewer than leafBelow quotient limbs run the schoolbook loop (the
// tuning program varies it; everything else takes the default).
// len(scratch) >= len(d) + the product scratch of divideConquerScratchSize.
Limb divDivideConquerNormN(std::span<Limb> q, std::span<Limb> a, std::span<const Limb> d, std::span<Limb> scratch,
                           std::size_t leafBelow = DivideConquerThreshold) noexcept;

// divModKnuthN's contract and result by divide and conquer;
// len(scratch) >= divideConquerScratchSize(len(u), len(v)).
void divModDivideConquerN(std::span<Limb> q, std::span<Limb> r, std::span<const Limb> u, std::span<const Limb> v,
                          std::span<Limb> scratch, std::size_t leafBelow = DivideConquerThreshold) noexcept;

// How often the calling thread's long divisions have taken the add-back step
// (the quotient digit estimate was one too large).  It is rare: about 2 in
// 2^64 digits for random operands.  Kept for the tests that construct it.
std::uint64_t knuthAddBackCount() noexcept;

// ---- owning operations ----------------------------------------------------------

// DivByZeroDefect "divModLimb: divisor is zero" for d = 0.
BigUIntLimbDivMod divModLimb(const BigUInt& a, Limb d);
// u / v and u mod v for len(v) >= 2 and u >= v (other operands are passed to
// divMod, which gives the same answer).
BigUIntDivMod divModKnuth(const BigUInt& u, const BigUInt& v);
// The same by divide and conquer (any size; small blocks run the schoolbook
// loop).
BigUIntDivMod divModDivideConquer(const BigUInt& u, const BigUInt& v);
// The same with a reciprocal by Newton's method: the quotient in blocks of
// at most len(v) limbs, each estimated from the reciprocal of the divisor's
// top block-length limbs (one product) and corrected against the dividend
// by one cyclic product with the divisor.
BigUIntDivMod divModNewton(const BigUInt& u, const BigUInt& v);
// DivByZeroDefect "Division by zero in BigUInt." for b = 0.  Knuth's
// algorithm below DivideConquerThreshold, divide and conquer above, the
// Newton reciprocal from NewtonDivisionThreshold on.
BigUIntDivMod divMod(const BigUInt& a, const BigUInt& b);

inline BigUInt operator/(const BigUInt& a, const BigUInt& b) { return divMod(a, b).quotient; }
inline BigUInt operator%(const BigUInt& a, const BigUInt& b) { return divMod(a, b).remainder; }

}  // namespace kovrix

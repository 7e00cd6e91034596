// Unsigned multiplication: schoolbook and Karatsuba, the strategy dispatcher,
// and the limb-level kernels they run on.
#pragma once

#include <utility>

#include "arithmetic/big_int.hpp"

namespace kovrix {

enum class MulStrategy : std::uint8_t { Auto = 0, Schoolbook = 1, Karatsuba = 2 };

// ---- thresholds ------------------------------------------------------------------
// Every crossover is in limbs of the shorter operand (of the operand, for
// squares) and was measured with bench/tune.cpp (`kovrix_tune`), which times
// the two neighbouring tiers at each size on the machine at hand and prints
// the first size from which the faster tier stays faster.

// Karatsuba from here on: `mul` with Auto takes Karatsuba only when the
// smaller operand has at least this many limbs, and the Karatsuba recursion
// multiplies by schoolbook below it.  kovrix_tune on the 2-core AMD EPYC
// (Zen 5) development machine: one Karatsuba step first beats schoolbook at
// 32 to 45 limbs (the machine is shared; the ratio stays within 5% of 1 over
// that range).
inline constexpr std::size_t KaratsubaThreshold = 36;
// Toom-3 from here on (balanced operands): Toom-3 / Karatsuba ran 1.08 at 99
// limbs, 1.00 at 125, 0.98 at 200, 0.95 at 318.
inline constexpr std::size_t Toom3Threshold = 130;
// The transforms from here on, for products whose transform is well filled:
// the transform length doubles at each power of two of len(a) + len(b), so
// its cost is a staircase.  Just past a step (fill about 1/2) Toom-3 stays
// faster (fft / toom3 1.59 at 2156 limbs, 1.22 at 4309) until the operands
// are long enough for Toom-3's own pieces to go to the transforms; from a fill
// of FftMinFill the transform wins (0.97 at 3167, 0.67 at 3990, 0.85 at 5428).
inline constexpr std::size_t FftThreshold = 2500;
inline constexpr double FftMinFill = 0.6;
// Past this length the transform wins at any fill.
inline constexpr std::size_t FftAnyFillThreshold = 4 * FftThreshold;
// The same crossovers for squares: the square kernels save more at the
// bottom (schoolbook squares do half the limb products), so each tier starts
// later: Karatsuba / schoolbook square 1.01 at 100 limbs, 0.97 at 114;
// Toom-3 / Karatsuba square 1.05 at 272, 0.91 at 343, 1.01 at 432.
inline constexpr std::size_t SqrKaratsubaThreshold = 110;
inline constexpr std::size_t SqrToom3Threshold = 350;
inline constexpr std::size_t SqrFftThreshold = 2500;
// Longest product the transforms can form: 2^45 coefficients, the largest
// power of two dividing p - 1 for each of the three primes.
inline constexpr std::size_t FftMaxLimbs = std::size_t{1} << 45;

// ---- kernels -------------------------------------------------------------------

// out = a * b (b one limb) over len(a) limbs; returns the high limb.
// Contract: len(out) = len(a); out may be the same span as a.
inline Limb mulLimbN(std::span<Limb> out, std::span<const Limb> a, Limb b) noexcept {
  assert(out.size() == a.size());
  Limb* o = out.data();
  const Limb* x = a.data();
  Limb carry = 0;
  for (std::size_t i = 0, n = a.size(); i < n; ++i) {
    UInt128 p = UInt128(x[i]) * b;
    Limb lo = Limb(p) + carry;
    carry = Limb(p >> 64) + (lo < carry);  // hi(p) <= 2^64 - 2: no wrap
    o[i] = lo;
  }
  return carry;
}

// out += a * b (b one limb) over len(a) limbs; returns the limb carried out.
// Contract: len(out) = len(a); out and a do not overlap.
//
// Each step adds the incoming carry and out[i] to the product a[i] b:
// (2^64 - 1)^2 + 2 (2^64 - 1) = 2^128 - 1, so the outgoing carry fits a limb.
inline Limb addMulLimbN(std::span<Limb> out, std::span<const Limb> a, Limb b) noexcept {
  assert(out.size() == a.size());
  std::size_t n = a.size();
  if (n == 0) return 0;
  Limb* o = out.data();
  const Limb* x = a.data();
  Limb carry = 0;
  // One limb per turn: rdx:rax = x[i] b, plus the carry, plus o[i]; the
  // high limb absorbs both carries.  Plain x86-64 instructions: the carry
  // chain is add/adc only, which the compiler does not produce from the
  // 128-bit formulation.
  __asm__ volatile(
      "1:\n\t"
      "movq (%[x]), %%rax\n\t"
      "mulq %[b]\n\t"
      "addq %[c], %%rax\n\t"
      "adcq $0, %%rdx\n\t"
      "addq %%rax, (%[o])\n\t"
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

// addMulLimbN with MULX and the two carry chains of ADCX / ADOX (one for the
// product limbs, one for out): the same result, about twice the speed.
// Contract: as addMulLimbN; only to be called when cpuHasMulxAdx().
Limb addMulLimbMulxAdx(std::span<Limb> out, std::span<const Limb> a, Limb b) noexcept;

// out = a * b, the full len(a) + len(b) limbs (not trimmed).
// Contract: len(a) >= 1, len(b) >= 1, len(out) = len(a) + len(b); out overlaps
// neither a nor b.
void mulSchoolbookN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b) noexcept;

// out = a * a, the full 2 len(a) limbs: each cross product a[i] a[j] (i < j)
// once, doubled, plus the squares of the limbs; about half the limb products
// of mulSchoolbookN.
// Contract: len(a) >= 1, len(out) = 2 len(a); out does not overlap a.
void sqrSchoolbookN(std::span<Limb> out, std::span<const Limb> a) noexcept;

// Scratch limbs mulKaratsubaN needs when its longer operand has n limbs.
std::size_t karatsubaScratchSize(std::size_t n) noexcept;

// out = a * b by Karatsuba, the full len(a) + len(b) limbs.
// Contract: len(a) >= len(b) >= 1, len(out) = len(a) + len(b),
// len(scratch) >= karatsubaScratchSize(len(a)); out, scratch and the inputs do
// not overlap.
void mulKaratsubaN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b,
                   std::span<Limb> scratch) noexcept;

// out = a * a by Karatsuba on the halves: a0^2, a1^2 and (a0 - a1)^2.
// Contract: len(a) >= 1, len(out) = 2 len(a),
// len(scratch) >= karatsubaScratchSize(len(a)); no overlap.
void sqrKaratsubaN(std::span<Limb> out, std::span<const Limb> a, std::span<Limb> scratch) noexcept;

// Scratch limbs mulToom3N and sqrToom3N need when the longer operand has n
// limbs (their five pieces' products go through mulN).
std::size_t toom3ScratchSize(std::size_t n) noexcept;

// out = a * b by Toom-3: both operands in three pieces of k = ceil(len(a) / 3)
// limbs, the product evaluated at 0, 1, -1, 2 and infinity (five products of
// about k limbs, each through mulN), then interpolated.
// Contract: len(a) >= 5, len(a) >= len(b) > ceil(len(a) / 3),
// len(out) = len(a) + len(b), len(scratch) >= toom3ScratchSize(len(a));
// no overlap.
void mulToom3N(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b,
               std::span<Limb> scratch) noexcept;
// out = a * a by Toom-3 (five squares).  Contract: len(a) >= 5,
// len(out) = 2 len(a), len(scratch) >= toom3ScratchSize(len(a)); no overlap.
void sqrToom3N(std::span<Limb> out, std::span<const Limb> a, std::span<Limb> scratch) noexcept;

// Scratch limbs mulFftN needs for a product of len(a) + len(b) = n limbs
// (sqrFftN needs no more).
std::size_t fftScratchSize(std::size_t n) noexcept;

// out = a * b by number-theoretic transforms: each limb one coefficient, the
// cyclic convolution taken modulo three primes below 2^62 and rebuilt by the
// Chinese remainder theorem.  Any shape of operands.
// Contract: len(a) >= 1, len(b) >= 1, len(out) = len(a) + len(b),
// len(out) <= FftMaxLimbs, len(scratch) >= fftScratchSize(len(out)); no overlap.
void mulFftN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b,
             std::span<Limb> scratch) noexcept;
// out = a * a by the transforms of one operand.  Contract: as mulFftN with b = a.
void sqrFftN(std::span<Limb> out, std::span<const Limb> a, std::span<Limb> scratch) noexcept;

// out = a * b mod (B^N - 1) for N = len(out), a power of two, by one cyclic
// convolution of length N (about half the cost of the full product when
// len(a) + len(b) is near 2N).  The value is left in [0, B^N - 1] (B^N - 1
// standing for zero).
// Contract: N >= 2, 1 <= len(a), len(b) <= N, len(scratch) >= 5 N; out and
// scratch overlap nothing.
void mulFftWrapN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b,
                 std::span<Limb> scratch) noexcept;

// The transforms of b for cyclic products of length N = len(out) / 3 with it
// (mulFftWrapTransformedN): an operand met in several such products is
// transformed once.  Contract: N a power of two, N >= 2, 1 <= len(b) <= N,
// len(scratch) >= N; no overlap.
void fftTransformN(std::span<Limb> out, std::span<const Limb> b, std::span<Limb> scratch) noexcept;
// mulFftWrapN(out, a, b) for bHat = the transforms of b at N = len(out):
// the same result, one transform fewer per prime.
// Contract: as mulFftWrapN, len(bHat) = 3 N.
void mulFftWrapTransformedN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> bHat,
                            std::span<Limb> scratch) noexcept;

// True when the transforms are the tier for a product of la x lb limbs
// (la >= lb): from FftThreshold (squares: SqrFftThreshold, passed as
// `threshold`) when the transform of len(a) + len(b) limbs is at least
// FftMinFill full, and past FftAnyFillThreshold at any fill.
bool fftPays(std::size_t la, std::size_t lb, std::size_t threshold) noexcept;

// Scratch limbs mulN needs for operands of na and nb limbs (either order).
std::size_t mulScratchSize(std::size_t na, std::size_t nb) noexcept;
// A bound on the scratch of mulN and sqrN for every shape whose longer
// operand has at most n limbs (non-decreasing in n): what a tier reserves for
// the products it hands back to mulN.
std::size_t mulScratchEnvelope(std::size_t n) noexcept;
// Scratch limbs sqrN needs for an operand of n limbs.
std::size_t sqrScratchSize(std::size_t n) noexcept;

// out = a * b by the fastest tier for the shape: schoolbook, Karatsuba,
// Toom-3 or the transforms by the shorter operand's length; an operand at
// least twice as long as the other is cut into pieces of the shorter one's
// length, each a balanced product.  The same span as both operands squares.
// Contract: len(a) >= 1, len(b) >= 1, len(out) = len(a) + len(b),
// len(scratch) >= mulScratchSize(len(a), len(b)); out and scratch overlap
// nothing.
void mulN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b, std::span<Limb> scratch) noexcept;
// out = a * a by the fastest squaring tier.  Contract: len(a) >= 1,
// len(out) = 2 len(a), len(scratch) >= sqrScratchSize(len(a)); no overlap.
void sqrN(std::span<Limb> out, std::span<const Limb> a, std::span<Limb> scratch) noexcept;

// ---- owning operations ----------------------------------------------------------

BigUInt mulSchoolbook(const BigUInt& a, const BigUInt& b);
BigUInt mulKaratsuba(const BigUInt& a, const BigUInt& b);
// Auto: mulN (schoolbook while the smaller operand has fewer than
// KaratsubaThreshold limbs, then Karatsuba, Toom-3 and the transforms, and
// squaring when both operands are the same value).
BigUInt mul(const BigUInt& a, const BigUInt& b, MulStrategy strategy = MulStrategy::Auto);
// a * a by sqrN.
BigUInt sqr(const BigUInt& a);
inline BigUInt operator*(const BigUInt& a, const BigUInt& b) { return mul(a, b); }

}  // namespace kovrix

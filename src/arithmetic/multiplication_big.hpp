// Unsigned multiplication: schoolbook and Karatsuba, the strategy dispatcher,
// and the limb-level kernels they run on.
#pragma once

#include <utility>

#include "arithmetic/big_int.hpp"

namespace kovrix {

enum class MulStrategy : std::uint8_t { Auto = 0, Schoolbook = 1, Karatsuba = 2 };

// Operand size, in limbs, from which Karatsuba pays: `mul` with Auto takes
// Karatsuba only when the smaller operand has at least this many limbs, and
// the Karatsuba recursion multiplies by schoolbook below it.  At 32 limbs a
// schoolbook product is about 1000 limb products; measured with
// bench/bigint_bench.cpp, Karatsuba's three half-size products win from
// there on.
inline constexpr std::size_t KaratsubaThreshold = 32;

// ---- kernels -------------------------------------------------------------------

// out = a * b (b one limb) over len(a) limbs; returns the high limb.
// Contract: len(out) = len(a); out may be the same span as a.
inline Limb mulLimbN(std::span<Limb> out, std::span<const Limb> a, Limb b) noexcept {
  assert(out.size() == a.size());
  Limb* o = out.data();
  const Limb* x = a.data();
  Limb carry = 0;
  for (std::size_t i = 0, n = a.size(); i < n; ++i) {
    u128 p = u128(x[i]) * b;
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
  __asm__(
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

// Scratch limbs mulKaratsubaN needs when its longer operand has n limbs.
std::size_t karatsubaScratchSize(std::size_t n) noexcept;

// out = a * b by Karatsuba, the full len(a) + len(b) limbs.
// Contract: len(a) >= len(b) >= 1, len(out) = len(a) + len(b),
// len(scratch) >= karatsubaScratchSize(len(a)); out, scratch and the inputs do
// not overlap.
void mulKaratsubaN(std::span<Limb> out, std::span<const Limb> a, std::span<const Limb> b,
                   std::span<Limb> scratch) noexcept;

// ---- owning operations ----------------------------------------------------------

BigUInt mulSchoolbook(const BigUInt& a, const BigUInt& b);
BigUInt mulKaratsuba(const BigUInt& a, const BigUInt& b);
// Auto: schoolbook while the smaller operand has fewer than KaratsubaThreshold
// limbs, Karatsuba otherwise.
BigUInt mul(const BigUInt& a, const BigUInt& b, MulStrategy strategy = MulStrategy::Auto);
inline BigUInt operator*(const BigUInt& a, const BigUInt& b) { return mul(a, b); }

// (low, high) with x = low + high * 2^(64m), each normalised.
std::pair<BigUInt, BigUInt> splitAt(const BigUInt& x, std::int64_t m);
// x * 2^(64k).
BigUInt shiftLimbsLeft(const BigUInt& x, std::int64_t k);

}  // namespace kovrix

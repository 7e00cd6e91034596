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
  Limb carry = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    u128 p = u128(a[i]) * b + carry;
    out[i] = Limb(p);
    carry = Limb(p >> 64);
  }
  return carry;
}

// out += a * b (b one limb) over len(a) limbs; returns the limb carried out.
// Contract: len(out) = len(a); out and a do not overlap.
inline Limb addMulLimbN(std::span<Limb> out, std::span<const Limb> a, Limb b) noexcept {
  assert(out.size() == a.size());
  Limb carry = 0;
  std::size_t n = a.size(), i = 0;
  for (; i + 2 <= n; i += 2) {
    // a[i] * b + out[i] + carry < 2^128: (2^64 - 1)^2 + 2 (2^64 - 1) = 2^128 - 1.
    u128 p0 = u128(a[i]) * b + out[i] + carry;
    out[i] = Limb(p0);
    u128 p1 = u128(a[i + 1]) * b + out[i + 1] + Limb(p0 >> 64);
    out[i + 1] = Limb(p1);
    carry = Limb(p1 >> 64);
  }
  if (i < n) {
    u128 p = u128(a[i]) * b + out[i] + carry;
    out[i] = Limb(p);
    carry = Limb(p >> 64);
  }
  return carry;
}

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

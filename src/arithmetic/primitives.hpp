// Single-limb primitives: the limb type, leading-zero count, two-limb by
// one-limb division, and division by an invariant limb through a
// precomputed reciprocal.
#pragma once

#include <cassert>
#include <cstdint>

#include "errors.hpp"

namespace kovrix {

using Limb = std::uint64_t;
inline constexpr Limb ZeroLimb = 0;
inline constexpr int LimbBits = 64;

// 128-bit integers: exact double-limb intermediates (a limb product, a
// two-limb dividend) and every exact intermediate of Q32.32 arithmetic.
__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

// True when the processor has MULX (BMI2) and ADCX/ADOX (ADX): the limb
// loops then use their two-carry-chain variants.  Decided once at load.
bool cpuHasMulxAdx() noexcept;

// Leading zero bits of x; 64 for x = 0.
constexpr int clz64(std::uint64_t x) noexcept { return x == 0 ? 64 : __builtin_clzll(x); }

struct LimbDivMod {
  Limb quotient;
  Limb remainder;
};

// (hi * 2^64 + lo) / d with both preconditions tested: d = 0 raises
// DivByZeroDefect, hi >= d (quotient wider than a limb) raises ValueError.
LimbDivMod udiv128(Limb hi, Limb lo, Limb d);

// The same division without tests.  Contract: d != 0 and hi < d, so the
// quotient fits one limb and the hardware divide cannot fault.
inline LimbDivMod udiv128Unchecked(Limb hi, Limb lo, Limb d) noexcept {
  assert(d != 0 && hi < d);
  Limb q, r;
  __asm__("divq %4" : "=a"(q), "=d"(r) : "a"(lo), "d"(hi), "rm"(d) : "cc");
  return {q, r};
}

// The same division for any hi (d != 0): the low limb of the quotient, which
// may be wider than a limb, and the exact remainder.  The quotient is
// (hi / d) * 2^64 + ((hi % d) * 2^64 + lo) / d, and the second division has
// its high limb below d, so two hardware divides give it without faulting.
inline LimbDivMod udiv128Wide(Limb hi, Limb lo, Limb d) noexcept {
  assert(d != 0);
  const Limb hiRem = hi < d ? hi : udiv128Unchecked(0, hi, d).remainder;
  return udiv128Unchecked(hiRem, lo, d);
}

// Reciprocal of a normalised divisor (top bit set): floor((2^128 - 1) / d) - 2^64.
// With it, a two-limb by one-limb division costs two multiplications instead
// of a hardware divide (Möller and Granlund, "Improved division by invariant
// integers", 2011, algorithm 4).
inline Limb reciprocalLimb(Limb d) noexcept {
  assert(d >> 63);
  // (2^128 - 1 - d * 2^64) / d = floor((2^128 - 1) / d) - 2^64, and it fits a
  // limb because d >= 2^63; udiv128Unchecked applies since ~d < d.
  return udiv128Unchecked(~d, ~Limb{0}, d).quotient;
}

// (hi * 2^64 + lo) / d for a normalised d with its reciprocal v.  Contract:
// d has its top bit set, v = reciprocalLimb(d), hi < d.  The result equals
// udiv128Unchecked(hi, lo, d): quotient and remainder are unique.
inline LimbDivMod udiv2by1Preinv(Limb hi, Limb lo, Limb d, Limb v) noexcept {
  assert((d >> 63) && hi < d);
  UInt128 q = UInt128(v) * hi + ((UInt128(hi) << 64) | lo);
  Limb q1 = Limb(q >> 64) + 1;
  Limb q0 = Limb(q);
  Limb r = lo - q1 * d;
  if (r > q0) {  // the candidate q1 was one too large
    --q1;
    r += d;
  }
  if (r >= d) [[unlikely]] {  // at most one further correction
    ++q1;
    r -= d;
  }
  return {q1, r};
}

}  // namespace kovrix

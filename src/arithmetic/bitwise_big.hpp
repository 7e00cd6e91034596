// Bit shifts and limb-wise AND / OR of BigUInts.
//
// `and` and `or` are C++ keywords (alternative tokens), so the operations are
// named bitAnd and bitOr.
#pragma once

#include "arithmetic/big_int.hpp"

namespace kovrix {

// ---- kernels -------------------------------------------------------------------

// out = in << bits over len(in) limbs; returns the bits shifted out of the top.
// Contract: 0 < bits < 64, len(out) = len(in); out may be the same span as in,
// or start above it (an upward move), no other overlap.
inline Limb shlBitsN(std::span<Limb> out, std::span<const Limb> in, int bits) noexcept {
  assert(bits > 0 && bits < 64 && out.size() == in.size());
  Limb carry = 0;
  // From the top down, so that an upward-moving overlap reads each limb
  // before it is overwritten.
  std::size_t n = in.size();
  if (n == 0) return 0;
  carry = in[n - 1] >> (64 - bits);
  for (std::size_t i = n - 1; i > 0; --i) out[i] = (in[i] << bits) | (in[i - 1] >> (64 - bits));
  out[0] = in[0] << bits;
  return carry;
}

// out = in >> bits over len(in) limbs; returns the bits shifted out of the
// bottom, in the top bits of the result limb.
// Contract: 0 < bits < 64, len(out) = len(in); out may be the same span as in,
// or start below it (a downward move), no other overlap.
inline Limb shrBitsN(std::span<Limb> out, std::span<const Limb> in, int bits) noexcept {
  assert(bits > 0 && bits < 64 && out.size() == in.size());
  std::size_t n = in.size();
  if (n == 0) return 0;
  Limb low = in[0] << (64 - bits);
  for (std::size_t i = 0; i + 1 < n; ++i) out[i] = (in[i] >> bits) | (in[i + 1] << (64 - bits));
  out[n - 1] = in[n - 1] >> bits;
  return low;
}

// ---- owning operations ----------------------------------------------------------

// x * 2^n; n >= 0 (a negative count raises RangeDefect "value out of range").
BigUInt shl(const BigUInt& x, std::int64_t n);
// floor(x / 2^n); n >= 0 (as shl).
BigUInt shr(const BigUInt& x, std::int64_t n);
// Limb-wise AND: min(len a, len b) limbs, trimmed.
BigUInt bitAnd(const BigUInt& a, const BigUInt& b);
// Limb-wise OR: max(len a, len b) limbs, missing limbs read as zero.
BigUInt bitOr(const BigUInt& a, const BigUInt& b);

// True when any of the n lowest bits of x is set, i.e. bitAnd(x, 2^n - 1) is
// not zero, without building the mask.
bool anyLowBitSet(const BigUInt& x, std::int64_t n) noexcept;

}  // namespace kovrix

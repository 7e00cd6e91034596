// Fixed-size kernels for the common case of the rounded operations: both
// operands have mantissas of exactly 256 bits (four limbs, top bit set), the
// target precision is 256 and the mode `nearest`, which is every operation
// of the exported functions.  Each kernel forms as many bits of the exact
// result as the rounding needs, in limb arrays on the stack, and rounds once.
//
// Why the results equal the general steps bit for bit: with operands of p bits
// the general steps give the correctly rounded result (ties away from zero),
// and so do these kernels; a correctly rounded value is unique, and a value of
// 256 bits has one normalised form.  In `nearest` only the bits down to the
// round bit matter (a tie goes away from zero whatever follows), so no kernel
// needs a sticky bit.
//
// Exponents: a kernel runs only when both exponents lie within +-2^60
// (`fitsKernel`), where no exponent step of the general operation can leave
// the 64-bit range; elsewhere the general steps run and raise as they do.
#pragma once

#include <cstdint>

#include "float/big_float.hpp"

namespace kovrix::mantissa256 {

inline constexpr std::int64_t Bits = 256;
inline constexpr std::int64_t ExponentBound = std::int64_t{1} << 60;

// A nonzero value with a 256-bit mantissa and an exponent within the bound.
inline bool fitsKernel(const BigFloat& x) noexcept {
  return x.mantissa.size() == 4 && (x.mantissa[3] >> 63) != 0 && x.exponent < ExponentBound &&
         x.exponent > -ExponentBound;
}

// A value of the kernels' kind held in place, without a BigUInt: four limbs
// with the top bit set, or zero (all limbs zero, positive, exponent 0, the
// canonical zero).  The series kernels carry their state in it, so that no
// step constructs, moves or releases a BigFloat.
struct Value256 {
  Limb m[4] = {};
  std::int64_t exponent = 0;
  bool negative = false;

  bool isZero() const noexcept { return m[3] == 0; }
  friend bool operator==(const Value256&, const Value256&) = default;
};

// x in place.  Contract: fitsKernel(x), or x the canonical zero.
inline Value256 toValue(const BigFloat& x) noexcept {
  Value256 r;
  if (x.isZero()) return r;
  for (int i = 0; i < 4; ++i) r.m[i] = x.mantissa[i];
  r.exponent = x.exponent;
  r.negative = x.negative;
  return r;
}
// The same value as a BigFloat (zero: the canonical zero).
inline BigFloat toBigFloat(const Value256& x) {
  if (x.isZero()) return BigFloat{};
  BigFloat r{x.negative, x.exponent, BigUInt::uninitialized(4)};
  for (int i = 0; i < 4; ++i) r.mantissa.data()[i] = x.m[i];
  return r;
}

// The kernels on Value256 (add, mul, divSmall inline in value256.hpp, div
// here): the same correctly rounded results as the BigFloat kernels below
// (which call them).  Zero operands are accepted and give what the general
// operations give: x + 0 = x, 0 - y = -y, a product or quotient with a zero
// factor is zero.  Contract: nonzero exponents within +-ExponentBound (the
// results may leave it by a few hundred); for div b nonzero, for divSmall
// 0 < k < 2^63.
Value256 div(const Value256& a, const Value256& b) noexcept;

// a + b, and a - b when `negateB`, rounded to 256 bits (nearest).
// Contract: fitsKernel(a) and fitsKernel(b).
BigFloat add(const BigFloat& a, const BigFloat& b, bool negateB);
// a * b rounded to 256 bits (nearest).  Contract: as add.
BigFloat mul(const BigFloat& a, const BigFloat& b);
// a / b rounded to 256 bits (nearest).  Contract: as add.
BigFloat div(const BigFloat& a, const BigFloat& b);
// a / k for an integer 0 < k < 2^63, rounded to 256 bits (nearest): the same
// value as a divided by k made as a BigFloat.  Contract: fitsKernel(a).
BigFloat divSmall(const BigFloat& a, std::uint64_t k);
// The same operations for shorter operands and precisions: mantissas of at
// most four limbs (any bit length), 1 <= p <= 256, nearest.  Both round the
// exact result once, as the general steps do, so the result is the same.
// Contract: fitsShort(a), fitsShort(b); for addShort also |a.exponent - b.exponent|
// <= p + 64 (farther apart the general steps take their shortcut instead).
inline bool fitsShort(const BigFloat& x) noexcept {
  return !x.isZero() && x.mantissa.size() <= 4 && x.exponent < ExponentBound && x.exponent > -ExponentBound;
}
BigFloat mulShort(const BigFloat& a, const BigFloat& b, std::int64_t p);
BigFloat addShort(const BigFloat& a, const BigFloat& b, bool negateB, std::int64_t p);
// a * 2^shift, exact.  Contract: fitsKernel(a), |shift| <= 2^60.
inline BigFloat scaled(BigFloat a, std::int64_t shift) {
  a.exponent += shift;
  return a;
}

}  // namespace kovrix::mantissa256

// BigFloat: binary floating point with an integer mantissa of any length.
//
// A value is (-1)^negative * mantissa * 2^exponent, the mantissa an unsigned
// integer (not a fraction) and the exponent the power of two of its lowest
// bit.  The type carries no precision: every operation that can produce more
// bits than wanted takes the target precision p (a count of mantissa bits) as
// an argument, and a value "normalised at p" has a mantissa of exactly p bits
// (trailing zero bits are kept, so equal values at equal precision have equal
// fields).  Zero is the empty mantissa; its canonical form has `negative`
// false and `exponent` 0.  There is no infinity, NaN or negative zero.
//
// Every exponent step is overflow-tested (OverflowDefect "over- or underflow").
#pragma once

#include <cstdint>

#include "arithmetic/big_int.hpp"
#include "arithmetic/comparison_big.hpp"

namespace kovrix {

// The precision of every exported BigFloat operation and of every internal
// caller but the first Newton steps of the square root.
inline constexpr std::int64_t defaultPrecision = 256;

struct BigFloat {
  bool negative = false;
  std::int64_t exponent = 0;
  BigUInt mantissa;

  bool isZero() const noexcept { return mantissa.isZero(); }
  // Field-wise equality: the same value at the same precision.
  friend bool operator==(const BigFloat&, const BigFloat&) = default;
};

// How normalizeRounded and the rounded operations round the magnitude.
enum class RoundingMode : std::uint8_t {
  nearest = 0,         // to nearest; a tie (first dropped bit 1) goes away from zero
  towardZero = 1,      // truncate
  towardPositive = 2,  // positive values that lost bits gain one unit
  towardNegative = 3,  // negative values that lost bits gain one unit in magnitude
};

// Truncating normalisation at p: shifts the mantissa to exactly p bits,
// dropping the bits below (a zero gets exponent 0).
void normalize(BigFloat& x, std::int64_t p);

// Rounding normalisation at p.  `sticky` says that nonzero bits below the
// mantissa's lowest bit were already lost by the caller.  The result is
// correctly rounded in `mode` (nearest: ties away from zero) provided the
// mantissa holds every bit down to the first lost one.
void normalizeRounded(BigFloat& x, std::int64_t p, RoundingMode mode, bool sticky);

// One unit in the last place added to the magnitude of a value of p bits
// (2^p becomes 2^(p-1) at the next exponent: the dropped bit is zero).
void bumpMagnitude(BigFloat& x, std::int64_t p);

// One unit in the last place taken from the magnitude of a nonzero value of p
// bits.  For a power of two m * 2^e the result is m * 2^e - 2^(e-1), the
// largest smaller magnitude at the finer exponent.  Zero is left alone.
void dropMagnitude(BigFloat& x, std::int64_t p);

// The double f at precision p: exact for p >= 53; below 53 bits truncated
// toward zero.  NaN and infinities raise ValueError
// "initBigFloat: Inf/NaN are not representable".
BigFloat initBigFloat(std::int64_t p, double f);

// The integer n normalised (truncating, toward zero) at precision p.
BigFloat fromBigInt(std::int64_t p, const BigInt& n);

}  // namespace kovrix

// Conversions between representations that belong to no single family:
// float64 and Fixed into Rational (exact), Rational into BigFloat (one
// rounded division), BigFloat and Rational into BigInt and Rational into Fixed
// (truncated toward zero), and BigFloat, Rational and BigInt into Interval
// (through a double, widened by two steps on each side).
#pragma once

#include <cstdint>

#include "arithmetic/big_int.hpp"
#include "float/big_float.hpp"
#include "interval/interval_type.hpp"
#include "rational/rational_type.hpp"

namespace kovrix {

struct FloatParts {
  std::int64_t m;  // odd unless the double is zero
  std::int64_t e;
};

// A finite x as m·2^e with m odd (zero gives (0, -53)).
FloatParts decomposeFloat(double x);

// The Rational exactly equal to x; ValueError "toRationalBig: NaN or
// infinity" for a NaN or an infinity.
Rational toRationalBig(double x);

// num / den as one division rounded at `precision` bits in `mode`, after each
// part has been made a BigFloat at that precision (which truncates a part
// longer than the precision).
BigFloat toBigFloat(const Rational& r, std::int64_t precision, RoundingMode mode);

// The integer part, truncated toward zero (-2.5 gives -2, -7/2 gives -3).
BigInt toBigInt(const BigFloat& b);
BigInt toBigInt(const Rational& r);

// The double of the value (each family's own toFloat64) widened by two
// float64 steps on each side; a NaN stays NaN in both bounds.
Interval toInterval(const BigFloat& v);
Interval toInterval(const Rational& v);
Interval toInterval(const BigInt& v);

// raw / 2^fracBits, reduced.  Contract: 0 <= fracBits <= 63.
Rational rationalFromFixed(std::int64_t raw, std::int32_t fracBits);

// |r|·2^fracBits truncated toward zero, with r's sign; 0 when that magnitude
// is 2^63 or more.  Contract: 0 <= fracBits <= 63.
std::int64_t fixedFromRational(const Rational& r, std::int32_t fracBits);

}  // namespace kovrix

// Decimal text of BigUInt and BigInt, in both directions.
//
// Text: an optional sign, then ASCII digits, most significant first.  Output
// has no '+' and no leading zeros; zero is "0"; negatives start with '-'.
#pragma once

#include <string>
#include <string_view>

#include "arithmetic/big_int.hpp"

namespace kovrix {

// Sizes from which the conversions split the value in halves by a power of
// ten (divide and conquer) instead of working chunk by chunk: values of at
// least this many limbs to text, texts of at least this many digits to
// values.  Measured with bench/tune.cpp (kovrix_tune ToDecimal FromDecimal),
// one split against chunks: to text the split wins from about 23 limbs
// (0.96 at 23, 0.87 at 31, 0.73 at 57 limbs); from text only from about
// 3,000 digits (1.3 at 1,000, 1.03 at 2,758, 0.94 at 3,217, 0.84 at 3,752),
// the chunk loop being a single multiply-add pass per 19 digits.
inline constexpr std::size_t ToDecimalDivideConquerThreshold = 30;
inline constexpr std::size_t FromDecimalDivideConquerThreshold = 3000;

// The digits of x by chunks: one division by 10^19 per 19 digits, quadratic
// in the length.
std::string toDecimalByChunks(const BigUInt& x);
// The same text by divide and conquer: x = hi 10^e + lo for the largest
// e = 19 2^k below x's length, each half again, down to chunks below
// leafBelow limbs (the tuning program varies it); the cost of a few
// divisions of x.
std::string toDecimalDivideConquer(const BigUInt& x, std::size_t leafBelow = ToDecimalDivideConquerThreshold);
// The dispatcher: chunks below the threshold, divide and conquer above.
std::string toDecimal(const BigUInt& x);
std::string toDecimal(const BigInt& x);

// The value of a text of ASCII digits only (no sign; the caller has checked
// them): by chunks (value = value 10^19 + chunk, quadratic), and by divide
// and conquer (hi 10^e + lo, split down to leafBelow digits; the cost of a
// few products of the whole value).
BigUInt fromDecimalByChunks(std::string_view digits);
BigUInt fromDecimalDivideConquer(std::string_view digits,
                                 std::size_t leafBelow = FromDecimalDivideConquerThreshold);

// Parses an optional '+' or '-' and one or more digits; no whitespace is
// skipped and leading zeros are accepted.  ValueError "no decimal digits" when
// no digit precedes the end or the first other character,
// ValueError "trailing non-digit characters in decimal string" when one does.
// "-0" gives zero, not negative.
BigInt initBigIntFromDecimal(std::string_view text);

}  // namespace kovrix

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
// values.  Chosen with bench/ (the decimal rows there).
inline constexpr std::size_t ToDecimalDivideConquerThreshold = 30;
inline constexpr std::size_t FromDecimalDivideConquerThreshold = 800;

std::string toDecimal(const BigUInt& x);
std::string toDecimal(const BigInt& x);

// Parses an optional '+' or '-' and one or more digits; no whitespace is
// skipped and leading zeros are accepted.  ValueError "no decimal digits" when
// no digit precedes the end or the first other character,
// ValueError "trailing non-digit characters in decimal string" when one does.
// "-0" gives zero, not negative.
BigInt initBigIntFromDecimal(std::string_view text);

}  // namespace kovrix

// Decimal text of BigUInt and BigInt, in both directions.
//
// Text: an optional sign, then ASCII digits, most significant first.  Output
// has no '+' and no leading zeros; zero is "0"; negatives start with '-'.
#pragma once

#include <string>
#include <string_view>

#include "arithmetic/big_int.hpp"

namespace kovrix {

std::string toDecimal(const BigUInt& x);
std::string toDecimal(const BigInt& x);

// Parses an optional '+' or '-' and one or more digits; no whitespace is
// skipped and leading zeros are accepted.  ValueError "no decimal digits" when
// no digit precedes the end or the first other character,
// ValueError "trailing non-digit characters in decimal string" when one does.
// "-0" gives zero, not negative.
BigInt initBigIntFromDecimal(std::string_view text);

}  // namespace kovrix

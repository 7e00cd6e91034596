// Integer square root of a BigInt by the binary digit-by-digit method.
#pragma once

#include "arithmetic/big_int.hpp"

namespace kovrix {

// floor(sqrt(n)) exactly; ValueError "isqrt: argument must be non-negative"
// for n < 0.
BigInt isqrt(const BigInt& n);

}  // namespace kovrix

// Integer parts of a BigFloat and the reduction of an angle modulo 2 pi, with
// the two caches it reads (pi and 2 pi).
#pragma once

#include <cstdint>

#include "float/big_float.hpp"

namespace kovrix {

// Filled once by the library's initialisation (fillReductionCaches) and only
// read afterwards; the canonical zero until then.
extern BigFloat piCache;     // piBigFloat(256, 96)
extern BigFloat twoPiCache;  // piCache + piCache (an exact doubling)

// piCache, then twoPiCache.
void fillReductionCaches();

// The largest integer not above x, normalised (truncating) at p; an integer
// part of zero gives the canonical zero.
BigFloat floorBigFloat(const BigFloat& x, std::int64_t p);

// The nearest integer, halves toward +infinity: floor(x + 1/2).
BigFloat roundBigFloat(const BigFloat& x, std::int64_t p);

// x - k 2pi with k = roundBigFloat(x / 2pi), every step rounded to 256 bits:
// in [-pi, pi) up to those roundings (an exact half turn rounds up, so pi
// itself reduces to -pi); the absolute error grows with |x|.  Before the
// caches are filled the division by a zero 2 pi raises DivByZeroDefect.
BigFloat reduceModTwoPi(const BigFloat& x);

}  // namespace kovrix

// The constants pi and e as BigFloats, and the arctangent series pi is made
// from.  Every step is a 256-bit rounded operation (mode nearest); the
// precision argument only sets the precision at which the small integer
// constants are made.  Every caller passes 256.
#pragma once

#include <cstdint>

#include "float/big_float.hpp"

namespace kovrix {

// x - x^3/3 + x^5/5 - ... with n terms (the Gregory series); n <= 1 gives x.
BigFloat atanTaylor(const BigFloat& x, std::int64_t n);

// pi by Machin's formula 16 atan(1/5) - 4 atan(1/239), each arctangent n terms.
// With n = 96 the truncation lies far below 2^-256: the result carries only
// the roundings of the steps (about 0.68 units in the last place above pi).
BigFloat piBigFloat(std::int64_t p, std::int64_t n);

// e as the sum of 1/i! for i = 0 .. n, each term the previous one divided by i.
BigFloat eBigFloat(std::int64_t p, std::int64_t n);

}  // namespace kovrix

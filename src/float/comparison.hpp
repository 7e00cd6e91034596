// Three-way comparison of BigFloats, exact whatever their precisions.
#pragma once

#include "float/big_float.hpp"

namespace kovrix {

// -1, 0 or 1 as a <, =, > b.
int cmp(const BigFloat& a, const BigFloat& b);

}  // namespace kovrix

// The one bit-exact comparison of doubles, and a text naming a double exactly.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>

namespace kovrix::testsupport {

inline std::uint64_t bitsOf(double x) { return std::bit_cast<std::uint64_t>(x); }

// Equal bit for bit, any two NaNs counting as equal: which operand's NaN an
// operation passes on, and its sign, are the arithmetic's choice.  A test of
// one particular NaN compares bitsOf() instead.
inline bool sameBits(double a, double b) { return bitsOf(a) == bitsOf(b) || (a != a && b != b); }

// "%.17g (hex float, bits)": readable, exact and reproducible.
inline std::string show(double x) {
  char buf[112];
  std::snprintf(buf, sizeof buf, "%.17g (%a, 0x%016llx)", x, x, static_cast<unsigned long long>(bitsOf(x)));
  return buf;
}

}  // namespace kovrix::testsupport

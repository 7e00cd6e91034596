// Random 64-bit operands for the fixed-point tests, drawn from the program's
// seeded generator (support/seed.hpp).  Operands are adversarial: special values, long runs of equal bits and small
// magnitudes mixed with uniform 64-bit values.
#pragma once

#include <gtest/gtest.h>

#include "support/seed.hpp"

#include <array>
#include <cstdint>

namespace kovrix::testsupport {

// Alternating runs of ones and zeros of random lengths (carry and borrow
// chains, values next to powers of two).
inline std::uint64_t runBits() {
  std::uint64_t v = 0;
  int pos = 0;
  bool one = (bits64() & 1) != 0;
  while (pos < 64) {
    const int len = 1 + static_cast<int>(below(24));
    for (int k = 0; k < len && pos < 64; ++k, ++pos)
      if (one) v |= std::uint64_t{1} << pos;
    one = !one;
  }
  return v;
}

inline std::int64_t specialInt64() {
  static const std::array<std::int64_t, 20> table = {
      0, 1, -1, 2, -2, INT64_MAX, INT64_MIN, INT64_MAX - 1, INT64_MIN + 1,
      std::int64_t{1} << 32, -(std::int64_t{1} << 32), std::int64_t{1} << 31, -(std::int64_t{1} << 31),
      (std::int64_t{1} << 32) - 1, std::int64_t{1} << 62, -(std::int64_t{1} << 62),
      static_cast<std::int64_t>(0x7FFFFFFF00000000ULL), static_cast<std::int64_t>(0xFFFFFFFF00000000ULL),
      static_cast<std::int64_t>(0x80000000FFFFFFFFULL), 13493037704};
  const std::int64_t base = table[below(table.size())];
  // Sometimes a neighbour of the special value (wrapping is intended here).
  switch (below(4)) {
    case 0: return static_cast<std::int64_t>(static_cast<std::uint64_t>(base) + 1);
    case 1: return static_cast<std::int64_t>(static_cast<std::uint64_t>(base) - 1);
    default: return base;
  }
}

// A 64-bit operand from a mix of the shapes above.
inline std::int64_t anyInt64() {
  switch (below(8)) {
    case 0: return specialInt64();
    case 1:
    case 2: return static_cast<std::int64_t>(runBits());
    case 3: {  // magnitude below 2^k for a random k in 1..63
      const int k = 1 + static_cast<int>(below(63));
      const std::int64_t v = static_cast<std::int64_t>(bits64() >> (64 - k));
      return (bits64() & 1) ? v : -v;
    }
    default: return static_cast<std::int64_t>(bits64());
  }
}

}  // namespace kovrix::testsupport

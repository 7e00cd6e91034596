// Shared helpers of the integer tests: adversarial limb sequences and
// lengths, conversions to and from GMP (the oracle), structural checks and
// canary-guarded kernel outputs.
#pragma once

#include <gmp.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "arithmetic/big_int.hpp"
#include "support/mpz.hpp"
#include "support/seed.hpp"

namespace kovrix::testsupport {

inline std::uint64_t randomLimb() { return bits64(); }

// Limb sequences of a given length in one of several shapes: uniform random,
// all ones, long runs of 0 and 1 bits, sparse single bits, and values just
// around a power of 2^64.  The top limb is made non-zero (normalised).
inline std::vector<Limb> randomLimbs(std::size_t n, int shape = -1) {
  std::vector<Limb> v(n);
  if (n == 0) return v;
  if (shape < 0) shape = static_cast<int>(below(6));
  switch (shape) {
    case 0:
      for (auto& l : v) l = randomLimb();
      break;
    case 1:
      for (auto& l : v) l = ~Limb{0};
      break;
    case 2: {  // runs of equal bits with random lengths
      std::size_t bit = 0, total = 64 * n;
      bool one = below(2);
      while (bit < total) {
        std::size_t run = 1 + below(below(4) == 0 ? 300 : 40);
        for (std::size_t i = bit; i < std::min(total, bit + run); ++i)
          if (one) v[i / 64] |= Limb{1} << (i % 64);
        bit += run;
        one = !one;
      }
      break;
    }
    case 3:  // a few set bits
      for (int k = 0; k < 3; ++k) {
        std::size_t b = below(64 * n);
        v[b / 64] |= Limb{1} << (b % 64);
      }
      break;
    case 4:  // 2^(64(n-1)) +- small: top limb 1, low limbs 0 or all ones
      for (auto& l : v) l = below(2) ? ~Limb{0} : 0;
      v[n - 1] = 1;
      break;
    default:  // random limbs drawn from {0, 1, 2^63, 2^64 - 1, random}
      for (auto& l : v) {
        Limb pick[] = {0, 1, Limb{1} << 63, ~Limb{0}, randomLimb()};
        l = pick[below(5)];
      }
      break;
  }
  if (v[n - 1] == 0) v[n - 1] = 1 + below(~Limb{0});
  return v;
}

inline BigUInt randomBig(std::size_t n, int shape = -1) { return initBigUInt(randomLimbs(n, shape)); }

// A random length in [0, maxLimbs], biased toward small sizes and the
// multiplication threshold neighbourhood (31, 32, 33).
inline std::size_t randomLength(std::size_t maxLimbs) {
  switch (below(4)) {
    case 0: return below(5);
    case 1: return std::min<std::size_t>(maxLimbs, 30 + below(5));
    default: return below(maxLimbs + 1);
  }
}

inline BigInt randomBigInt(std::size_t n, int shape = -1) {
  BigUInt m = randomBig(n, shape);
  return initBigInt(std::move(m), below(2) == 1);
}

// ---- GMP ----------------------------------------------------------------------

inline void toMpz(mpz_t out, const BigUInt& x) {
  if (x.isZero()) {
    mpz_set_ui(out, 0);
    return;
  }
  mpz_import(out, x.size(), -1, sizeof(Limb), 0, 0, x.data());
}

inline void toMpz(mpz_t out, const BigInt& x) {
  toMpz(out, x.magnitude);
  if (x.negative) mpz_neg(out, out);
}

inline BigUInt fromMpzMagnitude(mpz_srcptr z) {
  std::size_t count = (mpz_sizeinbase(z, 2) + 63) / 64;
  std::vector<Limb> limbs(count + 1, 0);
  std::size_t written = 0;
  mpz_export(limbs.data(), &written, -1, sizeof(Limb), 0, 0, z);
  limbs.resize(written);
  return initBigUInt(limbs);
}

inline BigInt fromMpz(mpz_srcptr z) { return initBigInt(fromMpzMagnitude(z), mpz_sgn(z) < 0); }

inline std::string hex(mpz_srcptr z) {
  char* s = mpz_get_str(nullptr, 16, z);
  std::string out = s;
  void (*freefunc)(void*, std::size_t);
  mp_get_memory_functions(nullptr, nullptr, &freefunc);
  freefunc(s, out.size() + 1);
  // Long values are shown by their ends and digit count, which is enough to
  // tell results apart in a report; the seed reproduces the full operands.
  if (out.size() > 160)
    out = out.substr(0, 64) + "..." + out.substr(out.size() - 64) + " (" + std::to_string(out.size()) + " hex digits)";
  return out;
}
inline std::string hex(const BigUInt& x) {
  Mpz z;
  toMpz(z, x);
  return "0x" + hex(z);
}
inline std::string hex(const BigInt& x) {
  Mpz z;
  toMpz(z, x);
  return hex(z);
}

// Exact structural check: normalised limbs and no negative zero.
inline ::testing::AssertionResult isNormalised(const BigUInt& x) {
  if (!x.isZero() && x.topLimb() == 0) return ::testing::AssertionFailure() << "zero top limb";
  return ::testing::AssertionSuccess();
}
inline ::testing::AssertionResult isNormalised(const BigInt& x) {
  if (x.negative && x.magnitude.isZero()) return ::testing::AssertionFailure() << "negative zero";
  return isNormalised(x.magnitude);
}

// True when x equals the GMP value z exactly (and is normalised).
inline ::testing::AssertionResult sameAs(const BigUInt& x, mpz_srcptr z) {
  if (!isNormalised(x)) return ::testing::AssertionFailure() << "not normalised: " << hex(x);
  Mpz mine;
  toMpz(mine, x);
  if (mpz_cmp(mine, z) != 0)
    return ::testing::AssertionFailure() << "got 0x" << hex(mine) << ", GMP says 0x" << hex(z);
  return ::testing::AssertionSuccess();
}
inline ::testing::AssertionResult sameAs(const BigInt& x, mpz_srcptr z) {
  if (!isNormalised(x)) return ::testing::AssertionFailure() << "not normalised: " << hex(x);
  Mpz mine;
  toMpz(mine, x);
  if (mpz_cmp(mine, z) != 0) return ::testing::AssertionFailure() << "got " << hex(mine) << ", GMP says " << hex(z);
  return ::testing::AssertionSuccess();
}

inline bool limbsEqual(const BigUInt& x, std::initializer_list<Limb> expect) {
  if (x.size() != expect.size()) return false;
  std::size_t i = 0;
  for (Limb l : expect)
    if (x[i++] != l) return false;
  return true;
}

// Canary-guarded output buffer for kernel tests: `guard` canary limbs on each
// side of the `n` limbs handed to the kernel.
struct Guarded {
  static constexpr Limb Canary = 0xC0FFEE00DEADBEEFull;
  static constexpr std::size_t guard = 4;
  std::vector<Limb> buf;
  explicit Guarded(std::size_t n, Limb fill = 0x5A5A5A5A5A5A5A5Aull) : buf(n + 2 * guard, Canary) {
    for (std::size_t i = 0; i < n; ++i) buf[guard + i] = fill;
  }
  std::span<Limb> span() { return {buf.data() + guard, buf.size() - 2 * guard}; }
  bool intact() const {
    for (std::size_t i = 0; i < guard; ++i)
      if (buf[i] != Canary || buf[buf.size() - 1 - i] != Canary) return false;
    return true;
  }
};

}  // namespace kovrix::testsupport

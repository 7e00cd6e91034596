#include "float/mantissa256.hpp"

#include <cstring>
#include <x86intrin.h>

#include "arithmetic/comparison_big.hpp"
#include "arithmetic/division_big.hpp"

namespace kovrix::mantissa256 {

namespace {

// The value sign * w * 2^exponent rounded to 256 bits, nearest with ties
// away from zero, for a nonzero limb sequence w of at most 10 limbs.  The 256
// bits below the top bit are kept, the next bit decides the bump; a carry out
// of the top gives 2^255 at the next exponent.
BigFloat roundNearest(bool negative, std::int64_t exponent, const Limb* w, std::size_t n) {
  while (w[n - 1] == 0) --n;
  const std::int64_t length = 64 * static_cast<std::int64_t>(n) - clz64(w[n - 1]);
  const std::int64_t drop = length - Bits;
  BigFloat r;
  r.negative = negative;
  r.mantissa = BigUInt::uninitialized(4);
  Limb* out = r.mantissa.data();
  // Limb i of the window read as zero outside [0, n).
  auto at = [&](std::int64_t i) -> Limb { return (i >= 0 && i < static_cast<std::int64_t>(n)) ? w[i] : 0; };
  if (drop <= 0) {  // shift left by -drop: exact
    const std::int64_t s = -drop, limbs = s / 64;
    const int bits = static_cast<int>(s % 64);
    for (std::int64_t i = 0; i < 4; ++i) {
      const Limb hi = at(i - limbs), lo = at(i - limbs - 1);
      out[i] = bits == 0 ? hi : (hi << bits) | (lo >> (64 - bits));
    }
    r.exponent = exponent + drop;
    return r;
  }
  const std::int64_t limbs = drop / 64;
  const int bits = static_cast<int>(drop % 64);
  for (std::int64_t i = 0; i < 4; ++i) {
    const Limb lo = at(limbs + i), hi = at(limbs + i + 1);
    out[i] = bits == 0 ? lo : (lo >> bits) | (hi << (64 - bits));
  }
  r.exponent = exponent + drop;
  const std::int64_t roundBit = drop - 1;
  if ((at(roundBit / 64) >> (roundBit % 64)) & 1) {
    unsigned char c = _addcarry_u64(1, out[0], 0, reinterpret_cast<unsigned long long*>(&out[0]));
    c = _addcarry_u64(c, out[1], 0, reinterpret_cast<unsigned long long*>(&out[1]));
    c = _addcarry_u64(c, out[2], 0, reinterpret_cast<unsigned long long*>(&out[2]));
    c = _addcarry_u64(c, out[3], 0, reinterpret_cast<unsigned long long*>(&out[3]));
    if (c) {  // all ones plus one: 2^256 = 2^255 at the next exponent
      out[3] = Limb{1} << 63;
      r.exponent += 1;
    }
  }
  return r;
}

}  // namespace

BigFloat add(const BigFloat& x, const BigFloat& y, bool negateY) {
  // a has the larger (or equal) exponent; the signs follow the operands (x
  // and y may be the same value).
  const bool swap = x.exponent < y.exponent;
  const BigFloat& a = swap ? y : x;
  const BigFloat& b = swap ? x : y;
  const bool yNegative = y.negative != negateY;
  const bool aNegative = swap ? yNegative : x.negative;
  const bool bNegative = swap ? x.negative : yNegative;
  const std::int64_t d = a.exponent - b.exponent;
  if (d > Bits + 64) {
    // b lies wholly below a's rounding point: a itself is the nearest value.
    BigFloat r = a;
    r.negative = aNegative;
    return r;
  }
  // The exact sum on 10 limbs: b at bits 0 .. 255, a at bits d .. d + 255.
  Limb wa[10] = {}, wb[10] = {};
  std::memcpy(wb, b.mantissa.data(), 4 * sizeof(Limb));
  const std::size_t q = static_cast<std::size_t>(d / 64);
  const int s = static_cast<int>(d % 64);
  const Limb* am = a.mantissa.data();
  for (std::size_t i = 0; i < 4; ++i) {
    wa[q + i] |= am[i] << s;
    if (s != 0) wa[q + i + 1] = am[i] >> (64 - s);
  }
  Limb w[10];
  bool negative = aNegative;
  unsigned char c = 0;
  if (aNegative == bNegative) {
    for (int i = 0; i < 10; ++i) c = _addcarry_u64(c, wa[i], wb[i], reinterpret_cast<unsigned long long*>(&w[i]));
  } else {
    // a's magnitude is the larger unless the exponents are equal and b's
    // mantissa exceeds it.
    int order = d > 0 ? 1 : cmpN({am, 4}, b.mantissa.limbs());
    if (order == 0) return BigFloat{};  // exact cancellation
    const Limb* big = order > 0 ? wa : wb;
    const Limb* small = order > 0 ? wb : wa;
    if (order < 0) negative = bNegative;
    for (int i = 0; i < 10; ++i) c = _subborrow_u64(c, big[i], small[i], reinterpret_cast<unsigned long long*>(&w[i]));
  }
  return roundNearest(negative, b.exponent, w, 10);
}

BigFloat mul(const BigFloat& a, const BigFloat& b) {
  const Limb* x = a.mantissa.data();
  const Limb* y = b.mantissa.data();
  Limb w[8] = {};
  for (int i = 0; i < 4; ++i) {
    Limb carry = 0;
    for (int j = 0; j < 4; ++j) {
      const u128 t = u128(x[i]) * y[j] + w[i + j] + carry;
      w[i + j] = Limb(t);
      carry = Limb(t >> 64);
    }
    w[i + 4] = carry;
  }
  return roundNearest(a.negative != b.negative, a.exponent + b.exponent, w, 8);
}

BigFloat div(const BigFloat& a, const BigFloat& b) {
  // N = a * 2^258 over 9 limbs, divided by b's normalised four limbs: the
  // quotient has 258 or 259 bits, so the round bit lies inside it.
  Limb n[9] = {};
  const Limb* am = a.mantissa.data();
  for (int i = 0; i < 4; ++i) {
    n[4 + i] |= am[i] << 2;
    n[5 + i] = am[i] >> 62;
  }
  Limb q[5];
  [[maybe_unused]] const Limb qh = divSchoolbookNormN(q, n, b.mantissa.limbs());
  assert(qh == 0);  // N's top four limbs are below b, whose top bit is set
  return roundNearest(a.negative != b.negative, a.exponent - b.exponent - 258, q, 5);
}

BigFloat divSmall(const BigFloat& a, std::uint64_t k) {
  // a * 2^128 / k over six limbs: at least 320 quotient bits.
  const Limb* am = a.mantissa.data();
  Limb q[6];
  Limb r = 0;
  for (int i = 3; i >= 0; --i) {
    const LimbDivMod qr = udiv128Unchecked(r, am[i], k);
    q[i + 2] = qr.quotient;
    r = qr.remainder;
  }
  for (int i = 1; i >= 0; --i) {
    const LimbDivMod qr = udiv128Unchecked(r, 0, k);
    q[i] = qr.quotient;
    r = qr.remainder;
  }
  return roundNearest(a.negative, a.exponent - 128, q, 6);
}

}  // namespace kovrix::mantissa256

// The fixed-size kernels on values held in place (Value256), inline so that
// a series' steps keep their values in registers.  mantissa256.hpp states
// what they compute and why their results equal the general operations'.
#pragma once

#include <x86intrin.h>

#include "arithmetic/comparison_big.hpp"
#include "float/mantissa256.hpp"

namespace kovrix::mantissa256 {

namespace detail {

// Limb i of w, zero outside [0, N).
template <std::size_t N>
inline Limb limbAt(const Limb (&w)[N], std::int64_t i) noexcept {
  return (i >= 0 && i < static_cast<std::int64_t>(N)) ? w[i] : 0;
}

// The value (m3 m2 m1 m0) plus the round bit: all ones plus one is 2^256,
// that is 2^255 at the next exponent.  Built from scalars straight into the
// result, so that no step writes a value limb by limb and reads it back
// whole (a stalled store-to-load forward).
[[gnu::always_inline]] inline Value256 rounded(bool negative, std::int64_t exponent, Limb m0, Limb m1, Limb m2, Limb m3,
                                               Limb roundBit) noexcept {
  unsigned long long r0, r1, r2, r3;
  unsigned char c = _addcarry_u64(0, m0, roundBit, &r0);
  c = _addcarry_u64(c, m1, 0, &r1);
  c = _addcarry_u64(c, m2, 0, &r2);
  c = _addcarry_u64(c, m3, 0, &r3);
  if (c) {
    r3 = Limb{1} << 63;
    exponent += 1;
  }
  return Value256{{r0, r1, r2, r3}, exponent, negative};
}

// sign * w * 2^exponent rounded to 256 bits, nearest with ties away from
// zero, for a nonzero w: the 256 bits from the top bit down are kept and the
// next bit decides the bump (a value of at most 256 bits is shifted up,
// exactly).
template <std::size_t N>
[[gnu::always_inline]] inline Value256 round256(bool negative, std::int64_t exponent, const Limb (&w)[N]) noexcept {
  std::int64_t top = N - 1;
  while (w[top] == 0) --top;
  const std::int64_t drop = 64 * top + 64 - clz64(w[top]) - Bits;
  if (drop <= 0) {
    const std::int64_t limbs = -drop / 64;
    const int bits = static_cast<int>(-drop % 64);
    Limb m[4];
    for (std::int64_t i = 3; i >= 0; --i) {
      const Limb hi = limbAt(w, i - limbs), lo = limbAt(w, i - limbs - 1);
      m[i] = bits == 0 ? hi : (hi << bits) | (lo >> (64 - bits));
    }
    return Value256{{m[0], m[1], m[2], m[3]}, exponent + drop, negative};
  }
  // The limbs read lie in [limbs, top]: the top bit is bit 255 of the
  // result, so limb limbs + 4 is read only when bits > 0, and then it is the
  // top limb.
  const std::int64_t limbs = drop / 64;
  const int bits = static_cast<int>(drop % 64);
  const Limb* src = w + limbs;
  Limb m[4];
  if (bits == 0) {
    for (int i = 0; i < 4; ++i) m[i] = src[i];
  } else {
    for (int i = 0; i < 4; ++i) m[i] = (src[i] >> bits) | (src[i + 1] << (64 - bits));
  }
  return rounded(negative, exponent + drop, m[0], m[1], m[2], m[3], (w[(drop - 1) / 64] >> ((drop - 1) % 64)) & 1);
}

// floor(2^320 / k) for the odd k below ReciprocalBound, five limbs each,
// made at compile time by long division.  The bound covers the odd part of
// every divisor the exported series use (i <= 29 for exp, k(2k +- 1) <= 741
// for 20 sine or cosine terms, 2k + 1 <= 59 for ln and arctan) in a 20 KiB
// table; other divisors take the hardware divides.
inline constexpr Limb ReciprocalBound = 1024;
struct Reciprocal {
  Limb r[5];
};
struct ReciprocalTable {
  Reciprocal entry[ReciprocalBound / 2];
};
constexpr ReciprocalTable makeReciprocals() {
  ReciprocalTable t{};
  for (Limb k = 3; k < ReciprocalBound; k += 2) {
    // 2^320 is the limb 1 above five zero limbs: its top step leaves the
    // remainder 1 and a zero quotient limb.
    UInt128 rem = 1;
    for (int i = 4; i >= 0; --i) {
      const UInt128 cur = rem << 64;
      t.entry[k / 2].r[i] = static_cast<Limb>(cur / k);
      rem = cur % k;
    }
  }
  return t;
}
inline constexpr ReciprocalTable kReciprocals = makeReciprocals();

// The five-limb window t = (t4 .. t0) at `exponent` rounded to 256 bits, for
// 1 <= t4 < 8: the top bit is bit 255 + e with e = 64 - clz(t4) in {1, 2, 3},
// the result is t >> e and the round bit is bit e - 1.
[[gnu::always_inline]] inline Value256 roundWindow(bool negative, std::int64_t exponent, Limb t0, Limb t1, Limb t2,
                                                   Limb t3, Limb t4) noexcept {
  const int e = 64 - clz64(t4);
  return rounded(negative, exponent + e, (t0 >> e) | (t1 << (64 - e)), (t1 >> e) | (t2 << (64 - e)),
                 (t2 >> e) | (t3 << (64 - e)), (t3 >> e) | (t4 << (64 - e)), (t0 >> (e - 1)) & 1);
}

// The rounded sum of a and b (b with the sign bNegative), a's exponent the
// larger by d <= 2: the exact sum S = A 2^d +- B on b's exponent, over five
// limbs (A 2^d < 2^258, so a sum stays below 2^259 and its top limb below 8).
[[gnu::always_inline]] inline Value256 addNear(const Value256& a, const Value256& b, bool aNegative,
                                               bool bNegative, int d) noexcept {
  // (x >> 1) >> (63 - d) is x >> (64 - d), and zero for d = 0.
  const Limb a0 = a.m[0] << d, a1 = (a.m[1] << d) | ((a.m[0] >> 1) >> (63 - d)),
             a2 = (a.m[2] << d) | ((a.m[1] >> 1) >> (63 - d)), a3 = (a.m[3] << d) | ((a.m[2] >> 1) >> (63 - d)),
             a4 = (a.m[3] >> 1) >> (63 - d);
  unsigned long long t0, t1, t2, t3, t4;
  bool negative = aNegative;
  if (aNegative == bNegative) {
    unsigned char c = _addcarry_u64(0, a0, b.m[0], &t0);
    c = _addcarry_u64(c, a1, b.m[1], &t1);
    c = _addcarry_u64(c, a2, b.m[2], &t2);
    c = _addcarry_u64(c, a3, b.m[3], &t3);
    _addcarry_u64(c, a4, 0, &t4);
  } else {
    // a's magnitude is the larger unless d = 0 and b's mantissa exceeds it.
    const int order = d > 0 ? 1 : cmpN({a.m, 4}, {b.m, 4});
    if (order == 0) return Value256{};  // exact cancellation
    const Limb x[5] = {a0, a1, a2, a3, a4}, y[5] = {b.m[0], b.m[1], b.m[2], b.m[3], 0};
    const Limb* big = order > 0 ? x : y;
    const Limb* small = order > 0 ? y : x;
    if (order < 0) negative = bNegative;
    unsigned char c = _subborrow_u64(0, big[0], small[0], &t0);
    c = _subborrow_u64(c, big[1], small[1], &t1);
    c = _subborrow_u64(c, big[2], small[2], &t2);
    c = _subborrow_u64(c, big[3], small[3], &t3);
    _subborrow_u64(c, big[4], small[4], &t4);
  }
  if (t4 != 0) return roundWindow(negative, b.exponent, t0, t1, t2, t3, t4);
  // At most 256 bits: exact, shifted up to 256 bits (a difference may have
  // cancelled any number of top bits).
  if (t3 >> 63) return Value256{{t0, t1, t2, t3}, b.exponent, negative};
  const Limb t[4] = {t0, t1, t2, t3};
  return round256(negative, b.exponent, t);
}

// The same for d >= 3, the series' usual case.  Only the bits of the exact
// sum S = A 2^d +- B from two below A's lowest bit upward decide its
// rounding: with s = d - 2,
//   floor(S / 2^s) = 4A + floor(B / 2^s)           for a sum,
//                  = 4A - ceil(B / 2^s)            for a difference,
// exactly (A 2^d is a multiple of 2^s).  4A lies in [2^257, 2^258) and
// B / 2^s < 2^(256 - s) <= 2^255, so this window lies in (2^256, 2^259): it
// keeps the round bit, and its top limb lies in [1, 8).
[[gnu::always_inline]] inline Value256 addFar(const Value256& a, const Value256& b, bool negative, bool subtract,
                                              std::int64_t d) noexcept {
  const std::int64_t s = d - 2;
  Limb b0 = 0, b1 = 0, b2 = 0, b3 = 0;
  bool inexact = true;  // B is nonzero: all of it lies below 2^s when s >= 256
  if (s < 256) {
    const int q = static_cast<int>(s >> 6), bits = static_cast<int>(s & 63);
    const Limb src[8] = {b.m[0], b.m[1], b.m[2], b.m[3], 0, 0, 0, 0};
    // (hi << 1) << (63 - bits) is hi << (64 - bits), and zero for bits = 0.
    b0 = (src[q] >> bits) | ((src[q + 1] << 1) << (63 - bits));
    b1 = (src[q + 1] >> bits) | ((src[q + 2] << 1) << (63 - bits));
    b2 = (src[q + 2] >> bits) | ((src[q + 3] << 1) << (63 - bits));
    b3 = src[q + 3] >> bits;
    // The bits below s: the limbs below q and the low `bits` bits of limb q.
    Limb low = src[q] & ((Limb{1} << bits) - 1);
    for (int i = 0; i < 3; ++i) low |= i < q ? src[i] : 0;
    inexact = low != 0;
  }
  const Limb a0 = a.m[0] << 2, a1 = (a.m[1] << 2) | (a.m[0] >> 62), a2 = (a.m[2] << 2) | (a.m[1] >> 62),
             a3 = (a.m[3] << 2) | (a.m[2] >> 62), a4 = a.m[3] >> 62;
  unsigned long long t0, t1, t2, t3, t4;
  if (!subtract) {
    unsigned char c = _addcarry_u64(0, a0, b0, &t0);
    c = _addcarry_u64(c, a1, b1, &t1);
    c = _addcarry_u64(c, a2, b2, &t2);
    c = _addcarry_u64(c, a3, b3, &t3);
    _addcarry_u64(c, a4, 0, &t4);
  } else {
    unsigned char c = _subborrow_u64(inexact ? 1 : 0, a0, b0, &t0);  // ceil(B / 2^s)
    c = _subborrow_u64(c, a1, b1, &t1);
    c = _subborrow_u64(c, a2, b2, &t2);
    c = _subborrow_u64(c, a3, b3, &t3);
    _subborrow_u64(c, a4, 0, &t4);
  }
  return roundWindow(negative, b.exponent + s, t0, t1, t2, t3, t4);
}

// a + b (b with the sign bNegative) for a.exponent >= b.exponent, both
// nonzero.
[[gnu::always_inline]] inline Value256 addOrdered(const Value256& a, const Value256& b, bool aNegative,
                                                  bool bNegative) noexcept {
  const std::int64_t d = a.exponent - b.exponent;
  if (d > 2) return addFar(a, b, aNegative, aNegative != bNegative, d);
  return addNear(a, b, aNegative, bNegative, static_cast<int>(d));
}

}  // namespace detail

[[gnu::always_inline]] inline Value256 add(const Value256& x, const Value256& y, bool negateY) noexcept {
  const bool yNegative = y.negative != negateY;
  // x + 0 is x (already of 256 bits); 0 + y is y with its sign, and 0 - 0 the
  // canonical zero.
  if (y.isZero()) return x;
  if (x.isZero()) {
    return Value256{{y.m[0], y.m[1], y.m[2], y.m[3]}, y.exponent, yNegative};
  }
  // Two inlined copies rather than references chosen at run time, so that
  // the operands can stay in registers.
  if (x.exponent >= y.exponent) return detail::addOrdered(x, y, x.negative, yNegative);
  return detail::addOrdered(y, x, yNegative, x.negative);
}

[[gnu::always_inline]] inline Value256 mul(const Value256& a, const Value256& b) noexcept {
  if (a.isZero() || b.isZero()) return Value256{};
  Limb w[8];
  for (int i = 0; i < 4; ++i) {
    Limb carry = 0;
    for (int j = 0; j < 4; ++j) {
      const UInt128 t = UInt128(a.m[i]) * b.m[j] + (i == 0 ? 0 : w[i + j]) + carry;
      w[i + j] = Limb(t);
      carry = Limb(t >> 64);
    }
    w[i + 4] = carry;
  }
  // Both mantissas lie in [2^255, 2^256), so the product lies in [2^510,
  // 2^512): its top bit is bit 511 - z with z in {0, 1}.  The 256 bits kept
  // are w >> (256 - z) and the round bit is bit 255 - z.
  const int z = static_cast<int>(~w[7] >> 63);
  // (lo >> 1) >> (63 - z) is lo's top bit for z = 1 and zero for z = 0.
  return detail::rounded(a.negative != b.negative, a.exponent + b.exponent + 256 - z,
                         (w[4] << z) | ((w[3] >> 1) >> (63 - z)), (w[5] << z) | ((w[4] >> 1) >> (63 - z)),
                         (w[6] << z) | ((w[5] >> 1) >> (63 - z)), (w[7] << z) | ((w[6] >> 1) >> (63 - z)),
                         (w[3] >> (63 - z)) & 1);
}

[[gnu::always_inline]] inline Value256 divSmall(const Value256& a, std::uint64_t k) noexcept {
  assert(k > 0 && (k >> 63) == 0);
  if (a.isZero()) return a;
  // k = o 2^t with o odd.  a / k is (a / o) 2^-t: the correctly rounded
  // quotients differ by the exact factor 2^-t alone, so dividing by o and
  // lowering the exponent by t gives the same value; for o = 1 that is all.
  const int t = __builtin_ctzll(k);
  const Limb o = k >> t;
  if (o == 1) {
    return Value256{{a.m[0], a.m[1], a.m[2], a.m[3]}, a.exponent - t, a.negative};
  }
  // q = floor(A 2^64 / o) over five limbs: at least 320 - 63 = 257 bits for
  // o < 2^63, so the round bit lies inside (and a quotient is never a tie).
  Limb q[5];
  if (o < detail::ReciprocalBound) {
    // With R = floor(2^320 / o) = 2^320 / o - f, 0 < f < 1 (o odd, o > 1):
    //   A R / 2^256 = A 2^64 / o - A f / 2^256,  0 < A f / 2^256 < 1,
    // so floor(A R / 2^256) is q or q - 1.  The remainder of that candidate,
    // A 2^64 - q' o, lies in [0, 2o), far below 2^64, so its low limb is the
    // whole of it: (-(q'_0 o)) mod 2^64, as A 2^64 ends in a zero limb.  A
    // remainder of at least o means q = q' + 1.
    const Limb* rec = detail::kReciprocals.entry[o / 2].r;
    Limb w[9];
    for (int i = 0; i < 4; ++i) {
      Limb carry = 0;
      for (int j = 0; j < 5; ++j) {
        const UInt128 p = UInt128(a.m[i]) * rec[j] + (i == 0 ? 0 : w[i + j]) + carry;
        w[i + j] = Limb(p);
        carry = Limb(p >> 64);
      }
      w[i + 5] = carry;
    }
    for (int i = 0; i < 5; ++i) q[i] = w[4 + i];
    const Limb remainder = Limb{0} - q[0] * o;
    unsigned char c = _addcarry_u64(0, q[0], remainder >= o ? 1 : 0, reinterpret_cast<unsigned long long*>(&q[0]));
    for (int i = 1; i < 5; ++i) c = _addcarry_u64(c, q[i], 0, reinterpret_cast<unsigned long long*>(&q[i]));
  } else {
    Limb rem = 0;
    for (int i = 3; i >= 0; --i) {
      const LimbDivMod qr = udiv128Unchecked(rem, a.m[i], o);
      q[i + 1] = qr.quotient;
      rem = qr.remainder;
    }
    q[0] = udiv128Unchecked(rem, 0, o).quotient;
  }
  // 2^256 < 2^319 / o <= q < 2^320 / 3 < 2^319: the top limb q4 is nonzero
  // with z in [1, 63] leading zero bits, so the result is q >> (64 - z) and
  // the round bit is bit 63 - z.
  const int z = clz64(q[4]);
  return detail::rounded(a.negative, a.exponent - t - z, (q[1] << z) | (q[0] >> (64 - z)),
                         (q[2] << z) | (q[1] >> (64 - z)), (q[3] << z) | (q[2] >> (64 - z)),
                         (q[4] << z) | (q[3] >> (64 - z)), (q[0] >> (63 - z)) & 1);
}

}  // namespace kovrix::mantissa256

#include "float/mantissa256.hpp"

#include <cstring>
#include <x86intrin.h>

#include "arithmetic/comparison_big.hpp"
#include "arithmetic/division_big.hpp"

namespace kovrix::mantissa256 {

namespace {

// Limb i of w, zero outside [0, N).
template <std::size_t N>
inline Limb limbAt(const Limb (&w)[N], std::int64_t i) noexcept {
  return (i >= 0 && i < static_cast<std::int64_t>(N)) ? w[i] : 0;
}

// The value sign * w * 2^exponent rounded to p bits (1 <= p <= 256),
// nearest with ties away from zero, for a nonzero w: the p bits from the top
// bit down are kept and the next bit decides the bump; a carry out of the top
// gives 2^(p-1) at the next exponent.
template <std::size_t N>
[[gnu::always_inline]] inline BigFloat roundNearest(bool negative, std::int64_t exponent, const Limb (&w)[N], std::int64_t p = Bits) {
  std::int64_t top = N - 1;
  while (w[top] == 0) --top;
  const std::int64_t drop = 64 * top + 64 - clz64(w[top]) - p;
  const std::int64_t size = (p + 63) / 64;
  BigFloat r{negative, exponent + drop, BigUInt::uninitialized(static_cast<std::size_t>(size))};
  Limb* out = r.mantissa.data();
  // out = w >> drop (a left shift for a negative drop), limb by limb.
  const std::int64_t limbs = drop >= 0 ? drop / 64 : -((-drop + 63) / 64);
  const int bits = static_cast<int>(drop - 64 * limbs);  // in [0, 64)
  if (p == Bits && drop > 0) {
    // The common case, without range tests: the limbs read lie in [limbs,
    // top], since the top bit is bit 255 of the result (limb limbs + 4 is
    // read only when bits > 0, and then it is the top limb).
    const Limb* src = w + limbs;
    if (bits == 0) {
      for (int i = 0; i < 4; ++i) out[i] = src[i];
    } else {
      for (int i = 0; i < 4; ++i) out[i] = (src[i] >> bits) | (src[i + 1] << (64 - bits));
    }
  } else {
    for (std::int64_t i = 0; i < size; ++i) {
      const Limb lo = limbAt(w, limbs + i), hi = limbAt(w, limbs + i + 1);
      out[i] = bits == 0 ? lo : (lo >> bits) | (hi << (64 - bits));
    }
  }
  if (drop > 0 && ((w[(drop - 1) / 64] >> ((drop - 1) % 64)) & 1) != 0) {
    unsigned char c = 1;
    for (std::int64_t i = 0; i < size; ++i)
      c = _addcarry_u64(c, out[i], 0, reinterpret_cast<unsigned long long*>(&out[i]));
    const int topBits = static_cast<int>(p - 64 * (size - 1));  // bits of the top limb, in [1, 64]
    if (c || (topBits < 64 && (out[size - 1] >> topBits) != 0)) {
      // all ones plus one: 2^p = 2^(p-1) at the next exponent
      out[size - 1] = Limb{1} << (topBits - 1);
      r.exponent += 1;
    }
  }
  return r;
}

// out[0..3] = x >> s over four limbs (s >= 0), out[4] = 0; returns whether
// any bit below s is set.
inline bool shiftRightInto(Limb* out, const Limb* x, std::int64_t s) noexcept {
  out[0] = out[1] = out[2] = out[3] = out[4] = 0;
  if (s >= Bits) return true;  // x is nonzero
  const std::int64_t q = s / 64;
  const int bits = static_cast<int>(s % 64);
  bool inexact = false;
  for (std::int64_t i = 0; i < q; ++i) inexact |= x[i] != 0;
  if (bits == 0) {
    for (std::int64_t i = 0; i + q < 4; ++i) out[i] = x[i + q];
  } else {
    inexact |= (x[q] << (64 - bits)) != 0;
    for (std::int64_t i = 0; i + q < 3; ++i) out[i] = (x[i + q] >> bits) | (x[i + q + 1] << (64 - bits));
    out[3 - q] = x[3] >> bits;
  }
  return inexact;
}

// The operands of x + y (x - y when negateY) ordered by exponent: a has the
// larger (or equal) one, d = a.exponent - b.exponent; the signs follow the
// operands (x and y may be the same value).
struct Ordered {
  const BigFloat& a;
  const BigFloat& b;
  bool aNegative, bNegative;
  std::int64_t d;
};
inline Ordered byExponent(const BigFloat& x, const BigFloat& y, bool negateY) noexcept {
  const bool yNegative = y.negative != negateY;
  if (x.exponent < y.exponent) return {y, x, yNegative, x.negative, y.exponent - x.exponent};
  return {x, y, x.negative, yNegative, x.exponent - y.exponent};
}

// a * b rounded to p bits from the exact schoolbook product of na by nb
// limbs (inlined, so the fixed-size caller gets the unrolled loops).
[[gnu::always_inline]] inline BigFloat productRounded(const BigFloat& a, const BigFloat& b, std::size_t na,
                                                      std::size_t nb, std::int64_t p) {
  const Limb* x = a.mantissa.data();
  const Limb* y = b.mantissa.data();
  Limb w[8] = {};
  for (std::size_t i = 0; i < na; ++i) {
    Limb carry = 0;
    for (std::size_t j = 0; j < nb; ++j) {
      const UInt128 t = UInt128(x[i]) * y[j] + w[i + j] + carry;
      w[i + j] = Limb(t);
      carry = Limb(t >> 64);
    }
    w[i + nb] = carry;
  }
  return roundNearest(a.negative != b.negative, a.exponent + b.exponent, w, p);
}


// r.m += 1 (the round bit was set): all ones plus one is 2^256, that is
// 2^255 at the next exponent.
inline void bump(Value256& r, Limb roundBit) noexcept {
  unsigned char c = _addcarry_u64(0, r.m[0], roundBit, reinterpret_cast<unsigned long long*>(&r.m[0]));
  for (int i = 1; i < 4; ++i) c = _addcarry_u64(c, r.m[i], 0, reinterpret_cast<unsigned long long*>(&r.m[i]));
  if (c) {
    r.m[3] = Limb{1} << 63;
    r.exponent += 1;
  }
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
  Value256 r;
  r.negative = negative;
  r.exponent = exponent + drop;
  if (drop <= 0) {
    const std::int64_t limbs = -drop / 64;
    const int bits = static_cast<int>(-drop % 64);
    for (std::int64_t i = 3; i >= 0; --i) {
      const Limb hi = limbAt(w, i - limbs), lo = limbAt(w, i - limbs - 1);
      r.m[i] = bits == 0 ? hi : (hi << bits) | (lo >> (64 - bits));
    }
    return r;
  }
  // The limbs read lie in [limbs, top]: the top bit is bit 255 of the
  // result, so limb limbs + 4 is read only when bits > 0, and then it is the
  // top limb.
  const std::int64_t limbs = drop / 64;
  const int bits = static_cast<int>(drop % 64);
  const Limb* src = w + limbs;
  if (bits == 0) {
    for (int i = 0; i < 4; ++i) r.m[i] = src[i];
  } else {
    for (int i = 0; i < 4; ++i) r.m[i] = (src[i] >> bits) | (src[i + 1] << (64 - bits));
  }
  bump(r, (w[(drop - 1) / 64] >> ((drop - 1) % 64)) & 1);
  return r;
}

// floor(2^320 / k) for the odd k below ReciprocalBound, five limbs each,
// made at compile time by long division.
constexpr Limb ReciprocalBound = 1024;
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
constexpr ReciprocalTable kReciprocals = makeReciprocals();

}  // namespace

Value256 add(const Value256& x, const Value256& y, bool negateY) noexcept {
  const bool yNegative = y.negative != negateY;
  // x + 0 is x (already of 256 bits); 0 + y is y with its sign, and 0 - 0 the
  // canonical zero.
  if (y.isZero()) return x;
  if (x.isZero()) {
    Value256 r = y;
    r.negative = yNegative;
    return r;
  }
  const bool swap = x.exponent < y.exponent;
  const Value256& a = swap ? y : x;
  const Value256& b = swap ? x : y;
  const bool aNegative = swap ? yNegative : x.negative;
  const bool bNegative = swap ? x.negative : yNegative;
  const std::int64_t d = a.exponent - b.exponent;
  // Only the bits of the exact sum S = A 2^d +- B from two below A's lowest
  // bit upward decide its rounding: with s = max(d - 2, 0) and k = d - s,
  //   floor(S / 2^s) = A 2^k + floor(B / 2^s)           for a sum,
  //                  = A 2^k - ceil(B / 2^s)            for a difference,
  // exactly (A 2^d is a multiple of 2^s).  The difference keeps at least 257
  // bits when s > 0, so the round bit is inside; with s = 0 it is exact.
  const std::int64_t s = d > 2 ? d - 2 : 0;
  const int k = static_cast<int>(d - s);
  Limb ta[5], tb[5], t[5];
  const bool inexact = shiftRightInto(tb, b.m, s);
  ta[0] = a.m[0] << k;
  for (int i = 1; i < 4; ++i) ta[i] = k == 0 ? a.m[i] : (a.m[i] << k) | (a.m[i - 1] >> (64 - k));
  ta[4] = k == 0 ? 0 : a.m[3] >> (64 - k);
  bool negative = aNegative;
  if (aNegative == bNegative) {
    unsigned char c = 0;
    for (int i = 0; i < 5; ++i) c = _addcarry_u64(c, ta[i], tb[i], reinterpret_cast<unsigned long long*>(&t[i]));
  } else {
    // a's magnitude is the larger unless d = 0 and b's mantissa exceeds it.
    const int order = d > 0 ? 1 : cmpN({a.m, 4}, {b.m, 4});
    if (order == 0) return Value256{};  // exact cancellation
    const Limb* big = order > 0 ? ta : tb;
    const Limb* small = order > 0 ? tb : ta;
    if (order < 0) negative = bNegative;
    unsigned char c = inexact ? 1 : 0;  // ceil(B / 2^s): one more to take away
    for (int i = 0; i < 5; ++i) c = _subborrow_u64(c, big[i], small[i], reinterpret_cast<unsigned long long*>(&t[i]));
  }
  return round256(negative, b.exponent + s, t);
}

Value256 mul(const Value256& a, const Value256& b) noexcept {
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
  Value256 r;
  r.negative = a.negative != b.negative;
  r.exponent = a.exponent + b.exponent + 256 - z;
  // (lo >> 1) >> (63 - z) is lo's top bit for z = 1 and zero for z = 0.
  for (int i = 0; i < 4; ++i) r.m[i] = (w[4 + i] << z) | ((w[3 + i] >> 1) >> (63 - z));
  bump(r, (w[3] >> (63 - z)) & 1);
  return r;
}

Value256 div(const Value256& a, const Value256& b) noexcept {
  if (a.isZero()) return a;
  // N = a * 2^258 over 9 limbs, divided by b's normalised four limbs: the
  // quotient has 258 or 259 bits, so the round bit lies inside it.
  Limb n[9] = {};
  for (int i = 0; i < 4; ++i) {
    n[4 + i] |= a.m[i] << 2;
    n[5 + i] = a.m[i] >> 62;
  }
  Limb q[5];
  [[maybe_unused]] const Limb qh = divSchoolbookNormN(q, n, std::span<const Limb>(b.m, 4));
  assert(qh == 0);  // N's top four limbs are below b, whose top bit is set
  return round256(a.negative != b.negative, a.exponent - b.exponent - 258, q);
}

Value256 divSmall(const Value256& a, std::uint64_t k) noexcept {
  assert(k > 0 && (k >> 63) == 0);
  if (a.isZero()) return a;
  // k = o 2^t with o odd.  a / k is (a / o) 2^-t: the correctly rounded
  // quotients differ by the exact factor 2^-t alone, so dividing by o and
  // lowering the exponent by t gives the same value; for o = 1 that is all.
  const int t = __builtin_ctzll(k);
  const Limb o = k >> t;
  Value256 r;
  r.negative = a.negative;
  if (o == 1) {
    r = a;
    r.exponent -= t;
    return r;
  }
  // q = floor(A 2^64 / o) over five limbs: at least 320 - 63 = 257 bits for
  // o < 2^63, so the round bit lies inside (and a quotient is never a tie).
  Limb q[5];
  if (o < ReciprocalBound) {
    // With R = floor(2^320 / o) = 2^320 / o - f, 0 < f < 1 (o odd, o > 1):
    //   A R / 2^256 = A 2^64 / o - A f / 2^256,  0 < A f / 2^256 < 1,
    // so floor(A R / 2^256) is q or q - 1.  The remainder of that candidate,
    // A 2^64 - q' o, lies in [0, 2o), far below 2^64, so its low limb is the
    // whole of it: (-(q'_0 o)) mod 2^64, as A 2^64 ends in a zero limb.  A
    // remainder of at least o means q = q' + 1.
    const Limb* rec = kReciprocals.entry[o / 2].r;
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
  // 2^256 < 2^319 / o <= q < 2^320 / 3 < 2^319: the top limb holds the top
  // z in [1, 63] zero bits below bit 320, so the result is q >> (64 - z) and
  // the round bit is bit 63 - z.
  const int z = clz64(q[4]);
  r.exponent = a.exponent - t - z;
  for (int i = 0; i < 4; ++i) r.m[i] = (q[i + 1] << z) | (q[i] >> (64 - z));
  bump(r, (q[0] >> (63 - z)) & 1);
  return r;
}

BigFloat add(const BigFloat& a, const BigFloat& b, bool negateB) {
  return toBigFloat(add(toValue(a), toValue(b), negateB));
}

BigFloat mul(const BigFloat& a, const BigFloat& b) { return toBigFloat(mul(toValue(a), toValue(b))); }

BigFloat div(const BigFloat& a, const BigFloat& b) { return toBigFloat(div(toValue(a), toValue(b))); }

BigFloat divSmall(const BigFloat& a, std::uint64_t k) { return toBigFloat(divSmall(toValue(a), k)); }

BigFloat mulShort(const BigFloat& a, const BigFloat& b, std::int64_t p) {
  return productRounded(a, b, a.mantissa.size(), b.mantissa.size(), p);
}

BigFloat addShort(const BigFloat& x, const BigFloat& y, bool negateY, std::int64_t p) {
  const auto [a, b, aNegative, bNegative, d] = byExponent(x, y, negateY);
  assert(d <= p + 64);
  // The exact sum on b's exponent: A 2^d has at most 256 + 320 bits, so ten
  // limbs hold both aligned operands and a carry.
  Limb ta[10] = {}, tb[10] = {}, t[10];
  const std::int64_t q = d / 64;
  const int k = static_cast<int>(d % 64);
  const std::size_t na = a.mantissa.size(), nb = b.mantissa.size();
  const Limb* am = a.mantissa.data();
  for (std::size_t i = 0; i < na; ++i) {
    ta[q + i] |= am[i] << k;
    if (k != 0) ta[q + i + 1] = am[i] >> (64 - k);
  }
  std::memcpy(tb, b.mantissa.data(), nb * sizeof(Limb));
  bool negative = aNegative;
  if (aNegative == bNegative) {
    unsigned char c = 0;
    for (int i = 0; i < 10; ++i) c = _addcarry_u64(c, ta[i], tb[i], reinterpret_cast<unsigned long long*>(&t[i]));
  } else {
    const int order = cmpN(ta, tb);
    if (order == 0) return BigFloat{};  // exact cancellation
    const Limb* big = order > 0 ? ta : tb;
    const Limb* small = order > 0 ? tb : ta;
    if (order < 0) negative = bNegative;
    unsigned char c = 0;
    for (int i = 0; i < 10; ++i) c = _subborrow_u64(c, big[i], small[i], reinterpret_cast<unsigned long long*>(&t[i]));
  }
  return roundNearest(negative, b.exponent, t, p);
}

}  // namespace kovrix::mantissa256

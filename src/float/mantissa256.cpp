#include "float/mantissa256.hpp"

#include <cstring>
#include <x86intrin.h>

#include "arithmetic/comparison_big.hpp"
#include "arithmetic/division_big.hpp"
#include "float/value256.hpp"

namespace kovrix::mantissa256 {

namespace {

using detail::limbAt;

// The value sign * w * 2^exponent rounded to p bits (1 <= p <= 256),
// nearest with ties away from zero, for a nonzero w: the p bits from the top
// bit down are kept and the next bit decides the bump; a carry out of the top
// gives 2^(p-1) at the next exponent.  At p = 256 this is the fixed-size
// rounding of the in-place kernels.
template <std::size_t N>
[[gnu::always_inline]] inline BigFloat roundNearest(bool negative, std::int64_t exponent, const Limb (&w)[N], std::int64_t p = Bits) {
  if (p == Bits) return toBigFloat(detail::round256(negative, exponent, w));
  std::int64_t top = N - 1;
  while (w[top] == 0) --top;
  const std::int64_t drop = 64 * top + 64 - clz64(w[top]) - p;
  const std::int64_t size = (p + 63) / 64;
  BigFloat r{negative, exponent + drop, BigUInt::uninitialized(static_cast<std::size_t>(size))};
  Limb* out = r.mantissa.data();
  // out = w >> drop (a left shift for a negative drop), limb by limb.
  const std::int64_t limbs = drop >= 0 ? drop / 64 : -((-drop + 63) / 64);
  const int bits = static_cast<int>(drop - 64 * limbs);  // in [0, 64)
  for (std::int64_t i = 0; i < size; ++i) {
    const Limb lo = limbAt(w, limbs + i), hi = limbAt(w, limbs + i + 1);
    out[i] = bits == 0 ? lo : (lo >> bits) | (hi << (64 - bits));
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


}  // namespace

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
  return detail::round256(a.negative != b.negative, a.exponent - b.exponent - 258, q);
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

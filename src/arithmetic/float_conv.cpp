#include "arithmetic/float_conv.hpp"

#include <bit>

#include "arithmetic/bitwise_big.hpp"

namespace kovrix {

double toFloat64(const BigUInt& x) noexcept {
  if (x.isZero()) return 0.0;
  const std::size_t n = x.size();
  const std::uint64_t bits = 64 * std::uint64_t(n) - std::uint64_t(clz64(x.topLimb()));
  if (bits <= 53) return static_cast<double>(x[0]);  // exact
  // Beyond 1076 bits even the smallest value rounds to 2^1076 > max double.
  if (bits > 1076) return std::bit_cast<double>(Limb{0x7ff} << 52);

  // t = the top 54 bits of x (x >> shift): 53 mantissa bits and the rounding
  // bit.  They span at most the top two limbs.
  const std::uint64_t shift = bits - 54;
  const std::size_t limb = static_cast<std::size_t>(shift / 64);
  const int off = static_cast<int>(shift % 64);
  Limb t = x[limb] >> off;
  if (off != 0 && limb + 1 < n) t |= x[limb + 1] << (64 - off);
  Limb mant = t >> 1;
  const bool roundBit = (t & 1) != 0;
  // sticky: any bit of x below `shift`.
  const bool sticky = anyLowBitSet(x, static_cast<std::int64_t>(shift));
  if (roundBit && (sticky || (mant & 1))) ++mant;  // may reach 2^53, still exact
  // scale = 2^(shift + 1) = 2^(bits - 53), from its biased exponent
  // bits - 53 + 1023 = bits + 970 (at most 2046 since bits <= 1076); the
  // product overflows to +infinity exactly when the rounded value is 2^1024
  // or more.
  const double scale = std::bit_cast<double>(Limb(bits + 970) << 52);
  return static_cast<double>(mant) * scale;
}

double toFloat64(const BigInt& x) noexcept {
  double m = toFloat64(x.magnitude);
  return x.negative ? -m : m;
}

BigInt bigFromFloat64(double x) {
  const Limb pattern = std::bit_cast<Limb>(x);
  const bool negative = (pattern >> 63) != 0;
  const int e = static_cast<int>((pattern >> 52) & 0x7ff);
  const Limb f = pattern & ((Limb{1} << 52) - 1);
  if (e == 2047) raiseOverflow("toFixed: non-finite float (Inf/NaN) has no integer value");
  // Zero and subnormals are below 1 in magnitude: integer part zero.
  if (e == 0) return BigInt{};
  const Limb m = f | (Limb{1} << 52);  // value = m * 2^(e - 1075)
  BigUInt magnitude = e < 1075 ? (1075 - e >= 64 ? BigUInt{} : initBigUInt(m >> (1075 - e)))
                               : shl(initBigUInt(m), e - 1075);
  return initBigInt(std::move(magnitude), negative);
}

}  // namespace kovrix

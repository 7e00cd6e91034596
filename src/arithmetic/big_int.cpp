#include "arithmetic/big_int.hpp"

namespace kovrix {

namespace {
constexpr Limb TopBit = Limb{1} << 63;
}

BigUInt initBigUInt(std::uint64_t v) {
  if (v == 0) return BigUInt{};
  BigUInt r = BigUInt::uninitialized(1);
  r.data()[0] = v;
  return r;
}

BigUInt initBigUInt(std::span<const Limb> limbs) {
  std::size_t n = normalizedLength(limbs);
  BigUInt r = BigUInt::uninitialized(n);
  if (n) std::memcpy(r.data(), limbs.data(), n * sizeof(Limb));
  return r;
}

BigUInt initBigUInt(std::initializer_list<Limb> limbs) {
  return initBigUInt(std::span<const Limb>(limbs.begin(), limbs.size()));
}

BigInt initBigInt(std::int64_t v) {
  // The magnitude is the two's complement negation computed in unsigned
  // arithmetic, so -2^63 gives the limb 2^63 without signed overflow.
  Limb mag = v < 0 ? Limb{0} - static_cast<Limb>(v) : static_cast<Limb>(v);
  return BigInt{v < 0, initBigUInt(mag)};
}

BigInt initBigInt(const BigUInt& magnitude, bool negative) {
  return BigInt{negative && !magnitude.isZero(), magnitude};
}

std::int64_t toInt64(const BigUInt& x) {
  if (x.isZero()) return 0;
  if (x.size() > 1 || (x[0] & TopBit)) [[unlikely]] raiseOverflow("BigUInt exceeds int64 range");
  return static_cast<std::int64_t>(x[0]);
}

std::int64_t toInt64(const BigInt& x) {
  if (x.magnitude.isZero()) return 0;
  if (x.magnitude.size() > 1) [[unlikely]] raiseOverflow("BigInt exceeds int64 range");
  Limb l = x.magnitude[0];
  if (x.negative) {
    if (l > TopBit) [[unlikely]] raiseOverflow("BigInt exceeds int64 range");
    // l <= 2^63: the unsigned negation is the two's complement of -l, which
    // is representable (l = 2^63 gives INT64_MIN).
    return static_cast<std::int64_t>(Limb{0} - l);
  }
  if (l >= TopBit) [[unlikely]] raiseOverflow("BigInt exceeds int64 range");
  return static_cast<std::int64_t>(l);
}

std::uint64_t toUInt64(const BigUInt& x) {
  if (x.isZero()) return 0;
  if (x.size() > 1) [[unlikely]] raiseOverflow("BigUInt exceeds uint64 range");
  return x[0];
}

std::uint64_t toUInt64(const BigInt& x) {
  if (x.negative) [[unlikely]] raiseOverflow("negative BigInt cannot convert to uint64");
  return toUInt64(x.magnitude);
}

bool fitsInt64(const BigInt& x) noexcept {
  if (x.magnitude.size() > 1) return false;
  if (x.magnitude.isZero()) return true;
  Limb l = x.magnitude[0];
  return x.negative ? l <= TopBit : l < TopBit;
}

// Saturation against the bounds -2^63 and 2^63 - 1: below the lower bound the
// value is negative with a magnitude above 2^63, above the upper bound it is
// non-negative with a magnitude of at least 2^63; in between toInt64 applies.
std::int64_t clampToInt64(const BigInt& x) noexcept {
  if (!fitsInt64(x)) return x.negative ? INT64_MIN : INT64_MAX;
  if (x.magnitude.isZero()) return 0;
  Limb l = x.magnitude[0];
  return x.negative ? static_cast<std::int64_t>(Limb{0} - l) : static_cast<std::int64_t>(l);
}

bool fitsUInt64(const BigInt& x) noexcept { return !x.negative && x.magnitude.size() <= 1; }

std::uint64_t clampToUInt64(const BigInt& x) noexcept {
  if (x.negative) return 0;
  if (x.magnitude.size() > 1) return ~std::uint64_t{0};
  return x.magnitude.isZero() ? 0 : x.magnitude[0];
}

}  // namespace kovrix

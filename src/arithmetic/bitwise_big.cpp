#include "arithmetic/bitwise_big.hpp"

#include <algorithm>

namespace kovrix {

BigUInt shl(const BigUInt& x, std::int64_t n) {
  if (n < 0) [[unlikely]] raiseRange();
  if (x.isZero() || n == 0) return x;
  std::int64_t limbShift = n / 64;
  int bits = static_cast<int>(n % 64);
  std::size_t total = limbCount(checkedAdd(checkedAdd(x.length(), limbShift), 1));
  BigUInt r = BigUInt::uninitialized(total);
  Limb* out = r.data();
  std::size_t l = static_cast<std::size_t>(limbShift), len = x.size();
  std::memset(out, 0, l * sizeof(Limb));
  if (bits == 0) {
    std::memcpy(out + l, x.data(), len * sizeof(Limb));
    out[len + l] = 0;
  } else {
    out[len + l] = shlBitsN({out + l, len}, x.limbs(), bits);
  }
  r.trim();
  return r;
}

BigUInt shr(const BigUInt& x, std::int64_t n) {
  if (n < 0) [[unlikely]] raiseRange();
  if (x.isZero() || n == 0) return x;
  std::uint64_t limbShift = static_cast<std::uint64_t>(n / 64);
  if (limbShift >= x.size()) return BigUInt{};
  int bits = static_cast<int>(n % 64);
  std::size_t l = static_cast<std::size_t>(limbShift), len = x.size() - l;
  BigUInt r = BigUInt::uninitialized(len);
  if (bits == 0)
    std::memcpy(r.data(), x.data() + l, len * sizeof(Limb));
  else
    shrBitsN(r.mutableLimbs(), x.limbs().subspan(l), bits);
  r.trim();
  return r;
}

BigUInt bitAnd(const BigUInt& a, const BigUInt& b) {
  std::size_t n = std::min(a.size(), b.size());
  BigUInt r = BigUInt::uninitialized(n);
  for (std::size_t i = 0; i < n; ++i) r.data()[i] = a[i] & b[i];
  r.trim();
  return r;
}

BigUInt bitOr(const BigUInt& a, const BigUInt& b) {
  const BigUInt& longer = a.size() >= b.size() ? a : b;
  const BigUInt& shorter = a.size() >= b.size() ? b : a;
  BigUInt r = longer;
  for (std::size_t i = 0; i < shorter.size(); ++i) r.data()[i] |= shorter[i];
  // The longer operand's top limb is kept, so the result is normalised.
  return r;
}

bool anyLowBitSet(const BigUInt& x, std::int64_t n) noexcept {
  if (n <= 0 || x.isZero()) return false;
  std::uint64_t whole = static_cast<std::uint64_t>(n / 64);
  int bits = static_cast<int>(n % 64);
  std::size_t full = static_cast<std::size_t>(std::min<std::uint64_t>(whole, x.size()));
  for (std::size_t i = 0; i < full; ++i)
    if (x[i] != 0) return true;
  if (whole < x.size() && bits != 0) return (x[whole] & ((Limb{1} << bits) - 1)) != 0;
  return false;
}

}  // namespace kovrix

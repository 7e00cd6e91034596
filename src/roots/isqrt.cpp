#include "roots/isqrt.hpp"

#include <algorithm>

#include "arithmetic/addition_big.hpp"
#include "arithmetic/bitwise_big.hpp"
#include "arithmetic/comparison_big.hpp"
#include "arithmetic/subtraction_big.hpp"

namespace kovrix {

// One result bit per step, from the largest power of four not above n down:
// with bit = 4^k, if result + bit <= rem then rem -= result + bit and
// result = result / 2 + bit, else result = result / 2.  At the end result is
// floor(sqrt(n)) and rem = n - result^2.
//
// Working in place on limb buffers of len(n) limbs: every working value stays
// below n (rem <= n, result <= sqrt(n) * 2 before its last halving, and
// result + bit <= rem whenever it is subtracted), and result's lowest set bit
// lies above bit's position, so result + bit is result with that bit set and
// result / 2 drops no bit.
BigInt isqrt(const BigInt& n) {
  if (n.negative) raiseValueError("isqrt: argument must be non-negative");
  if (n.magnitude.isZero()) return BigInt{};
  const BigUInt& x = n.magnitude;
  const std::size_t len = x.size();
  const std::uint64_t bitLength = 64 * std::uint64_t(len) - std::uint64_t(clz64(x.topLimb()));
  std::uint64_t b = (bitLength - 1) & ~std::uint64_t{1};  // 4^(b/2) <= n < 4^(b/2 + 1)

  BigUInt rem = x;
  BigUInt result = BigUInt::zeros(len);
  BigUInt t = BigUInt::zeros(len);
  auto r = rem.mutableLimbs();
  auto res = result.mutableLimbs();
  auto tt = t.mutableLimbs();
  for (;;) {
    const std::size_t bl = static_cast<std::size_t>(b / 64);
    const Limb bm = Limb{1} << (b % 64);
    std::copy(res.begin(), res.end(), tt.begin());
    tt[bl] |= bm;  // result + bit
    bool take = cmpN(tt, r) <= 0;
    if (take) subN(r, r, tt);
    if (len > 0) shrBitsN(res, res, 1);
    if (take) addLimbInPlace(res.subspan(bl), bm);
    if (b < 2) break;
    b -= 2;
  }
  result.trim();
  return BigInt{false, std::move(result)};
}

}  // namespace kovrix

#include "arithmetic/addition_big.hpp"

namespace kovrix {

BigUInt add(const BigUInt& a, const BigUInt& b) {
  const BigUInt& longer = a.size() >= b.size() ? a : b;
  const BigUInt& shorter = a.size() >= b.size() ? b : a;
  std::size_t n = limbCount(checkedAdd(longer.length(), 1));
  BigUInt r = BigUInt::uninitialized(n);
  auto out = r.mutableLimbs();
  out[n - 1] = addN(out.first(n - 1), longer.limbs(), shorter.limbs());
  r.trim();
  return r;
}

}  // namespace kovrix

#include "float/constants.hpp"

#include "float/arithmetic.hpp"
#include "trigonometry/taylor.hpp"

namespace kovrix {

BigFloat atanTaylor(const BigFloat& x, std::int64_t n) {
  // On values held in place when the argument and count allow: the same
  // steps, the same results (Value256Arithmetic).
  using V = Value256Arithmetic;
  if (n <= V::MaxTerms && V::covers(x))
    return mantissa256::toBigFloat(generic::atanSeries<V>(mantissa256::toValue(x), n));
  return generic::atanSeries<BigFloatArithmetic>(x, n);
}

BigFloat piBigFloat(std::int64_t p, std::int64_t n) {
  const BigFloat one = initBigFloat(p, 1.0);
  const BigFloat a = one / initBigFloat(p, 5.0);
  const BigFloat b = one / initBigFloat(p, 239.0);
  const BigFloat atanA = atanTaylor(a, n);
  const BigFloat atanB = atanTaylor(b, n);
  return initBigFloat(p, 16.0) * atanA - initBigFloat(p, 4.0) * atanB;
}

BigFloat eBigFloat(std::int64_t p, std::int64_t n) {
  BigFloat term = initBigFloat(p, 1.0);
  BigFloat sum = term;
  for (std::int64_t i = 1; i <= n; ++i) {
    term = term / initBigFloat(p, static_cast<double>(i));
    sum = sum + term;
  }
  return sum;
}

}  // namespace kovrix

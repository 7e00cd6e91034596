#include "float/constants.hpp"

#include "float/arithmetic.hpp"
#include "trigonometry/taylor.hpp"

namespace kovrix {

BigFloat atanTaylor(const BigFloat& x, std::int64_t n) {
  return runSeries(x, n, [n]<class S>(S, const typename S::Value& v) { return generic::atanSeries<S>(v, n); });
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

#include "rational/rational_type.hpp"

#include <utility>

#include "arithmetic/comparison_big.hpp"
#include "arithmetic/division_big.hpp"
#include "rational/gcd.hpp"

namespace kovrix {

Rational initRational(BigInt num, BigInt den) {
  if (den.magnitude.isZero()) raiseDivByZero("initRational: denominator cannot be zero");
  Rational r{std::move(num), std::move(den)};
  simplify(r);
  return r;
}

Rational initRational(std::int64_t num, std::int64_t den) { return initRational(initBigInt(num), initBigInt(den)); }

void simplify(Rational& r) {
  if (r.num.magnitude.isZero()) {
    r.den = initBigInt(1);
    return;
  }
  if (r.den.negative) {
    r.num.negative = !r.num.negative;
    r.den.negative = false;
  }
  const BigUInt g = gcd(r.num.magnitude, r.den.magnitude);
  if (g.size() == 1 && g[0] == 1) return;
  r.num.magnitude = divMod(r.num.magnitude, g).quotient;
  r.den.magnitude = divMod(r.den.magnitude, g).quotient;
}

bool isOne(const Rational& r) noexcept { return cmp(r.num, r.den) == 0; }

Rational integerRational(BigInt n) { return Rational{std::move(n), initBigInt(1)}; }

}  // namespace kovrix

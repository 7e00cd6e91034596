// The C++ layer (kovrix.hpp): values that own their handles, operators,
// printing, and exceptions for failures.  Run by `make demo` after the tour.
#include <iostream>

#include "kovrix.hpp"

int main() {
  using kovrix::BigInt;
  // Factorial of 50 and its digits, exact.
  BigInt f = 1;
  for (int i = 2; i <= 50; ++i) f *= i;
  std::cout << "50! = " << f << "\n";
  std::cout << "50! / 2^40 = " << (f >> 40) << ", 50! mod 1000003 = " << f % 1000003 << "\n";

  // Q32.32 fixed point: the elementary functions and saturating arithmetic.
  const kovrix::Fixed x = kovrix::Fixed::from_double(0.75);
  std::cout << "sin 0.75 = " << kovrix::sin(x) << " (Q32.32), pi = " << kovrix::Fixed::pi() << "\n";

  // 256-bit floating point, printed exactly, and exact fractions.
  const kovrix::BigFloat root2 = kovrix::sqrt(kovrix::BigFloat(2));
  std::cout << "sqrt 2 = " << root2 << "\n  (as a double " << root2.to_double() << ")\n";
  std::cout << "1/3 + 0.25 = " << kovrix::Rational("1/3") + kovrix::Rational(0.25) << "\n";
  // Conversions: 0.1 is really this fraction; 22/7 at 256 bits; its integer part.
  const kovrix::Rational tenth(0.1), approx("22/7");
  std::cout << "0.1 = " << tenth << "\n22/7 = " << approx.to_bigfloat() << " (integer part "
            << approx.to_bigint() << ")\n";

  // Intervals enclose the exact result.
  const kovrix::Interval third = kovrix::Interval(1) / kovrix::Interval(3);
  std::cout << "1/3 lies in " << third << ", width " << third.width() << "\n";

  // A failure is an exception, and the thread stays usable afterwards.
  try {
    std::cout << BigInt(1) / BigInt(0) << "\n";
  } catch (const kovrix::Error& e) {
    std::cout << "caught: " << e.what() << "\n";
  }
  std::cout << "after it: 2^100 = " << (BigInt(1) << 100) << "\n";
  return 0;
}

// Through the installed C++ layer: kovrix.hpp must compile as C++17.
#include <kovrix.hpp>

#include <cstring>
#include <iostream>

int main() {
  if (std::strcmp(kovrix_version(), KOVRIX_VERSION_STRING) != 0) return 1;
  const kovrix::BigInt a("-123456789012345678901234567890");
  const std::string square = (a * a).to_string();
  std::cout << square << "\n";
  return square == "15241578753238836750495351562536198787501905199875019052100" ? 0 : 1;
}

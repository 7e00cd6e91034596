#include <kovrix.h>

#include <cstdio>
#include <cstring>

int main() {
  kovrix_init();
  if (std::strcmp(kovrix_version(), KOVRIX_VERSION_STRING) != 0) return 1;
  kovrix_bigint* a = kovrix_bigint_from_decimal("-123456789012345678901234567890");
  kovrix_bigint* p = kovrix_bigint_mul(a, a);
  char text[128];
  int n = kovrix_bigint_to_decimal(p, text, sizeof text);
  kovrix_bigint_destroy(p);
  kovrix_bigint_destroy(a);
  if (n < 0 || std::strcmp(text, "15241578753238836750495351562536198787501905199875019052100") != 0) return 1;
  std::printf("%s\n", text);
  return 0;
}

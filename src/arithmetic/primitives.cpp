#include "arithmetic/primitives.hpp"

#include <cpuid.h>

namespace kovrix {

namespace {
// CPUID leaf 7, sub-leaf 0: EBX bit 8 is BMI2 (MULX), bit 19 is ADX.  Read
// directly, so that the test compiles the same under every compiler (not all
// of them know "adx" as a __builtin_cpu_supports feature).
const bool gHasMulxAdx = [] {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return false;
  return (ebx >> 8 & 1) != 0 && (ebx >> 19 & 1) != 0;
}();
}  // namespace

bool cpuHasMulxAdx() noexcept { return gHasMulxAdx; }

LimbDivMod udiv128(Limb hi, Limb lo, Limb d) {
  if (d == 0) [[unlikely]] raiseDivByZero("udiv128: divisor is zero");
  if (hi >= d) [[unlikely]] raiseValueError("udiv128: high limb must be < divisor (quotient must fit a Limb)");
  return udiv128Unchecked(hi, lo, d);
}

}  // namespace kovrix

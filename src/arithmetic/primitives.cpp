#include "arithmetic/primitives.hpp"

namespace kovrix {

namespace {
const bool gHasMulxAdx = [] {
  // Runs in a load-time constructor, before libgcc's own may have run.
  __builtin_cpu_init();
  return __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("adx");
}();
}  // namespace

bool cpuHasMulxAdx() noexcept { return gHasMulxAdx; }

LimbDivMod udiv128(Limb hi, Limb lo, Limb d) {
  if (d == 0) [[unlikely]] raiseDivByZero("udiv128: divisor is zero");
  if (hi >= d) [[unlikely]] raiseValueError("udiv128: high limb must be < divisor (quotient must fit a Limb)");
  return udiv128Unchecked(hi, lo, d);
}

}  // namespace kovrix

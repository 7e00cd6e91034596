// The float64 kernel exports as a host sees them through the shared object:
// stated values, the quiet-NaN guards, and that they neither leave nor clear
// a pending error (observed through an export that stops while one is
// pending).
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "kovrix.h"

namespace {

constexpr std::uint64_t kQuietNaN = 0x7FF8000000000000ULL;

std::uint64_t bits(double x) { return std::bit_cast<std::uint64_t>(x); }

TEST(Float64ExportsHost, StatedValuesAndGuards) {
  kovrix_init();
  EXPECT_EQ(kovrix_sqrt_newton_f64(2.0), 1.414213562373095);
  EXPECT_EQ(kovrix_exp_taylor_f64(1.0), 2.71828182845823);
  EXPECT_EQ(kovrix_ln_taylor_f64(0.5), 0.40546372233994304);
  EXPECT_EQ(kovrix_taylor_sin_f64(1.0), 0.8414710097001764);
  EXPECT_EQ(kovrix_taylor_cos_f64(1.0), 0.5403025793650793);
  EXPECT_EQ(kovrix_taylor_atan_f64(1.0), 0.7604599047323508);
  EXPECT_EQ(kovrix_chebyshev_t(-3, 0.25), 0.25);
  EXPECT_EQ(kovrix_hermite(2, 1.0), 2.0);
  EXPECT_EQ(kovrix_legendre(2, 0.5), -0.125);
  EXPECT_EQ(kovrix_chebyshev_u(0, 0.25), 1.0);
  EXPECT_EQ(kovrix_erf(1.0), 0.8427007929497411);
  EXPECT_EQ(kovrix_gamma(0.5), 1.7724538509055172);
  EXPECT_EQ(kovrix_factorial(20), 2432902008176640000.0);
  EXPECT_EQ(kovrix_bessel_j0(2.0), 0.22389077914123562);
  EXPECT_EQ(bits(kovrix_sqrt_newton_f64(-1.0)), kQuietNaN);
  EXPECT_EQ(bits(kovrix_ln_taylor_f64(-1.0)), kQuietNaN);
  EXPECT_EQ(bits(kovrix_gamma(-0.0)), kQuietNaN);
  EXPECT_EQ(bits(kovrix_gamma(-7.0)), kQuietNaN);
}

TEST(Float64ExportsHost, NoPendingErrorLeftOrCleared) {
  // A fixed-point kernel export that fails leaves its error pending; the
  // float64 exports compute through it and leave it there, so the next
  // failing-step export still stops; a router function then clears it.
  const std::int64_t big = std::int64_t{1} << 62;
  EXPECT_EQ(kovrix_cordic_atan2(big, big), 0);
  EXPECT_EQ(kovrix_sqrt_newton_f64(4.0), 2.0);
  EXPECT_EQ(bits(kovrix_gamma(0.0)), kQuietNaN);
  EXPECT_EQ(kovrix_cordic_sin(0), 0);  // stopped: an error is still pending
  EXPECT_EQ(kovrix_fixed_sqrt(std::int64_t{4} << 32), std::int64_t{0});  // clears it, answers 0
  EXPECT_EQ(kovrix_cordic_sin(0), -3);  // computes again
}

// The kernels' results depend on every product and sum being rounded
// separately: the library must contain no fused multiply-add.
TEST(Float64ExportsHost, NoFusedMultiplyAdd) {
  const std::string cmd = std::string("objdump -d --no-show-raw-insn ") + KOVRIX_SHARED_OBJECT + " 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  char line[512];
  std::size_t lines = 0, fused = 0;
  while (std::fgets(line, sizeof line, p) != nullptr) {
    ++lines;
    const std::string text(line);
    if (text.find("vfmadd") != std::string::npos || text.find("vfmsub") != std::string::npos ||
        text.find("vfnmadd") != std::string::npos || text.find("vfnmsub") != std::string::npos)
      ++fused;
  }
  pclose(p);
  if (lines == 0) GTEST_SKIP() << "objdump not available";
  EXPECT_EQ(fused, 0u);
}

}  // namespace

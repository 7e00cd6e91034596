// The one seeded generator of a test program, and the draws every family
// uses: bits64(), below(n), between(lo, hi).
//
// Every random test draws from rng().  The seed is fixed by default, so a run
// is reproducible and CI sees the same operands every time; KOVRIX_SEED=<n>
// replays seed n and KOVRIX_SEED=random draws a fresh one (for soak runs).
// The seed is printed when the program starts and again after a failure.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace kovrix::testsupport {

inline constexpr std::uint64_t kDefaultSeed = 0x6B6F7672697831ULL;

inline std::uint64_t programSeed() {
  static const std::uint64_t seed = [] {
    const char* env = std::getenv("KOVRIX_SEED");
    if (env == nullptr || *env == '\0') return kDefaultSeed;
    if (std::strcmp(env, "random") == 0)
      return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return static_cast<std::uint64_t>(std::strtoull(env, nullptr, 0));
  }();
  return seed;
}

inline std::mt19937_64& rng() {
  static std::mt19937_64 gen(programSeed());
  return gen;
}

// "KOVRIX_SEED=<n>", for failure messages; KOVRIX_SEED_TRACE() names it in
// every failure of the enclosing scope.
inline std::string seedNote() { return "KOVRIX_SEED=" + std::to_string(programSeed()); }
#define KOVRIX_SEED_TRACE() SCOPED_TRACE(::kovrix::testsupport::seedNote())

inline std::uint64_t bits64() { return rng()(); }

// A uniform integer in [0, n), 0 for n = 0.  Without modulo bias: a draw
// below 2^64 mod n is drawn again, so the accepted range holds a whole
// number of copies of [0, n).
inline std::uint64_t below(std::uint64_t n) {
  if (n == 0) return 0;
  const std::uint64_t threshold = (0 - n) % n;  // 2^64 mod n
  for (;;) {
    const std::uint64_t r = bits64();
    if (r >= threshold) return r % n;
  }
}

// A uniform integer in [lo, hi] (lo <= hi), the whole int64 range included.
inline std::int64_t between(std::int64_t lo, std::int64_t hi) {
  const std::uint64_t span = static_cast<std::uint64_t>(hi) - static_cast<std::uint64_t>(lo) + 1;
  const std::uint64_t offset = span == 0 ? bits64() : below(span);  // span 0: all 2^64 values
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(lo) + offset);
}

class SeedReporter : public ::testing::Environment {
 public:
  void SetUp() override {
    std::printf("random seed %llu (KOVRIX_SEED=<n> replays, KOVRIX_SEED=random draws a new one)\n",
                static_cast<unsigned long long>(programSeed()));
  }
  void TearDown() override {
    if (::testing::UnitTest::GetInstance()->Failed())
      std::printf("FAILED with random seed: rerun with %s\n", seedNote().c_str());
  }
};
inline ::testing::Environment* const kSeedReporter = ::testing::AddGlobalTestEnvironment(new SeedReporter);

}  // namespace kovrix::testsupport

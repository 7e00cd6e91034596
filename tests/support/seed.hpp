// The one seeded generator of a test program.
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

// "KOVRIX_SEED=<n>", for failure messages.
inline std::string seedNote() { return "KOVRIX_SEED=" + std::to_string(programSeed()); }

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

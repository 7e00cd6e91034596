// Lifecycle exports and the process-wide effects of kovrix_init, seen from a host.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "kovrix.h"

namespace {

TEST(Lifecycle, VersionIsStatic) {
  EXPECT_STREQ(kovrix_version(), "1.0.0");
  EXPECT_EQ(kovrix_version(), kovrix_version());
}

TEST(Lifecycle, StatusTexts) {
  EXPECT_STREQ(kovrix_get_error_string(0), "Success");
  EXPECT_STREQ(kovrix_get_error_string(1), "Division by zero");
  EXPECT_STREQ(kovrix_get_error_string(2), "Overflow");
  EXPECT_STREQ(kovrix_get_error_string(3), "Invalid argument");
  EXPECT_STREQ(kovrix_get_error_string(4), "Out of memory");
  for (int code : {5, -1, 1000, -2147483647 - 1, 2147483647})
    EXPECT_STREQ(kovrix_get_error_string(code), "Unknown error") << code;
}

TEST(Lifecycle, InitReturnsOneEveryTime) {
  EXPECT_EQ(kovrix_init(), 1);
  EXPECT_EQ(kovrix_init(), 1);
  kovrix_cleanup();
  EXPECT_EQ(kovrix_init(), 1);
}

// ---- signal handlers (each case in a child process) ---------------------------

void hostHandler(int) { std::_Exit(42); }

TEST(SignalsDeathTest, PlainHostEndsByTheSignalAfterTheMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        signal(SIGINT, SIG_DFL);
        kovrix_init();
        raise(SIGINT);
      },
      testing::KilledBySignal(SIGINT), "SIGINT: Interrupted by Ctrl-C\\.");
}

TEST(SignalsDeathTest, EachHandledSignalPrintsItsMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct Case {
    int sig;
    const char* text;
  } cases[] = {
      {SIGSEGV, "SIGSEGV: Illegal storage access\\. \\(Attempt to read from nil\\?\\)"},
      {SIGABRT, "SIGABRT: Abnormal termination\\."},
      {SIGFPE, "SIGFPE: Arithmetic error\\."},
      {SIGILL, "SIGILL: Illegal operation\\."},
  };
  for (const auto& c : cases) {
    EXPECT_EXIT(
        {
          signal(c.sig, SIG_DFL);
          kovrix_init();
          raise(c.sig);
        },
        testing::KilledBySignal(c.sig), c.text);
  }
}

TEST(SignalsDeathTest, HostHandlerInstalledBeforeInitStillRuns) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        signal(SIGINT, hostHandler);
        kovrix_init();
        raise(SIGINT);
      },
      testing::ExitedWithCode(42), "SIGINT: Interrupted by Ctrl-C\\.");
  EXPECT_EXIT(
      {
        signal(SIGSEGV, hostHandler);
        kovrix_init();
        raise(SIGSEGV);
      },
      testing::ExitedWithCode(42), "SIGSEGV: Illegal storage access");
}

TEST(SignalsDeathTest, SigpipeIsIgnoredAfterInit) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        signal(SIGPIPE, SIG_DFL);
        kovrix_init();
        raise(SIGPIPE);
        std::_Exit(7);
      },
      testing::ExitedWithCode(7), "");
}

}  // namespace

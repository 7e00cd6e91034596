// The message table of the signal handlers, entry by entry.
#include "c_api/signals.hpp"

#include <gtest/gtest.h>
#include <signal.h>

namespace kovrix::capi {
namespace {

TEST(SignalMessages, Table) {
  EXPECT_STREQ(signalMessage(SIGINT), "SIGINT: Interrupted by Ctrl-C.\n");
  EXPECT_STREQ(signalMessage(SIGSEGV), "SIGSEGV: Illegal storage access. (Attempt to read from nil?)\n");
  EXPECT_STREQ(signalMessage(SIGABRT), "SIGABRT: Abnormal termination.\n");
  EXPECT_STREQ(signalMessage(SIGFPE), "SIGFPE: Arithmetic error.\n");
  EXPECT_STREQ(signalMessage(SIGILL), "SIGILL: Illegal operation.\n");
  EXPECT_STREQ(signalMessage(SIGPIPE), "SIGPIPE: Pipe closed.\n");
  for (int other : {0, SIGTERM, SIGUSR1, SIGHUP, -1, 1000})
    EXPECT_STREQ(signalMessage(other), "unknown signal\n") << other;
}

}  // namespace
}  // namespace kovrix::capi

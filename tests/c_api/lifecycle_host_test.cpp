// Lifecycle exports and the process-wide effects of kovrix_init, seen from a host.
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "kovrix.h"

namespace {

TEST(Lifecycle, VersionIsStatic) {
  EXPECT_STREQ(kovrix_version(), "1.0.0");
  EXPECT_EQ(kovrix_version(), kovrix_version());
}

// The header's version macros describe the library that answers at run time.
TEST(Lifecycle, VersionMacrosMatchTheLibrary) {
  EXPECT_STREQ(kovrix_version(), KOVRIX_VERSION_STRING);
  EXPECT_EQ(std::to_string(KOVRIX_VERSION_MAJOR) + "." + std::to_string(KOVRIX_VERSION_MINOR) + "." +
                std::to_string(KOVRIX_VERSION_PATCH),
            kovrix_version());
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

// A signal the host ignores stays ignored: in the host itself (no message,
// no end), and in a program it starts with exec afterwards, which keeps an
// ignore but would reset a handler.  The shell kills itself with the signal
// and reaches its exit only while the signal is ignored; SIGPIPE, which
// kovrix_init ignores, is inherited the same way.
TEST(SignalsDeathTest, AnIgnoredSignalStaysIgnoredThroughExec) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (int sig : {SIGINT, SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGPIPE}) {
    EXPECT_EXIT(
        {
          if (sig != SIGPIPE) signal(sig, SIG_IGN);
          kovrix_init();
          raise(sig);
          const std::string script = "kill -" + std::to_string(sig) + " $$; exit 7";
          execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
          std::_Exit(99);
        },
        testing::ExitedWithCode(7), "^$")
        << "signal " << sig;
  }
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

// ---- a host handler that returns: the interrupted call behaves as the host asked

std::atomic<bool> gHostHandlerRan{false};
void returningHostHandler(int) { gHostHandlerRan = true; }

// True once thread `tid` of this process is blocked in read(): its
// /proc syscall file names system call 0 (read on x86-64) while it waits; where
// that file cannot be read, its state being S (asleep) has to do.
std::string procText(pid_t tid, const char* file) {
  std::string path = "/proc/self/task/" + std::to_string(tid) + "/" + file;
  FILE* f = std::fopen(path.c_str(), "r");
  if (f == nullptr) return {};
  char line[512] = {};
  std::size_t n = std::fread(line, 1, sizeof line - 1, f);
  std::fclose(f);
  return std::string(line, n);
}
bool blockedInRead(pid_t tid) {
  std::string sys = procText(tid, "syscall");
  if (!sys.empty()) return sys.rfind("0 ", 0) == 0;
  std::string stat = procText(tid, "stat");
  std::size_t close = stat.rfind(')');
  return close != std::string::npos && stat.compare(close, 3, ") S") == 0;
}

// Blocks the calling thread in read() on a pipe; another thread sends it
// SIGINT and, once the host handler has run, writes one byte.  Exit status 10:
// the read resumed and got the byte; 11: it failed with EINTR.
[[noreturn]] void readAcrossSigint() {
  int fds[2];
  if (pipe(fds) != 0) std::_Exit(20);
  kovrix_init();
  pid_t reader = static_cast<pid_t>(syscall(SYS_gettid));
  pthread_t readerThread = pthread_self();
  std::thread sender([&] {
    while (!blockedInRead(reader)) std::this_thread::yield();
    pthread_kill(readerThread, SIGINT);
    while (!gHostHandlerRan) std::this_thread::yield();
    [[maybe_unused]] auto w = write(fds[1], "x", 1);
  });
  char c;
  ssize_t r = read(fds[0], &c, 1);
  int err = errno;
  sender.join();
  std::_Exit(r == 1 ? 10 : (err == EINTR ? 11 : 12));
}

TEST(SignalsDeathTest, HostHandlerWithRestartResumesTheInterruptedCall) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        signal(SIGINT, returningHostHandler);  // signal() asks for SA_RESTART
        readAcrossSigint();
      },
      testing::ExitedWithCode(10), "SIGINT: Interrupted by Ctrl-C\\.");
}

TEST(SignalsDeathTest, HostHandlerWithoutRestartSeesEintr) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        struct sigaction action {};
        action.sa_handler = returningHostHandler;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        sigaction(SIGINT, &action, nullptr);
        readAcrossSigint();
      },
      testing::ExitedWithCode(11), "SIGINT: Interrupted by Ctrl-C\\.");
}

TEST(SignalsDeathTest, HostHandlerThatReturnsFindsErrnoUnchanged) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        signal(SIGINT, returningHostHandler);
        kovrix_init();
        close(STDERR_FILENO);  // the message cannot be written: write fails
        errno = 4321;
        raise(SIGINT);
        std::_Exit(gHostHandlerRan && errno == 4321 ? 10 : 11);
      },
      testing::ExitedWithCode(10), "");
}

// The initialisation runs once: a second kovrix_init must not take the
// library's own handler for the host's (the signal would then come back to it
// for ever instead of reaching the host).
TEST(SignalsDeathTest, SecondInitKeepsTheHostsDisposition) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        signal(SIGINT, hostHandler);
        kovrix_init();
        kovrix_init();
        raise(SIGINT);
      },
      testing::ExitedWithCode(42), "^SIGINT: Interrupted by Ctrl-C\\.\n$");
}

}  // namespace

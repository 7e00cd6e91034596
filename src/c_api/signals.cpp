#include "c_api/signals.hpp"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kovrix::capi {

namespace {

constexpr int kHandled[] = {SIGINT, SIGSEGV, SIGABRT, SIGFPE, SIGILL};

// The dispositions the host had before kovrix_init, indexed by signal number.
// Written once by installSignalHandlers, read by the handler.
struct sigaction gPrevious[NSIG];

void onFatalSignal(int sig) {
  // When the signal goes back to a host handler that returns, the interrupted
  // code carries on: it must find errno as it left it (write may fail, with
  // stderr closed, and set it).
  const int savedErrno = errno;
  const char* text = signalMessage(sig);
  [[maybe_unused]] auto n = ::write(STDERR_FILENO, text, std::strlen(text));
  // Hand the signal back to whatever the host had installed (the default
  // action for a host without a handler) and raise it again: the process then
  // ends, or carries on, exactly as it would have without this library.
  ::sigaction(sig, &gPrevious[sig], nullptr);
  ::raise(sig);
  errno = savedErrno;
}

}  // namespace

const char* signalMessage(int signal) noexcept {
  switch (signal) {
    case SIGINT: return "SIGINT: Interrupted by Ctrl-C.\n";
    case SIGSEGV: return "SIGSEGV: Illegal storage access. (Attempt to read from nil?)\n";
    case SIGABRT: return "SIGABRT: Abnormal termination.\n";
    case SIGFPE: return "SIGFPE: Arithmetic error.\n";
    case SIGILL: return "SIGILL: Illegal operation.\n";
    case SIGPIPE: return "SIGPIPE: Pipe closed.\n";
    default: return "unknown signal\n";
  }
}

void installSignalHandlers() noexcept {
  for (int sig : kHandled) {
    ::sigaction(sig, nullptr, &gPrevious[sig]);
    // A host that ignores the signal keeps ignoring it: the message would
    // lead nowhere, and a handler in its place would not survive exec (which
    // resets handlers to the default but keeps ignores), so every program the
    // host starts afterwards would die of the signal it was meant to ignore.
    if (!(gPrevious[sig].sa_flags & SA_SIGINFO) && gPrevious[sig].sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = onFatalSignal;
    sigemptyset(&action.sa_mask);
    // Whether a system call interrupted by the signal resumes (SA_RESTART) or
    // fails with EINTR is decided by the first handler to run, this one.  When
    // the signal goes back to a host handler that returns, the call must
    // behave as the host asked; otherwise resume, as signal() would have.
    const struct sigaction& prev = gPrevious[sig];
    bool hostHandler = (prev.sa_flags & SA_SIGINFO) != 0 ||
                       (prev.sa_handler != SIG_DFL && prev.sa_handler != SIG_IGN);
    action.sa_flags = hostHandler ? (prev.sa_flags & SA_RESTART) : SA_RESTART;
    ::sigaction(sig, &action, nullptr);
  }

  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGPIPE, &ignore, &gPrevious[SIGPIPE]);
}

}  // namespace kovrix::capi

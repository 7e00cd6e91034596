// Process-wide signal handlers installed by the first kovrix_init.
#pragma once

namespace kovrix::capi {

// Installs the handlers for SIGINT, SIGSEGV, SIGABRT, SIGFPE and SIGILL (each
// prints its message to stderr and then lets the signal take the course it
// would have taken before kovrix_init), except for a signal the host ignores,
// which stays ignored; and ignores SIGPIPE (inherited through exec).
void installSignalHandlers() noexcept;

// The message written for a signal number ("unknown signal\n" for others).
const char* signalMessage(int signal) noexcept;

}  // namespace kovrix::capi

#include "c_api/pending_error.hpp"

#include <unistd.h>

#include <cstdlib>

namespace kovrix::capi {

namespace detail {
constinit thread_local ThreadPending tPending __attribute__((tls_model("initial-exec")));
}  // namespace detail

using detail::tPending;

void setPending(ErrorKind kind, const char* message) noexcept {
  tPending.record = ErrorRecord{kind, message};
  tPending.set = true;
}

void clearPending() noexcept { tPending.set = false; }

void outOfMemory() noexcept {
  static const char text[] = "out of memory\n";
  // write(2) rather than stdio: nothing here may allocate.
  [[maybe_unused]] auto n = ::write(STDERR_FILENO, text, sizeof text - 1);
  std::_Exit(1);
}

namespace detail {
void recordCurrentException() noexcept {
  try {
    throw;
  } catch (const Error& e) {
    setPending(e.kind(), e.what());
  } catch (const std::bad_alloc&) {
    outOfMemory();
  } catch (const std::length_error&) {
    // A container asked for more than can ever be allocated.
    outOfMemory();
  } catch (...) {
    setPending(ErrorKind::assertionDefect, "unexpected internal failure");
  }
}
}  // namespace detail

}  // namespace kovrix::capi

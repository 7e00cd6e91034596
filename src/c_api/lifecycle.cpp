// Lifecycle exports: kovrix_init, kovrix_cleanup, kovrix_version,
// kovrix_get_error_string.
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "c_api/pending_error.hpp"
#include "c_api/signals.hpp"
#include "float/float_math.hpp"
#include "float/reduction.hpp"
#include "kovrix.h"

namespace kovrix::capi {
namespace {

std::once_flag gInitOnce;

// The one-time global initialisation: signal handlers first, then the
// constant caches of the floating-point layer.  An error still pending on the
// initialising thread when it finishes (left, say, by an export called before
// kovrix_init) is reported and ends the process: a host that ignored a
// failure before initialising is not allowed to run on.
void globalInit() noexcept {
  installSignalHandlers();
  // piCache and twoPiCache first: the other four are made from piCache.
  fillReductionCaches();
  fillFloatMathCaches();
  if (errorPending()) {
    ErrorRecord e = pendingError();
    std::fprintf(stderr, "kovrix: error pending at initialisation: %s [%s]\n", e.message,
                 kindName(e.kind));
    std::fflush(stderr);
    std::_Exit(1);
  }
}

}  // namespace
}  // namespace kovrix::capi

extern "C" {

int kovrix_init(void) {
  // A once-flag rather than a plain byte: two racing first calls cannot run
  // the initialisation twice.
  std::call_once(kovrix::capi::gInitOnce, kovrix::capi::globalInit);
  return 1;
}

void kovrix_cleanup(void) {
  // Nothing to release: the constant caches live as long as the process.
}

const char* kovrix_version(void) { return KOVRIX_VERSION_STRING; }

const char* kovrix_get_error_string(int code) {
  switch (static_cast<unsigned>(code)) {
    case 0: return "Success";
    case 1: return "Division by zero";
    case 2: return "Overflow";
    case 3: return "Invalid argument";
    case 4: return "Out of memory";
    default: return "Unknown error";
  }
}

}  // extern "C"

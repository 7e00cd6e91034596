// The calling thread's pending error and the shared export wrappers.
//
// Internal operations throw (errors.hpp); only the wrappers below catch.  A
// caught failure becomes the thread's pending error, and the export returns
// its failure value.  While an error is pending, every export that runs a
// failing step returns its failure value without computing; the few exports
// that catch a kind clear a pending error of that kind, whether their own work
// raised it or an earlier call on the same thread left it.
#pragma once

#include <cstdint>
#include <new>
#include <stdexcept>
#include <utility>

#include "errors.hpp"

namespace kovrix::capi {

// ---- the pending error of the calling thread ---------------------------------

struct ErrorRecord {
  ErrorKind kind = ErrorKind::valueError;
  const char* message = "";  // static text
};

namespace detail {
// One record per thread.  A record displaced by a newer failure is not kept:
// no export reports the current record, and catching leaves nothing pending,
// so only the presence and kind of the newest failure are observable.
struct ThreadPending {
  bool set = false;
  ErrorRecord record{};
};
// Every export with a failing step tests this flag first, so it is read with
// the initial-exec TLS model: one load from the thread pointer instead of a
// call to the dynamic TLS resolver (the block is a few bytes, well within the
// static TLS reserve that the loader keeps for libraries opened at run time).
extern constinit thread_local ThreadPending tPending __attribute__((tls_model("initial-exec")));
}  // namespace detail

inline bool errorPending() noexcept { return detail::tPending.set; }
// The current record; meaningful only while errorPending().
inline ErrorRecord pendingError() noexcept { return detail::tPending.record; }
// Records a new failure as pending.  A record already pending is displaced.
void setPending(ErrorKind kind, const char* message) noexcept;
// Clears the pending error (after an export caught it).
void clearPending() noexcept;

// Exhausted memory is not a pending error: report it and end the process.
[[noreturn]] void outOfMemory() noexcept;

// ---- which kinds an export catches --------------------------------------------

enum class Catches : std::uint8_t {
  nothing,    // leaves every error pending
  valueError, // the catchable family
  divByZero,  // DivByZeroDefect only
  everything, // every catchable error and every defect
};

constexpr bool caughtBy(Catches c, ErrorKind kind) noexcept {
  switch (c) {
    case Catches::nothing: return false;
    case Catches::valueError: return !isDefect(kind);
    case Catches::divByZero: return kind == ErrorKind::divByZeroDefect;
    case Catches::everything: return true;
  }
  return false;
}

namespace detail {
// Turns the exception in flight into the pending error (or ends the process
// for exhausted memory).  Called only from a catch block.
void recordCurrentException() noexcept;
}  // namespace detail

// ---- the export wrappers ------------------------------------------------------
//
// Each export performs its own boundary checks (NULL handles, rejected
// arguments: failure value, nothing raised) and then runs its work through one
// of these.

// An export with a failing step: returns at once when an error is pending on
// entry; otherwise runs `body`, and a failure inside becomes the pending error.
// Then a pending error of a kind named by C is cleared and answered with
// `caughtFailure`; any other is left pending and answered with `failure`.
template <Catches C, class R, class Body>
R guarded(R failure, R caughtFailure, Body&& body) noexcept {
  if (!errorPending()) [[likely]] {
    try {
      return std::forward<Body>(body)();
    } catch (...) {
      detail::recordCurrentException();
    }
  }
  if constexpr (C != Catches::nothing) {
    if (errorPending() && caughtBy(C, pendingError().kind)) {
      clearPending();
      return caughtFailure;
    }
  }
  return failure;
}

// The same with one failure value for both outcomes.
template <Catches C = Catches::nothing, class R, class Body>
R guarded(R failure, Body&& body) noexcept {
  return guarded<C>(failure, failure, std::forward<Body>(body));
}

// An export that computes whether or not an error is pending (one without a
// failing step of its own); a failure inside still becomes pending.
template <class R, class Body>
R unguarded(R failure, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    detail::recordCurrentException();
  }
  return failure;
}

}  // namespace kovrix::capi

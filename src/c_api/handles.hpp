// Handle objects: how BigInt, BigFloat and Rational values cross the C
// interface.
//
// A handle is a library-owned heap object holding a reference count ahead of
// one value.  Every handle-returning export creates a new one with a single
// owner, the caller; the library never keeps or shares a handle, and never
// changes the value behind one it is given.  Because handles are immutable,
// exports read their arguments through const references: this is
// indistinguishable from copying the value out, and the same handle may be
// passed as several arguments of one call.
#pragma once

#include <cstdint>
#include <utility>

namespace kovrix::capi {

template <class Value>
struct HandleObject {
  // A constructor rather than aggregate initialisation: `new H{...}` would
  // first zero the whole object, value and inline limbs included.
  template <class V>
  explicit HandleObject(V&& v) : refs(1), value(std::forward<V>(v)) {}

  std::int64_t refs;  // plain count: a handle has exactly one owner
  Value value;
};

// Wraps a value into a new handle of type H (a HandleObject<...> subtype that
// inherits its constructor).
template <class H, class Value>
H* pinAs(Value&& value) {
  return new H(std::forward<Value>(value));
}

// Releases the caller's reference; the value is freed with the last one.
template <class H>
void release(H* handle) noexcept {
  if (handle == nullptr) return;
  if (--handle->refs == 0) delete handle;
}

}  // namespace kovrix::capi

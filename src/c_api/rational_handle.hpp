// The Rational handle: what a kovrix_rational* points at, `pinRational`,
// which wraps a value into a new one, and `ratOf`, which reads one.  The
// conversion exports that take or return Rationals use the same three.
#pragma once

#include "c_api/handles.hpp"
#include "rational/rational_type.hpp"

// The opaque type of the public header, in the global namespace.
struct kovrix_rational : kovrix::capi::HandleObject<kovrix::Rational> {
  using HandleObject::HandleObject;
};

namespace kovrix::capi {

// A new handle owning `value` (moved in).
inline kovrix_rational* pinRational(Rational value) { return pinAs<kovrix_rational>(std::move(value)); }

// The value behind a handle, read in place (handles are immutable, so this
// is indistinguishable from a copy); NULL reads as 0/1.
inline const Rational& ratOf(const kovrix_rational* h) {
  static const Rational zero = integerRational(BigInt{});
  return h != nullptr ? h->value : zero;
}

}  // namespace kovrix::capi

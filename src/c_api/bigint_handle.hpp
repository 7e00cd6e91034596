// The BigInt handle: what a kovrix_bigint* points at, and `pin`, which wraps
// a value into a new one.  Other families' exports that return or read
// BigInts (Rational parts, conversions) use the same two.
#pragma once

#include "arithmetic/big_int.hpp"
#include "c_api/handles.hpp"

// The opaque type of the public header, in the global namespace.
struct kovrix_bigint : kovrix::capi::HandleObject<kovrix::BigInt> {
  using HandleObject::HandleObject;
};

namespace kovrix::capi {

// A new handle owning `value` (moved in; no limb is shared).
inline kovrix_bigint* pin(BigInt value) { return pinAs<kovrix_bigint>(std::move(value)); }

}  // namespace kovrix::capi

// The BigFloat handle: what a kovrix_bigfloat* points at, `pinFloat`, which
// wraps a value into a new one, and `bfOf`, which reads one (NULL reads as
// the canonical zero).
#pragma once

#include "c_api/handles.hpp"
#include "float/big_float.hpp"

// The opaque type of the public header, in the global namespace.
struct kovrix_bigfloat : kovrix::capi::HandleObject<kovrix::BigFloat> {
  using HandleObject::HandleObject;
};

namespace kovrix::capi {

// A new handle owning `value` (moved in).
inline kovrix_bigfloat* pinFloat(BigFloat value) { return pinAs<kovrix_bigfloat>(std::move(value)); }

// The value behind a handle, read in place (handles are immutable); a NULL
// handle reads as the canonical zero.
inline const BigFloat& bfOf(const kovrix_bigfloat* h) noexcept {
  static const BigFloat zero{};
  return h == nullptr ? zero : h->value;
}

}  // namespace kovrix::capi

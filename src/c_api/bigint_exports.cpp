// The BigInt exports: boundary checks, then the internal operation inside the
// shared wrappers of pending_error.hpp.  Handles are immutable, so arguments
// are read in place through const references (indistinguishable from copying
// them out) and the same handle may be passed twice.
#include <climits>
#include <cstring>
#include <string>
#include <string_view>

#include "arithmetic/big_int.hpp"
#include "arithmetic/float_conv.hpp"
#include "arithmetic/formatting.hpp"
#include "arithmetic/signed_big.hpp"
#include "c_api/bigint_handle.hpp"
#include "c_api/pending_error.hpp"
#include "kovrix.h"
#include "roots/isqrt.hpp"

using kovrix::BigInt;
using kovrix::capi::Catches;
using kovrix::capi::guarded;
using kovrix::capi::pin;
using kovrix::capi::unguarded;

namespace {
const BigInt& valueOf(const kovrix_bigint* h) noexcept { return h->value; }
}  // namespace

extern "C" {

kovrix_bigint* kovrix_bigint_from_i64(int64_t v) {
  return guarded(static_cast<kovrix_bigint*>(nullptr), [&] { return pin(kovrix::initBigInt(v)); });
}

kovrix_bigint* kovrix_bigint_from_decimal(const char* text) {
  if (text == nullptr) return nullptr;
  return guarded<Catches::valueError>(static_cast<kovrix_bigint*>(nullptr), [&] {
    return pin(kovrix::initBigIntFromDecimal(std::string_view(text, std::strlen(text))));
  });
}

int kovrix_bigint_to_decimal(const kovrix_bigint* x, char* buf, int64_t size) {
  if (size == 0 || buf == nullptr || x == nullptr) return -1;
  return guarded(0, [&]() -> int {
    std::string text = kovrix::toDecimal(valueOf(x));
    if (size < 0) kovrix::raiseRange();
    // size >= 1 here, so the comparison is between non-negative values.
    if (static_cast<std::uint64_t>(size) < text.size() + 1) return -1;
    std::memcpy(buf, text.data(), text.size());
    buf[text.size()] = '\0';
    // A length the int result cannot carry: the text is written, the error
    // left pending.
    if (text.size() > static_cast<std::size_t>(INT_MAX)) kovrix::raiseRange();
    return static_cast<int>(text.size());
  });
}

kovrix_bigint* kovrix_bigint_add(const kovrix_bigint* a, const kovrix_bigint* b) {
  if (a == nullptr || b == nullptr) return nullptr;
  return guarded(static_cast<kovrix_bigint*>(nullptr), [&] { return pin(valueOf(a) + valueOf(b)); });
}

kovrix_bigint* kovrix_bigint_sub(const kovrix_bigint* a, const kovrix_bigint* b) {
  if (a == nullptr || b == nullptr) return nullptr;
  return guarded(static_cast<kovrix_bigint*>(nullptr), [&] { return pin(valueOf(a) - valueOf(b)); });
}

kovrix_bigint* kovrix_bigint_mul(const kovrix_bigint* a, const kovrix_bigint* b) {
  if (a == nullptr || b == nullptr) return nullptr;
  return guarded(static_cast<kovrix_bigint*>(nullptr),
                 [&] { return pin(kovrix::mul(valueOf(a), valueOf(b), kovrix::MulStrategy::Auto)); });
}

kovrix_bigint* kovrix_bigint_div(const kovrix_bigint* a, const kovrix_bigint* b) {
  if (a == nullptr || b == nullptr) return nullptr;
  // A zero divisor is answered here, so it never raises.
  if (valueOf(b).magnitude.isZero()) return nullptr;
  return guarded(static_cast<kovrix_bigint*>(nullptr),
                 [&] { return pin(kovrix::divMod(valueOf(a), valueOf(b)).quotient); });
}

kovrix_bigint* kovrix_bigint_mod(const kovrix_bigint* a, const kovrix_bigint* b) {
  if (a == nullptr || b == nullptr) return nullptr;
  if (valueOf(b).magnitude.isZero()) return nullptr;
  return guarded(static_cast<kovrix_bigint*>(nullptr),
                 [&] { return pin(kovrix::divMod(valueOf(a), valueOf(b)).remainder); });
}

kovrix_bigint* kovrix_bigint_neg(const kovrix_bigint* a) {
  if (a == nullptr) return nullptr;
  return guarded(static_cast<kovrix_bigint*>(nullptr), [&] { return pin(-valueOf(a)); });
}

kovrix_bigint* kovrix_bigint_abs(const kovrix_bigint* a) {
  if (a == nullptr) return nullptr;
  return guarded(static_cast<kovrix_bigint*>(nullptr), [&] { return pin(kovrix::abs(valueOf(a))); });
}

int kovrix_bigint_cmp(const kovrix_bigint* a, const kovrix_bigint* b) {
  if (a == nullptr || b == nullptr) return 0;
  return guarded(0, [&] { return static_cast<int>(kovrix::cmp(valueOf(a), valueOf(b))); });
}

int64_t kovrix_bigint_to_i64(const kovrix_bigint* x, int* ok) {
  if (x == nullptr) {
    if (ok) *ok = 0;
    return 0;
  }
  // Saturates instead of raising; *ok is written only when the value is read.
  return guarded(int64_t{0}, [&] {
    const BigInt& v = valueOf(x);
    if (ok) *ok = kovrix::fitsInt64(v) ? 1 : 0;
    return kovrix::clampToInt64(v);
  });
}

uint64_t kovrix_bigint_to_u64(const kovrix_bigint* x, int* ok) {
  if (x == nullptr) {
    if (ok) *ok = 0;
    return 0;
  }
  // Saturates instead of raising; *ok is written only when the value is read.
  return guarded(uint64_t{0}, [&] {
    const BigInt& v = valueOf(x);
    if (ok) *ok = kovrix::fitsUInt64(v) ? 1 : 0;
    return kovrix::clampToUInt64(v);
  });
}

kovrix_bigint* kovrix_bigint_shl(const kovrix_bigint* x, int n) {
  if (x == nullptr || n < 0) return nullptr;
  return guarded(static_cast<kovrix_bigint*>(nullptr), [&] { return pin(kovrix::shl(valueOf(x), n)); });
}

kovrix_bigint* kovrix_bigint_shr(const kovrix_bigint* x, int n) {
  if (x == nullptr || n < 0) return nullptr;
  return guarded(static_cast<kovrix_bigint*>(nullptr), [&] { return pin(kovrix::shr(valueOf(x), n)); });
}

void kovrix_bigint_destroy(kovrix_bigint* x) { kovrix::capi::release(x); }

// No failing step: computes whether or not an error is pending.  Outside the
// contract (d = 0, q or r NULL) nothing is written and nothing traps.
void kovrix_udiv128(uint64_t hi, uint64_t lo, uint64_t d, uint64_t* q, uint64_t* r) {
  if (d == 0 || q == nullptr || r == nullptr) return;
  unguarded(0, [&] {
    // A quotient wider than 64 bits gives its low 64 bits, and the exact remainder.
    const auto [qq, rr] = kovrix::udiv128Wide(hi, lo, d);
    *q = qq;
    *r = rr;
    return 0;
  });
}

int kovrix_clz64(uint64_t x) {
  return unguarded(0, [&] { return kovrix::clz64(x); });
}

int64_t kovrix_isqrt_i64(int64_t n) {
  if (n < 0) return 0;
  return guarded(int64_t{0}, [&] { return kovrix::clampToInt64(kovrix::isqrt(kovrix::initBigInt(n))); });
}

}  // extern "C"

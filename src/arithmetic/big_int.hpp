// BigUInt and BigInt: exact integers on 64-bit limbs.
//
// A BigUInt is a little-endian sequence of limbs in normalised form: the top
// limb is never zero and zero is the empty sequence.  Every operation returns
// normalised values and relies on normalised inputs (comparison decides by
// length first).  A BigInt is a sign flag and a BigUInt magnitude, never a
// negative zero.
//
// Storage: a BigUInt owns its limbs.  Up to InlineLimbs limbs live inside the
// object, so one- and two-limb integers and the 256-bit working values of the
// floating-point layer (four-limb mantissas, their eight-limb products and
// shifted dividends of up to ten limbs) never touch the heap.  Longer values
// live in one heap block; copying copies the limbs (into inline storage again
// when they fit).
//
// The limb loops themselves are span kernels (addition_big, subtraction_big,
// multiplication_big, division_big, bitwise_big): they write into a caller's
// span, return their carry or borrow, and never allocate or throw.  The owning
// operations size the output, call the kernel and trim.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <x86intrin.h>
#include <initializer_list>
#include <new>
#include <span>
#include <utility>

#include "arithmetic/primitives.hpp"
#include "errors.hpp"

namespace kovrix {

// Largest limb count a value may have: lengths are signed 64-bit counts whose
// byte size must also fit; anything longer is reported as exhausted memory
// (it could never be allocated).
inline constexpr std::int64_t MaxLimbs = INT64_MAX / 8;

// Converts an overflow-tested signed length into an allocation size.
inline std::size_t limbCount(std::int64_t n) {
  if (n < 0) [[unlikely]] raiseOverflow();
  if (n > MaxLimbs) [[unlikely]] throw std::bad_alloc();
  return static_cast<std::size_t>(n);
}

// Number of limbs of the top-trimmed prefix of x.
inline std::size_t normalizedLength(std::span<const Limb> x) noexcept {
  std::size_t n = x.size();
  while (n > 0 && x[n - 1] == ZeroLimb) --n;
  return n;
}

class BigUInt {
 public:
  static constexpr std::size_t InlineLimbs = 10;

  BigUInt() noexcept : size_(0), capacity_(InlineLimbs), heap_(nullptr) {}
  BigUInt(const BigUInt& other) : BigUInt() { assignLimbs(other.limbs()); }
  BigUInt(BigUInt&& other) noexcept : size_(other.size_), capacity_(other.capacity_) {
    // The whole inline area is copied: a fixed-size copy is a few vector
    // moves, cheaper than a call sized by the limb count.  For a heap value
    // this copies the pointer along with the rest.
    std::memcpy(inline_, other.inline_, sizeof inline_);
    other.capacity_ = InlineLimbs;
    other.size_ = 0;
  }
  BigUInt& operator=(const BigUInt& other) {
    if (this != &other) assignLimbs(other.limbs());
    return *this;
  }
  BigUInt& operator=(BigUInt&& other) noexcept {
    if (this == &other) return *this;
    freeHeap();
    size_ = other.size_;
    capacity_ = other.capacity_;
    std::memcpy(inline_, other.inline_, sizeof inline_);
    other.capacity_ = InlineLimbs;
    other.size_ = 0;
    return *this;
  }
  ~BigUInt() { freeHeap(); }

  // A value of `count` limbs, all zero, not yet normalised: the output buffer
  // of an owning operation, which fills it and calls trim().
  static BigUInt zeros(std::size_t count) {
    BigUInt r = uninitialized(count);
    if (count) std::memset(r.data(), 0, count * sizeof(Limb));
    return r;
  }
  // As zeros() without clearing the limbs.
  static BigUInt uninitialized(std::size_t count) {
    BigUInt r;
    r.reserveExact(count);
    r.size_ = count;
    return r;
  }

  std::size_t size() const noexcept { return size_; }
  std::int64_t length() const noexcept { return static_cast<std::int64_t>(size_); }
  bool isZero() const noexcept { return size_ == 0; }
  // True while the limbs live inside the object (no heap block).
  bool isInline() const noexcept { return !onHeap(); }

  std::span<const Limb> limbs() const noexcept { return {data(), size_}; }
  std::span<Limb> mutableLimbs() noexcept { return {data(), size_}; }
  const Limb* data() const noexcept { return onHeap() ? heap_ : inline_; }
  Limb* data() noexcept { return onHeap() ? heap_ : inline_; }
  Limb operator[](std::size_t i) const noexcept {
    assert(i < size_);
    return data()[i];
  }
  Limb topLimb() const noexcept {
    assert(size_ > 0);
    return data()[size_ - 1];
  }

  // Removes zero limbs at the top (normalisation).
  void trim() noexcept { size_ = normalizedLength(limbs()); }
  // Shortens the value to its first `count` limbs (count <= size()).
  void truncate(std::size_t count) noexcept {
    assert(count <= size_);
    size_ = count;
  }

 private:
  bool onHeap() const noexcept { return capacity_ > InlineLimbs; }
  void freeHeap() noexcept {
    if (onHeap()) ::operator delete(heap_);
    capacity_ = InlineLimbs;
  }
  // Makes room for exactly `count` limbs; the contents are unspecified.
  void reserveExact(std::size_t count) {
    if (count <= capacity_) return;
    if (count > static_cast<std::size_t>(MaxLimbs)) throw std::bad_alloc();
    Limb* block = static_cast<Limb*>(::operator new(count * sizeof(Limb)));
    freeHeap();
    heap_ = block;
    capacity_ = count;
  }
  void assignLimbs(std::span<const Limb> src) {
    if (src.size() > capacity_ || (onHeap() && src.size() <= InlineLimbs)) {
      // Fresh storage of the exact size: inline when it fits.
      freeHeap();
      reserveExact(src.size());
    }
    if (!src.empty()) std::memmove(data(), src.data(), src.size() * sizeof(Limb));
    size_ = src.size();
  }

  std::size_t size_;
  std::size_t capacity_;  // InlineLimbs while inline, else the heap block's limb count
  union {
    Limb inline_[InlineLimbs];
    Limb* heap_;
  };
};

struct BigInt {
  bool negative = false;
  BigUInt magnitude;
};

// A scratch area for one operation: `Inline` limbs on the stack, a heap block
// beyond that.  Kernels receive it as a span; it is allocated once per
// operation, never per recursion level.
template <std::size_t Inline>
class ScratchLimbs {
 public:
  explicit ScratchLimbs(std::size_t count) : size_(count) {
    if (count > Inline) {
      if (count > static_cast<std::size_t>(MaxLimbs)) throw std::bad_alloc();
      heap_ = static_cast<Limb*>(::operator new(count * sizeof(Limb)));
    }
  }
  ScratchLimbs(const ScratchLimbs&) = delete;
  ScratchLimbs& operator=(const ScratchLimbs&) = delete;
  ~ScratchLimbs() {
    if (heap_) ::operator delete(heap_);
  }
  std::span<Limb> span() noexcept { return {heap_ ? heap_ : local_, size_}; }

 private:
  std::size_t size_;
  Limb* heap_ = nullptr;
  Limb local_[Inline];
};

// Number of significant bits of x (0 for zero): 64 per limb less the top
// limb's leading zeros.
inline std::int64_t bitLength(const BigUInt& x) noexcept {
  return x.isZero() ? 0 : 64 * x.length() - clz64(x.topLimb());
}

// ---- construction and narrowing conversions ----------------------------------

// 0 gives the empty sequence, otherwise one limb.
BigUInt initBigUInt(std::uint64_t v);
// A copy of the limbs with zero limbs at the top removed.
BigUInt initBigUInt(std::span<const Limb> limbs);
BigUInt initBigUInt(std::initializer_list<Limb> limbs);

// v as sign and magnitude; the magnitude of -2^63 is the limb 2^63.
BigInt initBigInt(std::int64_t v);
// Copies the magnitude; `negative` is kept only for a non-zero magnitude.
BigInt initBigInt(const BigUInt& magnitude, bool negative);
inline BigInt initBigInt(BigUInt&& magnitude, bool negative) {
  bool neg = negative && !magnitude.isZero();
  return BigInt{neg, std::move(magnitude)};
}

// OverflowDefect "BigUInt exceeds int64 range" from 2^63 up.
std::int64_t toInt64(const BigUInt& x);
// OverflowDefect "BigInt exceeds int64 range" outside [-2^63, 2^63 - 1].
std::int64_t toInt64(const BigInt& x);
// OverflowDefect "BigUInt exceeds uint64 range" beyond one limb.
std::uint64_t toUInt64(const BigUInt& x);
// Negative: OverflowDefect "negative BigInt cannot convert to uint64" first;
// then as for the magnitude.
std::uint64_t toUInt64(const BigInt& x);

// x saturated to [-2^63, 2^63 - 1]; never raises.
std::int64_t clampToInt64(const BigInt& x) noexcept;
// True when x lies in [-2^63, 2^63 - 1].
bool fitsInt64(const BigInt& x) noexcept;
// x saturated to [0, 2^64 - 1]: 0 for a negative x, 2^64 - 1 beyond one limb;
// never raises.
std::uint64_t clampToUInt64(const BigInt& x) noexcept;
// True when x lies in [0, 2^64 - 1].
bool fitsUInt64(const BigInt& x) noexcept;

}  // namespace kovrix

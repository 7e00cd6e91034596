// Typed failures of the library's internal operations.
//
// Every internal failure is a C++ exception from this small hierarchy.  The
// hierarchy mirrors the error kinds a host can observe indirectly (which
// exports clear a pending error depends on its kind):
//
//   Error
//   ├── CatchableError
//   │   └── ValueError               invalid text or argument, domain errors
//   └── Defect
//       ├── ArithmeticDefect
//       │   ├── OverflowDefect       integer result out of range
//       │   └── DivByZeroDefect      division by zero
//       ├── UnderflowDefect          unsigned subtraction a - b with a < b
//       ├── AssertionDefect          broken internal invariant
//       ├── RangeDefect              narrowing conversion out of range
//       └── IndexDefect              index outside a sequence
//
// Only c_api catches them and turns them into the calling thread's pending
// error.  The raise helpers are out of line and [[noreturn]], so a hot path
// pays one call instruction on its cold branch and nothing else.
#pragma once

#include <cstdint>
#include <exception>

namespace kovrix {

enum class ErrorKind : std::uint8_t {
  valueError,
  overflowDefect,
  divByZeroDefect,
  underflowDefect,
  assertionDefect,
  rangeDefect,
  indexDefect,
};

// Name of a kind as used in fatal reports ("ValueError", "OverflowDefect" ...).
const char* kindName(ErrorKind kind) noexcept;

// True for the kinds of the defect family (everything but ValueError).
constexpr bool isDefect(ErrorKind kind) noexcept { return kind != ErrorKind::valueError; }

// Base of every internal failure.  The message is always a string literal with
// static storage: failures carry fixed texts, never formatted ones.
class Error : public std::exception {
 public:
  Error(ErrorKind kind, const char* message) noexcept : kind_(kind), message_(message) {}
  ErrorKind kind() const noexcept { return kind_; }
  const char* what() const noexcept override { return message_; }

 private:
  ErrorKind kind_;
  const char* message_;
};

class CatchableError : public Error {
 public:
  using Error::Error;
};
class ValueError : public CatchableError {
 public:
  explicit ValueError(const char* message) noexcept : CatchableError(ErrorKind::valueError, message) {}
};

class Defect : public Error {
 public:
  using Error::Error;
};
class ArithmeticDefect : public Defect {
 public:
  using Defect::Defect;
};
class OverflowDefect : public ArithmeticDefect {
 public:
  explicit OverflowDefect(const char* message) noexcept : ArithmeticDefect(ErrorKind::overflowDefect, message) {}
};
class DivByZeroDefect : public ArithmeticDefect {
 public:
  explicit DivByZeroDefect(const char* message) noexcept : ArithmeticDefect(ErrorKind::divByZeroDefect, message) {}
};
class UnderflowDefect : public Defect {
 public:
  explicit UnderflowDefect(const char* message) noexcept : Defect(ErrorKind::underflowDefect, message) {}
};
class AssertionDefect : public Defect {
 public:
  explicit AssertionDefect(const char* message) noexcept : Defect(ErrorKind::assertionDefect, message) {}
};
class RangeDefect : public Defect {
 public:
  explicit RangeDefect(const char* message) noexcept : Defect(ErrorKind::rangeDefect, message) {}
};
class IndexDefect : public Defect {
 public:
  explicit IndexDefect(const char* message) noexcept : Defect(ErrorKind::indexDefect, message) {}
};

// The fixed texts shared by many operations.
inline constexpr const char* kOverflowMessage = "over- or underflow";
inline constexpr const char* kRangeMessage = "value out of range";

// Out-of-line raise helpers: keep the throw off the hot path.
[[noreturn]] void raiseValueError(const char* message);
[[noreturn]] void raiseOverflow(const char* message = kOverflowMessage);
[[noreturn]] void raiseDivByZero(const char* message);
[[noreturn]] void raiseUnderflow(const char* message);
[[noreturn]] void raiseAssertion(const char* message);
[[noreturn]] void raiseRange(const char* message = kRangeMessage);
[[noreturn]] void raiseIndex(const char* message);

// Overflow-tested signed 64-bit arithmetic on sizes, counts, exponents and
// series indices: an overflow raises OverflowDefect "over- or underflow".
// Usable in constant expressions (an overflow there does not compile).
constexpr std::int64_t checkedAdd(std::int64_t a, std::int64_t b) {
  std::int64_t r = 0;
  if (__builtin_add_overflow(a, b, &r)) [[unlikely]] raiseOverflow();
  return r;
}
constexpr std::int64_t checkedSub(std::int64_t a, std::int64_t b) {
  std::int64_t r = 0;
  if (__builtin_sub_overflow(a, b, &r)) [[unlikely]] raiseOverflow();
  return r;
}
constexpr std::int64_t checkedMul(std::int64_t a, std::int64_t b) {
  std::int64_t r = 0;
  if (__builtin_mul_overflow(a, b, &r)) [[unlikely]] raiseOverflow();
  return r;
}

}  // namespace kovrix

#include "errors.hpp"

namespace kovrix {

const char* kindName(ErrorKind kind) noexcept {
  switch (kind) {
    case ErrorKind::valueError: return "ValueError";
    case ErrorKind::overflowDefect: return "OverflowDefect";
    case ErrorKind::divByZeroDefect: return "DivByZeroDefect";
    case ErrorKind::underflowDefect: return "UnderflowDefect";
    case ErrorKind::assertionDefect: return "AssertionDefect";
    case ErrorKind::rangeDefect: return "RangeDefect";
    case ErrorKind::indexDefect: return "IndexDefect";
  }
  return "Error";
}

void raiseValueError(const char* message) { throw ValueError(message); }
void raiseOverflow(const char* message) { throw OverflowDefect(message); }
void raiseDivByZero(const char* message) { throw DivByZeroDefect(message); }
void raiseUnderflow(const char* message) { throw UnderflowDefect(message); }
void raiseAssertion(const char* message) { throw AssertionDefect(message); }
void raiseRange(const char* message) { throw RangeDefect(message); }
void raiseIndex(const char* message) { throw IndexDefect(message); }

}  // namespace kovrix

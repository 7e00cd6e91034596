/*
 * kovrix.hpp — a header-only C++17 layer over the C interface of kovrix.h.
 *
 *   kovrix::BigInt    an exact integer owning one handle (copy, move, destroy)
 *   kovrix::BigFloat  256-bit binary floating point, owning one handle
 *   kovrix::Rational  an exact fraction, owning one handle
 *   kovrix::Fixed     a 64-bit fixed-point value with its count of fraction bits
 *   kovrix::Interval  a float64 interval with outward rounding
 *   kovrix::f64       the float64 kernels; kovrix::q32 the Q32.32 kernels
 *
 * Values behave like built-in numbers: operators, comparisons, to_string and
 * operator<<, construction from integers, doubles and text.
 *
 * Failures.  Every failure the C interface makes distinguishable becomes a
 * kovrix::Error (derived from std::runtime_error): a NULL handle, the -1 of
 * kovrix_bigint_to_decimal, and an argument the header says is rejected (a
 * zero divisor, a negative shift, a fraction-bit count outside 0..63), which
 * is checked before the call.  A 0 that may be a result (a comparison, a
 * Fixed value, an interval bound) is returned as a result, and a NaN that the
 * header documents as a domain answer is returned as a value.
 *
 * The pending error.  After turning a failure into an exception the layer
 * clears the calling thread's pending error by calling kovrix_fixed_sin(0),
 * one of the kovrix_fixed_<function> exports documented to clear every kind
 * of pending error, so the thread stays usable after a caught exception.
 *
 * Process-wide effects.  Including this header initialises the library once
 * (kovrix_init) during program start-up, and again on first use if a static
 * object of another translation unit gets there first.  kovrix_init installs
 * handlers for SIGINT, SIGSEGV, SIGABRT, SIGFPE and SIGILL that print a
 * one-line message and then hand the signal to the disposition the program
 * had before, and it ignores SIGPIPE from then on.
 */
#ifndef KOVRIX_HPP
#define KOVRIX_HPP

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "kovrix.h"

namespace kovrix {

/// A failure reported by the library or an argument its C interface rejects.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

namespace detail {

/// kovrix_init once per process (thread-safe through the function-local static).
inline void init() {
  static const int done = kovrix_init();
  static_cast<void>(done);
}
inline const bool initialisedAtStartUp = (init(), true);

/// Clears any error pending on this thread: kovrix_fixed_sin catches every kind.
inline void clearPendingError() noexcept { static_cast<void>(kovrix_fixed_sin(0)); }

[[noreturn]] inline void fail(const std::string& what) {
  clearPendingError();
  throw Error("kovrix: " + what);
}

inline void require(bool ok, const char* what) {
  if (!ok) fail(what);
}

inline void requireFracBits(int fracBits) { require(fracBits >= 0 && fracBits <= 63, "fraction bits outside 0..63"); }

/// a op= b as a = a op b, for the four arithmetic operators of a value
/// class T that derives from Compound<T>.
template <class T>
struct Compound {
  friend T& operator+=(T& a, const T& b) { return a = a + b; }
  friend T& operator-=(T& a, const T& b) { return a = a - b; }
  friend T& operator*=(T& a, const T& b) { return a = a * b; }
  friend T& operator/=(T& a, const T& b) { return a = a / b; }
};

/// The six comparisons from T's `compare(a, b)` (negative, zero, positive),
/// printing through `to_string()`, and the compound assignments, for a
/// number class T that derives from Number<T>.
template <class T>
struct Number : Compound<T> {
  friend bool operator==(const T& a, const T& b) { return compare(a, b) == 0; }
  friend bool operator!=(const T& a, const T& b) { return compare(a, b) != 0; }
  friend bool operator<(const T& a, const T& b) { return compare(a, b) < 0; }
  friend bool operator<=(const T& a, const T& b) { return compare(a, b) <= 0; }
  friend bool operator>(const T& a, const T& b) { return compare(a, b) > 0; }
  friend bool operator>=(const T& a, const T& b) { return compare(a, b) >= 0; }
  friend std::ostream& operator<<(std::ostream& out, const T& a) { return out << a.to_string(); }
};

/// Owns one handle of a family: copy makes an equal new handle, move hands it
/// over, the destructor releases it.  `Traits` names the family's exports.
template <class Traits>
class Owner {
 public:
  using Handle = typename Traits::Handle;

  Owner(const Owner& other) : h_(Traits::copy(other.get("copy"))) { require(h_ != nullptr, "copy failed"); }
  Owner(Owner&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
  Owner& operator=(const Owner& other) {
    if (this != &other) *this = Owner(other);
    return *this;
  }
  Owner& operator=(Owner&& other) noexcept {
    std::swap(h_, other.h_);
    return *this;
  }
  ~Owner() { Traits::destroy(h_); }

  /// The handle, still owned by this object; valid for C calls while it lives.
  const Handle* handle() const noexcept { return h_; }
  /// Gives the handle up to the caller, who destroys it.
  Handle* release() noexcept { return std::exchange(h_, nullptr); }

 protected:
  explicit Owner(Handle* h, const char* what) : h_(h) { require(h_ != nullptr, what); }
  /// The handle for a call; a moved-from object has none and is rejected.
  const Handle* get(const char* what) const {
    if (h_ == nullptr) fail(std::string(what) + ": moved-from value");
    return h_;
  }

 private:
  Handle* h_;
};

struct BigIntTraits {
  using Handle = kovrix_bigint;
  static Handle* copy(const Handle* h) { return kovrix_bigint_shl(h, 0); }
  static void destroy(Handle* h) { kovrix_bigint_destroy(h); }
};

}  // namespace detail

// ==== BigInt ================================================================

/// An exact signed integer of any size.
class BigInt : public detail::Owner<detail::BigIntTraits>, public detail::Number<BigInt> {
  using Base = detail::Owner<detail::BigIntTraits>;

 public:
  BigInt() : BigInt(std::int64_t{0}) {}
  /// From any built-in integer (implicit, as for the built-in types).
  template <class I, std::enable_if_t<std::is_integral_v<I> && !std::is_same_v<I, bool>, int> = 0>
  BigInt(I v) : Base(fromInteger(v), "from integer") {}
  /// From decimal text: an optional sign and one or more digits.
  explicit BigInt(std::string_view text) : Base(fromText(text), "invalid decimal text") {}
  explicit BigInt(const char* text) : BigInt(std::string_view(text == nullptr ? "" : text)) {}
  explicit BigInt(const std::string& text) : BigInt(std::string_view(text)) {}
  /// The integer part of a finite double (truncated toward zero, exact).
  explicit BigInt(double x) : Base(fromDouble(x), "from double") {}
  /// Takes ownership of a handle from the C interface (NULL is an Error).
  static BigInt adopt(kovrix_bigint* h, const char* what = "result") { return BigInt(h, what); }

  /// The decimal text; the buffer grows by large steps (each retry converts again).
  std::string to_string() const {
    const kovrix_bigint* h = get("to_string");
    constexpr std::int64_t largest = std::int64_t{INT_MAX} + 1;
    for (std::int64_t size = 256;; size = std::min(size * 64, largest)) {
      std::string text(static_cast<std::size_t>(size), '\0');
      const int n = kovrix_bigint_to_decimal(h, text.data(), size);
      if (n > 0) return text.substr(0, static_cast<std::size_t>(n));
      if (n == 0 || size == largest) detail::fail("decimal text failed");
    }
  }
  /// The value as int64_t / uint64_t; Error when it does not fit.
  std::int64_t to_int64() const {
    int ok = 0;
    const std::int64_t v = kovrix_bigint_to_i64(get("to_int64"), &ok);
    detail::require(ok == 1, "value outside the int64 range");
    return v;
  }
  std::uint64_t to_uint64() const {
    int ok = 0;
    const std::uint64_t v = kovrix_bigint_to_u64(get("to_uint64"), &ok);
    detail::require(ok == 1, "value outside the uint64 range");
    return v;
  }
  /// The nearest double (ties to even), through the exact decimal text.
  explicit operator double() const { return std::strtod(to_string().c_str(), nullptr); }

  friend BigInt operator+(const BigInt& a, const BigInt& b) { return adopt(kovrix_bigint_add(a.get("+"), b.get("+")), "+"); }
  friend BigInt operator-(const BigInt& a, const BigInt& b) { return adopt(kovrix_bigint_sub(a.get("-"), b.get("-")), "-"); }
  friend BigInt operator*(const BigInt& a, const BigInt& b) { return adopt(kovrix_bigint_mul(a.get("*"), b.get("*")), "*"); }
  /// Quotient truncated toward zero; the remainder has the sign of a.
  friend BigInt operator/(const BigInt& a, const BigInt& b) {
    b.requireNonZero();
    return adopt(kovrix_bigint_div(a.get("/"), b.get("/")), "/");
  }
  friend BigInt operator%(const BigInt& a, const BigInt& b) {
    b.requireNonZero();
    return adopt(kovrix_bigint_mod(a.get("%"), b.get("%")), "%");
  }
  friend BigInt operator-(const BigInt& a) { return adopt(kovrix_bigint_neg(a.get("negate")), "negate"); }
  friend BigInt abs(const BigInt& a) { return adopt(kovrix_bigint_abs(a.get("abs")), "abs"); }
  /// a * 2^n and floor(a / 2^n); a negative n is an Error.
  friend BigInt operator<<(const BigInt& a, int n) {
    detail::require(n >= 0, "negative shift");
    return adopt(kovrix_bigint_shl(a.get("<<"), n), "<<");
  }
  friend BigInt operator>>(const BigInt& a, int n) {
    detail::require(n >= 0, "negative shift");
    return adopt(kovrix_bigint_shr(a.get(">>"), n), ">>");
  }
  BigInt& operator%=(const BigInt& b) { return *this = *this % b; }

  /// -1, 0 or 1.
  friend int compare(const BigInt& a, const BigInt& b) { return kovrix_bigint_cmp(a.get("compare"), b.get("compare")); }


 private:
  BigInt(kovrix_bigint* h, const char* what) : Base(h, what) {}

  void requireNonZero() const { detail::require(compare(*this, BigInt(0)) != 0, "division by zero"); }

  template <class I>
  static kovrix_bigint* fromInteger(I v) {
    detail::init();
    if constexpr (std::is_unsigned_v<I> && sizeof(I) >= sizeof(std::int64_t)) {
      if (v > static_cast<I>(INT64_MAX)) return kovrix_bigint_from_decimal(std::to_string(v).c_str());
    }
    return kovrix_bigint_from_i64(static_cast<std::int64_t>(v));
  }
  static kovrix_bigint* fromText(std::string_view text) {
    detail::init();
    return kovrix_bigint_from_decimal(std::string(text).c_str());
  }
  // A finite double is m * 2^e with an integer m of 53 bits; beyond 2^63 it
  // is an integer already and m shifted left by e - 53 is it exactly.
  static kovrix_bigint* fromDouble(double x) {
    detail::init();
    detail::require(std::isfinite(x), "not a finite double");
    const double t = std::trunc(x);
    if (std::fabs(t) < 0x1p63) return kovrix_bigint_from_i64(static_cast<std::int64_t>(t));
    int e = 0;
    const double m = std::frexp(t, &e);
    kovrix_bigint* mant = kovrix_bigint_from_i64(static_cast<std::int64_t>(std::ldexp(m, 53)));
    kovrix_bigint* r = kovrix_bigint_shl(mant, e - 53);
    kovrix_bigint_destroy(mant);
    return r;
  }
};

// Visible to qualified calls (kovrix::abs) as well as to argument lookup.
BigInt abs(const BigInt& a);
int compare(const BigInt& a, const BigInt& b);

// ==== Fixed ==================================================================

/// A fixed-point number raw / 2^frac_bits (0 <= frac_bits <= 63).  Arithmetic
/// is exact and saturated to int64; both operands need the same fraction bits.
/// The elementary functions below take Q32.32 values (frac_bits = 32).
class Fixed : public detail::Number<Fixed> {
 public:
  /// Zero in Q32.32.
  constexpr Fixed() noexcept = default;
  /// The integer n, saturated.
  explicit Fixed(std::int64_t n, int frac_bits = 32) : frac_(checkedFrac(frac_bits)) {
    raw_ = kovrix_fixed_from_int(n, frac_bits);
  }
  static Fixed from_raw(std::int64_t raw, int frac_bits = 32) { return Fixed(raw, checkedFrac(frac_bits), Raw{}); }
  /// The nearest fixed-point value to x (ties to even), saturated; NaN is an Error.
  static Fixed from_double(double x, int frac_bits = 32) {
    checkedFrac(frac_bits);
    detail::require(!std::isnan(x), "NaN has no fixed-point value");
    const double scaled = std::nearbyint(std::ldexp(x, frac_bits));
    if (scaled >= 0x1p63) return from_raw(INT64_MAX, frac_bits);
    if (scaled < -0x1p63) return from_raw(INT64_MIN, frac_bits);
    return from_raw(static_cast<std::int64_t>(scaled), frac_bits);
  }
  /// pi and e in Q32.32, truncated.
  static Fixed pi() { return from_raw(kovrix_pi_fixed()); }
  static Fixed e() { return from_raw(kovrix_e_fixed()); }

  constexpr std::int64_t raw() const noexcept { return raw_; }
  constexpr int frac_bits() const noexcept { return frac_; }
  /// floor of the value.
  std::int64_t to_int() const { return kovrix_fixed_to_int(raw_, frac_); }
  /// The value as the nearest double.
  double to_double() const { return std::ldexp(static_cast<double>(raw_), -frac_); }
  std::string to_string() const {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", to_double());
    return text;
  }

  friend Fixed operator+(Fixed a, Fixed b) { return Fixed(kovrix_fixed_add(a.raw_, b.raw_), same(a, b), Raw{}); }
  friend Fixed operator-(Fixed a, Fixed b) { return Fixed(kovrix_fixed_sub(a.raw_, b.raw_), same(a, b), Raw{}); }
  friend Fixed operator-(Fixed a) { return Fixed(kovrix_fixed_sub(0, a.raw_), a.frac_, Raw{}); }
  /// floor(a * b) of the exact product.
  friend Fixed operator*(Fixed a, Fixed b) { return Fixed(kovrix_fixed_mul(a.raw_, b.raw_, same(a, b)), a.frac_, Raw{}); }
  /// a / b truncated toward zero; a zero divisor is an Error.
  friend Fixed operator/(Fixed a, Fixed b) {
    const int f = same(a, b);
    detail::require(b.raw_ != 0, "division by zero");
    return Fixed(kovrix_fixed_div(a.raw_, b.raw_, f), f, Raw{});
  }
  /// Floored modulo (the sign of b); a zero modulus is an Error.
  friend Fixed operator%(Fixed a, Fixed b) {
    const int f = same(a, b);
    detail::require(b.raw_ != 0, "modulo by zero");
    return Fixed(kovrix_fixed_floor_mod(a.raw_, b.raw_), f, Raw{});
  }
  friend Fixed abs(Fixed a) { return Fixed(kovrix_fixed_abs(a.raw_), a.frac_, Raw{}); }
  friend int sign(Fixed a) { return kovrix_fixed_sign(a.raw_); }
  friend Fixed clamp(Fixed x, Fixed lo, Fixed hi) {
    same(x, lo);
    same(lo, hi);
    return Fixed(kovrix_fixed_clamp(x.raw_, lo.raw_, hi.raw_), x.frac_, Raw{});
  }
  /// a + (b - a) * t, t in Q32.32 whatever the format of a and b.
  friend Fixed lerp(Fixed a, Fixed b, Fixed t) {
    detail::require(t.frac_ == 32, "lerp takes t in Q32.32");
    return Fixed(kovrix_fixed_lerp(a.raw_, b.raw_, t.raw_), same(a, b), Raw{});
  }
  friend Fixed floor(Fixed x) { return Fixed(kovrix_fixed_floor(q32(x)), 32, Raw{}); }
  friend Fixed ceil(Fixed x) { return Fixed(kovrix_fixed_ceil(q32(x)), 32, Raw{}); }
  friend Fixed round(Fixed x) { return Fixed(kovrix_fixed_round(q32(x)), 32, Raw{}); }

  friend int compare(Fixed a, Fixed b) {
    same(a, b);
    return kovrix_fixed_cmp(a.raw_, b.raw_);
  }

  /// The raw value of a Q32.32 argument; another format is an Error.
  static std::int64_t q32(Fixed x) {
    detail::require(x.frac_ == 32, "this function takes Q32.32 values");
    return x.raw_;
  }

 private:
  struct Raw {};
  constexpr Fixed(std::int64_t raw, int frac_bits, Raw) noexcept : raw_(raw), frac_(frac_bits) {}
  static int checkedFrac(int frac_bits) {
    detail::requireFracBits(frac_bits);
    return frac_bits;
  }
  static int same(Fixed a, Fixed b) {
    detail::require(a.frac_ == b.frac_, "operands with different fraction bits");
    return a.frac_;
  }

  std::int64_t raw_ = 0;
  int frac_ = 32;
};

Fixed abs(Fixed a);
int sign(Fixed a);
Fixed clamp(Fixed x, Fixed lo, Fixed hi);
Fixed lerp(Fixed a, Fixed b, Fixed t);
Fixed floor(Fixed x);
Fixed ceil(Fixed x);
Fixed round(Fixed x);
int compare(Fixed a, Fixed b);

/// The Q32.32 elementary functions (kovrix_fixed_<function>).  Each returns 0
/// for its domain errors and failures, as the C interface does: a 0 result
/// is a value here.
#define KOVRIX_HPP_Q32_FUNCTION(name) \
  inline Fixed name(Fixed x) { return Fixed::from_raw(kovrix_fixed_##name(Fixed::q32(x))); }
KOVRIX_HPP_Q32_FUNCTION(sin)
KOVRIX_HPP_Q32_FUNCTION(cos)
KOVRIX_HPP_Q32_FUNCTION(tan)
KOVRIX_HPP_Q32_FUNCTION(exp)
KOVRIX_HPP_Q32_FUNCTION(ln)
KOVRIX_HPP_Q32_FUNCTION(sqrt)
KOVRIX_HPP_Q32_FUNCTION(atan)
KOVRIX_HPP_Q32_FUNCTION(sinh)
KOVRIX_HPP_Q32_FUNCTION(cosh)
KOVRIX_HPP_Q32_FUNCTION(tanh)
KOVRIX_HPP_Q32_FUNCTION(asin)
KOVRIX_HPP_Q32_FUNCTION(acos)
KOVRIX_HPP_Q32_FUNCTION(asinh)
KOVRIX_HPP_Q32_FUNCTION(acosh)
KOVRIX_HPP_Q32_FUNCTION(atanh)
KOVRIX_HPP_Q32_FUNCTION(erf)
KOVRIX_HPP_Q32_FUNCTION(bessel_j0)
#undef KOVRIX_HPP_Q32_FUNCTION
inline Fixed atan2(Fixed y, Fixed x) { return Fixed::from_raw(kovrix_fixed_atan2(Fixed::q32(y), Fixed::q32(x))); }
inline Fixed pow(Fixed a, Fixed b) { return Fixed::from_raw(kovrix_fixed_pow(Fixed::q32(a), Fixed::q32(b))); }
/// n! in Q32.32 (0 for n < 0 and n >= 13).
inline Fixed fixed_factorial(int n) { return Fixed::from_raw(kovrix_fixed_factorial(n)); }

/// The Q32.32 kernels by method, for a caller who chooses the algorithm.
namespace q32 {
#define KOVRIX_HPP_Q32_KERNEL(name) \
  inline Fixed name(Fixed x) { return Fixed::from_raw(kovrix_##name(Fixed::q32(x))); }
KOVRIX_HPP_Q32_KERNEL(cordic_sin)
KOVRIX_HPP_Q32_KERNEL(cordic_cos)
KOVRIX_HPP_Q32_KERNEL(lut_sin)
KOVRIX_HPP_Q32_KERNEL(lut_cos)
KOVRIX_HPP_Q32_KERNEL(chebyshev_tan)
KOVRIX_HPP_Q32_KERNEL(cordic_sinh)
KOVRIX_HPP_Q32_KERNEL(cordic_cosh)
KOVRIX_HPP_Q32_KERNEL(cordic_tanh)
KOVRIX_HPP_Q32_KERNEL(cordic_exp)
#undef KOVRIX_HPP_Q32_KERNEL
inline Fixed cordic_atan2(Fixed y, Fixed x) { return Fixed::from_raw(kovrix_cordic_atan2(Fixed::q32(y), Fixed::q32(x))); }
}  // namespace q32

/// The float64 kernels by method (quiet NaN for domain errors).
namespace f64 {
inline double sqrt_newton(double x) { return kovrix_sqrt_newton_f64(x); }
inline double exp_taylor(double x) { return kovrix_exp_taylor_f64(x); }
/// ln(1 + x), not ln x.
inline double ln1p_taylor(double x) { return kovrix_ln_taylor_f64(x); }
inline double taylor_sin(double x) { return kovrix_taylor_sin_f64(x); }
inline double taylor_cos(double x) { return kovrix_taylor_cos_f64(x); }
inline double taylor_atan(double x) { return kovrix_taylor_atan_f64(x); }
inline double chebyshev_t(int n, double x) { return kovrix_chebyshev_t(n, x); }
inline double chebyshev_u(int n, double x) { return kovrix_chebyshev_u(n, x); }
inline double legendre(int n, double x) { return kovrix_legendre(n, x); }
inline double hermite(int n, double x) { return kovrix_hermite(n, x); }
inline double erf(double x) { return kovrix_erf(x); }
inline double gamma(double x) { return kovrix_gamma(x); }
inline double factorial(int n) { return kovrix_factorial(n); }
inline double bessel_j0(double x) { return kovrix_bessel_j0(x); }
/// ln x through a 256-bit BigFloat, rounded back to the nearest double.
inline double ln_generic(double x) { return kovrix_ln_generic_f64(x); }
}  // namespace f64

// ==== BigFloat ===============================================================

namespace detail {
struct BigFloatTraits {
  using Handle = kovrix_bigfloat;
  // Negation is exact, so negating twice copies the value.
  static Handle* copy(const Handle* h) {
    Handle* n = kovrix_bigfloat_neg(h);
    Handle* r = kovrix_bigfloat_neg(n);
    kovrix_bigfloat_destroy(n);
    return r;
  }
  static void destroy(Handle* h) { kovrix_bigfloat_destroy(h); }
};
}  // namespace detail

/// Binary floating point with a 256-bit mantissa, every result rounded to
/// nearest (ties away from zero).  No infinity, NaN or negative zero.
class BigFloat : public detail::Owner<detail::BigFloatTraits>, public detail::Number<BigFloat> {
  using Base = detail::Owner<detail::BigFloatTraits>;

 public:
  BigFloat() : BigFloat(std::int64_t{0}) {}
  /// Exact from any built-in integer and from a finite double (NaN and the
  /// infinities are an Error).
  template <class I, std::enable_if_t<std::is_integral_v<I> && !std::is_same_v<I, bool>, int> = 0>
  BigFloat(I v) : Base(fromInteger(v), "from integer") {}
  BigFloat(double x) : Base((detail::init(), kovrix_bigfloat_from_f64(x)), "not a finite double") {}
  /// The integer truncated toward zero to its top 256 bits.
  explicit BigFloat(const BigInt& x) : Base(kovrix_bigfloat_from_bigint(x.handle()), "from BigInt") {}
  /// From decimal text ("-12.5e-3"): the exact value rounded once when its
  /// digits and its power of ten each fit in 256 bits (77 digits), else twice.
  explicit BigFloat(std::string_view text) : BigFloat(fromText(text)) {}
  explicit BigFloat(const char* text) : BigFloat(std::string_view(text == nullptr ? "" : text)) {}
  static BigFloat adopt(kovrix_bigfloat* h, const char* what = "result") { return BigFloat(h, what); }
  static BigFloat pi() { return adopt((detail::init(), kovrix_pi_bigfloat()), "pi"); }
  static BigFloat e() { return adopt((detail::init(), kovrix_e_bigfloat()), "e"); }

  bool is_zero() const { return kovrix_bigfloat_is_zero(get("is_zero")) == 1; }
  /// The nearest double, ties to even (+-inf beyond the double range).
  double to_double() const { return kovrix_bigfloat_to_f64(get("to_double")); }
  explicit operator double() const { return to_double(); }
  /// The integer part, truncated toward zero (-2.5 gives -2), exact.
  BigInt to_bigint() const { return BigInt::adopt(kovrix_bigint_from_bigfloat(get("to_bigint")), "to_bigint"); }
  /// The exact value in decimal (every binary fraction ends in decimal).
  std::string to_string() const;

  friend BigFloat operator+(const BigFloat& a, const BigFloat& b) { return adopt(kovrix_bigfloat_add(a.get("+"), b.get("+")), "+"); }
  friend BigFloat operator-(const BigFloat& a, const BigFloat& b) { return adopt(kovrix_bigfloat_sub(a.get("-"), b.get("-")), "-"); }
  friend BigFloat operator*(const BigFloat& a, const BigFloat& b) { return adopt(kovrix_bigfloat_mul(a.get("*"), b.get("*")), "*"); }
  friend BigFloat operator/(const BigFloat& a, const BigFloat& b) {
    detail::require(!b.is_zero(), "division by zero");
    return adopt(kovrix_bigfloat_div(a.get("/"), b.get("/")), "/");
  }
  friend BigFloat operator-(const BigFloat& a) { return adopt(kovrix_bigfloat_neg(a.get("negate")), "negate"); }

  friend int compare(const BigFloat& a, const BigFloat& b) {
    return kovrix_bigfloat_cmp(a.get("compare"), b.get("compare"));
  }

  /// Calls a one-handle export, an Error for its NULL.
  BigFloat apply(kovrix_bigfloat* (*export_)(const kovrix_bigfloat*), const char* what) const {
    return adopt(export_(get(what)), what);
  }

 private:
  BigFloat(kovrix_bigfloat* h, const char* what) : Base(h, what) {}

  template <class I>
  static kovrix_bigfloat* fromInteger(I v) {
    detail::init();
    if constexpr (std::is_unsigned_v<I> && sizeof(I) >= sizeof(std::int64_t)) {
      if (v > static_cast<I>(INT64_MAX)) return kovrix_bigfloat_from_bigint(BigInt(v).handle());
    }
    return kovrix_bigfloat_from_i64(static_cast<std::int64_t>(v));
  }
  static BigFloat fromText(std::string_view text);
};

BigFloat abs(const BigFloat& a);
int compare(const BigFloat& a, const BigFloat& b);
inline BigFloat abs(const BigFloat& a) { return a.apply(kovrix_bigfloat_abs, "abs"); }

namespace detail {
/// Splits decimal text [sign] digits [. digits] [e|E [sign] digits] into the
/// integer of its digits and the power of ten; false for anything else.
inline bool splitDecimal(std::string_view text, std::string& digits, long& exponent) {
  std::size_t i = 0;
  digits.clear();
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) digits += text[i++] == '-' ? "-" : "";
  bool any = false, point = false;
  exponent = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digits += c;
      any = true;
      if (point) --exponent;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!any) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    const std::string rest(text.substr(i + 1));
    char* end = nullptr;
    const long e = std::strtol(rest.c_str(), &end, 10);
    if (rest.empty() || *end != '\0' || e > 100000000 || e < -100000000) return false;
    exponent += e;
    i = text.size();
  }
  return i == text.size();
}

/// 10^n for n >= 0.
inline BigInt powerOfTen(long n) {
  BigInt result = 1, base = 10;
  for (; n > 0; n >>= 1) {
    if (n & 1) result *= base;
    if (n > 1) base *= base;
  }
  return result;
}
}  // namespace detail

inline BigFloat BigFloat::fromText(std::string_view text) {
  std::string digits;
  long exponent = 0;
  if (!detail::splitDecimal(text, digits, exponent)) detail::fail("invalid decimal text");
  const BigFloat mantissa{BigInt(digits)};
  return exponent >= 0 ? mantissa * BigFloat(detail::powerOfTen(exponent))
                       : mantissa / BigFloat(detail::powerOfTen(-exponent));
}

// The value is the exact sum of the doubles c1, c2, ... where each ci is the
// nearest double to what the earlier ones leave (every subtraction is exact:
// it removes the top 53 bits or more of a 256-bit value, so at most six steps
// reach zero).  Their sum N * 2^k (k < 0) is N * 5^-k / 10^-k in decimal.
inline std::string BigFloat::to_string() const {
  BigFloat rest = *this;
  BigInt sum = 0;
  int scale = 0;  // sum * 2^-scale is the value so far
  for (int step = 0; !rest.is_zero(); ++step) {
    const double c = rest.to_double();
    detail::require(step < 8 && std::isfinite(c) && c != 0.0, "value beyond the float64 exponent range");
    int e = 0;
    const double m = std::frexp(c, &e);
    const BigInt mant(static_cast<std::int64_t>(std::ldexp(m, 53)));
    const int s = 53 - e;  // c = mant * 2^-s
    if (s > scale) {
      sum = sum << (s - scale);
      scale = s;
    }
    sum += mant << (scale - s);
    rest -= BigFloat(c);
  }
  if (scale <= 0) return (sum << -scale).to_string();
  std::string digits = (abs(sum) * detail::powerOfTen(scale) / (BigInt(1) << scale)).to_string();
  if (digits.size() <= static_cast<std::size_t>(scale)) digits.insert(0, scale + 1 - digits.size(), '0');
  digits.insert(digits.size() - scale, ".");
  while (digits.back() == '0') digits.pop_back();
  if (digits.back() == '.') digits.pop_back();
  return (sum < 0 ? "-" : "") + digits;
}

/// The BigFloat functions (NULL for a domain error of the export becomes an
/// Error; ln, sqrt and pow reject their domain before the call).
#define KOVRIX_HPP_BIGFLOAT_FUNCTION(name, cexport) \
  inline BigFloat name(const BigFloat& x) { return x.apply(cexport, #name); }
KOVRIX_HPP_BIGFLOAT_FUNCTION(sin, kovrix_bigfloat_sin)
KOVRIX_HPP_BIGFLOAT_FUNCTION(cos, kovrix_bigfloat_cos)
KOVRIX_HPP_BIGFLOAT_FUNCTION(tan, kovrix_bigfloat_tan)
KOVRIX_HPP_BIGFLOAT_FUNCTION(exp, kovrix_bigfloat_exp)
KOVRIX_HPP_BIGFLOAT_FUNCTION(atan, kovrix_bigfloat_arctan)
KOVRIX_HPP_BIGFLOAT_FUNCTION(reduce, kovrix_bigfloat_reduce)
#undef KOVRIX_HPP_BIGFLOAT_FUNCTION
inline BigFloat ln(const BigFloat& x) {
  detail::require(x > BigFloat(0), "logarithm of a value <= 0");
  return x.apply(kovrix_bigfloat_ln, "ln");
}
inline BigFloat sqrt(const BigFloat& x) {
  detail::require(x >= BigFloat(0), "square root of a negative value");
  return x.apply(kovrix_bigfloat_sqrt, "sqrt");
}
inline BigFloat atan2(const BigFloat& y, const BigFloat& x) {
  return BigFloat::adopt(kovrix_bigfloat_arctan2(y.handle(), x.handle()), "atan2");
}
inline BigFloat pow(const BigFloat& x, const BigFloat& y) {
  detail::require(x > BigFloat(0), "power of a base <= 0");
  return BigFloat::adopt(kovrix_bigfloat_pow(x.handle(), y.handle()), "pow");
}
inline BigFloat pow(const BigFloat& x, int k) {
  detail::require(k >= 0 || !x.is_zero(), "negative power of zero");
  return BigFloat::adopt(kovrix_bigfloat_pow_int(x.handle(), k), "pow");
}

/// The BigFloat kernels by method.
namespace bf {
inline BigFloat ln_generic(const BigFloat& x) {
  detail::require(x > BigFloat(0), "logarithm of a value <= 0");
  return x.apply(kovrix_ln_generic_bigfloat, "ln_generic");
}
inline BigFloat sqrt_newton(const BigFloat& x) {
  detail::require(x >= BigFloat(0), "square root of a negative value");
  return x.apply(kovrix_sqrt_newton_bigfloat, "sqrt_newton");
}
inline BigFloat exp_taylor(const BigFloat& x) { return x.apply(kovrix_exp_taylor_bigfloat, "exp_taylor"); }
}  // namespace bf

// ==== Rational ===============================================================

namespace detail {
struct RationalTraits {
  using Handle = kovrix_rational;
  static Handle* copy(const Handle* h) {
    Handle* n = kovrix_rational_neg(h);
    Handle* r = kovrix_rational_neg(n);
    kovrix_rational_destroy(n);
    return r;
  }
  static void destroy(Handle* h) { kovrix_rational_destroy(h); }
};
}  // namespace detail

/// An exact fraction num/den of two BigInts in lowest terms (den > 0).
class Rational : public detail::Owner<detail::RationalTraits>, public detail::Number<Rational> {
  using Base = detail::Owner<detail::RationalTraits>;

 public:
  Rational() : Rational(std::int64_t{0}) {}
  template <class I, std::enable_if_t<std::is_integral_v<I> && !std::is_same_v<I, bool>, int> = 0>
  Rational(I v) : Rational(BigInt(v), BigInt(1)) {}
  /// num / den; a zero denominator is an Error.
  Rational(const BigInt& num, const BigInt& den) : Base(fromParts(num, den), "from BigInt") {}
  /// The exact value of a finite double (NaN and the infinities are an Error).
  explicit Rational(double x) : Base((detail::init(), kovrix_rational_from_f64(x)), "not a finite double") {}
  /// The exact value of a fixed-point number, raw / 2^frac_bits.
  explicit Rational(Fixed x) : Base((detail::init(), kovrix_rational_from_fixed(x.raw(), x.frac_bits())), "from Fixed") {}
  /// From text: "p/q", or a decimal "-12.5e-3" taken exactly.
  explicit Rational(std::string_view text) : Base(fromText(text), "invalid rational text") {}
  explicit Rational(const char* text) : Rational(std::string_view(text == nullptr ? "" : text)) {}
  static Rational adopt(kovrix_rational* h, const char* what = "result") { return Rational(h, what); }

  BigInt num() const { return BigInt::adopt(kovrix_rational_num(get("num")), "num"); }
  BigInt den() const { return BigInt::adopt(kovrix_rational_den(get("den")), "den"); }
  bool is_zero() const { return kovrix_rational_is_zero(get("is_zero")) == 1; }
  bool is_one() const { return kovrix_rational_is_one(get("is_one")) == 1; }
  /// The library's float64 of the value: the double of num over the double of
  /// den, or the correctly rounded value when a part is beyond the double range.
  double to_double() const { return kovrix_rational_to_f64(get("to_double")); }
  explicit operator double() const { return to_double(); }
  /// The quotient num / den truncated toward zero (-7/2 gives -3).
  BigInt to_bigint() const { return BigInt::adopt(kovrix_bigint_from_rational(get("to_bigint")), "to_bigint"); }
  /// The library's BigFloat of the value: num and den each cut to their top
  /// 256 bits, then one division rounded to nearest (ties away from zero).
  BigFloat to_bigfloat() const { return BigFloat::adopt(kovrix_bigfloat_from_rational(get("to_bigfloat")), "to_bigfloat"); }
  /// value * 2^frac_bits truncated toward zero; a magnitude of 2^63 or more
  /// (which the C interface answers with 0) is an Error, checked before the call.
  Fixed to_fixed(int frac_bits = 32) const {
    detail::requireFracBits(frac_bits);
    const Rational bound(BigInt(1) << (63 - frac_bits), BigInt(1));
    detail::require(*this < bound && -*this < bound, "value outside the Fixed range");
    return Fixed::from_raw(kovrix_fixed_from_rational(get("to_fixed"), frac_bits), frac_bits);
  }
  /// "num/den", or "num" for an integer.
  std::string to_string() const {
    BigInt d = den();
    return d == 1 ? num().to_string() : num().to_string() + "/" + d.to_string();
  }

  friend Rational operator+(const Rational& a, const Rational& b) { return adopt(kovrix_rational_add(a.get("+"), b.get("+")), "+"); }
  friend Rational operator-(const Rational& a, const Rational& b) { return adopt(kovrix_rational_sub(a.get("-"), b.get("-")), "-"); }
  friend Rational operator*(const Rational& a, const Rational& b) { return adopt(kovrix_rational_mul(a.get("*"), b.get("*")), "*"); }
  friend Rational operator/(const Rational& a, const Rational& b) {
    detail::require(!b.is_zero(), "division by zero");
    return adopt(kovrix_rational_div(a.get("/"), b.get("/")), "/");
  }
  friend Rational operator-(const Rational& a) { return a.apply(kovrix_rational_neg, "negate"); }

  friend int compare(const Rational& a, const Rational& b) {
    return kovrix_rational_cmp(a.get("compare"), b.get("compare"));
  }

  Rational apply(kovrix_rational* (*export_)(const kovrix_rational*), const char* what) const {
    return adopt(export_(get(what)), what);
  }

 private:
  Rational(kovrix_rational* h, const char* what) : Base(h, what) {}

  static kovrix_rational* fromParts(const BigInt& num, const BigInt& den) {
    detail::init();
    detail::require(den != 0, "zero denominator");
    return kovrix_rational_from_bigint(num.handle(), den.handle());
  }
  static kovrix_rational* fromText(std::string_view text);
};

Rational abs(const Rational& a);
int compare(const Rational& a, const Rational& b);
inline Rational abs(const Rational& a) { return a.apply(kovrix_rational_abs, "abs"); }

inline kovrix_rational* Rational::fromText(std::string_view text) {
  const std::size_t slash = text.find('/');
  if (slash != std::string_view::npos)
    return fromParts(BigInt(text.substr(0, slash)), BigInt(text.substr(slash + 1)));
  std::string digits;
  long exponent = 0;
  if (!detail::splitDecimal(text, digits, exponent)) return nullptr;
  return exponent >= 0 ? fromParts(BigInt(digits) * detail::powerOfTen(exponent), 1)
                       : fromParts(BigInt(digits), detail::powerOfTen(-exponent));
}

/// The Rational series functions (a fixed count of terms, so an exact
/// rational close to the function).  ln, sqrt and pow reject their domain
/// before the call; other failures are an Error after it.
#define KOVRIX_HPP_RATIONAL_FUNCTION(name, cexport) \
  inline Rational name(const Rational& x) { return x.apply(cexport, #name); }
KOVRIX_HPP_RATIONAL_FUNCTION(sin, kovrix_rational_sin)
KOVRIX_HPP_RATIONAL_FUNCTION(cos, kovrix_rational_cos)
KOVRIX_HPP_RATIONAL_FUNCTION(tan, kovrix_rational_tan)
KOVRIX_HPP_RATIONAL_FUNCTION(exp, kovrix_rational_exp)
KOVRIX_HPP_RATIONAL_FUNCTION(atan, kovrix_rational_atan)
#undef KOVRIX_HPP_RATIONAL_FUNCTION
inline Rational ln(const Rational& x) {
  detail::require(x > Rational(0), "logarithm of a value <= 0");
  return x.apply(kovrix_rational_ln, "ln");
}
inline Rational sqrt(const Rational& x) {
  detail::require(x >= Rational(0), "square root of a negative value");
  return x.apply(kovrix_rational_sqrt, "sqrt");
}
inline Rational atan2(const Rational& y, const Rational& x) {
  return Rational::adopt(kovrix_rational_atan2(y.handle(), x.handle()), "atan2");
}
inline Rational pow(const Rational& base, const Rational& exponent) {
  detail::require(base > Rational(0), "power of a base <= 0");
  return Rational::adopt(kovrix_rational_pow(base.handle(), exponent.handle()), "pow");
}

// ==== Interval ===============================================================

/// A closed interval [lo, hi] of float64 bounds; every operation moves its
/// bounds outward, so the exact result lies inside.  Not validated: lo > hi
/// or a NaN bound makes an invalid interval (is_valid()).
class Interval : public detail::Compound<Interval> {
 public:
  constexpr Interval() noexcept = default;
  Interval(double lo, double hi) : v_(kovrix_interval_from_f64(lo, hi)) {}
  /// The point interval [x, x].
  Interval(double x) : Interval(x, x) {}  // NOLINT: implicit, like a double
  /// An interval holding the value: its double widened by two steps each way.
  explicit Interval(const BigInt& x) : v_(kovrix_interval_from_bigint(x.handle())) {}
  explicit Interval(const BigFloat& x) : v_(kovrix_interval_from_bigfloat(x.handle())) {}
  explicit Interval(const Rational& x) : v_(kovrix_interval_from_rational(x.handle())) {}
  static constexpr Interval from_c(kovrix_interval v) noexcept { return Interval(v); }

  double lo() const noexcept { return v_.lo; }
  double hi() const noexcept { return v_.hi; }
  kovrix_interval c() const noexcept { return v_; }
  bool is_valid() const { return kovrix_interval_is_valid(v_) == 1; }
  double width() const { return kovrix_interval_width(v_); }
  double midpoint() const { return kovrix_interval_midpoint(v_); }
  bool contains(double x) const { return kovrix_interval_contains(v_, x) == 1; }
  bool contains(const Interval& b) const { return kovrix_interval_contains_interval(v_, b.v_) == 1; }
  bool overlaps(const Interval& b) const { return kovrix_interval_overlaps(v_, b.v_) == 1; }
  std::string to_string() const {
    char text[64];
    std::snprintf(text, sizeof text, "[%.17g, %.17g]", v_.lo, v_.hi);
    return text;
  }

  friend Interval operator+(const Interval& a, const Interval& b) { return Interval(kovrix_interval_add(a.v_, b.v_)); }
  friend Interval operator-(const Interval& a, const Interval& b) { return Interval(kovrix_interval_sub(a.v_, b.v_)); }
  friend Interval operator*(const Interval& a, const Interval& b) { return Interval(kovrix_interval_mul(a.v_, b.v_)); }
  /// (-inf, +inf) when b holds 0.
  friend Interval operator/(const Interval& a, const Interval& b) { return Interval(kovrix_interval_div(a.v_, b.v_)); }
  friend Interval operator-(const Interval& a) { return Interval(kovrix_interval_neg(a.v_)); }
  /// The same bounds (not set inclusion).
  friend bool operator==(const Interval& a, const Interval& b) { return a.v_.lo == b.v_.lo && a.v_.hi == b.v_.hi; }
  friend bool operator!=(const Interval& a, const Interval& b) { return !(a == b); }
  friend std::ostream& operator<<(std::ostream& out, const Interval& a) { return out << a.to_string(); }

 private:
  explicit constexpr Interval(kovrix_interval v) noexcept : v_(v) {}
  kovrix_interval v_{0.0, 0.0};
};

inline Interval hull(const Interval& a, const Interval& b) { return Interval::from_c(kovrix_interval_hull(a.c(), b.c())); }
/// Disjoint intervals give an invalid interval (lo > hi).
inline Interval intersect(const Interval& a, const Interval& b) {
  return Interval::from_c(kovrix_interval_intersect(a.c(), b.c()));
}
/// (NaN, NaN) for an interval below 0.
inline Interval sqrt(const Interval& x) { return Interval::from_c(kovrix_interval_sqrt(x.c())); }
inline Interval pow(const Interval& x, int n) { return Interval::from_c(kovrix_interval_pow(x.c(), n)); }
inline Interval exp(const Interval& x) { return Interval::from_c(kovrix_interval_exp(x.c())); }
inline Interval ln(const Interval& x) { return Interval::from_c(kovrix_interval_ln(x.c())); }
inline Interval atan(const Interval& x) { return Interval::from_c(kovrix_interval_arctan(x.c())); }
inline Interval atan2(const Interval& y, const Interval& x) {
  return Interval::from_c(kovrix_interval_arctan2(y.c(), x.c()));
}
inline Interval sin(const Interval& x) { return Interval::from_c(kovrix_interval_sin(x.c())); }
inline Interval cos(const Interval& x) { return Interval::from_c(kovrix_interval_cos(x.c())); }

}  // namespace kovrix

#endif  // KOVRIX_HPP

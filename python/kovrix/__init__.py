"""kovrix from Python: exact integers, fixed point, intervals and the float64
kernels of libkovrix, through ctypes (no build step).

    >>> import kovrix
    >>> kovrix.BigInt(2) ** 100
    BigInt(1267650600228229401496703205376)

Classes: ``BigInt`` (a handle, released when the object goes away), ``Fixed``
(a raw int64 and its fraction bits), ``Interval`` (two float64 bounds,
outward rounding); the float64 kernels are functions of this module
(``taylor_sin_f64``, ``gamma`` ...), and ``lib`` is the library itself with
every export typed (``kovrix._capi`` holds the one table of signatures).

Failures.  A failure the C interface makes distinguishable (a NULL handle,
an argument it rejects, which is checked before the call) raises an
exception: ``ValueError`` for invalid text, ``ZeroDivisionError`` for a zero
divisor, ``OverflowError`` for a value outside a C type, ``KovrixError`` (a
``RuntimeError``) for any other failure.  A 0 that may be a result (a
comparison, a Fixed value, an interval bound) is a result, and a NaN the
library documents as a domain answer is a value.  After turning a failure
into an exception the binding clears the thread's pending error by calling
``kovrix_fixed_sin(0)``, one of the exports documented to clear every kind,
so the thread stays usable.

Process-wide effects.  Importing this package calls ``kovrix_init`` once.
It installs handlers for SIGINT, SIGSEGV, SIGABRT, SIGFPE and SIGILL in the
interpreter, which print a one-line message on stderr and then hand the
signal back to the disposition the interpreter had before: the first Ctrl-C
prints "SIGINT: Interrupted by Ctrl-C." and raises KeyboardInterrupt as
usual, and later ones go to Python's handler directly; the fatal signals end
the process as they would have.  SIGPIPE is ignored from then on (a plain
interpreter ignores it already; a host embedding Python that relied on it
loses it).
"""
import ctypes
import decimal
import math
import numbers
from fractions import Fraction

from ._capi import has, kovrix_interval, lib

__all__ = ["KovrixError", "BigInt", "BigFloat", "Rational", "Fixed", "Interval", "lib", "has", "version"]

lib.kovrix_init()


class KovrixError(RuntimeError):
    """A failure reported by the library."""


def version():
    """The library's version text, e.g. '1.0.0'."""
    return lib.kovrix_version().decode()


def _fail(message, kind=KovrixError):
    # kovrix_fixed_sin clears whatever error is pending on this thread.
    lib.kovrix_fixed_sin(0)
    raise kind(message)


def _check(ok, message, kind=KovrixError):
    if not ok:
        _fail(message, kind)


_INT64_MIN, _INT64_MAX = -(1 << 63), (1 << 63) - 1
_INT_RANGES = {ctypes.c_int32: 32, ctypes.c_int64: 64, ctypes.c_int: 32}


def _c_int(value, bits=64):
    value = int(value)
    _check(-(1 << (bits - 1)) <= value < (1 << (bits - 1)), f"{value} does not fit in int{bits}", OverflowError)
    return value


def _scalar_function(name, doc):
    """A Python function for an export on plain numbers, its integers range-checked."""
    fn = getattr(lib, "kovrix_" + name)
    bits = [_INT_RANGES.get(t) for t in fn.argtypes]

    def call(*args):
        _check(len(args) == len(bits), f"{name} takes {len(bits)} arguments", TypeError)
        return fn(*(_c_int(a, b) if b else float(a) for a, b in zip(args, bits)))

    call.__name__ = name
    call.__doc__ = doc
    return call


class _Ordered:
    """The six comparisons from one three-way _compare(other, test)."""
    __slots__ = ()

    def __eq__(self, o): return self._compare(o, lambda c: c == 0)
    def __ne__(self, o): return self._compare(o, lambda c: c != 0)
    def __lt__(self, o): return self._compare(o, lambda c: c < 0)
    def __le__(self, o): return self._compare(o, lambda c: c <= 0)
    def __gt__(self, o): return self._compare(o, lambda c: c > 0)
    def __ge__(self, o): return self._compare(o, lambda c: c >= 0)


class _Handle(_Ordered):
    """Owns one handle of the family named by ``_family`` ("bigint" ...):
    released when the object goes away."""
    __slots__ = ("_h",)
    _family = None

    @classmethod
    def _adopt(cls, h, what):
        _check(h, f"{cls.__name__} {what} failed")
        obj = cls.__new__(cls)
        obj._h = h
        return obj

    def __del__(self):
        h = getattr(self, "_h", None)
        if h and lib is not None:
            getattr(lib, f"kovrix_{self._family}_destroy")(h)

    def _binary(self, export, other, reflected=False):
        other = self._coerce(other)
        if other is None:
            return NotImplemented
        a, b = (other, self) if reflected else (self, other)
        if export.__name__.endswith("_div"):
            _check(b, f"{type(self).__name__} division by zero", ZeroDivisionError)
        return type(self)._adopt(export(a._h, b._h), export.__name__)

    def _compare(self, other, test):
        other = self._coerce(other)
        if other is None:
            return NotImplemented
        return test(getattr(lib, f"kovrix_{self._family}_cmp")(self._h, other._h))


def _operators(cls, **exports):
    """cls.__op__ and cls.__rop__ through cls._binary for each op=export."""
    for op, name in exports.items():
        export = getattr(lib, name)
        setattr(cls, f"__{op}__", lambda self, o, e=export: self._binary(e, o))
        setattr(cls, f"__r{op}__", lambda self, o, e=export: self._binary(e, o, True))


def _methods(cls, **exports):
    """One method per name=export of a one-handle export returning a new handle."""
    for name, export_name in exports.items():
        def method(self, fn=getattr(lib, export_name), name=name):
            return cls._adopt(fn(self._h), name)
        method.__name__ = name
        method.__doc__ = f"{export_name} of this value."
        setattr(cls, name, method)


def _copy_by_negation(family, h):
    # Negation is exact, so negating twice copies the value.
    neg, destroy = getattr(lib, f"kovrix_{family}_neg"), getattr(lib, f"kovrix_{family}_destroy")
    n = neg(h)
    r = neg(n)
    destroy(n)
    return r


# ==== BigInt =================================================================

class BigInt(_Handle):
    """An exact integer of any size, with Python's operators.

    ``//`` and ``%`` follow Python (floor); ``tdiv`` and ``tmod`` give the
    library's truncated quotient and remainder.  int(), float() (correctly
    rounded, through Python's int), hashing and comparisons with int work.
    """
    __slots__ = ()
    _family = "bigint"
    _coerce = staticmethod(lambda x: _to_bigint(x))

    def __init__(self, value=0):
        if isinstance(value, BigInt):
            h = lib.kovrix_bigint_shl(value._h, 0)
        elif isinstance(value, str):
            h = lib.kovrix_bigint_from_decimal(value.encode())
            _check(h, f"invalid decimal text {value!r}", ValueError)
        elif isinstance(value, (numbers.Integral, float, Fraction)):
            value = int(value)  # exact; truncates floats and fractions, as int() does
            if _INT64_MIN <= value <= _INT64_MAX:
                h = lib.kovrix_bigint_from_i64(value)
            else:
                # high * 2^k + low, halves built alike: no decimal text, whose
                # length Python limits.
                k = max(62, value.bit_length() // 124 * 62)
                whole = (BigInt(value >> k) << k) + BigInt(value & ((1 << k) - 1))
                h = lib.kovrix_bigint_shl(whole._h, 0)
        else:
            raise TypeError(f"cannot make a BigInt from {type(value).__name__}")
        _check(h, "BigInt construction failed")
        self._h = h

    def __str__(self):
        # The buffer grows by large steps; every retry converts the whole number again.
        size = 256
        while True:
            buf = ctypes.create_string_buffer(size)
            n = lib.kovrix_bigint_to_decimal(self._h, buf, size)
            if n > 0:
                return buf.value.decode()
            _check(n == -1 and size < (1 << 31), "decimal text failed")
            size = min(size * 64, 1 << 31)

    def __repr__(self):
        return f"BigInt({self})"

    def __int__(self):
        ok = ctypes.c_int(0)
        v = lib.kovrix_bigint_to_i64(self._h, ctypes.byref(ok))
        return v if ok.value == 1 else _int_from_decimal(str(self))

    __index__ = __int__

    def __float__(self):
        return float(int(self))

    def __hash__(self):
        return hash(int(self))

    def __bool__(self):
        return self._cmp(_ZERO) != 0

    def _cmp(self, other):
        return lib.kovrix_bigint_cmp(self._h, other._h)

    def tdiv(self, other):
        """The quotient truncated toward zero."""
        return self._divide(lib.kovrix_bigint_div, other)

    def tmod(self, other):
        """The remainder of tdiv (zero or the sign of self)."""
        return self._divide(lib.kovrix_bigint_mod, other)

    def _divide(self, export, other, reflected=False):
        other = _to_bigint(other)
        if other is None:
            return NotImplemented
        a, b = (other, self) if reflected else (self, other)
        _check(b._cmp(_ZERO) != 0, "BigInt division by zero", ZeroDivisionError)
        return BigInt._adopt(export(a._h, b._h), export.__name__)

    def __divmod__(self, other):
        other = _to_bigint(other)
        if other is None:
            return NotImplemented
        q, r = self.tdiv(other), self.tmod(other)
        if r and (r._cmp(_ZERO) < 0) != (other._cmp(_ZERO) < 0):
            q, r = q - 1, r + other  # floor division, as Python's int
        return q, r

    def __rdivmod__(self, other):
        other = _to_bigint(other)
        return NotImplemented if other is None else divmod(other, self)

    def __floordiv__(self, o):
        r = self.__divmod__(o)
        return r if r is NotImplemented else r[0]

    def __rfloordiv__(self, o):
        r = self.__rdivmod__(o)
        return r if r is NotImplemented else r[0]

    def __mod__(self, o):
        r = self.__divmod__(o)
        return r if r is NotImplemented else r[1]

    def __rmod__(self, o):
        r = self.__rdivmod__(o)
        return r if r is NotImplemented else r[1]

    def __pow__(self, exponent):
        """Repeated squaring with the library's products; exponent >= 0."""
        exponent = int(exponent)
        _check(exponent >= 0, "negative exponent", ValueError)
        result, base = BigInt(1), self
        while exponent:
            if exponent & 1:
                result = result * base
            exponent >>= 1
            if exponent:
                base = base * base
        return result

    def __neg__(self): return BigInt._adopt(lib.kovrix_bigint_neg(self._h), "negation")
    def __pos__(self): return self
    def __abs__(self): return BigInt._adopt(lib.kovrix_bigint_abs(self._h), "abs")

    def _shift(self, export, n):
        n = int(n)
        _check(n >= 0, "negative shift count", ValueError)
        return BigInt._adopt(export(self._h, _c_int(n, 32)), "shift")

    def __lshift__(self, n): return self._shift(lib.kovrix_bigint_shl, n)
    def __rshift__(self, n): return self._shift(lib.kovrix_bigint_shr, n)



_operators(BigInt, add="kovrix_bigint_add", sub="kovrix_bigint_sub", mul="kovrix_bigint_mul")


def _int_from_decimal(text, chunk=4000):
    """int(text) in pieces below Python's limit on the digits of one conversion."""
    sign, digits = (-1, text[1:]) if text.startswith("-") else (1, text)
    value = 0
    for i in range(0, len(digits), chunk):
        piece = digits[i:i + chunk]
        value = value * 10 ** len(piece) + int(piece)
    return sign * value


def _to_bigint(x):
    if isinstance(x, BigInt):
        return x
    if isinstance(x, numbers.Integral):
        return BigInt(x)
    return None


_ZERO = BigInt(0)


# ==== Fixed ==================================================================

_Q32_FUNCTIONS = ("sin", "cos", "tan", "exp", "ln", "sqrt", "atan", "sinh", "cosh", "tanh", "asin", "acos",
                  "asinh", "acosh", "atanh", "erf", "bessel_j0")
_Q32_KERNELS = ("cordic_sin", "cordic_cos", "lut_sin", "lut_cos", "chebyshev_tan", "cordic_sinh", "cordic_cosh",
                "cordic_tanh", "cordic_exp")


class Fixed(_Ordered):
    """A fixed-point number raw / 2**frac_bits, 0 <= frac_bits <= 63 (Q32.32 by
    default).  Arithmetic is the library's: exact, then saturated to int64;
    both operands need the same fraction bits.  The elementary functions
    (x.sin(), x.cordic_sin(), Fixed.atan2(y, x) ...) take Q32.32 values and
    return 0 for their domain errors, as the library does.
    """
    __slots__ = ("raw", "frac_bits")

    def __init__(self, value=0, frac_bits=32):
        _check(isinstance(frac_bits, numbers.Integral) and 0 <= frac_bits <= 63, "fraction bits outside 0..63", ValueError)
        if isinstance(value, numbers.Integral):
            # Beyond int64 the result saturates either way.
            raw = lib.kovrix_fixed_from_int(min(max(int(value), _INT64_MIN), _INT64_MAX), frac_bits)
        else:
            # Exactly, in Python: the nearest raw value (ties to even), saturated.
            _check(not (isinstance(value, float) and math.isnan(value)), "NaN has no fixed-point value", ValueError)
            if isinstance(value, float) and math.isinf(value):
                raw = _INT64_MAX if value > 0 else _INT64_MIN
            else:
                raw = min(max(round(Fraction(value) * (1 << frac_bits)), _INT64_MIN), _INT64_MAX)
        self.raw, self.frac_bits = raw, frac_bits

    @classmethod
    def from_raw(cls, raw, frac_bits=32):
        f = cls(0, frac_bits)
        f.raw = _c_int(raw)
        return f

    @classmethod
    def pi(cls):
        return cls.from_raw(lib.kovrix_pi_fixed())

    @classmethod
    def e(cls):
        return cls.from_raw(lib.kovrix_e_fixed())

    def as_integer_ratio(self):
        return Fraction(self.raw, 1 << self.frac_bits).as_integer_ratio()

    # numerator and denominator make a Fixed a numbers.Rational, so that
    # Fraction(x) and mixed arithmetic with fractions are exact.
    numerator = property(lambda self: self.as_integer_ratio()[0])
    denominator = property(lambda self: self.as_integer_ratio()[1])

    def __float__(self):
        return self.raw / (1 << self.frac_bits)  # correctly rounded

    def __int__(self):
        """Truncated toward zero, as int() of a float."""
        return int(Fraction(*self.as_integer_ratio()))

    def __repr__(self):
        return f"Fixed.from_raw({self.raw}, {self.frac_bits})"

    def __str__(self):
        return repr(float(self))

    def __hash__(self):
        return hash(Fraction(*self.as_integer_ratio()))

    def _same(self, other):
        if isinstance(other, numbers.Integral):
            other = Fixed(other, self.frac_bits)
        if not isinstance(other, Fixed):
            return None
        _check(other.frac_bits == self.frac_bits, "operands with different fraction bits", ValueError)
        return other

    def _q32(self):
        _check(self.frac_bits == 32, "this function takes Q32.32 values", ValueError)
        return self.raw

    def _arith(self, other, compute, reflected=False):
        other = self._same(other)
        if other is None:
            return NotImplemented
        a, b = (other, self) if reflected else (self, other)
        return Fixed.from_raw(compute(a, b), self.frac_bits)

    def __add__(self, o): return self._arith(o, lambda a, b: lib.kovrix_fixed_add(a.raw, b.raw))
    def __radd__(self, o): return self._arith(o, lambda a, b: lib.kovrix_fixed_add(a.raw, b.raw), True)
    def __sub__(self, o): return self._arith(o, lambda a, b: lib.kovrix_fixed_sub(a.raw, b.raw))
    def __rsub__(self, o): return self._arith(o, lambda a, b: lib.kovrix_fixed_sub(a.raw, b.raw), True)
    def __mul__(self, o): return self._arith(o, lambda a, b: lib.kovrix_fixed_mul(a.raw, b.raw, a.frac_bits))
    def __rmul__(self, o): return self._arith(o, lambda a, b: lib.kovrix_fixed_mul(a.raw, b.raw, a.frac_bits), True)

    @staticmethod
    def _div(a, b):
        _check(b.raw != 0, "Fixed division by zero", ZeroDivisionError)
        return lib.kovrix_fixed_div(a.raw, b.raw, a.frac_bits)

    @staticmethod
    def _mod(a, b):
        _check(b.raw != 0, "Fixed modulo by zero", ZeroDivisionError)
        return lib.kovrix_fixed_floor_mod(a.raw, b.raw)

    def __truediv__(self, o): return self._arith(o, Fixed._div)
    def __rtruediv__(self, o): return self._arith(o, Fixed._div, True)
    def __mod__(self, o): return self._arith(o, Fixed._mod)
    def __rmod__(self, o): return self._arith(o, Fixed._mod, True)
    def __neg__(self): return Fixed.from_raw(lib.kovrix_fixed_sub(0, self.raw), self.frac_bits)
    def __abs__(self): return Fixed.from_raw(lib.kovrix_fixed_abs(self.raw), self.frac_bits)

    def sign(self): return lib.kovrix_fixed_sign(self.raw)
    def floor(self): return Fixed.from_raw(lib.kovrix_fixed_floor(self._q32()))
    def ceil(self): return Fixed.from_raw(lib.kovrix_fixed_ceil(self._q32()))
    def round(self): return Fixed.from_raw(lib.kovrix_fixed_round(self._q32()))

    def clamp(self, lo, hi):
        lo, hi = self._same(lo), self._same(hi)
        return Fixed.from_raw(lib.kovrix_fixed_clamp(self.raw, lo.raw, hi.raw), self.frac_bits)

    def lerp(self, other, t):
        """self + (other - self) * t, t a Q32.32 Fixed."""
        other = self._same(other)
        return Fixed.from_raw(lib.kovrix_fixed_lerp(self.raw, other.raw, t._q32()), self.frac_bits)

    @staticmethod
    def atan2(y, x): return Fixed.from_raw(lib.kovrix_fixed_atan2(y._q32(), x._q32()))

    @staticmethod
    def cordic_atan2(y, x): return Fixed.from_raw(lib.kovrix_cordic_atan2(y._q32(), x._q32()))

    def __pow__(self, exponent):
        return Fixed.from_raw(lib.kovrix_fixed_pow(self._q32(), self._same(exponent)._q32()))

    @staticmethod
    def factorial(n): return Fixed.from_raw(lib.kovrix_fixed_factorial(_c_int(n, 32)))

    def _compare(self, other, test):
        other = self._same(other)
        return NotImplemented if other is None else test(lib.kovrix_fixed_cmp(self.raw, other.raw))



numbers.Rational.register(Fixed)


def _q32_method(export):
    fn = getattr(lib, export)

    def method(self):
        return Fixed.from_raw(fn(self._q32()))

    method.__name__ = export
    method.__doc__ = f"{export} of this Q32.32 value."
    return method


for _name in _Q32_FUNCTIONS:
    setattr(Fixed, _name, _q32_method("kovrix_fixed_" + _name))
for _name in _Q32_KERNELS:
    setattr(Fixed, _name, _q32_method("kovrix_" + _name))


# ==== float64 kernels ========================================================

_F64_KERNELS = {
    "sqrt_newton_f64": "sqrt x by 20 Heron steps.",
    "exp_taylor_f64": "e**x by 15 Taylor terms.",
    "ln_taylor_f64": "ln(1 + x) by 14 terms (not ln x).",
    "taylor_sin_f64": "sin x by 5 Taylor terms.",
    "taylor_cos_f64": "cos x by 5 Taylor terms.",
    "taylor_atan_f64": "atan x by 10 Taylor terms.",
    "chebyshev_t": "Chebyshev T_n(x) (n, x).",
    "chebyshev_u": "Chebyshev U_n(x) (n, x).",
    "legendre": "Legendre P_n(x) (n, x).",
    "hermite": "Hermite H_n(x) (n, x).",
    "erf": "erf x by 15 Maclaurin terms.",
    "gamma": "Gamma(x) by the Lanczos approximation.",
    "factorial": "n! as a float64 product.",
    "bessel_j0": "J0(x) by 15 series terms.",
    "ln_generic_f64": "ln x through a 256-bit BigFloat.",
}
for _name, _doc in _F64_KERNELS.items():
    if has("kovrix_" + _name):
        globals()[_name] = _scalar_function(_name, _doc)
        __all__.append(_name)


# ==== BigFloat ===============================================================

class BigFloat(_Handle):
    """Binary floating point with a 256-bit mantissa; every result is rounded
    to nearest, ties away from zero.  No infinity, NaN or negative zero.

    BigFloat(x) takes an int (rounded to 256 bits), a float (exact), a
    Fraction, a numeric string or a Rational (rounded to nearest, ties away
    from zero, exactly in Python).  Fraction(x) and float(x) are exact and
    correctly rounded; str(x) gives 78 significant digits, enough to tell any
    two values apart, and repr(x) the exact value.
    """
    __slots__ = ()
    _family = "bigfloat"
    _coerce = staticmethod(lambda x: _to_bigfloat(x))

    def __init__(self, value=0):
        if isinstance(value, BigFloat):
            h = _copy_by_negation("bigfloat", value._h)
        elif isinstance(value, float):
            _check(math.isfinite(value), f"{value} has no BigFloat value", ValueError)
            h = lib.kovrix_bigfloat_from_f64(value)
        elif isinstance(value, numbers.Integral) and _INT64_MIN <= value <= _INT64_MAX:
            h = lib.kovrix_bigfloat_from_i64(int(value))
        elif isinstance(value, (numbers.Rational, str)):
            h = _bigfloat_from_fraction(Fraction(value))
        else:
            raise TypeError(f"cannot make a BigFloat from {type(value).__name__}")
        _check(h, "BigFloat construction failed")
        self._h = h

    @classmethod
    def pi(cls):
        return cls._adopt(lib.kovrix_pi_bigfloat(), "pi")

    @classmethod
    def e(cls):
        return cls._adopt(lib.kovrix_e_bigfloat(), "e")

    def as_integer_ratio(self):
        # The exact sum of the doubles c1, c2, ...: each the nearest double to
        # what the earlier ones leave; every subtraction is exact, so at most
        # six steps of 53 bits reach zero for a 256-bit mantissa.
        total, rest = Fraction(0), self
        for _ in range(8):
            if lib.kovrix_bigfloat_is_zero(rest._h):
                return total.as_integer_ratio()
            c = lib.kovrix_bigfloat_to_f64(rest._h)
            _check(math.isfinite(c) and c != 0.0, "BigFloat beyond the float64 exponent range", OverflowError)
            total += Fraction(c)
            rest = rest - BigFloat(c)
        _fail("BigFloat value not reached")

    numerator = property(lambda self: self.as_integer_ratio()[0])
    denominator = property(lambda self: self.as_integer_ratio()[1])

    def __float__(self):
        return lib.kovrix_bigfloat_to_f64(self._h)

    def __int__(self):
        """Truncated toward zero (-2.5 gives -2), exact."""
        return int(BigInt._adopt(lib.kovrix_bigint_from_bigfloat(self._h), "integer part"))

    __trunc__ = __int__

    def __bool__(self):
        return lib.kovrix_bigfloat_is_zero(self._h) != 1

    def __hash__(self):
        return hash(Fraction(*self.as_integer_ratio()))

    def __str__(self):
        n, d = self.as_integer_ratio()
        with decimal.localcontext() as ctx:
            ctx.prec = 78
            return str(decimal.Decimal(n) / decimal.Decimal(d))

    def __repr__(self):
        n, d = self.as_integer_ratio()
        with decimal.localcontext() as ctx:
            ctx.prec = 2000  # a power-of-two denominator: the quotient is exact
            return f"BigFloat('{decimal.Decimal(n) / decimal.Decimal(d)}')"

    def __neg__(self): return BigFloat._adopt(lib.kovrix_bigfloat_neg(self._h), "negation")
    def __pos__(self): return self
    def __abs__(self): return BigFloat._adopt(lib.kovrix_bigfloat_abs(self._h), "abs")

    def __pow__(self, y):
        """x ** k (an int: binary powering) or x ** y = exp(y ln x) for x > 0."""
        if isinstance(y, numbers.Integral) and -(1 << 31) <= y < (1 << 31):
            _check(y >= 0 or self, "negative power of zero", ZeroDivisionError)
            return BigFloat._adopt(lib.kovrix_bigfloat_pow_int(self._h, int(y)), "pow_int")
        y = _to_bigfloat(y)
        if y is None:
            return NotImplemented
        _check(self > 0, "power of a base <= 0", ValueError)
        return BigFloat._adopt(lib.kovrix_bigfloat_pow(self._h, y._h), "pow")


    def ln(self):
        _check(self > 0, "logarithm of a value <= 0", ValueError)
        return BigFloat._adopt(lib.kovrix_bigfloat_ln(self._h), "ln")

    def ln_generic(self):
        _check(self > 0, "logarithm of a value <= 0", ValueError)
        return BigFloat._adopt(lib.kovrix_ln_generic_bigfloat(self._h), "ln_generic")

    def sqrt(self):
        _check(self >= 0, "square root of a negative value", ValueError)
        return BigFloat._adopt(lib.kovrix_bigfloat_sqrt(self._h), "sqrt")

    def sqrt_newton(self):
        _check(self >= 0, "square root of a negative value", ValueError)
        return BigFloat._adopt(lib.kovrix_sqrt_newton_bigfloat(self._h), "sqrt_newton")

    @staticmethod
    def atan2(y, x):
        y, x = _to_bigfloat(y), _to_bigfloat(x)
        return BigFloat._adopt(lib.kovrix_bigfloat_arctan2(y._h, x._h), "atan2")


_operators(BigFloat, add="kovrix_bigfloat_add", sub="kovrix_bigfloat_sub", mul="kovrix_bigfloat_mul",
           truediv="kovrix_bigfloat_div")
_methods(BigFloat, sin="kovrix_bigfloat_sin", cos="kovrix_bigfloat_cos", tan="kovrix_bigfloat_tan",
         exp="kovrix_bigfloat_exp", atan="kovrix_bigfloat_arctan", reduce="kovrix_bigfloat_reduce",
         exp_taylor="kovrix_exp_taylor_bigfloat")
numbers.Rational.register(BigFloat)


def _bigfloat_from_fraction(q):
    """q rounded to 256 bits, to nearest with ties away from zero (as the
    library rounds), built exactly: the 256-bit integer m, then m * 2^e by an
    exact multiplication by a power of two."""
    if q == 0:
        return lib.kovrix_bigfloat_from_i64(0)
    sign, q = (-1 if q < 0 else 1), abs(q)
    e = q.numerator.bit_length() - q.denominator.bit_length() - 256
    while q >= Fraction(1 << 256) * Fraction(2) ** e:
        e += 1
    while q < Fraction(1 << 255) * Fraction(2) ** e:
        e -= 1
    scaled = q / Fraction(2) ** e
    m = math.floor(scaled + Fraction(1, 2))  # ties away from zero on the magnitude
    if m == 1 << 256:
        m, e = 1 << 255, e + 1
    # The BigInt objects are kept in names so that they outlive the calls.
    m_int, p_int = BigInt(sign * m), BigInt(1 << abs(e))
    mantissa = BigFloat._adopt(lib.kovrix_bigfloat_from_bigint(m_int._h), "from BigInt")
    power = BigFloat._adopt(lib.kovrix_bigfloat_from_bigint(p_int._h), "power of two")
    export = lib.kovrix_bigfloat_mul if e >= 0 else lib.kovrix_bigfloat_div
    return export(mantissa._h, power._h)


def _to_bigfloat(x):
    if isinstance(x, BigFloat):
        return x
    if isinstance(x, (numbers.Rational, float, BigInt)):
        return BigFloat(int(x) if isinstance(x, BigInt) else x)
    return None


# ==== Rational ===============================================================

class Rational(_Handle):
    """An exact fraction of two BigInts in lowest terms, with Python's
    operators and the library's series functions (sin, exp, ln, sqrt ...: a
    fixed count of terms, giving an exact rational close to the function).

    Rational(x) takes an int, a float or a Fixed (exactly), a Fraction, a
    string ("3/4", "-1.25e-3", exactly) or a BigInt; Fraction(x), float(x)
    (correctly rounded, through Fraction), int(x) (truncated) and comparisons
    with those types are exact.  to_bigfloat() and to_fixed() are the
    library's conversions.
    """
    __slots__ = ()
    _family = "rational"
    _coerce = staticmethod(lambda x: _to_rational(x))

    def __init__(self, value=0, denominator=None):
        if isinstance(value, Rational) and denominator is None:
            h = _copy_by_negation("rational", value._h)
        else:
            if denominator is not None:
                value = Fraction(int(value), int(denominator)) if int(denominator) else None
                _check(value is not None, "zero denominator", ZeroDivisionError)
            elif isinstance(value, float):
                self._h = lib.kovrix_rational_from_f64(value)  # NULL for NaN and the infinities
                _check(self._h, f"{value} has no Rational value", ValueError)
                return
            elif isinstance(value, Fixed):
                self._h = lib.kovrix_rational_from_fixed(value.raw, value.frac_bits)
                _check(self._h, "Rational from Fixed failed")
                return
            elif not isinstance(value, (numbers.Rational, float, str, BigInt)):
                raise TypeError(f"cannot make a Rational from {type(value).__name__}")
            q = Fraction(int(value)) if isinstance(value, BigInt) else Fraction(value)
            num, den = BigInt(q.numerator), BigInt(q.denominator)  # alive through the call
            h = lib.kovrix_rational_from_bigint(num._h, den._h)
        _check(h, "Rational construction failed")
        self._h = h

    @property
    def numerator(self):
        return int(BigInt._adopt(lib.kovrix_rational_num(self._h), "numerator"))

    @property
    def denominator(self):
        return int(BigInt._adopt(lib.kovrix_rational_den(self._h), "denominator"))

    def as_integer_ratio(self):
        return self.numerator, self.denominator

    def __float__(self):
        return float(Fraction(self.numerator, self.denominator))

    def __int__(self):
        """Truncated toward zero, as int() of a Fraction."""
        return int(BigInt._adopt(lib.kovrix_bigint_from_rational(self._h), "integer part"))

    __trunc__ = __int__

    def to_bigfloat(self):
        """The library's BigFloat of the value: numerator and denominator each
        cut to their top 256 bits, then one division rounded to nearest (ties
        away from zero).  BigFloat(x) instead rounds the exact value once."""
        return BigFloat._adopt(lib.kovrix_bigfloat_from_rational(self._h), "from Rational")

    def to_fixed(self, frac_bits=32):
        """value * 2**frac_bits truncated toward zero; OverflowError for a
        magnitude of 2**63 or more (checked here: the library answers 0)."""
        _check(isinstance(frac_bits, numbers.Integral) and 0 <= frac_bits <= 63, "fraction bits outside 0..63", ValueError)
        bound = Rational(1 << (63 - frac_bits))
        _check(-bound < self < bound, "value outside the Fixed range", OverflowError)
        return Fixed.from_raw(lib.kovrix_fixed_from_rational(self._h, frac_bits), frac_bits)

    def __bool__(self):
        return lib.kovrix_rational_is_zero(self._h) != 1

    def __hash__(self):
        return hash(Fraction(self.numerator, self.denominator))

    def __str__(self):
        return str(Fraction(self.numerator, self.denominator))

    def __repr__(self):
        return f"Rational('{self}')"

    def __neg__(self): return Rational._adopt(lib.kovrix_rational_neg(self._h), "negation")
    def __pos__(self): return self
    def __abs__(self): return Rational._adopt(lib.kovrix_rational_abs(self._h), "abs")

    def __pow__(self, exponent):
        """base ** exponent = exp(exponent ln base) by the series, base > 0."""
        exponent = _to_rational(exponent)
        if exponent is None:
            return NotImplemented
        _check(self > 0, "power of a base <= 0", ValueError)
        return Rational._adopt(lib.kovrix_rational_pow(self._h, exponent._h), "pow")


    def ln(self):
        _check(self > 0, "logarithm of a value <= 0", ValueError)
        return Rational._adopt(lib.kovrix_rational_ln(self._h), "ln")

    def sqrt(self):
        _check(self >= 0, "square root of a negative value", ValueError)
        return Rational._adopt(lib.kovrix_rational_sqrt(self._h), "sqrt")

    @staticmethod
    def atan2(y, x):
        y, x = _to_rational(y), _to_rational(x)
        return Rational._adopt(lib.kovrix_rational_atan2(y._h, x._h), "atan2")


_operators(Rational, add="kovrix_rational_add", sub="kovrix_rational_sub", mul="kovrix_rational_mul",
           truediv="kovrix_rational_div")
_methods(Rational, sin="kovrix_rational_sin", cos="kovrix_rational_cos", tan="kovrix_rational_tan",
         exp="kovrix_rational_exp", atan="kovrix_rational_atan")
numbers.Rational.register(Rational)


def _to_rational(x):
    if isinstance(x, Rational):
        return x
    if isinstance(x, (numbers.Rational, float, BigInt)) and not (isinstance(x, float) and not math.isfinite(x)):
        return Rational(x)
    return None


# ==== Interval ===============================================================

class Interval:
    """A closed interval [lo, hi] of float64 bounds; every operation moves its
    bounds outward, so the exact result lies inside.  ``x in iv`` tests
    membership of a number or an interval.  Not validated: lo > hi or a NaN
    bound makes an invalid interval (is_valid()).
    """
    __slots__ = ("_v",)

    def __init__(self, lo, hi=None):
        self._v = lib.kovrix_interval_from_f64(_exact_double(lo), _exact_double(lo if hi is None else hi))

    @classmethod
    def enclosing(cls, x):
        """An interval holding the value of a BigInt, BigFloat or Rational:
        its double widened by two float64 steps each way."""
        for kind, export in ((BigInt, lib.kovrix_interval_from_bigint), (BigFloat, lib.kovrix_interval_from_bigfloat),
                             (Rational, lib.kovrix_interval_from_rational)):
            if isinstance(x, kind):
                return cls._of(export(x._h))
        raise TypeError(f"no enclosing interval for {type(x).__name__}")

    @classmethod
    def _of(cls, v):
        obj = cls.__new__(cls)
        obj._v = v
        return obj

    lo = property(lambda self: lib.kovrix_interval_lo(self._v))
    hi = property(lambda self: lib.kovrix_interval_hi(self._v))

    def __repr__(self):
        return f"Interval({self.lo!r}, {self.hi!r})"

    def __iter__(self):
        return iter((self.lo, self.hi))

    def is_valid(self): return lib.kovrix_interval_is_valid(self._v) == 1
    def width(self): return lib.kovrix_interval_width(self._v)
    def midpoint(self): return lib.kovrix_interval_midpoint(self._v)

    def __contains__(self, x):
        if isinstance(x, Interval):
            return lib.kovrix_interval_contains_interval(self._v, x._v) == 1
        return lib.kovrix_interval_contains(self._v, _exact_double(x)) == 1

    def overlaps(self, other): return lib.kovrix_interval_overlaps(self._v, _to_interval(other)._v) == 1
    def hull(self, other): return Interval._of(lib.kovrix_interval_hull(self._v, _to_interval(other)._v))
    def intersect(self, other): return Interval._of(lib.kovrix_interval_intersect(self._v, _to_interval(other)._v))

    def _binary(self, export, other, reflected=False):
        other = _to_interval(other)
        if other is None:
            return NotImplemented
        a, b = (other, self) if reflected else (self, other)
        return Interval._of(export(a._v, b._v))

    def __neg__(self): return Interval._of(lib.kovrix_interval_neg(self._v))
    def __pow__(self, n): return Interval._of(lib.kovrix_interval_pow(self._v, _c_int(n, 32)))

    def __eq__(self, other):
        other = _to_interval(other)
        return NotImplemented if other is None else (self.lo, self.hi) == (other.lo, other.hi)

    __hash__ = None

    def sqrt(self): return Interval._of(lib.kovrix_interval_sqrt(self._v))
    def exp(self): return Interval._of(lib.kovrix_interval_exp(self._v))
    def ln(self): return Interval._of(lib.kovrix_interval_ln(self._v))
    def atan(self): return Interval._of(lib.kovrix_interval_arctan(self._v))
    def sin(self): return Interval._of(lib.kovrix_interval_sin(self._v))
    def cos(self): return Interval._of(lib.kovrix_interval_cos(self._v))

    @staticmethod
    def atan2(y, x): return Interval._of(lib.kovrix_interval_arctan2(_to_interval(y)._v, _to_interval(x)._v))


_operators(Interval, add="kovrix_interval_add", sub="kovrix_interval_sub", mul="kovrix_interval_mul",
           truediv="kovrix_interval_div")


def _exact_double(x):
    """x as a double; an int or Fraction that no double equals is refused
    (an interval bound must not be moved inward by rounding)."""
    d = float(x)
    _check(isinstance(x, float) or not math.isfinite(d) or Fraction(d) == x,
           f"{x!r} is not exactly a double", ValueError)
    return d


def _to_interval(x):
    if isinstance(x, Interval):
        return x
    if isinstance(x, (float, numbers.Integral, Fraction)):
        return Interval(x)
    return None

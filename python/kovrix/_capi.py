"""The ctypes view of libkovrix: every export declared once, from one table.

The table below is the C signature of each of the 174 exports.  Each line is
parsed into the export's result and argument types, so a handle can never be
truncated by a forgotten ``restype``, and a handle of one family cannot be
passed where another family's is expected (each family has its own pointer
type).  An export missing from the loaded library is left out of ``lib`` and
reported by ``has``.

The library is loaded from, in this order: the file named by the environment
variable KOVRIX_LIBRARY; ``libkovrix.so.1`` next to this package or up to
three folders above it (an install puts the package under
<prefix>/lib/python3.X/...-packages and the library in <prefix>/lib); the
system loader (``ldconfig``, LD_LIBRARY_PATH).
"""
import ctypes
import os
import re
from pathlib import Path

SIGNATURES = """
int kovrix_init(void)
void kovrix_cleanup(void)
const char* kovrix_version(void)
const char* kovrix_get_error_string(int code)
kovrix_bigint* kovrix_bigint_from_i64(int64_t v)
kovrix_bigint* kovrix_bigint_from_decimal(const char* text)
int kovrix_bigint_to_decimal(const kovrix_bigint* x, char* buf, int64_t size)
kovrix_bigint* kovrix_bigint_add(const kovrix_bigint* a, const kovrix_bigint* b)
kovrix_bigint* kovrix_bigint_sub(const kovrix_bigint* a, const kovrix_bigint* b)
kovrix_bigint* kovrix_bigint_mul(const kovrix_bigint* a, const kovrix_bigint* b)
kovrix_bigint* kovrix_bigint_div(const kovrix_bigint* a, const kovrix_bigint* b)
kovrix_bigint* kovrix_bigint_mod(const kovrix_bigint* a, const kovrix_bigint* b)
kovrix_bigint* kovrix_bigint_neg(const kovrix_bigint* a)
kovrix_bigint* kovrix_bigint_abs(const kovrix_bigint* a)
int kovrix_bigint_cmp(const kovrix_bigint* a, const kovrix_bigint* b)
int64_t kovrix_bigint_to_i64(const kovrix_bigint* x, int* ok)
uint64_t kovrix_bigint_to_u64(const kovrix_bigint* x, int* ok)
kovrix_bigint* kovrix_bigint_shl(const kovrix_bigint* x, int n)
kovrix_bigint* kovrix_bigint_shr(const kovrix_bigint* x, int n)
void kovrix_bigint_destroy(kovrix_bigint* x)
void kovrix_udiv128(uint64_t hi, uint64_t lo, uint64_t d, uint64_t* q, uint64_t* r)
int kovrix_clz64(uint64_t x)
int64_t kovrix_isqrt_i64(int64_t n)
int64_t kovrix_fixed_from_int(int64_t value, int32_t fracBits)
int64_t kovrix_fixed_to_int(int64_t x, int32_t fracBits)
int64_t kovrix_fixed_add(int64_t a, int64_t b)
int64_t kovrix_fixed_sub(int64_t a, int64_t b)
int64_t kovrix_fixed_mul(int64_t a, int64_t b, int32_t fracBits)
int64_t kovrix_fixed_div(int64_t a, int64_t b, int32_t fracBits)
int32_t kovrix_fixed_cmp(int64_t a, int64_t b)
int64_t kovrix_fixed_abs(int64_t a)
int32_t kovrix_fixed_sign(int64_t a)
int64_t kovrix_fixed_clamp(int64_t x, int64_t lo, int64_t hi)
int64_t kovrix_fixed_floor_mod(int64_t a, int64_t m)
int64_t kovrix_fixed_floor(int64_t x)
int64_t kovrix_fixed_ceil(int64_t x)
int64_t kovrix_fixed_round(int64_t x)
int64_t kovrix_fixed_lerp(int64_t a, int64_t b, int64_t t)
int64_t kovrix_pi_fixed(void)
int64_t kovrix_e_fixed(void)
int64_t kovrix_cordic_sin(int64_t x)
int64_t kovrix_cordic_cos(int64_t x)
int64_t kovrix_cordic_atan2(int64_t y, int64_t x)
int64_t kovrix_lut_sin(int64_t x)
int64_t kovrix_lut_cos(int64_t x)
int64_t kovrix_chebyshev_tan(int64_t x)
int64_t reduceQ32(int64_t x)
int64_t clampQ32(int64_t x)
int64_t kovrix_cordic_sinh(int64_t x)
int64_t kovrix_cordic_cosh(int64_t x)
int64_t kovrix_cordic_tanh(int64_t x)
int64_t kovrix_cordic_exp(int64_t x)
int64_t clampHyperbolicQ32(int64_t x)
int64_t kovrix_fixed_sin(int64_t x)
int64_t kovrix_fixed_cos(int64_t x)
int64_t kovrix_fixed_tan(int64_t x)
int64_t kovrix_fixed_exp(int64_t x)
int64_t kovrix_fixed_ln(int64_t x)
int64_t kovrix_fixed_sqrt(int64_t x)
int64_t kovrix_fixed_atan(int64_t x)
int64_t kovrix_fixed_atan2(int64_t y, int64_t x)
int64_t kovrix_fixed_sinh(int64_t x)
int64_t kovrix_fixed_cosh(int64_t x)
int64_t kovrix_fixed_tanh(int64_t x)
int64_t kovrix_fixed_pow(int64_t a, int64_t b)
int64_t kovrix_fixed_asin(int64_t x)
int64_t kovrix_fixed_acos(int64_t x)
int64_t kovrix_fixed_asinh(int64_t x)
int64_t kovrix_fixed_acosh(int64_t x)
int64_t kovrix_fixed_atanh(int64_t x)
int64_t kovrix_fixed_factorial(int32_t n)
int64_t kovrix_fixed_erf(int64_t x)
int64_t kovrix_fixed_bessel_j0(int64_t x)
double kovrix_sqrt_newton_f64(double x)
double kovrix_exp_taylor_f64(double x)
double kovrix_ln_taylor_f64(double x)
double kovrix_taylor_sin_f64(double x)
double kovrix_taylor_cos_f64(double x)
double kovrix_taylor_atan_f64(double x)
double kovrix_chebyshev_t(int32_t n, double x)
double kovrix_chebyshev_u(int32_t n, double x)
double kovrix_legendre(int32_t n, double x)
double kovrix_hermite(int32_t n, double x)
double kovrix_erf(double x)
double kovrix_gamma(double x)
double kovrix_factorial(int32_t n)
double kovrix_bessel_j0(double x)
kovrix_bigfloat* kovrix_bigfloat_from_f64(double x)
kovrix_bigfloat* kovrix_bigfloat_from_i64(int64_t v)
kovrix_bigfloat* kovrix_bigfloat_from_bigint(const kovrix_bigint* x)
double kovrix_bigfloat_to_f64(const kovrix_bigfloat* x)
int kovrix_bigfloat_is_zero(const kovrix_bigfloat* x)
void kovrix_bigfloat_destroy(kovrix_bigfloat* x)
kovrix_bigfloat* kovrix_bigfloat_add(const kovrix_bigfloat* a, const kovrix_bigfloat* b)
kovrix_bigfloat* kovrix_bigfloat_sub(const kovrix_bigfloat* a, const kovrix_bigfloat* b)
kovrix_bigfloat* kovrix_bigfloat_mul(const kovrix_bigfloat* a, const kovrix_bigfloat* b)
kovrix_bigfloat* kovrix_bigfloat_div(const kovrix_bigfloat* a, const kovrix_bigfloat* b)
int32_t kovrix_bigfloat_cmp(const kovrix_bigfloat* a, const kovrix_bigfloat* b)
kovrix_bigfloat* kovrix_bigfloat_neg(const kovrix_bigfloat* a)
kovrix_bigfloat* kovrix_bigfloat_abs(const kovrix_bigfloat* a)
kovrix_bigfloat* kovrix_pi_bigfloat(void)
kovrix_bigfloat* kovrix_e_bigfloat(void)
kovrix_bigfloat* kovrix_bigfloat_reduce(const kovrix_bigfloat* x)
kovrix_bigfloat* kovrix_bigfloat_sin(const kovrix_bigfloat* x)
kovrix_bigfloat* kovrix_bigfloat_cos(const kovrix_bigfloat* x)
kovrix_bigfloat* kovrix_bigfloat_tan(const kovrix_bigfloat* x)
kovrix_bigfloat* kovrix_bigfloat_exp(const kovrix_bigfloat* x)
kovrix_bigfloat* kovrix_bigfloat_ln(const kovrix_bigfloat* x)
kovrix_bigfloat* kovrix_ln_generic_bigfloat(const kovrix_bigfloat* x)
double kovrix_ln_generic_f64(double x)
kovrix_bigfloat* kovrix_bigfloat_sqrt(const kovrix_bigfloat* x)
kovrix_bigfloat* kovrix_sqrt_newton_bigfloat(const kovrix_bigfloat* x)
kovrix_bigfloat* kovrix_exp_taylor_bigfloat(const kovrix_bigfloat* x)
kovrix_bigfloat* kovrix_bigfloat_arctan(const kovrix_bigfloat* x)
kovrix_bigfloat* kovrix_bigfloat_arctan2(const kovrix_bigfloat* y, const kovrix_bigfloat* x)
kovrix_bigfloat* kovrix_bigfloat_pow_int(const kovrix_bigfloat* x, int32_t k)
kovrix_bigfloat* kovrix_bigfloat_pow(const kovrix_bigfloat* x, const kovrix_bigfloat* y)
kovrix_rational* kovrix_rational_from_i64(int64_t num, int64_t den)
kovrix_rational* kovrix_rational_from_bigint(const kovrix_bigint* num, const kovrix_bigint* den)
double kovrix_rational_to_f64(const kovrix_rational* x)
kovrix_bigint* kovrix_rational_num(const kovrix_rational* x)
kovrix_bigint* kovrix_rational_den(const kovrix_rational* x)
kovrix_rational* kovrix_rational_add(const kovrix_rational* a, const kovrix_rational* b)
kovrix_rational* kovrix_rational_sub(const kovrix_rational* a, const kovrix_rational* b)
kovrix_rational* kovrix_rational_mul(const kovrix_rational* a, const kovrix_rational* b)
kovrix_rational* kovrix_rational_div(const kovrix_rational* a, const kovrix_rational* b)
kovrix_rational* kovrix_rational_neg(const kovrix_rational* a)
kovrix_rational* kovrix_rational_abs(const kovrix_rational* a)
int kovrix_rational_cmp(const kovrix_rational* a, const kovrix_rational* b)
int kovrix_rational_is_zero(const kovrix_rational* x)
int kovrix_rational_is_one(const kovrix_rational* x)
void kovrix_rational_destroy(kovrix_rational* x)
kovrix_rational* kovrix_rational_sin(const kovrix_rational* x)
kovrix_rational* kovrix_rational_cos(const kovrix_rational* x)
kovrix_rational* kovrix_rational_tan(const kovrix_rational* x)
kovrix_rational* kovrix_rational_exp(const kovrix_rational* x)
kovrix_rational* kovrix_rational_ln(const kovrix_rational* x)
kovrix_rational* kovrix_rational_sqrt(const kovrix_rational* x)
kovrix_rational* kovrix_rational_atan(const kovrix_rational* x)
kovrix_rational* kovrix_rational_atan2(const kovrix_rational* y, const kovrix_rational* x)
kovrix_rational* kovrix_rational_pow(const kovrix_rational* base, const kovrix_rational* exponent)
kovrix_interval kovrix_interval_from_f64(double lo, double hi)
double kovrix_interval_lo(kovrix_interval x)
double kovrix_interval_hi(kovrix_interval x)
kovrix_interval kovrix_interval_add(kovrix_interval a, kovrix_interval b)
kovrix_interval kovrix_interval_sub(kovrix_interval a, kovrix_interval b)
kovrix_interval kovrix_interval_mul(kovrix_interval a, kovrix_interval b)
kovrix_interval kovrix_interval_div(kovrix_interval a, kovrix_interval b)
kovrix_interval kovrix_interval_sqrt(kovrix_interval x)
kovrix_interval kovrix_interval_neg(kovrix_interval x)
kovrix_interval kovrix_interval_pow(kovrix_interval x, int32_t n)
int kovrix_interval_is_valid(kovrix_interval x)
double kovrix_interval_width(kovrix_interval x)
double kovrix_interval_midpoint(kovrix_interval x)
int kovrix_interval_contains(kovrix_interval x, double v)
int kovrix_interval_contains_interval(kovrix_interval a, kovrix_interval b)
int kovrix_interval_overlaps(kovrix_interval a, kovrix_interval b)
kovrix_interval kovrix_interval_hull(kovrix_interval a, kovrix_interval b)
kovrix_interval kovrix_interval_intersect(kovrix_interval a, kovrix_interval b)
kovrix_interval kovrix_interval_exp(kovrix_interval x)
kovrix_interval kovrix_interval_ln(kovrix_interval x)
kovrix_interval kovrix_interval_arctan(kovrix_interval x)
kovrix_interval kovrix_interval_arctan2(kovrix_interval y, kovrix_interval x)
kovrix_interval kovrix_interval_sin(kovrix_interval x)
kovrix_interval kovrix_interval_cos(kovrix_interval x)
kovrix_rational* kovrix_rational_from_f64(double x)
kovrix_rational* kovrix_rational_from_fixed(int64_t raw, int32_t fracBits)
kovrix_bigfloat* kovrix_bigfloat_from_rational(const kovrix_rational* x)
kovrix_bigint* kovrix_bigint_from_bigfloat(const kovrix_bigfloat* x)
kovrix_bigint* kovrix_bigint_from_rational(const kovrix_rational* x)
int64_t kovrix_fixed_from_rational(const kovrix_rational* x, int32_t fracBits)
kovrix_interval kovrix_interval_from_bigfloat(const kovrix_bigfloat* x)
kovrix_interval kovrix_interval_from_rational(const kovrix_rational* x)
kovrix_interval kovrix_interval_from_bigint(const kovrix_bigint* x)
"""


class kovrix_interval(ctypes.Structure):
    """The C interval: two doubles passed and returned by value."""
    _fields_ = [("lo", ctypes.c_double), ("hi", ctypes.c_double)]


class _Opaque(ctypes.Structure):
    pass


class _BigIntObject(_Opaque):
    pass


class _BigFloatObject(_Opaque):
    pass


class _RationalObject(_Opaque):
    pass


C_TYPES = {
    "void": None,
    "int": ctypes.c_int,
    "int32_t": ctypes.c_int32,
    "int64_t": ctypes.c_int64,
    "uint64_t": ctypes.c_uint64,
    "double": ctypes.c_double,
    "const char*": ctypes.c_char_p,
    "char*": ctypes.POINTER(ctypes.c_char),
    "int*": ctypes.POINTER(ctypes.c_int),
    "uint64_t*": ctypes.POINTER(ctypes.c_uint64),
    "kovrix_interval": kovrix_interval,
    "kovrix_bigint*": ctypes.POINTER(_BigIntObject),
    "kovrix_bigfloat*": ctypes.POINTER(_BigFloatObject),
    "kovrix_rational*": ctypes.POINTER(_RationalObject),
}

_LINE = re.compile(r"^(?P<result>.+?)\s*\b(?P<name>\w+)\((?P<args>.*)\)$")


def _c_type(text):
    text = re.sub(r"\s*\*", "*", text.strip())
    return C_TYPES[text if text in C_TYPES else text.replace("const ", "", 1)]


def parse(signatures=SIGNATURES):
    """{name: (result type, [argument types])} for every line of the table."""
    table = {}
    for line in signatures.strip().splitlines():
        m = _LINE.match(line.strip())
        args = m.group("args").strip()
        # Each argument is "type name"; the name is dropped.
        argtypes = [] if args == "void" else [_c_type(a.rsplit(None, 1)[0]) for a in args.split(",")]
        table[m.group("name")] = (_c_type(m.group("result")), argtypes)
    return table


def _library_path():
    env = os.environ.get("KOVRIX_LIBRARY")
    if env:
        return env
    here = Path(__file__).resolve().parent
    for folder in [here, *list(here.parents)[:3]]:
        candidate = folder / "libkovrix.so.1"
        if candidate.exists():
            return str(candidate)
    return "libkovrix.so.1"


TABLE = parse()
lib = ctypes.CDLL(_library_path())
_present = set()
for _name, (_result, _args) in TABLE.items():
    try:
        _fn = getattr(lib, _name)
    except AttributeError:
        continue
    _fn.restype = _result
    _fn.argtypes = _args
    _present.add(_name)


def has(name):
    """True when the loaded library has the export ``name``."""
    return name in _present

"""The Python binding against Python's own exact integers and fractions.

Run against a built library: KOVRIX_LIBRARY=<build>/libkovrix.so.1
PYTHONPATH=python python3 -m unittest discover -s tests/python
KOVRIX_SEED=<n> replays a run of the random cases.
"""
import ctypes
import math
import os
import random
import re
import unittest
from fractions import Fraction
from pathlib import Path

import kovrix
from kovrix import BigFloat, BigInt, Fixed, Interval, KovrixError, Rational, _capi

SOURCE = Path(__file__).resolve().parents[2]
SEED = int(os.environ.get("KOVRIX_SEED", "0x6B6F7672697831"), 0)


def randint_wide(rng):
    bits = rng.choice([1, 8, 63, 64, 65, 200, 3000, 20000])
    return rng.getrandbits(bits) * rng.choice([-1, 1])


class Table(unittest.TestCase):
    def test_every_export_once_as_in_the_interface_list(self):
        listed = re.findall(r"\b(\w+)\(", (SOURCE / "tests/c_api/interface.txt").read_text())
        self.assertEqual(sorted(_capi.TABLE), sorted(set(listed)))
        self.assertEqual(len(_capi.TABLE), 174)
        self.assertEqual(_capi.TABLE["kovrix_bigint_add"][0], ctypes.POINTER(_capi._BigIntObject))
        self.assertEqual(kovrix.version(), re.search(r'version = "(.*)"', (SOURCE / "python/pyproject.toml")
                                                     .read_text()).group(1))

    def test_integers_are_range_checked(self):
        self.assertEqual(kovrix.factorial(5), 120.0)
        with self.assertRaises(OverflowError):
            kovrix.factorial(2**32 + 5)
        with self.assertRaises(OverflowError):
            Fixed.from_raw(2**63)


class BigIntTest(unittest.TestCase):
    def test_operators_agree_with_int(self):
        rng = random.Random(SEED)
        for case in range(300):
            a, b = randint_wide(rng), randint_wide(rng) or 7
            x, y = BigInt(a), BigInt(str(b) if b.bit_length() < 10000 else b)
            msg = f"case {case} seed {SEED}"
            self.assertEqual(int(x + y), a + b, msg)
            self.assertEqual(int(x - b), a - b, msg)
            self.assertEqual(int(a * y), a * b, msg)
            self.assertEqual(int(x // y), a // b, msg)
            self.assertEqual(int(x % y), a % b, msg)
            self.assertEqual(int(x.tdiv(y)), int(Fraction(a, b)), msg)
            self.assertEqual(int(x.tdiv(y) * y + x.tmod(y)), a, msg)
            self.assertEqual(int(x << 77), a << 77, msg)
            self.assertEqual(int(x >> 33), a >> 33, msg)
            self.assertEqual((x < y, x == a, x >= b), (a < b, True, a >= b), msg)
            if abs(a) < 2**1000:
                self.assertEqual(float(x), float(a), msg)
            self.assertEqual(hash(x), hash(a), msg)
        self.assertEqual(repr(-BigInt(2) ** 100), f"BigInt({-2**100})")
        self.assertEqual(abs(BigInt(-5)), 5)
        self.assertEqual(BigInt(-2.75), -2)
        self.assertEqual(BigInt(Fraction(7, 2)), 3)
        self.assertEqual(int(BigInt(BigInt(9))), 9)

    def test_failures_raise_and_leave_the_thread_usable(self):
        with self.assertRaises(ValueError):
            BigInt("12x")
        with self.assertRaises(ZeroDivisionError):
            BigInt(5) // 0
        with self.assertRaises(ValueError):
            BigInt(1) << -1
        with self.assertRaises(TypeError):
            BigInt([1])
        # A negative size leaves a range error pending: the next export fails
        # and the binding, raising, clears it.
        x = BigInt(7)
        self.assertEqual(kovrix.lib.kovrix_bigint_to_decimal(x._h, ctypes.create_string_buffer(8), -1), 0)
        with self.assertRaises(KovrixError):
            x + x
        self.assertEqual(x + x, 14)


class BigFloatTest(unittest.TestCase):
    def test_rounding_and_exact_conversions(self):
        rng = random.Random(SEED)
        for _ in range(100):
            x, y = rng.uniform(-1e6, 1e6), rng.uniform(-1e6, 1e6)
            q = Fraction(x) / Fraction(y)
            got = Fraction(BigFloat(x) / y)
            self.assertLessEqual(abs(got - q), abs(q) / 2**256, (x, y))  # correctly rounded to 256 bits
            self.assertEqual(Fraction(BigFloat(q)), got, (x, y))  # the same rounding, from Python
            self.assertEqual(Fraction(BigFloat(x)), Fraction(x))
            self.assertEqual(float(BigFloat(x) * y), x * y)
        third = BigFloat(1) / 3
        self.assertTrue(str(third).startswith("0." + "3" * 76) and len(str(third)) == 80, str(third))
        self.assertTrue(repr(BigFloat(0.1)).startswith("BigFloat('0.1000000000000000055511151231257827"))
        self.assertEqual(BigFloat("2.5e-1"), Fraction(1, 4))
        self.assertAlmostEqual(float(BigFloat.pi().sin()), 0.0, places=60)
        self.assertEqual(float((BigFloat(2) ** 10).sqrt()), 32.0)
        self.assertLess(BigFloat(1), BigFloat.e())

    def test_failures(self):
        with self.assertRaises(ValueError):
            BigFloat(math.inf)
        with self.assertRaises(ZeroDivisionError):
            BigFloat(1) / 0
        with self.assertRaises(ValueError):
            BigFloat(-1).ln()
        with self.assertRaises(ZeroDivisionError):
            BigFloat(0) ** -1


class RationalTest(unittest.TestCase):
    def test_operators_agree_with_fraction(self):
        rng = random.Random(SEED)
        for _ in range(200):
            a = Fraction(randint_wide(rng) % 10**30, rng.randint(1, 10**12))
            b = Fraction(rng.randint(-10**9, 10**9) or 1, rng.randint(1, 10**9))
            x, y = Rational(a), Rational(str(b))
            self.assertEqual(Fraction(x + y), a + b)
            self.assertEqual(Fraction(x - b), a - b)
            self.assertEqual(Fraction(a * y), a * b)
            self.assertEqual(Fraction(x / y), a / b)
            self.assertEqual((x < y, x == a), (a < b, True))
            self.assertEqual(float(x), float(a))
            self.assertEqual(hash(x), hash(a))
        self.assertEqual(str(Rational(6, -4)), "-3/2")
        self.assertEqual(Rational(0.375), Fraction(3, 8))
        self.assertEqual(repr(Rational("-1.25e-1")), "Rational('-1/8')")
        self.assertAlmostEqual(float(Rational(1).exp()), math.e, places=6)

    def test_failures(self):
        with self.assertRaises(ZeroDivisionError):
            Rational(1, 0)
        with self.assertRaises(ZeroDivisionError):
            Rational(1) / 0
        with self.assertRaises(ValueError):
            Rational(-1).sqrt()
        with self.assertRaises(ValueError):
            Rational("1/x")

    def test_conversions(self):
        rng = random.Random(SEED)
        for _ in range(200):
            d = rng.uniform(-1e6, 1e6) * 2.0 ** rng.randint(-60, 60)
            self.assertEqual(Rational(d), Fraction(d))
            self.assertEqual(int(Rational(d)), int(Fraction(d)))
            self.assertEqual(int(BigFloat(d)), int(d))
            lo, hi = Interval.enclosing(Rational(d) / 3)
            self.assertTrue(lo <= Fraction(d) / 3 <= hi)
        self.assertEqual(Rational(Fixed.from_raw(-3, 1)), Fraction(-3, 2))
        self.assertEqual(Rational(-1, 3).to_fixed().raw, -1431655765)
        self.assertEqual(Rational(1, 3).to_bigfloat(), BigFloat(1) / 3)
        self.assertEqual(tuple(Interval.enclosing(BigInt(0))), (-2.0 ** -1073, 2.0 ** -1073))
        self.assertIn(math.pi, Interval.enclosing(BigFloat.pi()))
        with self.assertRaises(OverflowError):
            Rational(1).to_fixed(63)
        with self.assertRaises(ValueError):
            Rational(math.inf)


class FixedTest(unittest.TestCase):
    def test_arithmetic_is_the_exact_value_saturated(self):
        rng = random.Random(SEED)
        lo, hi = -(1 << 63), (1 << 63) - 1
        sat = lambda v: min(max(v, lo), hi)
        for _ in range(300):
            f = rng.choice([0, 16, 32, 63])
            a, b = Fixed.from_raw(rng.randint(lo, hi), f), Fixed.from_raw(rng.randint(lo >> 20, hi >> 20) or 1, f)
            self.assertEqual((a + b).raw, sat(a.raw + b.raw))
            self.assertEqual((a - b).raw, sat(a.raw - b.raw))
            self.assertEqual((a * b).raw, sat((a.raw * b.raw) >> f))
            self.assertEqual((a / b).raw, sat(int(Fraction(a.raw << f, b.raw))))
            self.assertEqual((a % b).raw, a.raw % b.raw)
            self.assertEqual(a < b, a.raw < b.raw)
        self.assertEqual(Fixed(0.5).raw, 1 << 31)
        self.assertEqual(Fixed(1e300).raw, hi)
        self.assertEqual(float(Fixed(3, 8)), 3.0)
        self.assertEqual(Fraction(Fixed(-1.25)), Fraction(-5, 4))
        self.assertEqual(Fixed(2).sqrt().raw, 6074000999)
        self.assertEqual(Fixed(0).cordic_sin().raw, -3)
        self.assertEqual(Fixed(-1).ln().raw, 0)  # the domain answer is a value
        self.assertEqual(Fixed.factorial(12).raw, 2057296206731673600)
        self.assertEqual(Fixed(-0.5).floor(), -1)

    def test_rejected_arguments(self):
        with self.assertRaises(ZeroDivisionError):
            Fixed(1) / 0
        with self.assertRaises(ValueError):
            Fixed(1, 64)
        with self.assertRaises(ValueError):
            Fixed(1) + Fixed(1, 16)
        with self.assertRaises(ValueError):
            Fixed(1, 16).sin()
        with self.assertRaises(ValueError):
            Fixed(math.nan)


class IntervalTest(unittest.TestCase):
    def test_results_enclose_the_exact_value(self):
        rng = random.Random(SEED)
        for _ in range(300):
            a, b = sorted(rng.uniform(-1e6, 1e6) for _ in range(2))
            c, d = sorted(rng.uniform(0.5, 1e3) for _ in range(2))
            x, y = Interval(a, b), Interval(c, d)
            for op, r in ((lambda p, q: p + q, x + y), (lambda p, q: p - q, x - y),
                          (lambda p, q: p * q, x * y), (lambda p, q: p / q, x / y)):
                for p in (a, b):
                    for q in (c, d):
                        exact = op(Fraction(p), Fraction(q))
                        self.assertTrue(Fraction(r.lo) <= exact <= Fraction(r.hi), (a, b, c, d))
        self.assertIn(2.0, Interval(1, 3))
        self.assertIn(Interval(-1, 1), Interval(0, 7).sin())
        self.assertEqual(Interval(1, 2) / Interval(-1, 1), Interval(-math.inf, math.inf))
        self.assertTrue(math.isnan(Interval(-2, -1).sqrt().lo))
        self.assertFalse(Interval(1, 2).intersect(Interval(3, 4)).is_valid())
        self.assertEqual(repr(Interval(0.25, 2).hull(1)), "Interval(0.25, 2.0)")
        with self.assertRaises(ValueError):
            Interval(2**60 + 1)


if __name__ == "__main__":
    unittest.main()

// Division: divModLimb, divModKnuth and the divMod dispatcher against GMP, the
// identity q v + r = u with 0 <= r < v, divisor shapes (top limb 1, top bit
// set), the qhat = 2^64 - 1 branch and the add-back step, kernels in canaries,
// and signed truncated division.
#include "support/big.hpp"
#include "arithmetic/division_big.hpp"
#include "arithmetic/signed_big.hpp"

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

::testing::AssertionResult divAgrees(const BigUInt& u, const BigUInt& v, const BigUIntDivMod& got) {
  Mpz zu, zv, zq, zr;
  toMpz(zu, u);
  toMpz(zv, v);
  mpz_tdiv_qr(zq, zr, zu, zv);
  auto q = sameAs(got.quotient, zq);
  if (!q) return q << " (quotient of " << hex(u) << " / " << hex(v) << ")";
  auto r = sameAs(got.remainder, zr);
  if (!r) return r << " (remainder of " << hex(u) << " / " << hex(v) << ")";
  return ::testing::AssertionSuccess();
}

TEST(DivMod, RandomOperandsUpTo300Limbs) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 1500; ++i) {
    BigUInt v = randomBig(1 + below(below(2) ? 300 : 8));
    BigUInt u = below(4) == 0 ? randomBig(randomLength(300)) : mul(v, randomBig(below(200)));
    if (below(2)) u = add(u, randomBig(below(v.size() + 1)));
    ASSERT_TRUE(divAgrees(u, v, divMod(u, v)));
  }
}

TEST(DivMod, ThresholdAndShapeSizes) {
  KOVRIX_SEED_TRACE();
  for (std::size_t n : {1u, 2u, 3u, 31u, 32u, 33u})
    for (std::size_t m : {0u, 1u, 2u, 31u, 32u, 33u, 64u})
      for (int shape = 0; shape < 6; ++shape) {
        BigUInt v = randomBig(n, shape), u = randomBig(n + m, (shape + 1) % 6);
        ASSERT_TRUE(divAgrees(u, v, divMod(u, v))) << n << " " << m << " " << shape;
      }
}

TEST(DivMod, DivisorTopLimbOneAndTopBitSet) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 500; ++i) {
    std::size_t n = 2 + below(40);
    auto limbs = randomLimbs(n, 0);
    limbs[n - 1] = i % 2 ? 1 : (limbs[n - 1] | (Limb{1} << 63));  // shift 63 / shift 0
    BigUInt v = initBigUInt(limbs);
    BigUInt u = randomBig(n + below(40), static_cast<int>(below(6)));
    ASSERT_TRUE(divAgrees(u, v, divMod(u, v)));
    ASSERT_TRUE(divAgrees(u, v, divModKnuth(u, v)));
  }
}

TEST(DivMod, ListedValues) {
  // 2^128 / (2^64 + 1) = 2^64 - 1 rem 1 (two-limb divisor).
  auto [q, r] = divMod(initBigUInt({0, 0, 1}), initBigUInt({1, 1}));
  EXPECT_TRUE(limbsEqual(q, {~Limb{0}}));
  EXPECT_TRUE(limbsEqual(r, {1}));
  // (2^192 - 1) / (2^128 - 1) = 2^64 rem 2^64 - 1: dividend limbs equal to the
  // divisor's top limb take the qhat = 2^64 - 1 branch.
  auto [q2, r2] = divMod(initBigUInt({~Limb{0}, ~Limb{0}, ~Limb{0}}), initBigUInt({~Limb{0}, ~Limb{0}}));
  EXPECT_TRUE(limbsEqual(q2, {0, 1}));
  EXPECT_TRUE(limbsEqual(r2, {~Limb{0}}));
  // Dividend below the divisor.
  auto [q3, r3] = divMod(initBigUInt({5, 1}), initBigUInt({6, 1}));
  EXPECT_TRUE(q3.isZero());
  EXPECT_TRUE(limbsEqual(r3, {5, 1}));
  auto [q4, r4] = divMod(BigUInt{}, initBigUInt(std::uint64_t{3}));
  EXPECT_TRUE(q4.isZero() && r4.isZero());
}

TEST(DivMod, ZeroDivisor) {
  try {
    divMod(initBigUInt(std::uint64_t{1}), BigUInt{});
    FAIL();
  } catch (const DivByZeroDefect& e) {
    EXPECT_STREQ(e.what(), "Division by zero in BigUInt.");
  }
  try {
    divModLimb(initBigUInt(std::uint64_t{1}), 0);
    FAIL();
  } catch (const DivByZeroDefect& e) {
    EXPECT_STREQ(e.what(), "divModLimb: divisor is zero");
  }
  EXPECT_THROW(divMod(initBigInt(std::int64_t{-4}), BigInt{}), DivByZeroDefect);
}

// Divide and conquer and the Newton reciprocal against GMP and against
// Knuth's loop, at the threshold
// +-1 in divisor and quotient size, unbalanced in both directions, on
// dividends next to exact multiples (q v - 1, q v, q v + 1: the remainder at
// its extremes, where a wrong correction count shows) and on divisors with
// long runs of 0 and 1 bits (shapes 1 to 4 of randomLimbs).
TEST(DivModDivideConquer, AgreesWithGmpAndKnuth) {
  KOVRIX_SEED_TRACE();
  const std::size_t t = DivideConquerThreshold;
  const std::size_t sizes[] = {2, t / 2, t - 1, t, t + 1, 2 * t - 1, 2 * t, 2 * t + 1, 3 * t + 5, 7 * t};
  const BigUInt one = initBigUInt(std::uint64_t{1});
  for (std::size_t n : sizes)
    for (std::size_t m : sizes) {
      if (m >= 3 * t && n >= 3 * t && below(2)) continue;  // keep the run short
      int shape = static_cast<int>(below(6));
      BigUInt v = randomBig(n, shape), q = randomBig(m, static_cast<int>(below(6)));
      BigUInt exact = mul(q, v);
      for (const BigUInt& u : {exact, add(exact, one), sub(exact, one), add(exact, sub(v, one)), randomBig(n + m)}) {
        auto got = divModDivideConquer(u, v);
        ASSERT_TRUE(divAgrees(u, v, got)) << "n=" << n << " m=" << m << " shape=" << shape;
        auto newton = divModNewton(u, v);
        ASSERT_TRUE(newton.quotient == got.quotient && newton.remainder == got.remainder) << "n=" << n << " m=" << m;
        if (n + m < 6 * t) {
          auto ref = divModKnuth(u, v);
          ASSERT_TRUE(got.quotient == ref.quotient && got.remainder == ref.remainder);
        }
      }
    }
}

#ifdef NDEBUG
// Sizes where the recursion runs several levels deep (the Release build
// only; the sanitizer build would take minutes).
TEST(DivModDivideConquer, LargeOperands) {
  KOVRIX_SEED_TRACE();
  for (std::size_t n : {1000u, 4099u, 20000u}) {
    BigUInt v = randomBig(n, static_cast<int>(below(6)));
    BigUInt u = add(mul(v, randomBig(n + below(n), 0)), randomBig(n / 2));
    ASSERT_TRUE(divAgrees(u, v, divMod(u, v))) << n;
    ASSERT_TRUE(divAgrees(u, v, divModNewton(u, v))) << n;
  }
}

// The Newton division at the dispatcher's threshold +-1 and at powers of two
// (where its cyclic products wrap and the reciprocal's sizes sit one limb
// past them), 2n / n and quotients shorter than the divisor, on exact
// multiples +-1 and divisors with runs of 0 and 1 bits.
TEST(DivModNewton, LargeAgreesWithGmp) {
  KOVRIX_SEED_TRACE();
  const BigUInt one = initBigUInt(std::uint64_t{1});
  const std::size_t t = NewtonDivisionThreshold;
  for (std::size_t n : {t - 1, t, t + 1, std::size_t{8192}, std::size_t{16384}}) {
    BigUInt v = randomBig(n, static_cast<int>(below(6)));
    for (std::size_t m : {n + 1, n / 2 + 3}) {
      BigUInt exact = mul(v, randomBig(m - 1, static_cast<int>(below(6))));
      for (const BigUInt& u : {sub(exact, one), add(exact, sub(v, one)), randomBig(n + m - 1)}) {
        ASSERT_TRUE(divAgrees(u, v, divMod(u, v))) << n << " " << m;
        ASSERT_TRUE(divAgrees(u, v, divModNewton(u, v))) << n << " " << m;
      }
    }
  }
}
#endif

TEST(DivModLimb, AgreesWithGmp) {
  KOVRIX_SEED_TRACE();
  Mpz zu, zq;
  for (int i = 0; i < 2000; ++i) {
    BigUInt u = randomBig(randomLength(300));
    Limb d = randomLimb() >> below(64);
    if (d == 0) d = 1 + below(10);
    auto [q, r] = divModLimb(u, d);
    toMpz(zu, u);
    Limb rr = mpz_tdiv_q_ui(zq, zu, d);
    ASSERT_TRUE(sameAs(q, zq)) << hex(u) << " / " << d;
    ASSERT_EQ(r, rr);
  }
  auto [q0, r0] = divModLimb(BigUInt{}, 7);
  EXPECT_TRUE(q0.isZero());
  EXPECT_EQ(r0, 0u);
}

TEST(DivModKnuth, AddBackStepIsReachedAndCorrect) {
  // v = 2^63 B^2 + 1, u = 3 v - 1 = 3 * 2^63 B^2 + 2.  The digit estimate from
  // the top limbs is floor((u3 u2 u1) / (v2 v1)) = 3, which ignores v's low
  // limb; 3 v > u, so the partial remainder goes negative and the divisor is
  // added back, giving q = 2, r = v - 1.
  BigUInt v = initBigUInt({1, 0, Limb{1} << 63});
  BigUInt u = initBigUInt({2, 0, Limb{1} << 63, 1});
  std::uint64_t before = knuthAddBackCount();
  auto qr = divModKnuth(u, v);
  EXPECT_EQ(knuthAddBackCount(), before + 1);
  EXPECT_TRUE(limbsEqual(qr.quotient, {2}));
  EXPECT_TRUE(limbsEqual(qr.remainder, {0, 0, Limb{1} << 63}));
  EXPECT_TRUE(divAgrees(u, v, qr));
}

TEST(DivModKnuth, AddBackFamily) {
  // u = q v - 1 for v = (top, 0, ..., 0, small) and random digits q: the
  // estimate sees only v's top limbs and overshoots whenever the dropped low
  // limb matters.  Every result must still agree with GMP, and the step must
  // have run.
  KOVRIX_SEED_TRACE();
  std::uint64_t before = knuthAddBackCount();
  for (int i = 0; i < 300; ++i) {
    std::size_t n = 3 + below(6);
    std::vector<Limb> vl(n, 0);
    vl[n - 1] = (randomLimb() | 1) >> below(63);
    vl[0] = 1 + below(1000);
    BigUInt v = initBigUInt(vl);
    BigUInt q = randomBig(1 + below(4), 0);
    BigUInt u = sub(mul(q, v), initBigUInt(std::uint64_t{1}));
    ASSERT_TRUE(divAgrees(u, v, divModKnuth(u, v)));
  }
  EXPECT_GT(knuthAddBackCount(), before);
}

TEST(DivModKnuth, KernelInsideCanaries) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 300; ++i) {
    std::size_t n = 2 + below(30), m = below(30);
    auto v = randomLimbs(n), u = randomLimbs(n + m);
    Guarded q(m + 1), r(n), scratch(knuthScratchSize(n + m, n));
    divModKnuthN(q.span(), r.span(), u, v, scratch.span());
    ASSERT_TRUE(q.intact() && r.intact() && scratch.intact()) << n << " " << m;
    BigUIntDivMod got{initBigUInt(std::vector<Limb>(q.span().begin(), q.span().end())),
                      initBigUInt(std::vector<Limb>(r.span().begin(), r.span().end()))};
    ASSERT_TRUE(divAgrees(initBigUInt(u), initBigUInt(v), got));
  }
}

TEST(DivModLimbKernel, InPlaceAndCanaries) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 300; ++i) {
    auto a = randomLimbs(below(30));
    Limb d = randomLimb() >> below(64);
    if (d == 0) d = 3;
    Guarded q(a.size());
    Limb r = divModLimbN(q.span(), a, d);
    ASSERT_TRUE(q.intact());
    auto inplace = a;
    ASSERT_EQ(divModLimbN(inplace, inplace, d), r);
    ASSERT_TRUE(std::equal(inplace.begin(), inplace.end(), q.span().begin()));
  }
}

TEST(SignedDivMod, TruncatesTowardZero) {
  auto i = [](std::int64_t v) { return initBigInt(v); };
  struct Case {
    std::int64_t a, b, q, r;
  } cases[] = {{7, -2, -3, 1}, {-7, 2, -3, -1}, {-7, -2, 3, -1}, {7, 2, 3, 1}, {-6, 3, -2, 0}, {3, -7, 0, 3},
               {-3, 7, 0, -3}};
  for (auto c : cases) {
    auto [q, r] = divMod(i(c.a), i(c.b));
    EXPECT_EQ(q, i(c.q)) << c.a << " / " << c.b;
    EXPECT_EQ(r, i(c.r)) << c.a << " % " << c.b;
    EXPECT_TRUE(isNormalised(q) && isNormalised(r)) << c.a << " / " << c.b;
  }
}

TEST(SignedDivMod, AgreesWithGmp) {
  KOVRIX_SEED_TRACE();
  Mpz za, zb, zq, zr;
  for (int i = 0; i < 1000; ++i) {
    BigInt a = randomBigInt(randomLength(80)), b = randomBigInt(1 + below(40));
    toMpz(za, a);
    toMpz(zb, b);
    mpz_tdiv_qr(zq, zr, za, zb);
    auto [q, r] = divMod(a, b);
    ASSERT_TRUE(sameAs(q, zq)) << hex(a) << " / " << hex(b);
    ASSERT_TRUE(sameAs(r, zr)) << hex(a) << " % " << hex(b);
    ASSERT_EQ(a / b, q);
    ASSERT_EQ(a % b, r);
  }
}

}  // namespace
}  // namespace kovrix

namespace kovrix {
namespace {
using namespace kovrix::testsupport;

TEST(DivKernels, MulxAdxSubtractAgreesWithPortableLoop) {
  if (!cpuHasMulxAdx()) GTEST_SKIP() << "processor without MULX/ADX";
  KOVRIX_SEED_TRACE();
  for (std::size_t n = 0; n <= 70; ++n)
    for (Limb b : {Limb{0}, Limb{1}, ~Limb{0}, Limb{1} << 63, randomLimb()})
      for (int shape = 0; shape < 6; ++shape) {
        auto a = randomLimbs(n, shape);
        auto start = shape == 1 ? std::vector<Limb>(n, 0) : randomLimbs(n, (shape + 3) % 6);
        Guarded x(n), y(n);
        std::copy(start.begin(), start.end(), x.span().begin());
        std::copy(start.begin(), start.end(), y.span().begin());
        Limb cx = subMulLimbN(x.span(), a, b);
        Limb cy = subMulLimbMulxAdx(y.span(), a, b);
        ASSERT_TRUE(x.intact() && y.intact()) << n;
        ASSERT_EQ(cx, cy) << "n=" << n << " b=" << b << " shape=" << shape;
        ASSERT_TRUE(std::equal(x.span().begin(), x.span().end(), y.span().begin())) << "n=" << n << " b=" << b;
      }
}

// The portable loop itself against GMP: out - a b as a signed value equals
// (limbs) - carry * B^n.
TEST(DivKernels, PortableSubtractAgreesWithGmp) {
  KOVRIX_SEED_TRACE();
  for (int i = 0; i < 500; ++i) {
    std::size_t n = 1 + below(40);
    auto a = randomLimbs(n), o = randomLimbs(n);
    Limb b = below(3) == 0 ? ~Limb{0} : randomLimb();
    auto res = o;
    Limb c = subMulLimbN(res, a, b);
    Mpz zo, za, zr, zc, zb;
    toMpz(zo, initBigUInt(o));
    toMpz(za, initBigUInt(a));
    mpz_import(zb, 1, -1, sizeof(Limb), 0, 0, &b);
    mpz_submul(zo, za, zb);  // o - a b
    toMpz(zr, initBigUInt(res));
    mpz_import(zc, 1, -1, sizeof(Limb), 0, 0, &c);
    mpz_mul_2exp(zc, zc, 64 * n);
    mpz_sub(zr, zr, zc);
    ASSERT_EQ(mpz_cmp(zr, zo), 0) << "n=" << n;
  }
}

// The schoolbook loop on both sides of the switch to complemented rows
// (divisor sizes around ComplementedRowsFrom, quotient blocks around half of
// it), at several buffer offsets, against GMP.  Every third divisor is sparse
// (top limb, zeros, a small low limb) and its dividend q d - 1, so that the
// digit estimate overshoots and the complemented add-back step runs too.
TEST(DivSchoolbook, ComplementedRowsAgreeWithGmp) {
  KOVRIX_SEED_TRACE();
  const std::size_t from = ComplementedRowsFrom;
  std::uint64_t complementedAddBacks = 0;
  for (std::size_t n : {from - 1, from, from + 1, 2 * from + 1})
    for (std::size_t k : {from / 2 - 1, from / 2, from / 2 + 1, n})
      for (int i = 0; i < 12; ++i) {
        const bool sparse = i % 3 == 2;
        std::vector<Limb> d = sparse ? std::vector<Limb>(n, 0) : randomLimbs(n, i % 6);
        if (sparse) d[0] = 1 + below(1000);
        d[n - 1] |= Limb{1} << 63;
        const BigUInt dv = initBigUInt(d);
        const BigUInt u = sparse ? sub(mul(randomBig(k, 0), dv), initBigUInt(std::uint64_t{1}))
                                 : randomBig(n + k, (i + 1) % 6);
        const std::size_t offset = static_cast<std::size_t>(i % 4);
        Guarded buf(n + k + offset);
        std::span<Limb> a = buf.span().subspan(offset);
        std::fill(std::copy(u.limbs().begin(), u.limbs().end(), a.begin()), a.end(), Limb{0});
        std::vector<Limb> q(k + 1);
        const std::uint64_t before = knuthAddBackCount();
        q[k] = divSchoolbookNormN(std::span<Limb>(q).first(k), a, d);
        if (n >= from && k >= from / 2) complementedAddBacks += knuthAddBackCount() - before;
        Mpz zu, zd, zq, zr;
        toMpz(zu, u);
        toMpz(zd, dv);
        mpz_tdiv_qr(zq, zr, zu, zd);
        ASSERT_TRUE(buf.intact()) << n << " " << k << " " << i;
        ASSERT_TRUE(sameAs(initBigUInt(q), zq)) << n << " " << k << " " << i;
        ASSERT_TRUE(sameAs(initBigUInt(a.first(n)), zr)) << n << " " << k << " " << i;
      }
  EXPECT_GT(complementedAddBacks, 0u);
}

}  // namespace
}  // namespace kovrix

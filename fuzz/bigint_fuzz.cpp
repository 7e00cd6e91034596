// Coverage-guided fuzz target (libFuzzer) for the integer arithmetic: the
// input is decoded into an operation and its operands, every algorithm that
// computes the operation runs, and each result is checked against GMP.  A
// disagreement aborts, so libFuzzer keeps the input that shows it.
//
// Input layout: byte 0 chooses the operation; each operand then takes a
// length (two bytes), a shape byte, and draws its limb material from the rest
// of the input, cycling when it runs out, so that short inputs still make
// long operands with long runs of 0 and 1 bits.
#include <gmp.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "arithmetic/division_big.hpp"
#include "arithmetic/formatting.hpp"
#include "arithmetic/multiplication_big.hpp"
#include "arithmetic/signed_big.hpp"
#include "errors.hpp"

namespace {

using kovrix::BigInt;
using kovrix::BigUInt;
using kovrix::Limb;

// Largest operand, in limbs: past every divide-and-conquer threshold with a
// few levels of recursion, yet fast enough for thousands of runs a second.
constexpr std::size_t MaxLimbs = 1200;

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::size_t u16() { return std::size_t{byte()} | std::size_t{byte()} << 8; }
  // Material for limb contents: the rest of the input, cycled; a fixed
  // odd constant when nothing is left.
  Limb limb() {
    if (pos_ >= size_) return 0x9E3779B97F4A7C15ull * ++spin_;
    Limb v = 0;
    for (int i = 0; i < 8; ++i) v = v << 8 | data_[(pos_ + i) % size_];
    pos_ += 8;
    return v;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_, pos_ = 0;
  Limb spin_ = 0;
};

BigUInt operand(Reader& in, std::size_t maxLimbs) {
  std::size_t n = in.u16() % (maxLimbs + 1);
  int shape = in.byte() % 5;
  std::vector<Limb> v(n);
  switch (shape) {
    case 0:  // raw material
      for (auto& l : v) l = in.limb();
      break;
    case 1:  // limbs drawn from 0, 1, 2^63, all ones, material
      for (auto& l : v) {
        Limb pick[] = {0, 1, Limb{1} << 63, ~Limb{0}};
        std::uint8_t b = in.byte();
        l = b < 200 ? pick[b % 4] : in.limb();
      }
      break;
    case 2: {  // runs of equal bits, run lengths from the input
      bool one = in.byte() & 1;
      for (std::size_t bit = 0; bit < 64 * n;) {
        std::size_t run = 1 + in.byte() * (1 + in.byte() % 8);
        for (std::size_t i = bit; i < std::min(64 * n, bit + run); ++i)
          if (one) v[i / 64] |= Limb{1} << (i % 64);
        bit += run;
        one = !one;
      }
      break;
    }
    case 3:  // B^k +- small: all zeros or all ones below a top limb of 1
      for (auto& l : v) l = (in.byte() & 1) ? ~Limb{0} : 0;
      if (n) v[n - 1] = 1;
      if (n) v[0] ^= in.byte();
      break;
    default:  // a few set bits
      for (int k = in.byte() % 6; k-- > 0 && n;) {
        std::size_t b = in.u16() % (64 * n);
        v[b / 64] |= Limb{1} << (b % 64);
      }
      break;
  }
  return kovrix::initBigUInt(v);
}

void toMpz(mpz_t out, const BigUInt& x) {
  mpz_set_ui(out, 0);
  if (!x.isZero()) mpz_import(out, x.size(), -1, sizeof(Limb), 0, 0, x.data());
}
void toMpz(mpz_t out, const BigInt& x) {
  toMpz(out, x.magnitude);
  if (x.negative) mpz_neg(out, out);
}

struct Mpz {
  mpz_t v;
  Mpz() { mpz_init(v); }
  ~Mpz() { mpz_clear(v); }
  operator mpz_ptr() { return v; }
};

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "kovrix and GMP disagree: %s\n", what);
  std::abort();
}

void expectSame(const BigUInt& got, mpz_ptr want, const char* what) {
  if (!got.isZero() && got.topLimb() == 0) fail("unnormalised result");
  Mpz z;
  toMpz(z, got);
  if (mpz_cmp(z, want) != 0) fail(what);
}

std::string gmpDecimal(mpz_ptr z) {
  std::string s(mpz_sizeinbase(z, 10) + 2, '\0');
  mpz_get_str(s.data(), 10, z);
  s.resize(std::strlen(s.c_str()));
  return s;
}

// Runs one span kernel into a fresh exactly sized output and scratch.
template <class Kernel>
BigUInt viaKernel(std::size_t outLimbs, std::size_t scratchLimbs, Kernel kernel) {
  BigUInt out = BigUInt::zeros(outLimbs);
  std::vector<Limb> scratch(scratchLimbs + 1);
  kernel(out.mutableLimbs(), std::span<Limb>(scratch));
  out.trim();
  return out;
}

// Every product tier on the same operands (each where its contract admits
// the shape), the dispatcher, and every squaring tier.
void checkProducts(Reader& in) {
  BigUInt a = operand(in, MaxLimbs), b = operand(in, MaxLimbs);
  if (a.size() < b.size()) std::swap(a, b);
  Mpz za, zb, zp;
  toMpz(za, a);
  toMpz(zb, b);
  mpz_mul(zp, za, zb);
  expectSame(kovrix::mul(a, b), zp, "mul");
  if (b.isZero()) return;
  auto x = a.limbs(), y = b.limbs();
  std::size_t n = x.size() + y.size();
  if (a.size() * b.size() < 200000) expectSame(kovrix::mulSchoolbook(a, b), zp, "mulSchoolbook");
  expectSame(viaKernel(n, kovrix::karatsubaScratchSize(x.size()),
                       [&](auto out, auto s) { kovrix::mulKaratsubaN(out, x, y, s); }),
             zp, "mulKaratsubaN");
  // The Toom-3 kernels assert at least five limbs in the longer operand.
  if (x.size() >= 5 && y.size() > (x.size() + 2) / 3)
    expectSame(viaKernel(n, kovrix::toom3ScratchSize(x.size()),
                         [&](auto out, auto s) { kovrix::mulToom3N(out, x, y, s); }),
               zp, "mulToom3N");
  expectSame(viaKernel(n, kovrix::fftScratchSize(n), [&](auto out, auto s) { kovrix::mulFftN(out, x, y, s); }), zp,
             "mulFftN");
  mpz_mul(zp, za, za);
  expectSame(kovrix::mul(a, a), zp, "mul of a value by itself");
  std::size_t m = 2 * x.size();
  if (x.size() < 400) expectSame(viaKernel(m, 0, [&](auto out, auto) { kovrix::sqrSchoolbookN(out, x); }), zp, "sqrSchoolbookN");
  expectSame(viaKernel(m, kovrix::karatsubaScratchSize(x.size()),
                       [&](auto out, auto s) { kovrix::sqrKaratsubaN(out, x, s); }),
             zp, "sqrKaratsubaN");
  if (x.size() >= 5)
    expectSame(viaKernel(m, kovrix::toom3ScratchSize(x.size()),
                         [&](auto out, auto s) { kovrix::sqrToom3N(out, x, s); }),
               zp, "sqrToom3N");
  expectSame(viaKernel(m, kovrix::fftScratchSize(m), [&](auto out, auto s) { kovrix::sqrFftN(out, x, s); }), zp,
             "sqrFftN");
}

// near = true: the dividend is q v + delta for a small signed delta, so the
// remainder sits at 0 or next to v - 1, where a wrong correction shows.
void checkDivision(Reader& in, bool near) {
  BigUInt v = operand(in, MaxLimbs);
  if (v.isZero()) return;
  BigUInt u = operand(in, MaxLimbs);
  if (near) {
    BigUInt delta = kovrix::initBigUInt(Limb{in.byte()});
    u = kovrix::mul(u, v);
    u = (in.byte() & 1) && u >= delta ? kovrix::sub(u, delta) : kovrix::add(u, delta);
  }
  Mpz zu, zv, zq, zr;
  toMpz(zu, u);
  toMpz(zv, v);
  mpz_tdiv_qr(zq, zr, zu, zv);
  auto check = [&](const kovrix::BigUIntDivMod& got, const char* what) {
    expectSame(got.quotient, zq, what);
    expectSame(got.remainder, zr, what);
  };
  check(kovrix::divMod(u, v), "divMod");
  if (v.size() >= 2 && u >= v) {
    check(kovrix::divModKnuth(u, v), "divModKnuth");
    check(kovrix::divModDivideConquer(u, v), "divModDivideConquer");
    check(kovrix::divModNewton(u, v), "divModNewton");
  }
  BigInt su = kovrix::initBigInt(u, in.byte() & 1), sv = kovrix::initBigInt(v, in.byte() & 1);
  toMpz(zu, su);
  toMpz(zv, sv);
  mpz_tdiv_qr(zq, zr, zu, zv);
  auto [q, r] = kovrix::divMod(su, sv);
  Mpz mq, mr;
  toMpz(mq, q);
  toMpz(mr, r);
  if (mpz_cmp(mq, zq) != 0 || mpz_cmp(mr, zr) != 0) fail("signed divMod");
  if ((q.negative && q.magnitude.isZero()) || (r.negative && r.magnitude.isZero())) fail("negative zero");
}

void checkToDecimal(Reader& in) {
  BigInt x = kovrix::initBigInt(operand(in, MaxLimbs), in.byte() & 1);
  Mpz z;
  toMpz(z, x);
  if (kovrix::toDecimal(x) != gmpDecimal(z)) fail("toDecimal");
}

// Texts of the shapes where split points show: random digits, runs of 9s and
// of 0s, and powers of ten with their neighbours; sometimes a sign, leading
// zeros or a stray character.
std::string decimalText(Reader& in) {
  std::size_t len = in.u16() % 12000;
  std::string s;
  int shape = in.byte() % 4;
  for (std::size_t i = 0; i < len; ++i) {
    switch (shape) {
      case 0: s.push_back(static_cast<char>('0' + in.byte() % 10)); break;
      case 1: s.push_back(in.byte() < 230 ? '9' : static_cast<char>('0' + in.byte() % 10)); break;
      case 2: s.push_back(in.byte() < 230 ? '0' : static_cast<char>('0' + in.byte() % 10)); break;
      default: s.push_back(i == 0 ? '1' : '0'); break;
    }
  }
  if (shape == 3 && !s.empty()) {
    std::uint8_t t = in.byte() % 3;
    if (t == 1) s.back() = '1';                                  // 10^k + 1
    if (t == 2) s = std::string(s.size() > 1 ? s.size() - 1 : 1, '9');  // 10^k - 1
  }
  std::uint8_t extra = in.byte();
  if (extra % 4 == 1) s.insert(0, std::string(in.byte() % 40, '0'));
  if (extra % 8 == 2) s.insert(0, "-");
  if (extra % 8 == 3) s.insert(0, "+");
  if (extra % 16 == 4 && !s.empty()) s[in.u16() % s.size()] = static_cast<char>(in.byte());
  return s;
}

void checkFromDecimal(Reader& in) {
  std::string s = decimalText(in);
  std::size_t start = !s.empty() && (s[0] == '-' || s[0] == '+') ? 1 : 0;
  std::size_t stop = start;
  while (stop < s.size() && s[stop] >= '0' && s[stop] <= '9') ++stop;
  const char* expectError = stop == start ? "no decimal digits"
                            : stop != s.size() ? "trailing non-digit characters in decimal string"
                                               : nullptr;
  try {
    BigInt x = kovrix::initBigIntFromDecimal(s);
    if (expectError) fail("accepted an invalid text");
    Mpz want, got;
    mpz_set_str(want, s.c_str() + (s[0] == '+' ? 1 : 0), 10);
    toMpz(got, x);
    if (mpz_cmp(got, want) != 0) fail("initBigIntFromDecimal");
    if (x.negative && x.magnitude.isZero()) fail("negative zero from text");
    if (kovrix::toDecimal(x) != gmpDecimal(want)) fail("text round trip");
  } catch (const kovrix::ValueError& e) {
    if (!expectError || std::strcmp(e.what(), expectError) != 0) fail("wrong parse error");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  switch (in.byte() % 5) {
    case 0: checkProducts(in); break;
    case 1: checkDivision(in, false); break;
    case 2: checkDivision(in, true); break;
    case 3: checkToDecimal(in); break;
    default: checkFromDecimal(in); break;
  }
  return 0;
}

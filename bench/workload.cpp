// kovrix_workload: whole programs on BigInt, written once on the C interface
// and once on GMP's mpz with the same algorithm, timed in one run; the
// decimal digits of both results are compared, and the time ratios printed
// (kovrix / GMP, computing and decimal output apart and together).
//
//   n!            by a balanced product tree over 1..n
//   Fibonacci(n)  by fast doubling: F(2k) = F(k) (2 F(k+1) - F(k)),
//                 F(2k+1) = F(k)^2 + F(k+1)^2
//   pi            to d digits by Machin's formula, 16 atan(1/5) - 4 atan(1/239),
//                 each arctangent summed in fixed point with 10 guard digits
//
//   kovrix_workload [n-factorial] [n-fibonacci] [pi-digits]
//   (defaults 80000 4000000 20000)
#include <gmp.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "kovrix.h"

namespace {

// An owned kovrix handle.
class Big {
 public:
  Big() = default;
  explicit Big(int64_t v) : Big(wrap(kovrix_bigint_from_i64(v))) {}
  // Takes ownership of a handle an export returned.
  static Big wrap(kovrix_bigint* h) {
    if (h == nullptr) {
      std::fprintf(stderr, "kovrix export failed\n");
      std::exit(1);
    }
    Big b;
    b.h_ = h;
    return b;
  }
  Big(Big&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  Big& operator=(Big&& o) noexcept {
    std::swap(h_, o.h_);
    return *this;
  }
  Big(const Big&) = delete;
  Big& operator=(const Big&) = delete;
  ~Big() { kovrix_bigint_destroy(h_); }
  const kovrix_bigint* get() const { return h_; }

 private:
  kovrix_bigint* h_ = nullptr;
};

Big operator*(const Big& a, const Big& b) { return Big::wrap(kovrix_bigint_mul(a.get(), b.get())); }
Big operator+(const Big& a, const Big& b) { return Big::wrap(kovrix_bigint_add(a.get(), b.get())); }
Big operator-(const Big& a, const Big& b) { return Big::wrap(kovrix_bigint_sub(a.get(), b.get())); }
Big operator/(const Big& a, const Big& b) { return Big::wrap(kovrix_bigint_div(a.get(), b.get())); }
Big operator<<(const Big& a, int n) { return Big::wrap(kovrix_bigint_shl(a.get(), n)); }
bool isZero(const Big& a) {
  Big zero(int64_t{0});
  return kovrix_bigint_cmp(a.get(), zero.get()) == 0;
}

// Bits of |x|: the least b with x >> b = 0 (x >= 0 here), found by doubling
// and bisection on shifts.
int64_t bitLength(const Big& x) {
  auto vanishes = [&](int64_t b) { return isZero(Big::wrap(kovrix_bigint_shr(x.get(), static_cast<int>(b)))); };
  int64_t hi = 64;
  while (!vanishes(hi)) hi *= 2;
  int64_t lo = 0;
  while (lo < hi) {
    int64_t mid = lo + (hi - lo) / 2;
    if (vanishes(mid))
      hi = mid;
    else
      lo = mid + 1;
  }
  return lo;
}

std::string decimal(const Big& x) {
  // b bits give at most floor(b log10(2)) + 1 digits; one call with room for
  // them and the NUL.
  std::vector<char> buf(static_cast<std::size_t>(bitLength(x) * 0.30103) + 3);
  int n = kovrix_bigint_to_decimal(x.get(), buf.data(), static_cast<int64_t>(buf.size()));
  return n < 0 ? std::string("<failed>") : std::string(buf.data(), static_cast<std::size_t>(n));
}

std::string decimal(mpz_srcptr z) {
  std::string s(mpz_sizeinbase(z, 10) + 2, '\0');
  mpz_get_str(s.data(), 10, z);
  s.resize(std::char_traits<char>::length(s.c_str()));
  return s;
}

// An owned mpz.
struct Z {
  mpz_t v;
  Z() { mpz_init(v); }
  Z(const Z&) = delete;
  Z& operator=(const Z&) = delete;
  ~Z() { mpz_clear(v); }
};

// ---- n! by a product tree -----------------------------------------------------------------

Big productTree(int64_t lo, int64_t hi) {
  if (lo == hi) return Big(lo);
  int64_t mid = lo + (hi - lo) / 2;
  return productTree(lo, mid) * productTree(mid + 1, hi);
}

void productTree(mpz_ptr r, int64_t lo, int64_t hi) {
  if (lo == hi) {
    mpz_set_si(r, lo);
    return;
  }
  int64_t mid = lo + (hi - lo) / 2;
  Z right;
  productTree(r, lo, mid);
  productTree(right.v, mid + 1, hi);
  mpz_mul(r, r, right.v);
}

// ---- Fibonacci by fast doubling -----------------------------------------------------------

Big fibonacci(int64_t n) {
  Big a(int64_t{0}), b(int64_t{1});  // F(k), F(k+1) for k = the bits of n read so far
  for (int bit = 62; bit >= 0; --bit) {
    Big c = a * ((b << 1) - a);
    Big d = a * a + b * b;
    if ((n >> bit) & 1) {
      a = std::move(d);
      b = a + c;
    } else {
      a = std::move(c);
      b = std::move(d);
    }
  }
  return a;
}

void fibonacci(mpz_ptr r, int64_t n) {
  Z a, b, c, d, t;
  mpz_set_ui(a.v, 0);
  mpz_set_ui(b.v, 1);
  for (int bit = 62; bit >= 0; --bit) {
    mpz_mul_2exp(t.v, b.v, 1);
    mpz_sub(t.v, t.v, a.v);
    mpz_mul(c.v, a.v, t.v);
    mpz_mul(d.v, a.v, a.v);
    mpz_mul(t.v, b.v, b.v);
    mpz_add(d.v, d.v, t.v);
    if ((n >> bit) & 1) {
      mpz_swap(a.v, d.v);
      mpz_add(b.v, a.v, c.v);
    } else {
      mpz_swap(a.v, c.v);
      mpz_swap(b.v, d.v);
    }
  }
  mpz_swap(r, a.v);
}

// ---- pi by Machin's formula ---------------------------------------------------------------

constexpr int GuardDigits = 10;

Big power(Big base, int64_t e) {
  Big r(1);
  for (; e; e >>= 1, base = base * base)
    if (e & 1) r = r * base;
  return r;
}

// unity * atan(1/x) = sum of (-1)^k unity / ((2k + 1) x^(2k+1)), truncated terms.
Big arctanInverse(const Big& unity, int64_t x) {
  Big x2(x * x), term = unity / Big(x);
  Big sum = unity / Big(x);
  for (int64_t k = 1;; ++k) {
    term = term / x2;
    if (isZero(term)) break;
    Big t = term / Big(2 * k + 1);
    sum = (k & 1) ? sum - t : sum + t;
  }
  return sum;
}

Big pi(int64_t digits) {
  Big unity = power(Big(10), digits + GuardDigits);
  Big s = (arctanInverse(unity, 5) << 2) - arctanInverse(unity, 239);
  return (s << 2) / power(Big(10), GuardDigits);
}

void arctanInverse(mpz_ptr sum, mpz_srcptr unity, unsigned long x) {
  Z term, t;
  mpz_tdiv_q_ui(term.v, unity, x);
  mpz_set(sum, term.v);
  for (unsigned long k = 1;; ++k) {
    mpz_tdiv_q_ui(term.v, term.v, x * x);
    if (mpz_sgn(term.v) == 0) break;
    mpz_tdiv_q_ui(t.v, term.v, 2 * k + 1);
    if (k & 1)
      mpz_sub(sum, sum, t.v);
    else
      mpz_add(sum, sum, t.v);
  }
}

void pi(mpz_ptr r, int64_t digits) {
  Z unity, a, b, guard;
  mpz_ui_pow_ui(unity.v, 10, static_cast<unsigned long>(digits + GuardDigits));
  arctanInverse(a.v, unity.v, 5);
  arctanInverse(b.v, unity.v, 239);
  mpz_mul_2exp(a.v, a.v, 2);
  mpz_sub(r, a.v, b.v);
  mpz_mul_2exp(r, r, 2);
  mpz_ui_pow_ui(guard.v, 10, GuardDigits);
  mpz_tdiv_q(r, r, guard.v);
}

// ---- timing --------------------------------------------------------------------------------

double seconds(const std::chrono::steady_clock::time_point& t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

struct Row {
  std::string name;
  double kovrixCompute, gmpCompute, kovrixText, gmpText;
  std::size_t digits;
  bool same;
};

template <class KovrixRun, class GmpRun>
Row measure(std::string name, KovrixRun kovrixRun, GmpRun gmpRun) {
  using clock = std::chrono::steady_clock;
  Row row{std::move(name), 0, 0, 0, 0, 0, false};
  auto t0 = clock::now();
  Big k = kovrixRun();
  row.kovrixCompute = seconds(t0);
  t0 = clock::now();
  std::string kt = decimal(k);
  row.kovrixText = seconds(t0);

  Z g;
  t0 = clock::now();
  gmpRun(g.v);
  row.gmpCompute = seconds(t0);
  t0 = clock::now();
  std::string gt = decimal(g.v);
  row.gmpText = seconds(t0);

  row.digits = gt.size();
  row.same = kt == gt;
  return row;
}

void print(const Row& r) {
  double kt = r.kovrixCompute + r.kovrixText, gt = r.gmpCompute + r.gmpText;
  std::printf("%-24s %9zu  %9.3f %9.3f %7.2fx  %9.3f %9.3f %7.2fx  %8.2fx  %s\n", r.name.c_str(), r.digits,
              r.kovrixCompute, r.gmpCompute, r.kovrixCompute / r.gmpCompute, r.kovrixText, r.gmpText,
              r.kovrixText / r.gmpText, kt / gt, r.same ? "same digits" : "DIGITS DIFFER");
}

}  // namespace

int main(int argc, char** argv) {
  kovrix_init();
  int64_t nFactorial = argc > 1 ? std::atoll(argv[1]) : 80000;
  int64_t nFibonacci = argc > 2 ? std::atoll(argv[2]) : 4000000;
  int64_t piDigits = argc > 3 ? std::atoll(argv[3]) : 20000;

  std::printf("%-24s %9s  %9s %9s %8s  %9s %9s %8s  %9s\n", "workload", "digits", "kovrix s", "GMP s", "ratio",
              "text s", "GMP s", "ratio", "total");
  std::printf("%-24s %9s  %28s  %28s\n", "", "", "---------- computing ----------", "------- decimal text -------");
  bool allSame = true;
  std::vector<Row> rows;
  rows.push_back(measure(
      std::to_string(nFactorial) + "! product tree", [&] { return productTree(1, nFactorial); },
      [&](mpz_ptr r) { productTree(r, 1, nFactorial); }));
  print(rows.back());
  rows.push_back(measure(
      "Fibonacci(" + std::to_string(nFibonacci) + ")", [&] { return fibonacci(nFibonacci); },
      [&](mpz_ptr r) { fibonacci(r, nFibonacci); }));
  print(rows.back());
  rows.push_back(measure(
      "pi, " + std::to_string(piDigits) + " digits", [&] { return pi(piDigits); }, [&](mpz_ptr r) { pi(r, piDigits); }));
  print(rows.back());
  for (const Row& r : rows) allSame &= r.same;
  return allSame ? 0 : 1;
}

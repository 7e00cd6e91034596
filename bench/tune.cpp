// kovrix_tune: measures every crossover between neighbouring algorithms on
// this machine and prints the thresholds to put in the source.
//
// A sweep times the algorithm used below a threshold and the one used from it
// on, at sizes spread over a range around the threshold, and reports the
// first size from which the second stays faster.  Each side is a factory:
// given a size it prepares random operands and returns the operation to time,
// so a sweep can cover any operation (products, squares, divisions, decimal
// text); add one by appending to sweeps() below.
//
//   kovrix_tune                 every sweep
//   kovrix_tune <name>...       the sweeps whose constant name contains a word
//
// Times are the best of several runs (the machine is shared, and the minimum
// is the least disturbed figure); sizes are limbs of the operand (of the
// shorter operand for products).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "arithmetic/division_big.hpp"
#include "arithmetic/formatting.hpp"
#include "arithmetic/multiplication_big.hpp"

namespace {

using kovrix::Limb;
using Operation = std::function<void()>;
using Factory = std::function<Operation(std::size_t n)>;

struct Sweep {
  const char* name;     // the constant in the source
  std::size_t current;  // its value now
  std::size_t from, to; // sizes swept
  const char* belowName;
  Factory below;        // the algorithm used under the threshold
  const char* aboveName;
  Factory above;        // the algorithm used from the threshold on
};

std::mt19937_64& rng() {
  static std::mt19937_64 g(20261208);
  return g;
}

std::vector<Limb> randomLimbs(std::size_t n) {
  std::vector<Limb> v(n);
  for (auto& l : v) l = rng()();
  v.back() |= Limb{1} << 63;
  return v;
}

// Seconds per run of op: the best of 5 batches of at least 3 ms each.
double secondsPer(const Operation& op) {
  using clock = std::chrono::steady_clock;
  std::size_t reps = 1;
  for (;;) {
    auto t0 = clock::now();
    for (std::size_t i = 0; i < reps; ++i) op();
    double t = std::chrono::duration<double>(clock::now() - t0).count();
    if (t > 0.003) break;
    reps *= 2;
  }
  double best = 1e30;
  for (int k = 0; k < 5; ++k) {
    auto t0 = clock::now();
    for (std::size_t i = 0; i < reps; ++i) op();
    best = std::min(best, std::chrono::duration<double>(clock::now() - t0).count() / static_cast<double>(reps));
  }
  return best;
}

// ---- products and squares ----------------------------------------------------------

using MulKernel = void (*)(std::span<Limb>, std::span<const Limb>, std::span<const Limb>, std::span<Limb>);
using SqrKernel = void (*)(std::span<Limb>, std::span<const Limb>, std::span<Limb>);

// A balanced n x n product by `kernel` with `scratch(n)` limbs of scratch.
Factory product(MulKernel kernel, std::size_t (*scratch)(std::size_t)) {
  return [=](std::size_t n) -> Operation {
    auto a = std::make_shared<std::vector<Limb>>(randomLimbs(n));
    auto b = std::make_shared<std::vector<Limb>>(randomLimbs(n));
    auto out = std::make_shared<std::vector<Limb>>(2 * n);
    auto s = std::make_shared<std::vector<Limb>>(scratch(n));
    return [=] { kernel(*out, *a, *b, *s); };
  };
}

Factory square(SqrKernel kernel, std::size_t (*scratch)(std::size_t)) {
  return [=](std::size_t n) -> Operation {
    auto a = std::make_shared<std::vector<Limb>>(randomLimbs(n));
    auto out = std::make_shared<std::vector<Limb>>(2 * n);
    auto s = std::make_shared<std::vector<Limb>>(scratch(n));
    return [=] { kernel(*out, *a, *s); };
  };
}

std::size_t noScratch(std::size_t) { return 0; }
std::size_t fftScratch(std::size_t n) { return kovrix::fftScratchSize(2 * n); }

void schoolbook(std::span<Limb> o, std::span<const Limb> a, std::span<const Limb> b, std::span<Limb>) {
  kovrix::mulSchoolbookN(o, a, b);
}
void schoolbookSquare(std::span<Limb> o, std::span<const Limb> a, std::span<Limb>) { kovrix::sqrSchoolbookN(o, a); }

// ---- division and decimal text -------------------------------------------------------

// A 2n / n division: a dividend of 2n random limbs by a divisor of n.
using DivKernel = std::function<void(std::span<Limb>, std::span<Limb>, std::span<const Limb>, std::span<const Limb>,
                                     std::span<Limb>, std::size_t n)>;
Factory division(DivKernel kernel) {
  return [=](std::size_t n) -> Operation {
    auto u = std::make_shared<std::vector<Limb>>(randomLimbs(2 * n));
    auto v = std::make_shared<std::vector<Limb>>(randomLimbs(n));
    auto q = std::make_shared<std::vector<Limb>>(n + 1);
    auto r = std::make_shared<std::vector<Limb>>(n);
    auto s = std::make_shared<std::vector<Limb>>(kovrix::divideConquerScratchSize(2 * n, n));
    return [=] { kernel(*q, *r, *u, *v, *s, n); };
  };
}
void knuth(std::span<Limb> q, std::span<Limb> r, std::span<const Limb> u, std::span<const Limb> v, std::span<Limb> s,
           std::size_t) {
  kovrix::divModKnuthN(q, r, u, v, s);
}
// One level of the recursion at n limbs (blocks below n by the schoolbook
// loop): the step that the threshold decides.
void divideConquerOnce(std::span<Limb> q, std::span<Limb> r, std::span<const Limb> u, std::span<const Limb> v,
                       std::span<Limb> s, std::size_t n) {
  kovrix::divModDivideConquerN(q, r, u, v, s, n);
}

using OwningDiv = kovrix::BigUIntDivMod (*)(const kovrix::BigUInt&, const kovrix::BigUInt&);
Factory owningDivision(OwningDiv f) {
  return [=](std::size_t n) -> Operation {
    auto u = std::make_shared<kovrix::BigUInt>(kovrix::initBigUInt(randomLimbs(2 * n)));
    auto v = std::make_shared<kovrix::BigUInt>(kovrix::initBigUInt(randomLimbs(n)));
    return [=] { f(*u, *v); };
  };
}

// Text of an n-limb value: by chunks, or split once at n limbs.
Factory toText(bool split) {
  return [=](std::size_t n) -> Operation {
    auto x = std::make_shared<kovrix::BigUInt>(kovrix::initBigUInt(randomLimbs(n)));
    if (split) return [=] { kovrix::toDecimalDivideConquer(*x, n); };
    return [=] { kovrix::toDecimalByChunks(*x); };
  };
}

// Value of an n-digit text (n in digits here): by chunks, or split once.
Factory fromText(bool split) {
  return [=](std::size_t n) -> Operation {
    auto text = std::make_shared<std::string>(n, '0');
    for (auto& c : *text) c = static_cast<char>('0' + rng()() % 10);
    (*text)[0] = '7';
    if (split) return [=] { kovrix::fromDecimalDivideConquer(*text, n); };
    return [=] { kovrix::fromDecimalByChunks(*text); };
  };
}

std::vector<Sweep> sweeps() {
  using namespace kovrix;
  return {
      {"KaratsubaThreshold", KaratsubaThreshold, 8, 96, "schoolbook", product(schoolbook, noScratch), "karatsuba",
       product(mulKaratsubaN, karatsubaScratchSize)},
      {"Toom3Threshold", Toom3Threshold, 40, 400, "karatsuba", product(mulKaratsubaN, karatsubaScratchSize), "toom3",
       product(mulToom3N, toom3ScratchSize)},
      {"FftThreshold", FftThreshold, 500, 12000, "toom3", product(mulToom3N, toom3ScratchSize), "fft",
       product(mulFftN, fftScratch)},
      {"SqrKaratsubaThreshold", SqrKaratsubaThreshold, 8, 128, "schoolbook", square(schoolbookSquare, noScratch),
       "karatsuba", square(sqrKaratsubaN, karatsubaScratchSize)},
      {"SqrToom3Threshold", SqrToom3Threshold, 40, 500, "karatsuba", square(sqrKaratsubaN, karatsubaScratchSize),
       "toom3", square(sqrToom3N, toom3ScratchSize)},
      {"SqrFftThreshold", SqrFftThreshold, 500, 12000, "toom3", square(sqrToom3N, toom3ScratchSize), "fft",
       square(sqrFftN, fftScratch)},
      {"DivideConquerThreshold", DivideConquerThreshold, 16, 200, "knuth", division(knuth), "divide-conquer",
       division(divideConquerOnce)},
      {"NewtonDivisionThreshold", NewtonDivisionThreshold, 400, 40000, "divide-conquer",
       owningDivision(divModDivideConquer), "newton", owningDivision(divModNewton)},
      {"ToDecimalDivideConquerThreshold", ToDecimalDivideConquerThreshold, 8, 160, "chunks", toText(false), "split",
       toText(true)},
      {"FromDecimalDivideConquerThreshold (digits, not limbs)", FromDecimalDivideConquerThreshold, 100, 4000,
       "chunks", fromText(false), "split", fromText(true)},
  };
}

// Sizes from `from` to `to`: every size up to 40, then steps of about 8%.
std::vector<std::size_t> sizes(std::size_t from, std::size_t to) {
  std::vector<std::size_t> v;
  for (std::size_t n = from; n <= to; n = std::max(n + 1, static_cast<std::size_t>(std::lround(n * 1.08))))
    v.push_back(n);
  return v;
}

void run(const Sweep& s) {
  std::printf("\n%s (now %zu): %s below, %s from it on\n", s.name, s.current, s.belowName, s.aboveName);
  std::printf("%8s %14s %14s %8s\n", "limbs", s.belowName, s.aboveName, "ratio");
  auto ns = sizes(s.from, s.to);
  std::vector<double> ratio;
  for (std::size_t n : ns) {
    double tb = secondsPer(s.below(n)), ta = secondsPer(s.above(n));
    ratio.push_back(ta / tb);
    std::printf("%8zu %12.2fus %12.2fus %8.3f\n", n, tb * 1e6, ta * 1e6, ta / tb);
  }
  // The threshold: the first size from which the upper algorithm is faster at
  // every size swept.
  std::size_t i = ns.size();
  while (i > 0 && ratio[i - 1] < 1.0) --i;
  if (i == ns.size())
    std::printf("=> %s: %s is not faster up to %zu limbs\n", s.name, s.aboveName, s.to);
  else
    std::printf("=> %s = %zu (now %zu)\n", s.name, ns[i], s.current);
}

}  // namespace

int main(int argc, char** argv) {
  for (const Sweep& s : sweeps()) {
    bool chosen = argc < 2;
    for (int i = 1; i < argc; ++i) chosen |= std::strstr(s.name, argv[i]) != nullptr;
    if (chosen) run(s);
  }
  return 0;
}

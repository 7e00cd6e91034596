#include "interval/functions.hpp"

#include <bit>
#include <cmath>
#include <cstdint>

#include "errors.hpp"
#include "float64_constants.hpp"

namespace kovrix {

namespace {
constexpr double kPi = f64::pi;  // float64 nearest pi (below it by 1.2246e-16)
constexpr double kHalfPi = f64::halfPi;
constexpr double kTwoPi = f64::twoPi;
}  // namespace

Interval exp(Interval x) noexcept {
  double lo = nextDown2(std::exp(x.lo));
  if (!(lo > 0)) lo = 0.0;  // <= 0 or NaN
  return {lo, nextUp2(std::exp(x.hi))};
}

Interval ln(Interval x) {
  if (x.lo <= 0) raiseValueError("ln of an interval with a non-positive lower bound");
  return {nextDown2(std::log(x.lo)), nextUp2(std::log(x.hi))};
}

Interval lnClipped(Interval x) {
  if (x.hi <= 0) return {f64::quietNaN, f64::quietNaN};
  if (x.lo <= 0) return {-f64::infinity, nextUp2(std::log(x.hi))};
  return ln(x);
}

Interval arctan(Interval x) noexcept {
  return {nextDown2(std::atan(x.lo)), nextUp2(std::atan(x.hi))};
}

Interval arctan2(Interval y, Interval x) noexcept {
  // A box around the origin has every angle; a box left of the y-axis that
  // meets the negative x-axis straddles the cut at +-pi.  Both take the whole
  // principal range (-pi, pi].  kPi lies 1.2e-16 below pi, so [-kPi, kPi]
  // would leave out the angle pi of the negative x-axis itself and the angles
  // just above -pi; the range is enclosed one step further out, by
  // [-3.1415926535897936, 3.1415926535897936].
  if ((x.lo <= 0 && 0 <= x.hi && y.lo <= 0 && 0 <= y.hi) || (x.hi < 0 && y.lo < 0 && 0 <= y.hi))
    return {nextDown(-kPi), nextUp(kPi)};
  // Otherwise the angle is monotone along each edge and its extremes are at
  // the corners.  A zero y bound is the real 0, whose angle left of the
  // origin is +pi: atan2 would read a -0 bound as -pi and return an interval
  // around -pi for a box such as [-0, 1] x [-2, -1], whose angles lie in
  // [3 pi / 4, pi].  Reading it as +0 changes nothing elsewhere (right of the
  // origin -0 and +0 both step to the same bounds; at x = 0 with y = 0 the
  // box holds the origin and was answered above).
  const double ylo = (y.lo == 0) ? 0.0 : y.lo, yhi = (y.hi == 0) ? 0.0 : y.hi;
  const double a1 = std::atan2(ylo, x.lo), a2 = std::atan2(ylo, x.hi);
  const double a3 = std::atan2(yhi, x.lo), a4 = std::atan2(yhi, x.hi);
  return {nextDown2(minBound(minBound(minBound(a1, a2), a3), a4)),
          nextUp2(maxBound(maxBound(maxBound(a1, a2), a3), a4))};
}

// ---- sine and cosine ---------------------------------------------------------
//
// Both follow the same three steps.  (1) An interval at least 2 pi wide holds
// a whole period: [-1, 1].  (2) The first critical point c_k at or above x.lo
// is located in float64, with k = ceil((x.lo - h) / kPi) and c_k = k kPi + h
// (h = kPi / 2 for sin, 0 for cos); if x.hi >= c_k the interval holds a peak or
// trough: [-1, 1].  (3) Otherwise the function is monotone on the interval and
// its bounds come from the endpoints.
//
// Step (2) works with kPi, not pi, and rounds three times, so its c_k drifts
// from the true (k + 1/2) pi or k pi by about |x| 2^-54.5 plus up to one unit;
// past some magnitude a true critical point just above x.lo or just below
// x.hi is missed, and step (3) then returns an interval that excludes the
// true value (sin of [-82339363777682.34, -82339363777681.39] would have
// upper bound 0.9999997...).  When step (2) reports "monotone" for an interval
// reaching beyond kCriticalTestReliableBound, the decision is checked once more
// with an exact reduction, and a critical point found there gives [-1, 1].
// Every [-1, 1] of step (2) is kept, and below the bound every answer is.
//
// When the float64 test is reliable.  Let h = kPi / 2 (sin) or 0 (cos),
// c_j = (j + 1/2) pi or j pi the true critical points, t_j = fl(fl(j kPi) + h)
// the float64 ones, delta = pi - kPi = 1.2246e-16.  A critical point c_j in
// [lo, hi] escapes step (2) in two ways only:
//  (a) k = j but hi < t_j: then c_j <= hi < t_j, so c_j lies within
//      t_j - c_j <= |j + 1/2| delta + ulp(j kPi)/2 + ulp(t_j)/2 of hi;
//  (b) k > j although lo <= c_j: the quotient exceeded j, so fl(lo - h) > j kPi
//      and c_j - lo <= |j + 1/2| delta + ulp(lo - h)/2 (lo is that close to c_j;
//      a second point c_{j+1} <= hi escapes only as in (a)).
//  (k < j cannot escape: t_k <= t_{j-1} lies far below c_j <= hi.)
// Both misses really happen, even for small x (sin near -18.5 pi misses by one
// unit), but a point missed within distance e of an endpoint changes the true
// extreme by at most e^2 / 2 against the endpoint's value.  Step (3) moves the
// endpoint value, itself within one unit of the exact sine or cosine (glibc),
// two units outward; below 1 the units are 2^-53, so the extreme +-1 stays
// enclosed as long as e^2 / 2 <= 2^-53, i.e. e <= 2^-26.
// For |lo|, |hi| <= 2^26: |j + 1/2| delta <= (2^26 / pi + 1) delta < 2.7e-9,
// the two roundings of (a) are at most ulp/2 <= 2^-28 < 3.8e-9 each because
// j kPi and t_j stay below 2^26 in magnitude (the critical points nearest to
// +-2^26 are 0.43 and more away from it, so t_j cannot round across it), and
// the single rounding of (b), of lo - h, is at most 2^-27 < 7.5e-9; hence
// e < 1.1e-8 < 2^-26 = 1.49e-8 in both cases.  Up to kCriticalTestReliableBound =
// 2^26 the float64 test therefore never yields an enclosure that misses the
// true range, and its answer is kept as it is.  Beyond it the drift term grows
// with |x| and the misses become visible (first near 1e9, on the negative side
// for sin, where t_j lies above c_j); there, when step (2) says "monotone",
// the exact reduction decides, and a critical point anywhere inside gives
// [-1, 1].  (For cos the float64 test never misses at all -- its single
// rounding of j kPi and the drift are each below half a unit -- but it takes
// the same check, which never fires for it.)

namespace detail {

namespace {
__extension__ typedef unsigned __int128 U128;

// The bits of 2/pi after the binary point, 64 per word, most significant
// first: 2/pi = sum_i kTwoOverPi[i] 2^(-64 (i + 1)).  Generated with 2000-bit
// arithmetic (floor(frac * 2^64) repeatedly) and checked against MPFR by the
// test suite.  24 words cover every finite double: the reduction below reads
// at most word 20 (for the largest exponent, 971).
constexpr std::uint64_t kTwoOverPi[kTwoOverPiWords] = {
    0xA2F9836E4E441529ULL, 0xFC2757D1F534DDC0ULL, 0xDB6295993C439041ULL, 0xFE5163ABDEBBC561ULL,
    0xB7246E3A424DD2E0ULL, 0x06492EEA09D1921CULL, 0xFE1DEB1CB129A73EULL, 0xE88235F52EBB4484ULL,
    0xE99C7026B45F7E41ULL, 0x3991D639835339F4ULL, 0x9C845F8BBDF9283BULL, 0x1FF897FFDE05980FULL,
    0xEF2F118B5A0A6D1FULL, 0x6D367ECF27CB09B7ULL, 0x4F463F669E5FEA2DULL, 0x7527BAC7EBE5F17BULL,
    0x3D0739F78A5292EAULL, 0x6BFB5FB11F8D5D08ULL, 0x56033046FC7B6BABULL, 0xF0CFBC209AF4361DULL,
    0xA9E391615EE61B08ULL, 0x6599855F14A06840ULL, 0x8DFFD8804D732731ULL, 0x06061556CA73A8C9ULL,
};

// acc += v * 2^shift (mod 2^256), bits below 2^0 dropped; -128 < shift < 256.
void addShifted(std::uint64_t (&acc)[4], U128 v, int shift) noexcept {
  std::uint64_t part[3];
  int limb = 0;
  if (shift < 0) {
    v >>= -shift;
    part[0] = static_cast<std::uint64_t>(v);
    part[1] = static_cast<std::uint64_t>(v >> 64);
    part[2] = 0;
  } else {
    limb = shift / 64;
    const int s = shift % 64;
    const std::uint64_t lo = static_cast<std::uint64_t>(v), hi = static_cast<std::uint64_t>(v >> 64);
    part[0] = lo << s;
    part[1] = s ? (hi << s) | (lo >> (64 - s)) : hi;
    part[2] = s ? hi >> (64 - s) : 0;
  }
  unsigned carry = 0;
  for (int i = limb; i < 4; ++i) {
    const std::uint64_t add = (i - limb < 3) ? part[i - limb] : 0;
    const U128 sum = static_cast<U128>(acc[i]) + add + carry;
    acc[i] = static_cast<std::uint64_t>(sum);
    carry = static_cast<unsigned>(sum >> 64);
  }
}
}  // namespace

std::uint64_t twoOverPiWord(int i) noexcept { return kTwoOverPi[i]; }

TwoOverPiFloor floorTwoOverPi(double ax) noexcept {
  // ax = m 2^e with m < 2^53 (ax >= 1 is normal).
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(ax);
  const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int e = static_cast<int>(bits >> 52) - 1075;
  // acc / 2^248 is ax * 2/pi mod 256: 8 integer bits over 248 fraction bits.
  // The term of word i is m kTwoOverPi[i] 2^(e - 64 (i + 1)); when that
  // exponent is >= 8 the term is a multiple of 256 and is skipped.  Terms are
  // added while some of their bits reach acc (shift > -128); what is dropped
  // (later words, and bits below 2^-248 of the terms kept) is below 2^-240,
  // and every term is positive, so acc never exceeds the exact value and is
  // below it by less than 2^-240.
  std::uint64_t acc[4] = {0, 0, 0, 0};
  for (int i = (e >= 8) ? (e - 8) / 64 : 0; i < kTwoOverPiWords; ++i) {
    const int shift = e - 64 * (i + 1) + 248;
    if (shift <= -128) break;
    addShifted(acc, static_cast<U128>(m) * kTwoOverPi[i], shift);
  }
  // floor(acc) differs from the exact floor only if the exact value reaches
  // the next integer, i.e. if the fraction of acc is within 2^-240 of 1.  We
  // answer "undecided" already when its top 120 bits are all ones.
  const bool nearInteger =
      (acc[3] & 0x00FFFFFFFFFFFFFFULL) == 0x00FFFFFFFFFFFFFFULL && acc[2] == ~std::uint64_t{0};
  return {static_cast<unsigned>(acc[3] >> 56), nearInteger};
}

bool containsCriticalPoint(double lo, double hi, unsigned parity) noexcept {
  // floor(x 2/pi) mod 256 for x = lo and x = hi.  x 2/pi is never an integer
  // (pi is irrational and x != 0), so for x < 0 the floor is -floor(|x| 2/pi) - 1.
  auto floorOf = [](double x, bool& undecided) {
    const TwoOverPiFloor f = floorTwoOverPi(std::fabs(x));
    undecided = undecided || f.nearInteger;
    return x < 0 ? 255u - f.low8 : f.low8;
  };
  bool undecided = false;
  const unsigned nLo = floorOf(lo, undecided), nHi = floorOf(hi, undecided);
  if (undecided) return true;
  // The integers in (lo 2/pi, hi 2/pi] are nLo + 1 ... nLo + d; the width is
  // below 4 pi, so fewer than 8 of them, and d is exact mod 256.
  const unsigned d = (nHi - nLo) & 255u;
  if (d == 0) return false;
  if (d >= 2) return true;
  return ((nLo + 1) & 1u) == parity;
}

}  // namespace detail

namespace {
// An interval reaching beyond the reliable bound whose float64 test said
// "monotone": lo <= hi rules out NaN, and an infinite bound never gets here
// (its width is infinite, or the test compared with an infinite c_k).
inline bool needsExactCheck(Interval x) noexcept {
  return (x.lo < -detail::kCriticalTestReliableBound || x.hi > detail::kCriticalTestReliableBound) &&
         x.lo <= x.hi;
}
}  // namespace

Interval sin(Interval x) noexcept {
  if (x.hi - x.lo >= kTwoPi) return {-1.0, 1.0};
  // A quotient of magnitude 2^52 or more is already integral; ceil keeps it.
  const double k = std::ceil((x.lo - kHalfPi) / kPi);
  if (x.hi >= k * kPi + kHalfPi) return {-1.0, 1.0};
  if (needsExactCheck(x) && detail::containsCriticalPoint(x.lo, x.hi, 1)) [[unlikely]]
    return {-1.0, 1.0};
  const double a = std::sin(x.lo), b = std::sin(x.hi);
  return {nextDown2(minBound(a, b)), nextUp2(maxBound(a, b))};
}

Interval cos(Interval x) noexcept {
  if (x.hi - x.lo >= kTwoPi) return {-1.0, 1.0};
  const double k = std::ceil(x.lo / kPi);
  if (x.hi >= k * kPi) return {-1.0, 1.0};
  if (needsExactCheck(x) && detail::containsCriticalPoint(x.lo, x.hi, 0)) [[unlikely]]
    return {-1.0, 1.0};
  const double a = std::cos(x.lo), b = std::cos(x.hi);
  return {nextDown2(minBound(a, b)), nextUp2(maxBound(a, b))};
}

}  // namespace kovrix

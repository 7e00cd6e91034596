#include "arithmetic/formatting.hpp"

#include <algorithm>
#include <vector>

#include "arithmetic/addition_big.hpp"
#include "arithmetic/bitwise_big.hpp"
#include "arithmetic/division_big.hpp"
#include "arithmetic/multiplication_big.hpp"

namespace kovrix {

// The text is produced and read in chunks of 19 digits: 10^19 is the largest
// power of ten below 2^64, so a chunk is one limb and one division of the
// value by 10^19 (a single-limb division) yields 19 digits at once.
//
// Long values are split in halves by powers of ten, 10^(19 2^k), so that the
// cost follows that of one division (to text) or one product (from text) of
// the whole value instead of growing with the square of the length.  The
// digits are unique, so every way of computing them gives the same text.
// The powers are computed per call (their odd parts 5^(19 2^k), the factor
// 2^(19 2^k) being a shift).
namespace {

constexpr std::size_t ChunkDigits = 19;
constexpr Limb ChunkBase = 10'000'000'000'000'000'000ull;
constexpr Limb ChunkFive = 19'073'486'328'125ull;  // 5^19

constexpr Limb pow10(std::size_t k) {
  Limb p = 1;
  for (std::size_t i = 0; i < k; ++i) p *= 10;
  return p;
}

// Digits of the split power at level k: 10^(19 2^k).
constexpr std::size_t levelDigits(std::size_t k) { return ChunkDigits << k; }

// fives[k] = 5^(19 2^k) for k < count, each the square of the one before.
std::vector<BigUInt> oddPowers(std::size_t count) {
  std::vector<BigUInt> fives;
  fives.reserve(count);
  for (std::size_t k = 0; k < count; ++k)
    fives.push_back(k == 0 ? initBigUInt(ChunkFive) : mul(fives[k - 1], fives[k - 1]));
  return fives;
}

// Writes the `width` low decimal digits of v (zero-padded) ending at `end`.
void putDigits(char* end, Limb v, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) {
    *--end = static_cast<char>('0' + v % 10);
    v /= 10;
  }
}

// Writes value (< 10^width) as exactly `width` digits, zero-padded, by
// repeated division by 10^19; value is consumed.
void writeChunks(char* out, std::size_t width, std::span<Limb> value) {
  char* end = out + width;
  std::size_t len = normalizedLength(value);
  while (len > 0) {
    Limb chunk = divModLimbN(value.first(len), value.first(len), ChunkBase);
    len = normalizedLength(value.first(len));
    std::size_t w = std::min<std::size_t>(ChunkDigits, static_cast<std::size_t>(end - out));
    assert(len == 0 || w == ChunkDigits);
    putDigits(end, chunk, w);
    end -= w;
  }
  std::fill(out, end, '0');
}

// x mod 2^bits.
BigUInt lowBits(const BigUInt& x, std::size_t bits) {
  std::size_t limbs = std::min(x.size(), (bits + 63) / 64);
  BigUInt r = initBigUInt(x.limbs().first(limbs));
  if (limbs == (bits + 63) / 64 && bits % 64 != 0 && !r.isZero()) {
    r.mutableLimbs()[limbs - 1] &= (Limb{1} << (bits % 64)) - 1;
    r.trim();
  }
  return r;
}

// Writes x (< 10^(19 2^level)) as exactly levelDigits(level) digits.  Above
// the threshold x = hi 10^e + lo with e = levelDigits(level - 1): hi is
// (x >> e) / 5^e and lo the remainder shifted back with x's low e bits.
void writeDecimal(char* out, BigUInt x, std::size_t level, const std::vector<BigUInt>& fives, std::size_t leafBelow) {
  const std::size_t width = levelDigits(level);
  if (x.isZero()) {
    std::fill(out, out + width, '0');
    return;
  }
  if (level == 0 || x.size() < leafBelow) {
    writeChunks(out, width, x.mutableLimbs());
    return;
  }
  const std::size_t e = levelDigits(level - 1);
  auto [hi, r] = divMod(shr(x, static_cast<std::int64_t>(e)), fives[level - 1]);
  BigUInt lo = add(shl(r, static_cast<std::int64_t>(e)), lowBits(x, e));
  x = BigUInt{};
  writeDecimal(out, std::move(hi), level - 1, fives, leafBelow);
  writeDecimal(out + e, std::move(lo), level - 1, fives, leafBelow);
}

// Value of the digit text [s, s + len) by chunks: value = value 10^k + chunk
// for chunks of up to 19 digits, the first one taking the odd remainder.
// Each chunk grows the value by at most one limb.
BigUInt parseChunks(const char* s, std::size_t len) {
  BigUInt value = BigUInt::uninitialized(len / ChunkDigits + 1);
  Limb* buf = value.data();
  std::size_t used = 0;
  std::size_t first = len % ChunkDigits == 0 ? ChunkDigits : len % ChunkDigits;
  for (std::size_t pos = 0, take = first; pos < len; pos += take, take = ChunkDigits) {
    Limb chunk = 0;
    for (std::size_t i = 0; i < take; ++i) chunk = chunk * 10 + static_cast<Limb>(s[pos + i] - '0');
    Limb scale = take == ChunkDigits ? ChunkBase : pow10(take);
    std::span<Limb> cur{buf, used};
    // value * scale + chunk < 2^64 * B^used: the carries sum without wrapping.
    Limb top = mulLimbN(cur, cur, scale);
    top += addLimbInPlace(cur, chunk);
    if (top != 0) buf[used++] = top;
  }
  value.truncate(used);
  return value;
}

// Value of the digit text [s, s + len): the low e = levelDigits(k) digits
// and the rest, for the largest k with e < len (so the high part is at most
// as long as the low one), joined as hi 5^e 2^e + lo.  fives must reach k.
BigUInt parseDecimal(const char* s, std::size_t len, const std::vector<BigUInt>& fives, std::size_t leafBelow) {
  if (len < leafBelow || len <= ChunkDigits) return parseChunks(s, len);
  std::size_t k = 0;
  while (levelDigits(k + 1) < len) ++k;
  const std::size_t e = levelDigits(k);
  BigUInt hi = parseDecimal(s, len - e, fives, leafBelow);
  BigUInt lo = parseDecimal(s + (len - e), e, fives, leafBelow);
  if (hi.isZero()) return lo;
  return add(shl(mul(hi, fives[k]), static_cast<std::int64_t>(e)), lo);
}

}  // namespace

namespace {

// Upper bound on the digits of a non-zero x: floor(bits log10 2) + 1, with
// 30103 / 10^5 just above log10 2.
std::size_t maxDecimalDigits(const BigUInt& x) {
  const std::uint64_t bits = 64 * std::uint64_t(x.size()) - std::uint64_t(clz64(x.topLimb()));
  return static_cast<std::size_t>(bits / 100000 * 30103 + (bits % 100000) * 30103 / 100000 + 1);
}

std::string withoutLeadingZeros(std::string text) {
  text.erase(0, text.find_first_not_of('0'));
  return text;
}

}  // namespace

std::string toDecimalByChunks(const BigUInt& x) {
  if (x.isZero()) return "0";
  std::string text(maxDecimalDigits(x), '0');
  ScratchLimbs<32> work(x.size());
  std::copy(x.limbs().begin(), x.limbs().end(), work.span().begin());
  writeChunks(text.data(), text.size(), work.span());
  return withoutLeadingZeros(std::move(text));
}

std::string toDecimalDivideConquer(const BigUInt& x, std::size_t leafBelow) {
  if (x.isZero()) return "0";
  // The smallest level whose power exceeds x: its digit count covers x's.
  std::size_t levels = 0;
  while (levelDigits(levels) < maxDecimalDigits(x)) ++levels;
  std::string text(levelDigits(levels), '0');
  writeDecimal(text.data(), x, levels, oddPowers(levels), leafBelow);
  return withoutLeadingZeros(std::move(text));
}

std::string toDecimal(const BigUInt& x) {
  return x.size() < ToDecimalDivideConquerThreshold ? toDecimalByChunks(x) : toDecimalDivideConquer(x);
}

BigUInt fromDecimalByChunks(std::string_view digits) { return parseChunks(digits.data(), digits.size()); }

BigUInt fromDecimalDivideConquer(std::string_view digits, std::size_t leafBelow) {
  if (digits.size() <= ChunkDigits) return parseChunks(digits.data(), digits.size());
  std::size_t levels = 0;
  while (levelDigits(levels + 1) < digits.size()) ++levels;
  return parseDecimal(digits.data(), digits.size(), oddPowers(levels + 1), leafBelow);
}

std::string toDecimal(const BigInt& x) {
  if (!x.negative) return toDecimal(x.magnitude);
  std::string digits = toDecimal(x.magnitude);
  std::string text;
  text.reserve(digits.size() + 1);
  text.push_back('-');
  text.append(digits);
  return text;
}

BigInt initBigIntFromDecimal(std::string_view text) {
  std::size_t start = 0;
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    start = 1;
  }
  std::size_t stop = start;
  while (stop < text.size() && text[stop] >= '0' && text[stop] <= '9') ++stop;
  if (stop == start) raiseValueError("no decimal digits");
  if (stop != text.size()) raiseValueError("trailing non-digit characters in decimal string");

  // Leading zeros do not change the value.
  while (stop - start > 1 && text[start] == '0') ++start;
  std::string_view digits = text.substr(start, stop - start);
  BigUInt value = digits.size() < FromDecimalDivideConquerThreshold ? fromDecimalByChunks(digits)
                                                                    : fromDecimalDivideConquer(digits);
  return initBigInt(std::move(value), negative);
}

}  // namespace kovrix

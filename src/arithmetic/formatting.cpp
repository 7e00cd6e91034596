#include "arithmetic/formatting.hpp"

#include "arithmetic/addition_big.hpp"
#include "arithmetic/division_big.hpp"
#include "arithmetic/multiplication_big.hpp"

namespace kovrix {

// The text is produced and read in chunks of 19 digits: 10^19 is the largest
// power of ten below 2^64, so a chunk is one limb and one division of the
// value by 10^19 (a single-limb division) yields 19 digits at once.  The
// digits are those of one division by 10 per digit; only the count of passes
// over the limbs drops by a factor of 19.
namespace {

constexpr int ChunkDigits = 19;
constexpr Limb ChunkBase = 10'000'000'000'000'000'000ull;

constexpr Limb pow10(int k) {
  Limb p = 1;
  for (int i = 0; i < k; ++i) p *= 10;
  return p;
}

// Writes the `width` low decimal digits of v (zero-padded) ending at `end`.
void putDigits(char* end, Limb v, int width) {
  for (int i = 0; i < width; ++i) {
    *--end = static_cast<char>('0' + v % 10);
    v /= 10;
  }
}

int digitCount(Limb v) {
  int d = 1;
  while (v >= 10) {
    v /= 10;
    ++d;
  }
  return d;
}

}  // namespace

std::string toDecimal(const BigUInt& x) {
  if (x.isZero()) return "0";
  std::size_t n = x.size();
  // Each chunk removes more than 63 bits (10^19 > 2^63), so 64 n bits give at
  // most ceil(64 n / 63) chunks.
  std::size_t maxChunks = n + n / 63 + 2;
  ScratchLimbs<32> work(n + maxChunks);
  auto value = work.span().first(n);
  auto chunks = work.span().subspan(n, maxChunks);
  std::copy(x.limbs().begin(), x.limbs().end(), value.begin());
  std::size_t count = 0, len = n;
  while (len > 1 || value[0] >= ChunkBase) {
    chunks[count++] = divModLimbN(value.first(len), value.first(len), ChunkBase);
    len = normalizedLength(value.first(len));
  }
  Limb head = len ? value[0] : 0;  // the most significant chunk, < 10^19
  int headDigits = digitCount(head);
  std::string text(static_cast<std::size_t>(headDigits) + count * ChunkDigits, '0');
  char* end = text.data() + headDigits;
  putDigits(end, head, headDigits);
  for (std::size_t i = count; i-- > 0;) {
    end += ChunkDigits;
    putDigits(end, chunks[i], ChunkDigits);
  }
  return text;
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

  // value = value * 10^k + chunk for chunks of up to 19 digits, the first one
  // taking the odd remainder.  Each chunk grows the value by at most one limb.
  std::size_t digits = stop - start;
  std::size_t capacity = digits / ChunkDigits + 1;
  BigUInt value = BigUInt::uninitialized(capacity);
  Limb* buf = value.data();
  std::size_t len = 0;
  std::size_t pos = start;
  std::size_t first = digits % ChunkDigits == 0 ? ChunkDigits : digits % ChunkDigits;
  for (std::size_t take = first; pos < stop; pos += take, take = ChunkDigits) {
    Limb chunk = 0;
    for (std::size_t i = 0; i < take; ++i) chunk = chunk * 10 + static_cast<Limb>(text[pos + i] - '0');
    Limb scale = take == ChunkDigits ? ChunkBase : pow10(static_cast<int>(take));
    std::span<Limb> cur{buf, len};
    // value * scale + chunk < 2^64 * B^len: the carries sum without wrapping.
    Limb top = mulLimbN(cur, cur, scale);
    top += addLimbInPlace(cur, chunk);
    if (top != 0) buf[len++] = top;
  }
  value.truncate(len);
  return initBigInt(std::move(value), negative);
}

}  // namespace kovrix

#pragma once
// A hash of a cell's text for the indexes and sketches of a load, and the
// comparison that settles a match: most cells are a few bytes long and are
// hashed from two overlapping loads with one multiplication, where a general
// byte-string hash loops byte group by group. The value is well spread in
// every bit; it is not stable across versions and never stored.
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vlm {

namespace text_hash_detail {

inline uint64_t load64(const char* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
inline uint64_t load32(const char* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
// The two halves of the 128-bit product, folded.
inline uint64_t fold(uint64_t a, uint64_t b) {
  const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
  return static_cast<uint64_t>(product) ^ static_cast<uint64_t>(product >> 64);
}

// A text's first and last bytes as two loads, overlapping where the text is
// shorter than 16 bytes: for a given length of at most 16, equal loads mean
// equal texts (below 4 bytes the first, middle and last byte are all of it).
struct EdgeLoads {
  uint64_t head = 0, tail = 0;
};
inline EdgeLoads edgeLoads(const char* p, size_t n) {
  if (n >= 8) return {load64(p), load64(p + n - 8)};
  if (n >= 4) return {load32(p), load32(p + n - 4)};
  if (n == 0) return {};
  return {(uint64_t{static_cast<uint8_t>(p[0])} << 16) | (uint64_t{static_cast<uint8_t>(p[n / 2])} << 8) |
              static_cast<uint8_t>(p[n - 1]),
          0};
}

constexpr uint64_t kOne = 0xa0761d6478bd642full;
constexpr uint64_t kTwo = 0xe7037ed1a0b428dbull;
constexpr uint64_t kThree = 0x8ebc6af09c88c6e3ull;

}  // namespace text_hash_detail

inline uint64_t textHash64(std::string_view text) {
  using namespace text_hash_detail;
  const char* p = text.data();
  const size_t n = text.size();
  uint64_t a = 0, b = 0, seed = kThree ^ n;
  if (n <= 16) {
    const EdgeLoads loads = edgeLoads(p, n);
    a = loads.head;
    b = loads.tail;
  } else {
    size_t i = 0;
    for (; n - i > 16; i += 16) seed = fold(load64(p + i) ^ kOne, load64(p + i + 8) ^ seed);
    a = load64(p + n - 16);
    b = load64(p + n - 8);
  }
  uint64_t h = fold(a ^ kOne, b ^ seed);
  // A final mix spreads every input bit over the high bits the sketches read.
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ull;
  h ^= h >> 33;
  return h;
}

// Whether two texts hold the same bytes. Texts of 4 to 16 bytes are compared
// as two overlapping loads each, where a call to memcmp costs more than the
// comparison itself (an index compares at nearly every cell of a load).
inline bool sameText(std::string_view a, std::string_view b) {
  using namespace text_hash_detail;
  const size_t n = a.size();
  if (n != b.size()) return false;
  const char* p = a.data();
  const char* q = b.data();
  if (n >= 8 && n <= 16) return load64(p) == load64(q) && load64(p + n - 8) == load64(q + n - 8);
  if (n >= 4 && n < 8) return load32(p) == load32(q) && load32(p + n - 4) == load32(q + n - 4);
  return n == 0 || std::memcmp(p, q, n) == 0;
}

}  // namespace vlm

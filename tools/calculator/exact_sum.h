#pragma once
// The exact sum of floats: every float is a whole multiple of 2^-149, so the
// sum is kept as such a multiple, in 128-bit buckets of 32 exponents each.
// Adding and taking away a value are exact, so a sum kept up to date sample
// by sample equals the sum taken afresh, whatever the order.
#include <cstdint>
#include <cstring>

namespace vlm::calculator {

class ExactSum {
 public:
  void add(float value) { change(value, false); }
  void subtract(float value) { change(value, true); }
  // Adds `count` x 2^(exponent - 150), the form ExactSumBatch gathers.
  void addScaled(int64_t count, uint32_t exponent);
  // The sum as a double, rounded the same way whatever way it was reached.
  double value() const;
  bool operator==(const ExactSum& other) const;

 private:
  void change(float value, bool negate);
  __int128 buckets_[8] = {};
};

// Many floats summed exactly at the cost of one addition each: the
// mantissas of a binary exponent add up in 64 bits (2^39 floats before one
// could overflow), and only the end result goes into an ExactSum.
class ExactSumBatch {
 public:
  void add(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const uint32_t exponent = (bits >> 23) & 0xFF;
    const int64_t mantissa = exponent == 0 ? (bits & 0x7FFFFF) : ((bits & 0x7FFFFF) | 0x800000);
    // A subnormal has the least exponent and no hidden bit; infinities and
    // undefined values land in a slot that is never read.
    sums_[exponent == 0 ? 1 : exponent] += (bits >> 31) != 0 ? -mantissa : mantissa;
  }
  // Adds the float whose bits are `bits` `times` times (-1, 0 or 1 in
  // use), without a branch: a whole column can go through it in order.
  void addTimes(int32_t bits, int32_t times) {
    const auto u = static_cast<uint32_t>(bits);
    const uint32_t exponent = (u >> 23) & 0xFF;
    const int64_t mantissa = (u & 0x7FFFFF) | (exponent == 0 ? 0u : 0x800000u);
    const int64_t sign = -static_cast<int64_t>(u >> 31);  // 0 or -1
    sums_[exponent == 0 ? 1 : exponent] += ((mantissa ^ sign) - sign) * times;
  }
  void merge(const ExactSumBatch& other) {
    for (int e = 0; e < 256; ++e) sums_[e] += other.sums_[e];
  }
  void addTo(ExactSum& sum) const;
  void subtractFrom(ExactSum& sum) const;

 private:
  int64_t sums_[256] = {};
};

}  // namespace vlm::calculator

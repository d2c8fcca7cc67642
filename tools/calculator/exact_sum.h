#pragma once
// The exact sum of floats: every float is a whole multiple of 2^-149, so the
// sum is kept as such a multiple, in 128-bit buckets of 32 exponents each.
// Adding and taking away a value are exact, so a sum kept up to date sample
// by sample equals the sum taken afresh, whatever the order.
#include <cstdint>

namespace vlm::calculator {

class ExactSum {
 public:
  void add(float value) { change(value, false); }
  void subtract(float value) { change(value, true); }
  // The sum as a double, rounded the same way whatever way it was reached.
  double value() const;
  bool operator==(const ExactSum& other) const;

 private:
  void change(float value, bool negate);
  __int128 buckets_[8] = {};
};

}  // namespace vlm::calculator

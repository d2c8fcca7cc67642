#include "tools/calculator/exact_sum.h"

#include <cmath>
#include <cstring>

namespace vlm::calculator {
namespace {

// Carries every bucket's excess into the next, leaving buckets 0..6 in
// 0..2^32-1: one form for every way of reaching the same sum.
void normalise(__int128 (&b)[8]) {
  for (int k = 0; k < 7; ++k) {
    const __int128 carry = b[k] >> 32;  // rounds towards minus infinity
    b[k] -= carry * (static_cast<__int128>(1) << 32);
    b[k + 1] += carry;
  }
}

}  // namespace

void ExactSum::change(float value, bool negate) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  uint32_t exponent = (bits >> 23) & 0xFF;
  if (exponent == 0xFF) return;  // no infinite or undefined value is ever summed
  uint32_t mantissa = bits & 0x7FFFFF;
  if (exponent == 0)
    exponent = 1;  // a subnormal has the least exponent and no hidden bit
  else
    mantissa |= 0x800000;
  // value = mantissa x 2^(exponent - 150)
  const __int128 part = static_cast<__int128>(mantissa) << (exponent & 31);
  const bool negative = ((bits >> 31) != 0) != negate;
  if (negative)
    buckets_[exponent >> 5] -= part;
  else
    buckets_[exponent >> 5] += part;
}

void ExactSum::addScaled(int64_t count, uint32_t exponent) {
  buckets_[(exponent >> 5) & 7] += static_cast<__int128>(count) * (static_cast<__int128>(1) << (exponent & 31));
}

void ExactSumBatch::addTo(ExactSum& sum) const {
  for (uint32_t e = 1; e < 255; ++e)
    if (sums_[e] != 0) sum.addScaled(sums_[e], e);
}

void ExactSumBatch::subtractFrom(ExactSum& sum) const {
  for (uint32_t e = 1; e < 255; ++e)
    if (sums_[e] != 0) sum.addScaled(-sums_[e], e);
}

double ExactSum::value() const {
  __int128 b[8];
  std::memcpy(b, buckets_, sizeof b);
  normalise(b);
  long double v = static_cast<long double>(b[7]);
  for (int k = 6; k >= 0; --k) v = v * 4294967296.0L + static_cast<long double>(b[k]);
  return static_cast<double>(std::ldexp(v, -150));
}

bool ExactSum::operator==(const ExactSum& other) const {
  __int128 a[8], b[8];
  std::memcpy(a, buckets_, sizeof a);
  std::memcpy(b, other.buckets_, sizeof b);
  normalise(a);
  normalise(b);
  for (int k = 0; k < 8; ++k) {
    if (a[k] != b[k]) return false;
  }
  return true;
}

}  // namespace vlm::calculator

#include "data/distinct_estimate.h"

#include <algorithm>
#include <cmath>

#include "data/text_hash.h"

namespace vlm {
namespace {

constexpr int kIndexBits = 11;
constexpr size_t kRegisters = size_t{1} << kIndexBits;

}  // namespace

void sketchAdd(DistinctSketch& sketch, std::string_view text) {
  if (sketch.registers.empty()) sketch.registers.assign(kRegisters, 0);
  const uint64_t hash = textHash64(text);
  const size_t index = static_cast<size_t>(hash >> (64 - kIndexBits));
  // The rank is the position of the first 1 bit among the remaining bits; a
  // marker bit bounds it when they are all 0.
  const uint64_t rest = (hash << kIndexBits) | (uint64_t{1} << (kIndexBits - 1));
  const uint8_t rank = static_cast<uint8_t>(__builtin_clzll(rest) + 1);
  if (rank > sketch.registers[index]) sketch.registers[index] = rank;
  ++sketch.texts;
  sketch.bytes += text.size();
}

void sketchMerge(DistinctSketch& sketch, const DistinctSketch& other) {
  if (other.registers.empty()) return;
  if (sketch.registers.empty()) sketch.registers.assign(kRegisters, 0);
  for (size_t i = 0; i < kRegisters; ++i) sketch.registers[i] = std::max(sketch.registers[i], other.registers[i]);
  sketch.texts += other.texts;
  sketch.bytes += other.bytes;
}

uint64_t sketchDistinct(const DistinctSketch& sketch) {
  if (sketch.registers.empty()) return 0;
  const double m = static_cast<double>(kRegisters);
  double sum = 0;
  size_t zeros = 0;
  for (uint8_t r : sketch.registers) {
    sum += std::ldexp(1.0, -r);
    zeros += r == 0;
  }
  double estimate = (0.7213 / (1 + 1.079 / m)) * m * m / sum;
  // Few distinct texts leave registers unset; counting those is exact enough there.
  if (estimate <= 2.5 * m && zeros > 0) estimate = m * std::log(m / static_cast<double>(zeros));
  const double most = static_cast<double>(sketch.texts);
  return static_cast<uint64_t>(std::llround(std::min(estimate, most)));
}

size_t sketchMeanLength(const DistinctSketch& sketch) {
  return sketch.texts == 0 ? 0 : static_cast<size_t>(sketch.bytes / sketch.texts);
}

}  // namespace vlm

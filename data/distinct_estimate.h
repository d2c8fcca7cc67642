#pragma once
// Estimating how many distinct texts a column holds, in one pass and little
// memory (a HyperLogLog sketch of 2048 registers, within a few per cent), so
// that the loading pass can ready the text pool for about that many texts.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vlm {

struct DistinctSketch {
  std::vector<uint8_t> registers;  // empty until the first text
  uint64_t texts = 0;              // texts added
  uint64_t bytes = 0;              // their lengths summed
};

void sketchAdd(DistinctSketch& sketch, std::string_view text);

// Adds what `other` saw, as if its texts had been added to `sketch`.
void sketchMerge(DistinctSketch& sketch, const DistinctSketch& other);

// About how many distinct texts were added (0 for none).
uint64_t sketchDistinct(const DistinctSketch& sketch);

// The mean length of the texts added (0 for none).
size_t sketchMeanLength(const DistinctSketch& sketch);

}  // namespace vlm

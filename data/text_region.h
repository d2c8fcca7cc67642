#pragma once
// A line where a pass over a table text may start a piece of its own.
#include <cstddef>
#include <cstdint>

namespace vlm {

struct TextRegionStart {
  size_t position = 0;        // the line's first byte in the text
  int64_t samplesBefore = 0;  // samples on the lines before it
  bool operator==(const TextRegionStart&) const = default;
};

}  // namespace vlm

#pragma once
// The logical palette of an indexed pixel format: every index split into its
// red, green and blue bit fields, each scaled to 0..255. For the common 3-3-2
// format twelve entries are replaced by the standard system colours so that
// those stay exact while the palette is realised.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vlm::render {

struct PaletteEntry {
  uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const PaletteEntry&) const = default;
};

struct IndexedFormat {
  int colorBits = 8;
  int redBits = 3, redShift = 0;
  int greenBits = 3, greenShift = 3;
  int blueBits = 2, blueShift = 6;
};

// The value of one channel of index i, scaled to 0..255 (0 or 255 for one bit).
uint8_t paletteComponent(unsigned index, int bits, int shift);

// 2^colorBits entries; empty for more than 8 colour bits (no palette needed).
std::vector<PaletteEntry> computePalette(const IndexedFormat& format);

}  // namespace vlm::render

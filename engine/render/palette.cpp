#include "engine/render/palette.h"

namespace vlm::render {
namespace {

// Entries overridden in a 3-3-2 palette and the system colours they receive.
constexpr int kOverrideIndex[12] = {3, 24, 27, 64, 67, 88, 173, 181, 236, 247, 164, 91};
constexpr PaletteEntry kSystemColour[12] = {
    {0x80, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x80, 0x80, 0x00}, {0x00, 0x00, 0x80},
    {0x80, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0xC0, 0xC0, 0xC0}, {192, 220, 192},
    {166, 202, 240},    {255, 251, 240},    {160, 160, 164},    {0x80, 0x80, 0x80},
};

}  // namespace

uint8_t paletteComponent(unsigned index, int bits, int shift) {
  if (bits <= 0) return 0;
  const unsigned max = (1u << bits) - 1u;
  const unsigned value = (index >> shift) & max;
  return static_cast<uint8_t>((value * 255u + max / 2u) / max);
}

std::vector<PaletteEntry> computePalette(const IndexedFormat& f) {
  std::vector<PaletteEntry> palette;
  if (f.colorBits <= 0 || f.colorBits > 8) return palette;
  palette.resize(size_t{1} << f.colorBits);
  for (unsigned i = 0; i < palette.size(); ++i) {
    palette[i].red = paletteComponent(i, f.redBits, f.redShift);
    palette[i].green = paletteComponent(i, f.greenBits, f.greenShift);
    palette[i].blue = paletteComponent(i, f.blueBits, f.blueShift);
  }
  const bool is332 = f.colorBits == 8 && f.redBits == 3 && f.redShift == 0 && f.greenBits == 3 &&
                     f.greenShift == 3 && f.blueBits == 2 && f.blueShift == 6;
  if (is332)
    for (int k = 0; k < 12; ++k) palette[kOverrideIndex[k]] = kSystemColour[k];
  return palette;
}

}  // namespace vlm::render

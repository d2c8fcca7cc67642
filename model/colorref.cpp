#include "model/colorref.h"

#include <cmath>

namespace vlm {
namespace {

constexpr float kByteToUnit = 0.003921569f;

uint32_t channelByte(float value) {
  const float scaled = 255.0f * value;
  // Out-of-range inputs wrap through the byte mask; NaN and huge values would make
  // the conversion undefined, so they are brought into a representable range first.
  if (!std::isfinite(scaled)) return 0;
  const double truncated = std::trunc(static_cast<double>(scaled));
  const double wrapped = std::fmod(truncated, 4294967296.0);
  const int64_t asInt = static_cast<int64_t>(wrapped);
  return static_cast<uint32_t>(asInt) & 0xFFu;
}

}  // namespace

void colorrefToRgba(uint32_t colorref, float alpha, float rgba[4]) {
  rgba[0] = static_cast<float>(colorref & 0xFF) * kByteToUnit;
  rgba[1] = static_cast<float>((colorref >> 8) & 0xFF) * kByteToUnit;
  rgba[2] = static_cast<float>((colorref >> 16) & 0xFF) * kByteToUnit;
  rgba[3] = alpha;
}

uint32_t rgbToColorref(float red, float green, float blue) {
  return channelByte(red) | (channelByte(green) << 8) | (channelByte(blue) << 16);
}

}  // namespace vlm

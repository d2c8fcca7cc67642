#pragma once
// Windows colour references (0x00BBGGRR) and RGBA floats.
#include <cstdint>

namespace vlm {

void colorrefToRgba(uint32_t colorref, float alpha, float rgba[4]);
// Each channel truncated from 255 x value and masked to a byte.
uint32_t rgbToColorref(float red, float green, float blue);

}  // namespace vlm

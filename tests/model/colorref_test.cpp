#include "model/colorref.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vlm {
namespace {

TEST(Colorref, RgbToColorrefTruncatesEachChannel) {
  EXPECT_EQ(rgbToColorref(1.0f, 0.5f, 0.0f), 0x7FFFu);
  EXPECT_EQ(rgbToColorref(0.0f, 0.0f, 1.0f), 0xFF0000u);
  EXPECT_EQ(rgbToColorref(0.999f, 0.0f, 0.0f), 0xFEu);
  EXPECT_EQ(rgbToColorref(2.0f, 0.0f, 0.0f), 0xFEu);  // 510 masked to a byte
  EXPECT_EQ(rgbToColorref(std::nanf(""), 1e30f, -1e30f), 0u);
}

TEST(Colorref, ColorrefToRgbaSplitsTheBytesAndCopiesAlpha) {
  float rgba[4];
  colorrefToRgba(0x00336699u, 0.25f, rgba);
  EXPECT_NEAR(rgba[0], 0x99 / 255.0f, 1e-6f);
  EXPECT_NEAR(rgba[1], 0x66 / 255.0f, 1e-6f);
  EXPECT_NEAR(rgba[2], 0x33 / 255.0f, 1e-6f);
  EXPECT_EQ(rgba[3], 0.25f);
  colorrefToRgba(0xFFFFFFFFu, 1.0f, rgba);
  EXPECT_NEAR(rgba[0], 1.0f, 1e-6f);
}

TEST(Colorref, RoundTrip) {
  float rgba[4];
  for (uint32_t c : {0x000000u, 0x123456u, 0xFFFFFFu, 0x7F80FFu}) {
    colorrefToRgba(c, 1.0f, rgba);
    // The multiplication by 0.003921569 lands a hair above the byte, so truncation holds.
    EXPECT_EQ(rgbToColorref(rgba[0], rgba[1], rgba[2]), c);
  }
}

}  // namespace
}  // namespace vlm

// Pure parts of the rendering context: pixel format checks, palette, GL strings.
#include <gtest/gtest.h>

#include <string>

#include "engine/render/gl_strings.h"
#include "engine/render/palette.h"
#include "engine/render/surface_format.h"

namespace vlm::render {
namespace {

TEST(SurfaceFormat, AsksForTheViewFormat) {
  const QSurfaceFormat f = wantedSurfaceFormat(false);
  EXPECT_EQ(f.profile(), QSurfaceFormat::CompatibilityProfile);
  EXPECT_EQ(f.redBufferSize() + f.greenBufferSize() + f.blueBufferSize(), 24);
  EXPECT_GT(f.alphaBufferSize(), 0);
  EXPECT_EQ(f.depthBufferSize(), 16);
  EXPECT_EQ(f.swapBehavior(), QSurfaceFormat::DoubleBuffer);
  EXPECT_FALSE(f.stereo());
  EXPECT_TRUE(wantedSurfaceFormat(true).stereo());
}

TEST(SurfaceFormat, AContextWithoutTheAskedBuffersIsRefused) {
  const QSurfaceFormat wanted = wantedSurfaceFormat(true);
  QSurfaceFormat got = wanted;
  EXPECT_TRUE(formatSatisfies(wanted, got));
  got.setStereo(false);
  EXPECT_FALSE(formatSatisfies(wanted, got));
  got = wanted;
  got.setDepthBufferSize(0);
  EXPECT_FALSE(formatSatisfies(wanted, got));
  got = wanted;
  got.setAlphaBufferSize(0);
  EXPECT_FALSE(formatSatisfies(wanted, got));
  got = wanted;
  got.setSwapBehavior(QSurfaceFormat::SingleBuffer);
  EXPECT_FALSE(formatSatisfies(wanted, got));
  EXPECT_EQ(colorBits(wanted), 24);
}

TEST(Palette, ThreeThreeTwoPaletteKeepsTheSystemColours) {
  const auto p = computePalette(IndexedFormat{});
  ASSERT_EQ(p.size(), 256u);
  EXPECT_EQ(p[0], (PaletteEntry{0, 0, 0}));
  EXPECT_EQ(p[255], (PaletteEntry{255, 255, 255}));
  EXPECT_EQ(p[7], (PaletteEntry{255, 0, 0}));    // red bits 0..2
  EXPECT_EQ(p[0x38], (PaletteEntry{0, 255, 0}));  // green bits 3..5
  EXPECT_EQ(p[0xC0], (PaletteEntry{0, 0, 255}));  // blue bits 6..7
  EXPECT_EQ(p[1], (PaletteEntry{36, 0, 0}));
  EXPECT_EQ(p[0x80], (PaletteEntry{0, 0, 170}));
  EXPECT_EQ(p[64], (PaletteEntry{0, 0, 0x80})) << "a system colour in place of the 3-3-2 value";
  // Twelve entries carry the system colours.
  EXPECT_EQ(p[3], (PaletteEntry{0x80, 0, 0}));
  EXPECT_EQ(p[173], (PaletteEntry{0xC0, 0xC0, 0xC0}));
  EXPECT_EQ(p[91], (PaletteEntry{0x80, 0x80, 0x80}));
  EXPECT_EQ(p[247], (PaletteEntry{255, 251, 240}));
}

TEST(Palette, OtherIndexedFormatsScaleEveryChannel) {
  IndexedFormat f;
  f.colorBits = 4;
  f.redBits = 1, f.redShift = 0;
  f.greenBits = 2, f.greenShift = 1;
  f.blueBits = 1, f.blueShift = 3;
  const auto p = computePalette(f);
  ASSERT_EQ(p.size(), 16u);
  EXPECT_EQ(p[1], (PaletteEntry{255, 0, 0}));
  EXPECT_EQ(p[2], (PaletteEntry{0, 85, 0}));
  EXPECT_EQ(p[15], (PaletteEntry{255, 255, 255}));
  EXPECT_EQ(paletteComponent(3, 2, 0), 255);
  IndexedFormat deep;
  deep.colorBits = 24;
  EXPECT_TRUE(computePalette(deep).empty());
}

TEST(GlStrings, LongStringsStayInsideTheField) {
  const std::string longText(5000, 'x');
  EXPECT_EQ(boundedGlString(longText.c_str(), 1024).size(), 1023u);
  EXPECT_EQ(boundedGlString("Mesa", 1024), "Mesa");
  EXPECT_EQ(boundedGlString(nullptr, 1024), "");
}

}  // namespace
}  // namespace vlm::render

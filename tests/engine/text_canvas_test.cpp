#include <gtest/gtest.h>

#include "engine/render/text_canvas.h"

namespace vlm::render {
namespace {

TEST(TextCanvas, CachesThirtySixFontsAndRefusesTheNext) {
  TextCanvas canvas;
  createTextCanvas(canvas, false);
  const CanvasFont* first = canvasFont(canvas, 0, false, 10);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->weight, 400);
  EXPECT_EQ(canvasFont(canvas, 400, false, 10), first) << "a hit returns the cached font";
  for (int h = 11; h < 10 + kCanvasFontCacheSize; ++h) ASSERT_NE(canvasFont(canvas, 400, false, h), nullptr);
  EXPECT_EQ(canvas.fonts.size(), size_t(kCanvasFontCacheSize));
  EXPECT_EQ(canvasFont(canvas, 700, true, 10), nullptr);
  EXPECT_NE(canvasFont(canvas, 400, false, 20), nullptr);
}

TEST(TextCanvas, RendersInkAsSetBitsOrColourPixels) {
  TextCanvas mono;
  createTextCanvas(mono, false);
  const auto bits = renderCanvasText(mono, "Hello World");
  ASSERT_EQ(bits.size(), size_t(kCanvasSize * kCanvasSize / 8));
  int ink = 0;
  for (uint8_t b : bits) ink += __builtin_popcount(b);
  EXPECT_GT(ink, 50);
  EXPECT_LT(ink, kCanvasSize * kCanvasSize / 2) << "mostly white paper";
  EXPECT_EQ(bits[0], 0) << "the pen starts at 5, 5";

  TextCanvas colour;
  createTextCanvas(colour, true);
  const auto rgb = renderCanvasText(colour, "Hi");
  ASSERT_EQ(rgb.size(), size_t(kCanvasSize * kCanvasSize * 3));
  EXPECT_EQ(rgb[0], 255);

  TextCanvas none;
  EXPECT_TRUE(renderCanvasText(none, "x").empty());
}

}  // namespace
}  // namespace vlm::render

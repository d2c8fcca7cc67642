#pragma once
// The off-screen text canvas: turns a cell's text into a 128 x 128 texture
// image, 24-bit colour when colour textures are on, otherwise one bit a pixel.
// Fonts are cached by weight, italic flag and height, 36 at most.
#include <QFont>

#include <cstdint>
#include <string>
#include <vector>

namespace vlm::render {

constexpr int kCanvasSize = 128;
constexpr int kCanvasFontCacheSize = 36;

struct CanvasFont {
  int weight = 400;
  bool italic = false;
  int height = 0;
  QFont font;
  int charHeight = 0, charWidth = 0;
};

struct TextCanvas {
  bool exists = false;
  bool colour = false;  // 24 bits a pixel; otherwise one bit
  std::vector<CanvasFont> fonts;
};

void createTextCanvas(TextCanvas& canvas, bool colourTextures);
void deleteTextCanvas(TextCanvas& canvas);

// The cached font, created on a miss (weight 0 means 400); null once 36 fonts
// are cached and this one is not among them.
const CanvasFont* canvasFont(TextCanvas& canvas, int weight, bool italic, int height);

// Renders `text` (weight 400, height 40, from x 5, y 5, broken into lines that
// fit the canvas width minus 5). The image comes top row first: 3 bytes a pixel
// (red, green, blue) in colour; otherwise 16 bytes a row, most significant bit
// first, a set bit for ink, which the index-to-colour pixel maps draw black on
// white. Empty when there is no canvas or no font.
std::vector<uint8_t> renderCanvasText(TextCanvas& canvas, const std::string& text);

}  // namespace vlm::render

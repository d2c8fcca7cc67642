#pragma once
// Texts of the flat overlays: character codes at a window position, drawn with
// the bitmap font lists.
#include <GL/gl.h>

#include <string>

namespace vlm::scene {

struct OverlayText {
  float x = 0, y = 0;  // baseline start, window pixels, y up
  std::string codes;
};

// Draws at depth z with the current colour.
void drawOverlayText(GLuint fontBase, const OverlayText& t, float z = 0.0f);

// Cuts a text of character codes to `max` characters, the last one shown as ".".
std::string cutWithDot(const std::string& codes, size_t max);

}  // namespace vlm::scene

#pragma once
// Bitmap glyph display lists of the system's variable-width font, one list per
// character code 0..254 from `base` (the base reserves 256 lists). Glyphs are
// rasterised by Qt and issued as glBitmap with the origin on the baseline, so a
// raster position followed by glCallLists draws a text.
#include <GL/gl.h>

namespace vlm::render {

struct FontMetricsResult {
  int charHeight = 16;
  int maxCharWidth = 16;
};

// Needs the current context and unpack alignment 4.
FontMetricsResult makeBitmapFontLists(GLuint base);

// The character of a code in the system's single-byte code page (Windows-1252).
char16_t codePageCharacter(unsigned char code);

}  // namespace vlm::render

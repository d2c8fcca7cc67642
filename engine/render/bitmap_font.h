#pragma once
// Bitmap glyph display lists of the system's variable-width font, one list per
// character code 0..254 from `base` (the base reserves 256 lists), as the
// overlays draw their texts (see scene/fonts/glyph_bitmaps.h).
#include <GL/gl.h>

namespace vlm::render {

struct FontMetricsResult {
  int charHeight = 16;
  int maxCharWidth = 16;
};

// Needs the current context and unpack alignment 4. The glyphs are drawn at
// `pixelRatio` device pixels per window pixel; the metrics are window pixels.
FontMetricsResult makeBitmapFontLists(GLuint base, float pixelRatio = 1.0f);

}  // namespace vlm::render

#pragma once
// Bitmap glyph display lists: one list per character code from `base`, each a
// glBitmap of the glyph with its origin on the baseline, so that a raster
// position followed by glCallLists draws a text.
//
// Glyphs are rendered without anti-aliasing (the font's own monochrome
// hinting), so a one-bit bitmap keeps every stroke whole instead of cutting
// thin strokes out of grey edge pixels. Parts of a glyph beyond its advance
// (overhangs, descenders of italic faces) are kept.
#include <GL/gl.h>

#include <QFont>

#include "scene/fonts/label_fonts.h"

namespace vlm::scene {

// The font as the glyph lists render it: no anti-aliasing, full hinting.
QFont monochromeFont(const QFont& font);

// Makes lists for codes 0 .. count - 1 (count <= 256) of `font` drawn at
// `pixelRatio` device pixels per font pixel; each list moves the raster
// position by the glyph's advance times the ratio. Returns the metrics in font
// pixels. Needs the current context and unpack alignment 4.
LabelFontMetrics makeGlyphBitmapLists(GLuint base, const QFont& font, int count, float pixelRatio = 1.0f);

// The metrics of the same font, without a context.
LabelFontMetrics glyphMetrics(const QFont& font, int count);

}  // namespace vlm::scene

#pragma once
// The label font lists: 256 display lists from one base, one per character code,
// either bitmap glyphs (2D labels, drawn at a raster position) or extruded outline
// glyphs (3D labels, one em high, standing in the x-y plane and extruded towards
// -z). Both advance by the glyph's width, so glCallLists draws a text.
#include <GL/gl.h>

#include <QFont>

#include <array>
#include <string_view>

#include "model/space_settings.h"

namespace vlm::scene {

constexpr int kLabelFontLists = 256;

struct LabelFontMetrics {
  std::array<float, kLabelFontLists> advances{};  // pixels (bitmap) or em (outline)
  int height = 12;                                // pixels
  int ascent = 9;                                 // pixels above the baseline
};

// The label font row's font: the face, a pixel height from the logical height
// (device pixels: the logical height times the display's device-pixel ratio).
QFont labelQFont(const LabelFontSpec& spec, float pixelRatio = 1.0f);

// Needs the current context; `base` reserves 256 lists. Whole monochrome
// glyphs (see glyph_bitmaps.h); metrics in pixels of the font.
LabelFontMetrics makeBitmapGlyphLists(GLuint base, const QFont& font);
// Glyph outlines tessellated with the GLU tessellator, front and back faces and
// the sides, extruded by `depth` ems. Curves are flattened finer than `deviation` em.
LabelFontMetrics makeOutlineGlyphLists(GLuint base, const QFont& font, float depth, float deviation = 0.01f);

// Sum of the advances of a text of character codes.
float textAdvance(const LabelFontMetrics& m, std::string_view codes);

}  // namespace vlm::scene

#pragma once
// Draws a laid-out legend with the bitmap font lists, in the overlay projection.
#include <GL/gl.h>

#include "scene/overlays/legend_layout.h"

namespace vlm::scene {

struct LegendColours {
  float text[4] = {0.2f, 0.2f, 0.2f, 1.0f};  // the "Menu Color"
};

void drawLegend(const LegendLayout& layout, GLuint fontBase, const LegendColours& colours);

}  // namespace vlm::scene

#pragma once
// Issues the space geometry as GL commands, into whichever list is being
// compiled or straight to the screen (the selection pass). Everything here is
// immediate-mode primitives: no GLU quadric, no call of another list except the
// glyph lists of the label font.
#include <GL/gl.h>

#include "scene/fonts/label_fonts.h"
#include "scene/space/space_geometry.h"

namespace vlm::scene {

struct LabelFontRef {
  GLuint base = 0;  // 0: no font lists, texts are skipped
  bool outline = false;
  const LabelFontMetrics* metrics = nullptr;
  float sizeFactor = 3.5f;  // 3D labels: scene units per em
};

void drawLattices(const SpaceGeometry& g);
// Each half under its line name, its arrow head under its arrow name.
void drawAxes(const AxesGeometry& axes, bool withNames);
void drawPlanes(const SpaceGeometry& g);
void drawWaterQuad(const WaterQuad& w, bool withName);
void drawSpaceTexts(const SpaceGeometry& g, const LabelFontRef& font);

// One text of character codes at a point, as a bitmap string or as outline text.
void drawTextAt(const LabelFontRef& font, const Vec3& at, const char* codes, size_t length, bool rightAligned);

}  // namespace vlm::scene

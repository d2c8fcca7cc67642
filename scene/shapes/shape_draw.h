#pragma once
// Immediate-mode builders of the object shapes.
//
// drawShapeImmediate issues only glBegin/glEnd primitives and GLU quadric calls,
// never a glCallList. That makes it the drawing the selection pass must use: a
// display list that holds GLU quadrics crashes Mesa when it is called in
// GL_SELECT mode, while the same quadrics drawn directly are fine.
#include <GL/gl.h>
#include <GL/glu.h>

#include "scene/shapes/shape_types.h"

namespace vlm::scene {

// The normal of the hand-built flat shapes, tilted up towards the viewer.
constexpr float kDefaultNormal[3] = {0.0f, -0.7f, 0.7f};

// Draws shape `shape` (any index of 15 or more is a point) of width w, depth d
// and height h standing on z = 0. The quadric is the one shared by all shapes;
// its draw style is set here for the variant.
void drawShapeImmediate(int shape, ShapeVariant variant, float w, float d, float h, GLUquadric* quadric);

}  // namespace vlm::scene

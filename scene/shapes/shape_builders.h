#pragma once
// One builder per shape family; drawShapeImmediate picks among them.
#include <GL/gl.h>
#include <GL/glu.h>

#include "scene/shapes/shape_types.h"

namespace vlm::scene::shapes {

void drawPoint();
void drawLine(float w);
void drawTriangle(ShapeVariant v, float w);
void drawRectangle(ShapeVariant v, float w, float h);
void drawBox(ShapeVariant v, float w, float d, float h);

void drawDisk(ShapeVariant v, float w, GLUquadric* q);
void drawSphere(ShapeVariant v, float w, GLUquadric* q);
void drawCylinder(ShapeVariant v, float w, float h, GLUquadric* q);
void drawCone(ShapeVariant v, float w, float h, GLUquadric* q);

void drawTorus(ShapeVariant v, float w, float h);

void drawOctahedron(ShapeVariant v, float w, float h);
void drawTurnedOctahedron(ShapeVariant v, float w);
void drawTetrahedron(ShapeVariant v, float w);
void drawIcosahedron(ShapeVariant v, float w);
void drawDodecahedron(ShapeVariant v, float w);

// Sets the quadric's draw style and texture coordinates for the variant.
void prepareQuadric(GLUquadric* q, ShapeVariant v);

}  // namespace vlm::scene::shapes

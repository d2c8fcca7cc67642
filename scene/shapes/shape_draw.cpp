#include "scene/shapes/shape_draw.h"

#include "scene/shapes/shape_builders.h"

namespace vlm::scene {

void drawShapeImmediate(int shape, ShapeVariant v, float w, float d, float h, GLUquadric* q) {
  using namespace shapes;
  switch (shape) {
    case SHAPE_LINE: drawLine(w); break;
    case SHAPE_TRIANGLE: drawTriangle(v, w); break;
    case SHAPE_RECTANGLE: drawRectangle(v, w, h); break;
    case SHAPE_DISK: drawDisk(v, w, q); break;
    case SHAPE_SPHERE: drawSphere(v, w, q); break;
    case SHAPE_BOX: drawBox(v, w, d, h); break;
    case SHAPE_TORUS: drawTorus(v, w, h); break;
    case SHAPE_CYLINDER: drawCylinder(v, w, h, q); break;
    case SHAPE_CONE: drawCone(v, w, h, q); break;
    case SHAPE_OCTAHEDRON: drawOctahedron(v, w, h); break;
    case SHAPE_TURNED_OCTAHEDRON: drawTurnedOctahedron(v, w); break;
    case SHAPE_TETRAHEDRON: drawTetrahedron(v, w); break;
    case SHAPE_ICOSAHEDRON: drawIcosahedron(v, w); break;
    case SHAPE_DODECAHEDRON: drawDodecahedron(v, w); break;
    default: drawPoint(); break;  // 0 and every index of 15 or more
  }
}

}  // namespace vlm::scene

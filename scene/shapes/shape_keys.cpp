#include "scene/shapes/shape_types.h"

namespace vlm::scene {
namespace {

ShapeKeys one(double a) {
  ShapeKeys k;
  k.count = 1;
  k.key[0] = a + 0.0;  // + 0.0 folds a negative zero into zero, so both find the same list
  return k;
}

ShapeKeys two(double a, double b) {
  ShapeKeys k;
  k.count = 2;
  k.key[0] = a + 0.0;
  k.key[1] = b + 0.0;
  return k;
}

}  // namespace

ShapeKeys shapeKeys(int shape, float w, float /*d*/, float h) {
  const double W = w, H = h;
  switch (shape) {
    case SHAPE_SPHERE: return one(W);
    case SHAPE_TORUS: return two(H / 4.0, W / 2.0);
    case SHAPE_CYLINDER:
    case SHAPE_CONE: return two(W / 2.0, H);
    case SHAPE_OCTAHEDRON: return two(0.75 * W, H);
    case SHAPE_TURNED_OCTAHEDRON:
    case SHAPE_TETRAHEDRON: return one(0.75 * W);
    case SHAPE_ICOSAHEDRON:
    case SHAPE_DODECAHEDRON: return one(W / 2.0);
    default: return ShapeKeys{};
  }
}

}  // namespace vlm::scene

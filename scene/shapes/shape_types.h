#pragma once
// The fifteen object shapes, their builder variants and the size keys under
// which the quadric shapes and polyhedra are cached.
#include <cstdint>

namespace vlm::scene {

enum ShapeIndex : int {
  SHAPE_POINT = 0,
  SHAPE_LINE = 1,
  SHAPE_TRIANGLE = 2,
  SHAPE_RECTANGLE = 3,
  SHAPE_DISK = 4,
  SHAPE_SPHERE = 5,
  SHAPE_BOX = 6,
  SHAPE_TORUS = 7,
  SHAPE_CYLINDER = 8,
  SHAPE_CONE = 9,
  SHAPE_OCTAHEDRON = 10,
  SHAPE_TURNED_OCTAHEDRON = 11,
  SHAPE_TETRAHEDRON = 12,
  SHAPE_ICOSAHEDRON = 13,
  SHAPE_DODECAHEDRON = 14,
  kShapeCount = 15,
};

// Wireframe for low render quality, solid for high quality, textured when the
// texture attribute is associated.
enum ShapeVariant : int {
  SHAPE_WIREFRAME = 0,
  SHAPE_SOLID = 1,
  SHAPE_TEXTURED = 2,
  kShapeVariantCount = 3,
};

struct ShapeKeys {
  int count = 0;  // 0: the shape is not cached
  double key[2] = {0.0, 0.0};
};

// Size keys of a shape of width w, depth d and height h. Indexes of 15 or more
// are drawn as points and are not cached.
ShapeKeys shapeKeys(int shape, float w, float d, float h);

// The object's current shape index from its shape byte (high nibble).
inline int currentShapeIndex(uint8_t shapeByte) { return shapeByte >> 4; }

}  // namespace vlm::scene

// The torus: 12 rings of 8 sides, resting on z = 0.
#include <cmath>

#include "scene/shapes/shape_builders.h"

namespace vlm::scene::shapes {

void drawTorus(ShapeVariant v, float w, float h) {
  constexpr int kRings = 12, kSides = 8;
  const double tube = h / 4.0, ring = w / 2.0, lift = h / 4.0;
  auto vertex = [&](int i, int j) {
    const double phi = 2.0 * M_PI * (i % kRings) / kRings;
    const double theta = 2.0 * M_PI * (j % kSides) / kSides;
    const double nx = std::cos(theta) * std::cos(phi), ny = std::cos(theta) * std::sin(phi), nz = std::sin(theta);
    const double rr = ring + tube * std::cos(theta);
    glNormal3d(nx, ny, nz);
    if (v == SHAPE_TEXTURED) glTexCoord2d(double(i) / kRings, double(j) / kSides);
    glVertex3d(rr * std::cos(phi), rr * std::sin(phi), tube * std::sin(theta) + lift);
  };
  if (v != SHAPE_WIREFRAME) glBegin(GL_QUADS);
  for (int i = 0; i < kRings; ++i) {
    for (int j = 0; j < kSides; ++j) {
      if (v == SHAPE_WIREFRAME) glBegin(GL_LINE_LOOP);
      vertex(i, j);
      vertex(i + 1, j);
      vertex(i + 1, j + 1);
      vertex(i, j + 1);
      if (v == SHAPE_WIREFRAME) glEnd();
    }
  }
  if (v != SHAPE_WIREFRAME) glEnd();
}

}  // namespace vlm::scene::shapes

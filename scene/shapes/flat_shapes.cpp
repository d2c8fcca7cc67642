// Point, line, triangle, rectangle and box: built from plain GL primitives.
#include "scene/shapes/shape_builders.h"
#include "scene/shapes/shape_draw.h"

namespace vlm::scene::shapes {
namespace {

void defaultNormal() { glNormal3fv(kDefaultNormal); }

// Scales the texture matrix for one textured builder; the caller draws, then
// restoreTexture puts the identity back and returns to the modelview matrix.
void scaleTexture(float s, float t) {
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glScalef(s, t, 1.0f);
  glMatrixMode(GL_MODELVIEW);
}

void restoreTexture() {
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
}

struct Face {
  float normal[3];
  float corner[4][3];
  bool side;  // side faces map v from 1 - h/4 to 1
};

}  // namespace

void drawPoint() {
  defaultNormal();
  glBegin(GL_POINTS);
  glVertex3f(0.0f, 0.0f, 0.0f);
  glEnd();
}

void drawLine(float w) {
  glLineWidth(3.0f);
  defaultNormal();
  glBegin(GL_LINES);
  glVertex3f(-w / 2, 0.0f, 0.0f);
  glVertex3f(w / 2, 0.0f, 0.0f);
  glEnd();
  glLineWidth(1.0f);
}

void drawTriangle(ShapeVariant v, float w) {
  const bool tex = v == SHAPE_TEXTURED;
  if (tex) scaleTexture(1.5f, 2.0f);
  defaultNormal();
  glBegin(GL_TRIANGLES);
  if (tex) glTexCoord2f(0.0f, 0.0f);
  glVertex3f(-w / 2, 0.0f, 0.0f);
  if (tex) glTexCoord2f(1.0f, 0.0f);
  glVertex3f(w / 2, 0.0f, 0.0f);
  if (tex) glTexCoord2f(0.5f, 1.0f);
  glVertex3f(0.0f, 0.0f, 1.732f * w / 2);
  glEnd();
  if (tex) restoreTexture();
}

void drawRectangle(ShapeVariant v, float w, float h) {
  const bool tex = v == SHAPE_TEXTURED;
  defaultNormal();
  glBegin(v == SHAPE_WIREFRAME ? GL_LINE_LOOP : GL_QUADS);
  if (tex) glTexCoord2f(0.0f, 0.0f);
  glVertex3f(-w / 2, 0.0f, 0.0f);
  if (tex) glTexCoord2f(1.0f, 0.0f);
  glVertex3f(w / 2, 0.0f, 0.0f);
  if (tex) glTexCoord2f(1.0f, 1.0f);
  glVertex3f(w / 2, 0.0f, h);
  if (tex) glTexCoord2f(0.0f, 1.0f);
  glVertex3f(-w / 2, 0.0f, h);
  glEnd();
}

void drawBox(ShapeVariant v, float w, float d, float h) {
  const float x0 = -w / 2, x1 = w / 2, y0 = -d / 2, y1 = d / 2, z0 = 0.0f, z1 = h;
  // Corners counter-clockwise seen from outside; the first edge is the bottom one.
  const Face faces[6] = {
      {{0, 0, 1}, {{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}}, false},
      {{0, 0, -1}, {{x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}, {x0, y0, z0}}, false},
      {{0, -1, 0}, {{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}}, true},
      {{1, 0, 0}, {{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}}, true},
      {{0, 1, 0}, {{x1, y1, z0}, {x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}}, true},
      {{-1, 0, 0}, {{x0, y1, z0}, {x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}}, true},
  };
  const float vLow = 1.0f - h / 4.0f;
  if (v == SHAPE_WIREFRAME) {
    for (const Face& f : faces) {
      glBegin(GL_LINE_LOOP);
      glNormal3fv(f.normal);
      for (const auto& c : f.corner) glVertex3fv(c);
      glEnd();
    }
    return;
  }
  const bool tex = v == SHAPE_TEXTURED;
  glBegin(GL_QUADS);
  for (const Face& f : faces) {
    glNormal3fv(f.normal);
    const float t0 = f.side ? vLow : 0.0f;
    const float st[4][2] = {{0, t0}, {1, t0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
      if (tex) glTexCoord2fv(st[i]);
      glVertex3fv(f.corner[i]);
    }
  }
  glEnd();
}

}  // namespace vlm::scene::shapes

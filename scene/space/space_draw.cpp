#include "scene/space/space_draw.h"

#include <cmath>
#include <string_view>

namespace vlm::scene {
namespace {

Vec3 add(const Vec3& a, const Vec3& b, float k = 1.0f) { return {a[0] + k * b[0], a[1] + k * b[1], a[2] + k * b[2]}; }
void vertex(const Vec3& p) { glVertex3fv(p.data()); }

// The direction of an axis half and two directions across it.
void basis(const AxisHalf& h, Vec3& d, Vec3& u, Vec3& v) {
  d = {0, 0, 0};
  d[static_cast<size_t>(h.axis)] = h.tip[static_cast<size_t>(h.axis)] >= 0.0f ? 1.0f : -1.0f;
  if (h.axis == 0) u = {0, 1, 0}, v = {0, 0, 1};
  else if (h.axis == 1) u = {1, 0, 0}, v = {0, 0, 1};
  else u = {1, 0, 0}, v = {0, 1, 0};
}

void lineArrow(const AxisHalf& h, float s) {
  Vec3 d, u, v;
  basis(h, d, u, v);
  const Vec3 back = add(h.tip, d, -s);
  glBegin(GL_LINES);
  vertex(h.tip), vertex(add(back, u, s / 4));
  vertex(h.tip), vertex(add(back, u, -s / 4));
  glEnd();
}

void pyramidArrow(const AxisHalf& h, float s) {
  Vec3 d, u, v;
  basis(h, d, u, v);
  const Vec3 c = add(h.tip, d, -s);
  const float q = s / 4;  // half the base side s / 2
  const Vec3 corner[4] = {add(add(c, u, q), v, q), add(add(c, u, -q), v, q), add(add(c, u, -q), v, -q),
                          add(add(c, u, q), v, -q)};
  glBegin(GL_TRIANGLES);
  for (int i = 0; i < 4; ++i) vertex(h.tip), vertex(corner[i]), vertex(corner[(i + 1) % 4]);
  glEnd();
  glBegin(GL_QUADS);
  for (int i = 3; i >= 0; --i) vertex(corner[i]);
  glEnd();
}

void boxAt(const Vec3& c, float half) {
  static constexpr int kFaces[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
  Vec3 p[8];
  for (int i = 0; i < 8; ++i)
    p[i] = {c[0] + ((i & 1) ? half : -half), c[1] + ((i & 2) ? half : -half), c[2] + ((i & 4) ? half : -half)};
  glBegin(GL_QUADS);
  for (const auto& f : kFaces)
    for (int k : f) vertex(p[k]);
  glEnd();
}

// A coarse sphere of 6 slices and 6 stacks, drawn without a quadric.
void ballAt(const Vec3& c, float r) {
  constexpr int kSlices = 6, kStacks = 6;
  constexpr float kPi = 3.14159265f;
  for (int i = 0; i < kStacks; ++i) {
    const float a0 = kPi * (-0.5f + float(i) / kStacks), a1 = kPi * (-0.5f + float(i + 1) / kStacks);
    glBegin(GL_QUAD_STRIP);
    for (int j = 0; j <= kSlices; ++j) {
      const float b = 2.0f * kPi * float(j) / kSlices;
      for (float a : {a1, a0}) {
        const float nx = std::cos(a) * std::cos(b), ny = std::cos(a) * std::sin(b), nz = std::sin(a);
        glNormal3f(nx, ny, nz);
        glVertex3f(c[0] + r * nx, c[1] + r * ny, c[2] + r * nz);
      }
    }
    glEnd();
  }
}

void arrowHead(const AxisHalf& h, int32_t type, float s) {
  switch (type) {
    case ARROW_LINE: lineArrow(h, s); break;
    case ARROW_PYRAMID: pyramidArrow(h, s); break;
    case ARROW_CUBE: boxAt(h.tip, s / 4); break;
    case ARROW_BALL: ballAt(h.tip, s / 2); break;
    default: break;  // 0 and any other value: a bare line
  }
}

}  // namespace

void drawLattices(const SpaceGeometry& g) {
  glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
  glDisable(GL_LIGHTING);
  for (const LatticeLines& lat : g.lattices) {
    glColor4fv(lat.rgba);
    glLineWidth(lat.lineWidth > 0.0f ? lat.lineWidth : 1.0f);
    glBegin(GL_LINES);
    for (const Segment& s : lat.lines) vertex(s.a), vertex(s.b);
    glEnd();
  }
  if (!g.cubeEdges.empty()) {
    glColor4fv(g.cubeRgba);
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    for (const Segment& s : g.cubeEdges) vertex(s.a), vertex(s.b);
    glEnd();
  }
  glPopAttrib();
}

void drawAxes(const AxesGeometry& ax, bool withNames) {
  if (!ax.on || ax.halves.empty()) return;
  glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
  glDisable(GL_LIGHTING);
  glColor4fv(ax.rgba);
  glLineWidth(ax.lineWidth > 0.0f ? ax.lineWidth : 1.0f);
  for (const AxisHalf& h : ax.halves) {
    if (withNames) glLoadName(static_cast<GLuint>(h.lineName));
    glBegin(GL_LINES);
    glVertex3f(0.0f, 0.0f, 0.0f);
    vertex(h.tip);
    glEnd();
    if (withNames) glLoadName(static_cast<GLuint>(h.arrowName));
    arrowHead(h, ax.arrowType, ax.arrowSize);
  }
  glPopAttrib();
}

void drawPlanes(const SpaceGeometry& g) {
  if (g.planes.empty()) return;
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT | GL_TEXTURE_BIT);
  glDisable(GL_LIGHTING);
  for (const PlaneQuad& q : g.planes) {
    const bool textured = q.texture != 0;
    if (textured) {
      glEnable(GL_TEXTURE_2D);
      glBindTexture(GL_TEXTURE_2D, q.texture);
      glMatrixMode(GL_TEXTURE);
      glLoadIdentity();
      glTranslatef(0.5f - q.shiftH * 0.01f, 0.5f - q.shiftV * 0.01f, 0.0f);
      glScalef(q.scaleH * 0.1f, q.scaleV * 0.1f, 0.0f);
      glRotatef(-q.rotation, 0.0f, 0.0f, 1.0f);
      glTranslatef(-0.5f, -0.5f, 0.0f);
      glMatrixMode(GL_MODELVIEW);
    } else {
      glDisable(GL_TEXTURE_2D);
    }
    glColor4fv(q.rgba);
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
      if (textured) glTexCoord2fv(q.texCoords[i]);
      vertex(q.corners[i]);
    }
    glEnd();
    if (textured) {
      glMatrixMode(GL_TEXTURE);
      glLoadIdentity();
      glMatrixMode(GL_MODELVIEW);
    }
  }
  glPopAttrib();
}

void drawWaterQuad(const WaterQuad& w, bool withName) {
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
  glDisable(GL_LIGHTING);
  if (withName) glLoadName(static_cast<GLuint>(kWaterName));
  glColor4fv(w.rgba);
  glBegin(GL_QUADS);
  for (const Vec3& c : w.corners) vertex(c);
  glEnd();
  glPopAttrib();
}

void drawTextAt(const LabelFontRef& font, const Vec3& at, const char* codes, size_t length, bool rightAligned) {
  if (font.base == 0 || length == 0) return;
  const float width = font.metrics ? textAdvance(*font.metrics, std::string_view(codes, length)) : 0.0f;
  glListBase(font.base);
  if (!font.outline) {
    glRasterPos3fv(at.data());
    if (rightAligned && width > 0.0f) glBitmap(0, 0, 0.0f, 0.0f, -width, 0.0f, nullptr);
    glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, codes);
  } else {
    glPushMatrix();
    glTranslatef(at[0], at[1], at[2]);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    glScalef(font.sizeFactor, font.sizeFactor, font.sizeFactor);
    if (rightAligned) glTranslatef(-width, 0.0f, 0.0f);
    glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, codes);
    glPopMatrix();
  }
  glListBase(0);
}

void drawSpaceTexts(const SpaceGeometry& g, const LabelFontRef& font) {
  if (g.texts.empty() || font.base == 0) return;
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LIST_BIT);
  if (font.outline) {
    glEnable(GL_NORMALIZE);
    glNormal3f(0.0f, 1.0f, 0.0f);
  } else {
    glDisable(GL_LIGHTING);  // a lit raster colour would darken the texts
  }
  for (const SpaceText& t : g.texts) {
    glColor4fv(t.rgba);
    drawTextAt(font, t.position, t.codes.data(), t.codes.size(), t.rightAligned);
  }
  glPopAttrib();
}

}  // namespace vlm::scene

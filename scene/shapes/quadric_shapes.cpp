// Disk, sphere, cylinder and cone: GLU quadrics on the shared quadric object.
#include "scene/shapes/shape_builders.h"

namespace vlm::scene::shapes {

void prepareQuadric(GLUquadric* q, ShapeVariant v) {
  gluQuadricDrawStyle(q, v == SHAPE_WIREFRAME ? GLU_LINE : GLU_FILL);
  gluQuadricTexture(q, v == SHAPE_TEXTURED ? GL_TRUE : GL_FALSE);
}

namespace {

void resetTextureMatrix() {
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
}

// A quadric standing on z = 0 and reaching to |h|; a negative h is drawn
// turned 180 degrees about x so that it points down with its faces outward.
void beginStanding(float h) {
  glPushMatrix();
  if (h < 0) glRotatef(180.0f, 1.0f, 0.0f, 0.0f);
}

}  // namespace

void drawDisk(ShapeVariant v, float w, GLUquadric* q) {
  prepareQuadric(q, v);
  if (v == SHAPE_TEXTURED) {
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glScalef(1.5f, 1.5f, 1.0f);
    glMatrixMode(GL_MODELVIEW);
  }
  glPushMatrix();
  glTranslatef(0.0f, 0.0f, w / 2);
  glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
  gluDisk(q, 0.0, w / 2, 10, 1);
  glPopMatrix();
  if (v == SHAPE_TEXTURED) resetTextureMatrix();
}

void drawSphere(ShapeVariant v, float w, GLUquadric* q) {
  prepareQuadric(q, v);
  if (v == SHAPE_TEXTURED) {
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -w / 2);
    glScalef(3.0f, 3.0f, 1.0f);
    glTranslatef(0.0f, -0.33f, 0.0f);
    glMatrixMode(GL_MODELVIEW);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  }
  glPushMatrix();
  glTranslatef(0.0f, 0.0f, w / 2);
  gluSphere(q, w / 2, 10, 10);
  glPopMatrix();
  if (v == SHAPE_TEXTURED) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    resetTextureMatrix();
  }
}

void drawCylinder(ShapeVariant v, float w, float h, GLUquadric* q) {
  prepareQuadric(q, v);
  const float r = w / 2, len = h < 0 ? -h : h;
  beginStanding(h);
  gluCylinder(q, r, r, len, 10, 1);
  glPushMatrix();  // bottom cap faces down
  glRotatef(180.0f, 1.0f, 0.0f, 0.0f);
  gluDisk(q, 0.0, r, 10, 1);
  glPopMatrix();
  glTranslatef(0.0f, 0.0f, len);  // top cap faces up
  gluDisk(q, 0.0, r, 10, 1);
  glPopMatrix();
}

void drawCone(ShapeVariant v, float w, float h, GLUquadric* q) {
  prepareQuadric(q, v);
  const float r = w / 2, len = h < 0 ? -h : h;
  beginStanding(h);
  glPushMatrix();  // base disk faces away from the apex
  glRotatef(180.0f, 1.0f, 0.0f, 0.0f);
  gluDisk(q, 0.0, r, 8, 1);
  glPopMatrix();
  gluCylinder(q, r, 0.0, len, 8, 1);
  glPopMatrix();
}

}  // namespace vlm::scene::shapes

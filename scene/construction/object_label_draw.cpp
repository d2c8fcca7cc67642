#include "scene/construction/object_label_draw.h"

namespace vlm::scene {

void drawObjectLabels(const ObjectArray& objects, const std::vector<uint8_t>& selection,
                      const LabelStore& labels, const LabelFontRef& font, const ObjectLabelStyle& style) {
  if (font.base == 0 || labels.count() == 0) return;
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LIST_BIT);
  if (font.outline) glEnable(GL_NORMALIZE);
  else glDisable(GL_LIGHTING);  // the raster colour is taken unlit
  if (!style.colourByObject) glColor4fv(style.rgba);
  glListBase(font.base);
  for (size_t i = 0; i < objects.size(); ++i) {
    if (i < selection.size() && selection[i] == 0) continue;
    const ObjectRecord& o = objects[i];
    if (o.labelList <= 0 || static_cast<size_t>(o.labelList) > labels.count()) continue;
    size_t length = 0;
    const unsigned char* codes = labels.text(static_cast<size_t>(o.labelList - 1), length);
    if (length == 0) continue;
    if (style.colourByObject) glColor4f(o.red, o.green, o.blue, o.alpha);
    const float x = o.x + o.width / 2, y = o.y + o.depth / 2, z = o.z + o.height;
    if (!font.outline) {
      glRasterPos3f(x, y, z);
      glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, codes);
      continue;
    }
    if (style.withNames) glLoadName(static_cast<GLuint>(i));
    glPushMatrix();
    glNormal3f(0.0f, 1.0f, 0.0f);
    glTranslatef(x, y, z);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    glScalef(font.sizeFactor, font.sizeFactor, font.sizeFactor);
    glRotatef(o.rotX, 1.0f, 0.0f, 0.0f);
    glRotatef(o.rotZ, 0.0f, 1.0f, 0.0f);
    glRotatef(o.rotY, 0.0f, 0.0f, 1.0f);
    glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, codes);
    glPopMatrix();
  }
  glListBase(0);
  glPopAttrib();
}

}  // namespace vlm::scene

#include "scene/overlays/legend_draw.h"

namespace vlm::scene {
namespace {

void quad(float x0, float y0, float x1, float y1) {
  glBegin(GL_QUADS);
  glVertex2f(x0, y0), glVertex2f(x1, y0), glVertex2f(x1, y1), glVertex2f(x0, y1);
  glEnd();
}

void outline(float x0, float y0, float x1, float y1) {
  glBegin(GL_LINE_LOOP);
  glVertex2f(x0, y0), glVertex2f(x1, y0), glVertex2f(x1, y1), glVertex2f(x0, y1);
  glEnd();
}

void colourBar(const LegendLayout& l, GLuint fontBase, const LegendColours& c) {
  if (!l.colourBar) return;
  glBegin(GL_QUADS);
  for (const ColourBarSegment& s : l.segments) {
    glColor4f(s.rgb0[0], s.rgb0[1], s.rgb0[2], 1.0f);
    glVertex2f(10.0f, s.y0), glVertex2f(20.0f, s.y0);
    glColor4f(s.rgb1[0], s.rgb1[1], s.rgb1[2], 1.0f);
    glVertex2f(20.0f, s.y1), glVertex2f(10.0f, s.y1);
  }
  glEnd();
  glColor4fv(c.text);
  glBegin(GL_TRIANGLES);  // the handle points right at the bar
  glVertex2f(2.0f, l.handleY + 3.5f), glVertex2f(2.0f, l.handleY - 3.5f), glVertex2f(9.0f, l.handleY);
  glEnd();
  for (const OverlayText& t : l.colourTexts) drawOverlayText(fontBase, t);
}

void buttons(const LegendLayout& l, const LegendColours& c) {
  const float y = l.buttonBottom;
  glColor4fv(c.text);
  outline(10, y, 19, y + 9);
  outline(22, y, 31, y + 9);
  glBegin(GL_LINES);
  glVertex2f(12, y + 4.5f), glVertex2f(17, y + 4.5f);  // plus
  glVertex2f(14.5f, y + 2), glVertex2f(14.5f, y + 7);
  glVertex2f(24, y + 4.5f), glVertex2f(29, y + 4.5f);  // minus
  glEnd();
}

void slider(const LegendSlider& s, const LegendColours& c) {
  if (!s.shown) return;
  glColor4f(0.55f, 0.6f, 0.75f, 0.5f);
  quad(s.left, s.bottom, s.left + 100.0f, s.top);
  const float mid = (s.bottom + s.top) * 0.5f, h = (s.top - s.bottom) * 0.5f;
  glColor4fv(c.text);
  glBegin(GL_LINES);
  glVertex2f(s.left, mid), glVertex2f(s.left + 100.0f, mid);
  glEnd();
  if (s.rangeHandles) {
    glBegin(GL_TRIANGLES);
    glVertex2f(s.minX, s.top), glVertex2f(s.minX, s.bottom), glVertex2f(s.minX - h, mid);  // points left
    glVertex2f(s.maxX, s.bottom), glVertex2f(s.maxX, s.top), glVertex2f(s.maxX + h, mid);  // points right
    glEnd();
  }
  glColor4f(0.9f, 0.1f, 0.1f, 1.0f);
  quad(s.scaleX - 1.0f, s.bottom, s.scaleX + 1.0f, s.top);
}

}  // namespace

void drawLegend(const LegendLayout& l, GLuint fontBase, const LegendColours& c) {
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_DEPTH_BUFFER_BIT | GL_LINE_BIT | GL_LIST_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_POLYGON_SMOOTH);  // smoothed quads would show their diagonal
  glDepthFunc(GL_ALWAYS);
  glLineWidth(1.0f);
  colourBar(l, fontBase, c);
  glColor4fv(c.text);
  for (const LegendLine& line : l.lines) drawOverlayText(fontBase, line.text);
  if (l.buttons) buttons(l, c);
  slider(l.slider, c);
  glPopAttrib();
}

}  // namespace vlm::scene

#include "scene/overlays/info_panel.h"

#include <algorithm>
#include <cstdio>

namespace vlm::scene {

std::vector<std::string> wrapValue(const std::string& codes, size_t width) {
  std::vector<std::string> lines;
  if (width == 0) width = 1;
  for (size_t at = 0; at < codes.size(); at += width) lines.push_back(codes.substr(at, width));
  if (lines.empty()) lines.emplace_back();
  return lines;
}

PanelLayout layOutPanel(const PanelInput& in) {
  PanelLayout out;
  const float lh = static_cast<float>(in.font ? in.font->height : 12) * 5.0f / 4.0f;
  auto width = [&](const std::string& t) { return in.font ? textAdvance(*in.font, t) : 7.0f * static_cast<float>(t.size()); };
  // Texts first at a panel origin of (0, 0) going down, moved into place below.
  float y = -lh, widest = 0.0f;
  auto put = [&](float x, std::string codes) {
    widest = std::max(widest, x + width(codes));
    out.texts.push_back({x, y, std::move(codes)});
  };
  if (in.hintLine) {
    put(10.0f, kPanelHint);
    y -= lh;
  }
  // The values stand at x = 85, or further right when a name shown is wider,
  // so that no value is written over a name.
  float valueX = kPanelValueX;
  const float gap = std::max(width(" "), 4.0f);
  valueX = std::max(valueX, 10.0f + width(in.rowWord) + gap);
  for (const PanelField& f : in.fields) valueX = std::max(valueX, 10.0f + width(cutWithDot(f.name, 16)) + gap);
  char number[32];
  std::snprintf(number, sizeof number, "%i ", in.rowNumber);
  put(10.0f, in.rowWord);
  put(valueX, number);
  y -= lh;
  for (const PanelField& f : in.fields) {
    put(10.0f, cutWithDot(f.name, 16));
    for (const std::string& part : wrapValue(f.value + " ")) {
      put(valueX, part);
      y -= lh;
    }
  }
  const float height = -y - lh * 0.5f + lh * 0.25f;
  const float panelWidth = widest + 5.0f;
  float originX = static_cast<float>(in.mouseX);
  float originY = static_cast<float>(in.viewportHeight - in.mouseY);
  if (originX + panelWidth > static_cast<float>(in.viewportWidth)) originX = static_cast<float>(in.viewportWidth) - panelWidth;
  if (originX < 0.0f) originX = 0.0f;
  if (originY - height < 0.0f) originY = height;  // moved up to stay inside
  if (originY > static_cast<float>(in.viewportHeight)) originY = static_cast<float>(in.viewportHeight);
  for (OverlayText& t : out.texts) t.x += originX, t.y += originY;
  out.left = originX + 5.0f;
  out.right = originX + panelWidth;
  out.top = originY;
  out.bottom = originY - height;
  return out;
}

void drawPanel(const PanelLayout& l, GLuint fontBase) {
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_LIST_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_POLYGON_SMOOTH);
  glColor4f(1.0f, 1.0f, 0.88f, 0.92f);
  glBegin(GL_QUADS);
  glVertex3f(l.left, l.bottom, -5), glVertex3f(l.right, l.bottom, -5);
  glVertex3f(l.right, l.top, -5), glVertex3f(l.left, l.top, -5);
  glEnd();
  // The outline is lit from the top left: light corners there, dark ones opposite.
  glLineWidth(1.5f);
  glBegin(GL_LINE_LOOP);
  glColor4f(0.95f, 0.95f, 0.95f, 1.0f), glVertex2f(l.left, l.top);
  glColor4f(0.55f, 0.55f, 0.55f, 1.0f), glVertex2f(l.left, l.bottom);
  glColor4f(0.25f, 0.25f, 0.25f, 1.0f), glVertex2f(l.right, l.bottom);
  glColor4f(0.55f, 0.55f, 0.55f, 1.0f), glVertex2f(l.right, l.top);
  glEnd();
  glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
  for (const OverlayText& t : l.texts) drawOverlayText(fontBase, t);
  glPopAttrib();
}

}  // namespace vlm::scene

#include "scene/overlays/database_tree.h"

#include <algorithm>
#include <cmath>

namespace vlm::scene {
namespace {

constexpr const char* kNodeNames[2] = {"Tables", "Queries"};
constexpr int32_t kNodeKinds[2] = {21, 23};

HotRect rect(float l, float b, float r, float t, int32_t name) {
  return {static_cast<int32_t>(std::floor(l)), static_cast<int32_t>(std::ceil(t)), static_cast<int32_t>(std::ceil(r)),
          static_cast<int32_t>(std::floor(b)), name};
}

}  // namespace

TreeLayout layOutTree(const TreeInput& in) {
  TreeLayout out;
  const float lh = static_cast<float>(in.font ? in.font->height : 12) + 2.0f;
  auto width = [&](const std::string& t) { return in.font ? textAdvance(*in.font, t) : 7.0f * static_cast<float>(t.size()); };
  float y = in.top - lh;
  int32_t shown = 0, skipped = 0, total = 0;
  for (int node = 0; node < 2; ++node) {
    TreeRow row;
    row.node = true;
    row.expanded = in.state.expanded[static_cast<size_t>(node)];
    row.boxX = in.left;
    row.boxY = y;
    row.text = {in.left + 14.0f, y, kNodeNames[node]};
    out.hot.push_back(rect(row.text.x, y - 2, row.text.x + width(row.text.codes), y + lh - 2, kTreeNodeName + 10 * node));
    out.hot.push_back(rect(in.left, y, in.left + 9, y + 9, kTreeNodeName + 10 * node + 1));
    out.rows.push_back(row);
    y -= lh;
    if (!row.expanded) continue;
    const float nodeY = row.boxY;
    float lastY = nodeY;
    for (size_t i = 0; i < in.items.size(); ++i) {
      if (in.items[i].kind != kNodeKinds[node]) continue;
      ++total;
      if (skipped < in.state.scroll) {
        ++skipped;
        continue;
      }
      if (shown >= in.state.visibleItems) continue;
      ++shown;
      TreeRow item;
      item.item = static_cast<int32_t>(i);
      item.highlighted = item.item == in.current;
      item.text = {in.left + 24.0f, y, in.items[i].name};
      out.hot.push_back(rect(item.text.x, y - 2, item.text.x + width(item.text.codes), y + lh - 2,
                             kTreeItemName + item.item));
      out.connector.insert(out.connector.end(), {in.left + 4.5f, y + 4.0f, in.left + 20.0f, y + 4.0f});
      lastY = y;
      out.rows.push_back(std::move(item));
      y -= lh;
    }
    if (lastY != nodeY) out.connector.insert(out.connector.end(), {in.left + 4.5f, nodeY, in.left + 4.5f, lastY + 4.0f});
  }
  if (total > in.state.visibleItems || in.state.scroll > 0) {
    out.scroll = true;
    out.scrollX = in.left - 14.0f;
    out.scrollTop = in.top - lh;
    for (int k = 0; k < 4; ++k) {
      const float top = out.scrollTop - 12.0f * static_cast<float>(k);
      out.hot.push_back(rect(out.scrollX, top - 10, out.scrollX + 10, top, kTreeScrollName + k));
    }
  }
  return out;
}

void drawTree(const TreeLayout& l, GLuint fontBase, const float textRgba[4]) {
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_LIST_BIT | GL_DEPTH_BUFFER_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_POLYGON_SMOOTH);
  glDepthFunc(GL_ALWAYS);
  glLineWidth(1.0f);
  glColor4fv(textRgba);
  glBegin(GL_LINES);
  for (size_t i = 0; i + 3 < l.connector.size(); i += 4)
    glVertex2f(l.connector[i], l.connector[i + 1]), glVertex2f(l.connector[i + 2], l.connector[i + 3]);
  glEnd();
  for (const TreeRow& r : l.rows) {
    if (r.node) {
      glColor4fv(textRgba);
      glBegin(GL_LINE_LOOP);
      glVertex2f(r.boxX, r.boxY), glVertex2f(r.boxX + 9, r.boxY), glVertex2f(r.boxX + 9, r.boxY + 9), glVertex2f(r.boxX, r.boxY + 9);
      glEnd();
      glBegin(GL_LINES);
      glVertex2f(r.boxX + 2, r.boxY + 4.5f), glVertex2f(r.boxX + 7, r.boxY + 4.5f);
      if (!r.expanded) glVertex2f(r.boxX + 4.5f, r.boxY + 2), glVertex2f(r.boxX + 4.5f, r.boxY + 7);
      glEnd();
    }
    if (r.highlighted) glColor4f(0.85f, 0.15f, 0.1f, 1.0f);
    else glColor4fv(textRgba);
    drawOverlayText(fontBase, r.text);
  }
  if (l.scroll) {
    glColor4fv(textRgba);
    glBegin(GL_TRIANGLES);
    for (int k = 0; k < 4; ++k) {
      const float top = l.scrollTop - 12.0f * static_cast<float>(k), x = l.scrollX;
      const bool down = k == 0 || k == 2;
      if (down) glVertex2f(x, top), glVertex2f(x + 10, top), glVertex2f(x + 5, top - 10);
      else glVertex2f(x, top - 10), glVertex2f(x + 5, top), glVertex2f(x + 10, top - 10);
    }
    glEnd();
  }
  glPopAttrib();
}

bool toggleTree(DatabaseTreeState& s, int32_t name, int32_t itemCount) {
  const int32_t offset = name - kTreeNodeName;
  if (offset >= 0 && offset < 20 && offset % 10 <= 1) {
    const size_t node = static_cast<size_t>(offset / 10);
    s.expanded[node] = !s.expanded[node];
    s.scroll = 0;
    return true;
  }
  const int32_t last = std::max(0, itemCount - s.visibleItems);
  const int32_t before = s.scroll;
  switch (name - kTreeScrollName) {
    case 0: s.scroll = std::min(last, s.scroll + 1); break;
    case 1: s.scroll = std::max(0, s.scroll - 1); break;
    case 2: s.scroll = last; break;
    case 3: s.scroll = 0; break;
    default: return false;
  }
  return s.scroll != before;
}

}  // namespace vlm::scene

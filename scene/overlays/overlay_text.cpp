#include "scene/overlays/overlay_text.h"

namespace vlm::scene {

void drawOverlayText(GLuint fontBase, const OverlayText& t, float z) {
  if (fontBase == 0 || t.codes.empty()) return;
  glRasterPos3f(t.x, t.y, z);
  glListBase(fontBase);
  glCallLists(static_cast<GLsizei>(t.codes.size()), GL_UNSIGNED_BYTE, t.codes.data());
  glListBase(0);
}

std::string cutWithDot(const std::string& codes, size_t max) {
  if (codes.size() <= max || max == 0) return codes;
  return codes.substr(0, max - 1) + ".";
}

}  // namespace vlm::scene

#pragma once
// The object information panel: the hint line, the row line and one line per
// field with the sample's value text, placed at the mouse and kept inside the view.
#include <GL/gl.h>

#include <string>
#include <vector>

#include "scene/fonts/label_fonts.h"
#include "scene/overlays/overlay_text.h"

namespace vlm::scene {

struct PanelField {
  std::string name;   // character codes
  std::string value;  // character codes
};

struct PanelInput {
  bool hintLine = true;
  std::string rowWord = "Row";
  int32_t rowNumber = 0;
  std::vector<PanelField> fields;
  int32_t mouseX = 0, mouseY = 0;  // window pixels, y down
  int32_t viewportWidth = 0, viewportHeight = 0;
  const LabelFontMetrics* font = nullptr;
};

struct PanelLayout {
  float left = 0, bottom = 0, right = 0, top = 0;
  std::vector<OverlayText> texts;
};

constexpr const char* kPanelHint = "DoubleClick/RightClick for Menu";

// The value column's left end; a wider name shown pushes it right.
constexpr float kPanelValueX = 85.0f;

// Value texts break into lines of at most this many characters.
constexpr size_t kPanelValueWidth = 40;
std::vector<std::string> wrapValue(const std::string& codes, size_t width = kPanelValueWidth);

PanelLayout layOutPanel(const PanelInput& in);
void drawPanel(const PanelLayout& layout, GLuint fontBase);

}  // namespace vlm::scene

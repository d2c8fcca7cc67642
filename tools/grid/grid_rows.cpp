#include "tools/grid/grid_rows.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "model/space_settings_table.h"

namespace vlm::tools {

GridRowType gridRowType(const SpaceSetting& row) {
  switch (row.kind & 0x18) {
    case 0x08: return GridRowType::Slider;
    case 0x10: return GridRowType::Colour;
    case 0x18: return GridRowType::Text;
    default: return GridRowType::Switch;
  }
}

bool isGroupHeader(const SpaceSetting& row) { return row.kind == kKindSwitchWithChildren; }

std::vector<int32_t> shownGridRows(const SpaceSettings& space) {
  std::vector<int32_t> shown;
  std::vector<bool> isShown(kSpaceSettingCount, false);
  for (int32_t i = 0; i < kSpaceSettingCount; ++i) {
    const SpaceSetting& row = space.rows[static_cast<size_t>(i)];
    const int32_t p = row.parent;
    bool visible = true;
    if (p >= 0 && p < i) {
      const SpaceSetting& parent = space.rows[static_cast<size_t>(p)];
      if (gridRowType(parent) == GridRowType::Switch) visible = parent.value != 0 && isShown[static_cast<size_t>(p)];
    }
    isShown[static_cast<size_t>(i)] = visible;
    if (visible) shown.push_back(i);
  }
  return shown;
}

bool isNameAreaClick(GridRowType type, int x) {
  return type == GridRowType::Text ? x <= kGridTextNameEnd : x < kGridControlLeft;
}

int32_t sliderValueAt(int x, int start, int end, int32_t least, int32_t greatest) {
  if (end <= start) return least;
  const int64_t at = std::min(x, end);
  const int64_t v = least + (at - start) * (static_cast<int64_t>(greatest) - least) / (end - start);
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::min(least, greatest), std::max(least, greatest)));
}

int sliderPixelOf(int32_t value, int start, int end, int32_t least, int32_t greatest) {
  if (greatest == least) return start;
  const int64_t v = std::clamp(value, std::min(least, greatest), std::max(least, greatest));
  return start + static_cast<int>((v - least) * (end - start) / (static_cast<int64_t>(greatest) - least));
}

std::string switchText(const SpaceSetting& row) { return row.value != 0 ? "On" : "Off"; }

const char* arrowTypeName(int32_t value) {
  switch (value) {
    case 1: return "Line";
    case 2: return "Pyramid";
    case 3: return "Cube";
    case 4: return "Ball";
    default: return "No Arrows";
  }
}

std::string sliderBoundText(const SpaceSetting& row, int32_t value) {
  if (row.index == kRowArrowType) return arrowTypeName(value);
  return std::to_string(value);
}

std::string fontRowText(const SpaceSettings& space) {
  const LabelFontSpec& f = space.labelFont;
  std::string text = f.face + " (";
  if (f.weight > 599) text += "Bold, ";
  if (f.italic) text += "Italic, ";
  text += std::to_string(std::abs(f.height)) + ")";
  return text;
}

std::string textRowText(const SpaceSettings& space, int32_t row) {
  if (row == kRowLabelFont) return fontRowText(space);
  return space.rows[static_cast<size_t>(row)].text;
}

std::string controlText(const SpaceSettings& space, int32_t row) {
  const SpaceSetting& r = space.rows[static_cast<size_t>(row)];
  switch (gridRowType(r)) {
    case GridRowType::Switch: return switchText(r);
    case GridRowType::Slider: return sliderBoundText(r, r.value);
    case GridRowType::Text: return textRowText(space, row);
    case GridRowType::Colour: {
      char text[8];
      std::snprintf(text, sizeof text, "#%02X%02X%02X", r.colorref & 0xFF, (r.colorref >> 8) & 0xFF,
                    (r.colorref >> 16) & 0xFF);
      return text;
    }
  }
  return {};
}

}  // namespace vlm::tools

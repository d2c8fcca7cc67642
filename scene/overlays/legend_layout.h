#pragma once
// Layout of the legend and its colour bar in overlay pixels (y up): the lines of
// the associations in legend order, the plus and minus buttons and the tuning
// slider of the current attribute, the colour bar with its handle and entry
// texts, and every pickable element as a named rectangle. The same layout is
// drawn and used for picking, so the two never disagree.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "scene/fonts/label_fonts.h"
#include "scene/overlays/hot_rect.h"
#include "scene/overlays/overlay_text.h"

namespace vlm::scene {

// The legend order of the attributes.
extern const std::array<int32_t, 20> kLegendOrder;

struct LegendAttribute {
  int32_t attribute = 0;
  bool associated = false;
  bool hasField = false;
  std::string displayName;  // character codes
  std::string fieldName;    // character codes
  float scale = 50.0f;
  float pmin = 0.0f, pmax = 100.0f;  // min and max in percent of the field's own range
};

struct ColourBarEntry {
  float position = 0.0f;
  float rgb[3] = {0, 0, 0};
  std::string text;  // character codes, shown while the colour attribute has a field
};

struct LegendInput {
  int32_t viewportWidth = 0, viewportHeight = 0;
  int32_t barHeight = 0;  // the host's toolbar over the view
  const LabelFontMetrics* font = nullptr;
  std::vector<LegendAttribute> attributes;  // every attribute of kLegendOrder, in that order
  bool showAll = false;
  int32_t currentAttribute = -1;  // -1: none
  std::vector<ColourBarEntry> colourEntries;
  bool colourContinuous = true;
  bool colourHasField = false;
  float colourScale = 50.0f;
  int32_t widestRecorded = 0;
};

struct LegendLine {
  int32_t attribute = 0;
  OverlayText text;
  float textEnd = 0;
  bool current = false;
};

struct LegendSlider {
  bool shown = false;
  float left = 0, bottom = 0, top = 0;  // 100 pixels wide
  bool rangeHandles = false;
  float minX = 0, maxX = 0;  // where the handles point
  float scaleX = 0;
};

struct ColourBarSegment {
  float y0 = 0, y1 = 0;
  float rgb0[3] = {0, 0, 0}, rgb1[3] = {0, 0, 0};
};

struct LegendLayout {
  int32_t lineHeight = 12;
  float top = 0;  // top of the legend area: the view height less the toolbar
  std::vector<LegendLine> lines;
  bool buttons = false;
  float buttonBottom = 0;  // the plus button at x 10..19, the minus button at 22..31
  LegendSlider slider;
  bool colourBar = false;
  std::vector<ColourBarSegment> segments;
  float handleY = 0;
  std::vector<OverlayText> colourTexts;
  int32_t width = 0;  // the widest line, after this layout
  bool widthGrew = false;
  std::vector<HotRect> hot;
};

// Names of the legend elements.
constexpr int32_t kLegendLineName = 2000000100;  // + attribute
constexpr int32_t kPlusName = 2000000201;
constexpr int32_t kMinusName = 2000000202;
constexpr int32_t kScaleHandleName = 2000000210;
constexpr int32_t kMinHandleName = 2000000213;
constexpr int32_t kMaxHandleName = 2000000214;
constexpr int32_t kColourBarName = 2000000250;
constexpr int32_t kColourHandleName = 2000000251;
constexpr int32_t kColourTextName = 2000000252;  // + entry index

// The colour bar: 150 pixels high, its bottom 152 pixels below the legend's top
// (y up). The drags read it backwards: the scale whose handle stands at height
// y (0..100), and the entry position drawn at height y (0..1).
float colourBarBottom(float legendTop);
float colourScaleAtHeight(float y, float legendTop);
float colourPositionAtHeight(float y, float legendTop);

// Attributes that get no tuning slider.
bool hasTuningSlider(int32_t attribute);

// Where the scale handle stands for `scale` (0..200) between the range handles.
float scaleHandleOffset(float scale, float pmin, float pmax, bool hasField);

LegendLayout layOutLegend(const LegendInput& in);

}  // namespace vlm::scene

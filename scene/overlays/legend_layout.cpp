#include "scene/overlays/legend_layout.h"

#include <algorithm>
#include <cmath>

namespace vlm::scene {

const std::array<int32_t, 20> kLegendOrder = {1, 2, 3, 4, 5, 6, 7, 8, 9, 20, 10, 11, 12, 15, 16, 13, 14, 17, 18, 19};

namespace {

constexpr int32_t kColorAttr = 1, kLabelAttr = 15, kTextureAttr = 16, kSpeechAttr = 19;

float advanceOf(const LabelFontMetrics* f, const std::string& codes) {
  return f ? textAdvance(*f, codes) : static_cast<float>(codes.size()) * 7.0f;
}

HotRect rect(float left, float bottom, float right, float top, int32_t name) {
  return {static_cast<int32_t>(std::floor(left)), static_cast<int32_t>(std::ceil(top)),
          static_cast<int32_t>(std::ceil(right)), static_cast<int32_t>(std::floor(bottom)), name};
}

// A percentage that cannot be drawn (a constant field gives 0 / 0) stands at the end.
float safePercent(float p, float fallback) {
  if (!std::isfinite(p)) return fallback;
  return std::clamp(p, -100.0f, 200.0f);
}

void layOutColourBar(const LegendInput& in, LegendLayout& out) {
  if (in.colourEntries.size() < 2) return;
  out.colourBar = true;
  const float c = colourBarBottom(out.top);
  const size_t n = in.colourEntries.size();
  for (size_t i = 0; i + 1 < n; ++i) {
    const ColourBarEntry& a = in.colourEntries[i];
    const ColourBarEntry& b = in.colourEntries[i + 1];
    ColourBarSegment s;
    s.y0 = c + 150.0f * a.position;
    s.y1 = c + 150.0f * b.position;
    std::copy(a.rgb, a.rgb + 3, s.rgb0);
    const float* upper = in.colourContinuous ? b.rgb : a.rgb;
    std::copy(upper, upper + 3, s.rgb1);
    out.segments.push_back(s);
  }
  out.hot.push_back(rect(10, c, 20, c + 150, kColourBarName));
  const float s = std::clamp(in.colourScale, 0.0f, 100.0f);
  out.handleY = c + 1.5f * s + 1.0f;
  out.hot.push_back(rect(2, out.handleY - 4, 9, out.handleY + 4, kColourHandleName));
  if (!in.colourHasField) return;
  for (size_t i = 0; i < n; ++i) {
    const ColourBarEntry& e = in.colourEntries[i];
    OverlayText t;
    t.x = 25.0f;
    t.y = (i + 1 == n) ? c + 150.0f : c + 150.0f * e.position;
    // A text at the very top of the bar would reach above the view: it is
    // lowered just enough to show whole.
    if (in.font) t.y = std::min(t.y, out.top - static_cast<float>(in.font->ascent) - 1.0f);
    t.codes = e.text.substr(0, 25);
    const float end = t.x + advanceOf(in.font, t.codes);
    out.width = std::max(out.width, static_cast<int32_t>(std::ceil(end + 10.0f)));
    out.hot.push_back(rect(t.x, t.y, end, t.y + static_cast<float>(out.lineHeight), kColourTextName + static_cast<int32_t>(i)));
    out.colourTexts.push_back(std::move(t));
  }
}

}  // namespace

float colourBarBottom(float legendTop) { return legendTop - 152.0f; }

float colourScaleAtHeight(float y, float legendTop) {
  // The handle stands at c + 1.5 s + 1.
  return std::clamp((y - colourBarBottom(legendTop) - 1.0f) / 1.5f, 0.0f, 100.0f);
}

float colourPositionAtHeight(float y, float legendTop) {
  return std::clamp((y - colourBarBottom(legendTop)) / 150.0f, 0.0f, 1.0f);
}

bool hasTuningSlider(int32_t attribute) {
  return attribute != kColorAttr && attribute != kLabelAttr && attribute != kTextureAttr && attribute != kSpeechAttr;
}

float scaleHandleOffset(float scale, float pmin, float pmax, bool hasField) {
  const float lo = hasField ? pmin + 1.0f : 1.0f;
  const float hi = hasField ? pmax - 1.0f : 99.0f;
  const float s = std::clamp(std::isfinite(scale) ? scale : 0.0f, 0.0f, 200.0f);
  if (!(hi > lo)) return (lo + hi) * 0.5f;
  return lo + s / 200.0f * (hi - lo);
}

LegendLayout layOutLegend(const LegendInput& in) {
  LegendLayout out;
  out.lineHeight = in.font ? in.font->height : 12;
  const float lh = static_cast<float>(out.lineHeight);
  out.top = static_cast<float>(in.viewportHeight - in.barHeight);
  out.width = in.widestRecorded;
  layOutColourBar(in, out);

  float y = static_cast<float>(in.viewportHeight) - 2.0f * lh - static_cast<float>(in.barHeight) - 150.0f;
  for (const LegendAttribute& a : in.attributes) {
    if (!a.hasField && !in.showAll) continue;
    LegendLine line;
    line.attribute = a.attribute;
    line.current = a.attribute == in.currentAttribute;
    line.text.codes = a.displayName;
    if (a.hasField) line.text.codes += " = " + a.fieldName + " ";
    line.text.x = line.current ? 36.0f : 10.0f;
    line.text.y = y;
    line.textEnd = line.text.x + advanceOf(in.font, line.text.codes);
    const float bottom = y - lh * 0.25f, top = y + lh * 0.75f;
    out.hot.push_back(rect(line.text.x, bottom, line.textEnd, top, kLegendLineName + a.attribute));
    out.width = std::max(out.width, static_cast<int32_t>(std::ceil(line.textEnd + 10.0f)));
    if (line.current) {
      out.buttons = true;
      out.buttonBottom = y;
      out.hot.push_back(rect(10, y, 19, y + 9, kPlusName));
      out.hot.push_back(rect(22, y, 31, y + 9, kMinusName));
      if (hasTuningSlider(a.attribute)) {
        LegendSlider& s = out.slider;
        s.shown = true;
        s.left = line.textEnd + 8.0f;
        s.bottom = bottom;
        s.top = top;
        const float pmin = safePercent(a.pmin, 0.0f), pmax = safePercent(a.pmax, 100.0f);
        s.rangeHandles = a.hasField && a.associated;
        if (s.rangeHandles) {
          s.minX = s.left + pmin - 1.0f;
          s.maxX = s.left + pmax;
          out.hot.push_back(rect(s.minX - 6.0f, bottom, s.minX, top, kMinHandleName));
          out.hot.push_back(rect(s.maxX, bottom, s.maxX + 6.0f, top, kMaxHandleName));
        }
        s.scaleX = s.left + scaleHandleOffset(a.scale, pmin, pmax, s.rangeHandles);
        out.hot.push_back(rect(s.scaleX - 2.0f, bottom, s.scaleX + 2.0f, top, kScaleHandleName));
        const int32_t right = static_cast<int32_t>(std::ceil(s.left + 100.0f + 20.0f));
        if (right > out.width) out.width = right;
      }
    }
    out.lines.push_back(std::move(line));
    y -= lh + lh * 0.1f;
  }
  out.widthGrew = out.width > in.widestRecorded;
  return out;
}

}  // namespace vlm::scene

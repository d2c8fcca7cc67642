// Legend, colour bar, information panel and database tree layouts.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/overlays/database_tree.h"
#include "scene/overlays/info_panel.h"
#include "scene/overlays/legend_layout.h"

namespace vlm {
namespace {

using namespace scene;

LabelFontMetrics fixedFont() {
  LabelFontMetrics m;
  m.advances.fill(7.0f);
  m.height = 12;
  return m;
}

LegendInput baseInput(const LabelFontMetrics& font) {
  LegendInput in;
  in.viewportWidth = 640;
  in.viewportHeight = 480;
  in.font = &font;
  for (int32_t a : kLegendOrder) {
    LegendAttribute la;
    la.attribute = a;
    la.displayName = "Attr" + std::to_string(a);
    in.attributes.push_back(la);
  }
  return in;
}

bool hasName(const std::vector<HotRect>& rects, int32_t name) {
  for (const auto& r : rects)
    if (r.name == name) return true;
  return false;
}

TEST(Legend, EmptyWithoutAssociationsAndShowAllOff) {
  const auto font = fixedFont();
  LegendInput in = baseInput(font);
  const LegendLayout l = layOutLegend(in);
  EXPECT_TRUE(l.lines.empty());
  in.showAll = true;
  EXPECT_EQ(layOutLegend(in).lines.size(), 20u);
}

TEST(Legend, LinesFollowTheLegendOrderWithTheirFieldNames) {
  const auto font = fixedFont();
  LegendInput in = baseInput(font);
  for (auto& a : in.attributes)
    if (a.attribute == 20 || a.attribute == 1) a.associated = a.hasField = true, a.fieldName = "F";
  const LegendLayout l = layOutLegend(in);
  ASSERT_EQ(l.lines.size(), 2u);
  EXPECT_EQ(l.lines[0].attribute, 1);
  EXPECT_EQ(l.lines[0].text.codes, "Attr1 = F ");
  EXPECT_EQ(l.lines[1].attribute, 20);
  EXPECT_FLOAT_EQ(l.lines[0].text.y, 480.0f - 24.0f - 150.0f);
  EXPECT_NEAR(l.lines[0].text.y - l.lines[1].text.y, 12.0f * 1.1f, 1e-4);
  EXPECT_TRUE(hasName(l.hot, 2000000101));
  EXPECT_TRUE(hasName(l.hot, 2000000120));
}

TEST(Legend, TheColourLineHasButtonsButNoSlider) {
  const auto font = fixedFont();
  LegendInput in = baseInput(font);
  in.attributes[0].associated = in.attributes[0].hasField = true;
  in.currentAttribute = 1;
  const LegendLayout l = layOutLegend(in);
  EXPECT_TRUE(l.buttons);
  EXPECT_FALSE(l.slider.shown);
  EXPECT_FLOAT_EQ(l.lines[0].text.x, 36.0f);
  EXPECT_TRUE(hasName(l.hot, kPlusName));
  EXPECT_TRUE(hasName(l.hot, kMinusName));
  EXPECT_FALSE(hasName(l.hot, kScaleHandleName));
}

TEST(Legend, TheSliderOfASizeLineHasItsHandlesAndRecordsTheWidth) {
  const auto font = fixedFont();
  LegendInput in = baseInput(font);
  LegendAttribute& size = in.attributes[1];
  size.associated = size.hasField = true;
  size.fieldName = "S";
  size.pmin = 20.0f, size.pmax = 80.0f, size.scale = 100.0f;
  in.currentAttribute = 2;
  const LegendLayout l = layOutLegend(in);
  ASSERT_TRUE(l.slider.shown);
  EXPECT_FLOAT_EQ(l.slider.left, l.lines[0].textEnd + 8.0f);
  EXPECT_FLOAT_EQ(l.slider.minX, l.slider.left + 19.0f);
  EXPECT_FLOAT_EQ(l.slider.maxX, l.slider.left + 80.0f);
  EXPECT_FLOAT_EQ(l.slider.scaleX, l.slider.left + 50.0f) << "scale 100 of 200 halfway from 21 to 79";
  EXPECT_TRUE(hasName(l.hot, kMinHandleName));
  EXPECT_TRUE(hasName(l.hot, kMaxHandleName));
  EXPECT_GE(l.width, static_cast<int32_t>(l.slider.left + 120.0f));
  EXPECT_TRUE(l.widthGrew);
  in.widestRecorded = l.width;
  EXPECT_FALSE(layOutLegend(in).widthGrew) << "a recorded width redraws only once";
}

TEST(Legend, AConstantFieldsSliderStaysDrawable) {
  const auto font = fixedFont();
  LegendInput in = baseInput(font);
  LegendAttribute& size = in.attributes[1];
  size.associated = size.hasField = true;
  size.pmin = std::nanf(""), size.pmax = std::nanf("");
  in.currentAttribute = 2;
  const LegendLayout l = layOutLegend(in);
  EXPECT_TRUE(std::isfinite(l.slider.minX));
  EXPECT_TRUE(std::isfinite(l.slider.maxX));
  EXPECT_TRUE(std::isfinite(l.slider.scaleX));
  EXPECT_FLOAT_EQ(scaleHandleOffset(50.0f, 40.0f, 40.0f, true), 40.0f) << "equal min and max: the handle sits between them";
  EXPECT_FLOAT_EQ(scaleHandleOffset(100.0f, 0.0f, 0.0f, false), 50.0f) << "no field: 1..99";
}

TEST(ColourBar, SegmentsHandleTextsAndNames) {
  const auto font = fixedFont();
  LegendInput in = baseInput(font);
  in.colourEntries = {{0.0f, {1, 0, 0}, "low"}, {0.5f, {0, 1, 0}, "mid"}, {1.0f, {0, 0, 1}, "high"}};
  in.colourHasField = true;
  in.colourScale = 50.0f;
  LegendLayout l = layOutLegend(in);
  ASSERT_TRUE(l.colourBar);
  ASSERT_EQ(l.segments.size(), 2u);
  const float c = 480.0f - 152.0f;
  EXPECT_FLOAT_EQ(l.segments[0].y0, c);
  EXPECT_FLOAT_EQ(l.segments[1].y1, c + 150.0f);
  EXPECT_FLOAT_EQ(l.segments[0].rgb1[1], 1.0f) << "continuous: blended to the next entry";
  EXPECT_FLOAT_EQ(l.handleY, c + 76.0f);
  ASSERT_EQ(l.colourTexts.size(), 3u);
  EXPECT_FLOAT_EQ(l.colourTexts[1].y, c + 75.0f);
  // The top entry's text stands at the top of the bar, lowered to show whole
  // inside the view (its glyphs reach `ascent` above the baseline).
  EXPECT_FLOAT_EQ(l.colourTexts[2].y, 480.0f - static_cast<float>(font.ascent) - 1.0f);
  EXPECT_TRUE(hasName(l.hot, 2000000250));
  EXPECT_TRUE(hasName(l.hot, 2000000251));
  EXPECT_TRUE(hasName(l.hot, 2000000254));
  in.colourContinuous = false;
  l = layOutLegend(in);
  EXPECT_FLOAT_EQ(l.segments[0].rgb1[0], 1.0f) << "categorical: both edges take the entry's colour";
}

TEST(ColourBar, TheDragsReadTheBarBackwards) {
  const auto font = fixedFont();
  LegendInput in = baseInput(font);
  in.colourEntries = {{0.0f, {1, 0, 0}, "low"}, {1.0f, {0, 0, 1}, "high"}};
  for (float scale : {0.0f, 25.0f, 100.0f}) {
    in.colourScale = scale;
    const LegendLayout l = layOutLegend(in);
    EXPECT_NEAR(colourScaleAtHeight(l.handleY, l.top), scale, 1e-4) << "the handle's height gives its scale";
  }
  const float top = 480.0f, c = colourBarBottom(top);
  EXPECT_FLOAT_EQ(colourPositionAtHeight(c + 0.25f * 150.0f, top), 0.25f);
  EXPECT_FLOAT_EQ(colourPositionAtHeight(c - 40.0f, top), 0.0f) << "below the bar: its bottom";
  EXPECT_FLOAT_EQ(colourPositionAtHeight(top + 40.0f, top), 1.0f);
  EXPECT_FLOAT_EQ(colourScaleAtHeight(top + 40.0f, top), 100.0f);
}

TEST(Panel, AFieldNameOfTwentyCharactersShowsFifteenAndADot) {
  const auto font = fixedFont();
  PanelInput in;
  in.font = &font;
  in.viewportWidth = 640, in.viewportHeight = 480;
  in.fields = {{"ABCDEFGHIJKLMNOPQRST", "1"}};
  const PanelLayout l = layOutPanel(in);
  bool found = false;
  for (const auto& t : l.texts) found = found || t.codes == "ABCDEFGHIJKLMNO.";
  EXPECT_TRUE(found);
  EXPECT_EQ(l.texts[0].codes, kPanelHint);
}

TEST(Panel, ALongValueBreaksIntoLinesOfFortyCharacters) {
  const auto font = fixedFont();
  PanelInput in;
  in.font = &font;
  in.hintLine = false;
  in.viewportWidth = 640, in.viewportHeight = 480;
  in.rowNumber = 7;
  in.fields = {{"long", std::string(95, 'x')}};
  const PanelLayout l = layOutPanel(in);
  // Row word, row number, the name and three value lines.
  ASSERT_EQ(l.texts.size(), 6u);
  EXPECT_EQ(l.texts[0].codes, "Row");
  EXPECT_EQ(l.texts[1].codes, "7 ");
  EXPECT_EQ(l.texts[3].codes.size(), 40u);
  EXPECT_EQ(l.texts[4].codes.size(), 40u);
  EXPECT_EQ(l.texts[5].codes, std::string(15, 'x') + " ");
  EXPECT_GT(l.texts[3].y, l.texts[4].y);
}

TEST(Panel, ValuesStandRightOfTheWidestNameShown) {
  const auto font = fixedFont();  // 7 pixels a character
  PanelInput in;
  in.font = &font;
  in.hintLine = false;
  in.viewportWidth = 640, in.viewportHeight = 480;
  in.fields = {{"Name", "chevrolet"}, {"Miles_per_Gallon", "18"}};
  PanelLayout l = layOutPanel(in);
  // Row, number, then name and value per field.
  ASSERT_EQ(l.texts.size(), 6u);
  const float nameEnd = l.texts[4].x + 7.0f * 16;  // "Miles_per_Gallon"
  EXPECT_GT(l.texts[5].x, nameEnd) << "the value is not written over the name";
  EXPECT_EQ(l.texts[3].x, l.texts[5].x) << "one value column";
  EXPECT_EQ(l.texts[1].x, l.texts[5].x) << "the row number stands in it too";

  in.fields = {{"Name", "chevrolet"}, {"Year", "1970"}};
  l = layOutPanel(in);
  EXPECT_FLOAT_EQ(l.texts[3].x - l.texts[2].x, kPanelValueX - 10.0f) << "short names keep the column at 85";
}

TEST(Panel, StaysInsideTheView) {
  const auto font = fixedFont();
  PanelInput in;
  in.font = &font;
  in.viewportWidth = 300, in.viewportHeight = 200;
  in.mouseX = 290, in.mouseY = 195;
  in.fields = {{"a", "b"}, {"c", "d"}};
  const PanelLayout l = layOutPanel(in);
  EXPECT_LE(l.right, 300.0f);
  EXPECT_GE(l.bottom, 0.0f);
}

TEST(DatabaseTree, NodesItemsAndScrolling) {
  const auto font = fixedFont();
  TreeInput in;
  in.font = &font;
  in.top = 400;
  in.left = 100;
  for (int i = 0; i < 20; ++i) in.items.push_back({"T" + std::to_string(i), 21});
  in.items.push_back({"Q", 23});
  in.current = 2;
  TreeLayout l = layOutTree(in);
  EXPECT_TRUE(hasName(l.hot, 2000000300));
  EXPECT_TRUE(hasName(l.hot, 2000000301));
  EXPECT_TRUE(hasName(l.hot, 2000000310));
  EXPECT_TRUE(hasName(l.hot, 2000000402));
  EXPECT_FALSE(hasName(l.hot, 2000000420)) << "Queries is collapsed";
  EXPECT_TRUE(l.scroll);
  bool highlighted = false;
  for (const auto& r : l.rows) highlighted = highlighted || (r.item == 2 && r.highlighted);
  EXPECT_TRUE(highlighted);

  EXPECT_TRUE(toggleTree(in.state, 2000000330, 21));
  EXPECT_EQ(in.state.scroll, 1);
  EXPECT_TRUE(toggleTree(in.state, 2000000333, 21));
  EXPECT_EQ(in.state.scroll, 0) << "back to the start";
  EXPECT_FALSE(toggleTree(in.state, 2000000331, 21)) << "nothing above the start";
  EXPECT_TRUE(toggleTree(in.state, 2000000311, 21));
  EXPECT_TRUE(in.state.expanded[1]);
  EXPECT_FALSE(hasName(layOutTree(in).hot, 2000000420)) << "below the visible items";
  EXPECT_TRUE(toggleTree(in.state, 2000000332, 21));
  l = layOutTree(in);
  EXPECT_TRUE(hasName(l.hot, 2000000420)) << "scrolled to the end";
  EXPECT_FALSE(hasName(l.hot, 2000000400));
}

}  // namespace
}  // namespace vlm

// The pixels of the slider rows and the Selector menus as tables.
#include <gtest/gtest.h>

#include <string>

#include "data/data_table.h"
#include "tools/selector/selector_menu.h"
#include "tools/selector/selector_rules.h"
#include "tools/selector/selector_view.h"
#include "tools/selector/slider_geometry.h"

namespace vlm::selector {
namespace {

const Track kTrack{120, 320};  // 200 pixels for the values

TEST(SliderPixels, ValuesMapLinearlyOntoTheTrackAndBack) {
  EXPECT_EQ(pixelOf(kTrack, 0, 100, 0), 120);
  EXPECT_EQ(pixelOf(kTrack, 0, 100, 50), 220);
  EXPECT_EQ(pixelOf(kTrack, 0, 100, 100), 320);
  EXPECT_EQ(pixelOf(kTrack, 5, 5, 5), 120) << "a single value stands at the start";
  EXPECT_EQ(valueAt(kTrack, 0, 100, 221, true), 50) << "whole numbers are truncated";
  EXPECT_DOUBLE_EQ(valueAt(kTrack, 0, 100, 221, false), 50.5);
  EXPECT_EQ(valueAt(kTrack, 0, 100, 0, true), 0) << "clamped to the values";
  EXPECT_EQ(valueAt(kTrack, 0, 100, 999, true), 100);
}

TEST(SliderPixels, AnItemSliderLeftOfItsTrackShowsAll) {
  EXPECT_EQ(itemAt(kTrack, 5, 119), -1);
  EXPECT_EQ(itemAt(kTrack, 5, 120), 0);
  EXPECT_EQ(itemAt(kTrack, 5, 269), 2);
  EXPECT_EQ(itemAt(kTrack, 5, 320), 4);
  EXPECT_EQ(itemAt(kTrack, 5, 900), 4);
  EXPECT_EQ(itemAt(kTrack, 1, 300), 0);
  EXPECT_EQ(itemPixel(kTrack, 5, 4), 320);
}

TEST(SliderPixels, APressTakesTheThumbItIsNear) {
  // Thumbs at 150 and 250.
  EXPECT_EQ(gripAt(140, 150, 250), Grip::Low);
  EXPECT_EQ(gripAt(155, 150, 250), Grip::Low);
  EXPECT_EQ(gripAt(139, 150, 250), Grip::None);
  EXPECT_EQ(gripAt(156, 150, 250), Grip::Whole);
  EXPECT_EQ(gripAt(244, 150, 250), Grip::Whole);
  EXPECT_EQ(gripAt(245, 150, 250), Grip::High);
  EXPECT_EQ(gripAt(260, 150, 250), Grip::High);
  EXPECT_EQ(gripAt(261, 150, 250), Grip::None);
  EXPECT_EQ(gripAt(152, 150, 150), Grip::Low) << "thumbs on top of each other: the low one first";
}

TEST(SliderPixels, TheLowThumbMeetingTheHighOneDragsTheHighBound) {
  RangeDrag drag{Grip::Low, 170, 25, 60};
  Bounds b = dragTo(drag, kTrack, 0, 100, true, {25, 60}, 180);
  EXPECT_EQ(b.low, 30);
  EXPECT_EQ(b.high, 60);
  b = dragTo(drag, kTrack, 0, 100, true, b, 280);
  EXPECT_EQ(drag.grip, Grip::High);
  EXPECT_EQ(b.low, 60) << "the low bound stops at the high one";
  EXPECT_EQ(b.high, 80);
  b = dragTo(drag, kTrack, 0, 100, true, b, 130);
  EXPECT_EQ(b.high, 60) << "and the high bound never goes below the low one";
}

TEST(SliderPixels, AWholeRangeDragKeepsItsWidthAndStopsAtTheEnds) {
  RangeDrag drag{Grip::Whole, 200, 20, 50};
  Bounds b = dragTo(drag, kTrack, 0, 100, true, {20, 50}, 240);
  EXPECT_EQ(b.low, 40);
  EXPECT_EQ(b.high, 70);
  b = dragTo(drag, kTrack, 0, 100, true, b, 900);
  EXPECT_EQ(b.low, 70);
  EXPECT_EQ(b.high, 100);
  b = dragTo(drag, kTrack, 0, 100, true, b, -500);
  EXPECT_EQ(b.low, 0);
  EXPECT_EQ(b.high, 30);
}

// Command ids in the order shown, 0 for a separator.
std::vector<int32_t> ids(const tools::Menu& menu) {
  std::vector<int32_t> v;
  for (const tools::MenuItem& i : menu.items) v.push_back(i.kind == tools::MenuItem::Kind::Separator ? 0 : i.id);
  return v;
}

const tools::MenuItem& item(const tools::Menu& menu, int32_t id) {
  const tools::MenuItem* found = tools::findCommand(menu, id);
  if (!found) throw std::runtime_error("no such item");
  return *found;
}

TEST(SelectorMenus, EachRowGetsItsMenuWithItsChecksAndGreying) {
  RowView range;
  range.type = FT_INTEGER;
  range.valueCount = 150;
  range.method = kRangeSlider;
  range.allowed[kRangeSlider] = range.allowed[kItemSlider] = true;
  const auto plain = selectorMenuFor(range);
  EXPECT_EQ(plain.name, "Selector");
  EXPECT_EQ(ids(plain), (std::vector<int32_t>{61071, 61072, 61073, 61074, 0, 61075, 61076}));
  EXPECT_EQ(item(plain, 61071).text, "Range Slider");
  EXPECT_EQ(item(plain, 61074).text, "Substring");
  EXPECT_FALSE(item(plain, 61073).enabled) << "150 values are too many to list";
  EXPECT_FALSE(item(plain, 61074).enabled) << "numbers have no substring";
  EXPECT_FALSE(item(plain, 61076).enabled) << "None only on Samples rows";

  RowView samples = range;
  samples.valueCount = 12;
  samples.allowed[kSamples] = true;
  samples.method = kSamples;
  samples.samplesMode = kSingle;
  const auto withModes = selectorMenuFor(samples);
  EXPECT_EQ(withModes.name, "SEL_Samples");
  EXPECT_EQ(ids(withModes), (std::vector<int32_t>{61071, 61072, 61073, 61074, 0, 61075, 61076, 0, 61078, 61079}));
  EXPECT_TRUE(item(withModes, 61073).enabled);
  EXPECT_TRUE(item(withModes, 61076).enabled);
  EXPECT_TRUE(item(withModes, 61078).checked);
  EXPECT_FALSE(item(withModes, 61079).checked);
  EXPECT_EQ(item(withModes, 61079).text, "Multiple");

  RowView items = range;
  items.method = kItemSlider;
  const auto withPlay = selectorMenuFor(items);
  EXPECT_EQ(withPlay.name, "SEL_Items");
  EXPECT_EQ(ids(withPlay).back(), 61081);
  EXPECT_EQ(item(withPlay, 61081).text, "Play Slider");
}

TEST(SelectorMenus, AFieldWithoutADistinctValueListOffersNoItemsNorSamples) {
  DataField f;
  f.type = FT_BOOLEAN;  // booleans never get a list
  RowView row;
  row.type = FT_BOOLEAN;
  row.valueCount = 0;
  for (int32_t m = 0; m < 5; ++m) row.allowed[m] = methodAllowed(f, m);
  const auto menu = selectorMenuFor(row);
  EXPECT_FALSE(item(menu, 61072).enabled);
  EXPECT_FALSE(item(menu, 61073).enabled);
  EXPECT_TRUE(item(menu, 61074).enabled);
  f.type = FT_DATETIME;  // a date range runs over the sorted list
  EXPECT_FALSE(methodAllowed(f, kRangeSlider));
}

TEST(SelectorMenus, ASamplesItemIsGreyedForAFieldWith101Values) {
  DataField f;
  f.type = FT_INTEGER;
  f.distinct.resize(101);
  f.distinctCount = 101;
  EXPECT_FALSE(methodAllowed(f, kSamples));
  f.distinct.back().flags = kDistinctEmpty;  // 100 values and the empty one
  EXPECT_TRUE(methodAllowed(f, kSamples));
  f.type = FT_SIZE;
  EXPECT_FALSE(methodAllowed(f, kSamples));
  EXPECT_TRUE(methodAllowed(f, kItemSlider));
  EXPECT_FALSE(methodAllowed(f, kSubstring));
}

}  // namespace
}  // namespace vlm::selector

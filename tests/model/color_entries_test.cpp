#include "model/color_entries.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "model/association_lookup.h"
#include "model/association_ops.h"
#include "model/color_lookup.h"
#include "model/color_ramps.h"
#include "model/normalise.h"
#include "model/support/model_world.h"

namespace vlm {
namespace {

using test::ModelWorld;

TEST(ColourEntries, AtMost33) {
  ModelWorld w;
  auto ctx = w.ctx();
  for (int i = 0; i < 33; ++i) {
    ASSERT_TRUE(addColourEntry(ctx, -1, FT_INTEGER, std::to_string(i).c_str(), 0, 0, 0));
  }
  EXPECT_FALSE(addColourEntry(ctx, -1, FT_INTEGER, "5", 0, 0, 0));
  EXPECT_EQ(w.colour.entries.size(), 33u);
}

TEST(ColourEntries, ValuesParsedByFieldType) {
  ModelWorld w;
  const int32_t t = test::addTextField(*w.table, "Town", {"Bern", "Aarau", std::nullopt});
  auto ctx = w.ctx();
  EXPECT_TRUE(addColourEntry(ctx, t, FT_TEXT, "Bern", 1, 0, 0));
  EXPECT_EQ(w.colour.entries.back().value.i, 1);
  EXPECT_TRUE(addColourEntry(ctx, t, FT_TEXT, "(empty)", 1, 0, 0));
  EXPECT_EQ(w.colour.entries.back().value.i, 2);  // one past the last category
  EXPECT_FALSE(addColourEntry(ctx, t, FT_TEXT, "Basel", 1, 0, 0));
  EXPECT_FALSE(addColourEntry(ctx, t, FT_TEXT, "bern", 1, 0, 0));
  EXPECT_TRUE(addColourEntry(ctx, -1, FT_REAL, "1,234.75", 0, 1, 0));
  EXPECT_FLOAT_EQ(w.colour.entries.back().value.f, 1234.75f);
  EXPECT_TRUE(addColourEntry(ctx, -1, FT_INTEGER, "-12,345", 0, 1, 0));
  EXPECT_EQ(w.colour.entries.back().value.i, -12345);
  EXPECT_FALSE(addColourEntry(ctx, -1, FT_INTEGER, "abc", 0, 1, 0));
  EXPECT_TRUE(addColourEntry(ctx, -1, FT_BOOLEAN, "TRUE", 0, 1, 0));
  EXPECT_EQ(w.colour.entries.back().value.i, 1);
  // The value range widens to include every value.
  EXPECT_FLOAT_EQ(w.colour.valueMin, -12345.0f);
  EXPECT_FLOAT_EQ(w.colour.valueMax, 1234.75f);
}

TEST(ColourEntries, DateTimeEntriesFindTheFirstValueNotEarlier) {
  ModelWorld w;
  DataTable& table = *w.table;
  const int32_t f = test::addTextField(table, "When", {"a", "b"}, FT_DATETIME);
  table.timeTable.entries.resize(2);
  table.timeTable.entries[0].year = 2001;
  table.timeTable.entries[0].month = 1;
  table.timeTable.entries[0].day = 5;
  table.timeTable.entries[1].year = 2003;
  table.timeTable.entries[1].month = 6;
  table.timeTable.entries[1].day = 1;
  table.fields[static_cast<size_t>(f)].distinct[0].value = 0;
  table.fields[static_cast<size_t>(f)].distinct[1].value = 1;
  auto ctx = w.ctx();
  // Without a parser the text must be one of the field's texts.
  EXPECT_TRUE(addColourEntry(ctx, f, FT_DATETIME, "Jun 1-2003", 0, 0, 0));
  EXPECT_EQ(w.colour.entries.back().value.i, 1);
  EXPECT_FALSE(addColourEntry(ctx, f, FT_DATETIME, "Jun 2-2002", 0, 0, 0));
  w.hooks.parseTime = [](const char*, TimeEntry& out) {
    out = TimeEntry{};
    out.year = 2002;
    return true;
  };
  EXPECT_TRUE(addColourEntry(ctx, f, FT_DATETIME, "2002", 0, 0, 0));
  EXPECT_EQ(w.colour.entries.back().value.i, 1);
}

TEST(ColourEntries, ZeroWidthRangesPlaceEntriesAtZero) {
  ModelWorld w;
  const int32_t f = test::addIntegerField(*w.table, "Same", {4, 4});
  auto ctx = w.ctx();
  applyNamedRamp(ctx, 2, f, FT_INTEGER, 1);
  fitColourEntries(ctx, f, FT_INTEGER);
  for (const ColorEntry& e : w.colour.entries) {
    EXPECT_FALSE(std::isnan(e.position));
    EXPECT_EQ(e.position, 0.0f);
  }
}

TEST(ColourEntries, FittingPlacesEntriesInTheWidenedRangeAndDropsRepeats) {
  ModelWorld w;
  const int32_t f = test::addIntegerField(*w.table, "N", {0, 100});
  auto ctx = w.ctx();
  addColourEntry(ctx, f, FT_INTEGER, "0", 1, 0, 0);
  addColourEntry(ctx, f, FT_INTEGER, "200", 0, 0, 1);
  addColourEntry(ctx, f, FT_INTEGER, "50", 0, 1, 0);
  addColourEntry(ctx, f, FT_INTEGER, "50", 0, 1, 0);
  w.saved = 1;
  fitColourEntries(ctx, f, FT_INTEGER);
  const auto& e = w.colour.entries;
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].position, 0.0f);
  EXPECT_EQ(e[1].position, 0.5f);
  EXPECT_EQ(e[2].position, 1.0f);
  EXPECT_EQ(e[2].value.i, 200);
  EXPECT_EQ(w.colour.valueMax, 200.0f);
  EXPECT_EQ(w.saved.load(), 0);
  EXPECT_EQ(w.savedColour.entries.size(), 3u);
}

TEST(ColourEntries, TwoEntriesAreNeverDropped) {
  ModelWorld w;
  auto ctx = w.ctx();
  addColourEntry(ctx, -1, FT_INTEGER, "5", 1, 0, 0);
  addColourEntry(ctx, -1, FT_INTEGER, "5", 1, 0, 0);
  fitColourEntries(ctx, -1, FT_INTEGER);
  EXPECT_EQ(w.colour.entries.size(), 2u);
}

TEST(ColourEntries, RebuildReAddsTheSavedEntriesByTheirTexts) {
  ModelWorld w;
  const int32_t t = test::addTextField(*w.table, "Town", {"Bern", "Chur"});
  auto ctx = w.ctx();
  applyNamedRamp(ctx, 2, t, FT_TEXT, 1);  // Bern .. Chur
  // New data: a town sorts in front, so the categories move.
  DataTable& table = *w.table;
  table.fieldCount = 0;
  table.rowCount = 0;
  const int32_t t2 = test::addTextField(table, "Town", {"Bern", "Chur", "Aarau"});
  rebuildColourForField(ctx, t2, FT_TEXT);
  const auto& e = w.colour.entries;
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].value.i, 1);
  EXPECT_EQ(e[1].value.i, 2);
  EXPECT_EQ(e[0].position, 0.5f);
  EXPECT_EQ(e[1].position, 1.0f);
  EXPECT_EQ(e[0].valueText, "Bern");
}

TEST(ColourEntries, RebuildDropsTextsThatNoLongerExist) {
  ModelWorld w;
  const int32_t t = test::addTextField(*w.table, "Town", {"Bern", "Chur", "Thun"});
  auto ctx = w.ctx();
  applyNamedRamp(ctx, 1, t, FT_TEXT, 1);
  w.savedColour.entries[1].valueText = "Zug";
  rebuildColourForField(ctx, t, FT_TEXT);
  EXPECT_EQ(w.colour.entries.size(), 3u);
}

// Reloaded data whose categories are all new: the ramp keeps its end colours
// over the new categories instead of colouring nothing.
TEST(ColourEntries, RebuildOverOnlyNewTextsSpansTheRampsEndsOverThem) {
  ModelWorld w;
  const int32_t t = test::addTextField(*w.table, "Town", {"Bern", "Chur", "Thun"});
  auto ctx = w.ctx();
  applyNamedRamp(ctx, 2, t, FT_TEXT, 1);  // blue - red
  DataTable& table = *w.table;
  table.fieldCount = 0;
  table.rowCount = 0;
  const int32_t t2 = test::addTextField(table, "Town", {"Aarau", "Baden", "Olten", "Sion"});
  rebuildColourForField(ctx, t2, FT_TEXT);
  const auto& e = w.colour.entries;
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].value.i, 0);
  EXPECT_EQ(e[1].value.i, 3);
  EXPECT_EQ(e[0].position, 0.0f);
  EXPECT_EQ(e[1].position, 1.0f);
  EXPECT_EQ(e[0].valueText, "Aarau");
  EXPECT_EQ(e[1].valueText, "Sion");
  EXPECT_EQ(e[0].blue, 1.0f);
  EXPECT_EQ(e[1].red, 1.0f);
  // The saved ramp is untouched: the old data brings the old entries back.
  EXPECT_EQ(w.savedColour.entries.front().valueText, "Bern");
}

TEST(ColourEntries, LongValueTextsAreKept) {
  ModelWorld w;
  const std::string longText(700, 'x');
  const int32_t t = test::addTextField(*w.table, "Note", {longText, "y"});
  auto ctx = w.ctx();
  applyNamedRamp(ctx, 2, t, FT_TEXT, 1);
  EXPECT_EQ(w.colour.entries[0].valueText, longText);
  rebuildColourForField(ctx, t, FT_TEXT);
  ASSERT_EQ(w.colour.entries.size(), 2u);
  EXPECT_EQ(w.colour.entries[0].valueText.size(), 700u);
}

TEST(ColourEntries, EntryValueTexts) {
  ModelWorld w;
  auto ctx = w.ctx();
  ColorEntry e;
  e.value.i = 1234567;
  EXPECT_EQ(colourEntryValueText(ctx, e, -1, FT_INTEGER), "1,234,567");
  EXPECT_EQ(colourEntryValueText(ctx, e, -1, FT_SIZE), "1,234,567");
  EXPECT_EQ(colourEntryValueText(ctx, e, -1, FT_FLAG), "TRUE");
  e.value.i = 0;
  EXPECT_EQ(colourEntryValueText(ctx, e, -1, FT_BOOLEAN), "FALSE");
  e.value.i = 9;
  EXPECT_EQ(colourEntryValueText(ctx, e, -1, FT_TEXT), "(empty)");
  e.value.f = -0.25f;
  EXPECT_EQ(colourEntryValueText(ctx, e, -1, FT_REAL), "-0.25");
}

class ColourEdits : public ::testing::Test {
 protected:
  void SetUp() override {
    field = test::addIntegerField(*w.table, "N", {0, 100});
    w.hooks.updateModel = [this] { ++updates; };
    w.hooks.redraw = [this] { ++redraws; };
    auto ctx = w.ctx();
    associateFieldLocked(ctx, field, 0, ATTRIB_COLOR, -1, 0);  // spectrum inverse: 4 entries
    w.saved = 1;
  }
  ModelWorld w;
  int32_t field = 0;
  int updates = 0;
  int redraws = 0;
};

TEST_F(ColourEdits, SetColourWritesBothCopies) {
  auto ctx = w.ctx();
  EXPECT_FALSE(canSetEntryColour(ctx, 4));
  ASSERT_TRUE(applyEntryColour(ctx, 2, 0x00FF8000u));
  EXPECT_FLOAT_EQ(w.colour.entries[2].red, 0.0f);
  EXPECT_FLOAT_EQ(w.colour.entries[2].green, 128.0f / 255.0f);
  EXPECT_FLOAT_EQ(w.savedColour.entries[2].blue, 1.0f);
  EXPECT_EQ(updates, 1);
  EXPECT_EQ(w.saved.load(), 0);
  EXPECT_FALSE(applyEntryColour(ctx, 2, std::nullopt));
  EXPECT_EQ(redraws, 1);
}

TEST_F(ColourEdits, SetColourNeedsAColourField) {
  auto ctx = w.ctx();
  associateFieldLocked(ctx, -1, 0, ATTRIB_COLOR, -1, 0);
  EXPECT_FALSE(canSetEntryColour(ctx, 0));
}

TEST_F(ColourEdits, SetValueOnlyBetweenFirstAndLast) {
  auto ctx = w.ctx();
  EXPECT_FALSE(canSetEntryValue(ctx, 0));
  EXPECT_FALSE(canSetEntryValue(ctx, 3));
  EXPECT_TRUE(canSetEntryValue(ctx, 1));
  EXPECT_FALSE(applyEntryValue(ctx, 1, ""));
  EXPECT_FALSE(applyEntryValue(ctx, 1, "150"));  // outside 0..1
  EXPECT_EQ(w.saved.load(), 1);
  ASSERT_TRUE(applyEntryValue(ctx, 1, "80"));
  // Sorted: the moved entry now follows the one at 66.
  EXPECT_EQ(w.colour.entries[2].valueText, "80");
  EXPECT_FLOAT_EQ(w.colour.entries[2].position, 0.8f);
  EXPECT_EQ(w.savedColour.entries[2].value.i, 80);
  EXPECT_EQ(updates, 1);
  EXPECT_EQ(w.saved.load(), 0);
}

TEST_F(ColourEdits, AStopDragMovesTheValueAndKeepsTheEntriesInOrder) {
  auto ctx = w.ctx();  // entries at 0, 33, 66 and 100 of 0..100
  EXPECT_FALSE(dragColourStopLocked(ctx, 0, 0.5f)) << "the first stop stays";
  EXPECT_FALSE(dragColourStopLocked(ctx, 3, 0.5f)) << "the last stop stays";
  ASSERT_TRUE(dragColourStopLocked(ctx, 1, 0.2f));
  EXPECT_EQ(w.colour.entries[1].value.i, 20);
  EXPECT_EQ(w.colour.entries[1].valueText, "20");
  EXPECT_FLOAT_EQ(w.colour.entries[1].position, 0.2f);
  EXPECT_EQ(w.savedColour.entries[1].valueText, "20") << "the saved copy follows";
  EXPECT_EQ(w.saved.load(), 0);
  // Dragged past its neighbour it stops there: the order of the stops holds.
  ASSERT_TRUE(dragColourStopLocked(ctx, 1, 0.9f));
  EXPECT_EQ(w.colour.entries[1].valueText, w.colour.entries[2].valueText);
  EXPECT_LE(w.colour.entries[1].position, w.colour.entries[2].position);
  for (size_t i = 1; i < w.colour.entries.size(); ++i)
    EXPECT_LE(w.colour.entries[i - 1].position, w.colour.entries[i].position);
  // The next rebuild reads the entry back from its text.
  rebuildColourForField(ctx, field, FT_INTEGER);
  EXPECT_EQ(w.colour.entries.size(), 4u);
}

TEST_F(ColourEdits, AScaleDragSetsTheColourScaleWithinItsRange) {
  auto ctx = w.ctx();
  const int32_t a = attributeToAssociation(*w.set, ATTRIB_COLOR);
  ASSERT_TRUE(dragColourScaleLocked(ctx, 30.0f));
  EXPECT_FLOAT_EQ(w.pass(a).scale, 30.0f);
  EXPECT_FLOAT_EQ(w.savedPass(a).scale, 30.0f);
  ASSERT_TRUE(dragColourScaleLocked(ctx, 250.0f));
  EXPECT_FLOAT_EQ(w.savedPass(a).scale, 100.0f);
  deleteFieldLocked(ctx, ATTRIB_COLOR);
  EXPECT_FALSE(dragColourScaleLocked(ctx, 30.0f)) << "no colour association: nothing to scale";
}

TEST_F(ColourEdits, RemoveKeepsTwo) {
  auto ctx = w.ctx();
  EXPECT_TRUE(removeColourEntry(ctx, 1));
  EXPECT_TRUE(removeColourEntry(ctx, 1));
  EXPECT_FALSE(removeColourEntry(ctx, 0));
  EXPECT_EQ(w.savedColour.entries.size(), 2u);
}

// The colours of the normalised values of association `a`, samples 0..n-1.
std::vector<std::array<float, 3>> coloursOf(const ModelWorld& w, int32_t a, int n) {
  std::vector<std::array<float, 3>> out;
  for (int s = 0; s < n; ++s) {
    float rgb[3] = {-1, -1, -1};
    colourOfValue(w.colour, w.value(a, s), rgb);
    out.push_back({rgb[0], rgb[1], rgb[2]});
  }
  return out;
}

TEST(ColourByCategory, ANumberFieldMappedByCategoryColoursEachCategory) {
  for (bool real : {false, true}) {
    ModelWorld w;
    const int32_t f = real ? test::addRealField(*w.table, "n", {100.0f, 200.0f, 300.0f, 200.0f})
                           : test::addIntegerField(*w.table, "n", {100, 200, 300, 200});
    auto ctx = w.ctx();
    ASSERT_EQ(associateFieldLocked(ctx, f, 1, ATTRIB_COLOR, -1, 0), 1);
    normaliseAssociationsLocked(ctx);
    // The categories 0..2, not the values 100..300, span the colour range.
    EXPECT_FLOAT_EQ(w.colour.valueMin, 0.0f);
    EXPECT_FLOAT_EQ(w.colour.valueMax, 2.0f);
    EXPECT_FLOAT_EQ(w.value(0, 0), 0.0f);
    EXPECT_FLOAT_EQ(w.value(0, 1), 0.5f);
    EXPECT_FLOAT_EQ(w.value(0, 2), 1.0f);
    const auto c = coloursOf(w, 0, 4);
    EXPECT_NE(c[0], c[1]) << real;
    EXPECT_NE(c[1], c[2]) << real;
    EXPECT_EQ(c[1], c[3]) << real;
    // The entries name their categories by value.
    EXPECT_EQ(w.colour.entries.front().valueText, "100");
    EXPECT_EQ(w.colour.entries.back().valueText, "300");
    EXPECT_EQ(w.colour.entries.back().value.i, 2);
  }
}

TEST(ColourByCategory, EntriesFollowTheCategoricalSwitch) {
  ModelWorld w;
  const int32_t f = test::addIntegerField(*w.table, "n", {100, 200, 300});
  auto ctx = w.ctx();
  ASSERT_EQ(associateFieldLocked(ctx, f, 0, ATTRIB_COLOR, -1, 0), 1);  // by value
  normaliseAssociationsLocked(ctx);
  EXPECT_FLOAT_EQ(w.colour.valueMax, 300.0f);
  setAssociationMappingLocked(ctx, 0, 1);
  normaliseAssociationsLocked(ctx);
  // The value entries re-read as the first category not below them.
  EXPECT_FLOAT_EQ(w.colour.valueMax, 2.0f);
  EXPECT_GE(w.colour.entries.size(), 2u);
  EXPECT_EQ(w.colour.entries.back().value.i, 2);
  const auto c = coloursOf(w, 0, 3);
  EXPECT_NE(c[0], c[2]);
}

TEST(ColourEntries, EntriesSurviveEveryRebuildWhereCommaIsTheDecimalSeparator) {
  ModelWorld w;
  const int32_t f = test::addIntegerField(*w.table, "n", {0, 2500, 5000, 10000});
  auto ctx = w.ctx();
  ctx.regional.decimalSeparator = ',';
  ctx.regional.decimalSeparatorKnown = true;
  ASSERT_EQ(associateFieldLocked(ctx, f, 0, ATTRIB_COLOR, -1, 0), 1);
  applyNamedRamp(ctx, 2, f, FT_INTEGER, 1);  // blue - red, continuous
  copyColourToSaved(ctx);
  ASSERT_EQ(w.colour.entries.size(), 2u);
  EXPECT_EQ(w.colour.entries.back().valueText, "10.000");  // grouped with the other mark
  for (int rebuild = 0; rebuild < 3; ++rebuild) {
    normaliseAssociationsLocked(ctx);
    ASSERT_EQ(w.colour.entries.size(), 2u);
    EXPECT_EQ(w.colour.entries.back().value.i, 10000) << rebuild;
    EXPECT_FLOAT_EQ(w.colour.entries.back().position, 1.0f) << rebuild;
  }
  // Values of 1000 and more keep their colours apart: 5000 is halfway.
  float rgb[3];
  ASSERT_TRUE(colourOfValue(w.colour, w.value(0, 2), rgb));
  EXPECT_NEAR(rgb[0], 0.5f, 0.01f);
  EXPECT_NEAR(rgb[2], 0.5f, 0.01f);

  // A real field's entries too.
  const int32_t r = test::addRealField(*w.table, "r", {0.5f, 1234.5f, 98765.25f});
  ASSERT_EQ(associateFieldLocked(ctx, r, 0, ATTRIB_COLOR, -1, 0), 1);
  copyColourToSaved(ctx);
  for (int rebuild = 0; rebuild < 3; ++rebuild) {
    normaliseAssociationsLocked(ctx);
    EXPECT_FLOAT_EQ(w.colour.entries.back().value.f, 98765.25f) << w.colour.entries.back().valueText;
    EXPECT_FLOAT_EQ(w.colour.entries.front().value.f, 0.5f) << w.colour.entries.front().valueText;
  }
}

}  // namespace
}  // namespace vlm

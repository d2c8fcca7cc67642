// The Selector's rows on a loaded table: each method's test, the selection
// computation with its 6 -> 0/1 re-evaluation, the availability marks, the
// rows the model file adds, and the faults the rows must not have.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "data/text_pool.h"
#include "engine/commands/command_ids.h"
#include "engine/picking/selection_ops.h"
#include "tools/selector/range_bounds.h"
#include "tools/selector/row_edits.h"
#include "tools/selector/selection_compute.h"
#include "tools/selector/selector_rows.h"
#include "tools/selector/selector_rules.h"
#include "tools/selector/selector_view.h"
#include "tools/support/selector_world.h"

namespace vlm {
namespace {

using namespace selector;
using Samples = std::vector<int32_t>;

class SelectorRows : public ::testing::Test {
 protected:
  void SetUp() override { state = test::makeSelectorState(); }

  // Ten samples: an integer with one missing value, a real, a text of three
  // values, and dates first met out of their order.
  void loadMixed() {
    test::loadColumns(*state, {
        {"n", {"5", "1", "3", "", "9", "3", "7", "2", "8", "3"}},
        {"x", {"0.5", "1.5", "2.5", "3.5", "4.5", "5.5", "6.5", "7.5", "8.5", "9.5"}},
        {"colour", {"red", "Blue", "red", "green", "Blue", "red", "green", "red", "Blue", "red"}},
        {"day", {"2021-03-01", "2019-07-15", "2020-01-01", "2022-12-31", "2019-01-01", "2021-03-01",
                 "2020-06-30", "2018-05-05", "2023-02-02", "2020-01-01"}},
    });
  }

  DataField& field(int f) { return state->data->fields[static_cast<size_t>(f)]; }
  int32_t compute() {
    platform::DataLockGuard guard(state->main->dataLock);
    return computeSelectionLocked(*state);
  }
  Samples selected() { return test::selectedSamples(*state); }
  int isSelected(int32_t sample) { return state->model->selectionFlags[static_cast<size_t>(sample)] != 0 ? 1 : 0; }
  // What an evaluation from the values gives, row by row.
  Samples expected() {
    Samples s;
    for (int32_t i = 0; i < state->data->rowCount; ++i)
      if (test::passesRows(*state, i)) s.push_back(i);
    return s;
  }
  Samples all() {
    Samples s(static_cast<size_t>(state->data->rowCount.get()));
    for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int32_t>(i);
    return s;
  }
  int32_t entry(int f, const std::string& text) { return test::entryWithText(*state, f, text); }

  std::shared_ptr<EngineState> state;
};

TEST_F(SelectorRows, TheWindowListsNoRowsWithoutFieldsOrWithTheMostFields) {
  loadMixed();
  EXPECT_EQ(takeView(*state, true)->rows.size(), 4u);
  state->data->fieldCount = kMaxFields;
  EXPECT_TRUE(takeView(*state, true)->rows.empty());
  state->data->fieldCount = 0;
  EXPECT_TRUE(takeView(*state, true)->rows.empty());
}

TEST_F(SelectorRows, ALoadSelectsEverySampleAndGivesEachFieldARowOfItsKind) {
  loadMixed();
  EXPECT_EQ(selected(), all());
  EXPECT_EQ(state->model->selectedCount.load(), 10);
  EXPECT_EQ(field(0).selector.method, kRangeSlider);
  EXPECT_EQ(field(1).selector.method, kRangeSlider);
  EXPECT_EQ(field(2).selector.method, kSamples) << "three values: a list to tick";
  EXPECT_EQ(field(3).selector.method, kRangeSlider);
  EXPECT_EQ(rowsAdded(*state), 4);
  for (int f = 0; f < 4; ++f)
    for (int s = 0; s < 10; ++s) EXPECT_TRUE(field(f).cells[static_cast<size_t>(s)].flags & kCellPass);
  EXPECT_EQ(rangeLow(field(0)), 1);
  EXPECT_EQ(rangeHigh(field(0)), 9);

  std::vector<std::string> many;
  for (int i = 0; i < 25; ++i) many.push_back("name" + std::to_string(i));
  test::loadColumns(*state, {{"who", many}});
  EXPECT_EQ(field(0).selector.method, kSubstring) << "25 values: a text to search";
}

// A big table's rows are opened field by field on both cores: each row must
// end as a small table's does, over every sample.
TEST_F(SelectorRows, ABigLoadOpensEveryRowOverAllItsSamples) {
  constexpr int kRows = 40000;
  std::mt19937 random(11);
  std::vector<test::Column> columns = {{"i", {}}, {"r", {}}, {"few", {}}, {"day", {}},
                                       {"j", {}}, {"s", {}}, {"some", {}}, {"k", {}}};
  for (int i = 0; i < kRows; ++i) {
    const bool gap = random() % 13 == 0;
    columns[0].cells.push_back(gap ? "" : std::to_string(static_cast<int>(random() % 100000) - 50000));
    columns[1].cells.push_back(std::to_string(random() % 1000) + "." + std::to_string(random() % 100));
    columns[2].cells.push_back(std::string(1, static_cast<char>('a' + random() % 3)));
    char date[16];
    std::snprintf(date, sizeof date, "20%02d-%02d-%02d", static_cast<int>(random() % 14 + 10),
                  static_cast<int>(random() % 12 + 1), static_cast<int>(random() % 28 + 1));
    columns[3].cells.push_back(date);
    columns[4].cells.push_back(std::to_string(i));
    columns[5].cells.push_back(gap ? "" : std::to_string(random() % 7) + ".25");
    columns[6].cells.push_back("v" + std::to_string(random() % 18));
    columns[7].cells.push_back(std::to_string(-i));
  }
  test::loadColumns(*state, columns);
  ASSERT_EQ(state->data->rowCount, kRows);
  EXPECT_EQ(selected(), all());
  for (int f = 0; f < 8; ++f) {
    const DataField& fl = field(f);
    for (int s = 0; s < kRows; ++s) ASSERT_TRUE(fl.cells[static_cast<size_t>(s)].flags & kCellPass) << f << " " << s;
    if (fl.selector.method == kRangeSlider && (fl.type == FT_INTEGER || fl.type == FT_REAL)) {
      double least = 1e30, greatest = -1e30;
      for (const Cell& c : fl.cells) {
        if (&c - fl.cells.data() >= kRows || !(c.flags & kCellPresent)) continue;
        const double v = fl.type == FT_REAL ? static_cast<double>(c.value.f) : static_cast<double>(c.value.i);
        least = std::min(least, v);
        greatest = std::max(greatest, v);
      }
      EXPECT_EQ(rangeLow(fl), least) << f;
      EXPECT_EQ(rangeHigh(fl), greatest) << f;
    }
    for (int32_t e = 0; e < fl.distinctCount; ++e) {
      const uint32_t flags = fl.distinct[static_cast<size_t>(e)].flags;
      if (fl.selector.method == kSamples) {
        EXPECT_TRUE(flags & kDistinctSelected) << f << " " << e;
      }
      if (fl.selector.method == kSamples || fl.selector.method == kItemSlider) {
        EXPECT_TRUE(flags & kDistinctAvailable) << f << " " << e;
      }
    }
  }
  EXPECT_EQ(field(0).selector.method, kRangeSlider);
  EXPECT_EQ(field(2).selector.method, kSamples);
  EXPECT_EQ(rangeLow(field(4)), 0);
  EXPECT_EQ(rangeHigh(field(4)), kRows - 1);
  EXPECT_EQ(rangeLow(field(7)), -(kRows - 1));
  // Narrowed and loaded again: every row opens over the new samples.
  setRange(*state, 4, 10, 20);
  compute();
  EXPECT_EQ(selected().size(), 11u);
  test::loadColumns(*state, columns);
  EXPECT_EQ(selected(), all());
  EXPECT_EQ(rangeHigh(field(4)), kRows - 1);
}

TEST_F(SelectorRows, AllOnEveryRowSelectsEverythingAndNoneSelectsNothing) {
  loadMixed();
  setRange(*state, 0, 2, 5);
  setRange(*state, 1, 3.0, 6.0);
  clickValue(*state, 2, entry(2, "red"));
  setMethod(*state, 3, kItemSlider);
  setItem(*state, 3, 1);
  compute();
  EXPECT_LT(selected().size(), 10u);
  EXPECT_EQ(selected(), expected());

  for (int f = 0; f < 4; ++f) runMenuCommand(*state, kCommandAll, f);
  compute();
  EXPECT_EQ(selected(), all()) << "the missing integer passes a full range too";

  EXPECT_TRUE(runMenuCommand(*state, kCommandNone, 2));
  compute();
  EXPECT_TRUE(selected().empty());
  EXPECT_EQ(state->model->selectedCount.load(), 0);
  runMenuCommand(*state, kCommandAll, 2);
  compute();
  EXPECT_EQ(selected(), all());
}

TEST_F(SelectorRows, ARangeWhoseEndsMeetSelectsExactlyThatValue) {
  loadMixed();
  EXPECT_TRUE(setRange(*state, 0, 3, 3));
  compute();
  EXPECT_EQ(selected(), (Samples{2, 5, 9}));
  runMenuCommand(*state, kCommandAll, 0);
  setRange(*state, 1, 4.5, 4.5);
  compute();
  EXPECT_EQ(selected(), (Samples{4}));
}

TEST_F(SelectorRows, ADateRangeSelectsTheDatesInsideItByDateNotByFirstSeenOrder) {
  loadMixed();
  // The time table numbers dates as they were first met: 2021-03-01 is 0,
  // 2019-07-15 is 1, 2020-01-01 is 2 ... A range from 2019-07-15 to
  // 2020-06-30 by those numbers would take 2021 and leave 2020-06-30 out.
  const int32_t from = entry(3, "Jul 15-2019"), to = entry(3, "Jun 30-2020");
  ASSERT_GE(from, 0) << "value texts of dates as the data layer writes them";
  ASSERT_GE(to, 0);
  EXPECT_TRUE(setRange(*state, 3, from, to));
  compute();
  EXPECT_EQ(selected(), (Samples{1, 2, 6, 9})) << "2019-07-15, 2020-01-01 (twice) and 2020-06-30";
  EXPECT_EQ(selected(), expected());
}

TEST_F(SelectorRows, ARealFullRangeAndAnIntegerNarrowedOneTreatMissingValuesAsTheFlagSays) {
  loadMixed();
  setRange(*state, 0, 1, 8);
  compute();
  EXPECT_EQ(isSelected(3), 0) << "sample 3 has no value";
  field(0).selector.includeMissing = true;
  {
    platform::DataLockGuard guard(state->main->dataLock);
    QueryArrays q = queryArrays(*state);
    rerunRowTest(q, 0);
    computeSelectionLocked(*state);
  }
  EXPECT_EQ(isSelected(3), 1);
}

TEST_F(SelectorRows, ItemSliderShowsOneValueAndKeysWalkItsList) {
  loadMixed();
  ASSERT_TRUE(setMethod(*state, 2, kItemSlider));
  EXPECT_TRUE(field(2).selector.all);
  compute();
  EXPECT_EQ(selected(), all());
  for (const DistinctValue& d : field(2).distinct) EXPECT_TRUE(d.flags & kDistinctAvailable);
  // Sorted byte by byte: "Blue", "green", "red".
  EXPECT_TRUE(pressKey(*state, 2, kKeyRight, {}));
  compute();
  EXPECT_EQ(selected(), (Samples{1, 4, 8}));
  pressKey(*state, 2, kKeyEnd, {});
  compute();
  EXPECT_EQ(selected(), (Samples{0, 2, 5, 7, 9}));
  EXPECT_FALSE(pressKey(*state, 2, kKeyDown, {})) << "stops at the last value";
  pressKey(*state, 2, kKeyLeft, {});
  pressKey(*state, 2, kKeyUp, {});
  EXPECT_FALSE(field(2).selector.all);
  pressKey(*state, 2, kKeyLeft, {});
  EXPECT_TRUE(field(2).selector.all) << "before the first value comes *** ALL ***";
  pressKey(*state, 2, kKeyEnd, {});
  pressKey(*state, 2, kKeyHome, {});
  compute();
  EXPECT_EQ(selected(), all());
}

TEST_F(SelectorRows, PlayWrapsFromTheLastValueToTheFirstNeverToAll) {
  loadMixed();
  setMethod(*state, 2, kItemSlider);
  std::vector<int32_t> shown;
  for (int step = 0; step < 5; ++step) {
    ASSERT_TRUE(advanceItem(*state, 2));
    EXPECT_FALSE(field(2).selector.all);
    shown.push_back(field(2).selectorLow.i);
  }
  EXPECT_EQ(shown, (std::vector<int32_t>{0, 1, 2, 0, 1}));
  compute();
  EXPECT_EQ(selected(), (Samples{3, 6})) << "green";
  EXPECT_FALSE(advanceItem(*state, 0)) << "a Range row does not play";
}

TEST_F(SelectorRows, SamplesSingleAndMultipleAndTheirKeys) {
  loadMixed();
  const int32_t blue = entry(2, "Blue"), green = entry(2, "green"), red = entry(2, "red");
  clickValue(*state, 2, red);  // Multiple: red off
  compute();
  EXPECT_EQ(selected(), (Samples{1, 3, 4, 6, 8}));
  setCurrent(*state, 2, green);
  EXPECT_TRUE(runMenuCommand(*state, kCommandSingle, 2));
  compute();
  EXPECT_EQ(selected(), (Samples{3, 6})) << "only the current value stays";
  pressKey(*state, 2, kKeyUp, {});
  compute();
  EXPECT_EQ(selected(), (Samples{1, 4, 8})) << "Single: the value moved to is the only one";
  EXPECT_EQ(state->main->selector.currentValue, blue);
  runMenuCommand(*state, kCommandMultiple, 2);
  pressKey(*state, 2, kKeyEnd, {});
  compute();
  EXPECT_EQ(selected(), (Samples{0, 1, 2, 4, 5, 7, 8, 9})) << "Multiple adds the value moved to";
  clickValue(*state, 2, blue);
  compute();
  EXPECT_EQ(selected(), (Samples{0, 2, 5, 7, 9}));
}

TEST_F(SelectorRows, ASubstringIgnoresCaseAndLeavesTheTextsAlone) {
  loadMixed();
  ASSERT_TRUE(setMethod(*state, 2, kSubstring));
  EXPECT_EQ(state->main->selector.currentRow, 2) << "a Substring row becomes current";
  for (char c : std::string("bLu")) pressKey(*state, 2, 0, std::string(1, c));
  EXPECT_STREQ(field(2).selectorText, "bLu");
  compute();
  EXPECT_EQ(selected(), (Samples{1, 4, 8}));
  EXPECT_EQ(*poolText(state->data->textPool, field(2).cells[1].value.i), "Blue");
  pressKey(*state, 2, kKeyEscape, {});
  pressKey(*state, 2, 0, "zz");
  compute();
  EXPECT_TRUE(selected().empty()) << "no value matches: no sample passes";
  pressKey(*state, 2, kKeyEscape, {});
  compute();
  EXPECT_EQ(selected(), all());
}

TEST_F(SelectorRows, ASubstringMatchesLettersBeyondAsciiWithoutRegardToCase) {
  test::loadColumns(*state, {{"city", {"Zürich", "ZÜRICH", "Genève", "Bern", "zurich"}}});
  setMethod(*state, 0, kSubstring);
  pressKey(*state, 0, 0, "ÜR");
  compute();
  EXPECT_EQ(selected(), (Samples{0, 1}));
}

TEST_F(SelectorRows, AClickOnAnObjectTogglesItUntilAComputationReachesIt) {
  loadMixed();
  {
    platform::DataLockGuard guard(state->main->dataLock);
    selectObjectLocked(*state, 4);
  }
  EXPECT_EQ(state->model->selectedCount.load(), 9);
  // A change that leaves sample 4's pass bits alone keeps it as the click left it.
  setRange(*state, 1, 0.5, 8.5);
  EXPECT_EQ(compute(), 8);
  EXPECT_EQ(isSelected(4), 0);
  // Narrowing a row so that sample 4 fails, then widening it again, re-evaluates it.
  setRange(*state, 0, 1, 8);
  compute();
  setRange(*state, 0, 1, 9);
  compute();
  EXPECT_EQ(isSelected(4), 1);
  EXPECT_EQ(state->model->selectedCount.load(), static_cast<int32_t>(selected().size()));
}

TEST_F(SelectorRows, AComputationPostsTheCountsAndRedrawsTheObjects) {
  loadMixed();
  state->view->view.cacheValid[CACHE_OBJECTS] = true;
  setRange(*state, 0, 1, 3);
  compute();
  EXPECT_FALSE(state->view->view.cacheValid[CACHE_OBJECTS].load());
  const auto posted = test::takeEngineCommands(*state);
  EXPECT_NE(std::find(posted.begin(), posted.end(), CMD_DRAW_SCENE), posted.end());
}

TEST_F(SelectorRows, ValuesAreAvailableWhileSomeSampleWithThemPassesEveryOtherRow) {
  test::loadColumns(*state, {
      {"shape", {"box", "box", "ball", "ball", "cone"}},
      {"colour", {"red", "blue", "red", "green", "green"}},
  });
  ASSERT_EQ(field(0).selector.method, kSamples);
  ASSERT_EQ(field(1).selector.method, kSamples);
  auto available = [&](int f, const char* text) {
    return (field(f).distinct[static_cast<size_t>(entry(f, text))].flags & kDistinctAvailable) != 0;
  };
  for (const char* c : {"red", "blue", "green"}) EXPECT_TRUE(available(1, c));
  clickValue(*state, 0, entry(0, "box"));  // box off: blue only comes with box
  compute();
  EXPECT_FALSE(available(1, "blue"));
  EXPECT_TRUE(available(1, "red"));
  EXPECT_TRUE(available(0, "box")) << "a row's own choice does not make its values unavailable";
  clickValue(*state, 1, entry(1, "green"));  // green off: cone only comes with green
  compute();
  EXPECT_FALSE(available(0, "cone"));
  EXPECT_TRUE(available(0, "ball"));
  clickValue(*state, 0, entry(0, "box"));
  compute();
  EXPECT_TRUE(available(1, "blue"));
  EXPECT_EQ(selected(), (Samples{0, 1, 2}));
}

TEST_F(SelectorRows, TheModelFilesRowsComeFieldByFieldAndASamplesRowOfManyValuesBecomesAnItemSlider) {
  std::vector<std::string> names, numbers;
  for (int i = 0; i < 30; ++i) {
    names.push_back("n" + std::to_string(i % 21));
    numbers.push_back(std::to_string(i));
  }
  test::loadColumns(*state, {{"name", names}, {"number", numbers}, {"few", std::vector<std::string>(30, "a")}});
  platform::DataLockGuard guard(state->main->dataLock);
  clearRowsLocked(*state);
  EXPECT_EQ(rowsAdded(*state), 0);
  EXPECT_TRUE(addRowLocked(*state, kSamples));
  EXPECT_EQ(rowMethod(*state->data, 0), kItemSlider) << "21 values";
  EXPECT_TRUE(field(0).selector.all);
  EXPECT_TRUE(addRowLocked(*state, kItemSlider, 99));
  EXPECT_EQ(rowMethod(*state->data, 1), kItemSlider);
  EXPECT_FALSE(field(1).selector.all);
  EXPECT_EQ(field(1).selectorLow.i, 29) << "the stored item, clamped to the list";
  EXPECT_TRUE(addRowLocked(*state, 7)) << "an unknown method is none";
  EXPECT_EQ(rowMethod(*state->data, 2), kMethodNone);
  EXPECT_FALSE(addRowLocked(*state, kRangeSlider)) << "every field has its row";
  EXPECT_EQ(computeSelectionLocked(*state), 1);
  EXPECT_EQ(rowMethod(*state->data, 5), kMethodNone);
  EXPECT_EQ(rowMethod(*state->data, -1), kMethodNone);
}

TEST_F(SelectorRows, TheModelFileCannotGiveAFieldAMethodItsTypeLacks) {
  loadMixed();
  platform::DataLockGuard guard(state->main->dataLock);
  clearRowsLocked(*state);
  EXPECT_TRUE(addRowLocked(*state, kSubstring));  // an integer field
  EXPECT_EQ(rowMethod(*state->data, 0), kMethodNone);
  EXPECT_TRUE(addRowLocked(*state, kRangeSlider));
  EXPECT_TRUE(addRowLocked(*state, kRangeSlider));  // a text field
  EXPECT_EQ(rowMethod(*state->data, 2), kMethodNone);
  EXPECT_TRUE(addRowLocked(*state, kSamples));
  EXPECT_EQ(rowMethod(*state->data, 3), kSamples);
}

TEST_F(SelectorRows, FieldsWithoutADistinctListRefuseItemAndSamples) {
  loadMixed();
  // Booleans and sizes have no list; a field whose list could not be made neither.
  DistinctList().swap(field(0).distinct);
  field(0).distinctCount = 0;
  EXPECT_FALSE(setMethod(*state, 0, kItemSlider));
  EXPECT_FALSE(setMethod(*state, 0, kSamples));
  EXPECT_EQ(field(0).selector.method, kRangeSlider);
  EXPECT_FALSE(runMenuCommand(*state, kCommandSingle, 0));
  EXPECT_TRUE(setMethod(*state, 0, kRangeSlider));

  DataField& flag = field(1);
  flag.type = FT_BOOLEAN;
  DistinctList().swap(flag.distinct);
  flag.distinctCount = 0;
  for (int s = 0; s < 10; ++s) flag.cells[static_cast<size_t>(s)].value.i = s % 2;
  EXPECT_FALSE(methodAllowed(flag, kItemSlider));
  EXPECT_FALSE(methodAllowed(flag, kRangeSlider));
  ASSERT_TRUE(setMethod(*state, 1, kSubstring));
  pressKey(*state, 1, 0, "tr");
  compute();
  EXPECT_EQ(selected(), (Samples{1, 3, 5, 7, 9})) << "a two-valued field reads TRUE and FALSE";
}

TEST_F(SelectorRows, TheMenuRulesFollowTheFieldType) {
  loadMixed();
  EXPECT_TRUE(methodAllowed(field(0), kRangeSlider));
  EXPECT_TRUE(methodAllowed(field(0), kSamples));
  EXPECT_FALSE(methodAllowed(field(0), kSubstring));
  EXPECT_FALSE(methodAllowed(field(2), kRangeSlider));
  EXPECT_TRUE(methodAllowed(field(2), kSubstring));
  DataField size = field(0);
  size.type = FT_SIZE;
  EXPECT_TRUE(methodAllowed(size, kRangeSlider));
  EXPECT_FALSE(methodAllowed(size, kSamples));
  std::vector<std::string> many;
  for (int i = 0; i < 101; ++i) many.push_back(std::to_string(i));
  test::loadColumns(*state, {{"k", many}});
  EXPECT_FALSE(methodAllowed(field(0), kSamples)) << "101 values";
  many.pop_back();
  test::loadColumns(*state, {{"k", many}});
  EXPECT_TRUE(methodAllowed(field(0), kSamples));
}

TEST_F(SelectorRows, TheEditSelectionBoxAppliesMinMaxAndDistanceInThatOrder) {
  loadMixed();
  EXPECT_TRUE(applyEditSelection(*state, 0, "4", "", ""));
  EXPECT_EQ(rangeLow(field(0)), 4);
  EXPECT_EQ(rangeHigh(field(0)), 9);
  applyEditSelection(*state, 0, "", "2", "");
  EXPECT_EQ(rangeLow(field(0)), 2) << "a high below the low lowers the low";
  EXPECT_EQ(rangeHigh(field(0)), 2);
  applyEditSelection(*state, 0, "-50", "", "3");
  EXPECT_EQ(rangeLow(field(0)), 1) << "clamped to the field's values";
  EXPECT_EQ(rangeHigh(field(0)), 4);
  applyEditSelection(*state, 0, "", "", "2147483647");
  EXPECT_EQ(rangeHigh(field(0)), 9) << "low + distance beyond 32 bits is clamped, not wrapped";
  applyEditSelection(*state, 0, "6", "", "-9");
  EXPECT_EQ(rangeLow(field(0)), 1);
  EXPECT_EQ(rangeHigh(field(0)), 1);
  EXPECT_FALSE(applyEditSelection(*state, 0, "abc", " ", "")) << "unreadable numbers change nothing";
  compute();
  EXPECT_EQ(selected(), (Samples{1}));
  EXPECT_TRUE(applyEditSelection(*state, 1, "2.25", "4.75", ""));
  EXPECT_FLOAT_EQ(field(1).selectorLow.f, 2.25f);
  EXPECT_FALSE(applyEditSelection(*state, 3, "1", "2", "")) << "dates have no box";
  EXPECT_FALSE(applyEditSelection(*state, 2, "1", "2", "")) << "nor other methods";
}

TEST_F(SelectorRows, RangeBoundsStayInsideTheValuesAndTheLowBoundBelowTheHighOne) {
  loadMixed();
  EXPECT_TRUE(setRange(*state, 0, -100.0, 100.0) || rangeIsFull(field(0)));
  EXPECT_EQ(rangeLow(field(0)), 1);
  EXPECT_EQ(rangeHigh(field(0)), 9);
  setRange(*state, 0, 7.9, 3.2);
  EXPECT_EQ(rangeLow(field(0)), 3) << "truncated, and never above the high bound";
  EXPECT_EQ(rangeHigh(field(0)), 3);
  EXPECT_FALSE(setRange(*state, 2, 0, 1)) << "not a Range row";
}

TEST_F(SelectorRows, ARangeRowTakenFromAnItemRowSpansTheValuesAgain) {
  loadMixed();
  setMethod(*state, 0, kItemSlider);
  setItem(*state, 0, 4);
  EXPECT_TRUE(setMethod(*state, 0, kSubstring) == false);
  setMethod(*state, 0, kRangeSlider);
  EXPECT_EQ(rangeLow(field(0)), 1);
  EXPECT_EQ(rangeHigh(field(0)), 9);
  compute();
  EXPECT_EQ(selected(), all());
}

TEST_F(SelectorRows, SubstringEditingStaysInsideTheTextAndItsLimit) {
  std::string text;
  int32_t caret = 0;
  EXPECT_FALSE(editSubstring(text, caret, kKeyBack, {})) << "Backspace at the start does nothing";
  EXPECT_FALSE(editSubstring(text, caret, kKeyDelete, {}));
  EXPECT_TRUE(editSubstring(text, caret, 0, "abc"));
  editSubstring(text, caret, kKeyLeft, {});
  EXPECT_TRUE(editSubstring(text, caret, kKeyBack, {}));
  EXPECT_EQ(text, "ac") << "Backspace takes the character before the caret";
  EXPECT_EQ(caret, 1);
  editSubstring(text, caret, kKeyHome, {});
  EXPECT_TRUE(editSubstring(text, caret, kKeyDelete, {}));
  EXPECT_EQ(text, "c");
  editSubstring(text, caret, kKeyEnd, {});
  EXPECT_FALSE(editSubstring(text, caret, kKeyTab, {}));
  EXPECT_FALSE(editSubstring(text, caret, 0, "\t\r"));
  EXPECT_TRUE(editSubstring(text, caret, 0, "é"));
  editSubstring(text, caret, kKeyLeft, {});
  EXPECT_EQ(caret, 1) << "the caret steps over whole characters";
  editSubstring(text, caret, kKeyEnd, {});
  editSubstring(text, caret, kKeyBack, {});
  EXPECT_EQ(text, "c");

  std::string full(kSubstringLimit - 1, 'x');
  int32_t at = static_cast<int32_t>(full.size());
  EXPECT_TRUE(editSubstring(full, at, 0, "yz"));
  EXPECT_EQ(full.size(), static_cast<size_t>(kSubstringLimit)) << "only what fits is inserted";
  EXPECT_FALSE(editSubstring(full, at, 0, "w"));
  at = 5000;
  editSubstring(full, at, kKeyRight, {});
  EXPECT_EQ(at, kSubstringLimit) << "a caret beyond the text is brought back";
}

TEST_F(SelectorRows, AnotherLoadStartsEveryRowOverButAModelsRowsSurviveIt) {
  loadMixed();
  setRange(*state, 0, 2, 3);
  compute();
  loadMixed();
  EXPECT_EQ(selected(), all());
  EXPECT_EQ(rangeLow(field(0)), 1);
  {
    platform::DataLockGuard guard(state->main->dataLock);
    clearRowsLocked(*state);
    addRowLocked(*state, kItemSlider);
  }
  // A chunked load (more rows, same fields) keeps the rows as they are.
  const uint32_t generation = state->main->selector.tableGeneration;
  {
    platform::DataLockGuard guard(state->main->dataLock);
    state->main->selector.rowsBuilt = 4;
    takeLoadedTableLocked(*state);
  }
  EXPECT_EQ(field(0).selector.method, kItemSlider);
  EXPECT_EQ(state->main->selector.tableGeneration, generation + 1);
}

TEST_F(SelectorRows, DeletingRowsKeepsTheFailCountsInStepWithTheRowsThatMoved) {
  loadMixed();
  setRange(*state, 0, 3, 9);    // n fails for samples 1, 3 (no value) and 7
  setRange(*state, 1, 0.5, 5.5);  // x fails for samples 6, 7, 8, 9
  compute();
  EXPECT_EQ(selected(), (Samples{0, 2, 4, 5}));
  {
    platform::DataLockGuard guard(state->main->dataLock);
    std::fill(state->model->selectionFlags.begin(), state->model->selectionFlags.end(), 0);
    state->model->selectionFlags[1] = state->model->selectionFlags[7] = 1;
    ASSERT_TRUE(deleteSelectedLocked(*state));
  }
  // Left: the old samples 0, 2, 3, 4, 5, 6, 8, 9, every flag 0.
  ASSERT_EQ(state->data->rowCount.get(), 8);
  runMenuCommand(*state, kCommandAll, 1);
  compute();
  EXPECT_EQ(selected(), (Samples{5, 6, 7})) << "the old 6, 8 and 9 now pass every row";
  runMenuCommand(*state, kCommandAll, 0);
  compute();
  EXPECT_EQ(selected(), (Samples{2, 5, 6, 7})) << "the old 3, without a value, passes a full range";
}

// Random edits of every kind; after each computation the flags and the
// available marks must be what an evaluation from the values gives.
TEST_F(SelectorRows, RandomEditsAlwaysAgreeWithAnEvaluationFromTheValues) {
  std::mt19937 random(7);
  std::vector<std::string> a, b, c, d, e;
  for (int i = 0; i < 300; ++i) {
    char date[16];
    std::snprintf(date, sizeof date, "20%02d-%02d-%02d", static_cast<int>(random() % 5 + 10),
                  static_cast<int>(random() % 12 + 1), static_cast<int>(random() % 28 + 1));
    e.push_back(random() % 8 == 0 ? std::string() : std::string(date));
    a.push_back(random() % 9 == 0 ? "" : std::to_string(static_cast<int>(random() % 40) - 10));
    b.push_back(std::to_string(random() % 1000) + "." + std::to_string(random() % 10));
    c.push_back(std::string(1, static_cast<char>('a' + random() % 6)) + (random() % 2 ? "x" : "Y"));
    d.push_back(random() % 7 == 0 ? "" : std::string(1, static_cast<char>('p' + random() % 4)));
  }
  test::loadColumns(*state, {{"a", a}, {"b", b}, {"c", c}, {"d", d}, {"e", e}});
  ASSERT_EQ(field(4).type, FT_DATETIME);
  for (int step = 0; step < 400; ++step) {
    const int f = static_cast<int>(random() % 5);
    const DataField& fl = field(f);
    switch (random() % 8) {
      case 0:
        setMethod(*state, f, static_cast<int32_t>(random() % 5));
        break;
      case 1: {
        const RangeLimits l = rangeLimits(fl);
        const double x = l.least + (l.greatest - l.least) * (random() % 101) / 100.0;
        const double y = l.least + (l.greatest - l.least) * (random() % 101) / 100.0;
        setRange(*state, f, std::min(x, y), std::max(x, y));
        break;
      }
      case 2:
        setItem(*state, f, static_cast<int32_t>(random() % (fl.distinctCount + 1)) - 1);
        break;
      case 3:
        clickValue(*state, f, static_cast<int32_t>(random() % std::max(fl.distinctCount, 1)));
        break;
      case 4:
        pressKey(*state, f, random() % 2 ? kKeyBack : 0, std::string(1, static_cast<char>('a' + random() % 26)));
        break;
      case 5:
        runMenuCommand(*state, kCommandAll + static_cast<int32_t>(random() % 5), f);
        break;
      case 6:
        pressKey(*state, f, kKeyLeft + static_cast<int32_t>(random() % 4), {});
        break;
      default:
        setCurrent(*state, f, static_cast<int32_t>(random() % std::max(fl.distinctCount, 1)));
        break;
    }
    if (step % 8 == 7) continue;  // several edits before one computation
    compute();
    const Samples got = selected();
    ASSERT_EQ(got, expected()) << "step " << step;
    ASSERT_EQ(state->model->selectedCount.load(), static_cast<int32_t>(got.size()));
    for (int ff = 0; ff < 5; ++ff) {
      const DataField& row = field(ff);
      if (row.selector.method != kSamples) continue;
      for (int32_t e = 0; e < row.distinctCount; ++e) {
        bool any = false;
        for (int32_t s = 0; s < 300 && !any; ++s)
          any = entryOf(row, row.cells[static_cast<size_t>(s)]) == e && test::passesRows(*state, s, ff);
        ASSERT_EQ(any, (row.distinct[static_cast<size_t>(e)].flags & kDistinctAvailable) != 0)
            << "step " << step << " field " << ff << " entry " << e;
      }
    }
  }
  // Every row at "All" selects everything again.
  for (int f = 0; f < 5; ++f) runMenuCommand(*state, kCommandAll, f);
  compute();
  EXPECT_EQ(selected(), all());
}

}  // namespace
}  // namespace vlm

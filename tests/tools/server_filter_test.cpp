// The Selector's rows as the conditions a database runs: which rows become
// which condition, with which bounds, and which rows cannot be sent.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/database/row_filter.h"
#include "tools/selector/row_edits.h"
#include "tools/selector/selector_rules.h"
#include "tools/selector/server_filter.h"
#include "tools/support/selector_world.h"

namespace vlm {
namespace {

using namespace selector;
using platform::db::ConditionKind;
using platform::db::RangeValues;
using platform::db::RowFilter;

class ServerFilter : public ::testing::Test {
 protected:
  void SetUp() override {
    state = test::makeSelectorState();
    test::loadColumns(*state, {
        {"n", {"5", "1", "3", "", "9"}},
        {"x", {"0.5", "1.5", "2.5", "3.5", "4.1"}},
        {"colour", {"red", "Blue", "red", "green", "Blue"}},
        {"day", {"2021-03-01", "2019-07-15 08:30:00", "2020-01-01", "2022-12-31", "2019-01-01"}},
    });
  }
  SelectionFilter filter(const RowFilter* loaded = nullptr) {
    platform::DataLockGuard guard(state->main->dataLock);
    return selectionFilterLocked(*state->data, loaded);
  }
  std::shared_ptr<EngineState> state;
};

TEST_F(ServerFilter, RowsThatSelectEverythingSayNothing) {
  const SelectionFilter f = filter();
  EXPECT_TRUE(f.filter.conditions.empty());
  EXPECT_TRUE(f.leftOut.empty());
  // A Substring row without a text passes every sample too.
  ASSERT_TRUE(setMethod(*state, 2, kSubstring));
  EXPECT_TRUE(filter().filter.conditions.empty());
}

TEST_F(ServerFilter, RangeRowsBecomeRangesOfTheirKindAndSubstringsTexts) {
  ASSERT_TRUE(setRange(*state, 0, 2, 5));
  ASSERT_TRUE(setRange(*state, 1, 1.5, 2.5));
  // The sorted dates: 2019-01-01, 2019-07-15 08:30, 2020-01-01, ...
  ASSERT_TRUE(setRange(*state, 3, 1, 2));
  ASSERT_TRUE(setMethod(*state, 2, kSubstring));
  ASSERT_TRUE(pressKey(*state, 2, 0, "bL"));
  const SelectionFilter f = filter();
  EXPECT_TRUE(f.leftOut.empty());
  ASSERT_EQ(f.filter.conditions.size(), 4u);
  const auto& n = f.filter.conditions[0];
  EXPECT_EQ(n.column, "n");
  EXPECT_EQ(n.values, RangeValues::Integer);
  EXPECT_EQ(n.low, 2);
  EXPECT_EQ(n.high, 5);
  EXPECT_FALSE(n.includeMissing);
  const auto& x = f.filter.conditions[1];
  EXPECT_EQ(x.values, RangeValues::Real);
  EXPECT_EQ(static_cast<float>(x.low), 1.5f);
  EXPECT_EQ(static_cast<float>(x.high), 2.5f);
  const auto& colour = f.filter.conditions[2];
  EXPECT_EQ(colour.kind, ConditionKind::Substring);
  EXPECT_EQ(colour.text, "bL");
  // Date bounds are the dates at the row's ends, to the second.
  const auto& day = f.filter.conditions[3];
  EXPECT_EQ(day.values, RangeValues::DateTime);
  EXPECT_EQ(day.lowText, "2019-07-15 08:30:00");
  EXPECT_EQ(day.highText, "2020-01-01 00:00:00");
}

TEST_F(ServerFilter, MissingValuesPassWhenTheRowLetsThem) {
  ASSERT_TRUE(setRange(*state, 0, 1, 3));
  state->data->fields[0].selector.includeMissing = true;
  const SelectionFilter f = filter();
  ASSERT_EQ(f.filter.conditions.size(), 1u);
  EXPECT_TRUE(f.filter.conditions[0].includeMissing);
}

// The table on view may be a sample of the database's: a bound left at the
// least or greatest value the sample holds does not cut off the rows beyond.
TEST_F(ServerFilter, ABoundAtTheEndOfTheLoadedValuesIsOpen) {
  ASSERT_TRUE(setRange(*state, 0, 1, 5));
  ASSERT_TRUE(setRange(*state, 1, 1.5, 4.1));
  ASSERT_TRUE(setRange(*state, 3, 0, 2));
  const SelectionFilter f = filter();
  ASSERT_EQ(f.filter.conditions.size(), 3u);
  EXPECT_TRUE(std::isinf(f.filter.conditions[0].low) && f.filter.conditions[0].low < 0);
  EXPECT_EQ(f.filter.conditions[0].high, 5);
  EXPECT_EQ(static_cast<float>(f.filter.conditions[1].low), 1.5f);
  EXPECT_TRUE(std::isinf(f.filter.conditions[1].high) && f.filter.conditions[1].high > 0);
  EXPECT_EQ(f.filter.conditions[2].lowText, "");
  EXPECT_EQ(f.filter.conditions[2].highText, "2020-01-01 00:00:00");
}

TEST_F(ServerFilter, RowsTheDatabaseCannotRunAreNamed) {
  // An Item row on one value, Samples with a value left out.
  ASSERT_TRUE(setMethod(*state, 2, kItemSlider));
  ASSERT_TRUE(setItem(*state, 2, 0));
  ASSERT_TRUE(setMethod(*state, 0, kSamples));
  ASSERT_TRUE(clickValue(*state, 0, 0));
  const SelectionFilter f = filter();
  EXPECT_TRUE(f.filter.conditions.empty());
  EXPECT_EQ(f.leftOut, (std::vector<std::string>{"n", "colour"}));
  // Back on "*** ALL ***" the Item row leaves nothing out.
  ASSERT_TRUE(setItem(*state, 2, -1));
  EXPECT_EQ(filter().leftOut, (std::vector<std::string>{"n"}));
}

TEST_F(ServerFilter, NarrowingAgainKeepsWhatTheTableWasReadWith) {
  RowFilter loaded;
  loaded.conditions.resize(1);
  loaded.conditions[0].column = "earlier";
  ASSERT_TRUE(setRange(*state, 0, 2, 5));
  const SelectionFilter f = filter(&loaded);
  ASSERT_EQ(f.filter.conditions.size(), 2u);
  EXPECT_EQ(f.filter.conditions[0].column, "earlier");
  EXPECT_EQ(f.filter.conditions[1].column, "n");
}

}  // namespace
}  // namespace vlm

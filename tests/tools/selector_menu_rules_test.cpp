// Which Selector methods a field allows, and the checks of a Samples row.
#include <gtest/gtest.h>

#include "data/data_table.h"
#include "tools/menus/menu_ids.h"
#include "tools/menus/menu_tables.h"
#include "tools/menus/selector_menu_rules.h"

namespace vlm::tools {
namespace {

TEST(SelectorMenuRules, MethodsFollowTheFieldType) {
  struct Case {
    int type;
    bool range, item, samples, substring;
  };
  const Case cases[] = {
      {FT_INTEGER, true, true, true, false}, {FT_REAL, true, true, true, false},
      {FT_DATETIME, true, true, true, false}, {FT_TEXT, false, true, true, true},
      {FT_BOOLEAN, false, true, true, true}, {FT_TEXT2, false, true, true, true},
      {FT_SIZE, true, true, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(selectorMethodAllowed(CMD_ID_RANGE_SLIDER, c.type, 10), c.range) << c.type;
    EXPECT_EQ(selectorMethodAllowed(CMD_ID_ITEM_SLIDER, c.type, 10), c.item) << c.type;
    EXPECT_EQ(selectorMethodAllowed(CMD_ID_SAMPLES, c.type, 10), c.samples) << c.type;
    EXPECT_EQ(selectorMethodAllowed(CMD_ID_SUBSTRING, c.type, 10), c.substring) << c.type;
  }
}

TEST(SelectorMenuRules, SamplesAreGreyedFromOneHundredAndOneValues) {
  for (int type : {FT_INTEGER, FT_TEXT}) {
    Menu m = resourceMenu(ResourceMenu::Selector);
    applySelectorRules(m, {type, 100, false, 1});
    EXPECT_TRUE(findCommand(m, CMD_ID_SAMPLES)->enabled) << type;
    applySelectorRules(m, {type, 101, false, 1});
    EXPECT_FALSE(findCommand(m, CMD_ID_SAMPLES)->enabled) << type;
  }
}

TEST(SelectorMenuRules, NoneOnlyForSamplesRowsWhichCheckTheirMode) {
  Menu items = resourceMenu(ResourceMenu::SelectorItems);
  applySelectorRules(items, {FT_INTEGER, 5, false, 1});
  EXPECT_FALSE(findCommand(items, CMD_ID_NONE)->enabled);
  Menu samples = resourceMenu(ResourceMenu::SelectorSamples);
  applySelectorRules(samples, {FT_TEXT, 5, true, 2});
  EXPECT_TRUE(findCommand(samples, CMD_ID_NONE)->enabled);
  EXPECT_FALSE(findCommand(samples, CMD_ID_SINGLE)->checked);
  EXPECT_TRUE(findCommand(samples, CMD_ID_MULTIPLE)->checked);
}

}  // namespace
}  // namespace vlm::tools

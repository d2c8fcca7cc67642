#pragma once
// The Calculator menu: its commands, what it shows for a row (check marks,
// greyed items), showing it at the pointer through the popup menus' tracker
// (where tests put their chooser), and carrying out its commands.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/menus/menu.h"
#include "tools/menus/menu_ids.h"

namespace vlm {
struct EngineState;
}

namespace vlm::calculator {

// Command ids of the Calculator menu (the popup menus' Calculator table).
constexpr int32_t MENU_DEFAULT = tools::CMD_ID_CALC_DEFAULT;
constexpr int32_t MENU_SPEAK = tools::CMD_ID_CALC_SPEAK;
constexpr int32_t MENU_REMOVE_ALL = tools::CMD_ID_CALC_REMOVE_ALL;
constexpr int32_t MENU_REMOVE_THIS = tools::CMD_ID_CALC_REMOVE_THIS;
constexpr int32_t MENU_REMOVE_VARIABLE = tools::CMD_ID_CALC_REMOVE_VARIABLE;
constexpr int32_t MENU_FUNCTION_FIRST = tools::CMD_ID_CALC_COUNT;  // + function 0..5: Count .. Average
constexpr int32_t MENU_FUNCTION_LAST = tools::CMD_ID_CALC_COUNT + 5;
constexpr int32_t MENU_FIELD_FIRST = tools::kFieldItemFirst;  // + field index
constexpr int32_t MENU_FIELD_LAST = tools::kFieldItemLast;

// What the menu shows for the row under the pointer (-1 none).
struct MenuRowState {
  int32_t rowCount = 0;
  int32_t row = -1;
  int32_t function = -1;
  int32_t field = -1;
  bool spoken = false;
};

// "&Default", "&Remove" (This, Variable, All), separator, "Method" (Count ..
// Average), "Variable" (one item per field), separator, "&Speak", with the
// row's checks and the greyed items.
tools::Menu calculatorMenu(const MenuRowState& row, const std::vector<std::string>& fields);

// Under the data lock: carries out a command on `row`; true when the rows changed.
bool applyMenuCommand(EngineState& state, int32_t command, int32_t row);

// vlm_ShowCalculatorMenu: shows the menu for `row` at the pointer on the host
// thread and carries out the chosen command.
void showCalculatorMenu(EngineState& state, int32_t row);

}  // namespace vlm::calculator

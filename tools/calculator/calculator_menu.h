#pragma once
// The Calculator menu: its commands, what it shows for a row (check marks,
// greyed items), showing it at the pointer, and carrying out its commands.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vlm {
struct EngineState;
}

namespace vlm::calculator {

// Command ids of the Calculator menu.
constexpr int32_t MENU_DEFAULT = 61321;
constexpr int32_t MENU_SPEAK = 61325;
constexpr int32_t MENU_REMOVE_ALL = 61330;
constexpr int32_t MENU_REMOVE_THIS = 61331;
constexpr int32_t MENU_REMOVE_VARIABLE = 61332;
constexpr int32_t MENU_FUNCTION_FIRST = 61340;  // + function 0..5: Count, Percent, Min, Max, Sum, Average
constexpr int32_t MENU_FUNCTION_LAST = 61345;
constexpr int32_t MENU_FIELD_FIRST = 61350;     // + field index
constexpr int32_t MENU_FIELD_LAST = 61350 + 2047;

// One item of the menu as shown.
struct MenuEntry {
  enum class Kind { Command, Separator, Submenu };
  Kind kind = Kind::Command;
  int32_t id = 0;
  std::string text;
  bool checked = false;
  bool enabled = true;
  std::vector<MenuEntry> items;
};

// What the menu shows for the row under the pointer (-1 none).
struct MenuRowState {
  int32_t rowCount = 0;
  int32_t row = -1;
  int32_t function = -1;
  int32_t field = -1;
  bool spoken = false;
};

// "&Default", "&Remove" (This, Variable, All), separator, "Method" (Count ..
// Average), "Variable" (one item per field), separator, "&Speak".
std::vector<MenuEntry> calculatorMenu(const MenuRowState& row, const std::vector<std::string>& fields);

// Under the data lock: carries out a command on `row`; true when the rows changed.
bool applyMenuCommand(EngineState& state, int32_t command, int32_t row);

// vlm_ShowCalculatorMenu: shows the menu for `row` at the pointer on the host
// thread and carries out the chosen command.
void showCalculatorMenu(EngineState& state, int32_t row);

// Replaces the menu shown at the pointer by a chooser (tests); null restores it.
using MenuChooser = std::function<int32_t(const std::vector<MenuEntry>&)>;
MenuChooser setMenuChooser(MenuChooser chooser);

}  // namespace vlm::calculator

#pragma once
// A popup menu as the menus are shown: items with their command ids, texts,
// check marks and enabled state, separators and submenus. The menus are built
// from static tables (menu_tables.h) and, for the run-time menus, one item per
// field of the data table.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vlm::tools {

struct MenuItem {
  enum class Kind { Command, Separator, Submenu };
  Kind kind = Kind::Command;
  int32_t id = 0;
  std::string text;  // as shown, with & before the mnemonic
  bool checked = false;
  bool enabled = true;
  std::vector<MenuItem> items;  // a submenu's items
};

struct Menu {
  std::string name;
  std::vector<MenuItem> items;
};

// A row of a static menu table.
struct MenuRow {
  enum class Kind {
    Command,
    Separator,
    Submenu,        // `rows` are its items
    Fields,         // one command per field, here in the menu
    FieldsSubmenu,  // a submenu named `text` of one command per field
  };
  Kind kind = Kind::Command;
  int32_t id = 0;
  const char* text = "";
  std::span<const MenuRow> rows{};
};

// Builds a menu from its table; field items are kFieldItemFirst + index with
// the field's name as text.
Menu buildMenu(const char* name, std::span<const MenuRow> rows, const std::vector<std::string>& fields);

// The command item with `id` anywhere in the menu, or null.
MenuItem* findCommand(Menu& menu, int32_t id);
const MenuItem* findCommand(const Menu& menu, int32_t id);
// Sets the check mark / enabled state of every item with `id` (no-op when absent).
void setChecked(Menu& menu, int32_t id, bool checked);
void setEnabled(Menu& menu, int32_t id, bool enabled);
// Every command id of the menu in the order shown (tests and the text dump).
std::vector<int32_t> commandIds(const Menu& menu);

}  // namespace vlm::tools

#include "tools/menus/menu.h"

#include <algorithm>

#include "tools/menus/menu_ids.h"

namespace vlm::tools {
namespace {

void appendFields(std::vector<MenuItem>& out, const std::vector<std::string>& fields) {
  const size_t count = std::min(fields.size(), static_cast<size_t>(kFieldItemLast - kFieldItemFirst + 1));
  for (size_t i = 0; i < count; ++i) {
    MenuItem item;
    item.id = kFieldItemFirst + static_cast<int32_t>(i);
    item.text = fields[i];
    out.push_back(std::move(item));
  }
}

void appendRows(std::vector<MenuItem>& out, std::span<const MenuRow> rows, const std::vector<std::string>& fields) {
  for (const MenuRow& row : rows) {
    MenuItem item;
    item.id = row.id;
    item.text = row.text;
    switch (row.kind) {
      case MenuRow::Kind::Command:
        out.push_back(std::move(item));
        break;
      case MenuRow::Kind::Separator:
        item.kind = MenuItem::Kind::Separator;
        out.push_back(std::move(item));
        break;
      case MenuRow::Kind::Submenu:
        item.kind = MenuItem::Kind::Submenu;
        appendRows(item.items, row.rows, fields);
        out.push_back(std::move(item));
        break;
      case MenuRow::Kind::Fields:
        appendFields(out, fields);
        break;
      case MenuRow::Kind::FieldsSubmenu:
        item.kind = MenuItem::Kind::Submenu;
        appendFields(item.items, fields);
        out.push_back(std::move(item));
        break;
    }
  }
}

template <typename Items, typename F>
void forEachCommand(Items& items, F&& f) {
  for (auto& item : items) {
    if (item.kind == MenuItem::Kind::Submenu)
      forEachCommand(item.items, f);
    else if (item.kind == MenuItem::Kind::Command)
      f(item);
  }
}

template <typename Items>
auto* find(Items& items, int32_t id) {
  decltype(&items[0]) found = nullptr;
  forEachCommand(items, [&](auto& item) {
    if (!found && item.id == id) found = &item;
  });
  return found;
}

}  // namespace

Menu buildMenu(const char* name, std::span<const MenuRow> rows, const std::vector<std::string>& fields) {
  Menu menu;
  menu.name = name;
  appendRows(menu.items, rows, fields);
  return menu;
}

MenuItem* findCommand(Menu& menu, int32_t id) { return find(menu.items, id); }
const MenuItem* findCommand(const Menu& menu, int32_t id) { return find(menu.items, id); }

void setChecked(Menu& menu, int32_t id, bool checked) {
  forEachCommand(menu.items, [&](MenuItem& item) {
    if (item.id == id) item.checked = checked;
  });
}

void setEnabled(Menu& menu, int32_t id, bool enabled) {
  forEachCommand(menu.items, [&](MenuItem& item) {
    if (item.id == id) item.enabled = enabled;
  });
}

std::vector<int32_t> commandIds(const Menu& menu) {
  std::vector<int32_t> ids;
  forEachCommand(menu.items, [&](const MenuItem& item) { ids.push_back(item.id); });
  return ids;
}

}  // namespace vlm::tools

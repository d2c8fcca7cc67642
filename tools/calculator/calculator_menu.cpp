#include "tools/calculator/calculator_menu.h"

#include <QCursor>
#include <QMenu>

#include <mutex>

#include "engine/engine_state.h"
#include "tools/calculator/calculator.h"
#include "tools/calculator/calculator_rows.h"
#include "tools/calculator/calculator_window.h"

namespace vlm::calculator {
namespace {

MenuEntry command(int32_t id, const char* text) {
  MenuEntry e;
  e.id = id;
  e.text = text;
  return e;
}

MenuEntry separator() {
  MenuEntry e;
  e.kind = MenuEntry::Kind::Separator;
  return e;
}

MenuEntry submenu(const char* text, std::vector<MenuEntry> items) {
  MenuEntry e;
  e.kind = MenuEntry::Kind::Submenu;
  e.text = text;
  e.items = std::move(items);
  return e;
}

std::mutex& chooserMutex() {
  static std::mutex m;
  return m;
}
MenuChooser& chooser() {
  static MenuChooser c;
  return c;
}

void fill(QMenu& menu, const std::vector<MenuEntry>& entries) {
  for (const MenuEntry& e : entries) {
    switch (e.kind) {
      case MenuEntry::Kind::Separator:
        menu.addSeparator();
        break;
      case MenuEntry::Kind::Submenu: {
        QMenu* sub = menu.addMenu(QString::fromStdString(e.text));
        fill(*sub, e.items);
        break;
      }
      case MenuEntry::Kind::Command: {
        QAction* a = menu.addAction(QString::fromStdString(e.text));
        a->setData(e.id);
        a->setEnabled(e.enabled);
        if (e.checked) {
          a->setCheckable(true);
          a->setChecked(true);
        }
        break;
      }
    }
  }
}

const MenuEntry* findEntry(const std::vector<MenuEntry>& entries, int32_t id) {
  for (const MenuEntry& e : entries) {
    if (e.kind == MenuEntry::Kind::Command && e.id == id) return &e;
    if (e.kind == MenuEntry::Kind::Submenu) {
      if (const MenuEntry* found = findEntry(e.items, id)) return found;
    }
  }
  return nullptr;
}

int32_t track(const std::vector<MenuEntry>& entries, QWidget* owner) {
  MenuChooser choose;
  {
    std::lock_guard lock(chooserMutex());
    choose = chooser();
  }
  int32_t id = 0;
  if (choose) {
    id = choose(entries);
  } else {
    QMenu menu(owner);
    fill(menu, entries);
    QAction* chosen = menu.exec(QCursor::pos());
    id = chosen ? chosen->data().toInt() : 0;
  }
  // A greyed or unknown item counts as no choice.
  const MenuEntry* e = findEntry(entries, id);
  return e && e->enabled ? id : 0;
}

}  // namespace

MenuChooser setMenuChooser(MenuChooser c) {
  std::lock_guard lock(chooserMutex());
  MenuChooser old = std::move(chooser());
  chooser() = std::move(c);
  return old;
}

std::vector<MenuEntry> calculatorMenu(const MenuRowState& row, const std::vector<std::string>& fields) {
  const bool onRow = row.row >= 0 && row.row < row.rowCount;
  std::vector<MenuEntry> menu;
  menu.push_back(command(MENU_DEFAULT, "&Default"));
  std::vector<MenuEntry> remove = {command(MENU_REMOVE_THIS, "&This"), command(MENU_REMOVE_VARIABLE, "&Variable"),
                                   command(MENU_REMOVE_ALL, "&All")};
  remove[0].enabled = onRow;
  remove[1].enabled = onRow && row.rowCount > 0;
  remove[2].enabled = row.rowCount > 0;
  menu.push_back(submenu("&Remove", std::move(remove)));
  menu.push_back(separator());
  static constexpr const char* kMethods[] = {"&Count", "&Percent", "&Min", "Ma&x", "&Sum", "&Average"};
  std::vector<MenuEntry> methods;
  for (int32_t f = 0; f < 6; ++f) {
    methods.push_back(command(MENU_FUNCTION_FIRST + f, kMethods[f]));
    methods.back().checked = onRow && row.function == f;
  }
  menu.push_back(submenu("Method", std::move(methods)));
  std::vector<MenuEntry> variables;
  for (size_t i = 0; i < fields.size() && i <= static_cast<size_t>(MENU_FIELD_LAST - MENU_FIELD_FIRST); ++i) {
    variables.push_back(command(MENU_FIELD_FIRST + static_cast<int32_t>(i), ""));
    variables.back().text = fields[i];
    variables.back().checked = onRow && row.field == static_cast<int32_t>(i);
  }
  menu.push_back(submenu("Variable", std::move(variables)));
  menu.push_back(separator());
  menu.push_back(command(MENU_SPEAK, "&Speak"));
  menu.back().checked = onRow && row.spoken;
  menu.back().enabled = onRow;
  return menu;
}

bool applyMenuCommand(EngineState& state, int32_t id, int32_t row) {
  CalculatorRecord& rec = state.main->calculator;
  const DataTable& table = *state.data;
  const bool onRow = row >= 0 && row < rec.count;
  if (id == MENU_DEFAULT) {
    buildDefaultRows(rec, table, state.main->settings.speechCalculator != 0);
    return true;
  }
  if (id == MENU_REMOVE_THIS) {
    if (!onRow) return false;
    removeRow(rec, row);
    return true;
  }
  if (id == MENU_REMOVE_VARIABLE) {
    if (!onRow) return false;
    removeRowsOfField(rec, row);
    return true;
  }
  if (id == MENU_REMOVE_ALL) {
    removeAllRows(rec);
    return true;
  }
  if (id >= MENU_FUNCTION_FIRST && id <= MENU_FUNCTION_LAST) {
    const int32_t function = id - MENU_FUNCTION_FIRST;
    if (onRow)
      setRowFunction(rec, table, row, function);
    else
      addRow(rec, table, function >= CALC_MIN ? 0 : -1, function);
    return true;
  }
  if (id >= MENU_FIELD_FIRST && id <= MENU_FIELD_LAST) {
    const int32_t field = id - MENU_FIELD_FIRST;
    if (field >= table.fieldCount) return false;  // a field the table no longer has
    if (onRow)
      setRowField(rec, table, row, field);
    else
      addRow(rec, table, field, CALC_COUNT);
    return true;
  }
  if (id == MENU_SPEAK) {
    if (!onRow) return false;
    toggleSpoken(rec, row);
    return true;
  }
  return false;
}

void showCalculatorMenu(EngineState& state, int32_t row) {
  const auto view = shownView();
  MenuRowState s;
  s.rowCount = view ? static_cast<int32_t>(view->rows.size()) : 0;
  s.row = row;
  if (view && row >= 0 && row < s.rowCount) {
    const CalculatorView::Row& r = view->rows[static_cast<size_t>(row)];
    s.function = r.function;
    s.field = r.field;
    s.spoken = r.spoken;
  }
  static const std::vector<std::string> none;
  const std::vector<std::string>& fields = view && view->fieldNames ? *view->fieldNames : none;
  const int32_t id = track(calculatorMenu(s, fields), windowWidget());
  if (id != 0) updateCalculator(state, id, row);
}

}  // namespace vlm::calculator

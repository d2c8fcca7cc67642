#include "tools/calculator/calculator_menu.h"

#include "engine/engine_state.h"
#include "tools/calculator/calculator.h"
#include "tools/calculator/calculator_rows.h"
#include "tools/calculator/calculator_window.h"
#include "tools/menus/menu_tables.h"
#include "tools/menus/menu_tracker.h"

namespace vlm::calculator {

tools::Menu calculatorMenu(const MenuRowState& row, const std::vector<std::string>& fields) {
  const bool onRow = row.row >= 0 && row.row < row.rowCount;
  tools::Menu menu = tools::runtimeMenu(tools::RuntimeMenu::Calculator, fields);
  tools::setEnabled(menu, MENU_REMOVE_THIS, onRow);
  tools::setEnabled(menu, MENU_REMOVE_VARIABLE, onRow && row.rowCount > 0);
  tools::setEnabled(menu, MENU_REMOVE_ALL, row.rowCount > 0);
  for (int32_t f = 0; f < 6; ++f) tools::setChecked(menu, MENU_FUNCTION_FIRST + f, onRow && row.function == f);
  for (size_t i = 0; i < fields.size(); ++i) {
    const int32_t id = MENU_FIELD_FIRST + static_cast<int32_t>(i);
    if (id > MENU_FIELD_LAST) break;
    tools::setChecked(menu, id, onRow && row.field == static_cast<int32_t>(i));
  }
  tools::setChecked(menu, MENU_SPEAK, onRow && row.spoken);
  tools::setEnabled(menu, MENU_SPEAK, onRow);
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
  const int32_t id = tools::trackMenu(calculatorMenu(s, fields), windowWidget());
  if (id != 0) updateCalculator(state, id, row);
}

}  // namespace vlm::calculator

#include "engine/support/table_loader.h"

#include "data/cell_classify.h"
#include "data/cell_store.h"
#include "data/field_analysis.h"
#include "data/field_name.h"
#include "data/table_clear.h"
#include "data/table_growth.h"
#include "engine/engine_state.h"

namespace vlm::test {

void loadTable(EngineState& state, const std::vector<Column>& columns, int sourceKind) {
  platform::DataLockGuard guard(state.main->dataLock);
  DataTable& t = *state.data;
  clearTable(t);
  t.sourceKind = sourceKind;
  t.fieldCount = static_cast<int32_t>(columns.size());
  const size_t rows = columns.empty() ? 0 : columns[0].cells.size();
  for (size_t f = 0; f < columns.size(); ++f) {
    DataField& field = t.fields[f];
    setFieldName(field, columns[f].name, static_cast<int32_t>(f) + 1);
    field.analysisClass = AC_NONE;
    for (const auto& cell : columns[f].cells)
      if (!cell.empty()) field.analysisClass = classifyCell(field, cell, state.main->regional);
    applyAnalysisClass(field);
  }
  growRows(t, static_cast<int32_t>(rows));
  for (size_t f = 0; f < columns.size(); ++f)
    for (size_t r = 0; r < rows; ++r)
      storeCell(t, static_cast<int32_t>(f), static_cast<int32_t>(r), columns[f].cells[r], state.main->regional);
  t.rowCount = t.sourceRowCount = static_cast<int32_t>(rows);
}

}  // namespace vlm::test

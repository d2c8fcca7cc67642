#include "tools/calculator/calculator_rows.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "data/utf8.h"

namespace vlm::calculator {
namespace {

constexpr const char* kFunctionNames[] = {"Count", "Percent", "Min", "Max", "Sum", "Average"};

std::string cutText(std::string text) {
  text.resize(utf8::cutLength(text, kCalculatorTextSize - 1));
  return text;
}

std::string fieldNameOf(const DataTable& table, int32_t field) {
  if (field < 0 || field >= table.fieldCount) return {};
  const char* name = table.fields[static_cast<size_t>(field)].name;
  return std::string(name, strnlen(name, kFieldNameSize));
}

// Stores the field and function as adding the row does, and its label.
void makeRow(CalculatorRow& row, const DataTable& table, int32_t field, int32_t function) {
  function = std::clamp(function, 0, 5);
  if (field < 0 || field >= table.fieldCount) field = 0;
  if (function == CALC_COUNT || function == CALC_PERCENT) field = -1;
  row.field = field;
  row.flags = static_cast<uint8_t>((row.flags & kCalcSpoken) | function);
  row.fieldName = fieldNameOf(table, field);
  std::string label = kFunctionNames[function];
  if (function >= CALC_MIN) label += " (" + row.fieldName + ")";
  label += " =";
  row.label = cutText(std::move(label));
  row.result = "N/A";
}

bool validRow(const CalculatorRecord& rec, int32_t row) { return row >= 0 && row < rec.count; }

}  // namespace

const char* functionName(int32_t function) { return kFunctionNames[std::clamp(function, 0, 5)]; }

bool isNumericField(const DataTable& table, int32_t field) {
  if (field < 0 || field >= table.fieldCount) return false;
  const uint8_t type = table.fields[static_cast<size_t>(field)].type;
  return type == FT_INTEGER || type == FT_REAL;
}

bool addRow(CalculatorRecord& rec, const DataTable& table, int32_t field, int32_t function) {
  if (rec.count >= kCalculatorRowCapacity) return false;
  CalculatorRow& row = rec.rows[static_cast<size_t>(rec.count)];
  row = CalculatorRow{};
  makeRow(row, table, field, function);
  ++rec.count;
  return true;
}

void buildDefaultRows(CalculatorRecord& rec, const DataTable& table, bool speakFirst) {
  removeAllRows(rec);
  addRow(rec, table, -1, CALC_COUNT);
  addRow(rec, table, -1, CALC_PERCENT);
  const int32_t fields = table.fieldCount;
  static constexpr int32_t kFew[] = {CALC_SUM, CALC_AVERAGE, CALC_MIN, CALC_MAX};
  const size_t perField = fields <= 7 ? 4 : fields <= 15 ? 2 : 1;
  bool full = false;
  for (int32_t f = 0; f < fields && !full; ++f) {
    if (!isNumericField(table, f)) continue;
    for (size_t k = 0; k < perField && !full; ++k) full = !addRow(rec, table, f, kFew[k]);
  }
  if (speakFirst && rec.count > 0) rec.rows[0].flags |= kCalcSpoken;
}

void removeRow(CalculatorRecord& rec, int32_t row) {
  if (!validRow(rec, row)) return;
  for (int32_t i = row; i + 1 < rec.count; ++i) rec.rows[static_cast<size_t>(i)] = std::move(rec.rows[static_cast<size_t>(i + 1)]);
  rec.rows[static_cast<size_t>(rec.count - 1)] = CalculatorRow{};
  --rec.count;
}

void removeRowsOfField(CalculatorRecord& rec, int32_t row) {
  if (!validRow(rec, row)) return;
  const int32_t field = rec.rows[static_cast<size_t>(row)].field;
  int32_t kept = 0;
  for (int32_t i = 0; i < rec.count; ++i) {
    if (rec.rows[static_cast<size_t>(i)].field == field) continue;
    if (kept != i) rec.rows[static_cast<size_t>(kept)] = std::move(rec.rows[static_cast<size_t>(i)]);
    ++kept;
  }
  for (int32_t i = kept; i < rec.count; ++i) rec.rows[static_cast<size_t>(i)] = CalculatorRow{};
  rec.count = kept;
}

void removeAllRows(CalculatorRecord& rec) {
  for (int32_t i = 0; i < rec.count; ++i) rec.rows[static_cast<size_t>(i)] = CalculatorRow{};
  rec.count = 0;
}

void setRowFunction(CalculatorRecord& rec, const DataTable& table, int32_t row, int32_t function) {
  if (!validRow(rec, row)) return;
  CalculatorRow& r = rec.rows[static_cast<size_t>(row)];
  makeRow(r, table, r.field, function);
}

void setRowField(CalculatorRecord& rec, const DataTable& table, int32_t row, int32_t field) {
  if (!validRow(rec, row)) return;
  CalculatorRow& r = rec.rows[static_cast<size_t>(row)];
  makeRow(r, table, field, calcFunction(r));
}

bool toggleSpoken(CalculatorRecord& rec, int32_t row) {
  if (!validRow(rec, row)) return false;
  const bool wasSpoken = calcSpoken(rec.rows[static_cast<size_t>(row)]);
  clearSpoken(rec);
  if (!wasSpoken) rec.rows[static_cast<size_t>(row)].flags |= kCalcSpoken;
  return !wasSpoken;
}

void clearSpoken(CalculatorRecord& rec) {
  for (CalculatorRow& r : rec.rows) r.flags = static_cast<uint8_t>(r.flags & ~kCalcSpoken);
}

int32_t spokenRow(const CalculatorRecord& rec) {
  for (int32_t i = 0; i < rec.count; ++i) {
    if (calcSpoken(rec.rows[static_cast<size_t>(i)])) return i;
  }
  return -1;
}

void fitRowsToTable(CalculatorRecord& rec, const DataTable& table, bool speakFirst) {
  int32_t kept = 0;
  bool dropped = false;
  for (int32_t i = 0; i < rec.count; ++i) {
    CalculatorRow& r = rec.rows[static_cast<size_t>(i)];
    if (calcFunction(r) >= CALC_MIN) {
      int32_t field = -1;
      for (int32_t f = 0; f < table.fieldCount; ++f) {
        if (fieldNameOf(table, f) == r.fieldName) {
          field = f;
          break;
        }
      }
      if (!isNumericField(table, field)) {
        dropped = true;
        continue;
      }
      r.field = field;
    }
    r.result = "N/A";
    if (kept != i) rec.rows[static_cast<size_t>(kept)] = std::move(r);
    ++kept;
  }
  for (int32_t i = kept; i < rec.count; ++i) rec.rows[static_cast<size_t>(i)] = CalculatorRow{};
  rec.count = kept;
  // An empty Calculator, or one left with Count and Percent alone after the
  // rows of the old table's fields went, shows the default set of the new one.
  bool anyField = false;
  for (int32_t i = 0; i < rec.count; ++i) anyField |= calcFunction(rec.rows[static_cast<size_t>(i)]) >= CALC_MIN;
  if (rec.count == 0 || (dropped && !anyField)) buildDefaultRows(rec, table, speakFirst);
}

}  // namespace vlm::calculator

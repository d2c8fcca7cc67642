#include "data/table_text_write.h"

#include <algorithm>

#include "data/number_text.h"
#include "data/text_pool.h"
#include "data/time_table.h"
#include "data/time_text.h"

namespace vlm {
namespace {

// A tab or line break inside a text would break the layout: one line per row,
// one column per field.
void appendClean(std::string& out, std::string_view text) {
  for (char c : text) out += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
}

void appendPoolText(std::string& out, const DataTable& table, int32_t index) {
  if (const auto text = poolText(table.textPool, index)) appendClean(out, *text);
}

void appendCell(std::string& out, const DataTable& table, const DataField& field, const Cell& cell,
                const platform::RegionalSettings& regional) {
  switch (field.type) {
    case FT_INTEGER:
      out += integerText(cell.value.i);
      break;
    case FT_REAL:
      out += realText(cell.value.f, regional);
      break;
    case FT_TEXT:
    case FT_TEXT2:
    case FT_SIZE:
      appendPoolText(out, table, cell.value.i);
      break;
    case FT_DATETIME:
      if (const TimeEntry* entry = timeEntry(table.timeTable, cell.value.i)) out += timeText(*entry, regional);
      break;
    case FT_BOOLEAN:
    case FT_FLAG:
      out += cell.value.i != 0 ? "TRUE" : "FALSE";
      break;
    default:
      break;
  }
}

void appendOdbcCell(std::string& out, const DataTable& table, const DataField& field, const Cell& cell,
                    const platform::RegionalSettings& regional) {
  const int code = static_cast<int8_t>(field.analysisClass);
  if ((code >= -7 && code <= -5) || (code >= 2 && code <= 5))
    out += integerText(cell.value.i);
  else if (code >= 6 && code <= 8)
    out += realText(cell.value.f, regional);
  else if (code == -1 || code == 1 || (code >= 9 && code <= 12))
    appendPoolText(out, table, cell.value.i);
  // Binary columns (-4 to -2) have no text form: the cell stays empty.
}

}  // namespace

std::string tableTextForCopy(const DataTable& table, int32_t rows, const std::vector<uint8_t>& selectionFlags,
                             bool selectedOnly, const platform::RegionalSettings& regional) {
  const int32_t kind = table.sourceKind;
  if (kind < DSK_EXCEL || kind > DSK_ODBC) return {};
  const bool odbc = kind == DSK_ODBC;
  const bool onlySelected = selectedOnly || odbc;
  const int32_t first = odbc ? 1 : 0;
  const int32_t fields = std::min(table.fieldCount, kMaxFields);
  const int32_t count = std::clamp(rows, 0, table.rowCount.get());

  std::string out;
  for (int32_t f = first; f < fields; ++f) {
    if (f > first) out += '\t';
    appendClean(out, table.fields[static_cast<size_t>(f)].name);
  }
  out += "\r\n";
  for (int32_t s = 0; s < count; ++s) {
    const size_t sample = static_cast<size_t>(s);
    if (onlySelected && (sample >= selectionFlags.size() || (selectionFlags[sample] & 1) == 0)) continue;
    for (int32_t f = first; f < fields; ++f) {
      if (f > first) out += '\t';
      const DataField& field = table.fields[static_cast<size_t>(f)];
      if (sample >= field.cells.size()) continue;
      const Cell& cell = field.cells[sample];
      if (!(cell.flags & kCellPresent)) continue;
      if (odbc)
        appendOdbcCell(out, table, field, cell, regional);
      else
        appendCell(out, table, field, cell, regional);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace vlm

// Arbitrary bytes as a pasted or opened table text: the header, both passes,
// the distinct-value analysis and the copy back must neither crash nor leave
// a table whose counts disagree with its arrays.
//
// Input layout: byte 0 picks the text format (clipboard, tab file, CSV) and
// the regional settings; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "data/distinct_values.h"
#include "data/table_clear.h"
#include "data/table_text_load.h"
#include "data/table_text_write.h"
#include "table_text_mode.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const vlm::fuzz::TableTextInput input = vlm::fuzz::tableTextInput(data, size);
  const vlm::TableTextFormat format = input.mode.format;
  const vlm::platform::RegionalSettings& regional = input.mode.regional;
  const std::string_view text = input.text;

  static vlm::DataTable table;  // reused, as the engine's table is
  vlm::clearTable(table);
  const vlm::TextLoadResult result = vlm::loadTableText(table, text, format, regional, nullptr, {});
  check(table.fieldCount >= 0 && table.fieldCount <= vlm::kMaxFields);
  if (result.status != vlm::TextLoadStatus::Loaded) {
    check(result.rows == 0);
    return 0;
  }
  check(table.rowCount > 0 && table.rowCount <= table.rowCapacity);
  check(table.rowIds.size() == static_cast<size_t>(table.rowCapacity));
  for (int32_t f = 0; f < table.fieldCount; ++f) {
    const vlm::DataField& field = table.fields[static_cast<size_t>(f)];
    check(field.cells.size() == static_cast<size_t>(table.rowCapacity));
    check(field.name[0] != '\0');
  }
  vlm::buildAllDistinctValues(table);
  for (int32_t f = 0; f < table.fieldCount; ++f) {
    const vlm::DataField& field = table.fields[static_cast<size_t>(f)];
    check(field.distinctCount == static_cast<int32_t>(field.distinct.size()));
    if (field.distinctCount == 0) continue;
    for (int32_t s = 0; s < table.rowCount; ++s) {
      const int32_t entry = field.cells[static_cast<size_t>(s)].engineWord;
      check(entry >= -1 && entry < field.distinctCount);
    }
  }
  table.sourceKind = vlm::DSK_CLIPBOARD;
  std::vector<uint8_t> flags(static_cast<size_t>(table.rowCapacity), 1);
  const std::string copy = vlm::tableTextForCopy(table, table.rowCount, flags, false, regional);
  // One header line and one line per sample, each ended by CR LF.
  size_t lines = 0;
  for (size_t i = 0; i + 1 < copy.size(); ++i)
    if (copy[i] == '\r' && copy[i + 1] == '\n') ++lines;
  check(lines == static_cast<size_t>(table.rowCount) + 1);
  // The copy pastes again with the same shape.
  vlm::clearTable(table);
  const vlm::TextLoadResult again =
      vlm::loadTableText(table, copy, vlm::TableTextFormat::Clipboard, regional, nullptr, {});
  (void)again;
  return 0;
}

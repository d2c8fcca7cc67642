// Arbitrary bytes as the cells of a column: type analysis, storing under the
// analysed type and under every other type, date parsing, and the value,
// distinct, range and label texts must neither crash nor read out of bounds.
//
// Input layout: byte 0 picks the regional settings, byte 1 a forced type;
// the rest is split at tabs and line breaks into cells.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "data/cell_classify.h"
#include "data/cell_store.h"
#include "data/char_tests.h"
#include "data/date_parse.h"
#include "data/field_analysis.h"
#include "data/number_cell.h"
#include "data/number_text.h"
#include "data/separator_analysis.h"
#include "data/table_clear.h"
#include "data/table_growth.h"
#include "data/text_buffer.h"
#include "data/text_pool.h"
#include "data/time_text.h"
#include "data/value_text.h"
#include "platform/regional_settings.h"
#include "platform/report.h"

namespace {

constexpr int kFields = 2;  // field 0 analysed, field 1 forced

void checkText(const char* buffer, size_t size) {
  // Every result must be terminated inside the buffer.
  if (std::memchr(buffer, '\0', size) == nullptr) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    vlm::platform::setErrorSink([](const char*) {});
    return true;
  }();
  (void)quiet;
  if (size < 2) return 0;
  vlm::platform::RegionalSettings regional;
  regional.decimalSeparator = (data[0] & 1) ? ',' : '.';
  regional.decimalSeparatorKnown = (data[0] & 2) != 0;
  regional.dateOrder = (data[0] >> 2) % 3;
  regional.timeSeparator = (data[0] & 16) ? '.' : ':';
  regional.centuryBase = (data[0] & 32) ? 1900 : 2000;
  const uint8_t forcedType = data[1] % 10;

  std::vector<std::string_view> cells;
  const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  size_t start = 0;
  for (size_t i = 0; i <= rest.size(); ++i) {
    if (i == rest.size() || rest[i] == '\t' || rest[i] == '\n') {
      cells.push_back(rest.substr(start, i - start));
      start = i + 1;
      if (cells.size() >= 2000) break;
    }
  }

  static vlm::DataTable table;
  vlm::clearTable(table);
  table.fieldCount = kFields;
  vlm::DataField& analysed = table.fields[0];
  vlm::DataField& forced = table.fields[1];
  for (std::string_view cell : cells)
    if (!cell.empty()) analysed.analysisClass = vlm::classifyCell(analysed, cell, regional);
  vlm::applyAnalysisClass(analysed);
  forced.type = forcedType;
  vlm::resetFieldAnalysis(forced);
  forced.flags = vlm::kFieldValid;
  analysed.flags = vlm::kFieldValid;
  if (!vlm::growRows(table, static_cast<int32_t>(cells.size()))) return 0;
  for (size_t i = 0; i < cells.size(); ++i) {
    vlm::storeCell(table, 0, static_cast<int32_t>(i), cells[i], regional);
    vlm::storeCell(table, 1, static_cast<int32_t>(i), cells[i], regional);
  }
  table.rowCount = static_cast<int32_t>(cells.size());

  // Distinct lists as the Selector would build them, including bad indexes.
  for (vlm::DataField* f : {&analysed, &forced}) {
    f->distinct.clear();
    for (size_t i = 0; i < cells.size() && i < 8; ++i) {
      const vlm::Cell& c = f->cells[i];
      vlm::DistinctValue d;
      d.value = (c.flags & vlm::kCellPresent) ? c.value.i : static_cast<int32_t>(i) * 977 - 3;
      d.fvalue = c.value.f;
      d.flags = (i % 5 == 4) ? vlm::kDistinctEmpty : 0;
      f->distinct.push_back(d);
    }
    f->distinctCount = static_cast<int32_t>(f->distinct.size());
    f->selectorLow.i = static_cast<int32_t>(size) - 3;
  }

  char buffer[vlm::kTextBufferSize];
  for (int32_t field = -1; field <= kFields; ++field) {
    for (size_t i = 0; i < cells.size() + 1; ++i) {
      vlm::valueText(table, field, static_cast<int32_t>(i), buffer, sizeof buffer, (i & 1) != 0, regional);
      checkText(buffer, sizeof buffer);
      vlm::distinctValueText(table, field, static_cast<int32_t>(i) - 1, buffer, sizeof buffer, regional);
      checkText(buffer, sizeof buffer);
    }
    for (int32_t which = 0; which <= 5; ++which) {
      vlm::fieldRangeText(table, field, which, buffer, sizeof buffer, regional);
      checkText(buffer, sizeof buffer);
    }
    if (field >= 0 && field < kFields) {
      for (const vlm::Cell& c : table.fields[static_cast<size_t>(field)].cells) {
        if (!(c.flags & vlm::kCellPresent)) continue;
        vlm::labelText(table, field, c.value.f, buffer, sizeof buffer, regional);
        checkText(buffer, sizeof buffer);
        vlm::labelText(table, field, static_cast<float>(c.value.i), buffer, sizeof buffer, regional);
        checkText(buffer, sizeof buffer);
      }
    }
  }

  // The helpers on their own, on every cell.
  for (std::string_view cell : cells) {
    int32_t maxima[3] = {0, 0, 0};
    vlm::TimeEntry entry;
    for (int32_t state = 0; state <= 3; ++state) {
      if (vlm::parseDateTimeText(cell, state, maxima, regional.centuryBase, entry) > 0) {
        const std::string text = vlm::timeText(entry, regional);
        if (text.size() > 200) __builtin_trap();
      }
    }
    std::string number = vlm::stripToNumberChars(cell);
    vlm::separatorAnalysis(cell);
    vlm::normaliseNumberText(number, vlm::separatorAnalysis(number), regional);
    vlm::groupDigits(number, regional);
    double value = 0;
    vlm::readRealText(cell, regional, value);
    int64_t integer = 0;
    vlm::scanInteger(cell, integer);
    // The number rules: a number's kind and value agree, and a real's text
    // reads back as the same float.
    const vlm::NumberKind kind = vlm::numberKind(cell);
    float real = 0.0f;
    const bool isReal = vlm::parseRealCell(cell, 1, regional, real);
    if (isReal != (kind != vlm::NumberKind::None)) __builtin_trap();
    if (vlm::parseIntegerCell(cell, 1, regional, integer) != isReal) __builtin_trap();
    if (isReal && real == real) {
      float back = 0.0f;
      if (!vlm::parseRealCell(vlm::realText(real, regional), 1, regional, back) || back != real) __builtin_trap();
    }
  }
  return 0;
}

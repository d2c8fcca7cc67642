#include "data/cell_store.h"

#include <string>

#include "data/char_tests.h"
#include "data/date_parse.h"
#include "data/number_cell.h"
#include "data/text_pool.h"
#include "data/time_table.h"

namespace vlm {
namespace {

int32_t clampToInt32(int64_t v) {
  return v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : static_cast<int32_t>(v));
}

void widenIntRange(DataField& field, int32_t v) {
  if (v < field.min.i) field.min.i = v;
  if (v > field.max.i) field.max.i = v;
}

bool storeInteger(const DataField& field, Cell& cell, std::string_view text,
                  const platform::RegionalSettings& regional, NumberRange& range) {
  int64_t value = 0;
  if (!parseIntegerCell(text, field.numberFormatClass, regional, value)) return false;
  cell.value.i = clampToInt32(value);
  if (cell.value.i < range.min.i) range.min.i = cell.value.i;
  if (cell.value.i > range.max.i) range.max.i = cell.value.i;
  return true;
}

bool storeReal(const DataField& field, Cell& cell, std::string_view text, const platform::RegionalSettings& regional,
               NumberRange& range) {
  float f = 0.0f;
  if (!parseRealCell(text, field.numberFormatClass, regional, f)) return false;
  cell.value.f = f;
  if (f < range.min.f) range.min.f = f;
  if (f > range.max.f) range.max.f = f;
  return true;
}

bool storeText(DataTable& table, Cell& cell, std::string_view text) {
  const int32_t index = internText(table.textPool, trimCellBlanks(text));
  if (index < 0) return false;
  cell.value.i = index;
  return true;
}

bool storeDate(DataTable& table, DataField& field, Cell& cell, std::string_view text,
               const platform::RegionalSettings& regional) {
  TimeEntry entry;
  if (parseDateTime(text, field, regional, entry) == 0) return false;
  const int32_t index = internTime(table.timeTable, entry);
  if (index < 0) return false;
  cell.value.i = index;
  return true;
}

bool storeSize(DataTable& table, DataField& field, size_t sample, std::string_view text) {
  const std::string_view trimmed = trimCellBlanks(text);
  int32_t bytes = 0;
  if (!readSizeBytes(trimmed, bytes)) return false;
  const int32_t index = internText(table.textPool, trimmed);
  if (index < 0) return false;
  field.cells[sample].value.i = index;
  setSizeBytes(field, sample, bytes);
  widenIntRange(field, bytes);
  return true;
}

}  // namespace

std::string_view trimCellBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool readSizeBytes(std::string_view trimmed, int32_t& bytes) {
  int64_t multiplier = 1;
  for (char c : trimmed) {
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    if (lower == 'm') {
      multiplier = 1048576;
      break;
    }
    if (lower == 'k') multiplier = 1024;
  }
  int64_t number = 0;
  if (!scanInteger(stripToNumberChars(trimmed), number)) return false;
  // number is at most 15 digits' worth in practice, but hold the product anyway.
  const int64_t limit = INT64_MAX / multiplier;
  bytes = clampToInt32(number > limit ? INT64_MAX : (number < -limit ? INT64_MIN : number * multiplier));
  return true;
}

int storeNumberCell(const DataField& field, Cell& cell, std::string_view text,
                    const platform::RegionalSettings& regional, NumberRange& range) {
  if (text.empty() || isMissingMarker(text)) return 0;
  bool stored = false;
  if (field.type == FT_INTEGER) stored = storeInteger(field, cell, text, regional, range);
  if (field.type == FT_REAL) stored = storeReal(field, cell, text, regional, range);
  if (!stored) return 0;
  cell.flags |= kCellPresent;
  return 1;
}

int storeCell(DataTable& table, int32_t fieldIndex, int32_t sample, std::string_view text,
              const platform::RegionalSettings& regional) {
  if (fieldIndex < 0 || fieldIndex >= table.fieldCount || fieldIndex >= kMaxFields || sample < 0) return 0;
  DataField& field = table.fields[static_cast<size_t>(fieldIndex)];
  if (static_cast<size_t>(sample) >= field.cells.size()) return 0;
  if (text.empty() || isMissingMarker(text)) return 0;
  Cell& cell = field.cells[static_cast<size_t>(sample)];
  bool stored = false;
  switch (field.type) {
    case FT_INTEGER:
    case FT_REAL: {
      NumberRange range{field.min, field.max};
      stored = field.type == FT_INTEGER ? storeInteger(field, cell, text, regional, range)
                                        : storeReal(field, cell, text, regional, range);
      field.min = range.min;
      field.max = range.max;
      break;
    }
    case FT_TEXT:
    case FT_TEXT2:
      stored = storeText(table, cell, text);
      break;
    case FT_DATETIME:
      stored = storeDate(table, field, cell, text, regional);
      break;
    case FT_SIZE:
      stored = storeSize(table, field, static_cast<size_t>(sample), text);
      break;
    default:
      break;
  }
  if (!stored) return 0;
  cell.flags |= kCellPresent;
  return 1;
}

}  // namespace vlm

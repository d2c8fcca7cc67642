#include "data/value_text.h"

#include <cmath>
#include <string>

#include "data/number_text.h"
#include "data/text_buffer.h"
#include "data/text_pool.h"
#include "data/time_text.h"

namespace vlm {
namespace {

constexpr const char* kNotAvailable = "N/A";
constexpr const char* kEmpty = "(empty)";

const DataField* fieldAt(const DataTable& table, int32_t field) {
  if (field < 0 || static_cast<size_t>(field) >= table.fields.size()) return nullptr;
  return &table.fields[static_cast<size_t>(field)];
}

int put(char* dst, size_t size, std::string_view text, int result) {
  writeText(dst, size, text);
  return result;
}

std::string numberText(std::string text, bool group, const platform::RegionalSettings& regional) {
  if (group) groupDigits(text, regional);
  return text;
}

// Text of a pool or time index of a text or date field; false when it names nothing.
bool indexedText(const DataTable& table, uint8_t type, int32_t index, const platform::RegionalSettings& regional,
                 std::string& out) {
  if (type == FT_DATETIME) {
    if (index < 0) return false;
    char buffer[kTextBufferSize];
    timeTextAt(table.timeTable, index, regional, buffer, sizeof buffer);
    out = buffer;
    return true;
  }
  const auto text = poolText(table.textPool, index);
  if (!text) return false;
  out = *text;
  return true;
}

const DistinctValue* distinctAt(const DataField& f, int64_t entry) {
  const int64_t count = f.distinctCount < static_cast<int64_t>(f.distinct.size()) ? f.distinctCount
                                                                                  : static_cast<int64_t>(f.distinct.size());
  if (entry < 0 || entry >= count) return nullptr;
  return &f.distinct[static_cast<size_t>(entry)];
}

int32_t truncatedInt(float v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0f) return INT32_MAX;
  if (v <= -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(v);
}

}  // namespace

int valueText(const DataTable& table, int32_t field, int32_t sample, char* dst, size_t size, bool group,
              const platform::RegionalSettings& regional) {
  const DataField* f = fieldAt(table, field);
  if (f == nullptr || f->cells.empty()) return put(dst, size, "", 0);
  if (sample < 0 || static_cast<size_t>(sample) >= f->cells.size()) return put(dst, size, "", 0);
  const Cell& cell = f->cells[static_cast<size_t>(sample)];
  if (!(cell.flags & kCellPresent)) return put(dst, size, kNotAvailable, 0);
  switch (f->type) {
    case FT_INTEGER:
      return put(dst, size, numberText(integerText(cell.value.i), group, regional), 1);
    case FT_REAL:
      return put(dst, size, numberText(realText(cell.value.f, regional), group, regional), 1);
    case FT_TEXT:
    case FT_TEXT2:
    case FT_SIZE: {
      const auto text = poolText(table.textPool, cell.value.i);
      if (!text) return put(dst, size, kNotAvailable, 0);
      return put(dst, size, *text, 1);
    }
    case FT_DATETIME:
      timeTextAt(table.timeTable, cell.value.i, regional, dst, size);
      return 1;
    case FT_BOOLEAN:
    case FT_FLAG:
      return put(dst, size, cell.value.i != 0 ? "TRUE" : "FALSE", 1);
    default:
      return put(dst, size, kNotAvailable, 0);
  }
}

int distinctValueText(const DataTable& table, int32_t field, int32_t entry, char* dst, size_t size,
                      const platform::RegionalSettings& regional) {
  const DataField* f = fieldAt(table, field);
  const DistinctValue* d = f ? distinctAt(*f, entry) : nullptr;
  if (d == nullptr) return put(dst, size, "", 0);
  if (d->flags & kDistinctEmpty) return put(dst, size, kEmpty, 1);
  switch (f->type) {
    case FT_INTEGER:
      return put(dst, size, integerText(d->value), 1);
    case FT_REAL:
      return put(dst, size, realText(d->fvalue, regional), 1);
    case FT_TEXT:
    case FT_TEXT2:
    case FT_DATETIME: {
      std::string text;
      if (!indexedText(table, f->type, d->value, regional, text)) return put(dst, size, "", 0);
      return put(dst, size, text, 1);
    }
    default:
      return put(dst, size, kNotAvailable, 1);
  }
}

int fieldRangeText(const DataTable& table, int32_t field, int32_t which, char* dst, size_t size,
                   const platform::RegionalSettings& regional) {
  const DataField* f = fieldAt(table, field);
  if (f == nullptr || !(f->flags & kFieldValid)) return put(dst, size, kNotAvailable, 0);
  const IntOrFloat* chosen = which == 1 ? &f->min : which == 2 ? &f->max : which == 3 ? &f->selectorLow
                            : which == 4 ? &f->selectorHigh : nullptr;
  switch (f->type) {
    case FT_INTEGER:
    case FT_SIZE:
      return put(dst, size, chosen ? integerText(chosen->i) : std::string(), 1);
    case FT_REAL:
      return put(dst, size, chosen ? realText(chosen->f, regional) : std::string(), 1);
    case FT_TEXT:
    case FT_TEXT2:
    case FT_DATETIME: {
      const int64_t count = f->distinctCount;
      const int64_t entry = which == 1 ? 0 : which == 2 ? count - 1 : chosen ? chosen->i : -1;
      const DistinctValue* d = distinctAt(*f, entry);
      std::string text;
      if (d == nullptr || (d->flags & kDistinctEmpty) || !indexedText(table, f->type, d->value, regional, text))
        return put(dst, size, kEmpty, 1);
      return put(dst, size, text, f->type == FT_DATETIME ? 1 : d->value);
    }
    case FT_BOOLEAN:
    case FT_FLAG:
      return put(dst, size, "", 1);
    default:
      return put(dst, size, kNotAvailable, 0);
  }
}

int labelText(const DataTable& table, int32_t field, float value, char* dst, size_t size,
              const platform::RegionalSettings& regional) {
  const DataField* f = fieldAt(table, field);
  if (f == nullptr) return put(dst, size, kNotAvailable, 0);
  switch (f->type) {
    case FT_INTEGER:
    case FT_SIZE:
      return put(dst, size, numberText(integerText(truncatedInt(value)), true, regional), 1);
    case FT_REAL:
      return put(dst, size, numberText(realText(value, regional), true, regional), 1);
    case FT_TEXT:
    case FT_TEXT2:
    case FT_DATETIME: {
      const DistinctValue* d = std::isfinite(value) ? distinctAt(*f, truncatedInt(value)) : nullptr;
      std::string text;
      if (d == nullptr || (d->flags & kDistinctEmpty) || !indexedText(table, f->type, d->value, regional, text))
        return put(dst, size, kEmpty, 1);
      return put(dst, size, text, 1);
    }
    case FT_BOOLEAN:
    case FT_FLAG:
      return put(dst, size, value != 0.0f ? "TRUE" : "FALSE", 1);
    default:
      return put(dst, size, kNotAvailable, 0);
  }
}

}  // namespace vlm

#include "data/cell_classify.h"

#include <string>

#include "data/char_tests.h"
#include "data/date_parse.h"
#include "data/separator_analysis.h"

namespace vlm {
namespace {

void raiseNumberFormat(DataField& field, const std::string& stripped) {
  if (field.numberFormatClass >= 3) return;
  const NumberFormatClass k = separatorAnalysis(stripped);
  if (k > field.numberFormatClass) field.numberFormatClass = k;
}

bool startsWithDash(const std::string& stripped) { return !stripped.empty() && stripped[0] == '-'; }

// An integer cell is stored from its stripped text; one beyond 32 bits must
// go to a real field instead of wrapping.
bool fitsInt32(const std::string& stripped) {
  int64_t value = 0;
  if (!scanInteger(stripped, value)) return true;
  return value >= INT32_MIN && value <= INT32_MAX;
}

uint8_t classifyReal(DataField& field, std::string_view text, const CellShape& shape) {
  const std::string stripped = stripToNumberChars(text);
  raiseNumberFormat(field, stripped);
  if (hasManyLetters(shape)) return AC_TEXT;
  if (!hasNoDigit(shape)) return AC_REAL;
  return startsWithDash(stripped) ? AC_REAL : AC_TEXT;
}

uint8_t classifyInteger(DataField& field, std::string_view text, const CellShape& shape) {
  const std::string stripped = stripToNumberChars(text);
  raiseNumberFormat(field, stripped);
  uint8_t result = AC_INTEGER;
  if (isDecimalShape(shape)) result = AC_REAL;
  if (isCurrencyShape(shape)) result = AC_REAL;
  if (hasManyLetters(shape) || hasTwoDashes(shape)) return AC_TEXT;
  if (isScientificShape(shape)) result = AC_REAL;
  if (hasNoDigit(shape) && !startsWithDash(stripped)) return AC_TEXT;
  if (shape.characters > 15) return AC_TEXT;
  if (result == AC_INTEGER && !fitsInt32(stripped)) result = AC_REAL;
  return result;
}

uint8_t classifyOpen(DataField& field, uint8_t current, std::string_view text, const CellShape& shape,
                     const platform::RegionalSettings& regional) {
  TimeEntry entry;
  const int32_t state = parseDateTime(text, field, regional, entry);
  if (state > 0) {
    if (state > field.dateOrderState) field.dateOrderState = state;
    return AC_DATETIME;
  }
  if (hasManyLetters(shape) || hasTwoDashes(shape)) return AC_TEXT;
  uint8_t result = current;
  if (scansAsInteger(text)) result = AC_INTEGER;
  if (isDecimalShape(shape) || isScientificShape(shape) || isCurrencyShape(shape)) result = AC_REAL;
  const std::string stripped = stripToNumberChars(text);
  if (hasNoDigit(shape) && !startsWithDash(stripped)) return AC_TEXT;
  if (shape.characters > 15) return AC_TEXT;
  raiseNumberFormat(field, stripped);
  if (result == AC_INTEGER && !fitsInt32(stripped)) result = AC_REAL;
  return result == AC_NONE ? static_cast<uint8_t>(AC_TEXT) : result;
}

}  // namespace

uint8_t classifyCell(DataField& field, std::string_view text, const platform::RegionalSettings& regional) {
  uint8_t current = field.analysisClass;
  if (current != AC_TEXT && current != AC_INTEGER && current != AC_REAL && current != AC_DATETIME) current = AC_NONE;
  if (text.empty()) return current;
  if (text == "-") return current == AC_NONE ? static_cast<uint8_t>(AC_INTEGER) : current;
  if (isMissingMarker(text)) return current;
  if (current == AC_TEXT) return AC_TEXT;
  const CellShape shape = cellShape(text);
  if (current == AC_REAL) return classifyReal(field, text, shape);
  if (current == AC_INTEGER) return classifyInteger(field, text, shape);
  return classifyOpen(field, current, text, shape, regional);
}

}  // namespace vlm

#include "data/cell_classify.h"

#include <string>

#include "data/char_tests.h"
#include "data/date_parse.h"
#include "data/number_cell.h"
#include "data/separator_analysis.h"

namespace vlm {
namespace {

void raiseNumberFormat(DataField& field, std::string_view stripped) {
  if (field.numberFormatClass >= 3) return;
  const NumberFormatClass k = separatorAnalysis(stripped);
  if (k > field.numberFormatClass) field.numberFormatClass = k;
}

bool startsWithDash(const std::string& stripped) { return !stripped.empty() && stripped[0] == '-'; }

// An integer beyond 32 bits must go to a real field instead of wrapping.
bool fitsInt32(std::string_view text, const DataField& field, const platform::RegionalSettings& regional) {
  int64_t value = 0;
  if (!parseIntegerCell(text, field.numberFormatClass, regional, value)) return true;
  return value >= INT32_MIN && value <= INT32_MAX;
}

// A cell that the shape tests take for a number stays one only when its text
// is one (see number_cell.h): "10:75" or "555-1234" would otherwise be read
// as the digits they hold. Such a cell makes the field text.
// (A cell without digits that the shape tests keep, such as "-x", is a
// missing value and stays so.)
uint8_t numberOrText(uint8_t result, std::string_view text, const CellShape& shape) {
  if (result != AC_INTEGER && result != AC_REAL) return result;
  if (hasNoDigit(shape)) return result;
  return numberKind(text) == NumberKind::None ? static_cast<uint8_t>(AC_TEXT) : result;
}

uint8_t classifyReal(DataField& field, std::string_view text, const CellShape& shape) {
  const std::string stripped = stripToNumberChars(text);
  raiseNumberFormat(field, stripped);
  if (hasManyLetters(shape)) return AC_TEXT;
  if (!hasNoDigit(shape)) return numberOrText(AC_REAL, text, shape);
  return startsWithDash(stripped) ? numberOrText(AC_REAL, text, shape) : static_cast<uint8_t>(AC_TEXT);
}

uint8_t classifyInteger(DataField& field, std::string_view text, const CellShape& shape,
                        const platform::RegionalSettings& regional) {
  const std::string stripped = stripToNumberChars(text);
  raiseNumberFormat(field, stripped);
  uint8_t result = AC_INTEGER;
  if (isDecimalShape(shape)) result = AC_REAL;
  if (isCurrencyShape(shape)) result = AC_REAL;
  if (hasManyLetters(shape) || hasTwoDashes(shape)) return AC_TEXT;
  if (isScientificShape(shape)) result = AC_REAL;
  if (hasNoDigit(shape) && !startsWithDash(stripped)) return AC_TEXT;
  if (shape.characters > 15) return AC_TEXT;
  result = numberOrText(result, text, shape);
  if (result == AC_INTEGER && !fitsInt32(text, field, regional)) result = AC_REAL;
  return result;
}

uint8_t classifyOpen(DataField& field, uint8_t current, std::string_view text,
                     const platform::RegionalSettings& regional) {
  TimeEntry entry;
  const int32_t state = parseDateTime(text, field, regional, entry);
  if (state > 0) {
    if (state > field.dateOrderState) field.dateOrderState = state;
    return AC_DATETIME;
  }
  // A date needs no shape: most cells of a date field end above.
  const CellShape shape = cellShape(text);
  if (hasManyLetters(shape) || hasTwoDashes(shape)) return AC_TEXT;
  uint8_t result = current;
  if (scansAsInteger(text)) result = AC_INTEGER;
  if (isDecimalShape(shape) || isScientificShape(shape) || isCurrencyShape(shape)) result = AC_REAL;
  const std::string stripped = stripToNumberChars(text);
  if (hasNoDigit(shape) && !startsWithDash(stripped)) return AC_TEXT;
  if (shape.characters > 15) return AC_TEXT;
  raiseNumberFormat(field, stripped);
  // A date field keeps its dates only while every other cell is missing: a
  // number or any other text with digits among dates makes the field text,
  // so that no date is read as a number ("1/5/2003" as 152003) and no such
  // cell is left without its value.
  if (current == AC_DATETIME && !hasNoDigit(shape)) return AC_TEXT;
  result = numberOrText(result, text, shape);
  if (result == AC_INTEGER && !fitsInt32(text, field, regional)) result = AC_REAL;
  return result == AC_NONE ? static_cast<uint8_t>(AC_TEXT) : result;
}

}  // namespace

uint8_t classifyCell(DataField& field, std::string_view text, const platform::RegionalSettings& regional) {
  // Text is final.
  if (field.analysisClass == AC_TEXT) return AC_TEXT;
  // Plain numbers in a number field, the commonest cells, keep the field as it
  // is (up to nine digits fit 32 bits); a real field learns their separator.
  if (field.analysisClass == AC_INTEGER || field.analysisClass == AC_REAL) {
    const PlainNumber p = plainNumber(text);
    if (p.plain && field.analysisClass == AC_INTEGER && p.point == std::string_view::npos && text.size() <= 9)
      return AC_INTEGER;
    if (p.plain && field.analysisClass == AC_REAL && text.size() <= 15) {
      // A plain number's separators are known without a look: none, or one
      // '.' that cannot group, which is a decimal separator.
      const NumberFormatClass k = p.point == std::string_view::npos ? 0 : 1;
      if (k > field.numberFormatClass) field.numberFormatClass = k;
      return AC_REAL;
    }
  }
  // An ISO date in a date field (or a field not typed yet) is a date when the
  // field's maxima let it be one; otherwise the full rules say what it is.
  if ((field.analysisClass == AC_DATETIME || field.analysisClass == AC_NONE) && hasIsoDateShape(text)) {
    TimeEntry entry;
    const int32_t state = parseDateTime(text, field, regional, entry);
    if (state > 0) {
      if (state > field.dateOrderState) field.dateOrderState = state;
      return AC_DATETIME;
    }
  }
  return classifyCellInFull(field, text, regional);
}

uint8_t classifyCellInFull(DataField& field, std::string_view text, const platform::RegionalSettings& regional) {
  uint8_t current = field.analysisClass;
  if (current != AC_TEXT && current != AC_INTEGER && current != AC_REAL && current != AC_DATETIME) current = AC_NONE;
  if (text.empty()) return current;
  if (text == "-") return current == AC_NONE ? static_cast<uint8_t>(AC_INTEGER) : current;
  if (isMissingMarker(text)) return current;
  if (current == AC_TEXT) return AC_TEXT;
  // Scientific notation is a number whatever the field held before: "1.5e-3"
  // is no date, and "1e-07" (no point) no integer.
  if (isScientificNumber(text)) return static_cast<uint8_t>(current == AC_DATETIME ? AC_TEXT : AC_REAL);
  if (current == AC_REAL) return classifyReal(field, text, cellShape(text));
  if (current == AC_INTEGER) return classifyInteger(field, text, cellShape(text), regional);
  return classifyOpen(field, current, text, regional);
}

}  // namespace vlm

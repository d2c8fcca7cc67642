#include "platform/workbook/cell_address.h"

#include <algorithm>
#include <cctype>

namespace vlm::platform::workbook {
namespace {

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// Digits at `pos` as a number no greater than `limit`; false when there are
// none or the number is 0 or too large.
bool readNumber(std::string_view text, size_t& pos, int32_t limit, int32_t& value) {
  const size_t start = pos;
  int64_t v = 0;
  while (pos < text.size() && isDigit(text[pos])) {
    v = v * 10 + (text[pos] - '0');
    if (v > limit) return false;
    ++pos;
  }
  if (pos == start || v < 1) return false;
  value = static_cast<int32_t>(v);
  return true;
}

// One side of an R1C1 reference: an optional row part and an optional column
// part (at least one). Missing parts stay 0.
bool parseR1C1Part(std::string_view text, ReferenceLetters letters, int32_t& row, int32_t& column) {
  row = column = 0;
  size_t pos = 0;
  const char r = upper(letters.row), c = upper(letters.column);
  if (pos < text.size() && upper(text[pos]) == r && pos + 1 < text.size() && isDigit(text[pos + 1])) {
    ++pos;
    if (!readNumber(text, pos, kSheetRows, row)) return false;
  }
  if (pos < text.size() && upper(text[pos]) == c && pos + 1 < text.size() && isDigit(text[pos + 1])) {
    ++pos;
    if (!readNumber(text, pos, kSheetColumns, column)) return false;
  }
  return pos == text.size() && (row != 0 || column != 0);
}

}  // namespace

std::optional<int32_t> columnFromLetters(std::string_view letters) {
  if (letters.empty() || letters.size() > 3) return std::nullopt;
  int32_t column = 0;
  for (char ch : letters) {
    if (!isLetter(ch)) return std::nullopt;
    column = column * 26 + (upper(ch) - 'A' + 1);
  }
  if (column > kSheetColumns) return std::nullopt;
  return column;
}

std::string columnLetters(int32_t column) {
  std::string out;
  while (column > 0) {
    const int32_t digit = (column - 1) % 26;
    out.insert(out.begin(), static_cast<char>('A' + digit));
    column = (column - 1) / 26;
  }
  return out;
}

bool parseA1Cell(std::string_view text, int32_t& row, int32_t& column) {
  size_t pos = 0;
  if (pos < text.size() && text[pos] == '$') ++pos;
  const size_t start = pos;
  while (pos < text.size() && isLetter(text[pos])) ++pos;
  const auto c = columnFromLetters(text.substr(start, pos - start));
  if (!c) return false;
  if (pos < text.size() && text[pos] == '$') ++pos;
  int32_t r = 0;
  if (!readNumber(text, pos, kSheetRows, r) || pos != text.size()) return false;
  row = r;
  column = *c;
  return true;
}

bool parseA1Area(std::string_view text, Area& area) {
  const size_t colon = text.find(':');
  int32_t r1 = 0, c1 = 0, r2 = 0, c2 = 0;
  if (!parseA1Cell(text.substr(0, colon), r1, c1)) return false;
  if (colon == std::string_view::npos) {
    r2 = r1;
    c2 = c1;
  } else if (!parseA1Cell(text.substr(colon + 1), r2, c2)) {
    return false;
  }
  area = {std::min(r1, r2), std::max(r1, r2), std::min(c1, c2), std::max(c1, c2)};
  return true;
}

std::vector<Area> parseA1Areas(std::string_view text) {
  std::vector<Area> out;
  size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    const size_t end = std::min(text.find(' ', pos), text.size());
    Area a;
    if (end > pos && parseA1Area(text.substr(pos, end - pos), a)) out.push_back(a);
    pos = end;
  }
  return out;
}

bool parseR1C1Area(std::string_view text, ReferenceLetters letters, Area& area) {
  const size_t colon = text.find(':');
  int32_t r1 = 0, c1 = 0, r2 = 0, c2 = 0;
  if (!parseR1C1Part(text.substr(0, colon), letters, r1, c1)) return false;
  if (colon == std::string_view::npos) {
    r2 = r1;
    c2 = c1;
  } else if (!parseR1C1Part(text.substr(colon + 1), letters, r2, c2)) {
    return false;
  }
  // Both sides name the same kind of part: rows with rows, columns with columns.
  if ((r1 == 0) != (r2 == 0) || (c1 == 0) != (c2 == 0)) return false;
  area.firstRow = r1 == 0 ? 1 : std::min(r1, r2);
  area.lastRow = r1 == 0 ? kSheetRows : std::max(r1, r2);
  area.firstColumn = c1 == 0 ? 1 : std::min(c1, c2);
  area.lastColumn = c1 == 0 ? kSheetColumns : std::max(c1, c2);
  return true;
}

std::string r1c1Text(const Area& a, ReferenceLetters letters) {
  const std::string r(1, letters.row), c(1, letters.column);
  auto span = [](const std::string& letter, int32_t first, int32_t last) {
    std::string out = letter + std::to_string(first);
    if (last != first) out += ":" + letter + std::to_string(last);
    return out;
  };
  if (wholeRows(a)) {
    if (wholeColumns(a)) return r + "1:" + r + std::to_string(kSheetRows);
    return span(r, a.firstRow, a.lastRow);
  }
  if (wholeColumns(a)) return span(c, a.firstColumn, a.lastColumn);
  std::string out = r + std::to_string(a.firstRow) + c + std::to_string(a.firstColumn);
  if (a.lastRow != a.firstRow || a.lastColumn != a.firstColumn)
    out += ":" + r + std::to_string(a.lastRow) + c + std::to_string(a.lastColumn);
  return out;
}

}  // namespace vlm::platform::workbook

#include "sources/excel/excel_areas.h"

#include <algorithm>
#include <cctype>
#include <new>

namespace vlm {
namespace {

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// One side of a reference: an optional row part, an optional column part.
bool parseCell(std::string_view text, ReferenceLetters letters, int32_t& row, int32_t& column) {
  row = column = 0;
  size_t pos = 0;
  auto number = [&](int32_t& out) {
    const size_t start = pos;
    int64_t v = 0;
    while (pos < text.size() && isDigit(text[pos])) {
      v = v * 10 + (text[pos] - '0');
      if (v > 0x7fffffff) return false;
      ++pos;
    }
    if (pos == start || v < 1) return false;
    out = static_cast<int32_t>(v);
    return true;
  };
  if (pos < text.size() && upper(text[pos]) == upper(letters.row)) {
    ++pos;
    if (!number(row)) return false;
  }
  if (pos < text.size() && upper(text[pos]) == upper(letters.column)) {
    ++pos;
    if (!number(column)) return false;
  }
  return pos == text.size() && pos > 0;
}

bool inside(const ExcelArea& a, const ExcelArea& outer) {
  return a.firstRow >= outer.firstRow && a.lastRow <= outer.lastRow && a.firstColumn >= outer.firstColumn &&
         a.lastColumn <= outer.lastColumn;
}

// Merges `a` into `into` when they share rows and touch horizontally, or
// share columns and touch vertically.
bool merge(ExcelArea& into, const ExcelArea& a) {
  if (a.firstRow == into.firstRow && a.lastRow == into.lastRow && int64_t{a.firstColumn} <= int64_t{into.lastColumn} + 1 &&
      int64_t{a.lastColumn} + 1 >= into.firstColumn) {
    into.firstColumn = std::min(into.firstColumn, a.firstColumn);
    into.lastColumn = std::max(into.lastColumn, a.lastColumn);
    return true;
  }
  if (a.firstColumn == into.firstColumn && a.lastColumn == into.lastColumn &&
      int64_t{a.firstRow} <= int64_t{into.lastRow} + 1 && int64_t{a.lastRow} + 1 >= into.firstRow) {
    into.firstRow = std::min(into.firstRow, a.firstRow);
    into.lastRow = std::max(into.lastRow, a.lastRow);
    return true;
  }
  return false;
}

}  // namespace

int32_t referenceStyle(ReferenceLetters letters) {
  const char r = upper(letters.row), c = upper(letters.column);
  if (r == 'R' && c == 'C') return 1;
  if (r == 'Z' && c == 'S') return 2;
  if (r == 'L' && c == 'C') return 4;
  if (r == 'R' && c == 'K') return 5;
  return 0;
}

bool parseSelectionAnswer(std::string_view text, SelectionAnswer& out) {
  // The answer may end with a line break or a NUL.
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == '\0' || text.back() == ' '))
    text.remove_suffix(1);
  out = {};
  size_t pos = 0;
  const bool wholeQuoted = !text.empty() && text[0] == '\'';
  if (wholeQuoted) ++pos;
  if (pos >= text.size() || text[pos] != '[') return false;
  const size_t close = text.find(']', pos);
  if (close == std::string_view::npos) return false;
  out.workbook = std::string(text.substr(pos + 1, close - pos - 1));
  pos = close + 1;
  const bool sheetQuoted = !wholeQuoted && pos < text.size() && text[pos] == '\'';
  if (sheetQuoted) ++pos;
  if (wholeQuoted || sheetQuoted) {
    // Up to the quote that is not doubled; then '!'.
    for (;;) {
      if (pos >= text.size()) return false;
      if (text[pos] == '\'') {
        if (pos + 1 < text.size() && text[pos + 1] == '\'') {
          out.sheet += '\'';
          pos += 2;
          continue;
        }
        ++pos;
        break;
      }
      out.sheet += text[pos++];
    }
    if (pos >= text.size() || text[pos] != '!') return false;
  } else {
    const size_t bang = text.find('!', pos);
    if (bang == std::string_view::npos) return false;
    out.sheet = std::string(text.substr(pos, bang - pos));
    pos = bang;
  }
  ++pos;
  while (pos <= text.size()) {
    const size_t end = std::min(text.find(';', pos), text.size());
    if (end > pos) out.areas.emplace_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return !out.workbook.empty() && !out.areas.empty();
}

ReferenceLetters detectLetters(const std::vector<std::string>& areas) {
  for (const std::string& a : areas) {
    ReferenceLetters found{0, 0};
    for (char ch : a) {
      if (!isLetter(ch)) continue;
      if (!found.row) {
        found.row = upper(ch);
      } else {
        found.column = upper(ch);
        break;
      }
    }
    if (found.row && found.column && referenceStyle(found) != 0) return found;
  }
  return {};
}

bool parseArea(std::string_view text, ReferenceLetters letters, ExcelArea& area) {
  const size_t colon = text.find(':');
  int32_t r1 = 0, c1 = 0, r2 = 0, c2 = 0;
  if (!parseCell(text.substr(0, colon), letters, r1, c1)) return false;
  if (colon == std::string_view::npos) {
    r2 = r1;
    c2 = c1;
  } else if (!parseCell(text.substr(colon + 1), letters, r2, c2)) {
    return false;
  }
  ExcelArea a;
  if (r1 || r2) {
    a.firstRow = std::min(r1 ? r1 : r2, r2 ? r2 : r1);
    a.lastRow = std::max(r1, r2);
  }
  if (c1 || c2) {
    a.firstColumn = std::min(c1 ? c1 : c2, c2 ? c2 : c1);
    a.lastColumn = std::max(c1, c2);
  }
  area = a;
  return true;
}

bool addArea(std::vector<ExcelArea>& list, const ExcelArea& area) {
  for (ExcelArea& e : list) {
    if (inside(area, e)) return true;
    if (merge(e, area)) return true;
  }
  try {
    // The list grows 32 entries at a time.
    if (list.size() == list.capacity()) list.reserve(list.size() + 32);
    list.push_back(area);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void normaliseAreas(std::vector<ExcelArea>& list) {
  bool changed = true;
  while (changed) {
    changed = false;
    for (size_t i = 0; i < list.size() && !changed; ++i) {
      for (size_t j = 0; j < list.size() && !changed; ++j) {
        if (i == j) continue;
        if (inside(list[j], list[i]) || merge(list[i], list[j])) {
          list.erase(list.begin() + static_cast<std::ptrdiff_t>(j));
          changed = true;
        }
      }
    }
  }
}

int64_t firstColumnRows(const std::vector<ExcelArea>& list) {
  if (list.empty()) return 0;
  int64_t rows = 0;
  for (const ExcelArea& a : list)
    if (a.firstColumn == list.front().firstColumn) rows += rowSpan(a);
  return rows;
}

std::vector<int32_t> fieldColumns(const std::vector<ExcelArea>& list, size_t limit) {
  std::vector<int32_t> columns;
  for (const ExcelArea& a : list) {
    for (int32_t c = a.firstColumn; c <= a.lastColumn && columns.size() < limit; ++c)
      if (std::find(columns.begin(), columns.end(), c) == columns.end()) columns.push_back(c);
  }
  return columns;
}

int32_t headerRow(const std::vector<ExcelArea>& list) {
  int32_t header = kExcelRows;
  for (const ExcelArea& a : list) header = std::min(header, a.firstRow);
  return list.empty() ? 1 : header;
}

std::vector<ColumnBand> columnBands(const std::vector<ExcelArea>& list, int32_t header) {
  std::vector<ColumnBand> bands;
  for (const ExcelArea& a : list) {
    auto band = std::find_if(bands.begin(), bands.end(), [&](const ColumnBand& b) { return b.firstColumn == a.firstColumn; });
    if (band == bands.end()) {
      bands.push_back({a.firstColumn, {}, {}});
      band = bands.end() - 1;
    }
    ExcelArea moved = a;
    if (moved.firstRow == header) ++moved.firstRow;
    if (moved.firstRow <= moved.lastRow) band->areas.push_back(moved);
  }
  std::sort(bands.begin(), bands.end(), [](const ColumnBand& x, const ColumnBand& y) { return x.firstColumn < y.firstColumn; });
  for (ColumnBand& b : bands) {
    std::stable_sort(b.areas.begin(), b.areas.end(),
                     [](const ExcelArea& x, const ExcelArea& y) { return x.firstRow < y.firstRow; });
    for (const ExcelArea& a : b.areas)
      for (int32_t r = a.firstRow; r <= a.lastRow && b.rows.size() < static_cast<size_t>(kExcelRows); ++r)
        b.rows.push_back(r);
  }
  return bands;
}

namespace {

bool cellEnds(std::string_view text, size_t pos) {
  return pos >= text.size() || text[pos] == '\t' || (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n');
}

// Where the quote opening the cell at `pos` is matched by one that ends the
// cell; npos when none is.
size_t matchingQuote(std::string_view text, size_t pos) {
  const char quote = text[pos];
  for (size_t i = pos + 1; i < text.size(); ++i) {
    if (text[i] != quote) continue;
    if (quote == '"' && i + 1 < text.size() && text[i + 1] == '"') {
      ++i;
      continue;
    }
    if (cellEnds(text, i + 1)) return i;
  }
  return std::string_view::npos;
}

}  // namespace

BandLine nextBandLine(std::string_view text, size_t& pos, std::vector<std::string>& cells, size_t maxLength) {
  cells.clear();
  if (pos >= text.size()) return BandLine::End;
  const size_t start = pos;
  std::string cell;
  for (;;) {
    if (pos - start > maxLength) return BandLine::TooLong;
    if (pos < text.size() && (text[pos] == '"' || text[pos] == '\'')) {
      const size_t close = matchingQuote(text, pos);
      if (close != std::string_view::npos) {
        if (close - start > maxLength) return BandLine::TooLong;
        const char quote = text[pos];
        for (size_t i = pos + 1; i < close; ++i) {
          cell += text[i];
          if (quote == '"' && text[i] == '"') ++i;  // a doubled quote
        }
        pos = close + 1;
      }
    }
    // The rest of the cell, up to a tab, CR LF or the end.
    while (!cellEnds(text, pos)) cell += text[pos++];
    cells.push_back(std::move(cell));
    cell.clear();
    if (pos - start > maxLength) return BandLine::TooLong;
    if (pos >= text.size()) return BandLine::Line;
    if (text[pos] == '\t') {
      ++pos;
      continue;
    }
    pos += 2;  // CR LF
    return BandLine::Line;
  }
}

}  // namespace vlm

#include "platform/workbook/sheet.h"

#include <algorithm>
#include <limits>

namespace vlm::platform::workbook {

bool validArea(const Area& a) {
  return a.firstRow >= 1 && a.firstRow <= a.lastRow && a.lastRow <= kSheetRows && a.firstColumn >= 1 &&
         a.firstColumn <= a.lastColumn && a.lastColumn <= kSheetColumns;
}

void appendCellText(std::string& out, std::string_view text) {
  const bool quote = !text.empty() && (text.front() == '"' || text.front() == '\'' ||
                                       text.find_first_of("\t\r\n") != std::string_view::npos);
  if (!quote) {
    out.append(text);
    return;
  }
  out.push_back('"');
  for (char c : text) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

size_t Sheet::lowerBound(int32_t row, int32_t column) const {
  auto it = std::lower_bound(cells_.begin(), cells_.end(), std::pair{row, column}, [](const Entry& e, const auto& key) {
    return e.row < key.first || (e.row == key.first && e.column < key.second);
  });
  return static_cast<size_t>(it - cells_.begin());
}

std::string_view Sheet::cell(int32_t row, int32_t column) const {
  const size_t i = lowerBound(row, column);
  if (i >= cells_.size() || cells_[i].row != row || cells_[i].column != column) return {};
  return std::string_view(text_).substr(cells_[i].offset, cells_[i].length);
}

bool Sheet::rangeText(const Area& area, std::string& out, const std::function<bool()>& stop) const {
  out.clear();
  const int32_t lastRow = std::min(area.lastRow, lastRow_);
  const int32_t lastColumn = std::min(area.lastColumn, lastColumn_);
  if (area.firstRow < 1 || area.firstColumn < 1 || area.firstRow > lastRow || area.firstColumn > lastColumn)
    return true;
  const std::string_view texts(text_);
  size_t i = lowerBound(area.firstRow, area.firstColumn);
  for (int32_t row = area.firstRow; row <= lastRow; ++row) {
    if (stop && (row & 4095) == 0 && stop()) return false;
    // Skip the cells left of the area in this row (and any of earlier rows).
    if (i < cells_.size() && (cells_[i].row < row || (cells_[i].row == row && cells_[i].column < area.firstColumn)))
      i = lowerBound(row, area.firstColumn);
    int32_t column = area.firstColumn;
    while (i < cells_.size() && cells_[i].row == row && cells_[i].column <= lastColumn) {
      out.append(static_cast<size_t>(cells_[i].column - column), '\t');
      column = cells_[i].column;
      appendCellText(out, texts.substr(cells_[i].offset, cells_[i].length));
      ++i;
    }
    out.append(static_cast<size_t>(lastColumn - column), '\t');
    out.append("\r\n");
  }
  return true;
}

bool Sheet::put(int32_t row, int32_t column, std::string_view text) {
  if (row < 1 || row > kSheetRows || column < 1 || column > kSheetColumns) return false;
  if (text.empty()) return true;
  if (text_.size() + text.size() > std::numeric_limits<uint32_t>::max()) return false;
  if (!cells_.empty()) {
    const Entry& last = cells_.back();
    if (row < last.row || (row == last.row && column <= last.column)) sorted_ = false;
  }
  cells_.push_back({row, column, static_cast<uint32_t>(text_.size()), static_cast<uint32_t>(text.size())});
  text_.append(text);
  return true;
}

void Sheet::finish() {
  if (!sorted_) {
    std::stable_sort(cells_.begin(), cells_.end(), [](const Entry& a, const Entry& b) {
      return a.row < b.row || (a.row == b.row && a.column < b.column);
    });
    // A cell put twice keeps the text put last.
    std::vector<Entry> kept;
    kept.reserve(cells_.size());
    for (const Entry& e : cells_) {
      if (!kept.empty() && kept.back().row == e.row && kept.back().column == e.column)
        kept.back() = e;
      else
        kept.push_back(e);
    }
    cells_ = std::move(kept);
    sorted_ = true;
  }
  cells_.shrink_to_fit();
  lastRow_ = cells_.empty() ? 0 : cells_.back().row;
  lastColumn_ = 0;
  for (const Entry& e : cells_) lastColumn_ = std::max(lastColumn_, e.column);
}

}  // namespace vlm::platform::workbook

#pragma once
// One worksheet of an open workbook: the texts of its non-empty cells, as the
// sheet shows them, and the selection saved with it.
//
// Cells are kept sparse, sorted by row and then column, with their texts back
// to back in one buffer, so a sheet costs what its filled cells cost however
// far apart they lie.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vlm::platform::workbook {

// The size of a worksheet: a whole column runs over every row, a whole row
// over every column.
constexpr int32_t kSheetRows = 1048576;
constexpr int32_t kSheetColumns = 16384;

// A rectangle of cells, 1-based and inclusive.
struct Area {
  int32_t firstRow = 1;
  int32_t lastRow = 1;
  int32_t firstColumn = 1;
  int32_t lastColumn = 1;
  bool operator==(const Area&) const = default;
};

inline Area cellArea(int32_t row, int32_t column) { return {row, row, column, column}; }
inline bool wholeColumns(const Area& a) { return a.firstRow == 1 && a.lastRow == kSheetRows; }
inline bool wholeRows(const Area& a) { return a.firstColumn == 1 && a.lastColumn == kSheetColumns; }
// Inside the sheet, first before last.
bool validArea(const Area& a);

class Sheet {
 public:
  std::string name;
  // The selection saved with the sheet (areas in the order they were
  // selected), and the active cell. Empty: the active cell alone.
  std::vector<Area> selection;
  int32_t activeRow = 1;
  int32_t activeColumn = 1;

  // The last row and column holding a cell (0 on an empty sheet).
  int32_t lastRow() const { return lastRow_; }
  int32_t lastColumn() const { return lastColumn_; }
  size_t cellCount() const { return cells_.size(); }
  size_t textBytes() const { return text_.size(); }

  // The cell's text; empty for an empty cell or one outside the sheet.
  std::string_view cell(int32_t row, int32_t column) const;

  // The cells of `area` that lie within the used part of the sheet
  // (rows up to lastRow(), columns up to lastColumn()): one line a row, cells
  // separated by tabs, every line ended by CR LF. A cell holding a tab or a
  // line break, or beginning with a quote, is written in double quotes with
  // its double quotes doubled. Empty when the area lies outside the used part.
  // `stop` (may be empty) is asked now and then whether to give up; then the
  // result is false.
  bool rangeText(const Area& area, std::string& out, const std::function<bool()>& stop = {}) const;

  // Building (readers only): cells may come in any order; a cell put twice
  // keeps its last text; empty texts are not kept. finish() sorts them.
  // False (nothing kept) for a cell outside the sheet or past 4 GiB of text.
  bool put(int32_t row, int32_t column, std::string_view text);
  void finish();

 private:
  struct Entry {
    int32_t row;
    int32_t column;
    uint32_t offset;
    uint32_t length;
  };
  size_t lowerBound(int32_t row, int32_t column) const;

  std::vector<Entry> cells_;
  std::string text_;
  int32_t lastRow_ = 0;
  int32_t lastColumn_ = 0;
  bool sorted_ = true;
};

// How a cell's text is written in a range answer (see Sheet::rangeText).
void appendCellText(std::string& out, std::string_view text);

}  // namespace vlm::platform::workbook

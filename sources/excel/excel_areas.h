#pragma once
// The spreadsheet's selection as the loader reads it: the "Selection" answer
// ("[Book.xlsx]Sheet1!R1C1:R11C3;R1C5"), the reference letters of the
// application's language, the list of selected areas with its merging, and
// the column bands and rows the load takes from them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vlm {

// A whole column runs over these rows, a whole row over these columns.
constexpr int32_t kExcelRows = 65536;
constexpr int32_t kExcelColumns = 256;

// A rectangle of cells, 1-based and inclusive.
struct ExcelArea {
  int32_t firstRow = 1;
  int32_t lastRow = kExcelRows;
  int32_t firstColumn = 1;
  int32_t lastColumn = kExcelColumns;
  bool operator==(const ExcelArea&) const = default;
};

inline int64_t rowSpan(const ExcelArea& a) { return a.lastRow >= a.firstRow ? int64_t{a.lastRow} - a.firstRow + 1 : 0; }

// The row and column letters the application writes R1C1 references with.
struct ReferenceLetters {
  char row = 'R';
  char column = 'C';
  bool operator==(const ReferenceLetters&) const = default;
};

// The style code of a recognised pair (R/C 1, Z/S 2, L/C 4, R/K 5), else 0.
int32_t referenceStyle(ReferenceLetters letters);

struct SelectionAnswer {
  std::string workbook;            // inside the brackets
  std::string sheet;               // without quotes
  std::vector<std::string> areas;  // the references after '!', as written
};

// Reads a "Selection" answer: the workbook in brackets, the sheet (possibly
// in single quotes, the whole prefix too), '!', areas separated by ';'.
bool parseSelectionAnswer(std::string_view text, SelectionAnswer& out);

// The letters of the areas: the first two letters met in an area are the
// row and the column letter; the first area with a recognised pair decides,
// and without one the letters are R and C.
ReferenceLetters detectLetters(const std::vector<std::string>& areas);

// An area reference in the given letters (either case): the row letter and
// its number, the column letter and its number, for the first cell and,
// after ':', the last. Parts left out cover the whole sheet. False when it
// holds anything else.
bool parseArea(std::string_view text, ReferenceLetters letters, ExcelArea& area);

// Adds an area to the list: one inside an existing area adds nothing; one
// with the same rows that touches or overlaps an area horizontally extends
// it, likewise one with the same columns vertically. False when the list
// cannot grow (the area is not added).
bool addArea(std::vector<ExcelArea>& list, const ExcelArea& area);
// Repeats those merges and drops contained areas until nothing changes.
void normaliseAreas(std::vector<ExcelArea>& list);

// The rows of the areas that start in the first area's column, added up.
int64_t firstColumnRows(const std::vector<ExcelArea>& list);

// The distinct columns of all areas in the order met, at most `limit`.
std::vector<int32_t> fieldColumns(const std::vector<ExcelArea>& list, size_t limit);

// The smallest first row of all areas: the row of the field names.
int32_t headerRow(const std::vector<ExcelArea>& list);

// A column band: the areas that start in one column, by their first row.
struct ColumnBand {
  int32_t firstColumn = 0;
  std::vector<ExcelArea> areas;
  // The source rows of its lines (the header row left out), in order.
  std::vector<int32_t> rows;
};
// The bands in increasing order of their first column; each area's first
// row moves down by one when it is the header row.
std::vector<ColumnBand> columnBands(const std::vector<ExcelArea>& list, int32_t header);

// Reads one line of a band's text (lines end with CR LF, cells are separated
// by tabs). A cell beginning with a double or single quote whose matching
// quote ends the cell is quoted: tabs and line breaks inside stay in it, and
// a doubled double quote inside double quotes stands for one. Any other
// quote is an ordinary character. `pos` moves past the line.
enum class BandLine { Line, End, TooLong };
BandLine nextBandLine(std::string_view text, size_t& pos, std::vector<std::string>& cells, size_t maxLength);

}  // namespace vlm

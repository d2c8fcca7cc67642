#pragma once
// Cell addresses: the A1 references of the workbook files ("B12",
// "A1:C11 E2") and the R1C1 references of the conversations, written with the
// row and column letters of the application's language ("R1C1:R11C3",
// "Z1S1", "L2C3").
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/workbook/sheet.h"

namespace vlm::platform::workbook {

struct ReferenceLetters {
  char row = 'R';
  char column = 'C';
  bool operator==(const ReferenceLetters&) const = default;
};

// "A" is 1, "Z" 26, "AA" 27; nothing past the sheet's last column.
std::optional<int32_t> columnFromLetters(std::string_view letters);
std::string columnLetters(int32_t column);

// "B12" (an optional '$' before either part) as row 12, column 2.
bool parseA1Cell(std::string_view text, int32_t& row, int32_t& column);
// "B12", "A1:C11", or a list of them separated by blanks (a saved selection).
bool parseA1Area(std::string_view text, Area& area);
std::vector<Area> parseA1Areas(std::string_view text);

// An R1C1 reference in the given letters (either case): a cell ("R2C3"), a
// range of cells ("R1C1:R11C3"), whole rows ("R3", "R1:R11") or whole
// columns ("C2", "C1:C3"). The row or column a part leaves out runs over the
// whole sheet. False for anything else, or a number outside the sheet.
bool parseR1C1Area(std::string_view text, ReferenceLetters letters, Area& area);

// The reference of an area as the application writes it: a cell, a range,
// whole rows or whole columns (the whole sheet as rows 1 to the last).
std::string r1c1Text(const Area& area, ReferenceLetters letters);

}  // namespace vlm::platform::workbook

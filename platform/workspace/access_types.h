#pragma once
// How the database workspace writes what its engines hold in the terms of
// the conversation: Access field type codes, and records as one line of
// tab-separated cells.
#include <cstdint>
#include <string>

#include "platform/database/database.h"

namespace vlm::platform::workspace {

// The Access field type code of a column kind: 1 Yes/No, 2 Byte, 3 Integer,
// 4 Long, 5 Currency, 6 Single, 7 Double, 8 Date/Time, 10 Text, 11 OLE
// object, 12 Memo. Access has no 64-bit integer among these: such columns go
// as Long, and the loader widens them when a value does not fit.
int32_t accessTypeCode(db::ColumnKind kind);

// Appends the current row of `cursor` as one record: cells separated by tabs,
// NULL as an empty cell. Tabs, line breaks and NUL characters inside a cell
// become blanks, so that a record keeps one cell per field.
void appendRecord(db::Cursor& cursor, std::string& out);

}  // namespace vlm::platform::workspace

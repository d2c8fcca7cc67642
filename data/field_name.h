#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/data_table.h"

namespace vlm {

// Stores a header cell as the field's name: an empty name becomes
// "(Column%i)" with the 1-based column number, and a name longer than 1027
// bytes is cut at a UTF-8 character boundary.
void setFieldName(DataField& field, std::string_view name, int32_t columnNumber);

// Copies the field's name into dst (size bytes; the API's buffers hold 1024,
// so a longer name is cut to 1023 bytes at a character boundary) and returns
// the copied length plus one. A field outside the table copies the empty text.
int copyFieldName(const DataTable& table, int32_t field, char* dst, size_t size);

}  // namespace vlm

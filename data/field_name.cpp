#include "data/field_name.h"

#include <cstdio>
#include <cstring>

#include "data/text_buffer.h"
#include "data/utf8.h"

namespace vlm {

void setFieldName(DataField& field, std::string_view name, int32_t columnNumber) {
  if (name.empty()) {
    std::snprintf(field.name, sizeof field.name, "(Column%i)", static_cast<int>(columnNumber));
    return;
  }
  const size_t length = utf8::cutLength(name, sizeof field.name - 1);
  std::memcpy(field.name, name.data(), length);
  field.name[length] = '\0';
}

int copyFieldName(const DataTable& table, int32_t field, char* dst, size_t size) {
  std::string_view name;
  if (field >= 0 && static_cast<size_t>(field) < table.fields.size())
    name = std::string_view(table.fields[static_cast<size_t>(field)].name);
  return static_cast<int>(writeText(dst, size, name)) + 1;
}

}  // namespace vlm

#include "platform/workspace/access_types.h"

namespace vlm::platform::workspace {

int32_t accessTypeCode(db::ColumnKind kind) {
  using K = db::ColumnKind;
  switch (kind) {
    case K::Boolean: return 1;
    case K::Byte: return 2;
    case K::SmallInteger: return 3;
    case K::Integer: return 4;
    case K::BigInteger: return 4;
    case K::Currency: return 5;
    case K::Single: return 6;
    case K::Double: return 7;
    case K::DateTime: return 8;
    case K::Text: return 10;
    case K::Binary: return 11;
    case K::Memo: return 12;
    case K::Unknown: return 10;
  }
  return 10;
}

void appendRecord(db::Cursor& cursor, std::string& out) {
  if (std::string_view made; cursor.record(made)) {
    out.append(made);
    return;
  }
  const int n = cursor.columnCount();
  for (int c = 0; c < n; ++c) {
    if (c > 0) out.push_back('\t');
    std::string_view text;
    if (!cursor.cell(c, text)) continue;
    const size_t start = out.size();
    out.append(text);
    for (size_t i = start; i < out.size(); ++i) {
      const char ch = out[i];
      if (ch == '\t' || ch == '\r' || ch == '\n' || ch == '\0') out[i] = ' ';
    }
  }
}

}  // namespace vlm::platform::workspace

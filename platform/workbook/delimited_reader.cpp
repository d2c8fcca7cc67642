// Delimited text as a one-sheet workbook named after its file: lines end at
// LF, CR LF or CR; a field in double quotes may hold delimiters, line breaks
// and doubled quotes. Text that is no UTF-8 is read as Latin-1.
#include <QString>
#include <QStringDecoder>

#include "platform/workbook/workbook_file.h"

namespace vlm::platform::workbook {
namespace {

std::string sheetNameOf(const std::string& fileName) {
  const size_t dot = fileName.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

// ';' for a comma-separated file whose first line has semicolons and no
// commas (what a spreadsheet writes where the comma is the decimal mark).
char effectiveDelimiter(std::string_view text, char delimiter) {
  if (delimiter != ',') return delimiter;
  const std::string_view first = text.substr(0, text.find_first_of("\r\n"));
  if (first.find(',') == std::string_view::npos && first.find(';') != std::string_view::npos) return ';';
  return delimiter;
}

}  // namespace

bool readDelimited(std::string_view bytes, char delimiter, ReadBudget& budget, Workbook& out, std::string& error) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  std::string converted;
  {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError()) {
      const QByteArray utf8 = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())).toUtf8();
      converted.assign(utf8.constData(), static_cast<size_t>(utf8.size()));
      bytes = converted;
    }
  }
  const char sep = effectiveDelimiter(bytes, delimiter);
  Sheet& sheet = out.sheets.emplace_back();
  sheet.name = sheetNameOf(out.name);
  int64_t row = 1, column = 1;
  std::string cell;
  size_t i = 0;
  const size_t n = bytes.size();
  auto store = [&]() {
    if (!cell.empty() && row <= kSheetRows && column <= kSheetColumns) {
      if (!budget.keepCell(cell.size())) {
        error = budget.why();
        return false;
      }
      if (!sheet.put(static_cast<int32_t>(row), static_cast<int32_t>(column), cell)) {
        error = "its texts are too large";
        return false;
      }
    }
    cell.clear();
    return true;
  };
  while (i < n) {
    if (bytes[i] == '"' && cell.empty()) {
      // A quoted field, up to its closing quote (or the end of the text).
      ++i;
      while (i < n) {
        if (bytes[i] == '"') {
          if (i + 1 < n && bytes[i + 1] == '"') {
            cell.push_back('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        cell.push_back(bytes[i++]);
      }
      continue;
    }
    const char c = bytes[i];
    if (c == sep) {
      if (!store()) return false;
      ++column;
      ++i;
    } else if (c == '\r' || c == '\n') {
      if (!store()) return false;
      ++row;
      column = 1;
      i += (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ? 2 : 1;
    } else {
      cell.push_back(c);
      ++i;
    }
  }
  return store();
}

}  // namespace vlm::platform::workbook

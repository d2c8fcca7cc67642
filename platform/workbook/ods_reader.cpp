// OpenDocument spreadsheets: the cells come from content.xml (rows and
// cells may repeat), the active sheet and its cursor from settings.xml.
// The format saves no range selection, so a sheet's selection is its cursor.
#include <charconv>
#include <map>

#include "platform/workbook/number_format.h"
#include "platform/workbook/workbook_file.h"
#include "platform/workbook/xml_part.h"

namespace vlm::platform::workbook {
namespace {

constexpr QStringView kOffice = u"urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr QStringView kTable = u"urn:oasis:names:tc:opendocument:xmlns:table:1.0";
constexpr QStringView kText = u"urn:oasis:names:tc:opendocument:xmlns:text:1.0";
constexpr QStringView kConfig = u"urn:oasis:names:tc:opendocument:xmlns:config:1.0";

bool inNamespace(XmlPart& xml, QStringView uri) { return xml.reader().namespaceUri() == uri; }

int64_t repeatCount(QStringView text) {
  bool ok = false;
  const qlonglong n = text.toLongLong(&ok);
  return ok && n > 0 ? n : 1;
}

// A run of equal cells in a row: `count` cells from `column` on.
struct CellRun {
  int64_t column;
  int64_t count;
  std::string text;
};

// The shown text of a cell: its paragraphs joined by line breaks, with the
// spaces, tabs and breaks written as elements; annotations left out.
bool readShownText(XmlPart& xml, std::string& out, std::string& error) {
  QString text;
  bool firstParagraph = true;
  int depth = 1;
  while (depth > 0) {
    const auto t = xml.next();
    switch (t) {
      case QXmlStreamReader::StartElement:
        if (xml.reader().name() == u"annotation" || (xml.reader().name() == u"table" && inNamespace(xml, kTable))) {
          if (!xml.skipElement()) {
            error = xml.error();
            return false;
          }
          break;
        }
        ++depth;
        if (inNamespace(xml, kText)) {
          const QStringView name = xml.reader().name();
          if (name == u"p" || name == u"h") {
            if (!firstParagraph) text += u'\n';
            firstParagraph = false;
          } else if (name == u"s") {
            const int64_t n = std::min<int64_t>(repeatCount(xml.attribute(kText, u"c")), kMaxCellText);
            text += QString(static_cast<qsizetype>(n), u' ');
          } else if (name == u"tab") {
            text += u'\t';
          } else if (name == u"line-break") {
            text += u'\n';
          }
        }
        break;
      case QXmlStreamReader::EndElement: --depth; break;
      case QXmlStreamReader::Characters: text += xml.reader().text(); break;
      case QXmlStreamReader::EndDocument:
      case QXmlStreamReader::Invalid:
        error = xml.error().empty() ? std::string("its XML ends inside a cell") : xml.error();
        return false;
      default: break;
    }
    if (text.size() > kMaxCellText) {
      error = "a cell holds more than " + std::to_string(kMaxCellText) + " characters";
      return false;
    }
  }
  out = utf8(text);
  return true;
}

// Reads a cell element (the current token) to its end: its text, as shown,
// except that numbers keep every digit stored.
bool readCell(XmlPart& xml, std::string& out, std::string& error) {
  const QStringView type = xml.attribute(kOffice, u"value-type");
  const bool number = type == u"float" || type == u"percentage" || type == u"currency";
  const std::string value = utf8(xml.attribute(kOffice, u"value"));
  if (xml.reader().isEndElement()) return true;
  if (!readShownText(xml, out, error)) return false;
  if (number) {
    double v = 0;
    const auto r = std::from_chars(value.data(), value.data() + value.size(), v);
    if (r.ec == std::errc() && r.ptr == value.data() + value.size()) out = numberText(v);
  }
  return true;
}

bool putRow(const std::vector<CellRun>& runs, int64_t row, int64_t rowCount, ReadBudget& budget, Sheet& sheet,
            std::string& error) {
  for (int64_t r = row; r < row + rowCount && r <= kSheetRows; ++r) {
    for (const CellRun& run : runs) {
      for (int64_t c = run.column; c < run.column + run.count && c <= kSheetColumns; ++c) {
        if (!budget.keepCell(run.text.size())) {
          error = budget.why();
          return false;
        }
        if (!sheet.put(static_cast<int32_t>(r), static_cast<int32_t>(c), run.text)) {
          error = "its texts are too large";
          return false;
        }
      }
    }
  }
  return true;
}

bool readContent(ZipArchive& zip, ReadBudget& budget, Workbook& out, std::string& error) {
  auto stream = zip.openPart("content.xml", budget, error);
  if (!stream) {
    if (error.empty()) error = "it has no content part";
    return false;
  }
  XmlPart xml(std::move(stream));
  Sheet* sheet = nullptr;
  int64_t row = 1, column = 1, rowRepeat = 1;
  std::vector<CellRun> runs;
  return xml.forEach(error, [&](QXmlStreamReader::TokenType t) {
    if (!inNamespace(xml, kTable)) return true;
    const QStringView name = xml.reader().name();
    if (t == QXmlStreamReader::StartElement && name == u"table") {
      if (out.sheets.size() >= budget.limits().sheets) {
        error = "it has more than " + std::to_string(budget.limits().sheets) + " sheets";
        return false;
      }
      sheet = &out.sheets.emplace_back();
      sheet->name = utf8(xml.attribute(kTable, u"name"));
      row = 1;
    } else if (t == QXmlStreamReader::EndElement && name == u"table") {
      sheet = nullptr;
    } else if (!sheet) {
      return true;
    } else if (t == QXmlStreamReader::StartElement && name == u"table-row") {
      rowRepeat = repeatCount(xml.attribute(kTable, u"number-rows-repeated"));
      column = 1;
      runs.clear();
    } else if (t == QXmlStreamReader::EndElement && name == u"table-row") {
      if (!runs.empty() && !putRow(runs, row, rowRepeat, budget, *sheet, error)) return false;
      row = std::min<int64_t>(row + rowRepeat, int64_t{kSheetRows} + 1);
    } else if (t == QXmlStreamReader::StartElement && (name == u"table-cell" || name == u"covered-table-cell")) {
      const int64_t count = repeatCount(xml.attribute(kTable, u"number-columns-repeated"));
      std::string text;
      if (!readCell(xml, text, error)) return false;
      if (!text.empty() && column <= kSheetColumns && row <= kSheetRows) runs.push_back({column, count, std::move(text)});
      column = std::min<int64_t>(column + count, int64_t{kSheetColumns} + 1);
    }
    return true;
  });
}

// The active sheet's name and each sheet's cursor (0-based) from the view settings.
struct ViewSettings {
  std::string activeTable;
  std::map<std::string, std::pair<int64_t, int64_t>> cursors;  // column, row
};

bool readSettings(ZipArchive& zip, ReadBudget& budget, ViewSettings& out, std::string& error) {
  const auto text = zip.readPart("settings.xml", budget, error);
  if (!text) return error.empty();
  XmlPart xml(*text);
  int depth = 0, tablesDepth = -1;
  std::string table;
  QString value;
  return xml.forEach(error, [&](QXmlStreamReader::TokenType t) {
    if (t == QXmlStreamReader::EndElement) {
      if (--depth < tablesDepth) tablesDepth = -1;
      return true;
    }
    if (t != QXmlStreamReader::StartElement) return true;
    ++depth;
    if (!inNamespace(xml, kConfig)) return true;
    const QStringView name = xml.reader().name();
    const QStringView configName = xml.attribute(kConfig, u"name");
    if (name == u"config-item-map-named" && configName == u"Tables") {
      tablesDepth = depth;
    } else if (name == u"config-item-map-entry" && tablesDepth >= 0 && depth == tablesDepth + 1) {
      table = utf8(configName);
    } else if (name == u"config-item") {
      const bool cursorX = configName == u"CursorPositionX", cursorY = configName == u"CursorPositionY";
      const bool active = configName == u"ActiveTable";
      if (!cursorX && !cursorY && !active) return true;
      if (!xml.readText(value)) {
        error = xml.error();
        return false;
      }
      --depth;
      if (active && tablesDepth < 0) {
        out.activeTable = utf8(value);
      } else if (tablesDepth >= 0 && !table.empty()) {
        auto& cursor = out.cursors[table];
        (cursorX ? cursor.first : cursor.second) = value.toLongLong();
      }
    }
    return true;
  });
}

}  // namespace

bool readOds(std::string_view bytes, ReadBudget& budget, Workbook& out, std::string& error) {
  auto zip = ZipArchive::open(bytes, error);
  if (!zip) return false;
  if (!readContent(*zip, budget, out, error)) return false;
  ViewSettings settings;
  if (!readSettings(*zip, budget, settings, error)) return false;
  for (size_t i = 0; i < out.sheets.size(); ++i) {
    Sheet& sheet = out.sheets[i];
    if (sheet.name == settings.activeTable) out.activeSheet = static_cast<int32_t>(i);
    const auto cursor = settings.cursors.find(sheet.name);
    if (cursor == settings.cursors.end()) continue;
    const int64_t column = cursor->second.first + 1, row = cursor->second.second + 1;
    if (column < 1 || column > kSheetColumns || row < 1 || row > kSheetRows) continue;
    sheet.activeRow = static_cast<int32_t>(row);
    sheet.activeColumn = static_cast<int32_t>(column);
    sheet.selection = {cellArea(sheet.activeRow, sheet.activeColumn)};
  }
  return true;
}

}  // namespace vlm::platform::workbook

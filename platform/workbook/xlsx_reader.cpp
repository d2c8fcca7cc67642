// Office Open XML workbooks: the package's relations lead to the workbook
// part, which names the sheets and the active one; shared texts and number
// formats come from their own parts; each sheet part is read as a stream.
#include <charconv>
#include <map>
#include <unordered_map>

#include "platform/workbook/cell_address.h"
#include "platform/workbook/number_format.h"
#include "platform/workbook/workbook_file.h"
#include "platform/workbook/xml_part.h"

namespace vlm::platform::workbook {
namespace {

struct Relation {
  std::string target;  // a part name inside the archive
  std::string type;
};

// The folder of a part name, with its '/' ("xl/" for "xl/workbook.xml").
std::string folderOf(const std::string& part) {
  const size_t slash = part.find_last_of('/');
  return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// A relation's target as a part name: absolute targets start at the
// archive's root, others at the folder of the part they belong to.
std::string resolveTarget(const std::string& folder, std::string_view target) {
  std::string path = !target.empty() && target.front() == '/' ? std::string(target.substr(1)) : folder + std::string(target);
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos <= path.size()) {
    const size_t end = std::min(path.find('/', pos), path.size());
    const std::string piece = path.substr(pos, end - pos);
    if (piece == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!piece.empty() && piece != ".") {
      parts.push_back(piece);
    }
    pos = end + 1;
  }
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : "/") + p;
  return out;
}

bool endsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// The relations of `part` by their id; empty when it has none.
bool readRelations(ZipArchive& zip, const std::string& part, ReadBudget& budget,
                   std::unordered_map<std::string, Relation>& out, std::string& error) {
  const std::string folder = folderOf(part);
  const std::string name = folder + "_rels/" + part.substr(folder.size()) + ".rels";
  const auto text = zip.readPart(name, budget, error);
  if (!text) return error.empty();
  XmlPart xml(*text);
  return xml.forEach(error, [&](QXmlStreamReader::TokenType) {
    if (xml.isStart(u"Relationship")) {
      if (xml.attribute(u"TargetMode") == u"External") return true;
      out[utf8(xml.attribute(u"Id"))] = {resolveTarget(folder, utf8(xml.attribute(u"Target"))),
                                         utf8(xml.attribute(u"Type"))};
    }
    return true;
  });
}

const Relation* relationOfType(const std::unordered_map<std::string, Relation>& relations, std::string_view type) {
  for (const auto& [id, r] : relations)
    if (endsWith(r.type, type)) return &r;
  return nullptr;
}

struct SheetEntry {
  std::string name;
  std::string part;
};

struct WorkbookPart {
  std::vector<SheetEntry> sheets;
  int32_t activeTab = 0;
  bool date1904 = false;
};

bool readWorkbookPart(ZipArchive& zip, const std::string& part,
                      const std::unordered_map<std::string, Relation>& relations, ReadBudget& budget,
                      WorkbookPart& out, std::string& error) {
  const auto text = zip.readPart(part, budget, error);
  if (!text) {
    if (error.empty()) error = "its workbook part " + part + " is missing";
    return false;
  }
  XmlPart xml(*text);
  return xml.forEach(error, [&](QXmlStreamReader::TokenType t) {
    if (t != QXmlStreamReader::StartElement) return true;
    if (xml.isStart(u"workbookPr")) {
      const QStringView v = xml.attribute(u"date1904");
      out.date1904 = v == u"1" || v == u"true";
    } else if (xml.isStart(u"workbookView")) {
      bool ok = false;
      const int tab = xml.attribute(u"activeTab").toInt(&ok);
      if (ok && tab >= 0) out.activeTab = tab;
    } else if (xml.isStart(u"sheet")) {
      const auto r = relations.find(utf8(xml.attribute(u"id")));
      // A chart sheet or a sheet without a part holds no cells to read.
      if (r == relations.end() || !endsWith(r->second.type, "/worksheet")) return true;
      out.sheets.push_back({utf8(xml.attribute(u"name")), r->second.target});
    }
    return true;
  });
}

// The texts a cell of type "s" refers to: each item's runs, without its
// phonetic guide.
bool readSharedStrings(ZipArchive& zip, const std::string& part, ReadBudget& budget, std::vector<std::string>& out,
                       std::string& error) {
  auto stream = zip.openPart(part, budget, error);
  if (!stream) return error.empty();
  XmlPart xml(std::move(stream));
  std::string item;
  QString piece;
  return xml.forEach(error, [&](QXmlStreamReader::TokenType) {
    if (xml.isStart(u"si")) {
      item.clear();
    } else if (xml.isStart(u"rPh")) {
      if (!xml.skipElement()) {
        error = xml.error();
        return false;
      }
    } else if (xml.isStart(u"t")) {
      if (!xml.readText(piece)) {
        error = xml.error();
        return false;
      }
      item += utf8(piece);
    } else if (xml.isEnd(u"si")) {
      if (!budget.keepText(item.size() + sizeof(std::string))) {
        error = budget.why();
        return false;
      }
      out.push_back(std::move(item));
      item.clear();
    }
    return true;
  });
}

// For each cell style, the date format it shows numbers with (empty: none).
bool readDateStyles(ZipArchive& zip, const std::string& part, ReadBudget& budget, std::vector<std::string>& out,
                    std::string& error) {
  const auto text = zip.readPart(part, budget, error);
  if (!text) return error.empty();
  XmlPart xml(*text);
  std::map<int, std::string> formats;
  bool inCellStyles = false;
  return xml.forEach(error, [&](QXmlStreamReader::TokenType) {
    if (xml.isStart(u"numFmt")) {
      bool ok = false;
      const int id = xml.attribute(u"numFmtId").toInt(&ok);
      if (ok) formats[id] = utf8(xml.attribute(u"formatCode"));
    } else if (xml.isStart(u"cellXfs")) {
      inCellStyles = true;
    } else if (xml.isEnd(u"cellXfs")) {
      inCellStyles = false;
    } else if (inCellStyles && xml.isStart(u"xf")) {
      if (out.size() >= 65536) return true;
      bool ok = false;
      const int id = xml.attribute(u"numFmtId").toInt(&ok);
      std::string code;
      if (ok) {
        const auto custom = formats.find(id);
        code = custom != formats.end() ? custom->second : std::string(builtinFormat(id));
      }
      out.push_back(isDateFormat(code) ? code : std::string());
    }
    return true;
  });
}

struct SheetContext {
  const std::vector<std::string>& sharedStrings;
  const std::vector<std::string>& dateStyles;
  bool date1904 = false;
};

std::string cellText(std::string_view type, std::string_view value, int style, const SheetContext& context) {
  if (type == "s") {
    size_t index = 0;
    const auto r = std::from_chars(value.data(), value.data() + value.size(), index);
    if (r.ec != std::errc() || index >= context.sharedStrings.size()) return {};
    return context.sharedStrings[index];
  }
  if (type == "b") return value == "1" || value == "true" ? "TRUE" : "FALSE";
  if (type == "str" || type == "inlineStr" || type == "e" || type == "d") return std::string(value);
  double number = 0;
  const auto r = std::from_chars(value.data(), value.data() + value.size(), number);
  if (r.ec != std::errc() || r.ptr != value.data() + value.size()) return std::string(value);
  if (style >= 0 && static_cast<size_t>(style) < context.dateStyles.size() &&
      !context.dateStyles[static_cast<size_t>(style)].empty()) {
    std::string date = dateText(number, context.dateStyles[static_cast<size_t>(style)], context.date1904);
    if (!date.empty()) return date;
  }
  return numberText(number);
}

struct SavedSelection {
  std::string pane;
  std::string activeCell;
  std::string sqref;
};

// Reads one cell's element (the current token) to its end.
bool readCell(XmlPart& xml, const SheetContext& context, int32_t& row, int32_t& column, ReadBudget& budget,
              Sheet& sheet, std::string& error) {
  const std::string reference = utf8(xml.attribute(u"r"));
  const std::string type = utf8(xml.attribute(u"t"));
  bool styleOk = false;
  const int style = xml.attribute(u"s").toInt(&styleOk);
  if (reference.empty() || !parseA1Cell(reference, row, column)) ++column;
  QString value;
  bool hasValue = false;
  for (;;) {
    const auto t = xml.next();
    if (t == QXmlStreamReader::Invalid || t == QXmlStreamReader::EndDocument) {
      error = xml.error().empty() ? std::string("its XML ends inside a cell") : xml.error();
      return false;
    }
    if (xml.isEnd(u"c")) break;
    if (xml.isStart(u"v") || xml.isStart(u"is")) {
      if (!xml.readText(value)) {
        error = xml.error();
        return false;
      }
      hasValue = true;
    } else if (t == QXmlStreamReader::StartElement) {
      if (!xml.skipElement()) {
        error = xml.error();
        return false;
      }
    }
  }
  if (!hasValue || row < 1 || row > kSheetRows || column < 1 || column > kSheetColumns) return true;
  const std::string text = cellText(type, utf8(value), styleOk ? style : -1, context);
  if (text.empty()) return true;
  if (!budget.keepCell(text.size())) {
    error = budget.why();
    return false;
  }
  if (!sheet.put(row, column, text)) {
    error = "its texts are too large";
    return false;
  }
  return true;
}

bool readSheetPart(ZipArchive& zip, const SheetEntry& entry, const SheetContext& context, ReadBudget& budget,
                   Sheet& sheet, std::string& error) {
  auto stream = zip.openPart(entry.part, budget, error);
  if (!stream) {
    if (error.empty()) error = "its sheet part " + entry.part + " is missing";
    return false;
  }
  XmlPart xml(std::move(stream));
  std::vector<SavedSelection> selections;
  std::string activePane;
  bool firstView = true, inView = false;
  int32_t row = 0, column = 0;
  const bool read = xml.forEach(error, [&](QXmlStreamReader::TokenType t) {
    if (t == QXmlStreamReader::EndElement) {
      if (xml.isEnd(u"sheetView")) {
        inView = false;
        firstView = false;
      }
      return true;
    }
    if (t != QXmlStreamReader::StartElement) return true;
    if (xml.isStart(u"sheetView")) {
      inView = firstView;
    } else if (inView && xml.isStart(u"pane")) {
      activePane = utf8(xml.attribute(u"activePane"));
    } else if (inView && xml.isStart(u"selection")) {
      selections.push_back(
          {utf8(xml.attribute(u"pane")), utf8(xml.attribute(u"activeCell")), utf8(xml.attribute(u"sqref"))});
    } else if (xml.isStart(u"row")) {
      bool ok = false;
      const int r = xml.attribute(u"r").toInt(&ok);
      row = ok ? r : row + 1;
      column = 0;
    } else if (xml.isStart(u"c")) {
      return readCell(xml, context, row, column, budget, sheet, error);
    }
    return true;
  });
  if (!read) return false;
  // The selection of the pane that has the focus (the only one when the
  // sheet is not split).
  const SavedSelection* chosen = nullptr;
  for (const SavedSelection& s : selections) {
    const std::string pane = s.pane.empty() ? "topLeft" : s.pane;
    if (pane == (activePane.empty() ? "topLeft" : activePane)) chosen = &s;
  }
  if (!chosen && !selections.empty()) chosen = &selections.back();
  if (chosen) {
    int32_t r = 1, c = 1;
    if (parseA1Cell(chosen->activeCell, r, c)) {
      sheet.activeRow = r;
      sheet.activeColumn = c;
    }
    sheet.selection = parseA1Areas(chosen->sqref);
    if (sheet.selection.empty() && !chosen->activeCell.empty()) sheet.selection.push_back(cellArea(r, c));
  }
  return true;
}

}  // namespace

bool readXlsx(std::string_view bytes, ReadBudget& budget, Workbook& out, std::string& error) {
  auto zip = ZipArchive::open(bytes, error);
  if (!zip) return false;
  std::unordered_map<std::string, Relation> packageRelations;
  if (!readRelations(*zip, "", budget, packageRelations, error)) return false;
  const Relation* document = relationOfType(packageRelations, "/officeDocument");
  const std::string workbookPart = document ? document->target : "xl/workbook.xml";
  std::unordered_map<std::string, Relation> relations;
  if (!readRelations(*zip, workbookPart, budget, relations, error)) return false;
  WorkbookPart book;
  if (!readWorkbookPart(*zip, workbookPart, relations, budget, book, error)) return false;
  if (book.sheets.size() > budget.limits().sheets) {
    error = "it has more than " + std::to_string(budget.limits().sheets) + " sheets";
    return false;
  }
  std::vector<std::string> sharedStrings, dateStyles;
  if (const Relation* r = relationOfType(relations, "/sharedStrings"))
    if (!readSharedStrings(*zip, r->target, budget, sharedStrings, error)) return false;
  if (const Relation* r = relationOfType(relations, "/styles"))
    if (!readDateStyles(*zip, r->target, budget, dateStyles, error)) return false;
  const SheetContext context{sharedStrings, dateStyles, book.date1904};
  out.sheets.reserve(book.sheets.size());
  for (const SheetEntry& entry : book.sheets) {
    Sheet& sheet = out.sheets.emplace_back();
    sheet.name = entry.name;
    if (!readSheetPart(*zip, entry, context, budget, sheet, error)) return false;
  }
  out.activeSheet = book.activeTab < static_cast<int32_t>(out.sheets.size()) ? book.activeTab : 0;
  return true;
}

}  // namespace vlm::platform::workbook

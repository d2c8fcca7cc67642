#include "sources/excel/excel_loader.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <vector>

#include "data/cell_classify.h"
#include "data/cell_store.h"
#include "data/char_tests.h"
#include "data/field_analysis.h"
#include "data/field_name.h"
#include "data/table_growth.h"
#include "data/table_text_reader.h"
#include "engine/engine_state.h"
#include "model/association_ops.h"
#include "platform/dde/conversation.h"
#include "platform/report.h"
#include "sources/excel/excel_session.h"
#include "sources/load_finish.h"
#include "sources/progress.h"
#include "sources/sampling_decision.h"
#include "sources/source_record.h"

namespace vlm {
namespace {

using platform::dde::Conversation;

constexpr uint8_t kCellFromSource = 0x04;  // bit 2: the cell came from the source
constexpr uint8_t kCellEdited = 0x08;      // bit 3

std::string sheetTopic(const std::string& workbook, const std::string& sheet) {
  return "[" + workbook + "]" + sheet;
}

std::string cellItem(ReferenceLetters l, int32_t row, int32_t column) {
  return l.row + std::to_string(row) + l.column + std::to_string(column);
}

std::string rangeItem(ReferenceLetters l, const ExcelArea& a) {
  return cellItem(l, a.firstRow, a.firstColumn) + ":" + cellItem(l, a.lastRow, a.lastColumn);
}

std::string_view trimName(std::string_view text) {
  const char* blanks = " \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

int32_t lineCount(const std::string& text) {
  if (text.empty()) return 0;
  int32_t lines = 0;
  size_t pos = 0;
  while ((pos = text.find("\r\n", pos)) != std::string::npos) {
    ++lines;
    pos += 2;
  }
  const bool lastEnded = text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
  return lastEnded ? lines : lines + 1;
}

int32_t firstLineCells(const std::string& text) {
  if (text.empty()) return 0;
  const std::string_view line = std::string_view(text).substr(0, text.find("\r\n"));
  return static_cast<int32_t>(std::count(line.begin(), line.end(), '\t')) + 1;
}

bool isNumberName(std::string_view name) {
  const CellShape shape = cellShape(name);
  return isDecimalShape(shape) || isScientificShape(shape);
}

// What the conversations told about the selection.
struct SelectionRead {
  SelectionAnswer answer;
  std::vector<ExcelArea> areas;
  std::vector<int32_t> columns;  // one field each
  int32_t header = 1;
  std::vector<ColumnBand> bands;
  size_t tallest = 0;            // the band with the most lines
  int32_t rowsToLoad = 0;
  std::vector<std::string> names;
};

// Steps 3 to 5 of reading the selection: the areas, whole rows and columns
// sized to the sheet's used part, the fields and the bands.
bool readAreas(EngineState& state, Conversation& sheet, SelectionRead& read) {
  ExcelSession& session = excelSession(state);
  if (!session.lettersKnown) {
    session.letters = detectLetters(read.answer.areas);
    session.lettersKnown = true;
    state.main->settings.excelRow = static_cast<unsigned char>(session.letters.row);
    state.main->settings.excelCol = static_cast<unsigned char>(session.letters.column);
  }
  const ReferenceLetters l = session.letters;
  for (const std::string& text : read.answer.areas) {
    ExcelArea a;
    if (!parseArea(text, l, a)) continue;
    if (!addArea(read.areas, a)) platform::reportError(kExcelAreasFull);
  }
  normaliseAreas(read.areas);
  // A single row (or nothing) selected stands for the whole sheet.
  if (firstColumnRows(read.areas) < 2) {
    read.areas = {ExcelArea{}};
    session.selectionIsRange = 0;
  } else {
    session.selectionIsRange = 1;
  }
  std::string answer;
  for (ExcelArea& a : read.areas) {
    if (a.firstRow == 1 && a.lastRow == kExcelRows) {
      answer.clear();
      sheet.request(rangeItem(l, {1, kExcelRows, 1, 1}), answer);
      a.lastRow = lineCount(answer);
    }
    if (a.firstColumn == 1 && a.lastColumn == kExcelColumns) {
      answer.clear();
      sheet.request(rangeItem(l, {1, 1, 1, kExcelColumns}), answer);
      a.lastColumn = firstLineCells(answer);
    }
  }
  std::erase_if(read.areas, [](const ExcelArea& a) { return a.lastRow < a.firstRow || a.lastColumn < a.firstColumn; });
  session.areas = read.areas;
  read.columns = fieldColumns(read.areas, kMaxFields);
  read.header = headerRow(read.areas);
  read.bands = columnBands(read.areas, read.header);
  // The tallest band gives the rows to load and the row ids.
  for (size_t b = 0; b < read.bands.size(); ++b)
    if (read.bands[b].rows.size() > read.bands[read.tallest].rows.size()) read.tallest = b;
  read.rowsToLoad = read.bands.empty() ? 0 : static_cast<int32_t>(read.bands[read.tallest].rows.size());
  return true;
}

// Field names from the header row; false when one of them is a number.
bool readFieldNames(Conversation& sheet, ReferenceLetters l, SelectionRead& read) {
  std::string answer;
  for (int32_t column : read.columns) {
    answer.clear();
    sheet.request(cellItem(l, read.header, column), answer);
    read.names.emplace_back(trimName(answer));
  }
  for (const std::string& name : read.names)
    if (isNumberName(name)) return false;
  return true;
}

void setFields(DataTable& table, const SelectionRead& read) {
  table.fieldCount = static_cast<int32_t>(read.columns.size());
  for (size_t f = 0; f < read.columns.size(); ++f) {
    DataField& field = table.fields[f];
    setFieldName(field, read.names[f], static_cast<int32_t>(f + 1));
    field.sourceColumn = read.columns[f];
    field.flags |= kFieldValid;
    field.analysisClass = AC_NONE;
    field.numberFormatClass = 0;
    field.dateOrderState = 0;
    std::fill(std::begin(field.dateComponentMax), std::end(field.dateComponentMax), 0);
  }
}

// One band's text and which of its lines the load keeps, in order.
struct BandText {
  std::string text;
  std::vector<int32_t> fieldOfColumn;  // by column - band.firstColumn; -1 for none
};

}  // namespace

int32_t askExcelForSelection() {
  Conversation system = Conversation::connect(kExcelService, "System");
  std::string answer;
  if (!system || !system.request("Status", answer) || trimName(answer) != "Ready") return kExcelUnreachable;
  answer.clear();
  SelectionAnswer selection;
  if (!system.request("Selection", answer) || !parseSelectionAnswer(answer, selection)) return kExcelNoData;
  return kExcelLoaded;
}

int32_t connectExcel(EngineState& state, bool load) {
  MainRecord& m = *state.main;
  DataTable& table = *state.data;
  // A failed connection leaves no source; a selection without field names
  // stays the workbook's, to be corrected there.
  auto fail = [&](int32_t result, const std::string& name, const std::string& selection) {
    platform::DataLockGuard guard(m.dataLock);
    table.rowCount = 0;
    table.fieldCount = 0;
    table.sourceName = name;
    table.excelSelection = selection;
    table.sourceKind = result == kExcelNoHeader ? DSK_EXCEL : DSK_NONE;
    publishSource(state);
    return result;
  };
  {
    platform::DataLockGuard guard(m.dataLock);
    table.rowCount = 0;
    table.serverQuery.clear();
    table.sourceName.clear();
    table.excelSelection.clear();
  }
  Conversation system = Conversation::connect(kExcelService, "System");
  if (!system) return fail(kExcelUnreachable, "No Data", {});
  std::string answer;
  if (!system.request("Status", answer)) return fail(kExcelUnreachable, "No Data", {});
  if (trimName(answer) != "Ready") return fail(kExcelUnreachable, "No Data", {});

  SelectionRead read;
  answer.clear();
  if (!system.request("Selection", answer) || !parseSelectionAnswer(answer, read.answer))
    return fail(kExcelNoData, kExcelNoFile, {});
  system.disconnect();
  Conversation sheet = Conversation::connect(kExcelService, sheetTopic(read.answer.workbook, read.answer.sheet));
  {
    platform::DataLockGuard guard(m.dataLock);
    table.sourceKind = DSK_EXCEL;
    table.sourceName = read.answer.workbook;
    table.excelSelection = read.answer.sheet;
    publishSource(state);
  }
  if (!sheet) return fail(kExcelNoData, read.answer.workbook, read.answer.sheet);
  readAreas(state, sheet, read);
  const ReferenceLetters l = excelSession(state).letters;
  if (read.columns.empty()) return fail(kExcelNoHeader, read.answer.workbook, read.answer.sheet);

  SamplingPlan plan;
  if (load && !decideSampling(state, read.rowsToLoad, plan))
    return fail(kExcelCancelled, read.answer.workbook, read.answer.sheet);
  if (!readFieldNames(sheet, l, read)) return fail(kExcelNoHeader, read.answer.workbook, read.answer.sheet);
  if (!load) {
    platform::DataLockGuard guard(m.dataLock);
    setFields(table, read);
    return kExcelLoaded;
  }

  // The lines the load keeps, and each one's source row.
  const ColumnBand& tallest = read.bands[read.tallest];
  std::vector<int32_t> keptLines;
  for (int32_t line = nextSourceRow(plan, -1); line != kSamplingEnd && line < read.rowsToLoad;
       line = nextSourceRow(plan, line))
    keptLines.push_back(line);
  if (keptLines.empty()) return fail(kExcelNoData, read.answer.workbook, read.answer.sheet);

  HostProgress progress(state);
  std::vector<BandText> texts(read.bands.size());
  progress.begin(" loading", 0, 1000);
  try {
    for (size_t b = 0; b < read.bands.size(); ++b) {
      const ColumnBand& band = read.bands[b];
      int32_t widest = band.firstColumn;
      for (const ExcelArea& a : band.areas) {
        if (m.abortFlag) break;
        answer.clear();
        sheet.request(rangeItem(l, a), answer);
        texts[b].text += answer;
        // An answer that does not end its last line still ends it here.
        if (!answer.empty() && answer.compare(answer.size() - std::min<size_t>(2, answer.size()), 2, "\r\n") != 0)
          texts[b].text += "\r\n";
        // Lines of a short answer: the area's rows past the sheet's used part.
        for (int64_t missing = rowSpan(a) - lineCount(answer); missing > 0; --missing) texts[b].text += "\r\n";
        widest = std::max(widest, a.lastColumn);
      }
      texts[b].fieldOfColumn.assign(static_cast<size_t>(widest - band.firstColumn + 1), -1);
      for (size_t f = 0; f < read.columns.size(); ++f) {
        const int64_t offset = int64_t{read.columns[f]} - band.firstColumn;
        if (offset >= 0 && offset < static_cast<int64_t>(texts[b].fieldOfColumn.size()))
          texts[b].fieldOfColumn[static_cast<size_t>(offset)] = static_cast<int32_t>(f);
      }
      progress.step(static_cast<int64_t>((b + 1) * 1000 / read.bands.size()));
    }
  } catch (const std::bad_alloc&) {
    progress.end();
    platform::reportError(kExcelNoBuffer);
    return fail(kExcelNoData, read.answer.workbook, read.answer.sheet);
  }
  progress.end();
  sheet.disconnect();
  if (m.abortFlag) return fail(kExcelCancelled, read.answer.workbook, read.answer.sheet);

  const int32_t rows = static_cast<int32_t>(keptLines.size());
  platform::DataLockGuard guard(m.dataLock);
  setFields(table, read);
  if (!growRows(table, rows)) {
    table.fieldCount = 0;
    table.sourceKind = DSK_NONE;
    publishSource(state);
    return kExcelCancelled;
  }
  for (int32_t f = 0; f < table.fieldCount; ++f)
    for (Cell& c : table.fields[static_cast<size_t>(f)].cells) c.flags &= static_cast<uint8_t>(~(kCellPresent | kCellEdited));

  // Which band line becomes which sample: line i of every band is source row
  // i of the tallest band's rows.
  std::vector<int32_t> sampleOfLine(static_cast<size_t>(read.rowsToLoad), -1);
  for (size_t s = 0; s < keptLines.size(); ++s) {
    sampleOfLine[static_cast<size_t>(keptLines[s])] = static_cast<int32_t>(s);
    table.rowIds[s] = tallest.rows[static_cast<size_t>(keptLines[s])];
  }

  std::vector<std::string> cells;
  bool badFormat = false;
  // The analysis pass types every field, the loading pass stores the cells.
  for (int pass = 0; pass < 2 && !badFormat && !m.abortFlag; ++pass) {
    progress.begin(pass == 0 ? " analyzing" : " loading", 0, 1000);
    for (size_t b = 0; b < texts.size() && !badFormat; ++b) {
      const BandText& band = texts[b];
      size_t pos = 0;
      for (int32_t line = 0; line < read.rowsToLoad; ++line) {
        if (m.abortFlag) break;
        const BandLine status = nextBandLine(band.text, pos, cells, kMaxLineLength);
        if (status == BandLine::End) break;
        if (status == BandLine::TooLong) {
          badFormat = true;
          break;
        }
        const int32_t sample = sampleOfLine[static_cast<size_t>(line)];
        if (sample < 0) continue;
        const size_t n = std::min(cells.size(), band.fieldOfColumn.size());
        for (size_t c = 0; c < n; ++c) {
          const int32_t f = band.fieldOfColumn[c];
          if (f < 0 || cells[c].empty()) continue;
          DataField& field = table.fields[static_cast<size_t>(f)];
          if (pass == 0) {
            field.analysisClass = classifyCell(field, cells[c], m.regional);
          } else {
            const int stored = storeCell(table, f, sample, cells[c], m.regional);
            Cell& cell = field.cells[static_cast<size_t>(sample)];
            cell.flags = static_cast<uint8_t>((cell.flags & ~(kCellPresent | kCellEdited)) | kCellFromSource |
                                              (stored ? kCellPresent : 0));
          }
        }
        if ((line & 1023) == 0) progress.step(int64_t{line} * 1000 / std::max(read.rowsToLoad, 1));
      }
    }
    if (pass == 0)
      for (int32_t f = 0; f < table.fieldCount; ++f) applyAnalysisClass(table.fields[static_cast<size_t>(f)]);
    progress.end();
  }
  if (badFormat || m.abortFlag) {
    if (badFormat) platform::reportError(kExcelBadFormat);
    table.rowCount = 0;
    table.fieldCount = 0;
    table.sourceKind = DSK_NONE;
    publishSource(state);
    return badFormat ? kExcelNoData : kExcelCancelled;
  }
  table.rowCount = rows;
  table.sourceRowCount = read.rowsToLoad;
  // A model made for another workbook or sheet does not stay.
  ModelRecord& model = *state.model;
  if (model.sourceName != table.sourceName || model.sourceSelection != table.excelSelection) {
    ModelContext ctx = modelContext(state);
    deleteAllAssociationsLocked(ctx);
  }
  finishLoadLocked(state, progress);
  publishSource(state);
  return rows > 0 ? kExcelLoaded : kExcelNoData;
}

}  // namespace vlm

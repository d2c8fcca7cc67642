#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "common/workbook_files.h"
#include "platform/workbook/workbook_file.h"

namespace vlm::platform::workbook {
namespace {

using test::odsBytes;
using test::xlsxBytes;

std::unique_ptr<Workbook> read(const std::string& bytes, WorkbookFormat format, std::string& error,
                               const ReadLimits& limits = {}) {
  return readWorkbookBytes(bytes, format, "/data/Book.bin", limits, error);
}

std::string range(const Sheet& sheet, const Area& area) {
  std::string out;
  EXPECT_TRUE(sheet.rangeText(area, out));
  return out;
}

TEST(XlsxReader, ReadsTextsNumbersBooleansDatesAndTheSavedSelection) {
  const std::string styles =
      "<numFmts><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy\"/></numFmts>"
      "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"14\"/><xf numFmtId=\"2\"/></cellXfs>";
  const std::string body =
      "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\">"
      "<selection activeCell=\"B2\" sqref=\"A1:C11 E2\"/></sheetView></sheetViews><sheetData>"
      "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
      "<c r=\"C1\" t=\"inlineStr\"><is><t>in</t><t>line</t></is></c></row>"
      "<row r=\"2\"><c r=\"A2\"><v>0.10000000000000001</v></c><c r=\"B2\" s=\"1\"><v>45000</v></c>"
      "<c r=\"C2\" t=\"b\"><v>1</v></c><c r=\"D2\" s=\"2\"><v>45000.5</v></c><c r=\"E2\" s=\"3\"><v>2.5</v></c></row>"
      "<row r=\"4\"><c t=\"str\"><f>A1</f><v>formula</v></c><c t=\"e\"><v>#N/A</v></c><c><v>-1E+20</v></c></row>"
      "</sheetData>";
  std::string error;
  auto book = read(xlsxBytes({{"Sheet1", body}}, {"Name", "Wert \"x\""}, styles), WorkbookFormat::Xlsx, error);
  ASSERT_TRUE(book) << error;
  ASSERT_EQ(book->sheets.size(), 1u);
  const Sheet& s = book->sheets[0];
  EXPECT_EQ(s.name, "Sheet1");
  EXPECT_EQ(s.cell(1, 1), "Name");
  EXPECT_EQ(s.cell(1, 2), "Wert \"x\"");
  EXPECT_EQ(s.cell(1, 3), "inline");
  EXPECT_EQ(s.cell(2, 1), "0.1");
  EXPECT_EQ(s.cell(2, 2), "15/03/2023");
  EXPECT_EQ(s.cell(2, 3), "TRUE");
  EXPECT_EQ(s.cell(2, 4), "2023-03-15");
  // A fixed-decimals format still shows the number as it is stored.
  EXPECT_EQ(s.cell(2, 5), "2.5");
  // Cells without a reference follow the one before them.
  EXPECT_EQ(s.cell(4, 1), "formula");
  EXPECT_EQ(s.cell(4, 2), "#N/A");
  EXPECT_EQ(s.cell(4, 3), "-1e+20");
  EXPECT_EQ(s.selection, (std::vector<Area>{{1, 11, 1, 3}, {2, 2, 5, 5}}));
  EXPECT_EQ(s.activeRow, 2);
  EXPECT_EQ(s.activeColumn, 2);
}

TEST(XlsxReader, TakesTheActiveSheetAndThePaneWithTheFocus) {
  const std::string split =
      "<sheetViews><sheetView workbookViewId=\"0\"><pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" "
      "state=\"frozen\"/><selection pane=\"topLeft\" activeCell=\"A1\" sqref=\"A1\"/>"
      "<selection pane=\"bottomLeft\" activeCell=\"B3\" sqref=\"B3:C4\"/></sheetView></sheetViews>"
      "<sheetData><row r=\"3\"><c r=\"B3\"><v>7</v></c></row></sheetData>";
  std::string error;
  auto book = read(xlsxBytes({{"First", "<sheetData/>"}, {"Zweite Tabelle", split}}, {}, {}, 1), WorkbookFormat::Xlsx,
                   error);
  ASSERT_TRUE(book) << error;
  EXPECT_EQ(book->activeSheet, 1);
  const Sheet& s = book->sheets[1];
  EXPECT_EQ(s.name, "Zweite Tabelle");
  EXPECT_EQ(s.selection, (std::vector<Area>{{3, 4, 2, 3}}));
  EXPECT_EQ(book->sheets[0].lastRow(), 0);
  EXPECT_TRUE(book->sheets[0].selection.empty());
}

TEST(XlsxReader, ReadsWhatLibxlsxwriterWrites) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("Sales.xlsx").toStdString();
  ASSERT_TRUE(test::writeXlsx(path, "Data", {{"Region", "Units", "Price"}, {"North", "12", "1.5"}, {"South", "", "0.25"}},
                              "A1:C3"));
  std::string error;
  auto book = readWorkbookFile(path, {}, error);
  ASSERT_TRUE(book) << error;
  EXPECT_EQ(book->name, "Sales.xlsx");
  EXPECT_EQ(book->path, path);
  const Sheet& s = book->sheets[0];
  EXPECT_EQ(s.selection, (std::vector<Area>{{1, 3, 1, 3}}));
  EXPECT_EQ(range(s, {1, 3, 1, 3}), "Region\tUnits\tPrice\r\nNorth\t12\t1.5\r\nSouth\t\t0.25\r\n");
}

TEST(OdsReader, ReadsRepeatedRowsAndCellsParagraphsAndTheCursor) {
  const std::string tables =
      "<table:table table:name=\"Erste\"><table:table-column table:number-columns-repeated=\"3\"/>"
      "<table:table-row><table:table-cell office:value-type=\"string\"><text:p>Name</text:p></table:table-cell>"
      "<table:table-cell table:number-columns-repeated=\"2\"/>"
      "<table:table-cell office:value-type=\"float\" office:value=\"0.333333333333333314829616256247\">"
      "<text:p>0.33</text:p></table:table-cell></table:table-row>"
      "<table:table-row table:number-rows-repeated=\"2\"><table:table-cell office:value-type=\"string\" "
      "table:number-columns-repeated=\"2\"><text:p>a<text:s text:c=\"2\"/>b</text:p><text:p>c<text:tab/>d</text:p>"
      "<office:annotation><text:p>a note</text:p></office:annotation></table:table-cell></table:table-row>"
      "<table:table-row table:number-rows-repeated=\"1048570\"><table:table-cell "
      "table:number-columns-repeated=\"16384\"/></table:table-row>"
      "</table:table><table:table table:name=\"Zweite\"><table:table-row><table:table-cell "
      "office:value-type=\"date\" office:date-value=\"2023-03-15\"><text:p>15.03.23</text:p></table:table-cell>"
      "<table:covered-table-cell office:value-type=\"boolean\" office:boolean-value=\"true\"><text:p>TRUE</text:p>"
      "</table:covered-table-cell></table:table-row></table:table>";
  const std::string settings =
      "<config:config-item config:name=\"ActiveTable\" config:type=\"string\">Zweite</config:config-item>"
      "<config:config-item-map-named config:name=\"Tables\"><config:config-item-map-entry config:name=\"Zweite\">"
      "<config:config-item config:name=\"CursorPositionX\" config:type=\"int\">1</config:config-item>"
      "<config:config-item config:name=\"CursorPositionY\" config:type=\"int\">4</config:config-item>"
      "</config:config-item-map-entry></config:config-item-map-named>";
  std::string error;
  auto book = read(odsBytes(tables, settings), WorkbookFormat::Ods, error);
  ASSERT_TRUE(book) << error;
  ASSERT_EQ(book->sheets.size(), 2u);
  const Sheet& first = book->sheets[0];
  EXPECT_EQ(first.cell(1, 1), "Name");
  EXPECT_EQ(first.cell(1, 4), "0.333333333333333");
  EXPECT_EQ(first.cell(2, 1), "a  b\nc\td");
  EXPECT_EQ(first.cell(3, 2), "a  b\nc\td");
  EXPECT_EQ(first.lastRow(), 3);
  EXPECT_EQ(first.lastColumn(), 4);
  EXPECT_TRUE(first.selection.empty());
  EXPECT_EQ(book->activeSheet, 1);
  const Sheet& second = book->sheets[1];
  EXPECT_EQ(second.cell(1, 1), "15.03.23");
  EXPECT_EQ(second.cell(1, 2), "TRUE");
  EXPECT_EQ(second.selection, (std::vector<Area>{{5, 5, 2, 2}}));
}

TEST(DelimitedReader, ReadsQuotedFieldsLineEndsAndOtherCharacterSets) {
  std::string error;
  auto book = readWorkbookBytes("\xEF\xBB\xBFname,note\r\n\"Smith, J\",\"said \"\"hi\"\"\nthen\"\rx,\n,last",
                                WorkbookFormat::Csv, "/tmp/people.csv", {}, error);
  ASSERT_TRUE(book) << error;
  const Sheet& s = book->sheets[0];
  EXPECT_EQ(s.name, "people");
  EXPECT_EQ(s.cell(1, 1), "name");
  EXPECT_EQ(s.cell(2, 1), "Smith, J");
  EXPECT_EQ(s.cell(2, 2), "said \"hi\"\nthen");
  EXPECT_EQ(s.cell(3, 1), "x");
  EXPECT_EQ(s.cell(4, 2), "last");
  // A range answer quotes the cell that holds a line break.
  EXPECT_EQ(range(s, {2, 2, 1, 2}), "Smith, J\t\"said \"\"hi\"\"\nthen\"\r\n");

  book = readWorkbookBytes("a;b\n1,5;caf\xE9", WorkbookFormat::Csv, "semi.csv", {}, error);
  ASSERT_TRUE(book) << error;
  EXPECT_EQ(book->sheets[0].cell(2, 1), "1,5");
  EXPECT_EQ(book->sheets[0].cell(2, 2), "caf\xC3\xA9");

  book = readWorkbookBytes("a\tb,c\n", WorkbookFormat::Text, "tab.txt", {}, error);
  ASSERT_TRUE(book) << error;
  EXPECT_EQ(book->sheets[0].cell(1, 2), "b,c");
}

TEST(WorkbookFile, KnowsWorkbooksByTheirExtension) {
  EXPECT_EQ(workbookFormatOf("/a/B.XLSX"), WorkbookFormat::Xlsx);
  EXPECT_EQ(workbookFormatOf("b.ods"), WorkbookFormat::Ods);
  EXPECT_EQ(workbookFormatOf("c.Xls"), WorkbookFormat::Xls);
  EXPECT_EQ(workbookFormatOf("d.csv"), WorkbookFormat::Csv);
  EXPECT_EQ(workbookFormatOf("e.txt"), WorkbookFormat::Text);
  EXPECT_FALSE(workbookFormatOf("f.vlm"));
  EXPECT_FALSE(workbookFormatOf("dir.xlsx/file"));
  EXPECT_TRUE(isSpreadsheetFile("g.xlsm"));
  EXPECT_FALSE(isSpreadsheetFile("h.csv"));
}

TEST(WorkbookFile, DamagedFilesGiveAMessageThatNamesThem) {
  std::string error;
  EXPECT_FALSE(readWorkbookBytes("not a zip", WorkbookFormat::Xlsx, "/x/Bad.xlsx", {}, error));
  EXPECT_EQ(error, "The workbook Bad.xlsx cannot be read: it is not a zip archive.");

  const std::string good = xlsxBytes({{"S", "<sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c></row></sheetData>"}});
  for (size_t cut : {good.size() / 4, good.size() / 2, good.size() - 10}) {
    EXPECT_FALSE(readWorkbookBytes(good.substr(0, cut), WorkbookFormat::Xlsx, "Cut.xlsx", {}, error)) << cut;
    EXPECT_NE(error.find("Cut.xlsx"), std::string::npos) << error;
  }

  EXPECT_FALSE(read(xlsxBytes({{"S", "<sheetData><row><c><v>1</v></row></sheetData>"}}), WorkbookFormat::Xlsx, error));
  EXPECT_NE(error.find("XML"), std::string::npos) << error;

  EXPECT_FALSE(read(test::zipBytes({{"mimetype", "x"}}), WorkbookFormat::Ods, error));
  EXPECT_EQ(error, "The workbook Book.bin cannot be read: it has no content part.");

  EXPECT_FALSE(readWorkbookFile("/nonexistent/None.xlsx", {}, error));
  EXPECT_NE(error.find("None.xlsx cannot be opened"), std::string::npos) << error;
  EXPECT_FALSE(readWorkbookFile("/etc/hostname", {}, error));
  EXPECT_NE(error.find("is no workbook"), std::string::npos) << error;
}

TEST(WorkbookFile, ZipBombsAndHugeSheetsStopAtTheLimits) {
  ReadLimits limits;
  limits.unpackedBytes = 4 << 20;
  limits.cells = 100000;
  // A sheet part of 16 MiB of blanks packs into a few kilobytes.
  const std::string bomb = xlsxBytes({{"S", std::string(16 << 20, ' ') + "<sheetData/>"}});
  ASSERT_LT(bomb.size(), 1u << 20);
  std::string error;
  EXPECT_FALSE(read(bomb, WorkbookFormat::Xlsx, error, limits));
  EXPECT_NE(error.find("unpacks to more than 4 MiB"), std::string::npos) << error;

  // A million filled columns in a million rows, written in a few bytes.
  const std::string wide =
      "<table:table table:name=\"W\"><table:table-row table:number-rows-repeated=\"1048576\">"
      "<table:table-cell table:number-columns-repeated=\"1000000\" office:value-type=\"string\"><text:p>x</text:p>"
      "</table:table-cell></table:table-row></table:table>";
  EXPECT_FALSE(read(odsBytes(wide), WorkbookFormat::Ods, error, limits));
  EXPECT_NE(error.find("more than 100000 cells"), std::string::npos) << error;

  // A cell past the sheet's last column is not kept.
  auto book = read(xlsxBytes({{"S", "<sheetData><row r=\"1\"><c r=\"XFE1\"><v>1</v></c><c r=\"A1\"><v>2</v></c>"
                                    "</row></sheetData>"}}),
                   WorkbookFormat::Xlsx, error, limits);
  ASSERT_TRUE(book) << error;
  EXPECT_EQ(book->sheets[0].cellCount(), 1u);
}

// Files written by LibreOffice Calc itself, where it is installed.
TEST(WorkbookFile, ReadsWorkbooksThatLibreOfficeWrote) {
  if (test::libreOfficeProgram().empty()) GTEST_SKIP() << "LibreOffice is not installed";
  QTemporaryDir dir;
  const std::string csv = dir.filePath("calc.csv").toStdString();
  test::writeFile(csv, "Name,Value,Day\nalpha,1.5,2023-03-15\n\"b\tc\",-2,2024-02-29\n");
  for (const std::string kind : {"ods", "xlsx", "xls"}) {
    const std::string path = test::convertWithLibreOffice(csv, dir.path().toStdString(), kind);
    ASSERT_FALSE(path.empty()) << kind;
    std::string error;
    auto book = readWorkbookFile(path, {}, error);
    ASSERT_TRUE(book) << kind << ": " << error;
    const Sheet& s = book->sheets[static_cast<size_t>(book->activeSheet)];
    EXPECT_EQ(s.cell(1, 1), "Name") << kind;
    EXPECT_EQ(s.cell(2, 2), "1.5") << kind;
    EXPECT_EQ(s.cell(3, 1), "b\tc") << kind;
    EXPECT_EQ(s.cell(3, 2), "-2") << kind;
    EXPECT_FALSE(s.cell(3, 3).empty()) << kind;
    EXPECT_EQ(s.lastRow(), 3) << kind;
    EXPECT_EQ(s.lastColumn(), 3) << kind;
  }
}

}  // namespace
}  // namespace vlm::platform::workbook

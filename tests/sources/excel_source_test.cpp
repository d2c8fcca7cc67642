#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <atomic>

#include "common/workbook_files.h"
#include "engine/commands/handler_table.h"
#include "engine/host_messages.h"
#include "engine/model_file/model_file_save.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "platform/atomic_file.h"
#include "platform/profile_file.h"
#include "platform/workbook/excel_workspace.h"
#include "sources/excel/excel_areas.h"
#include "sources/excel/excel_automation.h"
#include "sources/load_control_dialog.h"
#include "sources/support/source_fixture.h"

namespace vlm {
namespace {

using platform::workbook::Area;
using platform::workbook::ExcelWorkspace;
using platform::workbook::Workbook;

constexpr int32_t kPing = 1024 + 401;  // no command of the engine uses this number
std::atomic<int> pings{0};

// Rows of texts as a workbook "Book.xlsx" with one sheet, opened in the workspace.
std::unique_ptr<Workbook> bookOf(const std::vector<std::vector<std::string>>& rows, const std::string& sheetName = "Sheet1") {
  auto book = std::make_unique<Workbook>();
  book->path = "/data/Book.xlsx";
  book->name = "Book.xlsx";
  platform::workbook::Sheet& sheet = book->sheets.emplace_back();
  sheet.name = sheetName;
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c)
      sheet.put(static_cast<int32_t>(r + 1), static_cast<int32_t>(c + 1), rows[r][c]);
  sheet.finish();
  return book;
}

// A header and ten rows of three columns: rows 2..11.
std::vector<std::vector<std::string>> tenRows() {
  std::vector<std::vector<std::string>> rows{{"Name", "Units", "Price"}};
  for (int i = 1; i <= 10; ++i) rows.push_back({"item " + std::to_string(i), std::to_string(i * 10), std::to_string(i) + ".5"});
  return rows;
}

class ExcelSourceTest : public test::SourceTest {
 protected:
  void SetUp() override {
    SourceTest::SetUp();
    dataHandlers().set(kPing, [](EngineState&, const platform::Command&) {
      ++pings;
      return true;
    });
    ExcelWorkspace& w = ExcelWorkspace::instance();
    w.start();
    w.closeAll();
    w.setReferenceLetters({});
  }
  void TearDown() override {
    setLoadControlDialogHook(nullptr);
    ExcelWorkspace::instance().closeAll();
    ExcelWorkspace::instance().setReferenceLetters({});
    SourceTest::TearDown();
  }
  void startEngine(int applicationId = 23) {
    start(applicationId);
    state().main->loadControl.limit = 1000000;
  }
  // Waits until the data thread ran everything posted so far (and what that posted).
  bool settle() {
    for (int round = 0; round < 2; ++round) {
      const int target = pings.load() + 1;
      postData(state(), kPing);
      if (!platform::HostBridge::instance().waitPumping(
              [&] {
                QCoreApplication::processEvents();
                return pings.load() >= target;
              },
              std::chrono::milliseconds(60000)))
        return false;
    }
    flushHostMessages();
    return true;
  }
  bool load() { return request([] { vlm_InitConnection(1); }); }
  void selectInBook(std::vector<Area> areas) {
    ExcelWorkspace::instance().select(std::move(areas), 1, 1);
  }
  std::string fieldName(int f) {
    char name[1024];
    vlm_GetFieldName(f, name);
    return name;
  }
  int32_t result() { return state().main->loadControl.connectionResult; }
  void expectTenRows() {
    EXPECT_EQ(result(), 1);
    ASSERT_EQ(table().fieldCount, 3);
    EXPECT_EQ(fieldName(0), "Name");
    EXPECT_EQ(fieldName(1), "Units");
    EXPECT_EQ(fieldName(2), "Price");
    ASSERT_EQ(table().rowCount, 10);
    for (int s = 0; s < 10; ++s) EXPECT_EQ(table().rowIds[static_cast<size_t>(s)], s + 2);
    EXPECT_EQ(cell(0, 0), "item 1");
    EXPECT_EQ(cell(1, 9), "100");
    EXPECT_EQ(table().fields[1].type, FT_INTEGER);
    EXPECT_EQ(table().fields[2].type, FT_REAL);
    EXPECT_EQ(vlm_GetDataSource(), DSK_EXCEL);
  }
};

TEST_F(ExcelSourceTest, ASelectionOfElevenRowsGivesThreeFieldsAndTenSamples) {
  startEngine();
  ExcelWorkspace::instance().openWorkbook(bookOf(tenRows()));
  selectInBook({{1, 11, 1, 3}});
  EXPECT_EQ(ExcelWorkspace::instance().selectionText(), "[Book.xlsx]Sheet1!R1C1:R11C3");
  ASSERT_TRUE(load());
  expectTenRows();
  char source[1024], sheet[1024];
  vlm_GetDataServer(source, sheet, nullptr);
  EXPECT_STREQ(source, "/data/Book.xlsx");
  EXPECT_STREQ(sheet, "Sheet1");
  EXPECT_EQ(table().sourceName, "Book.xlsx");
  EXPECT_TRUE(boxTexts().empty());
  // The load ends like every other: the host refreshed and counted.
  ASSERT_FALSE(messagesOf(HM_HITS).empty());
}

TEST_F(ExcelSourceTest, TwoTouchingAreasMergeAndOtherLettersReadTheSame) {
  startEngine();
  ExcelWorkspace::instance().openWorkbook(bookOf(tenRows()));
  selectInBook({{1, 11, 1, 2}, {1, 11, 3, 3}});
  EXPECT_EQ(ExcelWorkspace::instance().selectionText(), "[Book.xlsx]Sheet1!R1C1:R11C2;R1C3:R11C3");
  ASSERT_TRUE(load());
  expectTenRows();

  // An application that writes Z and S (a fresh engine detects the letters again).
  vlm_DeinitSystem();
  ExcelWorkspace::instance().setReferenceLetters({'Z', 'S'});
  startEngine();
  EXPECT_EQ(ExcelWorkspace::instance().selectionText(), "[Book.xlsx]Sheet1!Z1S1:Z11S2;Z1S3:Z11S3");
  ASSERT_TRUE(load());
  expectTenRows();
}

TEST_F(ExcelSourceTest, ANumericHeaderAsksWhetherTheSelectionIsCorrect) {
  startEngine();
  ExcelWorkspace::instance().openWorkbook(bookOf({{"Name", "1.5"}, {"a", "2"}, {"b", "3"}}));
  selectInBook({{1, 3, 1, 2}});
  ASSERT_TRUE(load());
  EXPECT_EQ(result(), -3);
  EXPECT_EQ(table().fieldCount, 0);
  ASSERT_TRUE(settle());
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_EQ(boxTexts()[0], "Data Selection Correct?\n\nPlease select a valid data region.\n\n");
  // The busy state ended.
  const auto busy = messagesOf(HM_BUSY);
  ASSERT_FALSE(busy.empty());
  EXPECT_EQ(busy.back().wParam, 0u);
}

TEST_F(ExcelSourceTest, ASingleSelectedCellLoadsTheWholeSheet) {
  startEngine();
  auto rows = tenRows();
  rows[4].push_back("extra");  // row 5 reaches column 4
  ExcelWorkspace::instance().openWorkbook(bookOf(rows));
  selectInBook({{7, 7, 2, 2}});
  ASSERT_TRUE(load());
  EXPECT_EQ(result(), 1);
  ASSERT_EQ(table().fieldCount, 4);
  EXPECT_EQ(fieldName(3), "(Column4)");
  EXPECT_EQ(table().rowCount, 10);
  EXPECT_EQ(cell(3, 3), "extra");
  EXPECT_EQ(cell(3, 4), "N/A");
}

TEST_F(ExcelSourceTest, QuotedCellsStayOneCell) {
  startEngine();
  ExcelWorkspace::instance().openWorkbook(
      bookOf({{"Note", "Year", "Code"}, {"a\tb", "'90s", "x"}, {"line\r\nbreak \"q\"", "1990", "y"}}));
  selectInBook({{1, 3, 1, 3}});
  ASSERT_TRUE(load());
  ASSERT_EQ(result(), 1);
  ASSERT_EQ(table().rowCount, 2);
  // Each stays one cell (stored as every text is, tabs and line breaks made readable).
  EXPECT_EQ(cell(0, 0), "a b");
  EXPECT_EQ(cell(1, 0), "'90s");
  EXPECT_EQ(cell(2, 0), "x");
  EXPECT_EQ(cell(0, 1), "line;;break \"q\"");
  EXPECT_EQ(cell(1, 1), "1990");
  EXPECT_EQ(cell(2, 1), "y");
}

// The row count follows the tallest column band, not the first one.
TEST_F(ExcelSourceTest, ALaterTallerBandLoadsAllItsRows) {
  startEngine();
  std::vector<std::vector<std::string>> rows{{"A", "", "C"}};
  for (int i = 2; i <= 1001; ++i) rows.push_back({i <= 3 ? "a" + std::to_string(i) : "", "", std::to_string(i)});
  ExcelWorkspace::instance().openWorkbook(bookOf(rows));
  selectInBook({{1, 3, 1, 1}, {1, 1001, 3, 3}});
  ASSERT_TRUE(load());
  ASSERT_EQ(result(), 1);
  ASSERT_EQ(table().fieldCount, 2);
  ASSERT_EQ(table().rowCount, 1000);
  EXPECT_EQ(cell(0, 1), "a3");
  EXPECT_EQ(cell(0, 2), "N/A");
  EXPECT_EQ(cell(1, 999), "1001");
  EXPECT_EQ(table().rowIds[999], 1001);
}

TEST_F(ExcelSourceTest, LoadControlThinsTheRowsAndTheirIds) {
  startEngine();
  ExcelWorkspace::instance().openWorkbook(bookOf(tenRows()));
  selectInBook({{1, 11, 1, 3}});
  state().main->loadControl.limit = 5;
  setLoadControlDialogHook([](const LoadControlDialogInput& in) {
    EXPECT_EQ(in.sourceRows, 10);
    LoadControlAnswer a;
    a.ok = true;
    a.method = SAMPLE_EACH;
    a.limit = "5";
    a.each = "3";
    return a;
  });
  ASSERT_TRUE(load());
  ASSERT_EQ(result(), 1);
  ASSERT_EQ(table().rowCount, 4);
  EXPECT_EQ(table().rowIds[0], 2);
  EXPECT_EQ(table().rowIds[3], 11);
  EXPECT_EQ(cell(0, 1), "item 4");
  EXPECT_EQ(cell(1, 3), "100");

  setLoadControlDialogHook([](const LoadControlDialogInput&) { return LoadControlAnswer{}; });
  ASSERT_TRUE(request([] { vlm_Load(1); }));
  EXPECT_EQ(result(), -11);
  EXPECT_EQ(table().rowCount, 0);
}

TEST_F(ExcelSourceTest, AJumpSelectsTheSamplesRowInTheWorkbook) {
  startEngine();
  ExcelWorkspace::instance().openWorkbook(bookOf(tenRows()));
  selectInBook({{1, 11, 1, 3}});
  ASSERT_TRUE(load());
  EXPECT_EQ(selectRowCommand(7), "[select(\"r007\")]");
  EXPECT_EQ(vlm_JumpToServer(5), 1);
  ASSERT_TRUE(settle());
  const auto view = ExcelWorkspace::instance().view();
  ASSERT_EQ(view.selection.size(), 1u);
  EXPECT_EQ(view.selection[0], (Area{7, 7, 1, platform::workbook::kSheetColumns}));
  EXPECT_TRUE(ExcelWorkspace::instance().visible());
  EXPECT_TRUE(boxTexts().empty());
  // A workbook closed since cannot take the jump.
  ExcelWorkspace::instance().closeAll();
  vlm_JumpExcel(5);
  ASSERT_TRUE(settle());
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_EQ(boxTexts()[0], "Unable to jump to Excel at the 7. row.  ");
}

TEST_F(ExcelSourceTest, OpeningAWorkbookFileLoadsItsSavedSelectionInEitherEdition) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("Sales.xlsx").toStdString();
  ASSERT_TRUE(test::writeXlsx(path, "Data", tenRows(), "A1:C11"));
  startEngine(23);  // the database edition
  ASSERT_TRUE(request([&] { vlm_OpenFile(path.c_str(), 0); }));
  expectTenRows();
  EXPECT_EQ(state().main->applicationKind, 2);
  char source[1024], sheet[1024];
  vlm_GetDataServer(source, sheet, nullptr);
  EXPECT_EQ(std::string(source), path);
  EXPECT_STREQ(sheet, "Data");
  const auto recent = messagesOf(HM_RECENT_FILE);
  ASSERT_FALSE(recent.empty());

  // Loading again (Ctrl+L) reads what is selected in the workbook now.
  selectInBook({{1, 4, 1, 2}});
  ASSERT_TRUE(request([] { vlm_Load(0); }));
  EXPECT_EQ(table().fieldCount, 2);
  EXPECT_EQ(table().rowCount, 3);

  // vlm_ExcelOpen with a sheet that is not there still loads the active one.
  ASSERT_TRUE(request([&] { vlm_ExcelOpen(path.c_str(), "Data"); }));
  expectTenRows();
}

TEST_F(ExcelSourceTest, AModelFileOpensItsWorkbookAgainAndAppliesItself) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("Sales.xlsx").toStdString();
  ASSERT_TRUE(test::writeXlsx(path, "Data", tenRows(), "A1:C11"));
  startEngine(23);
  ASSERT_TRUE(request([&] { vlm_OpenFile(path.c_str(), 0); }));
  expectTenRows();
  vlm_DeleteAllAssociations();
  vlm_AssociateField(2, 0, ATTRIB_AXISY, 60, 0);
  const std::string model = dir.filePath("sales.vlm").toStdString();
  ASSERT_EQ(writeModelFile(state(), model), 1);
  std::string bytes, error;
  ASSERT_TRUE(platform::readWholeFile(model, bytes, error)) << error;
  const platform::ProfileDocument doc = platform::ProfileDocument::parse(bytes);
  EXPECT_EQ(doc.get("Source", "Application", ""), "EXCEL");

  // Other data, and the workbook closed: the model brings both back.
  ASSERT_TRUE(paste("x\ty\r\n1\t2\r\n"));
  vlm_DeleteAllAssociations();
  state().model->saved = 1;
  ExcelWorkspace::instance().closeAll();
  vlm_OpenModel(model.c_str());
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty()) << boxTexts().front();
  expectTenRows();
  EXPECT_EQ(vlm_AttributeToField(ATTRIB_AXISY), 2);
}

TEST_F(ExcelSourceTest, ADamagedWorkbookSaysWhyAndKeepsTheTable) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("Broken.xlsx").toStdString();
  test::writeFile(path, "PK\x03\x04 not really");
  startEngine();
  ASSERT_TRUE(paste("a\r\n1\r\n2\r\n"));
  vlm_OpenFile(path.c_str(), 0);
  ASSERT_TRUE(settle());
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("The workbook Broken.xlsx cannot be read"), std::string::npos) << boxTexts()[0];
  EXPECT_EQ(table().rowCount, 2);
  EXPECT_EQ(vlm_GetDataSource(), DSK_CLIPBOARD);
}

TEST_F(ExcelSourceTest, WithoutAWorkbookNothingLoads) {
  startEngine(21);
  ASSERT_TRUE(load());
  EXPECT_EQ(result(), -2);
  EXPECT_EQ(vlm_GetDataSource(), DSK_NONE);
  EXPECT_EQ(table().sourceName, "No XLS file");
  // The running check finds the workspace (visible since it was started).
  EXPECT_EQ(vlm_IsExcelRunning(), 1);
  ExcelWorkspace::instance().setVisible(false);
  EXPECT_EQ(vlm_IsExcelRunning(), 0);
  EXPECT_FALSE(ExcelWorkspace::instance().running());
  ASSERT_TRUE(load());
  EXPECT_EQ(result(), -1);
}

// With no workbook to read, or no workspace answering, a table loaded before
// stays with its model, and the user hears why nothing new came.
TEST_F(ExcelSourceTest, ConnectingWithNoWorkbookOpenKeepsTheLoadedTableAndSaysWhy) {
  startEngine(21);
  ASSERT_TRUE(paste("name\tvalue\r\na\t1.5\r\nb\t2.5\r\n"));
  vlm_AssociateField(1, 0, ATTRIB_AXISY, 60, 0);
  const int32_t associations = state().model->associations.count;
  ASSERT_GT(associations, 0);
  resetBoxes();
  clearMessages();
  ASSERT_TRUE(load());
  ASSERT_TRUE(settle());
  EXPECT_EQ(result(), -2);
  EXPECT_EQ(vlm_GetDataSource(), DSK_CLIPBOARD);
  ASSERT_EQ(table().rowCount, 2);
  EXPECT_EQ(cell(0, 1), "b");
  EXPECT_EQ(cell(1, 1), "2.5");
  EXPECT_EQ(state().model->associations.count, associations);
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_EQ(boxTexts()[0], "No workbook is open in the Spreadsheet Workspace.\nThe table loaded before stays as it was.");
  ASSERT_FALSE(messagesOf(HM_BUSY).empty());
  EXPECT_EQ(messagesOf(HM_BUSY).back().wParam, 0u);

  ExcelWorkspace::instance().setVisible(false);
  EXPECT_EQ(vlm_IsExcelRunning(), 0);
  resetBoxes();
  ASSERT_TRUE(load());
  ASSERT_TRUE(settle());
  EXPECT_EQ(result(), -1);
  EXPECT_EQ(table().rowCount, 2);
  EXPECT_EQ(vlm_GetDataSource(), DSK_CLIPBOARD);
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_EQ(boxTexts()[0], "The Spreadsheet Workspace does not answer.\nThe table loaded before stays as it was.");
}

TEST(ExcelAreas, ReadTheSelectionAnswerInAnyLetters) {
  SelectionAnswer a;
  ASSERT_TRUE(parseSelectionAnswer("[Book.xlsx]Sheet1!R1C1:R11C3;R2C5\r\n", a));
  EXPECT_EQ(a.workbook, "Book.xlsx");
  EXPECT_EQ(a.sheet, "Sheet1");
  EXPECT_EQ(a.areas, (std::vector<std::string>{"R1C1:R11C3", "R2C5"}));
  ASSERT_TRUE(parseSelectionAnswer("[B.ods]'It''s here'!Z1S1", a));
  EXPECT_EQ(a.sheet, "It's here");
  ASSERT_TRUE(parseSelectionAnswer("'[B.ods]My sheet'!L1C1:L2C2", a));
  EXPECT_EQ(a.sheet, "My sheet");
  EXPECT_FALSE(parseSelectionAnswer("Sheet1!R1C1", a));
  EXPECT_FALSE(parseSelectionAnswer("[Book]Sheet1", a));

  EXPECT_EQ(detectLetters({"Z1S1:Z11S3"}), (ReferenceLetters{'Z', 'S'}));
  EXPECT_EQ(detectLetters({"l2c3"}), (ReferenceLetters{'L', 'C'}));
  EXPECT_EQ(detectLetters({"R1:R3", "R1K1"}), (ReferenceLetters{'R', 'K'}));
  EXPECT_EQ(detectLetters({"X1Y1"}), (ReferenceLetters{'R', 'C'}));

  ExcelArea area;
  ASSERT_TRUE(parseArea("R2C3", {}, area));
  EXPECT_EQ(area, (ExcelArea{2, 2, 3, 3}));
  ASSERT_TRUE(parseArea("r11c3:r1c1", {}, area));
  EXPECT_EQ(area, (ExcelArea{1, 11, 1, 3}));
  ASSERT_TRUE(parseArea("R3:R5", {}, area));
  EXPECT_EQ(area, (ExcelArea{3, 5, 1, kExcelColumns}));
  ASSERT_TRUE(parseArea("C2", {}, area));
  EXPECT_EQ(area, (ExcelArea{1, kExcelRows, 2, 2}));
  EXPECT_FALSE(parseArea("R1C1:", {}, area));
  EXPECT_FALSE(parseArea("R0C1", {}, area));
  EXPECT_FALSE(parseArea("A1", {}, area));
}

TEST(ExcelAreas, MergeTouchingAreasAndDropContainedOnes) {
  std::vector<ExcelArea> list;
  ASSERT_TRUE(addArea(list, {1, 11, 1, 2}));
  ASSERT_TRUE(addArea(list, {1, 11, 3, 3}));
  EXPECT_EQ(list, (std::vector<ExcelArea>{{1, 11, 1, 3}}));
  ASSERT_TRUE(addArea(list, {2, 5, 2, 3}));  // inside
  ASSERT_TRUE(addArea(list, {12, 20, 1, 3}));  // below, same columns
  EXPECT_EQ(list, (std::vector<ExcelArea>{{1, 20, 1, 3}}));
  // Areas that only meet once a third joins them are merged by normalising.
  list = {{1, 5, 1, 1}, {1, 5, 3, 3}, {30, 40, 1, 3}};
  ASSERT_TRUE(addArea(list, {1, 5, 2, 2}));
  normaliseAreas(list);
  EXPECT_EQ(list, (std::vector<ExcelArea>{{1, 5, 1, 3}, {30, 40, 1, 3}}));
  EXPECT_EQ(firstColumnRows(list), 16);
  EXPECT_EQ(headerRow(list), 1);
  EXPECT_EQ(fieldColumns({{1, 5, 3, 4}, {1, 5, 1, 3}}, 2048), (std::vector<int32_t>{3, 4, 1, 2}));
  EXPECT_EQ(fieldColumns({{1, 5, 1, 256}}, 10).size(), 10u);

  const auto bands = columnBands({{10, 12, 1, 2}, {1, 3, 1, 2}, {1, 2, 4, 4}}, 1);
  ASSERT_EQ(bands.size(), 2u);
  EXPECT_EQ(bands[0].firstColumn, 1);
  EXPECT_EQ(bands[0].rows, (std::vector<int32_t>{2, 3, 10, 11, 12}));
  EXPECT_EQ(bands[1].rows, (std::vector<int32_t>{2}));
}

TEST(ExcelAreas, AQuoteOpensACellOnlyWhenItsMatchClosesIt) {
  std::vector<std::string> cells;
  size_t pos = 0;
  const std::string text = "'90s\tx\r\n\"a\tb\"\t\"say \"\"hi\"\"\"\r\n\"open\tend\r\nlast";
  ASSERT_EQ(nextBandLine(text, pos, cells, 131071), BandLine::Line);
  EXPECT_EQ(cells, (std::vector<std::string>{"'90s", "x"}));
  ASSERT_EQ(nextBandLine(text, pos, cells, 131071), BandLine::Line);
  EXPECT_EQ(cells, (std::vector<std::string>{"a\tb", "say \"hi\""}));
  ASSERT_EQ(nextBandLine(text, pos, cells, 131071), BandLine::Line);
  EXPECT_EQ(cells, (std::vector<std::string>{"\"open", "end"}));
  ASSERT_EQ(nextBandLine(text, pos, cells, 131071), BandLine::Line);
  EXPECT_EQ(cells, (std::vector<std::string>{"last"}));
  EXPECT_EQ(nextBandLine(text, pos, cells, 131071), BandLine::End);
  // A single quote matched at the end of the cell: tabs inside stay.
  pos = 0;
  ASSERT_EQ(nextBandLine("'a\tb'\tc", pos, cells, 131071), BandLine::Line);
  EXPECT_EQ(cells, (std::vector<std::string>{"a\tb", "c"}));
  pos = 0;
  EXPECT_EQ(nextBandLine(std::string(20, 'x') + "\r\n", pos, cells, 10), BandLine::TooLong);
}

}  // namespace
}  // namespace vlm

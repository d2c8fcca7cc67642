#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "platform/dde/conversation.h"
#include "platform/host_bridge.h"
#include "platform/workbook/cell_address.h"
#include "platform/workbook/excel_server.h"
#include "platform/workbook/excel_workspace.h"
#include "platform/workbook/sheet_view.h"

namespace vlm::platform::workbook {
namespace {

using dde::Conversation;

std::unique_ptr<Workbook> book(const std::string& sheetName = "Sheet1") {
  auto b = std::make_unique<Workbook>();
  b->path = "/data/Book.xlsx";
  b->name = "Book.xlsx";
  Sheet& s = b->sheets.emplace_back();
  s.name = sheetName;
  s.put(1, 1, "Name");
  s.put(1, 2, "Note");
  s.put(2, 1, "a");
  s.put(2, 2, "tab\there");
  s.put(3, 1, "'90s");
  s.put(4, 3, "say \"hi\"");
  s.selection = {{1, 3, 1, 2}};
  s.finish();
  Sheet& other = b->sheets.emplace_back();
  other.name = "Other";
  other.put(2, 2, "x");
  other.finish();
  return b;
}

class ExcelWorkspaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w.start();
    w.closeAll();
    w.setReferenceLetters({});
  }
  void TearDown() override {
    w.closeAll();
    w.setReferenceLetters({});
    w.setWindowHooks({});
  }
  std::string request(const std::string& topic, const std::string& item) {
    Conversation c = Conversation::connect(kExcelService, topic);
    std::string answer;
    if (!c || !c.request(item, answer)) return "<none>";
    return answer;
  }
  ExcelWorkspace& w = ExcelWorkspace::instance();
};

TEST_F(ExcelWorkspaceTest, SystemTopicAnswersStatusAndTheSavedSelection) {
  EXPECT_EQ(request("System", "Status"), "Ready");
  EXPECT_EQ(request("System", "Selection"), "<none>");
  w.openWorkbook(book());
  EXPECT_EQ(request("system", "Selection"), "[Book.xlsx]Sheet1!R1C1:R3C2");
  EXPECT_EQ(w.activeWorkbookFullName(), "/data/Book.xlsx");
  w.select({}, 4, 3);
  EXPECT_EQ(request("System", "Selection"), "[Book.xlsx]Sheet1!R4C3");
  w.select({{1, kSheetRows, 2, 3}, {5, 6, 1, kSheetColumns}}, 1, 2);
  EXPECT_EQ(request("System", "Selection"), "[Book.xlsx]Sheet1!C2:C3;R5:R6");
  w.setReferenceLetters({'Z', 'S'});
  EXPECT_EQ(request("System", "Selection"), "[Book.xlsx]Sheet1!S2:S3;Z5:Z6");
  ASSERT_TRUE(w.activateSheet("other"));
  EXPECT_EQ(request("System", "Selection"), "[Book.xlsx]Other!Z1S1");
  EXPECT_FALSE(w.activateSheet("Missing"));
  EXPECT_EQ(quotedSheetName("My Sheet"), "'My Sheet'");
  EXPECT_EQ(quotedSheetName("It's"), "'It''s'");
  EXPECT_EQ(quotedSheetName("Data_2024.v1"), "Data_2024.v1");
}

TEST_F(ExcelWorkspaceTest, SheetTopicsAnswerRangesAsTabSeparatedLines) {
  w.openWorkbook(book());
  EXPECT_EQ(request("[Book.xlsx]Sheet1", "R1C1:R3C2"), "Name\tNote\r\na\t\"tab\there\"\r\n\"'90s\"\t\r\n");
  EXPECT_EQ(request("[book.XLSX]sheet1", "R4C3"), "say \"hi\"\r\n");
  // Whole columns end with the used part of the sheet; the first line of a
  // whole row has a cell for every used column.
  EXPECT_EQ(request("[Book.xlsx]Sheet1", "R1C1:R65536C1"), "Name\r\na\r\n\"'90s\"\r\n\r\n");
  EXPECT_EQ(request("[Book.xlsx]Sheet1", "R1C1:R1C256"), "Name\tNote\t\r\n");
  EXPECT_EQ(request("[Book.xlsx]Sheet1", "R9C9"), "");
  EXPECT_EQ(request("[Book.xlsx]Sheet1", "A1"), "<none>");
  EXPECT_EQ(request("'[Book.xlsx]Other'", "R2C2"), "x\r\n");
  EXPECT_EQ(request("[Other.xlsx]Sheet1", "R1C1"), "<none>");
  EXPECT_EQ(request("[Book.xlsx]Missing", "R1C1"), "<none>");
  // The workspace's letters only.
  w.setReferenceLetters({'L', 'C'});
  EXPECT_EQ(request("[Book.xlsx]Sheet1", "L2C1"), "a\r\n");
}

TEST_F(ExcelWorkspaceTest, SelectExecutesSelectAWholeRow) {
  w.openWorkbook(book());
  ASSERT_TRUE(w.activateSheet("Other"));
  Conversation c = Conversation::connect(kExcelService, "[Book.xlsx]Sheet1");
  ASSERT_TRUE(c);
  EXPECT_TRUE(c.execute("[select(\"r003\")]"));
  const SheetViewState v = w.view();
  EXPECT_EQ(v.sheet, 0);
  EXPECT_EQ(v.selection, (std::vector<Area>{{3, 3, 1, kSheetColumns}}));
  EXPECT_FALSE(c.execute("[select(\"A1\")]"));
  EXPECT_FALSE(c.execute("[OpenTable \"x\",0,2]"));
  // A workbook closed since does not take it.
  w.closeAll();
  EXPECT_FALSE(c.execute("[SELECT(\"R1\")]"));

  std::string book, sheet;
  EXPECT_TRUE(parseSheetTopic("'[B.xlsx]It''s'", book, sheet));
  EXPECT_EQ(sheet, "It's");
  EXPECT_FALSE(parseSheetTopic("[]S", book, sheet));
  EXPECT_FALSE(parseSheetTopic("[B.xlsx]", book, sheet));
  std::string reference;
  EXPECT_TRUE(parseSelectCommand("[Select(\"R1C1:R2C2\")]", reference));
  EXPECT_EQ(reference, "R1C1:R2C2");
}

TEST_F(ExcelWorkspaceTest, QuitWithdrawsTheServiceAndStartBringsItBack) {
  w.openWorkbook(book());
  w.quit();
  EXPECT_FALSE(w.running());
  EXPECT_FALSE(dde::serverRegistered(kExcelService));
  EXPECT_TRUE(w.activeWorkbookFullName().empty());
  EXPECT_TRUE(w.start());
  EXPECT_FALSE(w.start());
  EXPECT_EQ(request("System", "Status"), "Ready");
}

TEST_F(ExcelWorkspaceTest, TheSheetViewShowsTheSheetAndReportsWhatTheMouseSelects) {
  QObject host;
  HostBridge::instance().attach(&host);
  installSheetView();
  w.openWorkbook(book());
  w.setVisible(true);
  ASSERT_TRUE(w.hasMainWindow());
  ASSERT_TRUE(w.bringToFront());
  SheetViewInfo info = sheetViewInfo();
  EXPECT_TRUE(info.visible);
  EXPECT_EQ(info.sheet, "Sheet1");
  EXPECT_NE(info.title.find("Book.xlsx"), std::string::npos);
  EXPECT_EQ(info.selection, (std::vector<Area>{{1, 3, 1, 2}}));
  // What the user selects in the grid is what the workspace reports.
  ASSERT_TRUE(selectInSheetView({2, 4, 1, 3}));
  EXPECT_EQ(w.selectionText(), "[Book.xlsx]Sheet1!R2C1:R4C3");
  ASSERT_TRUE(w.activateSheet("Other"));
  EXPECT_EQ(sheetViewInfo().sheet, "Other");
  w.quit();
  EXPECT_FALSE(w.hasMainWindow());
  w.start();
  HostBridge::instance().detach();
}

TEST(CellAddress, ReadsAndWritesA1AndR1C1References) {
  int32_t row = 0, column = 0;
  ASSERT_TRUE(parseA1Cell("$AB$12", row, column));
  EXPECT_EQ(row, 12);
  EXPECT_EQ(column, 28);
  EXPECT_FALSE(parseA1Cell("XFE1", row, column));
  EXPECT_FALSE(parseA1Cell("A0", row, column));
  EXPECT_EQ(columnLetters(16384), "XFD");
  EXPECT_EQ(parseA1Areas("C11:A1  E2 bad"), (std::vector<Area>{{1, 11, 1, 3}, {2, 2, 5, 5}}));
  Area a;
  ASSERT_TRUE(parseR1C1Area("z2s3:Z4S1", {'Z', 'S'}, a));
  EXPECT_EQ(a, (Area{2, 4, 1, 3}));
  EXPECT_FALSE(parseR1C1Area("R1:C1", {}, a));
  EXPECT_FALSE(parseR1C1Area("R1048577", {}, a));
  for (const Area& area : {Area{1, 1, 1, 1}, Area{2, 5, 3, 4}, Area{3, 3, 1, kSheetColumns},
                           Area{1, kSheetRows, 2, 2}, Area{1, kSheetRows, 1, kSheetColumns}}) {
    Area back;
    ASSERT_TRUE(parseR1C1Area(r1c1Text(area, {}), {}, back)) << r1c1Text(area, {});
    EXPECT_EQ(back, area) << r1c1Text(area, {});
  }
}

}  // namespace
}  // namespace vlm::platform::workbook

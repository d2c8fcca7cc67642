// Workbooks from File > Open: the dialog lists them, they open in the
// spreadsheet workspace, whose sheet view shows, and the cells saved as
// selected load into the view.
#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "common/workbook_files.h"
#include "host/engine_exports.h"
#include "host/main_window.h"
#include "host/open_file_types.h"
#include "host/support/host_fixture.h"

namespace vlm::test {
namespace {

using namespace vlm::host;

TEST(OpenFileTypes, WorkbooksHaveARowOfTheirOwn) {
  const auto& types = openFileTypes();
  const QStringList filters = openFileFilters(types);
  EXPECT_TRUE(filters.contains(QStringLiteral("Workbooks (*.xlsx *.xlsm *.ods *.xls)"))) << filters.join('|').toStdString();
  for (const char* name : {"Sales.XLSX", "b.ods", "c.xls", "d.xlsm"}) {
    const OpenFileType* t = openFileTypeFor(types, QString::fromLatin1(name));
    ASSERT_NE(t, nullptr) << name;
    EXPECT_EQ(t->filter, QStringLiteral("Workbooks")) << name;
  }
  EXPECT_EQ(openFileTypeFor(types, QStringLiteral("e.csv"))->filter, QStringLiteral("CSV Files (Comma delimited)"));
}

class WorkbookOpenTest : public HostTest {};

TEST_F(WorkbookOpenTest, AWorkbookOpensInTheSheetViewAndItsSelectionLoads) {
  if (!hasExport("vlm_ExcelOpen")) GTEST_SKIP() << "this engine has no spreadsheet source";
  ASSERT_TRUE(start());
  const std::string path = dir_ + "/Planets.xlsx";
  ASSERT_TRUE(writeXlsx(path, "Planets",
                        {{"Planet", "Moons", "Radius"}, {"Mercury", "0", "2439.7"}, {"Venus", "0", "6051.8"},
                         {"Earth", "1", "6371"}, {"Mars", "2", "3389.5"}, {"Jupiter", "95", "69911"}},
                        "A1:C5"));
  const OpenFileType* type = openFileTypeFor(openFileTypes(), QString::fromStdString(path));
  ASSERT_NE(type, nullptr);
  ASSERT_TRUE(type->available());
  type->open(path);
  // Rows 2 to 5 of the saved selection: four samples.
  ASSERT_TRUE(waitFor([&] { return window_->statusPartText(2) == QStringLiteral(" 4 hits"); }, 20000))
      << window_->statusPartText(2).toStdString();
  QWidget* sheetView = nullptr;
  ASSERT_TRUE(waitFor([&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == QStringLiteral("XLMAIN") && w->isVisible()) sheetView = w;
    return sheetView != nullptr;
  }, 5000));
  EXPECT_TRUE(sheetView->windowTitle().contains(QStringLiteral("Planets.xlsx")));
  saveScreenshot(sheetView->grab().toImage(), QStringLiteral("workbook-sheet-view"));
  char source[1024] = "", sheet[1024] = "";
  engineExports().getDataServer(source, sheet, nullptr);
  EXPECT_EQ(std::string(source), path);
  EXPECT_STREQ(sheet, "Planets");
}

}  // namespace
}  // namespace vlm::test

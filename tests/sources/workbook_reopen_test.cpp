#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "common/workbook_files.h"
#include "engine/commands/handler_table.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "platform/workbook/excel_workspace.h"
#include "sources/excel/workbook_reopen.h"
#include "sources/load_model.h"
#include "sources/support/source_fixture.h"

namespace vlm {
namespace {

using platform::workbook::ExcelWorkspace;

class WorkbookReopenTest : public test::SourceTest {
 protected:
  void SetUp() override {
    SourceTest::SetUp();
    ExcelWorkspace::instance().start();
    ExcelWorkspace::instance().closeAll();
  }
  void TearDown() override {
    setPendingModel(state(), {});
    ExcelWorkspace::instance().closeAll();
    SourceTest::TearDown();
  }
  // Runs the reopen on the data thread, as the model file reader does.
  ReopenResult reopen(const WorkbookReopenRequest& r) {
    ReopenResult result = ReopenResult::NotLoaded;
    EXPECT_TRUE(request([&] {
      runOnDataThread([&result, r](EngineState& s) {
        result = reopenWorkbookSource(s, r);
        s.main->dataDone.set();
      });
    }));
    return result;
  }
  void runOnDataThread(std::function<void(EngineState&)> work) {
    auto holder = std::make_shared<std::function<void(EngineState&)>>(std::move(work));
    work_ = holder;
    postData(state(), kRun);
  }
  static constexpr int32_t kRun = 1024 + 402;
  static std::shared_ptr<std::function<void(EngineState&)>> work_;
};
std::shared_ptr<std::function<void(EngineState&)>> WorkbookReopenTest::work_;

TEST_F(WorkbookReopenTest, OpensTheWorkbookBesideTheModelOrAtItsRecordedPath) {
  start();
  dataHandlers().set(kRun, [](EngineState& s, const platform::Command&) {
    (*work_)(s);
    return true;
  });
  QTemporaryDir models, data;
  const std::string recorded = data.filePath("Sales.xlsx").toStdString();
  ASSERT_TRUE(test::writeXlsx(recorded, "Q1", {{"Region", "Units"}, {"North", "3"}, {"South", "4"}}, "A1:B3"));
  WorkbookReopenRequest r{"Sales.xlsx", "q1", recorded, models.path().toStdString(), ""};
  EXPECT_EQ(reopen(r), ReopenResult::Loading);
  EXPECT_EQ(table().rowCount, 2);
  EXPECT_EQ(table().excelSelection, "Q1");

  // The same workbook and sheet load again; a missing one is said to be missing.
  EXPECT_EQ(reopen(r), ReopenResult::Loading);
  EXPECT_EQ(table().rowCount, 2);
  WorkbookReopenRequest missing{"Gone.xlsx", "Q1", data.filePath("Gone.xlsx").toStdString(),
                                models.path().toStdString(), ""};
  EXPECT_EQ(reopen(missing), ReopenResult::NoDatabase);
}

}  // namespace
}  // namespace vlm

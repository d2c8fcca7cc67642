// The program's main window driven for real under Xvfb: start, menus, status
// bar, keys and clicks in the 3D view, Delete with its question, paste, recent
// files, the close question and the window placement.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "engine/host_messages.h"
#include "engine/vlmapi.h"
#include "host/command_ids.h"
#include "host/engine_exports.h"
#include "host/main_window.h"
#include "host/progress_part.h"
#include "host/recent_files.h"
#include "host/support/host_fixture.h"
#include "host/view_window.h"
#include "host/window_settings.h"

namespace vlm::test {
namespace {

using namespace vlm::host;

bool canLoadFiles() { return hasExport("vlm_OpenFile") && hasExport("vlm_InitConnection"); }

QStringList menuTexts(QMenu* menu) {
  QStringList texts;
  for (QAction* a : menu->actions())
    if (!a->isSeparator() && a->isVisible()) texts << a->text();
  return texts;
}

double differingShare(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.isNull()) return 1.0;
  long differing = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) differing += a.pixel(x, y) != b.pixel(x, y);
  return double(differing) / (double(a.width()) * a.height());
}

class MainWindowTest : public HostTest {
 protected:
  // Starts on a sample of `rows` rows and waits until they are counted.
  void startWithSample(int rows) {
    if (!canLoadFiles()) GTEST_SKIP() << "this engine has no file loader yet";
    const std::string file = writeSampleFile("sample.tsv", rows);
    ASSERT_TRUE(start(file));
    const QString hits = QStringLiteral(" %1 hits").arg(rows);
    ASSERT_TRUE(waitFor([&] { return window_->statusPartText(2) == hits; }, 20000))
        << window_->statusPartText(2).toStdString();
  }
};

TEST_F(MainWindowTest, StartsWithItsCaptionMenusAndStatusBar) {
  ASSERT_TRUE(start());
  EXPECT_EQ(window_->windowTitle(), QStringLiteral(" Velmora ACCESS"));
  EXPECT_EQ(window_->statusPartText(0), QStringLiteral(" ready"));
  const QStringList file = menuTexts(window_->fileMenu());
  EXPECT_EQ(file.first(), QStringLiteral("&Open                               Ctrl+O"));
  EXPECT_EQ(file.last(), QStringLiteral("E&xit"));
  EXPECT_TRUE(file.contains(QStringLiteral("Load with Cont&rol            Ctrl+R")));
  EXPECT_EQ(window_->menuAction(ID_WATER_LEVEL)->text(), QStringLiteral("&Water Level     Ctrl+W"));
  EXPECT_TRUE(window_->menuAction(ID_WATER_LEVEL)->isCheckable());
  EXPECT_EQ(window_->toolbarAction(ID_STOP)->toolTip(), QStringLiteral(" Stop \n Ctrl+Z "));
  EXPECT_EQ(window_->toolbarAction(ID_SELECTOR)->toolTip(),
            QStringLiteral(" Selector \n (complex queries with visual feedback) "));
  // A command whose engine side is missing is disabled, never silently idle.
  EXPECT_TRUE(window_->isCommandEnabled(ID_OPEN_MODEL)) << "File > Open opens data files too";
  EXPECT_EQ(window_->isCommandEnabled(ID_SCATTER), hasExport("vlm_CreateDefaultModel"));
  EXPECT_EQ(window_->isCommandEnabled(ID_SELECTOR), hasExport("vlm_IsSelectorOn"));
  EXPECT_FALSE(window_->isCommandEnabled(ID_DELETE)) << "nothing to delete";
  EXPECT_TRUE(window_->isCommandEnabled(ID_ABOUT));
}

TEST_F(MainWindowTest, HostMessagesDriveTheStatusBar) {
  ASSERT_TRUE(start());
  // The start-up connection reports its (empty) table last: wait for it, so
  // that it does not overwrite the counts posted here.
  ASSERT_TRUE(waitFor([&] { return !window_->statusPartText(2).isEmpty(); }));
  vlm_PostMessage(HM_HITS, 70000, 3000000000u);
  ASSERT_TRUE(waitFor([&] { return window_->statusPartText(2).contains(QStringLiteral("70000")); }));
  EXPECT_EQ(window_->statusPartText(2), QStringLiteral(" 70000 hits (3000000000 total in database)"));
  EXPECT_EQ(window_->statusPartText(3), QStringLiteral("0 selected (0%)"));
  vlm_PostMessage(HM_PROGRESS_BEGIN, 0, 0);  // a last value of 0
  vlm_PostMessage(HM_PROGRESS_STEP, 99, 0);
  ASSERT_TRUE(waitFor([&] { return window_->progress()->current() == 0; }));
  vlm_PostMessage(HM_PROGRESS_BEGIN, 0, 10);
  vlm_PostMessage(HM_PROGRESS_STEP, 25, 0);
  ASSERT_TRUE(waitFor([&] { return window_->progress()->current() == 5; }));
  vlm_PostMessage(HM_PROGRESS_END, 0, 0);
  ASSERT_TRUE(waitFor([&] { return window_->progress()->current() == 0; }));
  EXPECT_EQ(window_->statusPartText(0), QStringLiteral(" ready"));
  vlm_PostMessage(HM_BUSY, 1, 0);
  if (hasExport("vlm_CancelAction")) {
    ASSERT_TRUE(waitFor([&] { return window_->toolbarAction(ID_STOP)->isEnabled(); }));
    vlm_PostMessage(HM_BUSY, 0, 0);
    ASSERT_TRUE(waitFor([&] { return !window_->toolbarAction(ID_STOP)->isEnabled(); }));
  }
  vlm_PostMessage(HM_LAYOUT, 1, 1);
  ASSERT_TRUE(waitFor([&] { return window_->toolbarStyle() == 1; }));
  EXPECT_EQ(window_->toolbar()->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
  EXPECT_EQ(window_->toolbarAction(ID_CALCULATOR)->text(), QStringLiteral("Calc"));
}

TEST_F(MainWindowTest, TheViewShowsTheSampleAndAClickShowsThenHidesThePanel) {
  startWithSample(20);
  if (IsSkipped() || HasFatalFailure()) return;
  if (!hasExport("vlm_CreateDefaultModel")) GTEST_SKIP() << "this engine builds no scene yet";
  QImage before;
  // The scene is built after the load: wait for the view to show something.
  ASSERT_TRUE(waitFor([&] {
    before = grabView(*window_);
    return distinctColours(before) > 8;
  }, 20000)) << "the view is blank: " << saveScreenshot(before, "blank-view").toStdString();
  // Then for the shaded objects, and for the frame to settle.
  QPoint hit(-1, -1);
  ASSERT_TRUE(waitFor([&] {
    QTest::qWait(300);
    const QImage now = grabView(*window_);
    const bool settled = now == before;
    before = now;
    hit = colouredPixel(before);
    return settled && hit.x() >= 0;
  }, 20000)) << "no object on the view: " << saveScreenshot(before, "no-objects").toStdString();
  saveScreenshot(before, "1-sample-loaded");
  QTest::mouseClick(window_->view(), Qt::LeftButton, Qt::NoModifier, hit);
  QImage shown;
  ASSERT_TRUE(waitFor([&] {
    shown = grabView(*window_);
    return differingShare(shown, before) > 0.001;
  })) << "the information panel did not appear";
  QTest::qWait(300);
  shown = grabView(*window_);
  saveScreenshot(shown, "2-object-information");
  QTest::qWait(400);  // not a double click
  QTest::mouseClick(window_->view(), Qt::LeftButton, Qt::NoModifier, hit);
  ASSERT_TRUE(waitFor([&] { return differingShare(grabView(*window_), before) < 0.001; }, 20000)) << "the panel stayed";
}

TEST_F(MainWindowTest, TheDeleteCommandAsksAndRemovesTheSelectedObjects) {
  startWithSample(20);
  if (IsSkipped() || HasFatalFailure()) return;
  ASSERT_TRUE(waitFor([&] { return window_->statusPartText(3) == QStringLiteral("20 selected (100%)"); }));
  // Keep two objects out of the selection; the other eighteen go.
  vlm_SelectObject(3);
  vlm_SelectObject(7);
  ASSERT_TRUE(waitFor([&] { return window_->statusPartText(3) == QStringLiteral("18 selected (90%)"); }));
  window_->refreshMenus();
  EXPECT_TRUE(window_->isCommandEnabled(ID_DELETE));
  auto box = std::make_shared<BoxAnswer>();
  answerNextBox(QMessageBox::Yes, box);
  // Command 61144 has no key (the Delete key removes an association instead).
  EXPECT_TRUE(window_->runCommand(ID_DELETE));
  ASSERT_TRUE(waitFor([&] { return window_->statusPartText(2) == QStringLiteral(" 2 hits (20 total in database)") ||
                                   window_->statusPartText(2) == QStringLiteral(" 2 hits"); }))
      << window_->statusPartText(2).toStdString();
  EXPECT_TRUE(box->seen);
  EXPECT_EQ(box->caption, QStringLiteral("Just to be sure..."));
  EXPECT_EQ(box->text, QStringLiteral("Do you want to delete the selected objects?\n\nYou can't revert this action."));
  EXPECT_EQ(window_->statusPartText(3), QStringLiteral("0 selected (0%)"));
  EXPECT_EQ(vlm_GetSelectedObjectType(), 0);
  saveScreenshot(grabView(*window_), "3-after-delete");
}

TEST_F(MainWindowTest, AnsweringNoKeepsTheObjects) {
  startWithSample(5);
  if (IsSkipped() || HasFatalFailure()) return;
  auto box = std::make_shared<BoxAnswer>();
  answerNextBox(QMessageBox::No, box);
  EXPECT_TRUE(window_->runCommand(ID_DELETE));
  EXPECT_TRUE(box->seen);
  QTest::qWait(300);
  EXPECT_EQ(window_->statusPartText(2), QStringLiteral(" 5 hits"));
}

TEST_F(MainWindowTest, CtrlVPastesAClipboardTable) {
  startWithSample(4);
  if (IsSkipped() || HasFatalFailure()) return;
  QApplication::clipboard()->setText(QStringLiteral("city\tpeople\nOslo\t700\nBergen\t290\nTromso\t77\n"));
  // No click and no menu refresh in between: Paste follows the clipboard.
  QTest::keyClick(window_->view(), Qt::Key_V, Qt::ControlModifier);
  ASSERT_TRUE(waitFor([&] { return window_->statusPartText(2) == QStringLiteral(" 3 hits"); }, 20000))
      << window_->statusPartText(2).toStdString();
  saveScreenshot(grabView(*window_), "4-pasted-table");
}

TEST_F(MainWindowTest, AnEighthFileKeepsSevenAndTheThirdReopensAtTheTop) {
  if (!canLoadFiles()) GTEST_SKIP() << "this engine has no file loader yet";
  ASSERT_TRUE(start(writeSampleFile("f1.tsv", 3)));
  ASSERT_TRUE(waitFor([&] { return window_->recentFiles().names.size() == 1; }, 20000));
  for (int i = 2; i <= 8; ++i) {
    const std::string file = writeSampleFile("f" + std::to_string(i) + ".tsv", 3 + i);
    host::engineExports().openFile(file.c_str(), 0);
    ASSERT_TRUE(waitFor([&] {
      return !window_->recentFiles().names.empty() && window_->recentFiles().names.front() == file;
    }, 20000)) << i;
  }
  const auto& names = window_->recentFiles().names;
  ASSERT_EQ(names.size(), 7u);
  EXPECT_NE(names.back().find("f2.tsv"), std::string::npos);
  const std::string third = names[2];
  EXPECT_NE(third.find("f6.tsv"), std::string::npos);
  // The menu shows them as "&1 name" ... above Exit.
  EXPECT_TRUE(window_->menuAction(ID_RECENT_FIRST + 2)->text().startsWith(QStringLiteral("&3 ")));
  ASSERT_TRUE(window_->runCommand(ID_RECENT_FIRST + 2));
  ASSERT_TRUE(waitFor([&] { return window_->recentFiles().names.front() == third; }, 20000));
  EXPECT_EQ(window_->recentFiles().names.size(), 7u);
  EXPECT_TRUE(window_->menuAction(ID_RECENT_FIRST)->text().endsWith(QString::fromStdString(third)));
  ASSERT_TRUE(waitFor([&] { return window_->statusPartText(2) == QStringLiteral(" 9 hits"); }));
}

// A model named on the command line comes with its data file; opened again
// from the recent files after other data, it brings them back.
TEST_F(MainWindowTest, AModelFromTheCommandLineAndTheRecentFilesComesWithItsData) {
  if (!canLoadFiles() || !hasExport("vlm_OpenModel")) GTEST_SKIP() << "this engine opens no model files";
  constexpr int kAxisX = 7, kAxisZ = 9;  // the attributes' numbers
  const std::string data = writeSampleFile("weighed.tsv", 6);
  const std::string model = data.substr(0, data.size() - 4) + ".vlm";
  {
    std::ofstream out(model, std::ios::binary);
    out << "[Source]\r\nApplication=TEXTFILE\r\nSource=weighed.tsv\r\nSourceFull=weighed.tsv\r\nTable=\r\n"
           "[Model]\r\nMappings=2\r\nField0=value\r\nAttribute0=ATTRIB_AXISZ\r\nScale0=50\r\n"
           "Field1=x\r\nAttribute1=ATTRIB_AXISX\r\nScale1=50\r\n"
           "[Calculator]\r\nCalculations=2\r\nFunction0=COUNT\r\nField1=value\r\nFunction1=SUM\r\n";
  }
  ASSERT_TRUE(start(model));
  ASSERT_TRUE(waitFor([&] { return window_->statusPartText(2) == QStringLiteral(" 6 hits"); }, 20000))
      << window_->statusPartText(2).toStdString();
  ASSERT_TRUE(waitFor([&] { return vlm_AttributeToField(kAxisZ) == 3; }, 20000));
  EXPECT_EQ(vlm_AttributeToField(kAxisX), 1);
  ASSERT_TRUE(waitFor([&] { return window_->windowTitle().contains(QStringLiteral(" - weighed")); }));
  // The model is listed after the data file it opened.
  ASSERT_TRUE(waitFor([&] { return !window_->recentFiles().names.empty() && window_->recentFiles().names.front() == model; }));

  const std::string other = writeSampleFile("other.tsv", 4);
  host::engineExports().openFile(other.c_str(), 0);
  ASSERT_TRUE(waitFor([&] { return window_->statusPartText(2) == QStringLiteral(" 4 hits"); }, 20000));
  ASSERT_TRUE(waitFor([&] { return window_->recentFiles().names.front() == other; }));
  const auto& names = window_->recentFiles().names;
  const auto at = std::find(names.begin(), names.end(), model);
  ASSERT_NE(at, names.end());
  ASSERT_TRUE(window_->runCommand(ID_RECENT_FIRST + static_cast<int>(at - names.begin())));
  ASSERT_TRUE(waitFor([&] { return window_->statusPartText(2) == QStringLiteral(" 6 hits"); }, 20000))
      << window_->statusPartText(2).toStdString();
  ASSERT_TRUE(waitFor([&] { return vlm_AttributeToField(kAxisZ) == 3; }, 20000));
  EXPECT_TRUE(waitFor([&] { return window_->recentFiles().names.front() == model; }));
}

TEST_F(MainWindowTest, CancelAtTheCloseQuestionKeepsTheProgramRunning) {
  startWithSample(6);
  if (IsSkipped() || HasFatalFailure()) return;
  // The hits are shown before the engine thread builds the default model,
  // which would leave the model saved again after the change below.
  ASSERT_TRUE(waitFor([] { return vlm_GetNumberOfAssociations() > 0; }, 20000));
  vlm_AssociateField(3, 0, 4, -1, 0);  // a change of the model: it is unsaved now
  ASSERT_EQ(vlm_IsSaved(), 0);
  if (!hasExport("vlm_ModelSave")) {
    // A question that Save cannot answer is not asked.
    auto none = std::make_shared<BoxAnswer>();
    answerNextBox(QMessageBox::Cancel, none);
    window_->close();
    EXPECT_FALSE(none->seen);
    EXPECT_FALSE(window_->engineRunning());
    return;
  }
  auto box = std::make_shared<BoxAnswer>();
  answerNextBox(QMessageBox::Cancel, box);
  window_->close();
  EXPECT_TRUE(box->seen);
  EXPECT_EQ(box->caption, QStringLiteral(" Velmora Quit"));
  EXPECT_EQ(box->text, QStringLiteral("Do you want to save your model?"));
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(window_->engineRunning());
  answerNextBox(QMessageBox::No, box);
  window_->close();
  EXPECT_FALSE(window_->engineRunning());
}

TEST_F(MainWindowTest, AWindowClosedMinimisedStartsMaximised) {
  {
    MainWindow w;
    w.showNormal();
    w.move(30, 40);
    w.resize(700, 500);
    QTest::qWait(100);
    w.close();
  }
  WindowPlacement p = readPlacement(1, 1);
  EXPECT_FALSE(p.maximised);
  EXPECT_EQ(p.width, 700);
  {
    MainWindow w;
    EXPECT_FALSE(w.windowState() & Qt::WindowMaximized);
    w.showMinimized();
    QTest::qWait(100);
    w.close();
  }
  EXPECT_TRUE(readPlacement(1, 1).maximised);
  MainWindow again;
  EXPECT_TRUE(again.windowState() & Qt::WindowMaximized);
}

TEST_F(MainWindowTest, RecentFilesAreReadWholeAndAtMostSeven) {
  vlm_WriteHostDword("LastFiles", 12, 0);
  const std::string longName = "/data/" + std::string(3000, 'x') + ".tsv";
  for (int i = 0; i < 12; ++i)
    vlm_WriteHostText(("LastFile" + std::to_string(i)).c_str(), i == 0 ? longName.c_str() : "/data/other.tsv");
  const RecentFiles list = readRecentFiles();
  ASSERT_EQ(list.names.size(), 7u);
  EXPECT_EQ(list.names[0], longName);
  MainWindow w;
  EXPECT_EQ(w.recentFiles().names.size(), 7u);
}

}  // namespace
}  // namespace vlm::test

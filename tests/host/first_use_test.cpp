// First use of the program under Xvfb: keys that keep the data, data files from
// File > Open, commands that say why they cannot act, the clipboard followed as
// it changes, colours after a resize, the legend at the top of the view, a
// double click that counts once, and the saved placement on the second start.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "engine/vlmapi.h"
#include "host/command_ids.h"
#include "host/engine_exports.h"
#include "host/main_window.h"
#include "host/support/host_fixture.h"
#include "host/view_window.h"
#include "host/window_settings.h"

namespace vlm::test {
namespace {

using namespace vlm::host;

constexpr int kColour = 1;  // ATTRIB_COLOR

int colouredPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 200; x < image.width(); x += 2) {
      const QColor c = image.pixelColor(x, y);
      n += c.hsvSaturation() > 150 && c.value() > 80;
    }
  return n;
}

// Answers the next file dialog with `path`, keeping the filters it offered.
void chooseInNextFileDialog(const QString& path, std::shared_ptr<QStringList> filters) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, path, filters] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    *filters = dialog->nameFilters();
    // selectFile() leaves the name field alone while it has the focus, which it
    // gains at some point after the dialog shows: type the whole path instead.
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!name) return;
    name->setText(path);
    QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    if (dialog->isVisible()) return;  // not taken yet: try again on the next tick
    timer->stop();
    timer->deleteLater();
  });
  timer->start(50);
}

std::string writeFile(const std::string& name, const std::string& text) {
  const char* dir = std::getenv("XDG_CONFIG_HOME");
  const std::string path = std::string(dir ? dir : "/tmp") + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

bool haveX11Clipboard() {
  return QGuiApplication::platformName() == QStringLiteral("xcb") && std::system("command -v xclip >/dev/null 2>&1") == 0;
}

class FirstUseTest : public HostTest {
 protected:
  void startWithSample(int rows) {
    if (!hasExport("vlm_OpenFile")) GTEST_SKIP() << "this engine has no file loader yet";
    ASSERT_TRUE(start(writeSampleFile("sample.tsv", rows)));
    waitForHits(rows);
  }
  void waitForHits(int rows) {
    const QString hits = QStringLiteral(" %1 hits").arg(rows);
    ASSERT_TRUE(waitFor([&] { return window_->statusPartText(2) == hits; }, 20000))
        << window_->statusPartText(2).toStdString();
  }
  // Waits until the objects show their colours and the frame settles.
  QImage settledView() {
    QImage before, now;
    waitFor([&] {
      QTest::qWait(250);
      now = grabView(*window_);
      const bool settled = now == before && colouredPixel(now).x() >= 0;
      before = now;
      return settled;
    }, 20000);
    return now;
  }
  // Runs a command that should answer with a message box; its text.
  QString boxFor(int command) {
    auto box = std::make_shared<BoxAnswer>();
    answerNextBox(QMessageBox::Ok, box);
    EXPECT_TRUE(window_->runCommand(command)) << command;
    waitFor([&] { return box->seen; }, 10000);  // slow under the thread sanitizer
    return box->seen ? box->text : QString();
  }
};

TEST_F(FirstUseTest, TheDeleteKeyRemovesTheCurrentAttributesFieldAndKeepsEveryRow) {
  startWithSample(20);
  if (IsSkipped() || HasFatalFailure()) return;
  // The count of associations may go up before the new one names its field.
  int attribute = -1;
  ASSERT_TRUE(waitFor([&] {
    for (int a = 1; a <= 20 && attribute < 0; ++a)
      if (vlm_AttributeToField(a) >= 0) attribute = a;
    return attribute > 0;
  }, 20000));
  vlm_SelectObject(2000000100 + attribute);  // its legend line: the current attribute
  ASSERT_TRUE(waitFor([] { return vlm_GetSelectedObjectType() == 2; }));
  auto box = std::make_shared<BoxAnswer>();
  answerNextBox(QMessageBox::Yes, box);  // answers a question, were one asked
  QTest::keyClick(window_->view(), Qt::Key_Delete);
  ASSERT_TRUE(waitFor([&] { return vlm_AttributeToField(attribute) < 0; })) << "the association stayed";
  QTest::qWait(300);
  EXPECT_FALSE(box->seen) << "no question: no row goes";
  EXPECT_EQ(window_->statusPartText(2), QStringLiteral(" 20 hits"));
  EXPECT_EQ(window_->statusPartText(3), QStringLiteral("20 selected (100%)"));
  // Escape does the same for the next one.
  int next = -1;
  for (int a = 1; a <= 20 && next < 0; ++a)
    if (vlm_AttributeToField(a) >= 0) next = a;
  if (next > 0) {
    vlm_SelectObject(2000000100 + next);
    QTest::qWait(200);
    QTest::keyClick(window_->view(), Qt::Key_Escape);
    EXPECT_TRUE(waitFor([&] { return vlm_AttributeToField(next) < 0; }));
    EXPECT_EQ(window_->statusPartText(2), QStringLiteral(" 20 hits"));
  }
  saveScreenshot(grabView(*window_), "first-use-after-delete-key");
}

TEST_F(FirstUseTest, FileOpenListsModelsAndDataFilesAndOpensACsv) {
  ASSERT_TRUE(start());
  const std::string csv =
      writeFile("airports.csv", "iata,name,latitude,longitude\n00M,Thigpen,31.95376472,-89.23450472\n"
                                "00R,Livingston Municipal,30.68586111,-95.01792778\n"
                                "00V,Meadow Lake,38.94574889,-104.5698933\n");
  auto filters = std::make_shared<QStringList>();
  chooseInNextFileDialog(QString::fromStdString(csv), filters);
  ASSERT_TRUE(window_->runCommand(ID_OPEN_MODEL));
  waitForHits(3);
  EXPECT_TRUE(filters->contains(QStringLiteral("Velmora Model Files (*.vlm)"))) << filters->join('|').toStdString();
  EXPECT_TRUE(filters->contains(QStringLiteral("Text Files (Tab delimited) (*.txt *.tsv *.tab)")));
  EXPECT_TRUE(filters->contains(QStringLiteral("CSV Files (Comma delimited) (*.csv)")));
  EXPECT_EQ(filters->last(), QStringLiteral("All Files (*)"));
  ASSERT_TRUE(waitFor([&] { return !window_->recentFiles().names.empty(); }));
  EXPECT_EQ(window_->recentFiles().names.front(), csv);
  EXPECT_TRUE(window_->windowTitle().contains(QStringLiteral("airports.csv"))) << window_->windowTitle().toStdString();
}

TEST_F(FirstUseTest, FileOpenOfAKindItCannotReadSaysWhyAndKeepsTheData) {
  startWithSample(4);
  if (IsSkipped() || HasFatalFailure()) return;
  const std::string pdf = writeFile("report.pdf", "%PDF-1.4\n");
  auto filters = std::make_shared<QStringList>();
  chooseInNextFileDialog(QString::fromStdString(pdf), filters);
  auto box = std::make_shared<BoxAnswer>();
  answerNextBox(QMessageBox::Ok, box);
  ASSERT_TRUE(window_->runCommand(ID_OPEN_MODEL));
  ASSERT_TRUE(waitFor([&] { return box->seen; }, 5000)) << "no word why";
  EXPECT_TRUE(box->text.contains(QStringLiteral("report.pdf"))) << box->text.toStdString();
  QTest::qWait(300);
  EXPECT_EQ(window_->statusPartText(2), QStringLiteral(" 4 hits"));
}

TEST_F(FirstUseTest, LoadAndGoToSayWhyTheyCannotActAndKeepAPastedTable) {
  ASSERT_TRUE(start());
  if (!hasExport("vlm_Load")) GTEST_SKIP();
  QTest::qWait(300);
  EXPECT_TRUE(boxFor(ID_LOAD).contains(QStringLiteral("File > Open")));
  EXPECT_TRUE(boxFor(ID_GOTO).contains(QStringLiteral("File > Open")));
  QApplication::clipboard()->setText(QStringLiteral("city\tpeople\nOslo\t700\nBergen\t290\n"));
  QTest::keyClick(window_->view(), Qt::Key_V, Qt::ControlModifier);
  waitForHits(2);
  EXPECT_TRUE(boxFor(ID_LOAD).contains(QStringLiteral("pasted"))) << "Ctrl+L names why";
  EXPECT_TRUE(boxFor(ID_GOTO).contains(QStringLiteral("clipboard")));
  QTest::qWait(300);
  EXPECT_EQ(window_->statusPartText(2), QStringLiteral(" 2 hits")) << "the pasted table stays";
}

TEST_F(FirstUseTest, PasteFollowsAnotherProgramSettingTheClipboard) {
  if (!haveX11Clipboard()) GTEST_SKIP() << "needs the xcb platform and xclip";
  startWithSample(4);
  if (IsSkipped() || HasFatalFailure()) return;
  QApplication::clipboard()->setText(QStringLiteral("just words"));
  ASSERT_TRUE(waitFor([&] { return !window_->isCommandEnabled(ID_PASTE); }));
  // Another program takes the clipboard; no click in the window follows.
  std::system("printf 'city\\tpeople\\nOslo\\t700\\nBergen\\t290\\nTromso\\t77\\n' | "
              "timeout 20 xclip -selection clipboard -i -loops 5 >/dev/null 2>&1 &");
  ASSERT_TRUE(waitFor([&] { return window_->isCommandEnabled(ID_PASTE); }, 10000))
      << "Paste did not follow the clipboard";
  QTest::keyClick(window_->view(), Qt::Key_V, Qt::ControlModifier);
  waitForHits(3);
}

TEST_F(FirstUseTest, ObjectsKeepTheirColoursAfterAResizeAndAnArrangement) {
  startWithSample(30);
  if (IsSkipped() || HasFatalFailure()) return;
  const QImage before = settledView();
  ASSERT_GT(colouredPixels(before), 20) << saveScreenshot(before, "resize-before").toStdString();
  window_->resize(760, 560);
  QImage after = settledView();
  saveScreenshot(after, "resize-smaller");
  EXPECT_GT(colouredPixels(after), 20) << "grey after a resize";
  window_->runCommand(ID_CASCADE);
  QTest::qWait(500);
  window_->runCommand(ID_TILE);
  after = settledView();
  saveScreenshot(after, "resize-tiled");
  EXPECT_GT(colouredPixels(after), 20) << "grey after Tile";
}

TEST_F(FirstUseTest, ObjectsThatAllShareOneColourAreDrawnInIt) {
  if (!hasExport("vlm_OpenFile")) GTEST_SKIP() << "this engine has no file loader yet";
  std::string text = "symbol\tprice\tvolume\n";
  for (int i = 0; i < 20; ++i) text += "AAPL\t" + std::to_string(10 + 7 * i) + "\t" + std::to_string(1 + 3 * i) + "\n";
  ASSERT_TRUE(start(writeFile("one-symbol.tsv", text)));
  waitForHits(20);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(waitFor([] { return vlm_AttributeToField(kColour) == 0; }, 20000)) << "colour is not bound to symbol";
  const QImage view = settledView();
  saveScreenshot(view, "one-colour");
  EXPECT_GT(colouredPixels(view), 50) << "the objects are drawn grey";
}

TEST_F(FirstUseTest, TheColourBarStandsAtTheTopOfTheView) {
  startWithSample(20);
  if (IsSkipped() || HasFatalFailure()) return;
  const QImage view = settledView();
  saveScreenshot(view, "legend-top");
  // The bar reaches from 2 to 152 pixels below the top: the toolbar lies above the view.
  int coloured = 0;
  for (int y = 4; y < 30; ++y) coloured += view.pixelColor(15, y).hsvSaturation() > 100;
  EXPECT_GT(coloured, 20) << "the legend is pushed down";
}

TEST_F(FirstUseTest, ADoubleClickOnTheLegendPlusRotatesTwice) {
  startWithSample(20);
  if (IsSkipped() || HasFatalFailure()) return;
  ASSERT_TRUE(waitFor([] { return vlm_GetNumberOfAssociations() > 0; }, 20000));
  if (vlm_AttributeToField(kColour) < 0) vlm_AssociateField(3, 0, kColour, -1, 0);
  ASSERT_TRUE(waitFor([] { return vlm_AttributeToField(kColour) >= 0; }));
  vlm_SelectObject(2000000100 + kColour);
  ASSERT_TRUE(waitFor([] { return vlm_GetSelectedObjectType() == 2; }));
  settledView();
  const int before = vlm_AttributeToField(kColour);
  // The colour line is the legend's first: two line heights and the colour
  // bar below the top; its plus button spans x 10..19 and 9 pixels upwards.
  const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  const int lineHeight = QFontMetrics(font).height();
  const QPoint plus(14, 2 * lineHeight + 150 - 4);
  QTest::mouseDClick(window_->view(), Qt::LeftButton, Qt::NoModifier, plus);
  const int fields = 4;  // name, x, y, value
  const int expected = (before + 2) % fields;
  ASSERT_TRUE(waitFor([&] { return vlm_AttributeToField(kColour) == expected; }, 5000))
      << "from field " << before << " to " << vlm_AttributeToField(kColour);
  QTest::qWait(500);
  EXPECT_EQ(vlm_AttributeToField(kColour), expected) << "a third step";
}

// The panel's hint promises a menu on a double click or a right click.
TEST_F(FirstUseTest, TheInformationPanelsMenuHintIsAnswered) {
  startWithSample(20);
  if (IsSkipped() || HasFatalFailure()) return;
  const QPoint object = colouredPixel(settledView());
  ASSERT_GE(object.x(), 0);
  auto shown = std::make_shared<int>(0);
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [shown] {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      ++*shown;
      popup->close();
    }
  });
  timer->start(50);
  QTest::mouseDClick(window_->view(), Qt::LeftButton, Qt::NoModifier, object);
  EXPECT_TRUE(waitFor([&] { return *shown > 0; }, 5000)) << "no menu on a double click";
  const int afterDoubleClick = *shown;
  QTest::qWait(500);
  QTest::mouseClick(window_->view(), Qt::RightButton, Qt::NoModifier, object);
  EXPECT_TRUE(waitFor([&] { return *shown > afterDoubleClick; }, 5000)) << "no menu on a right click";
  timer->stop();
  timer->deleteLater();
}

TEST_F(FirstUseTest, TheSavedPlacementIsHonouredOnTheSecondStart) {
  ASSERT_TRUE(start());  // the first run arranges the windows
  QTest::qWait(300);
  window_->showNormal();
  window_->setGeometry(60, 70, 720, 520);
  QTest::qWait(300);
  window_->close();
  window_.reset();
  EXPECT_EQ(vlm_ReadHostDword("FirstRun", 1), 0u);
  const WindowPlacement saved = readPlacement(1, 1);
  ASSERT_EQ(saved.width, 720);
  ASSERT_FALSE(saved.maximised);
  window_ = std::make_unique<MainWindow>();
  window_->show();
  ASSERT_TRUE(window_->startEngine());
  window_->afterStart({});
  QTest::qWait(500);
  EXPECT_EQ(window_->width(), 720) << "re-arranged over the saved placement";
  EXPECT_EQ(window_->height(), 520);
  EXPECT_FALSE(window_->isMaximized());
}

}  // namespace
}  // namespace vlm::test

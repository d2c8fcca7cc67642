// The popup menus, the Grid, Setup Options, help and the Tip of the Day driven
// as a user drives them under Xvfb: right-clicks in the view, clicks and drags
// in the Grid, the real colour dialog, F1.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

#include "engine/vlmapi.h"
#include "host/command_ids.h"
#include "host/main_window.h"
#include "host/support/host_fixture.h"
#include "host/view_window.h"

namespace vlm::test {
namespace {

using namespace vlm::host;

constexpr int kAttribSize = 2;
constexpr int kRowBackground = 0, kRowAxes = 3, kRowAxesColour = 4, kRowArrowSize = 8;

// What the next popup menu showed; `path` is followed in it (a submenu's text
// opens it, the last text is chosen), an empty path closes it.
struct MenuSeen {
  QString name;
  QStringList items;
  bool seen = false;
  bool done = false;
};

void followInNextMenu(QStringList path, std::shared_ptr<MenuSeen> seen) {
  auto* timer = new QTimer;
  auto rest = std::make_shared<QStringList>(std::move(path));
  QObject::connect(timer, &QTimer::timeout, [timer, rest, seen] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    if (!seen->seen) {
      seen->seen = true;
      seen->name = menu->objectName();
      for (QAction* a : menu->actions())
        if (!a->isSeparator()) seen->items << a->text();
    }
    auto finish = [&] {
      seen->done = true;
      timer->stop();
      timer->deleteLater();
    };
    if (rest->isEmpty()) {
      menu->close();
      finish();
      return;
    }
    QAction* action = nullptr;
    for (QAction* a : menu->actions())
      if (a->text() == rest->front()) action = a;
    if (!action) {
      menu->close();
      finish();
      return;
    }
    rest->pop_front();
    menu->setActiveAction(action);
    if (action->menu()) {
      QTest::keyClick(menu, Qt::Key_Right);  // the submenu becomes the active popup
    } else {
      QTest::keyClick(menu, Qt::Key_Return);
      finish();
    }
  });
  timer->start(40);
}

// Answers the next colour dialog with `colour`.
void answerNextColourDialog(QColor colour, std::shared_ptr<bool> seen) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, colour, seen] {
    auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    dialog->setCurrentColor(colour);
    dialog->accept();
    *seen = true;
    timer->stop();
    timer->deleteLater();
  });
  timer->start(50);
}

template <typename T>
T* topLevel(const char* name) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String(name))
      if (auto* t = qobject_cast<T*>(w)) return t;
  for (QWidget* w : QApplication::allWidgets())
    if (w->objectName() == QLatin1String(name))
      if (auto* t = qobject_cast<T*>(w)) return t;
  return nullptr;
}

class PopupMenusTest : public HostTest {
 protected:
  // Starts on a sample with its default model drawn.
  void startDrawn() {
    if (!hasExport("vlm_OpenFile") || !hasExport("vlm_CreateDefaultModel")) GTEST_SKIP() << "no loader or scene";
    ASSERT_TRUE(start(writeSampleFile("sample.tsv", 30)));
    ASSERT_TRUE(waitFor([&] { return window_->statusPartText(2) == QStringLiteral(" 30 hits"); }, 20000));
    ASSERT_TRUE(waitFor([] { return vlm_GetNumberOfAssociations() >= 4; }, 20000));
    QTest::qWait(300);
  }

  // Right-clicks the view at `at` and reports the menu that opened (closed again).
  QString menuAt(QPoint at) {
    auto seen = std::make_shared<MenuSeen>();
    followInNextMenu({}, seen);
    QTest::mouseClick(window_->view(), Qt::RightButton, Qt::NoModifier, at);
    waitFor([&] { return seen->done; }, 4000);
    return seen->name;
  }

  QListWidget* gridList() { return topLevel<QListWidget>("gridList"); }

  // The list item of a Grid row (item data is the row).
  QListWidgetItem* gridItem(int row) {
    QListWidget* list = gridList();
    for (int i = 0; list && i < list->count(); ++i)
      if (list->item(i)->data(Qt::UserRole).toInt() == row) return list->item(i);
    return nullptr;
  }

  void openGrid() {
    if (!vlm_IsGridOn()) {
      ASSERT_TRUE(window_->runCommand(ID_GRID));
    }
    ASSERT_TRUE(waitFor([&] { return gridItem(kRowBackground) != nullptr; }));
    gridList()->window()->resize(330, 560);
    QTest::qWait(100);
  }

  void clickGrid(int row, int x, Qt::MouseButton button = Qt::LeftButton) {
    QListWidgetItem* item = gridItem(row);
    ASSERT_NE(item, nullptr) << row;
    const QRect r = gridList()->visualItemRect(item);
    QTest::mouseClick(gridList()->viewport(), button, Qt::NoModifier, QPoint(r.left() + x, r.center().y()));
  }
};

// Right-click on a legend line opens its menu; a field chosen under Map Data
// binds it, and the legend shows the new line.
TEST_F(PopupMenusTest, ALegendLineBindsTheFieldChosenFromItsMenu) {
  startDrawn();
  if (IsSkipped() || HasFatalFailure()) return;
  // The sample's fields are name, x, y and value: the Size line takes another one.
  const int field = vlm_AttributeToField(kAttribSize) == 1 ? 2 : 1;
  const QString fieldName = field == 1 ? QStringLiteral("x") : QStringLiteral("y");
  window_->runCommand(ID_LEGEND);  // every attribute gets its legend line
  ASSERT_TRUE(waitFor([] { return vlm_GetDefaultLabels() == 1; }));
  QTest::qWait(300);
  // Down the legend: the Color line comes first, the Size line next.
  int sizeY = -1;
  bool colourSeen = false;
  for (int y = 40; y < 420 && sizeY < 0; y += 6) {
    const QString name = menuAt(QPoint(24, y));
    if (name == QLatin1String("Color")) colourSeen = true;
    if (colourSeen && name == QLatin1String("Mapping")) sizeY = y;
  }
  ASSERT_GT(sizeY, 0) << "no Size line found: " << saveScreenshot(grabView(*window_), "legend-lines").toStdString();
  auto seen = std::make_shared<MenuSeen>();
  followInNextMenu({QStringLiteral("Map Data"), fieldName}, seen);
  QTest::mouseClick(window_->view(), Qt::RightButton, Qt::NoModifier, QPoint(24, sizeY));
  ASSERT_TRUE(waitFor([&] { return seen->done; }, 5000));
  EXPECT_EQ(seen->items, (QStringList{"Map Data", "Linear", "Log N", "Exp", "Reverse", "Positive",
                                      "&Reset            DEL", "&Rotate Field    TAB"}));
  ASSERT_TRUE(waitFor([&] { return vlm_AttributeToField(kAttribSize) == field; }, 10000));
  QTest::qWait(500);
  saveScreenshot(grabView(*window_), "5-size-bound-from-the-legend-menu");
}

TEST_F(PopupMenusTest, AGridSwitchHidesItsChildren) {
  startDrawn();
  if (IsSkipped() || HasFatalFailure()) return;
  openGrid();
  ASSERT_NE(gridItem(kRowArrowSize), nullptr);
  saveScreenshot(gridList()->window()->grab().toImage(), "6-grid");
  clickGrid(kRowAxes, 150);
  ASSERT_TRUE(waitFor([&] { return gridItem(kRowArrowSize) == nullptr; }));
  for (int row = 4; row <= 8; ++row) EXPECT_EQ(gridItem(row), nullptr) << row;
  saveScreenshot(gridList()->window()->grab().toImage(), "7-grid-axes-off");
  clickGrid(kRowAxes, 150);
  ASSERT_TRUE(waitFor([&] { return gridItem(kRowArrowSize) != nullptr; }));
}

TEST_F(PopupMenusTest, AGridSliderDraggedPastItsEndTakesTheGreatestValue) {
  startDrawn();
  if (IsSkipped() || HasFatalFailure()) return;
  openGrid();
  QListWidgetItem* item = gridItem(kRowArrowSize);
  ASSERT_NE(item, nullptr);
  const QRect r = gridList()->visualItemRect(item);
  QWidget* viewport = gridList()->viewport();
  const int y = r.center().y();
  QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(r.left() + 140, y));
  for (int x = 140; x <= r.width() + 60; x += 20) QTest::mouseMove(viewport, QPoint(r.left() + x, y));
  QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(r.right() + 60, y));
  // The row shows the greatest value.
  EXPECT_EQ(gridItem(kRowArrowSize)->data(Qt::AccessibleDescriptionRole).toString(), QStringLiteral("100"));
  saveScreenshot(gridList()->window()->grab().toImage(), "8-grid-slider-at-the-end");
  // Read again from the settings, it stays.
  clickGrid(kRowAxes, 150);
  clickGrid(kRowAxes, 150);
  ASSERT_TRUE(waitFor([&] { return gridItem(kRowArrowSize) != nullptr; }));
  EXPECT_EQ(gridItem(kRowArrowSize)->data(Qt::AccessibleDescriptionRole).toString(), QStringLiteral("100"));
}

TEST_F(PopupMenusTest, ABackgroundOfBrightnessPointFourSelectsTheLightScheme) {
  startDrawn();
  if (IsSkipped() || HasFatalFailure()) return;
  openGrid();
  auto answered = std::make_shared<bool>(false);
  answerNextColourDialog(QColor(0x66, 0x66, 0x66), answered);
  clickGrid(kRowBackground, 150);
  ASSERT_TRUE(waitFor([&] { return *answered; }));
  ASSERT_TRUE(waitFor([] { return vlm_GetColorSetup(kRowBackground) == 0x666666u; }));
  EXPECT_EQ(vlm_GetColorSetup(kRowAxesColour), 0x333333u) << "the light scheme's dark axes";
  QTest::qWait(500);
  saveScreenshot(grabView(*window_), "9-grey-background");
}

TEST_F(PopupMenusTest, TheGridMenuClosesTheGrid) {
  startDrawn();
  if (IsSkipped() || HasFatalFailure()) return;
  openGrid();
  auto seen = std::make_shared<MenuSeen>();
  followInNextMenu({QStringLiteral("Close Grid")}, seen);
  clickGrid(kRowAxes, 20, Qt::RightButton);
  ASSERT_TRUE(waitFor([&] { return seen->done; }));
  EXPECT_EQ(seen->items, (QStringList{"Grid ...", "Setup ...", "Close Grid"}));
  EXPECT_TRUE(waitFor([] { return vlm_IsGridOn() == 0; }));
  EXPECT_FALSE(gridList()->window()->isVisible());
}

TEST_F(PopupMenusTest, HelpWithoutALegendLineOpensTheQuickCard) {
  startDrawn();
  if (IsSkipped() || HasFatalFailure()) return;
  vlm_SetSelectedObjectType(0);
  QTest::keyClick(window_->view(), Qt::Key_F1);
  QTextBrowser* browser = nullptr;
  ASSERT_TRUE(waitFor([&] {
    browser = topLevel<QTextBrowser>("helpBrowser");
    return browser && browser->window()->isVisible();
  }));
  EXPECT_TRUE(browser->source().path().endsWith(QLatin1String("quick_card.html")));
  EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Quick Card")));
  QTest::qWait(200);
  saveScreenshot(browser->window()->grab().toImage(), "10-help-quick-card");
  window_->runCommand(ID_HELP_INDEX);
  EXPECT_TRUE(waitFor([&] { return browser->toPlainText().startsWith(QStringLiteral("Index")); }));
}

TEST_F(PopupMenusTest, OptionsOpenSetup) {
  startDrawn();
  if (IsSkipped() || HasFatalFailure()) return;
  ASSERT_TRUE(window_->runCommand(ID_OPTIONS));
  QWidget* setup = nullptr;
  ASSERT_TRUE(waitFor([&] {
    setup = topLevel<QWidget>("setup");
    return setup && setup->isVisible();
  }));
  EXPECT_EQ(setup->windowTitle(), QStringLiteral(" Setup Options"));
  QTest::qWait(200);
  saveScreenshot(setup->grab().toImage(), "11-setup-options");
  auto* imageAndText = setup->findChild<QRadioButton*>(QStringLiteral("imageAndText"));
  ASSERT_NE(imageAndText, nullptr);
  imageAndText->click();
  EXPECT_TRUE(waitFor([&] { return window_->toolbarStyle() == 1; })) << "the toolbar gets its texts";
}

TEST_F(PopupMenusTest, TheTipOfTheDayGreetsUntilDisabled) {
  if (!hasExport("vlm_OpenFile")) GTEST_SKIP();
  tipsAtStart_ = true;
  ASSERT_TRUE(start());
  QDialog* tip = nullptr;
  ASSERT_TRUE(waitFor([&] {
    tip = topLevel<QDialog>("tipOfTheDay");
    return tip && tip->isVisible();
  }));
  EXPECT_EQ(tip->windowTitle(), QStringLiteral(" Tip of the Day"));
  saveScreenshot(tip->grab().toImage(), "12-tip-of-the-day");
  tip->findChild<QCheckBox*>(QStringLiteral("disableTips"))->setChecked(true);
  tip->accept();
  EXPECT_EQ(vlm_ReadHostDword("ShowTips", 1), 0u);
}

}  // namespace
}  // namespace vlm::test

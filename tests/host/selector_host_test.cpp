// The Selector from the program: the Tools menu opens and closes it with its
// check mark, its queries move the status bar's counts, and a row's menu asked
// for by the window comes up through the host and acts on the row; Delete
// removes only what the queries and the clicks left selected.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "engine/host_messages.h"
#include "engine/vlmapi.h"
#include "host/command_ids.h"
#include "host/main_window.h"
#include "host/support/host_fixture.h"

namespace vlm::test {
namespace {

using namespace vlm::host;

class SelectorHostTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    if (!hasExport("vlm_OpenSelector") || !hasExport("vlm_OpenFile")) GTEST_SKIP() << "no Selector in this engine";
    // name: item0 .. item19; x: 0, 10, 20, 30, 40 four times each.
    ASSERT_TRUE(start(writeSampleFile("selector.tsv", 20)));
    ASSERT_TRUE(waitFor([&] { return window_->statusPartText(3) == QStringLiteral("20 selected (100%)"); }, 20000))
        << window_->statusPartText(3).toStdString();
  }
  QString selected() const { return window_->statusPartText(3); }
};

TEST_F(SelectorHostTest, ToolsSelectorOpensAndClosesTheWindowWithItsCheckMark) {
  EXPECT_TRUE(window_->runCommand(ID_SELECTOR));
  EXPECT_EQ(vlm_IsSelectorOn(), 1);
  ASSERT_TRUE(waitFor([&] {
    window_->refreshMenus();
    return window_->menuAction(ID_SELECTOR)->isChecked();
  }));
  QWidget* selector = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->windowTitle() == QStringLiteral(" Selector") && w->isVisible()) selector = w;
  ASSERT_NE(selector, nullptr);
  EXPECT_GE(selector->width(), 200);
  saveScreenshot(selector->grab().toImage(), "selector-in-the-program");
  EXPECT_TRUE(window_->runCommand(ID_SELECTOR));
  EXPECT_EQ(vlm_IsSelectorOn(), 0);
  EXPECT_FALSE(selector->isVisible()) << "hidden, not destroyed";
  ASSERT_TRUE(waitFor([&] {
    window_->refreshMenus();
    return !window_->menuAction(ID_SELECTOR)->isChecked();
  }));
}

TEST_F(SelectorHostTest, TheStatusBarCountsFollowTheQueries) {
  window_->runCommand(ID_SELECTOR);
  vlm_UpdateSelector(61076, 0, 0);  // None on the name's Samples row
  EXPECT_TRUE(waitFor([&] { return selected() == QStringLiteral("0 selected (0%)"); })) << selected().toStdString();
  vlm_UpdateSelector(61075, 0, 0);  // All
  EXPECT_TRUE(waitFor([&] { return selected() == QStringLiteral("20 selected (100%)"); })) << selected().toStdString();
}

TEST_F(SelectorHostTest, TheMenuOfARowComesUpThroughTheHostAndItsChoiceActs) {
  window_->runCommand(ID_SELECTOR);
  QTest::qWait(500);  // the window has its rows, as when the user clicks one
  QStringList offered;
  QTimer::singleShot(300, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) offered << a->text() + (a->isEnabled() ? "" : " (grey)");
    for (QAction* a : menu->actions())
      if (a->text() == QStringLiteral("Item Slider")) menu->setActiveAction(a);
    QTest::keyClick(menu, Qt::Key_Return);
  });
  // What the window sends for a right click on the x row.
  vlm_SendMessage(HM_SHOW_SELECTOR_MENU, 1, 1);
  EXPECT_EQ(offered, (QStringList{"Range Slider", "Item Slider", "Samples", "Substring (grey)", "All", "None (grey)"}));
  vlm_PlaySlider(1);
  EXPECT_TRUE(waitFor([&] { return selected() == QStringLiteral("4 selected (20%)"); })) << selected().toStdString();
  vlm_CancelAction();
}

TEST_F(SelectorHostTest, DeleteRemovesOnlyTheObjectsStillSelected) {
  window_->runCommand(ID_SELECTOR);
  vlm_UpdateSelector(61072, 1, 0);  // an Item Slider on x
  vlm_PlaySlider(1);                // one step: a single value of x
  ASSERT_TRUE(waitFor([&] { return selected() == QStringLiteral("4 selected (20%)"); })) << selected().toStdString();
  vlm_CancelAction();
  int32_t first = -1;
  for (int32_t s = 0; s < 20 && first < 0; ++s)
    if (vlm_IsObjectSelected(s) != 0) first = s;
  ASSERT_GE(first, 0);
  vlm_SelectObject(first);  // a click takes one of them out again
  ASSERT_TRUE(waitFor([&] { return selected() == QStringLiteral("3 selected (15%)"); })) << selected().toStdString();
  vlm_SetConfirmation(0);
  EXPECT_TRUE(window_->runCommand(ID_DELETE));
  EXPECT_TRUE(waitFor([] { return vlm_GetNumberOfHits() == 17; })) << vlm_GetNumberOfHits();
  EXPECT_TRUE(waitFor([&] { return selected().startsWith(QStringLiteral("0 selected")); })) << selected().toStdString();
}

}  // namespace
}  // namespace vlm::test

// A double click on a database tree item loads it; the menu its first
// click's release asks for must not open and take the second click.
#include <QApplication>
#include <QObject>
#include <QTest>

#include <gtest/gtest.h>

#include "host/tree_menu_delay.h"

namespace vlm::host {
namespace {

constexpr uint32_t kTreeItem = 2000000401u;
constexpr int kLeft = 1, kRight = 2;

class TreeMenuDelayTest : public ::testing::Test {
 protected:
  void ask(uint32_t name) {
    delay.showMenu(&context, name, [this] { ++shown; });
  }
  void waitPastInterval() { QTest::qWait(QApplication::doubleClickInterval() + 150); }

  QObject context;
  TreeMenuDelay delay;
  int shown = 0;
};

TEST_F(TreeMenuDelayTest, OtherMenusAndRightClicksOpenAtOnce) {
  delay.noteRelease(kLeft);
  ask(2000000010u);  // an axis element
  EXPECT_EQ(shown, 1);
  delay.noteRelease(kRight);
  ask(kTreeItem);
  EXPECT_EQ(shown, 2);
  ask(7);  // a sample
  EXPECT_EQ(shown, 3);
}

TEST_F(TreeMenuDelayTest, ATreeItemsMenuOpensOnceNoSecondClickCame) {
  delay.noteRelease(kLeft);
  ask(kTreeItem);
  EXPECT_EQ(shown, 0);
  waitPastInterval();
  EXPECT_EQ(shown, 1);
}

TEST_F(TreeMenuDelayTest, ADoubleClickDropsTheMenusOfBothReleases) {
  delay.noteRelease(kLeft);
  ask(kTreeItem);  // the first click's release
  QTest::qWait(50);
  delay.noteDoubleClick();
  delay.noteRelease(kLeft);
  ask(kTreeItem);  // the second click's release, after the double click
  waitPastInterval();
  EXPECT_EQ(shown, 0);
  // A single click later opens the menu again.
  waitPastInterval();
  delay.noteRelease(kLeft);
  ask(kTreeItem);
  waitPastInterval();
  EXPECT_EQ(shown, 1);
}

TEST_F(TreeMenuDelayTest, AWaitingMenuGoesWithItsWindow) {
  auto* owner = new QObject;
  delay.noteRelease(kLeft);
  delay.showMenu(owner, kTreeItem, [this] { ++shown; });
  delete owner;
  waitPastInterval();
  EXPECT_EQ(shown, 0);
}

}  // namespace
}  // namespace vlm::host

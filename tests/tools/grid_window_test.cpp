// The Grid window driven as a user would: opening at a clamped place, the
// switches, sliders and colours of its rows, its menu request, F1, closing
// (hidden, not destroyed) and its place kept in the settings.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>

#include <atomic>

#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/host_messages.h"
#include "engine/vlmapi.h"
#include "model/space_settings_table.h"
#include "platform/registry_store.h"
#include "tools/grid/grid_rows.h"
#include "tools/grid/grid_window.h"
#include "tools/help/help_topics.h"
#include "tools/support/tools_fixture.h"
#include "tools/tool_window.h"
#include "tools/tools_state.h"

namespace vlm::tools {
namespace {

class GridTest : public test::ToolsTest {
 protected:
  GridWindow* grid() { return toolsOf(*state_).grid; }
  int32_t row(int32_t r) {
    platform::DataLockGuard lock(state_->main->dataLock);
    return state_->view->space.rows[static_cast<size_t>(r)].value;
  }
  bool listed(int32_t r) { return grid()->itemOfRow(r) != nullptr; }
  // Opens the Grid and waits until it could read the rows (a rebuild may hold them).
  void openGrid() {
    vlm_OpenGrid();
    ASSERT_TRUE(test::waitUntil([this] { return listed(kRowBackgroundColor); }));
  }
  // A press at x in row r of the list, as the mouse gives it.
  void click(int32_t r, int x, Qt::MouseButton button = Qt::LeftButton) {
    QListWidgetItem* item = grid()->itemOfRow(r);
    ASSERT_NE(item, nullptr) << r;
    const QRect rect = grid()->list()->visualItemRect(item);
    QTest::mouseClick(grid()->list()->viewport(), button, {}, QPoint(rect.left() + x, rect.center().y()));
  }
};

TEST_F(GridTest, OpensClampedAndClosesHidden) {
  state_->main->settings.grid.rect = {100000, -50, 40, 30};
  EXPECT_EQ(vlm_IsGridOn(), 0);
  vlm_OpenGrid();
  ASSERT_NE(grid(), nullptr);
  EXPECT_EQ(vlm_IsGridOn(), 1);
  EXPECT_EQ(grid()->windowTitle(), " Grid");
  const QRect desk = desktopRect();
  const QRect g = grid()->geometry();
  EXPECT_GE(g.width(), 200);
  EXPECT_GE(g.height(), 100);
  EXPECT_TRUE(desk.contains(g)) << "inside the desktop";
  EXPECT_EQ(grid()->list()->count(), static_cast<int>(shownGridRows(grid()->rows()).size()));
  GridWindow* first = grid();
  vlm_CloseGrid();
  EXPECT_EQ(vlm_IsGridOn(), 0);
  EXPECT_FALSE(first->isVisible());
  EXPECT_EQ(state_->main->settings.grid.rect.width, std::max(200, g.width()));
  // The close box hides it as well.
  vlm_OpenGrid();
  EXPECT_EQ(grid(), first) << "made once, shown again";
  QCloseEvent close;
  QCoreApplication::sendEvent(first, &close);
  EXPECT_EQ(vlm_IsGridOn(), 0);
  EXPECT_NE(toolsOf(*state_).grid, nullptr);
}

TEST_F(GridTest, AStoredPlaceOfNothingTakesTheDefault) {
  state_->main->settings.grid.rect = {0, 0, 0, 0};
  vlm_OpenGrid();
  const WindowRect r = clampToolRect({0, 0, 0, 0}, {10, 10, 220, 300}, desktopRect());
  EXPECT_EQ(grid()->geometry().size(), QSize(r.width, r.height));
  EXPECT_EQ(clampToolRect({50, 60, 300, 400}, {}, QRect(0, 0, 1280, 1024)).x, 50);
  EXPECT_EQ(clampToolRect({1200, 60, 300, 400}, {}, QRect(0, 0, 1280, 1024)).x, 980);
  EXPECT_EQ(clampToolRect({-7, -9, 150, 50}, {}, QRect(0, 0, 1280, 1024)).width, 200);
  EXPECT_EQ(storedToolRect(QRect(-5, -6, 150, 90)).x, 0);
  EXPECT_EQ(storedToolRect(QRect(-5, -6, 150, 90)).height, 100);
}

TEST_F(GridTest, ASwitchHidesItsChildrenAndShowsThemAgain) {
  if (!openWindow()) GTEST_SKIP() << "no GL context";
  openGrid();
  ASSERT_TRUE(listed(kRowArrowType));
  const int before = rebuilds();
  click(kRowAxes, 150);
  // The list follows at once, or once a rebuild that holds the settings is done.
  ASSERT_TRUE(test::waitUntil([&] { return !listed(kRowArrowType); }));
  EXPECT_EQ(row(kRowAxes), 0);
  for (int32_t r = 4; r <= 8; ++r) EXPECT_FALSE(listed(r)) << r;
  ASSERT_TRUE(waitForRebuild(before));
  click(kRowAxes, 150);
  ASSERT_TRUE(test::waitUntil([&] { return listed(kRowArrowType); }));
  for (int32_t r = 4; r <= 8; ++r) EXPECT_TRUE(listed(r)) << r;
}

TEST_F(GridTest, ANameCutByTheNarrowColumnIsReadWholeFromItsTip) {
  if (!openWindow()) GTEST_SKIP() << "no GL context";
  openGrid();
  QListWidgetItem* item = grid()->itemOfRow(kRowLabelColorByObject);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->data(Qt::ToolTipRole).toString(), QStringLiteral("Color by Object"));
}

TEST_F(GridTest, ASliderDraggedPastItsEndTakesTheGreatestValue) {
  vlm_OpenGrid();
  grid()->resize(320, 500);
  QListWidgetItem* item = grid()->itemOfRow(kRowArrowSize);
  ASSERT_NE(item, nullptr);
  const QRect rect = grid()->list()->visualItemRect(item);
  const GridRowLayout l = layOutGridRow(rect, grid()->rows().rows[kRowArrowSize], grid()->list()->fontMetrics());
  QWidget* viewport = grid()->list()->viewport();
  QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(l.trackStart, rect.center().y()));
  EXPECT_EQ(row(kRowArrowSize), 5) << "the start of the track is the least value";
  QMouseEvent move(QEvent::MouseMove, QPointF(l.trackEnd + 80, rect.center().y()), viewport->mapToGlobal(QPointF(l.trackEnd + 80, rect.center().y())),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &move);
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(l.trackEnd + 80, rect.center().y()));
  EXPECT_EQ(row(kRowArrowSize), 100);
  EXPECT_EQ(grid()->rows().rows[kRowArrowSize].value, 100) << "the row shows it";
  // A click in the middle of the track.
  QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint((l.trackStart + l.trackEnd) / 2, rect.center().y()));
  EXPECT_NEAR(row(kRowArrowSize), 52, 2);
}

TEST_F(GridTest, TheBackgroundColourPicksTheSchemeByItsBrightness) {
  answerDialogs({[](uint32_t) -> std::optional<uint32_t> { return 0x666666; }, {}});
  vlm_GridSetColor(kRowBackgroundColor, 0);
  vlm_OpenGrid();
  click(kRowBackgroundColor, 150);
  EXPECT_EQ(state_->view->space.scheme, 2);
  EXPECT_EQ(vlm_GetColorSetup(kRowBackgroundColor), 0x666666u);
  EXPECT_EQ(grid()->rows().rows[kRowBackgroundColor].colorref, 0x666666u);
  answerDialogs({[](uint32_t) -> std::optional<uint32_t> { return 0x202020; }, {}});
  click(kRowBackgroundColor, 150);
  EXPECT_EQ(state_->view->space.scheme, 1);
  answerDialogs({[](uint32_t) -> std::optional<uint32_t> { return std::nullopt; }, {}});
  click(kRowBackgroundColor, 150);
  EXPECT_EQ(vlm_GetColorSetup(kRowBackgroundColor), 0x202020u) << "a cancelled dialog changes nothing";
}

TEST_F(GridTest, TheFontRowOpensTheFontDialog) {
  answerDialogs({{}, [](const platform::FontChoice&) -> std::optional<platform::FontChoice> {
                   return platform::FontChoice{"DejaVu Sans Mono", 12, 700, false};
                 }, {}});
  vlm_OpenGrid();
  click(kRowLabelFont, 150);
  EXPECT_EQ(state_->view->space.labelFont.face, "DejaVu Sans Mono");
  EXPECT_EQ(textRowText(grid()->rows(), kRowLabelFont), "DejaVu Sans Mono (Bold, 12)");
}

TEST_F(GridTest, TheStereoSwitchGoesToTheEngineThread) {
  static std::atomic<int> stereo{-1};
  stereo = -1;
  const CommandHandler real = engineHandlers().find(CMD_SET_STEREO);
  engineHandlers().set(CMD_SET_STEREO, [](EngineState&, const platform::Command& c) {
    stereo = static_cast<int>(c.wParam);
    return true;
  });
  if (!openWindow()) {
    engineHandlers().set(CMD_SET_STEREO, real);
    GTEST_SKIP() << "no GL context";
  }
  openGrid();
  click(kRowStereo, 150);
  ASSERT_TRUE(test::waitUntil([] { return stereo.load() >= 0; }));
  EXPECT_EQ(stereo.load(), 1);
  EXPECT_EQ(state_->main->settings.stereoGridItem, 1);
  EXPECT_TRUE(test::waitUntil([&] { return listed(kRowEyeOffset); }));
  engineHandlers().set(CMD_SET_STEREO, real);
}

TEST_F(GridTest, WithoutStereoTheSwitchTurnsOffAgainAndDrawingGoesOn) {
  if (!openWindow()) GTEST_SKIP() << "no GL context";
  openGrid();
  click(kRowStereo, 150);
  ASSERT_TRUE(test::waitUntil([&] { return !boxes_->boxes().empty(); }));
  if (boxes_->boxes()[0].text.find("mono") == std::string::npos) GTEST_SKIP() << "this display gives stereo";
  EXPECT_EQ(boxes_->boxes()[0].caption, " Grid 3D STEREO Setting");
  ASSERT_TRUE(test::waitUntil([&] { return grid()->rows().rows[kRowStereo].value == 0; }));
  EXPECT_EQ(row(kRowStereo), 0);
  EXPECT_EQ(state_->main->settings.stereoGridItem, 0);
  EXPECT_FALSE(listed(kRowEyeOffset));
  const int before = rebuilds();
  vlm_UpdateModel(0);
  EXPECT_TRUE(waitForRebuild(before)) << "the engine thread still runs";
}

TEST_F(GridTest, TheNameAreaAndTheRightButtonAskForTheGridMenu) {
  struct Filter : QObject {
    std::vector<int> rows;
    bool eventFilter(QObject*, QEvent* e) override {
      vlm_host_message m{};
      if (e->type() == vlm_HostMessageEventType() && vlm_ReadHostMessage(e, &m) && m.message == HM_SHOW_GRID_MENU)
        rows.push_back(static_cast<int>(m.wParam));
      return false;
    }
  } filter;
  host_->installEventFilter(&filter);
  int fontDialogs = 0;
  answerDialogs({{}, [&fontDialogs](const platform::FontChoice&) -> std::optional<platform::FontChoice> {
                   ++fontDialogs;
                   return std::nullopt;
                 }, {}});
  vlm_OpenGrid();
  click(kRowCube, 40);
  click(kRowCube, 150, Qt::RightButton);
  click(kRowLabelFont, 95);  // a text row's control begins earlier
  EXPECT_EQ(filter.rows, (std::vector<int>{kRowCube, kRowCube}));
  EXPECT_EQ(fontDialogs, 1);
  EXPECT_EQ(row(kRowCube), 0) << "none of these changed the row";
  host_->removeEventFilter(&filter);
}

TEST_F(GridTest, TheGridMenuReturnsTheChoice) {
  choose(40125);
  EXPECT_EQ(vlm_ShowGridMenu(3, 0), 40125);
  EXPECT_EQ(shownMenus().back().name, "Grid");
  EXPECT_EQ(vlm_ShowGridMenu(73, 0), 0) << "no such row";
}

TEST_F(GridTest, F1OpensTheGridPage) {
  std::string page;
  const HelpOpener previous = setHelpOpener([&page](const HelpRequest& r) {
    page = r.page;
    return true;
  });
  vlm_OpenGrid();
  QTest::keyClick(grid()->list(), Qt::Key_F1);
  EXPECT_EQ(page, "grid.html");
  setHelpOpener(previous);
}

TEST_F(GridTest, ItsPlaceIsKeptForTheNextStart) {
  vlm_OpenGrid();
  grid()->setGeometry(120, 140, 260, 380);
  vlm_DeinitSystem();  // still open: its place is written with the settings
  platform::RegistryStore& store = platform::RegistryStore::instance();
  const std::string root = "SOFTWARE\\Velmora\\Velmora.Access\\";
  EXPECT_EQ(store.readDword(platform::RegistryRoot::CurrentUser, root, "GridX").value_or(0), 120u);
  EXPECT_EQ(store.readDword(platform::RegistryRoot::CurrentUser, root, "GridWidth").value_or(0), 260u);
  EXPECT_EQ(store.readDword(platform::RegistryRoot::CurrentUser, root, "GridHeight").value_or(0), 380u);
}

TEST_F(GridTest, ArrangingOpensTheGridInTheLowestThird) {
  vlm_AutoArrange(1);
  ASSERT_EQ(vlm_IsGridOn(), 1);
  QCoreApplication::processEvents();
  const QRect desk = desktopRect();
  const QRect g = grid()->geometry();
  EXPECT_EQ(g.x(), desk.x() + desk.width() * 75 / 100);
  EXPECT_EQ(g.y(), desk.y() + 2 * (desk.height() / 3));
}

}  // namespace
}  // namespace vlm::tools

// The Selector through the C API and its window, with the engine's threads
// running: open and close, menu commands, play, geometry, and the mouse and
// keys on the rows (under Xvfb; screenshots go to $VLM_SCREENSHOT_DIR).
#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>

#include "engine/host_messages.h"
#include "engine/vlmapi.h"
#include "platform/registry_store.h"
#include "tools/menus/menu_tracker.h"
#include "tools/selector/selector_menu.h"
#include "tools/selector/selector_rules.h"
#include "tools/selector/selector_window.h"
#include "tools/support/selector_fixture.h"

namespace vlm {
namespace {

using namespace selector;

// 40 rows: id 1..40, a real, a kind of four values, a date per row, a name per row.
std::string tableText() {
  std::string t = "id\tprice\tkind\tday\tname\r\n";
  const char* kinds[] = {"alpha", "beta", "gamma", "delta"};
  for (int i = 1; i <= 40; ++i) {
    char day[16];
    std::snprintf(day, sizeof day, "2020-%02d-%02d", (i * 7) % 12 + 1, i % 28 + 1);
    t += std::to_string(i) + "\t" + std::to_string(i * 2) + ".5\t" + kinds[i % 4] + "\t" + day + "\tperson" +
         std::to_string(i) + "\r\n";
  }
  return t;
}

enum Field { kId = 0, kPrice = 1, kKind = 2, kDay = 3, kName = 4 };

class SelectorWindowTest : public test::SelectorTest {
 protected:
  void open() {
    startWith(tableText());
    vlm_OpenSelector();
    ASSERT_EQ(vlm_IsSelectorOn(), 1);
    ASSERT_TRUE(waitFor([this] { return list() && list()->items().size() >= 5; }));
    selector::windowWidget()->resize(360, 420);
    waitFor([] { return false; }, 50);
  }
  int64_t lastHitsSelected() {
    flushHostMessages();
    const auto hits = messagesOf(HM_HITS);
    return hits.empty() ? -1 : hits.back().extra;
  }
};

TEST_F(SelectorWindowTest, APasteSelectsEverythingAndTheWindowShowsARowPerField) {
  open();
  EXPECT_EQ(vlm_GetNumberOfSelected(), 40);
  EXPECT_EQ(lastHitsSelected(), 40);
  QWidget* w = selector::windowWidget();
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->windowTitle(), QStringLiteral(" Selector"));
  EXPECT_EQ(method(kId), kRangeSlider);
  EXPECT_EQ(method(kKind), kSamples);
  EXPECT_EQ(method(kDay), kRangeSlider);
  EXPECT_EQ(method(kName), kSubstring);
  // One item per field, and one more per value of the Samples row after its first.
  EXPECT_EQ(list()->items().size(), 5u + 3u);
  const QImage shot = grab();
  saveShot(shot, QStringLiteral("selector-opened"));
  EXPECT_EQ(shot.pixelColor(shot.width() - 3, shot.height() - 3), QColor(176, 184, 190))
      << "the list's background";
}

TEST_F(SelectorWindowTest, MenuCommandsNarrowTheSelectionAndTheCountsFollow) {
  open();
  clearMessages();
  EXPECT_EQ(vlm_UpdateSelector(kCommandNone, kKind, 0), 1);
  EXPECT_TRUE(waitFor([] { return vlm_GetNumberOfSelected() == 0; }));
  EXPECT_TRUE(waitFor([this] { return lastHitsSelected() == 0; }));
  vlm_UpdateSelector(kCommandAll, kKind, 0);
  EXPECT_TRUE(waitFor([] { return vlm_GetNumberOfSelected() == 40; }));
  vlm_UpdateSelector(kCommandItem, kId, 0);
  EXPECT_TRUE(waitFor([this] { return method(kId) == kItemSlider; }));
  vlm_UpdateSelector(kCommandSubstring, kId, 0);
  EXPECT_EQ(settledSelected(), 40);
  EXPECT_EQ(method(kId), kItemSlider) << "an integer field has no Substring";
  EXPECT_TRUE(waitFor([this] { return list()->row(kId) && list()->row(kId)->method == kItemSlider; }));
}

TEST_F(SelectorWindowTest, PlayStepsTheItemRowAndWrapsUntilACancel) {
  open();
  vlm_UpdateSelector(kCommandItem, kKind, 0);
  ASSERT_TRUE(waitFor([this] { return method(kKind) == kItemSlider; }));
  clearMessages();
  std::vector<int32_t> seen;
  auto currentItem = [&] {
    int32_t item = -1;
    read([&](const DataTable& t) {
      const DataField& f = t.fields[kKind];
      item = f.selector.all ? -1 : f.selectorLow.i;
    });
    return item;
  };
  // Read before the play starts: its first step may come before the first poll.
  seen.push_back(currentItem());
  vlm_PlaySlider(kKind);
  EXPECT_TRUE(waitFor([&] {
    const int32_t item = currentItem();
    if (seen.back() != item) seen.push_back(item);
    return seen.size() >= 6;
  }, 8000));
  vlm_CancelAction();
  EXPECT_EQ(state_->main->selector.playing.load(), 0);
  ASSERT_GE(seen.size(), 6u);
  // The first step leaves *** ALL *** for the first value; after the fourth value the first again.
  const std::vector<int32_t> expected{-1, 0, 1, 2, 3, 0};
  EXPECT_EQ(std::vector<int32_t>(seen.begin(), seen.begin() + 6), expected);
  flushHostMessages();
  const auto busy = messagesOf(HM_BUSY);
  ASSERT_FALSE(busy.empty());
  EXPECT_EQ(busy.front().wParam, 1u);
  const int32_t count = settledSelected();
  waitFor([] { return false; }, 700);
  EXPECT_EQ(vlm_GetNumberOfSelected(), count) << "no step after the cancel";
}

TEST_F(SelectorWindowTest, AClickInTheWindowStopsPlay) {
  open();
  vlm_UpdateSelector(kCommandItem, kKind, 0);
  ASSERT_TRUE(waitFor([this] { return method(kKind) == kItemSlider; }));
  vlm_PlaySlider(kKind);
  ASSERT_TRUE(waitFor([] { return vlm_GetNumberOfSelected() == 10; }));
  clearMessages();
  press(QPoint(20, 5));
  release(QPoint(20, 5));
  EXPECT_EQ(state_->main->selector.playing.load(), 0);
  flushHostMessages();
  const auto busy = messagesOf(HM_BUSY);
  ASSERT_FALSE(busy.empty());
  EXPECT_EQ(busy.back().wParam, 0u);
}

TEST_F(SelectorWindowTest, DraggingTheLowThumbNarrowsTheRange) {
  open();
  const int y = trackY(kId);
  const int lowX = list()->lowPixel(kId);
  const int highX = list()->highPixel(kId);
  ASSERT_LT(lowX, highX);
  press(QPoint(lowX, y));
  for (int x = lowX; x <= (lowX + highX) / 2; x += 7) move(QPoint(x, y));
  move(QPoint((lowX + highX) / 2, y));
  release(QPoint((lowX + highX) / 2, y));
  EXPECT_TRUE(waitFor([] { return vlm_GetNumberOfSelected() > 15 && vlm_GetNumberOfSelected() < 25; }))
      << vlm_GetNumberOfSelected();
  EXPECT_TRUE(waitFor([this] { return lastHitsSelected() == vlm_GetNumberOfSelected(); }));
  const selector::RowView* row = list()->row(kId);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->highText, "40");
  EXPECT_EQ(row->lowText, std::to_string(static_cast<int>(row->low)));
  EXPECT_EQ(40 - static_cast<int>(row->low) + 1, vlm_GetNumberOfSelected());
  saveShot(grab(), QStringLiteral("selector-range-dragged"));
}

TEST_F(SelectorWindowTest, TypingASubstringNarrowsTheNames) {
  open();
  const int index = itemOf(kName);
  const QPoint at(200, list()->itemTop(index) + 6);
  press(at);
  release(at);
  QTest::keyClicks(list(), QStringLiteral("SON3"));
  // "person3" and "person30" .. "person39" contain "son3" without regard to case.
  EXPECT_TRUE(waitFor([] { return vlm_GetNumberOfSelected() == 11; })) << vlm_GetNumberOfSelected();
  EXPECT_EQ(list()->row(kName)->text, "SON3");
  saveShot(grab(), QStringLiteral("selector-substring"));
  QTest::keyClick(list(), Qt::Key_Backspace);
  EXPECT_TRUE(waitFor([] { return vlm_GetNumberOfSelected() == 40; })) << "SON matches every name";
}

TEST_F(SelectorWindowTest, ClickingAValueOfASamplesRowTogglesIt) {
  open();
  const int first = itemOf(kKind);
  // The Samples row's lines: alpha, beta, delta, gamma.
  const QPoint beta(160, list()->itemTop(first + 1) + 6);
  press(beta);
  release(beta);
  EXPECT_TRUE(waitFor([] { return vlm_GetNumberOfSelected() == 30; }));
  EXPECT_TRUE(waitFor([this] { return !list()->row(kKind)->values[1].selected; }));
  saveShot(grab(), QStringLiteral("selector-samples-toggled"));
  press(beta);
  release(beta);
  EXPECT_TRUE(waitFor([] { return vlm_GetNumberOfSelected() == 40; }));
}

TEST_F(SelectorWindowTest, ARightClickAsksTheHostForTheMenuOfTheRow) {
  open();
  clearMessages();
  const int first = itemOf(kKind);
  press(QPoint(200, list()->itemTop(first + 2) + 6), Qt::RightButton);
  flushHostMessages();
  const auto asks = messagesOf(HM_SHOW_SELECTOR_MENU);
  ASSERT_EQ(asks.size(), 1u);
  EXPECT_EQ(asks[0].wParam, (2u << 16) | static_cast<uint32_t>(kKind)) << "(value index << 16) | field";
  EXPECT_EQ(asks[0].lParam, static_cast<uintptr_t>(first + 2));
  clearMessages();
  press(QPoint(30, list()->itemTop(itemOf(kId)) + 6));  // left of the control
  flushHostMessages();
  EXPECT_EQ(messagesOf(HM_SHOW_SELECTOR_MENU).size(), 1u);
}

TEST_F(SelectorWindowTest, TheMenuOfARowOffersWhatItsFieldAllowsAndRunsTheChoice) {
  open();
  tools::Menu offered;
  tools::setMenuChooser([&](const tools::Menu& menu) {
    offered = menu;
    return kCommandSingle;
  });
  vlm_ShowSelectorMenu((1u << 16) | kKind, 0);
  ASSERT_FALSE(offered.items.empty());
  EXPECT_EQ(offered.name, "SEL_Samples");
  auto find = [&](int32_t id) {
    const tools::MenuItem* m = tools::findCommand(offered, id);
    return m ? *m : tools::MenuItem{};
  };
  EXPECT_FALSE(find(kCommandRange).enabled) << "texts have no range";
  EXPECT_TRUE(find(kCommandSubstring).enabled);
  EXPECT_TRUE(find(kCommandMultiple).checked);
  EXPECT_TRUE(waitFor([] { return vlm_GetNumberOfSelected() == 10; })) << "Single keeps the current value only";

  tools::setMenuChooser([&](const tools::Menu& menu) {
    offered = menu;
    return kCommandSubstring;
  });
  vlm_ShowSelectorMenu(kId, 0);
  EXPECT_FALSE(find(kCommandSubstring).enabled);
  EXPECT_EQ(settledSelected(), 10);
  EXPECT_EQ(method(kId), kRangeSlider) << "a greyed item chosen anyway does nothing";
}

TEST_F(SelectorWindowTest, TheEditSelectionBoxOpensOnARangeRowAndAppliesItsValues) {
  open();
  bool seen = false;
  QString min, max;
  QTimer::singleShot(200, [&] {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!box) return;
    seen = true;
    EXPECT_EQ(box->windowTitle(), QStringLiteral(" Edit Selection"));
    min = box->findChild<QLineEdit*>(QStringLiteral("min"))->text();
    max = box->findChild<QLineEdit*>(QStringLiteral("max"))->text();
    box->findChild<QLineEdit*>(QStringLiteral("min"))->setText(QStringLiteral("11"));
    box->findChild<QLineEdit*>(QStringLiteral("distance"))->setText(QStringLiteral("4"));
    saveShot(box->grab().toImage(), QStringLiteral("selector-edit-box"));
    box->accept();
  });
  doubleClick(QPoint(200, trackY(kId)));
  EXPECT_TRUE(seen);
  EXPECT_EQ(min, QStringLiteral("1"));
  EXPECT_EQ(max, QStringLiteral("40"));
  EXPECT_TRUE(waitFor([] { return vlm_GetNumberOfSelected() == 5; })) << "11 to 15";
}

TEST_F(SelectorWindowTest, ClosingStoresTheRectangleAndTheNextOpenClampsIt) {
  open();
  QWidget* w = selector::windowWidget();
  w->move(40, 60);
  w->resize(300, 250);
  waitFor([] { return false; }, 50);
  clearMessages();
  vlm_CloseSelector();
  EXPECT_EQ(vlm_IsSelectorOn(), 0);
  EXPECT_FALSE(w->isVisible());
  flushHostMessages();
  EXPECT_FALSE(messagesOf(HM_REFRESH).empty());
  const WindowRect r = state_->main->settings.selector.rect;
  EXPECT_EQ(r.width, 300);
  EXPECT_EQ(r.height, 250);
  EXPECT_GE(r.x, 0);

  state_->main->settings.selector.rect = {-4000, -4000, 20, 10};
  vlm_OpenSelector();
  EXPECT_EQ(vlm_IsSelectorOn(), 1);
  EXPECT_EQ(w->width(), 200);
  EXPECT_EQ(w->height(), 100);
  const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(desk.contains(w->frameGeometry().topLeft()));

  vlm_CloseSelector();
  state_->main->settings.selector.rect = {0, 0, 0, 0};
  vlm_OpenSelector();
  EXPECT_GE(w->width(), 220) << "nothing stored: the default size";
}

TEST_F(SelectorWindowTest, TheRectangleOutlivesTheEngine) {
  open();
  selector::windowWidget()->resize(321, 234);
  waitFor([] { return false; }, 50);
  vlm_DeinitSystem();
  EXPECT_EQ(selector::windowWidget(), nullptr) << "destroyed at teardown";
  platform::RegistryStore& store = platform::RegistryStore::instance();
  const std::string root = "SOFTWARE\\Velmora\\Velmora.Access\\";
  auto read = [&](const char* name, uint32_t otherwise) {
    return store.readDword(platform::RegistryRoot::CurrentUser, root, name).value_or(otherwise);
  };
  EXPECT_EQ(read("SelectorWidth", 0), 321u);
  EXPECT_EQ(read("SelectorHeight", 0), 234u);
  EXPECT_EQ(read("Selector", 1), 1u) << "open at the end";
}

TEST_F(SelectorWindowTest, AnotherPasteRebuildsTheRowsInTheOpenWindow) {
  open();
  ASSERT_TRUE(paste("a\tb\r\n1\tx\r\n2\ty\r\n"));
  EXPECT_TRUE(waitFor([this] { return list()->items().size() == 3u; }));
  EXPECT_EQ(list()->row(0)->name, "a");
  EXPECT_EQ(vlm_GetNumberOfSelected(), 2);
}

}  // namespace
}  // namespace vlm

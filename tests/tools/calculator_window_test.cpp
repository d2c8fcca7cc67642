// The Calculator through the C API on a running engine: the window, its rows
// after a load, the menu's commands, speaking, and following the selection.
#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/host_messages.h"
#include "engine/picking/selection_ops.h"
#include "engine/vlmapi.h"
#include "sources/support/source_fixture.h"
#include "tools/calculator/calculator.h"
#include "tools/calculator/calculator_menu.h"
#include "tools/calculator/calculator_rows.h"
#include "tools/calculator/calculator_window.h"
#include "tools/menus/menu_tracker.h"

namespace vlm::calculator {
namespace {

const char* kTable =
    "Name\tPrice\tWeight\r\n"
    "a\t10\t1.5\r\n"
    "b\t20\t\r\n"
    "c\t2147483647\t4\r\n"
    "d\t40\t8.5\r\n";

class CalculatorWindowTest : public test::SourceTest {
 protected:
  void SetUp() override {
    SourceTest::SetUp();
    previousSpeech_ = speech();
    speech().speak = [this](const std::string& text) {
      std::lock_guard lock(mutex_);
      spoken_.push_back(text);
    };
    speech().speakWait = [this](const std::string& text, int32_t ms) {
      std::lock_guard lock(mutex_);
      spoken_.push_back(text + " (" + std::to_string(ms) + ")");
    };
    start();
    ASSERT_TRUE(paste(kTable));
  }
  void TearDown() override {
    tools::setMenuChooser(nullptr);
    speech() = previousSpeech_;
    SourceTest::TearDown();
  }
  // The rows as the window shows them, once it has taken the latest.
  std::vector<CalculatorView::Row> shown() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    auto view = shownView();
    return view ? view->rows : std::vector<CalculatorView::Row>{};
  }
  std::string resultOf(const std::string& label) {
    for (const auto& r : shown())
      if (r.label == label) return r.result;
    return "(no row " + label + ")";
  }
  std::vector<std::string> spoken() {
    std::lock_guard lock(mutex_);
    return spoken_;
  }

  Speech previousSpeech_;
  std::mutex mutex_;
  std::vector<std::string> spoken_;
};

TEST_F(CalculatorWindowTest, OpensWithTheDefaultRowsOfTheLoadedTable) {
  vlm_OpenCalculator();
  ASSERT_EQ(vlm_IsCalculatorOn(), 1);
  ASSERT_NE(windowWidget(), nullptr);
  EXPECT_EQ(windowWidget()->windowTitle(), " Calculator");
  EXPECT_TRUE(windowWidget()->isVisible());
  EXPECT_GE(windowWidget()->width(), 200);
  EXPECT_GE(windowWidget()->height(), 100);
  // Three fields: Sum, Average, Min and Max of each of the two numeric ones.
  const auto rows = shown();
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(rows[0].label, "Count =");
  EXPECT_EQ(rows[0].result, "4");
  EXPECT_EQ(rows[1].result, "100%");
  EXPECT_EQ(resultOf("Sum (Price) ="), "2,147,483,717");
  EXPECT_EQ(resultOf("Average (Price) ="), "536,870,929");
  EXPECT_EQ(resultOf("Sum (Weight) ="), "14");
  EXPECT_EQ(resultOf("Average (Weight) ="), "4.667");  // over the three values present
  EXPECT_EQ(resultOf("Min (Weight) ="), "1.5");
  EXPECT_EQ(resultOf("Max (Weight) ="), "8.5");
  // The first row is spoken when the Calculator speaks.
  EXPECT_TRUE(rows[0].spoken);
  EXPECT_FALSE(spoken().empty());
  EXPECT_EQ(spoken().back(), "4");

  vlm_CloseCalculator();
  EXPECT_EQ(vlm_IsCalculatorOn(), 0);
  EXPECT_FALSE(windowWidget()->isVisible());
  const WindowRect& r = state().main->settings.calculator.rect;
  EXPECT_GE(r.width, 200);
  EXPECT_GE(r.height, 100);
}

TEST_F(CalculatorWindowTest, FollowsTheSelection) {
  vlm_OpenCalculator();
  {
    platform::DataLockGuard lock(state().main->dataLock);
    state().model->selectionFlags[1] = 0;
    state().model->selectionFlags[3] = 0;
    state().model->selectedCount = 2;
    // A click on an object toggles it: the Calculator follows.
    selectObjectLocked(state(), 3);
  }
  EXPECT_EQ(resultOf("Count ="), "3");
  EXPECT_EQ(resultOf("Percent ="), "75%");
  EXPECT_EQ(resultOf("Average (Weight) ="), "4.667");
  {
    platform::DataLockGuard lock(state().main->dataLock);
    clearSelectionLocked(state());
  }
  EXPECT_EQ(resultOf("Count ="), "N/A");
  EXPECT_EQ(resultOf("Sum (Price) ="), "N/A");
  {
    platform::DataLockGuard lock(state().main->dataLock);
    invertSelectionLocked(state());
  }
  EXPECT_EQ(resultOf("Percent ="), "100%");
}

TEST_F(CalculatorWindowTest, MenuCommands) {
  vlm_OpenCalculator();
  vlm_UpdateCalculator(MENU_REMOVE_ALL, -1);
  EXPECT_TRUE(shown().empty());
  vlm_UpdateCalculator(MENU_FUNCTION_FIRST + CALC_MAX, -1);  // no row: a Max row on the first field
  vlm_UpdateCalculator(MENU_FIELD_FIRST + 2, -1);            // no row: a Count row
  auto rows = shown();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].label, "Max (Name) =");
  EXPECT_EQ(rows[0].result, "N/A");  // a text field
  EXPECT_EQ(rows[1].label, "Count =");
  vlm_UpdateCalculator(MENU_FIELD_FIRST + 1, 0);  // the row takes Price
  EXPECT_EQ(resultOf("Max (Price) ="), "2,147,483,647");
  vlm_UpdateCalculator(MENU_FUNCTION_FIRST + CALC_MIN, 0);
  EXPECT_EQ(resultOf("Min (Price) ="), "10");
  vlm_UpdateCalculator(MENU_FIELD_FIRST + 99, 0);  // a field the table does not have
  EXPECT_EQ(resultOf("Min (Price) ="), "10");
  vlm_UpdateCalculator(MENU_REMOVE_THIS, 0);
  rows = shown();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].label, "Count =");
  vlm_UpdateCalculator(MENU_DEFAULT, -1);
  EXPECT_EQ(shown().size(), 10u);
  vlm_UpdateCalculator(MENU_REMOVE_VARIABLE, 2);  // every row on Price
  rows = shown();
  EXPECT_EQ(rows.size(), 6u);
  EXPECT_TRUE(std::none_of(rows.begin(), rows.end(), [](const auto& r) { return r.label.find("Price") != std::string::npos; }));
}

TEST_F(CalculatorWindowTest, SpeakMarksOneRowAndSaysItsLabel) {
  vlm_OpenCalculator();
  vlm_UpdateCalculator(MENU_SPEAK, 1);
  auto rows = shown();
  EXPECT_FALSE(rows[0].spoken);
  EXPECT_TRUE(rows[1].spoken);
  const auto said = spoken();
  ASSERT_GE(said.size(), 2u);
  EXPECT_EQ(said[said.size() - 2], "100%");             // the result, as it was calculated
  EXPECT_EQ(said.back(), "Percent = (2000)");           // the label, waiting two seconds at most
  vlm_UpdateCalculator(MENU_SPEAK, 1);                  // the spoken row stops speaking
  rows = shown();
  EXPECT_TRUE(std::none_of(rows.begin(), rows.end(), [](const auto& r) { return r.spoken; }));
}

TEST_F(CalculatorWindowTest, TheMenuShowsTheRowAndCarriesOutTheChoice) {
  vlm_OpenCalculator();
  std::vector<tools::MenuItem> seen;
  tools::setMenuChooser([&seen](const tools::Menu& menu) {
    seen = menu.items;
    return MENU_FUNCTION_FIRST + CALC_SUM;
  });
  ASSERT_EQ(shown().size(), 10u);  // a row is clicked once it is on the screen
  vlm_ShowCalculatorMenu(static_cast<vlm_wparam>(3), 3);  // "Average (Price) ="
  ASSERT_FALSE(seen.empty());
  const tools::MenuItem& methods = seen[3];
  EXPECT_TRUE(methods.items[CALC_AVERAGE].checked);
  const tools::MenuItem& variables = seen[4];
  ASSERT_EQ(variables.items.size(), 3u);
  EXPECT_EQ(variables.items[1].text, "Price");
  EXPECT_TRUE(variables.items[1].checked);
  EXPECT_EQ(shown()[3].label, "Sum (Price) =");

  // A greyed item chosen counts as no choice.
  tools::setMenuChooser([](const tools::Menu&) { return MENU_REMOVE_THIS; });
  vlm_ShowCalculatorMenu(static_cast<vlm_wparam>(-1), static_cast<vlm_lparam>(-1));
  EXPECT_EQ(shown().size(), 10u);
}

TEST_F(CalculatorWindowTest, AFailedSpeechStartSpeaksNoRow) {
  vlm_OpenCalculator();
  ASSERT_TRUE(shown()[0].spoken);
  {
    platform::DataLockGuard lock(state().main->dataLock);
    EXPECT_EQ(spokenRow(state().main->calculator), 0);
  }
  // As the speech start reports its failure on the host thread.
  withLock(state(), [](EngineState& s) { clearSpoken(s.main->calculator); });
  calculateNow(state());
  EXPECT_FALSE(shown()[0].spoken);
}

TEST_F(CalculatorWindowTest, ANewTableKeepsRowsOfFieldsThatStay) {
  vlm_OpenCalculator();
  vlm_UpdateCalculator(MENU_REMOVE_ALL, -1);
  vlm_UpdateCalculator(MENU_FUNCTION_FIRST + CALC_SUM, -1);
  vlm_UpdateCalculator(MENU_FIELD_FIRST + 2, 0);  // Sum (Weight)
  ASSERT_TRUE(paste("Weight\tOther\r\n2\t1\r\n3\t1\r\n"));
  auto rows = shown();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].label, "Sum (Weight) =");
  EXPECT_EQ(rows[0].result, "5");
  ASSERT_TRUE(paste("X\r\n7\r\n"));  // Weight is gone: the default set of the new table
  rows = shown();
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[2].label, "Sum (X) =");
}

// A load is one selection change: the spoken row is said once, with the
// result of the new table, not first with the rows still set to the old one.
TEST_F(CalculatorWindowTest, ALoadSpeaksTheSpokenRowOnceWithTheNewResult) {
  vlm_OpenCalculator();
  vlm_UpdateCalculator(MENU_REMOVE_ALL, -1);
  vlm_UpdateCalculator(MENU_FUNCTION_FIRST + CALC_SUM, -1);
  vlm_UpdateCalculator(MENU_FIELD_FIRST + 2, 0);  // Sum (Weight), the third field
  vlm_UpdateCalculator(MENU_SPEAK, 0);
  ASSERT_EQ(shown().size(), 1u);
  {
    std::lock_guard lock(mutex_);
    spoken_.clear();
  }
  // Weight is now the first field and the third is a text.
  ASSERT_TRUE(paste("Weight\tOther\tName\r\n2\t1\tx\r\n3\t1\ty\r\n"));
  const auto rows = shown();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].result, "5");
  EXPECT_EQ(spoken(), std::vector<std::string>{"5"});
}

// Results come to the window through the host's own queue and the workers'
// queue, which a waiting host may empty first: an older calculation arriving
// late does not replace the rows of a newer one.
TEST_F(CalculatorWindowTest, AnOlderCalculationArrivingLateIsNotShown) {
  vlm_OpenCalculator();
  ASSERT_EQ(shown().size(), 10u);
  const uint64_t last = shownView()->sequence;
  auto newer = std::make_shared<CalculatorView>();
  newer->rows.push_back({"Newer =", "2"});
  newer->sequence = last + 1;
  auto older = std::make_shared<CalculatorView>();
  older->rows.push_back({"Older =", "1"});
  older->sequence = last;
  showResults(state(), newer);
  showResults(state(), older);
  auto rows = shown();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].label, "Newer =");
  vlm_CalculateNow();  // a calculation made now is newer than both
  EXPECT_EQ(shown().size(), 10u);
}

TEST(CalculatorTextTest, TextsTooWideAreCutWithAPoint) {
  int argc = 0;
  (void)argc;
  const QFontMetrics m(QApplication::font());
  const std::string text = "Average (Horsepower) =";
  EXPECT_EQ(fitText(m, text, 10000), text);
  const int width = m.horizontalAdvance(QStringLiteral("Average (Ho."));
  const std::string cut = fitText(m, text, width);
  EXPECT_EQ(cut, "Average (Ho.");
  EXPECT_LE(m.horizontalAdvance(QString::fromStdString(cut)), width);
  EXPECT_EQ(fitText(m, text, 0), "");
  EXPECT_EQ(fitText(m, "\u00e9t\u00e9 long", m.horizontalAdvance(QStringLiteral("\u00e9."))), "\u00e9.");
  EXPECT_EQ(labelColumnWidth(250), 150);
}

}  // namespace
}  // namespace vlm::calculator

// Setup Options: each control and its effect.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <atomic>

#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/host_messages.h"
#include "engine/vlmapi.h"
#include "tools/help/help_topics.h"
#include "tools/setup/setup_window.h"
#include "tools/support/tools_fixture.h"
#include "tools/tool_window.h"
#include "tools/tools_state.h"

namespace vlm::tools {
namespace {

class SetupTest : public test::ToolsTest {
 protected:
  SetupWindow* setup() { return toolsOf(*state_).setup; }
};

TEST_F(SetupTest, OpensCentredWithTheSettings) {
  state_->main->settings.asking = 0;
  state_->main->settings.toolbarFull = 1;
  vlm_OpenSetup();
  ASSERT_NE(setup(), nullptr);
  EXPECT_TRUE(setup()->isVisible());
  EXPECT_EQ(setup()->windowTitle(), " Setup Options");
  EXPECT_FALSE(setup()->askUser->isChecked());
  EXPECT_TRUE(setup()->showTips->isChecked());
  EXPECT_TRUE(setup()->autoRotations->isChecked());
  EXPECT_TRUE(setup()->imageAndText->isChecked());
  EXPECT_TRUE(setup()->speechApi5->isChecked());
  const QRect desk = desktopRect(), g = setup()->geometry();
  EXPECT_LE(std::abs(g.center().x() - desk.center().x()), 2);
  EXPECT_LE(std::abs(g.center().y() - desk.center().y()), 2);
  vlm_CloseSetup();
  EXPECT_FALSE(setup()->isVisible());
}

TEST_F(SetupTest, EachControlEditsItsSetting) {
  vlm_OpenSetup();
  setup()->askUser->click();
  EXPECT_EQ(vlm_IsConfirmationRequired(), 0);
  setup()->animateBuilders->click();
  EXPECT_EQ(state_->main->settings.animateBuilders, 1);
  setup()->speechCalculator->click();
  EXPECT_EQ(state_->main->settings.speechCalculator, 0);
  setup()->showTips->click();
  EXPECT_EQ(vlm_ReadHostDword("ShowTips", 1), 0u) << "read by the host at start";
  EXPECT_FALSE(showTipsSetting(*state_));
}

TEST_F(SetupTest, TurningRotationsOffStopsASpin) {
  vlm_OpenSetup();
  state_->main->input.animationOn = 1;
  setup()->autoRotations->click();
  EXPECT_EQ(state_->main->input.animationAllowed.load(), 0);
  EXPECT_EQ(state_->main->input.animationOn.load(), 0);
  vlm_Animation(1);
  EXPECT_EQ(vlm_IsAnimated(), 0) << "no spin while rotations are off";
  setup()->autoRotations->click();
  EXPECT_EQ(state_->main->input.animationAllowed.load(), 1);
}

TEST_F(SetupTest, TheToolbarAndSpeechChoices) {
  struct Filter : QObject {
    std::vector<std::pair<uintptr_t, uintptr_t>> layouts;
    bool eventFilter(QObject*, QEvent* e) override {
      vlm_host_message m{};
      if (e->type() == vlm_HostMessageEventType() && vlm_ReadHostMessage(e, &m) && m.message == HM_LAYOUT)
        layouts.emplace_back(m.wParam, m.lParam);
      return false;
    }
  } filter;
  host_->installEventFilter(&filter);
  static std::atomic<int> speech{-1};
  speech = -1;
  test::HandlerSwap swapCmdInitSpeech(dataHandlers(), CMD_INIT_SPEECH, [](EngineState&, const platform::Command& c) {
    speech = static_cast<int>(c.wParam);
    return true;
  });
  vlm_OpenSetup();
  setup()->imageAndText->click();
  EXPECT_EQ(state_->main->settings.toolbarFull, 1);
  setup()->speechApi4->click();
  ASSERT_TRUE(test::waitUntil([] { return speech.load() >= 0; }));
  EXPECT_EQ(speech.load(), 0) << "the other interface is started";
  setup()->imageOnly->click();
  QCoreApplication::processEvents();
  EXPECT_EQ(filter.layouts, (std::vector<std::pair<uintptr_t, uintptr_t>>{{1, 1}, {1, 0}}));
  host_->removeEventFilter(&filter);
}

TEST_F(SetupTest, HelpAndF1OpenTheSetupPage) {
  std::vector<std::string> pages;
  const HelpOpener previous = setHelpOpener([&pages](const HelpRequest& r) {
    pages.push_back(r.page);
    return true;
  });
  vlm_OpenSetup();
  setup()->findChild<QPushButton*>(QStringLiteral("help"))->click();
  QTest::keyClick(setup(), Qt::Key_F1);
  EXPECT_EQ(pages, (std::vector<std::string>{"setup.html", "setup.html"}));
  setup()->findChild<QPushButton*>(QStringLiteral("close"))->click();
  EXPECT_FALSE(setup()->isVisible());
  setHelpOpener(previous);
}

}  // namespace
}  // namespace vlm::tools

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "engine/host_messages.h"
#include "sources/load_control_dialog.h"
#include "sources/sampling_decision.h"
#include "sources/support/source_fixture.h"

namespace vlm {
namespace {

using test::SourceTest;

TEST(LoadControlDialogForm, ShowsTheCountAndEnablesTheBoxesOfTheMethod) {
  LoadControlDialogInput input;
  input.sourceRows = 1001;
  input.settings.method = SAMPLE_EACH;
  input.settings.each = 7;
  LoadControlForm form(input);
  EXPECT_EQ(form.dialog().windowTitle(), " Load Control");
  EXPECT_EQ(form.message().text(), "There is 1001 rows to load!\n");
  EXPECT_EQ(form.selectedMethod(), SAMPLE_EACH);
  EXPECT_TRUE(form.box(LoadControlBox::Each).isEnabled());
  EXPECT_FALSE(form.box(LoadControlBox::Percent).isEnabled());
  EXPECT_EQ(form.box(LoadControlBox::Each).text(), "7");
  EXPECT_EQ(form.box(LoadControlBox::Limit).text(), "500");
  form.methodButton(SAMPLE_RANGE).click();
  EXPECT_EQ(form.selectedMethod(), SAMPLE_RANGE);
  EXPECT_FALSE(form.box(LoadControlBox::Each).isEnabled());
  EXPECT_TRUE(form.box(LoadControlBox::From).isEnabled());
  EXPECT_TRUE(form.box(LoadControlBox::To).isEnabled());
  EXPECT_TRUE(form.box(LoadControlBox::Step).isEnabled());
  EXPECT_EQ(form.methodButton(SAMPLE_ALL).text(), "All Records");
  EXPECT_EQ(form.methodButton(SAMPLE_RANDOM).text(), "Random");
  form.box(LoadControlBox::From).setText("3");
  const LoadControlAnswer a = form.answer(true);
  EXPECT_EQ(a.method, SAMPLE_RANGE);
  EXPECT_EQ(a.from, "3");
}

TEST(LoadControlDialogForm, PlacedAtATenthOfTheDesktop) {
  EXPECT_EQ(loadControlDialogPosition(QRect(0, 0, 1280, 1024)), QPoint(128, 102));
  EXPECT_EQ(loadControlDialogPosition(QRect(100, 50, 1000, 500)), QPoint(200, 100));
}

TEST(LoadControlDialogForm, RealDialogAnswersOkAndCancel) {
  LoadControlDialogInput input;
  input.sourceRows = 5000;
  // The modal dialog is answered from the event loop it runs.
  QTimer::singleShot(50, [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) d->accept();
  });
  EXPECT_TRUE(runLoadControlDialog(input).ok);
  QTimer::singleShot(50, [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) d->reject();
  });
  EXPECT_FALSE(runLoadControlDialog(input).ok);
}

// The decision runs on the data thread and asks the host thread.
class SamplingDecisionTest : public SourceTest {
 protected:
  void SetUp() override {
    SourceTest::SetUp();
    start();
    previous_ = setLoadControlDialogHook([this](const LoadControlDialogInput& input) {
      ++shown_;
      seen_ = input;
      return answer_;
    });
  }
  void TearDown() override {
    setLoadControlDialogHook(previous_);
    SourceTest::TearDown();
  }
  // Runs the decision on the data thread as a loader would.
  bool decide(int32_t rows, SamplingPlan& plan) {
    bool result = false;
    std::atomic<bool> done{false};
    std::thread worker([&] {
      result = decideSampling(state(), rows, plan);
      done = true;
    });
    platform::HostBridge::instance().waitPumping([&] { return done.load(); }, std::chrono::milliseconds(10000));
    worker.join();
    flushHostMessages();
    return result;
  }
  LoadControlDialogHook previous_;
  LoadControlAnswer answer_;
  LoadControlDialogInput seen_;
  int shown_ = 0;
};

TEST_F(SamplingDecisionTest, AThousandRowsAgainstLimitThousandLoadWithoutDialog) {
  state().main->loadControl.limit = 1000;
  SamplingPlan plan;
  EXPECT_TRUE(decide(1000, plan));
  EXPECT_EQ(shown_, 0);
  EXPECT_EQ(state().main->loadControl.effectiveMethod, SAMPLE_ALL);
  EXPECT_EQ(plan.method, SAMPLE_ALL);
}

TEST_F(SamplingDecisionTest, OneMoreRowShowsTheDialog) {
  state().main->loadControl.limit = 1000;
  answer_.ok = true;
  answer_.method = SAMPLE_RANDOM;
  answer_.limit = "1000";
  answer_.percent = "10";
  SamplingPlan plan;
  EXPECT_TRUE(decide(1001, plan));
  EXPECT_EQ(shown_, 1);
  EXPECT_EQ(seen_.sourceRows, 1001);
  EXPECT_EQ(plan.method, SAMPLE_RANDOM);
  EXPECT_EQ(plan.sampleList.size(), 101u);  // 100 rows and the end mark
  EXPECT_EQ(state().main->loadControl.samplingAccepted, 1);
  // Accepted before: the same object loads again without asking.
  EXPECT_TRUE(decide(1001, plan));
  EXPECT_EQ(shown_, 1);
}

TEST_F(SamplingDecisionTest, CancelEndsTheLoad) {
  state().main->loadControl.limit = 10;
  answer_.ok = false;
  SamplingPlan plan;
  EXPECT_FALSE(decide(11, plan));
  EXPECT_EQ(state().main->loadControl.connectionResult, -11);
}

TEST_F(SamplingDecisionTest, LargeRandomDrawsShowProgress) {
  LoadControl& s = state().main->loadControl;
  s.limit = 10;
  s.method = SAMPLE_RANDOM;
  s.percent = 10;
  s.samplingAccepted = 1;
  SamplingPlan plan;
  EXPECT_TRUE(decide(1000000, plan));
  EXPECT_EQ(plan.sampleList.size(), 100001u);
  const auto begins = messagesOf(HM_PROGRESS_BEGIN);
  ASSERT_EQ(begins.size(), 1u);
  EXPECT_EQ(begins[0].text, " working");
  EXPECT_EQ(begins[0].lParam, 100000u);
  EXPECT_EQ(messagesOf(HM_PROGRESS_END).size(), 1u);
}

}  // namespace
}  // namespace vlm

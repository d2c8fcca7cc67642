#include "sources/support/source_fixture.h"

#include <QCoreApplication>
#include <QObject>

#include <chrono>
#include <mutex>

#include "data/value_text.h"
#include "engine/vlmapi.h"
#include "tools/selector/selection_compute.h"

namespace vlm::test {

struct SourceTest::Recorder : QObject {
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == platform::HostMessageEvent::eventType()) {
      std::lock_guard lock(mutex);
      messages.push_back(static_cast<platform::HostMessageEvent*>(e)->data());
      return true;
    }
    return false;
  }
  mutable std::mutex mutex;
  std::vector<platform::HostMessageData> messages;
};

SourceTest::SourceTest() = default;
SourceTest::~SourceTest() = default;

void SourceTest::SetUp() {
  EngineTest::SetUp();
  clipboard_ = std::make_shared<platform::MemoryClipboard>();
  previousClipboard_ = platform::setClipboard(clipboard_);
  recorder_ = std::make_unique<Recorder>();
  host_->installEventFilter(recorder_.get());
}

void SourceTest::TearDown() {
  flushHostMessages();
  state_.reset();
  EngineTest::TearDown();
  platform::setClipboard(previousClipboard_);
  recorder_.reset();
}

void SourceTest::start(int applicationId) {
  ASSERT_TRUE(init(applicationId));
  state_ = currentState();
  ASSERT_NE(state_, nullptr);
}

bool SourceTest::request(const std::function<void()>& post, int timeoutMs) {
  state_->main->dataDone.reset();
  post();
  const bool done = platform::HostBridge::instance().waitPumping(
      [this] {
        QCoreApplication::processEvents();
        return state_->main->dataDone.isSet();
      },
      std::chrono::milliseconds(timeoutMs));
  flushHostMessages();
  return done;
}

bool SourceTest::paste(const std::string& text) {
  clipboard_->setText(text);
  return request([] {
    vlm_CancelAction();
    vlm_InitConnection(3);
  });
}

void SourceTest::flushHostMessages() {
  for (int i = 0; i < 3; ++i) {
    platform::HostBridge::instance().pump();
    QCoreApplication::processEvents();
  }
}

std::vector<platform::HostMessageData> SourceTest::messages() const {
  std::lock_guard lock(recorder_->mutex);
  return recorder_->messages;
}

std::vector<platform::HostMessageData> SourceTest::messagesOf(uint32_t message) const {
  std::vector<platform::HostMessageData> out;
  for (auto& m : messages())
    if (m.message == message) out.push_back(m);
  return out;
}

void SourceTest::clearMessages() {
  std::lock_guard lock(recorder_->mutex);
  recorder_->messages.clear();
}

std::vector<std::string> SourceTest::boxTexts() const {
  std::vector<std::string> out;
  for (auto& b : boxes_->boxes()) out.push_back(b.text);
  return out;
}

std::string SourceTest::cell(int field, int sample) {
  char buffer[1024];
  valueText(table(), field, sample, buffer, sizeof buffer, false, state_->main->regional);
  return buffer;
}

std::vector<int32_t> SourceTest::selectedRowIdsAfter(const std::function<void()>& edits) {
  platform::DataLockGuard guard(state().main->dataLock);
  edits();
  selector::computeSelectionLocked(state());
  std::vector<int32_t> ids;
  for (int32_t s = 0; s < table().rowCount; ++s)
    if (state().model->selectionFlags[static_cast<size_t>(s)] != 0) ids.push_back(table().rowIds[static_cast<size_t>(s)]);
  return ids;
}

}  // namespace vlm::test

#pragma once
// The engine on a stand-in host with an in-memory clipboard, recording the
// host messages it posts.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/support/engine_fixture.h"
#include "platform/clipboard.h"
#include "platform/host_bridge.h"

namespace vlm::test {

class SourceTest : public EngineTest {
 public:
  SourceTest();
  ~SourceTest() override;

 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the engine (application id 23 unless told) and records its host messages.
  void start(int applicationId = 23);
  // Runs a data-thread request and waits (running host work) until the
  // connection handler ends; then delivers the posted host messages.
  bool request(const std::function<void()>& post, int timeoutMs = 60000);
  bool paste(const std::string& text);
  void flushHostMessages();

  std::vector<platform::HostMessageData> messages() const;
  std::vector<platform::HostMessageData> messagesOf(uint32_t message) const;
  void clearMessages();
  std::vector<std::string> boxTexts() const;
  // Forgets the boxes recorded so far (the old recorder goes first, so the
  // real box never comes back in between).
  void resetBoxes() {
    boxes_.reset();
    boxes_ = std::make_unique<RecordingBoxes>();
  }

  EngineState& state() { return *state_; }
  DataTable& table() { return *state_->data; }
  std::string cell(int field, int sample);
  // Makes the Selector's edits under the data lock and selects by them: the
  // row ids of the samples it selects.
  std::vector<int32_t> selectedRowIdsAfter(const std::function<void()>& edits);

  std::shared_ptr<platform::MemoryClipboard> clipboard_;
  std::shared_ptr<platform::Clipboard> previousClipboard_;
  std::shared_ptr<EngineState> state_;

 private:
  struct Recorder;
  std::unique_ptr<Recorder> recorder_;
};

}  // namespace vlm::test

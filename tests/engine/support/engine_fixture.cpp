#include "engine/support/engine_fixture.h"

#include <QVariant>

#include <mutex>
#include <unistd.h>

#include "engine/system_lifecycle.h"
#include "engine/vlmapi.h"
#include "platform/host_bridge.h"
#include "platform/registry_store.h"

namespace vlm::test {

struct RecordingBoxes::Shared {
  std::mutex mutex;
  std::vector<platform::MessageBoxRequest> boxes;
};

RecordingBoxes::RecordingBoxes() : shared_(std::make_shared<Shared>()) {
  auto shared = shared_;
  int* answer = &answer_;
  // Boxes are recorded on the host thread, as the real boxes are shown there.
  previous_ = platform::setMessageBoxHandler([shared, answer](const platform::MessageBoxRequest& r) {
    auto record = [shared, answer, r]() -> intptr_t {
      std::lock_guard lock(shared->mutex);
      shared->boxes.push_back(r);
      return *answer;
    };
    auto& bridge = platform::HostBridge::instance();
    if (!bridge.hostWindow()) return static_cast<int>(record());
    return static_cast<int>(bridge.runOnHost(record));
  });
}

RecordingBoxes::~RecordingBoxes() { platform::setMessageBoxHandler(previous_); }

std::vector<platform::MessageBoxRequest> RecordingBoxes::boxes() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->boxes;
}

void EngineTest::SetUp() {
  dir_ = std::filesystem::temp_directory_path() /
         ("vlm-engine-" + std::to_string(::getpid()) + "-" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
  platform::RegistryStore::redirect((dir_ / "user").string(), (dir_ / "machine").string());
  host_ = std::make_unique<QObject>();
  view_ = std::make_unique<QWindow>();
  host_->setProperty("vlm3DWindow", QVariant::fromValue(static_cast<QObject*>(view_.get())));
  boxes_ = std::make_unique<RecordingBoxes>();
  teardownTimeouts() = TeardownTimeouts{};
}

void EngineTest::TearDown() {
  vlm_DeinitSystem();
  boxes_.reset();
  view_.reset();
  host_.reset();
  teardownTimeouts() = TeardownTimeouts{};
  std::filesystem::remove_all(dir_);
}

bool EngineTest::init(int applicationId) {
  return vlm_InitSystem(&instance_, host_.get(), nullptr, nullptr, applicationId) == 1;
}

}  // namespace vlm::test

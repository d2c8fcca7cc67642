#include "sound/support/bare_state.h"

#include "sound/sound_hooks.h"

namespace vlm::test {

std::shared_ptr<EngineState> makeBareState() {
  auto state = std::make_shared<EngineState>();
  state->main = std::make_unique<MainRecord>();
  state->view = std::make_unique<ViewRecord>();
  state->model = std::make_unique<ModelRecord>();
  state->data = std::make_unique<DataTable>();
  installSoundHooks(*state);
  return state;
}

RecordedErrors::RecordedErrors() {
  auto shared = shared_;
  previous_ = platform::setErrorSink([shared](const char* text) {
    std::lock_guard lock(shared->mutex);
    shared->texts.emplace_back(text);
  });
}

RecordedErrors::~RecordedErrors() { platform::setErrorSink(previous_); }

std::vector<std::string> RecordedErrors::texts() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->texts;
}

}  // namespace vlm::test

#pragma once
// An EngineState without threads or window, with its sound record and hooks,
// and a recorder of the error texts reported meanwhile.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "platform/report.h"

namespace vlm::test {

std::shared_ptr<EngineState> makeBareState();

class RecordedErrors {
 public:
  RecordedErrors();
  ~RecordedErrors();
  std::vector<std::string> texts() const;

 private:
  struct Shared {
    mutable std::mutex mutex;
    std::vector<std::string> texts;
  };
  std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
  platform::ErrorSink previous_;
};

}  // namespace vlm::test

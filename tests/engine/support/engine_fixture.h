#pragma once
// A host stand-in for engine tests: a host window object with a 3D view window,
// a temporary settings store and a message-box recorder.
#include <QObject>
#include <QWindow>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/message_box.h"

namespace vlm::test {

class RecordingBoxes {
 public:
  RecordingBoxes();
  ~RecordingBoxes();
  std::vector<platform::MessageBoxRequest> boxes() const;
  void answer(int button) { answer_ = button; }

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
  int answer_ = platform::BOX_OK;
  platform::MessageBoxHandler previous_;
};

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Starts the engine on the stand-in host window.
  bool init(int applicationId = 23);
  std::filesystem::path dir_;
  std::unique_ptr<QObject> host_;
  std::unique_ptr<QWindow> view_;
  std::unique_ptr<RecordingBoxes> boxes_;
  int instance_ = 0;
};

}  // namespace vlm::test

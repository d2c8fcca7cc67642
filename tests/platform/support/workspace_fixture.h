#pragma once
// The database workspace started for a test and spoken to through the
// conversation layer, with a folder of the test's own for its database file
// and the boxes it shows collected instead of shown.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/dde/conversation.h"
#include "platform/message_box.h"
#include "platform/workspace/workspace.h"
#include "platform/workspace/workspace_server.h"

namespace vlm::platform::workspace {

class WorkspaceFixture : public ::testing::Test {
 protected:
  // Makes the folder (named `folder` and the process id) and starts the
  // workspace; `file_` names `fileName` in that folder.
  void startWorkspace(const std::string& folder, const std::string& fileName) {
    dir_ = std::filesystem::temp_directory_path() / (folder + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    file_ = dir_ / fileName;
    previous_ = setMessageBoxHandler([this](const MessageBoxRequest& r) {
      boxes_.push_back(r.text);
      return BOX_OK;
    });
    Workspace::instance().setWindowHooks({});
    Workspace::instance().start();
    started_ = true;
  }
  void TearDown() override {
    if (!started_) return;
    Workspace::instance().closeCurrentDatabase();
    setMessageBoxHandler(previous_);
    std::filesystem::remove_all(dir_);
  }
  std::string ask(const std::string& topic, const std::string& item) {
    dde::Conversation c = dde::Conversation::connect(kServiceName, topic);
    std::string answer;
    if (!c || !c.request(item, answer)) return "<none>";
    return answer;
  }

  std::filesystem::path dir_, file_;
  std::vector<std::string> boxes_;
  MessageBoxHandler previous_;
  bool started_ = false;
};

}  // namespace vlm::platform::workspace

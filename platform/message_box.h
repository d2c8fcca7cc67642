#pragma once
// Message boxes of the engine and the host, always shown on the host thread.
// Tests replace the box by a recorder that answers a scripted button.
#include <functional>
#include <string>

namespace vlm::platform {

enum class BoxIcon { None, Information, Warning, Question, Error };
enum class BoxButtons { Ok, YesNo, YesNoCancel, OkCancel };
enum BoxResult { BOX_OK = 1, BOX_CANCEL = 2, BOX_YES = 6, BOX_NO = 7 };

struct MessageBoxRequest {
  std::string caption;
  std::string text;
  BoxIcon icon = BoxIcon::Warning;
  BoxButtons buttons = BoxButtons::Ok;
  int defaultButton = 0;  // 0: the first button; otherwise a BoxResult
  bool topMost = false;
  bool beep = false;
};

using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Replaces the handler (null restores the Qt box); returns the previous one.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

// Shows the box on the host thread and returns the button pressed.
int showMessageBox(const MessageBoxRequest& request);

}  // namespace vlm::platform

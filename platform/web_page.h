#pragma once
// Opens a web address in the user's browser, from any thread.
#include <string>

namespace vlm::platform {

bool openWebPage(const std::string& address);

}  // namespace vlm::platform

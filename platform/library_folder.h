#pragma once
// The folder of the file that holds this code (the engine library, or a
// program linked with it), with a trailing "/".
#include <string>

namespace vlm::platform {

std::string libraryFolder();

}  // namespace vlm::platform

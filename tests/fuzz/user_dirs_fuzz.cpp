// Arbitrary bytes as a user's "user-dirs.dirs": the desktop folder read from
// it is empty or an absolute path, never a crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/desktop_folders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string desktop = vlm::host::desktopFromUserDirs(text, "/home/u");
  if (!desktop.empty() && desktop[0] != '/') __builtin_trap();
  return 0;
}

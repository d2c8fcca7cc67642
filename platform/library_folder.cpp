#include "platform/library_folder.h"

#include <dlfcn.h>

#include <filesystem>

namespace vlm::platform {

std::string libraryFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&libraryFolder), &info) == 0 || !info.dli_fname) return {};
  std::error_code ec;
  const std::filesystem::path file = std::filesystem::canonical(info.dli_fname, ec);
  if (ec) return {};
  std::string folder = file.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

}  // namespace vlm::platform

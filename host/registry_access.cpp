#include "host/registry_access.h"

#include <vector>

#include "engine/vlmapi.h"

namespace vlm::host {
namespace {

class StoreRegistry : public RegistryAccess {
 public:
  bool writeText(int root, const std::string& key, const std::string& name, const std::string& text) override {
    return vlm_WriteRegistryText(root, key.c_str(), name.c_str(), text.c_str()) == 1;
  }
  bool writeDword(int root, const std::string& key, const std::string& name, uint32_t value) override {
    return vlm_WriteRegistryDword(root, key.c_str(), name.c_str(), value) == 1;
  }
  bool createKey(int root, const std::string& key) override { return vlm_CreateRegistryKey(root, key.c_str()) == 1; }
  bool deleteKey(int root, const std::string& key) override { return vlm_DeleteRegistryKey(root, key.c_str()) == 1; }
  std::optional<std::string> readText(int root, const std::string& key, const std::string& name) override {
    const int length = vlm_ReadRegistryText(root, key.c_str(), name.c_str(), nullptr, 0);
    if (length < 0) return std::nullopt;
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    vlm_ReadRegistryText(root, key.c_str(), name.c_str(), buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data());
  }
};

}  // namespace

RegistryAccess& storeRegistry() {
  static StoreRegistry registry;
  return registry;
}

const char* rootName(int root) {
  switch (root) {
    case VLM_HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case VLM_HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case VLM_HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    default: return "?";
  }
}

}  // namespace vlm::host

#pragma once
// The registry store as installation and removal use it; the program's own
// goes through the engine's exports (roots VLM_HKEY_...).
#include <cstdint>
#include <optional>
#include <string>

namespace vlm::host {

class RegistryAccess {
 public:
  virtual ~RegistryAccess() = default;
  // An empty name is the key's default value. True when the store holds it.
  virtual bool writeText(int root, const std::string& key, const std::string& name, const std::string& text) = 0;
  virtual bool writeDword(int root, const std::string& key, const std::string& name, uint32_t value) = 0;
  virtual bool createKey(int root, const std::string& key) = 0;
  // True when nothing of the key or the keys below it is left.
  virtual bool deleteKey(int root, const std::string& key) = 0;
  virtual std::optional<std::string> readText(int root, const std::string& key, const std::string& name) = 0;
};

// The settings store of this machine, through the engine library.
RegistryAccess& storeRegistry();

// "HKEY_CLASSES_ROOT" and so on, for messages.
const char* rootName(int root);

}  // namespace vlm::host

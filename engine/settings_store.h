#pragma once
// Reading and writing the engine's settings in the registry store.
#include <cstdint>
#include <string>

#include "platform/registry_store.h"

namespace vlm {

struct EngineState;

// The four operations on values under HKEY_CURRENT_USER\<registry root><sub-key>.
class SettingsAccess {
 public:
  SettingsAccess(platform::RegistryStore& store, std::string root) : store_(store), root_(std::move(root)) {}
  uint32_t readDword(const std::string& subKey, const std::string& name, uint32_t defaultValue);
  // Writes only when the value differs from the stored one (or, with none stored, from the default).
  void writeDwordIfChanged(const std::string& subKey, const std::string& name, uint32_t value,
                           uint32_t defaultValue);
  std::string readText(const std::string& subKey, const std::string& name, const std::string& defaultText);
  // Writes when the text differs from what this program read or wrote, or
  // when nobody stored one yet.
  void writeText(const std::string& subKey, const std::string& name, const std::string& text);

 private:
  platform::RegistryStore& store_;
  std::string root_;
};

// Text forms of the three text settings.
int32_t defaultFiletypeFromText(const std::string& text);
const char* defaultFiletypeText(int32_t type);
bool centerMassFromText(const std::string& text);
bool newerSpeechFromText(const std::string& text);

void readSettings(EngineState& state, platform::RegistryStore& store);
void writeSettings(EngineState& state, platform::RegistryStore& store);

}  // namespace vlm

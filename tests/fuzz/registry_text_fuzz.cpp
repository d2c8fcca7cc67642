// Arbitrary bytes as a settings-store file: reading must not crash, and what
// was read must write out and read back as the same keys, values and types
// (the store rewrites the whole file on every change).
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "platform/registry_store.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::map<std::string, std::string> spelling;
  const auto hive = vlm::platform::parseRegistryText(text, &spelling);
  std::map<std::string, std::string> again;
  const auto back = vlm::platform::parseRegistryText(vlm::platform::formatRegistryText(hive, spelling), &again);
  check(back.size() == hive.size());
  for (const auto& [key, values] : hive) {
    const auto k = back.find(key);
    check(k != back.end() && k->second.size() == values.size());
    for (const auto& [name, value] : values) {
      const auto v = k->second.find(name);
      check(v != k->second.end() && v->second.isDword == value.isDword);
      check(value.isDword ? v->second.dword == value.dword : v->second.text == value.text);
    }
  }
  return 0;
}

#pragma once
// A file-backed stand-in for the system registry: one file for the current user
// ($XDG_CONFIG_HOME/velmora/registry, else ~/.config/velmora/registry) and one
// machine-level file (/etc/velmora/registry, or $VELMORA_MACHINE_REGISTRY),
// readable when not writable. Values are typed DWORD or text and are keyed by
// the registry key path and value name. Every write replaces the file through a
// temporary file and a rename, so a crash never leaves a torn file; a file that
// is torn or garbage anyway reads as what it still holds that parses.
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace vlm::platform {

enum class RegistryRoot { CurrentUser, LocalMachine };

class RegistryStore {
 public:
  RegistryStore(std::string userFile, std::string machineFile);
  // The process-wide store at the standard paths (read from the environment once).
  static RegistryStore& instance();
  // Points the process-wide store at other files (tests).
  static void redirect(const std::string& userFile, const std::string& machineFile);

  std::optional<uint32_t> readDword(RegistryRoot root, const std::string& key, const std::string& name);
  std::optional<std::string> readText(RegistryRoot root, const std::string& key, const std::string& name);
  bool writeDword(RegistryRoot root, const std::string& key, const std::string& name, uint32_t value);
  bool writeText(RegistryRoot root, const std::string& key, const std::string& name, const std::string& value);
  // Deletes a key with its values and every key below it.
  bool deleteKey(RegistryRoot root, const std::string& key);
  bool keyExists(RegistryRoot root, const std::string& key);
  // Forgets what was read, so the next access reads the files again.
  void reload();

  struct Value {
    bool isDword = false;
    uint32_t dword = 0;
    std::string text;
  };
  using Key = std::map<std::string, Value>;        // value name -> value
  using Hive = std::map<std::string, Key>;         // upper-cased key path -> values

 private:
  struct HiveFile {
    std::string path;
    Hive hive;
    std::map<std::string, std::string> spelling;  // upper-cased key -> key as first written
    bool loaded = false;
  };
  HiveFile& hive(RegistryRoot root);
  bool save(HiveFile& file);

  std::mutex mutex_;
  HiveFile user_;
  HiveFile machine_;
};

// Parses and formats the file text (exposed for tests and the fuzz target).
RegistryStore::Hive parseRegistryText(const std::string& text, std::map<std::string, std::string>* spelling);
std::string formatRegistryText(const RegistryStore::Hive& hive, const std::map<std::string, std::string>& spelling);

}  // namespace vlm::platform

#pragma once
// A file-backed stand-in for the system registry: one file for the current user
// ($XDG_CONFIG_HOME/velmora/registry, else ~/.config/velmora/registry) and one
// machine-level file (/etc/velmora/registry, or $VELMORA_MACHINE_REGISTRY),
// readable when not writable. Values are typed DWORD or text and are keyed by
// the registry key path and value name.
//
// Several running programs share the file. Reads give this store's view: the
// file as it was first read, with this store's own writes. A write holds a
// lock on the file (registry.lock beside it), reads the file again, changes
// only the values written, and replaces the file through a temporary file
// that is synced before the rename: another program's values are never
// reverted, and a crash never leaves a torn file. A file that is torn or
// garbage anyway reads as what it still holds that parses.
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

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
  // The values as the file holds them now, with what other programs wrote
  // since this store read it.
  std::optional<uint32_t> readDwordOnDisk(RegistryRoot root, const std::string& key, const std::string& name);
  std::optional<std::string> readTextOnDisk(RegistryRoot root, const std::string& key, const std::string& name);
  // Forgets what was read, so the next access reads the files again.
  void reload();
  // Between beginBatch and endBatch the writes change the view at once and
  // reach the file together, in one locked merge (settings written at exit).
  void beginBatch();
  bool endBatch();

  struct Value {
    bool isDword = false;
    uint32_t dword = 0;
    std::string text;
  };
  using Key = std::map<std::string, Value>;        // value name -> value
  using Hive = std::map<std::string, Key>;         // upper-cased key path -> values

 private:
  // One change to merge into the file: a value set, or a key deleted.
  struct Change {
    std::string key;  // upper-cased key path
    std::string name;
    Value value;
    bool deleteKey = false;
  };
  struct HiveFile {
    std::string path;
    Hive hive;
    std::map<std::string, std::string> spelling;  // upper-cased key -> key as first written
    bool loaded = false;
    std::vector<Change> pending;  // batched changes not yet in the file
  };
  HiveFile& hive(RegistryRoot root);
  static void applyChange(Hive& hive, const Change& change);
  bool apply(HiveFile& file, Change change);
  bool mergeIntoFile(HiveFile& file, const std::vector<Change>& changes);

  std::mutex mutex_;
  HiveFile user_;
  HiveFile machine_;
  int batchDepth_ = 0;
};

// Parses and formats the file text (exposed for tests and the fuzz target).
RegistryStore::Hive parseRegistryText(const std::string& text, std::map<std::string, std::string>* spelling);
std::string formatRegistryText(const RegistryStore::Hive& hive, const std::map<std::string, std::string>& spelling);

}  // namespace vlm::platform

#pragma once
// A file-backed stand-in for the system registry: one file for the current user
// ($XDG_CONFIG_HOME/velmora/registry, else ~/.config/velmora/registry) and one
// machine-level file (/etc/velmora/registry, or $VELMORA_MACHINE_REGISTRY),
// readable when not writable. Values are typed DWORD or text and are keyed by
// the registry key path and value name. Every write replaces the file through a
// temporary file and a rename, so a crash never leaves a torn file; a file that
// is torn or garbage anyway reads as what it still holds that parses; a write
// that leaves a file without keys removes it (and its "velmora" folder when
// that is left empty).
//
// The three roots are views over the two files, as on the system whose
// registry this stands in for:
// - CurrentUser: the user file.
// - LocalMachine: the machine file. A user who may not write the machine file
//   (everyone but root for /etc) has writes under "SOFTWARE\..." redirected to
//   the user file's "Software\Classes\VirtualStore\MACHINE\SOFTWARE\...", and
//   reads see that copy first, so a per-user installation works.
// - ClassesRoot: "Software\Classes\..." of the user file over that of the
//   machine file; class registrations are written to the user's part.
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vlm::platform {

enum class RegistryRoot { CurrentUser, LocalMachine, ClassesRoot };

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
  // Creates a key without values (nothing happens when it exists).
  bool createKey(RegistryRoot root, const std::string& key);
  // Deletes a key with its values and every key below it, in every file the
  // root views. True when nothing of it is left (also when there was none).
  bool deleteKey(RegistryRoot root, const std::string& key);
  bool keyExists(RegistryRoot root, const std::string& key);
  // Whether the key or any key below it exists.
  bool keyTreeExists(RegistryRoot root, const std::string& key);
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
  // Where a key of a root lives: a file and the key's path in it.
  struct Place {
    HiveFile* file;
    std::string key;
  };
  HiveFile& loaded(HiveFile& file);
  // The places a root reads, in precedence order.
  std::vector<Place> readPlaces(RegistryRoot root, const std::string& key);
  // The place a write goes to first, and where it goes when that file refuses.
  Place writePlace(RegistryRoot root, const std::string& key);
  std::optional<Place> fallbackPlace(RegistryRoot root, const std::string& key);
  const Value* find(RegistryRoot root, const std::string& key, const std::string& name);
  bool write(RegistryRoot root, const std::string& key, const std::string* name, const Value& value);
  bool writeAt(Place place, const std::string* name, const Value& value);
  bool save(HiveFile& file);

  std::mutex mutex_;
  HiveFile user_;
  HiveFile machine_;
};

// Parses and formats the file text (exposed for tests and the fuzz target).
RegistryStore::Hive parseRegistryText(const std::string& text, std::map<std::string, std::string>* spelling);
std::string formatRegistryText(const RegistryStore::Hive& hive, const std::map<std::string, std::string>& spelling);

}  // namespace vlm::platform

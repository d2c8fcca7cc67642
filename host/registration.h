#pragma once
// The registry entries an installation writes and the keys its removal
// deletes, in their order. Paths are this platform's ("/"), names as the
// program has always used them.
#include <cstdint>
#include <string>
#include <vector>

namespace vlm::host {

inline constexpr char kProgId[] = "Velmora.Access";
inline constexpr char kProductName[] = " Velmora ACCESS";
inline constexpr char kModelClassName[] = "Velmora Model";
inline constexpr char kAddinProgId[] = "Velmora_Access_Addin.Connect";
// The model document's and the add-in's class identifiers (our own, fixed).
inline constexpr char kDocumentClsid[] = "{7C2A5E10-4B8D-4F36-9E21-D05A3B6C8F47}";
inline constexpr char kAddinClsid[] = "{B94E1F62-0D3A-4C85-A7E9-5F2C8B1D6E03}";
inline constexpr char kSettingsKey[] = "SOFTWARE\\Velmora\\Velmora.Access\\";
inline constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora.Access\\";
inline constexpr char kLaunchKey[] = "SOFTWARE\\VB and VBA Program Settings\\Velmora\\Access\\";
inline constexpr char kOfficeAddinKey[] = "Software\\Microsoft\\Office\\Access\\Addins\\Velmora_Access_Addin.Connect\\";

// The files of an installation folder. No file is copied: the folder the
// installation runs in is where the program stays.
struct InstallPaths {
  std::string folder;   // without a trailing '/'
  std::string program;  // folder + "/vlmac"
  std::string addin;    // the add-in library, folder + "/vlmac-addin.so"
  std::string engine;   // the engine library, folder + "/libvlmapi.so"
};
// `runningProgram` stands in for the program path when the folder holds no
// program, so that launchers start the program that installed them.
InstallPaths installPaths(const std::string& folder, const std::string& runningProgram);

struct RegistryEntry {
  enum class Kind { Text, Dword, Key };
  int root = 0;  // VLM_HKEY_...
  std::string key;
  std::string name;  // empty: the key's default value
  Kind kind = Kind::Text;
  std::string text;
  uint32_t dword = 0;
};
// Every entry of the registration, in the order they are written.
std::vector<RegistryEntry> registrationEntries(const InstallPaths& paths);

struct RegistryKey {
  int root = 0;
  std::string key;
};
// The removal's registry steps in order: the settings key of the machine and
// of the user, the uninstall key, then the add-in (its Office key, its class's
// sub-keys, its class key, the ProgID's CLSID sub-key and the ProgID).
std::vector<RegistryKey> removalKeys();
// What removal also deletes after those, so that nothing of the registration
// stays: the document class, its ProgID and the add-in's launch value. The
// ".vlm" key is deleted apart, only while it still names our ProgID.
std::vector<RegistryKey> leftoverKeys();

}  // namespace vlm::host

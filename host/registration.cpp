#include "host/registration.h"

#include <filesystem>

#include "engine/vlmapi.h"

namespace vlm::host {
namespace {

constexpr char kImplementedCategory[] = "Implemented Categories\\{40FC6ED5-2438-11CF-A3DB-080036F12502}";

RegistryEntry text(int root, std::string key, std::string name, std::string value) {
  RegistryEntry e;
  e.root = root;
  e.key = std::move(key);
  e.name = std::move(name);
  e.text = std::move(value);
  return e;
}

RegistryEntry dword(int root, std::string key, std::string name, uint32_t value) {
  RegistryEntry e;
  e.root = root;
  e.key = std::move(key);
  e.name = std::move(name);
  e.kind = RegistryEntry::Kind::Dword;
  e.dword = value;
  return e;
}

RegistryEntry emptyKey(int root, std::string key) {
  RegistryEntry e;
  e.root = root;
  e.key = std::move(key);
  e.kind = RegistryEntry::Kind::Key;
  return e;
}

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace

InstallPaths installPaths(const std::string& folder, const std::string& runningProgram) {
  InstallPaths p;
  p.folder = folder;
  while (p.folder.size() > 1 && p.folder.back() == '/') p.folder.pop_back();
  const std::string base = p.folder == "/" ? std::string() : p.folder;
  p.program = base + "/vlmac";
  std::error_code ec;
  if (!runningProgram.empty() && !std::filesystem::is_regular_file(p.program, ec)) p.program = runningProgram;
  p.addin = base + "/vlmac-addin.so";
  p.engine = base + "/libvlmapi.so";
  return p;
}

std::vector<RegistryEntry> registrationEntries(const InstallPaths& paths) {
  const int hkcr = VLM_HKEY_CLASSES_ROOT, hkcu = VLM_HKEY_CURRENT_USER, hklm = VLM_HKEY_LOCAL_MACHINE;
  const std::string icon = paths.program + ",1";
  const std::string documentClass = std::string("CLSID\\") + kDocumentClsid + "\\";
  const std::string addinClass = std::string("CLSID\\") + kAddinClsid + "\\";
  return {
      text(hklm, kSettingsKey, "InstallRoot", paths.folder),
      text(hkcr, ".vlm", "", kProgId),
      text(hkcr, std::string(kProgId) + "\\CLSID\\", "", kDocumentClsid),
      text(hkcr, std::string(kProgId) + "\\DefaultIcon\\", "", icon),
      text(hkcr, kProgId, "", kModelClassName),
      text(hkcr, std::string(kProgId) + "\\Shell\\open\\command\\", "", quoted(paths.program) + " \"%1\""),
      text(hkcr, documentClass, "", kModelClassName),
      text(hkcr, documentClass + "DefaultIcon", "", icon),
      text(hkcr, documentClass + "ProgID", "", kProgId),
      text(hkcr, documentClass + "InprocHandler32", "", "ole32.dll"),
      text(hkcr, documentClass + "LocalServer32", "", quoted(paths.program)),
      text(hkcu, kLaunchKey, "Launch", paths.program),
      text(hkcr, kAddinProgId, "", kAddinProgId),
      text(hkcr, std::string(kAddinProgId) + "\\CLSID", "", kAddinClsid),
      text(hkcr, addinClass, "", kAddinProgId),
      text(hkcr, addinClass, "AppID", kAddinClsid),
      emptyKey(hkcr, addinClass + kImplementedCategory),
      text(hkcr, addinClass + "InprocServer32", "", paths.addin),
      text(hkcr, addinClass + "ProgID", "", kAddinProgId),
      emptyKey(hkcr, addinClass + "Programmable"),
      text(hkcr, addinClass + "TypeLib", "", kAddinClsid),
      text(hkcr, addinClass + "Version", "", "1.0"),
      text(hkcu, kOfficeAddinKey, "Description", "Velmora ACCESS Add-In"),
      text(hkcu, kOfficeAddinKey, "FriendlyName", "Velmora"),
      dword(hkcu, kOfficeAddinKey, "CommandLineSafe", 0),
      dword(hkcu, kOfficeAddinKey, "LoadBehavior", 3),
      text(hklm, kUninstallKey, "DisplayName", kProductName),
      text(hklm, kUninstallKey, "UninstallString", paths.program + " -r"),
  };
}

std::vector<RegistryKey> removalKeys() {
  const int hkcr = VLM_HKEY_CLASSES_ROOT, hkcu = VLM_HKEY_CURRENT_USER, hklm = VLM_HKEY_LOCAL_MACHINE;
  const std::string addinClass = std::string("CLSID\\") + kAddinClsid + "\\";
  return {
      {hklm, kSettingsKey},
      {hkcu, kSettingsKey},
      {hklm, kUninstallKey},
      {hkcu, kOfficeAddinKey},
      {hkcr, addinClass + kImplementedCategory},
      {hkcr, addinClass + "Implemented Categories"},
      {hkcr, addinClass + "InprocServer32"},
      {hkcr, addinClass + "ProgID"},
      {hkcr, addinClass + "Programmable"},
      {hkcr, addinClass + "TypeLib"},
      {hkcr, addinClass + "Version"},
      {hkcr, addinClass},
      {hkcr, std::string(kAddinProgId) + "\\CLSID"},
      {hkcr, kAddinProgId},
  };
}

std::vector<RegistryKey> leftoverKeys() {
  return {
      {VLM_HKEY_CLASSES_ROOT, kProgId},
      {VLM_HKEY_CLASSES_ROOT, std::string("CLSID\\") + kDocumentClsid + "\\"},
      {VLM_HKEY_CURRENT_USER, kLaunchKey},
  };
}

}  // namespace vlm::host

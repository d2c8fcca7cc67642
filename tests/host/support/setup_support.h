#pragma once
// Installation and removal under test: a registry that records every step
// and can refuse them, a user that answers and records what it was told, and
// an installation folder and a home of their own.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/installation.h"
#include "host/registry_access.h"

namespace vlm::test {

class FakeRegistry : public host::RegistryAccess {
 public:
  struct Step {
    std::string op;  // "text", "dword", "key", "delete"
    int root;
    std::string key, name, value;
  };
  bool writeText(int root, const std::string& key, const std::string& name, const std::string& text) override;
  bool writeDword(int root, const std::string& key, const std::string& name, uint32_t value) override;
  bool createKey(int root, const std::string& key) override;
  bool deleteKey(int root, const std::string& key) override;
  std::optional<std::string> readText(int root, const std::string& key, const std::string& name) override;
  // Keys (root and upper-cased path) that exist, with or without values.
  std::set<std::pair<int, std::string>> keys() const { return keys_; }

  std::vector<Step> steps;
  bool refuse = false;

 private:
  static std::string id(const std::string& key);
  std::set<std::pair<int, std::string>> keys_;
  std::map<std::pair<int, std::string>, std::map<std::string, std::string>> values_;
};

class RecordingUi : public host::SetupUi {
 public:
  bool ask(const std::string& caption, const std::string& text) override;
  void tell(const std::string& caption, const std::string& text, bool problem) override;
  bool answer = true;
  std::vector<std::string> asked;  // "caption|text"
  std::vector<std::string> told;   // "caption|text"
  bool lastWasProblem = false;
};

// A temporary folder for one test, removed afterwards.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name);
  ~TempFolder();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void writeText(const std::filesystem::path& file, const std::string& text);
std::string readText(const std::filesystem::path& file);

// An installation folder with a program, the engine library, icons, help, a
// read-me and the given sample models under assets/.
void makeInstallationFolder(const std::filesystem::path& folder, const std::vector<std::string>& samples);

}  // namespace vlm::test

namespace vlm::test {

// The registry store's file as the test sees it: upper-cased key path ->
// value name -> "text:..." or "dword:..." (empty keys have no values).
using RegistryFile = std::map<std::string, std::map<std::string, std::string>>;
RegistryFile readRegistryFile(const std::filesystem::path& file);

// Every file and folder below `root`: relative path -> content ("<folder>" for folders).
std::map<std::string, std::string> snapshot(const std::filesystem::path& root);

}  // namespace vlm::test

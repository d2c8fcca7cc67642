#include "host/support/setup_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace vlm::test {

namespace fs = std::filesystem;

std::string FakeRegistry::id(const std::string& key) {
  std::string out;
  for (char c : key) out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

bool FakeRegistry::writeText(int root, const std::string& key, const std::string& name, const std::string& text) {
  steps.push_back({"text", root, key, name, text});
  if (refuse) return false;
  keys_.insert({root, id(key)});
  values_[{root, id(key)}][name] = text;
  return true;
}

bool FakeRegistry::writeDword(int root, const std::string& key, const std::string& name, uint32_t value) {
  steps.push_back({"dword", root, key, name, std::to_string(value)});
  if (refuse) return false;
  keys_.insert({root, id(key)});
  values_[{root, id(key)}][name] = std::to_string(value);
  return true;
}

bool FakeRegistry::createKey(int root, const std::string& key) {
  steps.push_back({"key", root, key, "", ""});
  if (refuse) return false;
  keys_.insert({root, id(key)});
  return true;
}

bool FakeRegistry::deleteKey(int root, const std::string& key) {
  steps.push_back({"delete", root, key, "", ""});
  const std::string k = id(key);
  auto below = [&](const std::pair<int, std::string>& p) {
    return p.first == root && (p.second == k || p.second.rfind(k + "\\", 0) == 0);
  };
  const bool any = std::any_of(keys_.begin(), keys_.end(), below);
  if (refuse) return !any;
  std::erase_if(keys_, below);
  std::erase_if(values_, [&](const auto& entry) { return below(entry.first); });
  return true;
}

std::optional<std::string> FakeRegistry::readText(int root, const std::string& key, const std::string& name) {
  auto k = values_.find({root, id(key)});
  if (k == values_.end()) return std::nullopt;
  auto v = k->second.find(name);
  if (v == k->second.end()) return std::nullopt;
  return v->second;
}

bool RecordingUi::ask(const std::string& caption, const std::string& text) {
  asked.push_back(caption + "|" + text);
  return answer;
}

void RecordingUi::tell(const std::string& caption, const std::string& text, bool problem) {
  told.push_back(caption + "|" + text);
  lastWasProblem = problem;
}

TempFolder::TempFolder(const std::string& name) {
  path_ = fs::temp_directory_path() / ("vlm-" + name + "-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  fs::remove_all(path_);
  fs::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void writeText(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

std::string readText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void makeInstallationFolder(const fs::path& folder, const std::vector<std::string>& samples) {
  writeText(folder / "vlmac", "#!/bin/sh\n");
  fs::permissions(folder / "vlmac", fs::perms(0755));
  writeText(folder / "libvlmapi.so", "engine");
  writeText(folder / "assets" / "icons" / "velmora-access.svg", "<svg id=\"program\"/>");
  writeText(folder / "assets" / "icons" / "application-x-velmora-model.svg", "<svg id=\"model\"/>");
  writeText(folder / "assets" / "icons" / "velmora-access-48.png", "program png");
  writeText(folder / "assets" / "icons" / "application-x-velmora-model-48.png", "model png");
  writeText(folder / "assets" / "help" / "index.html", "<html>help</html>");
  writeText(folder / "README.md", "# Velmora\n");
  for (const std::string& sample : samples) writeText(folder / "assets" / sample, "[Source]\n");
}

namespace {

std::string unescapeRegistry(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') ++i;
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace

RegistryFile readRegistryFile(const fs::path& file) {
  RegistryFile keys;
  std::istringstream in(readText(file));
  std::string line, current;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[' && line.back() == ']') {
      current.clear();
      for (char c : unescapeRegistry(line.substr(1, line.size() - 2)))
        current.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
      while (!current.empty() && current.back() == '\\') current.pop_back();
      keys[current];
      continue;
    }
    const size_t colon = line.find(':'), eq = line.find('=');
    if (colon == std::string::npos || eq == std::string::npos) continue;
    keys[current][unescapeRegistry(line.substr(colon + 1, eq - colon - 1))] =
        line.substr(0, colon) + ":" + unescapeRegistry(line.substr(eq + 1));
  }
  return keys;
}

std::map<std::string, std::string> snapshot(const fs::path& root) {
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const std::string relative = fs::relative(it->path(), root).string();
    files[relative] = it->is_directory() ? std::string("<folder>") : readText(it->path());
  }
  return files;
}

}  // namespace vlm::test

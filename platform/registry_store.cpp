#include "platform/registry_store.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include <unistd.h>

namespace vlm::platform {
namespace {

// Key paths compare without regard to case, as registry keys do; trailing
// backslashes do not make a different key.
std::string keyId(const std::string& key) {
  std::string id;
  id.reserve(key.size());
  for (char c : key) id.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  while (!id.empty() && id.back() == '\\') id.pop_back();
  return id;
}

// Where the views of the roots keep their keys (see the header).
const std::string kVirtualStore = "Software\\Classes\\VirtualStore\\MACHINE\\";
const std::string kUserClasses = "Software\\Classes\\";
const std::string kMachineClasses = "SOFTWARE\\Classes\\";

bool isVirtualised(const std::string& key) {
  const std::string id = keyId(key);
  return id == "SOFTWARE" || id.rfind("SOFTWARE\\", 0) == 0;
}

std::string escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '=': out += "\\e"; break;
      case ']': out += "\\b"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

bool unescape(const std::string& text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    // Hand-written files use single backslashes in key paths: an unknown
    // escape (or a trailing backslash) stands for itself.
    if (i + 1 >= text.size()) {
      out.push_back('\\');
      break;
    }
    switch (text[i + 1]) {
      case '\\': out.push_back('\\'); break;
      case 'n': out.push_back('\n'); break;
      case 'r': out.push_back('\r'); break;
      case 't': out.push_back('\t'); break;
      case 'e': out.push_back('='); break;
      case 'b': out.push_back(']'); break;
      default: out.push_back('\\'); continue;
    }
    ++i;
  }
  return true;
}

std::string defaultUserFile() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && *xdg) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && *home ? home : "/tmp") + "/.config";
  }
  return base + "/velmora/registry";
}

std::string defaultMachineFile() {
  const char* path = std::getenv("VELMORA_MACHINE_REGISTRY");
  return path && *path ? path : "/etc/velmora/registry";
}

std::unique_ptr<RegistryStore>& processStore() {
  static std::unique_ptr<RegistryStore> store;
  return store;
}
std::mutex g_processStoreMutex;

}  // namespace

RegistryStore::Hive parseRegistryText(const std::string& text, std::map<std::string, std::string>* spelling) {
  RegistryStore::Hive hive;
  std::istringstream in(text);
  std::string line;
  std::string current;
  bool inKey = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      inKey = false;
      if (line.size() < 2 || line.back() != ']') continue;
      std::string key;
      if (!unescape(line.substr(1, line.size() - 2), key)) continue;
      current = keyId(key);
      if (spelling && !spelling->count(current)) (*spelling)[current] = key;
      hive[current];
      inKey = true;
      continue;
    }
    if (!inKey) continue;
    const size_t colon = line.find(':');
    const size_t eq = line.find('=');
    if (colon == std::string::npos || eq == std::string::npos || eq < colon) continue;
    const std::string type = line.substr(0, colon);
    std::string name, value;
    if (!unescape(line.substr(colon + 1, eq - colon - 1), name)) continue;
    if (!unescape(line.substr(eq + 1), value)) continue;
    RegistryStore::Value v;
    if (type == "dword") {
      if (value.empty() || value.size() > 10) continue;
      char* end = nullptr;
      const unsigned long long n = std::strtoull(value.c_str(), &end, 10);
      if (*end != '\0' || n > 0xFFFFFFFFull) continue;
      v.isDword = true;
      v.dword = static_cast<uint32_t>(n);
    } else if (type == "text") {
      v.text = value;
    } else {
      continue;
    }
    hive[current][name] = v;
  }
  return hive;
}

std::string formatRegistryText(const RegistryStore::Hive& hive, const std::map<std::string, std::string>& spelling) {
  std::ostringstream out;
  out << "# Velmora settings. Written by the program; edit with care.\n";
  for (const auto& [id, values] : hive) {
    auto sp = spelling.find(id);
    out << '[' << escape(sp != spelling.end() ? sp->second : id) << "]\n";
    for (const auto& [name, value] : values) {
      if (value.isDword)
        out << "dword:" << escape(name) << '=' << value.dword << '\n';
      else
        out << "text:" << escape(name) << '=' << escape(value.text) << '\n';
    }
  }
  return out.str();
}

RegistryStore::RegistryStore(std::string userFile, std::string machineFile) {
  user_.path = std::move(userFile);
  machine_.path = std::move(machineFile);
}

RegistryStore& RegistryStore::instance() {
  std::lock_guard lock(g_processStoreMutex);
  auto& store = processStore();
  if (!store) store = std::make_unique<RegistryStore>(defaultUserFile(), defaultMachineFile());
  return *store;
}

void RegistryStore::redirect(const std::string& userFile, const std::string& machineFile) {
  std::lock_guard lock(g_processStoreMutex);
  processStore() = std::make_unique<RegistryStore>(userFile, machineFile);
}

RegistryStore::HiveFile& RegistryStore::loaded(HiveFile& file) {
  if (!file.loaded) {
    file.loaded = true;
    file.hive.clear();
    file.spelling.clear();
    std::ifstream in(file.path, std::ios::binary);
    if (in) {
      std::ostringstream text;
      text << in.rdbuf();
      file.hive = parseRegistryText(text.str(), &file.spelling);
    }
  }
  return file;
}

std::vector<RegistryStore::Place> RegistryStore::readPlaces(RegistryRoot root, const std::string& key) {
  switch (root) {
    case RegistryRoot::CurrentUser:
      return {{&loaded(user_), key}};
    case RegistryRoot::LocalMachine:
      if (isVirtualised(key)) return {{&loaded(user_), kVirtualStore + key}, {&loaded(machine_), key}};
      return {{&loaded(machine_), key}};
    case RegistryRoot::ClassesRoot:
      return {{&loaded(user_), kUserClasses + key}, {&loaded(machine_), kMachineClasses + key}};
  }
  return {};
}

RegistryStore::Place RegistryStore::writePlace(RegistryRoot root, const std::string& key) {
  switch (root) {
    case RegistryRoot::CurrentUser: return {&loaded(user_), key};
    case RegistryRoot::LocalMachine: return {&loaded(machine_), key};
    case RegistryRoot::ClassesRoot: return {&loaded(user_), kUserClasses + key};
  }
  return {&loaded(user_), key};
}

std::optional<RegistryStore::Place> RegistryStore::fallbackPlace(RegistryRoot root, const std::string& key) {
  if (root == RegistryRoot::LocalMachine && isVirtualised(key)) return Place{&loaded(user_), kVirtualStore + key};
  return std::nullopt;
}

bool RegistryStore::save(HiveFile& file) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path path(file.path);
  if (file.hive.empty()) {
    // Nothing left: no file, and no folder of ours left empty behind it.
    fs::remove(path, ec);
    if (ec || fs::exists(path, ec)) return false;
    if (path.parent_path().filename() == "velmora" && fs::is_empty(path.parent_path(), ec))
      fs::remove(path.parent_path(), ec);
    return true;
  }
  if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
  const std::string temp = file.path + ".tmp." + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << formatRegistryText(file.hive, file.spelling);
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temp, ec);
      return false;
    }
  }
  if (std::rename(temp.c_str(), file.path.c_str()) != 0) {
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

const RegistryStore::Value* RegistryStore::find(RegistryRoot root, const std::string& key, const std::string& name) {
  for (const Place& place : readPlaces(root, key)) {
    auto k = place.file->hive.find(keyId(place.key));
    if (k == place.file->hive.end()) continue;
    auto v = k->second.find(name);
    if (v != k->second.end()) return &v->second;
  }
  return nullptr;
}

std::optional<uint32_t> RegistryStore::readDword(RegistryRoot root, const std::string& key, const std::string& name) {
  std::lock_guard lock(mutex_);
  const Value* v = find(root, key, name);
  if (!v || !v->isDword) return std::nullopt;
  return v->dword;
}

std::optional<std::string> RegistryStore::readText(RegistryRoot root, const std::string& key, const std::string& name) {
  std::lock_guard lock(mutex_);
  const Value* v = find(root, key, name);
  if (!v || v->isDword) return std::nullopt;
  return v->text;
}

bool RegistryStore::writeAt(Place place, const std::string* name, const Value& value) {
  HiveFile& file = *place.file;
  const std::string id = keyId(place.key);
  const bool spelt = file.spelling.count(id) > 0;
  if (!spelt) file.spelling[id] = place.key;
  Hive before = file.hive;
  Key& values = file.hive[id];
  if (name) values[*name] = value;
  if (!save(file)) {
    file.hive.swap(before);
    if (!spelt) file.spelling.erase(id);
    return false;
  }
  return true;
}

bool RegistryStore::write(RegistryRoot root, const std::string& key, const std::string* name, const Value& value) {
  std::lock_guard lock(mutex_);
  if (writeAt(writePlace(root, key), name, value)) return true;
  const auto fallback = fallbackPlace(root, key);
  return fallback && writeAt(*fallback, name, value);
}

bool RegistryStore::writeDword(RegistryRoot root, const std::string& key, const std::string& name, uint32_t value) {
  Value v;
  v.isDword = true;
  v.dword = value;
  return write(root, key, &name, v);
}

bool RegistryStore::writeText(RegistryRoot root, const std::string& key, const std::string& name, const std::string& value) {
  Value v;
  v.text = value;
  return write(root, key, &name, v);
}

bool RegistryStore::createKey(RegistryRoot root, const std::string& key) {
  return write(root, key, nullptr, Value{});
}

bool RegistryStore::deleteKey(RegistryRoot root, const std::string& key) {
  std::lock_guard lock(mutex_);
  bool gone = true;
  for (const Place& place : readPlaces(root, key)) {
    HiveFile& file = *place.file;
    const std::string id = keyId(place.key);
    Hive before = file.hive;
    bool found = false;
    for (auto it = file.hive.begin(); it != file.hive.end();) {
      if (it->first == id || it->first.rfind(id + "\\", 0) == 0) {
        it = file.hive.erase(it);
        found = true;
      } else {
        ++it;
      }
    }
    if (found && !save(file)) {
      file.hive.swap(before);
      gone = false;
    }
  }
  return gone;
}

bool RegistryStore::keyExists(RegistryRoot root, const std::string& key) {
  std::lock_guard lock(mutex_);
  for (const Place& place : readPlaces(root, key))
    if (place.file->hive.count(keyId(place.key))) return true;
  return false;
}

bool RegistryStore::keyTreeExists(RegistryRoot root, const std::string& key) {
  std::lock_guard lock(mutex_);
  for (const Place& place : readPlaces(root, key)) {
    const std::string id = keyId(place.key);
    // Keys below "ID" sort after it, among others that merely start with "ID" ("ID2").
    for (auto it = place.file->hive.lower_bound(id); it != place.file->hive.end() && it->first.rfind(id, 0) == 0; ++it)
      if (it->first.size() == id.size() || it->first[id.size()] == '\\') return true;
  }
  return false;
}

void RegistryStore::reload() {
  std::lock_guard lock(mutex_);
  user_.loaded = false;
  machine_.loaded = false;
}

}  // namespace vlm::platform

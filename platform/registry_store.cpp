#include "platform/registry_store.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>


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

bool readFileText(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream out;
  out << in.rdbuf();
  text = out.str();
  return true;
}

// An exclusive lock on the folder that holds a store's file, held while it
// lives. Locking the folder leaves nothing behind when the last key goes; a
// lock taken on a folder removed meanwhile is let go and taken again on the
// folder now at the path.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder) {
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      std::error_code ec;
      std::filesystem::create_directories(folder, ec);
      const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (fd < 0) return;
      int locked;
      while ((locked = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
      }
      struct stat held {};
      struct stat named {};
      if (locked == 0 && ::fstat(fd, &held) == 0 && ::stat(folder.c_str(), &named) == 0 &&
          held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
        fd_ = fd;
        return;
      }
      ::close(fd);
      if (locked != 0) return;
    }
  }
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

bool writeAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Replaces the file by `text`: written to a temporary file, synced, renamed
// over the file, and the folder synced, so that a crash leaves the old file
// or the new one, never a torn one.
bool writeFileSynced(const std::string& path, const std::string& text) {
  static std::atomic<uint32_t> counter{0};
  const std::string temp = path + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(++counter);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const bool written = writeAll(fd, text) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || std::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  const std::string folder = std::filesystem::path(path).parent_path().string();
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
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
    std::string text;
    if (readFileText(file.path, text)) file.hive = parseRegistryText(text, &file.spelling);
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

void RegistryStore::applyChange(Hive& hive, const Change& change) {
  switch (change.kind) {
    case Change::Kind::SetValue: hive[change.key][change.name] = change.value; return;
    case Change::Kind::CreateKey: hive[change.key]; return;
    case Change::Kind::DeleteKey:
      for (auto it = hive.begin(); it != hive.end();) {
        if (it->first == change.key || it->first.rfind(change.key + "\\", 0) == 0)
          it = hive.erase(it);
        else
          ++it;
      }
      return;
  }
}

bool RegistryStore::apply(HiveFile& file, Change change) {
  // Only the user file waits for the batch: a machine file that refuses must
  // say so at once, so the write can go to the user's copy instead.
  const bool batched = batchDepth_ > 0 && &file == &user_;
  Hive before;
  if (!batched) before = file.hive;
  applyChange(file.hive, change);
  if (batched) {
    file.pending.push_back(std::move(change));
    return true;
  }
  if (mergeIntoFile(file, {change})) return true;
  file.hive.swap(before);
  return false;
}

bool RegistryStore::mergeIntoFile(HiveFile& file, const std::vector<Change>& changes) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path path(file.path);
  // Another program may write the file meanwhile: take its lock, read what it
  // holds now, and change only our values.
  const std::string folder = path.has_parent_path() ? path.parent_path().string() : std::string(".");
  const FolderLock lock(folder);
  if (!lock.held()) return false;
  std::string text;
  std::map<std::string, std::string> spelling;
  Hive current;
  if (readFileText(file.path, text)) current = parseRegistryText(text, &spelling);
  for (const Change& c : changes) {
    applyChange(current, c);
    if (c.kind != Change::Kind::DeleteKey && !spelling.count(c.key)) {
      auto ours = file.spelling.find(c.key);
      spelling[c.key] = ours != file.spelling.end() ? ours->second : c.key;
    }
  }
  if (!current.empty()) return writeFileSynced(file.path, formatRegistryText(current, spelling));
  // Nothing left: no file, and no folder of ours left empty behind it.
  fs::remove(path, ec);
  if (ec || fs::exists(path, ec)) return false;
  if (path.parent_path().filename() == "velmora" && fs::is_empty(path.parent_path(), ec))
    fs::remove(path.parent_path(), ec);
  return true;
}

const RegistryStore::Value* RegistryStore::find(const std::vector<Place>& places, const std::string& name) {
  for (const Place& place : places) {
    auto k = place.file->hive.find(keyId(place.key));
    if (k == place.file->hive.end()) continue;
    auto v = k->second.find(name);
    if (v != k->second.end()) return &v->second;
  }
  return nullptr;
}

std::optional<uint32_t> RegistryStore::readDword(RegistryRoot root, const std::string& key, const std::string& name) {
  std::lock_guard lock(mutex_);
  const Value* v = find(readPlaces(root, key), name);
  if (!v || !v->isDword) return std::nullopt;
  return v->dword;
}

std::optional<std::string> RegistryStore::readText(RegistryRoot root, const std::string& key, const std::string& name) {
  std::lock_guard lock(mutex_);
  const Value* v = find(readPlaces(root, key), name);
  if (!v || v->isDword) return std::nullopt;
  return v->text;
}

namespace {

// The value as the files of the places hold it now.
template <typename Places>
std::optional<RegistryStore::Value> valueOnDisk(const Places& places, const std::string& name) {
  for (const auto& [path, key] : places) {
    std::string text;
    if (!readFileText(path, text)) continue;
    const RegistryStore::Hive hive = parseRegistryText(text, nullptr);
    auto k = hive.find(keyId(key));
    if (k == hive.end()) continue;
    auto v = k->second.find(name);
    if (v != k->second.end()) return v->second;
  }
  return std::nullopt;
}

}  // namespace

std::optional<uint32_t> RegistryStore::readDwordOnDisk(RegistryRoot root, const std::string& key,
                                                       const std::string& name) {
  std::vector<std::pair<std::string, std::string>> places;
  {
    std::lock_guard lock(mutex_);  // the first contact also fixes this store's view
    for (const Place& place : readPlaces(root, key)) places.emplace_back(place.file->path, place.key);
  }
  const auto v = valueOnDisk(places, name);
  if (!v || !v->isDword) return std::nullopt;
  return v->dword;
}

std::optional<std::string> RegistryStore::readTextOnDisk(RegistryRoot root, const std::string& key,
                                                         const std::string& name) {
  std::vector<std::pair<std::string, std::string>> places;
  {
    std::lock_guard lock(mutex_);
    for (const Place& place : readPlaces(root, key)) places.emplace_back(place.file->path, place.key);
  }
  const auto v = valueOnDisk(places, name);
  if (!v || v->isDword) return std::nullopt;
  return v->text;
}

bool RegistryStore::write(RegistryRoot root, const std::string& key, const std::string* name, const Value& value) {
  std::lock_guard lock(mutex_);
  auto writeAt = [&](const Place& place) {
    HiveFile& file = *place.file;
    Change c;
    c.kind = name ? Change::Kind::SetValue : Change::Kind::CreateKey;
    c.key = keyId(place.key);
    if (name) c.name = *name;
    c.value = value;
    const bool spelt = file.spelling.count(c.key) > 0;
    if (!spelt) file.spelling[c.key] = place.key;
    const std::string id = c.key;
    if (apply(file, std::move(c))) return true;
    if (!spelt) file.spelling.erase(id);
    return false;
  };
  if (writeAt(writePlace(root, key))) return true;
  const auto fallback = fallbackPlace(root, key);
  return fallback && writeAt(*fallback);
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
    Change c;
    c.kind = Change::Kind::DeleteKey;
    c.key = keyId(place.key);
    bool found = false;
    for (const auto& [id, values] : file.hive) found = found || id == c.key || id.rfind(c.key + "\\", 0) == 0;
    if (found && !apply(file, std::move(c))) gone = false;
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

void RegistryStore::beginBatch() {
  std::lock_guard lock(mutex_);
  ++batchDepth_;
}

bool RegistryStore::endBatch() {
  std::lock_guard lock(mutex_);
  if (batchDepth_ == 0 || --batchDepth_ > 0) return true;
  bool ok = true;
  for (HiveFile* file : {&user_, &machine_}) {
    if (file->pending.empty()) continue;
    ok = mergeIntoFile(*file, file->pending) && ok;
    file->pending.clear();
  }
  return ok;
}

}  // namespace vlm::platform

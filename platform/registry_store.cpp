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

// An exclusive lock on a file beside the store, held while it lives.
class FileLock {
 public:
  explicit FileLock(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        ::close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_;
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

std::optional<uint32_t> dwordIn(const RegistryStore::Hive& h, const std::string& key, const std::string& name) {
  auto k = h.find(keyId(key));
  if (k == h.end()) return std::nullopt;
  auto v = k->second.find(name);
  if (v == k->second.end() || !v->second.isDword) return std::nullopt;
  return v->second.dword;
}

std::optional<std::string> textIn(const RegistryStore::Hive& h, const std::string& key, const std::string& name) {
  auto k = h.find(keyId(key));
  if (k == h.end()) return std::nullopt;
  auto v = k->second.find(name);
  if (v == k->second.end() || v->second.isDword) return std::nullopt;
  return v->second.text;
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

RegistryStore::HiveFile& RegistryStore::hive(RegistryRoot root) {
  HiveFile& file = root == RegistryRoot::CurrentUser ? user_ : machine_;
  if (!file.loaded) {
    file.loaded = true;
    file.hive.clear();
    file.spelling.clear();
    std::string text;
    if (readFileText(file.path, text)) file.hive = parseRegistryText(text, &file.spelling);
  }
  return file;
}

void RegistryStore::applyChange(Hive& hive, const Change& change) {
  if (!change.deleteKey) {
    hive[change.key][change.name] = change.value;
    return;
  }
  for (auto it = hive.begin(); it != hive.end();) {
    if (it->first == change.key || it->first.rfind(change.key + "\\", 0) == 0)
      it = hive.erase(it);
    else
      ++it;
  }
}

bool RegistryStore::apply(HiveFile& file, Change change) {
  Hive before;
  if (batchDepth_ == 0) before = file.hive;
  applyChange(file.hive, change);
  if (batchDepth_ > 0) {
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
  if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
  // Another program may write the file meanwhile: take its lock, read what it
  // holds now, and change only our values.
  const FileLock lock(file.path + ".lock");
  if (!lock.held()) return false;
  std::string text;
  std::map<std::string, std::string> spelling;
  Hive current;
  if (readFileText(file.path, text)) current = parseRegistryText(text, &spelling);
  for (const Change& c : changes) {
    applyChange(current, c);
    if (!c.deleteKey && !spelling.count(c.key)) {
      auto ours = file.spelling.find(c.key);
      spelling[c.key] = ours != file.spelling.end() ? ours->second : c.key;
    }
  }
  return writeFileSynced(file.path, formatRegistryText(current, spelling));
}

std::optional<uint32_t> RegistryStore::readDword(RegistryRoot root, const std::string& key, const std::string& name) {
  std::lock_guard lock(mutex_);
  return dwordIn(hive(root).hive, key, name);
}

std::optional<std::string> RegistryStore::readText(RegistryRoot root, const std::string& key, const std::string& name) {
  std::lock_guard lock(mutex_);
  return textIn(hive(root).hive, key, name);
}

std::optional<uint32_t> RegistryStore::readDwordOnDisk(RegistryRoot root, const std::string& key,
                                                       const std::string& name) {
  std::string path;
  {
    std::lock_guard lock(mutex_);
    path = hive(root).path;  // the first contact also fixes this store's view
  }
  std::string text;
  if (!readFileText(path, text)) return std::nullopt;
  return dwordIn(parseRegistryText(text, nullptr), key, name);
}

std::optional<std::string> RegistryStore::readTextOnDisk(RegistryRoot root, const std::string& key,
                                                         const std::string& name) {
  std::string path;
  {
    std::lock_guard lock(mutex_);
    path = hive(root).path;  // the first contact also fixes this store's view
  }
  std::string text;
  if (!readFileText(path, text)) return std::nullopt;
  return textIn(parseRegistryText(text, nullptr), key, name);
}

bool RegistryStore::writeDword(RegistryRoot root, const std::string& key, const std::string& name, uint32_t value) {
  std::lock_guard lock(mutex_);
  HiveFile& file = hive(root);
  const std::string id = keyId(key);
  if (!file.spelling.count(id)) file.spelling[id] = key;
  Change c;
  c.key = id;
  c.name = name;
  c.value.isDword = true;
  c.value.dword = value;
  return apply(file, std::move(c));
}

bool RegistryStore::writeText(RegistryRoot root, const std::string& key, const std::string& name, const std::string& value) {
  std::lock_guard lock(mutex_);
  HiveFile& file = hive(root);
  const std::string id = keyId(key);
  if (!file.spelling.count(id)) file.spelling[id] = key;
  Change c;
  c.key = id;
  c.name = name;
  c.value.text = value;
  return apply(file, std::move(c));
}

bool RegistryStore::deleteKey(RegistryRoot root, const std::string& key) {
  std::lock_guard lock(mutex_);
  HiveFile& file = hive(root);
  Change c;
  c.key = keyId(key);
  c.deleteKey = true;
  bool found = false;
  for (const auto& [id, values] : file.hive) found = found || id == c.key || id.rfind(c.key + "\\", 0) == 0;
  if (!found) return false;
  return apply(file, std::move(c));
}

bool RegistryStore::keyExists(RegistryRoot root, const std::string& key) {
  std::lock_guard lock(mutex_);
  return hive(root).hive.count(keyId(key)) > 0;
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
